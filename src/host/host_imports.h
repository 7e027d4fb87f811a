#pragma once
// Loading the modules a module needs, with the host's own import errors: a module that is not
// found fails with ModuleNotFoundError, a name a module lacks with
// ImportError("cannot import name 'X' from 'M' (...)").

#include <pybind11/pybind11.h>

namespace host {

[[nodiscard]] pybind11::module_ importModule(const char* name);
// `from module import name`.
[[nodiscard]] pybind11::object importName(const char* module, const char* name);

}  // namespace host
