// The parts of the _zelvo extension module, each added by its own file.
#pragma once

#include <pybind11/pybind11.h>

namespace zelvo::python {

void addGenerator(pybind11::module_& module);

}  // namespace zelvo::python
