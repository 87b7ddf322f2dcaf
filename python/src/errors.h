// The package's exceptions: zelvo.Error and below it zelvo.ConnectionError
// (also a builtins.ConnectionError) and zelvo.UsageError (also a
// ValueError).  The C++ side throws these types; each carries the one-line
// message the zelvo client prints for the same failure.
#pragma once

#include <pybind11/pybind11.h>

#include <stdexcept>

namespace zelvo::python {

// The instrument could not be reached or did not answer a request.
struct LinkError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Any other failure of a request: a file that could not be written or read,
// a setting the instrument refused.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Adds Error, ConnectionError and UsageError to the module and translates
// LinkError, Failure and the client's UsageError into them.
void addErrors(pybind11::module_& module);

}  // namespace zelvo::python
