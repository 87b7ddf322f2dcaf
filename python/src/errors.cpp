#include "errors.h"

#include "verbs.h"

namespace zelvo::python {
namespace {

namespace py = pybind11;

// New exception classes live as long as the interpreter: the module holds them.
PyObject* newException(py::module_& module, const char* name, const char* doc, PyObject* bases) {
    const std::string qualified = std::string("zelvo.") + name;
    PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases, nullptr);
    if (type == nullptr) throw py::error_already_set();
    module.add_object(name, py::reinterpret_borrow<py::object>(type));
    return type;
}

}  // namespace

void addErrors(py::module_& module) {
    static PyObject* error =
        newException(module, "Error", "A request to the instrument or a file operation failed.",
                     PyExc_Exception);
    const py::tuple linkBases =
        py::make_tuple(py::handle(error), py::handle(PyExc_ConnectionError));
    static PyObject* connection = newException(
        module, "ConnectionError",
        "The instrument could not be reached, or the link to it was lost.", linkBases.ptr());
    const py::tuple usageBases = py::make_tuple(py::handle(error), py::handle(PyExc_ValueError));
    static PyObject* usage = newException(
        module, "UsageError", "A bad instrument name or argument, or a closed instrument.",
        usageBases.ptr());

    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const LinkError& e) {
            PyErr_SetString(connection, e.what());
        } catch (const cli::UsageError& e) {
            PyErr_SetString(usage, e.what());
        } catch (const Failure& e) {
            PyErr_SetString(error, e.what());
        }
    });
}

}  // namespace zelvo::python
