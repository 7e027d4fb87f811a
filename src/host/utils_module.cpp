// Module Utils: the member builders and the shared solid builders, with their run context
// read from the shared namespace config.

#include <pybind11/pybind11.h>

#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "ifc/guid.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

void initUtils(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  // Collaborators, in the order the builders need them bound; a missing module or name fails
  // the import of Utils.
  m.attr("App") = importModule("App");
  m.attr("math") = importModule("math");
  m.attr("uuid") = importModule("uuid");
  m.attr("ifc") = importModule("ifc");
  m.attr("makeProfiles") = importName("Sect", "makeProfiles");
  m.attr("DraftVecUtils") = importName("App", "DraftVecUtils");
  m.attr("Vector") = importName("App", "Vector");
  m.attr("config") = importModule("config");
  m.def("create_guid", &ifc::createGuid, "A new IFC GlobalId of a time-based UUID.");
}

}  // namespace host
