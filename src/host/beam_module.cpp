// Module Beam: the beam query, the beam tests and the supporting beams of each beam end.

#include <pybind11/pybind11.h>

#include <sstream>
#include <vector>

#include "host/connection.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "host/host_stdout.h"
#include "host/neighbours.h"
#include "host/rows.h"
#include "queries/beam.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

py::list getBeams(const py::object& conn) {
  std::ostringstream report;
  const std::vector<Beam::BeamRow> rows = Beam::getBeams(openConnection(conn), report);
  writeToHost(report.str());
  return rowsToPython(rows);
}

// Each pair holds the very row of f_beams that supports the end; an arc beam has no list.
py::object getConnectBeams(const py::object& beam, const py::object& f_beams,
                           const py::object& f_columns, const py::object& f_walls) {
  const auto row = rowFromPython<Beam::BeamRow>(beam);
  const Neighbours<Beam::BeamRow> beams(f_beams);
  const auto columns = rowsFromPython<Column::ColumnRow>(f_columns);
  const auto walls = rowsFromPython<Palvek::WallRow>(f_walls);
  if (row.isArc()) return py::none();
  py::list result;
  for (const Beam::SupportingBeamPair& pair :
       Beam::getConnectBeams(row, beams.rows, columns, walls)) {
    result.append(py::make_tuple(toPython(pair.jointId), beams.original(pair.beam)));
  }
  return result;
}

}  // namespace

void defineIsColinear(py::module_& m) {
  m.def("isColinear", &Beam::isColinear, "v0"_a, "v1"_a,
        "Whether two plan directions are parallel or opposite within pi/8.");
}

void initBeam(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "Beam query, beam tests and supporting beams.";
  static_cast<void>(importModule("App"));

  m.def("getBeams", &getBeams, "conn"_a, "Every beam segment of the model, as BeamRow tuples.");
  m.def(
      "isHorizontal",
      [](const py::object& beam) { return Beam::isHorizontal(rowFromPython<Beam::BeamRow>(beam)); },
      "beam"_a);
  m.def(
      "isTwoPerp",
      [](const py::object& beam, const py::object& beams) {
        return Beam::isTwoPerp(rowFromPython<Beam::BeamRow>(beam),
                               rowsFromPython<Beam::BeamRow>(beams));
      },
      "beam"_a, "beams"_a);
  defineIsColinear(m);
  // True, or None for every other beam.
  m.def(
      "isRigid",
      [](const py::object& beam) -> py::object {
        if (Beam::isRigid(rowFromPython<Beam::BeamRow>(beam))) return py::bool_(true);
        return py::none();
      },
      "beam"_a);
  m.def("getConnectBeams", &getConnectBeams, "beam"_a, "f_beams"_a, "f_columns"_a, "f_walls"_a);
}

}  // namespace host
