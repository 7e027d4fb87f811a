// Module Palvek: the wall and wall-opening queries and the walls and beams that meet each wall
// end.

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
#include "queries/palvek.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

void defineIsColinear(py::module_& m);  // shared with Beam: one rule for both

namespace {

py::list getPalveks(const py::object& conn) {
  std::ostringstream report;
  const std::vector<Palvek::WallRow> rows = Palvek::getPalveks(openConnection(conn), report);
  writeToHost(report.str());
  return rowsToPython(rows);
}

py::list getWallHoles(const py::object& conn, const py::object& stdFlrID,
                      const py::object& gridID) {
  std::ostringstream report;
  const std::vector<Palvek::WallHoleRow> rows = Palvek::getWallHoles(
      openConnection(conn), toDbValue(stdFlrID, "stdFlrID"), toDbValue(gridID, "gridID"), report);
  writeToHost(report.str());
  return rowsToPython(rows);
}

// Per end, the very row of f_walls that meets it.
py::list getConnectWalls(const py::object& wall, const py::object& f_beams,
                         const py::object& f_columns, const py::object& f_walls) {
  const auto row = rowFromPython<Palvek::WallRow>(wall);
  const auto beams = rowsFromPython<Beam::BeamRow>(f_beams);
  const auto columns = rowsFromPython<Column::ColumnRow>(f_columns);
  const Neighbours<Palvek::WallRow> walls(f_walls);
  py::list result;
  for (const Palvek::ConnectedWallPair& pair :
       Palvek::getConnectWalls(row, beams, columns, walls.rows)) {
    result.append(py::make_tuple(toPython(pair.jointId), walls.original(pair.wall)));
  }
  return result;
}

// Per end, the very rows of f_beams that frame into it.
py::list getConnectBeams(const py::object& wall, const py::object& f_beams,
                         const py::object& f_columns, const py::object& f_walls) {
  const auto row = rowFromPython<Palvek::WallRow>(wall);
  const Neighbours<Beam::BeamRow> beams(f_beams);
  const auto columns = rowsFromPython<Column::ColumnRow>(f_columns);
  const auto walls = rowsFromPython<Palvek::WallRow>(f_walls);
  py::list result;
  for (const Palvek::ConnectedBeamsPair& pair :
       Palvek::getConnectBeams(row, beams.rows, columns, walls)) {
    py::list framing;
    for (const Beam::BeamRow* b : pair.beams) framing.append(beams.original(b));
    result.append(py::make_tuple(toPython(pair.jointId), framing));
  }
  return result;
}

}  // namespace

void initPalvek(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "Wall and wall-opening queries and wall connectivity.";
  static_cast<void>(importModule("App"));

  m.def("getPalveks", &getPalveks, "conn"_a, py::pos_only(),
        "Every wall segment of the model, as WallRow tuples.");
  m.def("getWallHoles", &getWallHoles, "conn"_a, "stdFlrID"_a, "gridID"_a,
        "The openings on one grid line of one standard floor, as WallHoleRow tuples.");
  defineIsColinear(m);
  m.def("getConnectWalls", &getConnectWalls, "wall"_a, "f_beams"_a, "f_columns"_a, "f_walls"_a);
  m.def("getConnectBeams", &getConnectBeams, "wall"_a, "f_beams"_a, "f_columns"_a, "f_walls"_a);
}

}  // namespace host
