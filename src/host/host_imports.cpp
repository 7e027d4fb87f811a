#include "host/host_imports.h"

#include <string>

namespace py = pybind11;

namespace host {

py::module_ importModule(const char* name) { return py::module_::import(name); }

py::object importName(const char* module, const char* name) {
  const py::module_ m = importModule(module);
  if (py::hasattr(m, name)) return m.attr(name);
  std::string message = std::string("cannot import name '") + name + "' from '" + module + "'";
  const py::object file = py::getattr(m, "__file__", py::none());
  message +=
      file.is_none() ? " (unknown location)" : " (" + py::str(file).cast<std::string>() + ")";
  // ImportError(message, name=module, path=file), as the host's own `from ... import` raises.
  py::dict keywords;
  keywords["name"] = module;
  keywords["path"] = file;
  const py::object error =
      py::reinterpret_borrow<py::object>(PyExc_ImportError)(message, **keywords);
  PyErr_SetObject(PyExc_ImportError, error.ptr());
  throw py::error_already_set();
}

}  // namespace host
