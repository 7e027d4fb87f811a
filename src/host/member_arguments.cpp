#include "host/member_arguments.h"

#include <string>
#include <utility>

#include "host/numbers.h"
#include "host/rows.h"
#include "text/split.h"

namespace py = pybind11;

namespace host {

namespace {

// The items of a (joint id, ...) pair.
std::pair<py::object, py::object> pairOf(py::handle value, const char* what) {
  if (py::isinstance<py::str>(value) || !PySequence_Check(value.ptr()) ||
      PySequence_Size(value.ptr()) != 2) {
    throw py::type_error(std::string(what) + ": expected (joint id, row) pairs");
  }
  const py::sequence items = py::reinterpret_borrow<py::sequence>(value);
  return {items[0], items[1]};
}

py::iterable listArgument(py::handle value, const char* what) {
  if (py::isinstance<py::str>(value) || !py::hasattr(value, "__iter__")) {
    throw py::type_error(std::string(what) + ": expected a list");
  }
  return py::reinterpret_borrow<py::iterable>(value);
}

}  // namespace

Utils::StructureType structureTypeOf(const std::string& text) {
  using T = Utils::StructureType;
  for (const auto& [name, type] :
       {std::pair{"Beam", T::Beam}, std::pair{"Column", T::Column}, std::pair{"Wall", T::Wall},
        std::pair{"Slab", T::Slab}, std::pair{"VirtualElement", T::VirtualElement},
        std::pair{"Opening", T::Opening}, std::pair{"Brace", T::Brace}}) {
    if (text == name) return type;
  }
  throw py::value_error("structureType: no product kind '" + text + "'");
}

Utils::ArcStructureType arcStructureTypeOf(const std::string& text) {
  using T = Utils::ArcStructureType;
  for (const auto& [name, type] :
       {std::pair{"Beam", T::Beam}, std::pair{"Wall", T::Wall}, std::pair{"Slab", T::Slab}}) {
    if (text == name) return type;
  }
  throw py::value_error("structureType: no revolved product kind '" + text + "'");
}

App::Vector pointArgument(py::handle value, const char* what) {
  if (py::isinstance<App::Vector>(value)) return value.cast<App::Vector>();
  if (py::isinstance<py::str>(value) || !PySequence_Check(value.ptr()) ||
      PySequence_Size(value.ptr()) < 3) {
    throw py::type_error(std::string(what) + ": expected a Vector or three numbers");
  }
  const py::sequence c = py::reinterpret_borrow<py::sequence>(value);
  return {asFloat(c[0]), asFloat(c[1]), asFloat(c[2])};
}

App::Vector directionArgument(py::handle value, const char* what) {
  if (py::isinstance<App::Vector>(value)) return value.cast<App::Vector&>().normalize();
  return pointArgument(value, what);
}

std::vector<Utils::ClipPlane> clipPlanesArgument(py::handle value) {
  std::vector<Utils::ClipPlane> planes;
  if (value.is_none()) return planes;
  for (py::handle plane : listArgument(value, "clip_planes")) {
    const auto [point, normal] = pairOf(plane, "clip_planes");
    planes.push_back({pointArgument(point, "clip_planes"), pointArgument(normal, "clip_planes")});
  }
  return planes;
}

ifc::Entity optionalEntityOf(const HostModel& model, py::handle value, const char* what) {
  return value.is_none() ? ifc::Entity() : entityOf(model, value, what);
}

Utils::SectionItems sectionItemsArgument(py::handle value) {
  if (py::isinstance<py::str>(value)) return text::split(value.cast<std::string>(), ',');
  Utils::SectionItems items;
  for (py::handle item : listArgument(value, "paras")) items.push_back(py::str(item));
  return items;
}

SupportingBeams::SupportingBeams(py::handle value) {
  if (value.is_none()) return;
  std::vector<db::Value> joints;
  for (py::handle pair : listArgument(value, "connectBeams")) {
    const auto [joint, row] = pairOf(pair, "connectBeams");
    joints.push_back(toDbValue(joint, "connectBeams joint id"));
    rows.push_back(rowFromPython<Beam::BeamRow>(row));
  }
  for (std::size_t i = 0; i < rows.size(); ++i) pairs.push_back({joints[i], &rows[i]});
}

MeetingWalls::MeetingWalls(py::handle value) {
  std::vector<db::Value> joints;
  for (py::handle pair : listArgument(value, "connectWalls")) {
    const auto [joint, row] = pairOf(pair, "connectWalls");
    joints.push_back(toDbValue(joint, "connectWalls joint id"));
    rows.push_back(rowFromPython<Palvek::WallRow>(row));
  }
  for (std::size_t i = 0; i < rows.size(); ++i) pairs.push_back({joints[i], &rows[i]});
}

FramingBeams::FramingBeams(py::handle value) {
  std::vector<db::Value> joints;
  for (py::handle pair : listArgument(value, "connectBeams")) {
    const auto [joint, beams] = pairOf(pair, "connectBeams");
    joints.push_back(toDbValue(joint, "connectBeams joint id"));
    rows.push_back(rowsFromPython<Beam::BeamRow>(listArgument(beams, "connectBeams")));
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Palvek::ConnectedBeamsPair pair{joints[i], {}};
    for (const Beam::BeamRow& beam : rows[i]) pair.beams.push_back(&beam);
    pairs.push_back(std::move(pair));
  }
}

}  // namespace host
