// The entry point of one host-loadable module, built once per module with
// SDB2IFC_HOST_MODULE set to its name (App, ifc, Sect, Beam, Palvek, Utils, Verdamo) and
// SDB2IFC_HOST_INIT to the name of its body in entry_points.h.
//
// Written out rather than with PYBIND11_MODULE, which turns every failure into
// ImportError("initialization failed"): here the error of a module this one loads reaches the
// importer as it is (ModuleNotFoundError: No module named 'App').

#include <pybind11/pybind11.h>

#include <cstring>
#include <exception>

#include "host/entry_points.h"

#define SDB2IFC_CONCAT_(a, b) a##b
#define SDB2IFC_CONCAT(a, b) SDB2IFC_CONCAT_(a, b)
// One more level, so that PyInit_ is followed by the module's name, not the macro's.
#define SDB2IFC_ENTRY(name) PYBIND11_PLUGIN_IMPL(name)

static pybind11::module_::module_def moduleDefinition;

SDB2IFC_ENTRY(SDB2IFC_HOST_MODULE) {
  PYBIND11_CHECK_PYTHON_VERSION
  PYBIND11_ENSURE_INTERNALS_READY
  auto m = pybind11::module_::create_extension_module(PYBIND11_TOSTRING(SDB2IFC_HOST_MODULE),
                                                      nullptr, &moduleDefinition);
  try {
    host::SDB2IFC_CONCAT(init, SDB2IFC_HOST_INIT)(m.ptr());
    return m.ptr();
  } catch (pybind11::error_already_set& e) {
    e.restore();
    return nullptr;
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_ImportError, e.what());
    return nullptr;
  }
}
