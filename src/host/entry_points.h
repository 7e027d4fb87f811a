#pragma once
// The bodies of the host-loadable modules. Each module file (module_entry.cpp, built once per
// module) is a thin shell that hands its new module object to one of these; they all live in
// the one shared library libsdb2ifc_host, so the modules share one copy of every library and
// of its state (schema tables, GlobalId generator, report streams).

#include <Python.h>

#define SDB2IFC_HOST_EXPORT __attribute__((visibility("default")))

namespace host {

// Each fills the module and loads the modules it needs first; a failure leaves a Python
// exception set and throws pybind11::error_already_set.
SDB2IFC_HOST_EXPORT void initApp(PyObject* module);
SDB2IFC_HOST_EXPORT void initIfc(PyObject* module);
SDB2IFC_HOST_EXPORT void initSect(PyObject* module);
SDB2IFC_HOST_EXPORT void initBeam(PyObject* module);
SDB2IFC_HOST_EXPORT void initPalvek(PyObject* module);
SDB2IFC_HOST_EXPORT void initUtils(PyObject* module);
SDB2IFC_HOST_EXPORT void initVerdamo(PyObject* module);

}  // namespace host
