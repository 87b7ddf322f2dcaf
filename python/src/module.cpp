// _zelvo: the compiled part of the zelvo package.  Everything it knows about
// the instrument comes from the model library, the link library and the
// zelvo client's verbs; the package's Python files only arrange it.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "capture.h"
#include "client.h"
#include "errors.h"
#include "instrument.h"
#include "modules.h"
#include "zelvo_version.h"

namespace py = pybind11;

PYBIND11_MODULE(_zelvo, module) {
    module.doc() = "The Zelvo instrument: scope, meter and generator.";
    module.attr("__version__") = ZELVO_VERSION;
    zelvo::python::addErrors(module);
    zelvo::python::addCapture(module);
    zelvo::python::addInstrument(module);
    zelvo::python::addGenerator(module);
    module.def(
        "run_client",
        [](const std::vector<std::string>& words) {
            std::vector<const char*> argv;
            for (const std::string& w : words) argv.push_back(w.c_str());
            argv.push_back(nullptr);
            py::gil_scoped_release unlocked;
            return zelvo::cli::runClient(static_cast<int>(words.size()), argv.data());
        },
        py::arg("argv"),
        "Runs the zelvo client's command line (argv[0] the program's name); returns its exit "
        "status.");
}
