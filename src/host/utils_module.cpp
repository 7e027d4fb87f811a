// Module Utils: the member builders and the shared solid builders, with their run context
// read from the shared namespace config (run_context.h) and run as builder_call.h says.

#include <pybind11/pybind11.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/builder_call.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "host/host_model.h"
#include "host/member_arguments.h"
#include "host/rows.h"
#include "host/run_context.h"
#include "members/adjust_beam.h"
#include "members/assembly.h"
#include "members/cent_line.h"
#include "members/linear_members.h"
#include "members/member_fault.h"
#include "members/section_queries.h"
#include "members/slab_fault.h"
#include "members/solid_builders.h"
#include "members/wall_builder.h"
#include "members/wall_by_beam.h"
#include "members/wall_by_wall.h"
#include "members/wall_holes.h"
#include "members/wall_support.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

void defineSlabFunctions(py::module_& m);  // utils_slabs.cpp

namespace {

PyObject* memberFaultType = nullptr;

// Faulty data of one member, in whichever builder it is found: Utils.MemberFault, a ValueError.
void registerMemberFaults(py::module_& m) {
  memberFaultType =
      py::register_exception<Utils::MemberFault>(m, "MemberFault", PyExc_ValueError).ptr();
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      std::rethrow_exception(p);
    } catch (const Utils::SlabFault& e) {
      PyErr_SetString(memberFaultType, e.what());
    } catch (const Utils::WallFault& e) {
      PyErr_SetString(memberFaultType, e.what());
    }
  });
}

using ModelPtr = std::shared_ptr<HostModel>;

py::object vectorOrNone(const std::optional<Utils::ClipPlane>& plane, bool normal) {
  if (!plane) return py::none();
  return py::cast(normal ? plane->normal : plane->point);
}

// (x1, y1, point 1, normal 1, x2, y2, point 2, normal 2): the form of adjustBeam and
// adjustWallByWall.
template <class Ends>
py::tuple endsWithPlanes(const Ends& e) {
  return py::make_tuple(e.x1, e.y1, vectorOrNone(e.plane1, false), vectorOrNone(e.plane1, true),
                        e.x2, e.y2, vectorOrNone(e.plane2, false), vectorOrNone(e.plane2, true));
}

void defineSolidBuilders(py::module_& m) {
  m.def(
      "AddMaterial",
      [](const ModelPtr& ifcfile, const py::object& element, const py::object& /*mat*/) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const ifc::Entity e = entityOf(*ifcfile, element, "element");
        unlocked([&] { Utils::AddMaterial(bound.context, e); });
      },
      "ifcfile"_a, "element"_a, "mat"_a);
  m.def(
      "CreateAssembly",
      [](const ModelPtr& ifcfile, const std::string& name, const py::iterable& elements) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        std::vector<ifc::Entity> parts;
        for (py::handle e : elements) parts.push_back(entityOf(*ifcfile, e, "elements"));
        return wrap(ifcfile,
                    unlocked([&] { return Utils::CreateAssembly(bound.context, name, parts); }));
      },
      "ifcfile"_a, "name"_a, "elements"_a);
  m.def(
      "CreateStraightStructure",
      [](const ModelPtr& ifcFile, const std::string& structureType, const std::string& Name,
         const py::object& section, double L, const py::object& position,
         const py::object& direction, const py::object& refDirection,
         const py::object& solid_position, const py::object& solid_refDirection,
         const py::object& solid_direction, const py::object& clip_planes,
         const py::object& section2, const py::object& cut, const py::object& union_) {
        const BoundRunContext bound = runContextOf(ifcFile, "ifcFile");
        const Utils::StructureType type = structureTypeOf(structureType);
        const ifc::Entity profile = entityOf(*ifcFile, section, "section");
        const App::Vector origin = pointArgument(position, "position");
        const App::Vector axis = directionArgument(direction, "direction");
        const App::Vector xAxis = directionArgument(refDirection, "refDirection");
        Utils::StraightOptions options;
        options.solid.position = pointArgument(solid_position, "solid_position");
        options.solid.refDirection = directionArgument(solid_refDirection, "solid_refDirection");
        options.solid.direction = directionArgument(solid_direction, "solid_direction");
        options.clipPlanes = clipPlanesArgument(clip_planes);
        options.section2 = optionalEntityOf(*ifcFile, section2, "section2");
        options.cut = optionalEntityOf(*ifcFile, cut, "cut");
        options.unionSolid = optionalEntityOf(*ifcFile, union_, "union");
        return wrap(ifcFile, unlocked([&] {
                      return Utils::CreateStraightStructure(bound.context, type, Name, profile, L,
                                                            origin, axis, xAxis, options);
                    }));
      },
      "ifcFile"_a, "structureType"_a, "Name"_a, "section"_a, "L"_a, "position"_a, "direction"_a,
      "refDirection"_a, "solid_position"_a = py::make_tuple(0.0, 0.0, 0.0),
      "solid_refDirection"_a = py::make_tuple(1.0, 0.0, 0.0),
      "solid_direction"_a = py::make_tuple(0.0, 0.0, 1.0), "clip_planes"_a = py::none(),
      "section2"_a = py::none(), "cut"_a = py::none(), "union"_a = py::none());
  m.def(
      "CreateArcStructure",
      [](const ModelPtr& ifcFile, const std::string& structureType, const std::string& Name,
         const py::object& section, const py::object& axis, double angle,
         const py::object& position, const py::object& direction, const py::object& refDirection) {
        const BoundRunContext bound = runContextOf(ifcFile, "ifcFile");
        const Utils::ArcStructureType type = arcStructureTypeOf(structureType);
        const ifc::Entity profile = entityOf(*ifcFile, section, "section");
        const ifc::Entity revolution = entityOf(*ifcFile, axis, "axis");
        const App::Vector origin = pointArgument(position, "position");
        const App::Vector zAxis = directionArgument(direction, "direction");
        const App::Vector xAxis = directionArgument(refDirection, "refDirection");
        return wrap(ifcFile, unlocked([&] {
                      return Utils::CreateArcStructure(bound.context, type, Name, profile,
                                                       revolution, angle, origin, zAxis, xAxis);
                    }));
      },
      "ifcFile"_a, "structureType"_a, "Name"_a, "section"_a, "axis"_a, "angle"_a, "position"_a,
      "direction"_a, "refDirection"_a);
}

void defineJointGeometry(py::module_& m) {
  m.def(
      "findIntersection",
      [](double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
        const auto [px, py_] = Utils::findIntersection(x1, y1, x2, y2, x3, y3, x4, y4);
        return py::make_tuple(px, py_);
      },
      "x1"_a, "y1"_a, "x2"_a, "y2"_a, "x3"_a, "y3"_a, "x4"_a, "y4"_a);
  // type "beam" reads the beam layout, any other the wall layout.
  m.def(
      "getCentLineOffset",
      [](const py::object& element, const std::string& type) {
        const auto [p1, p2] =
            type == "beam" ? Utils::getCentLineOffset(rowFromPython<Beam::BeamRow>(element))
                           : Utils::getCentLineOffset(rowFromPython<Palvek::WallRow>(element));
        return py::make_tuple(p1, p2);
      },
      "element"_a, "type"_a);
  m.def(
      "reviseEcc",
      [](const py::object& target, const py::object& reference, const py::object& jt,
         const std::string& type) {
        const db::Value joint = toDbValue(jt, "jt");
        if (type == "beam") {
          return Utils::reviseEcc(rowFromPython<Beam::BeamRow>(target),
                                  rowFromPython<Beam::BeamRow>(reference), joint);
        }
        return Utils::reviseEcc(rowFromPython<Palvek::WallRow>(target),
                                rowFromPython<Palvek::WallRow>(reference), joint);
      },
      "target"_a, "reference"_a, "jt"_a, "type"_a);
  m.def(
      "adjustBeam",
      [](const py::object& beam, const py::object& connectBeams) {
        const SupportingBeams supports(connectBeams);
        return endsWithPlanes(
            Utils::adjustBeam(rowFromPython<Beam::BeamRow>(beam), supports.pairs));
      },
      "beam"_a, "connectBeams"_a);
  m.def(
      "adjustWallByWall",
      [](const py::object& wall, const py::object& connectWalls) {
        const MeetingWalls walls(connectWalls);
        return endsWithPlanes(
            Utils::adjustWallByWall(rowFromPython<Palvek::WallRow>(wall), walls.pairs));
      },
      "wall"_a, "connectWalls"_a);
  m.def(
      "adjustWallByBeam",
      [](const py::object& wall, const py::object& connectBeams, const py::object& wall_origin) {
        const FramingBeams beams(connectBeams);
        const Utils::WallPlanEnds e =
            Utils::adjustWallByBeam(rowFromPython<Palvek::WallRow>(wall), beams.pairs,
                                    rowFromPython<Palvek::WallRow>(wall_origin));
        return py::make_tuple(e.x1, e.y1, e.x2, e.y2);
      },
      "wall"_a, "connectBeams"_a, "wall_origin"_a);
}

void defineSectionQueries(py::module_& m) {
  m.def(
      "getHeightOfSect",
      [](double kind, const py::object& paras) {
        return Utils::getHeightOfSect(kind, sectionItemsArgument(paras));
      },
      "kind"_a, "paras"_a);
  m.def(
      "reviseDirection",
      [](const App::Vector& v, double kind, const py::object& paras) {
        return Utils::reviseDirection(v, kind, sectionItemsArgument(paras));
      },
      "v"_a, "kind"_a, "paras"_a);
  m.def("IsTaper", &Utils::IsTaper, "kind"_a, py::pos_only());
}

void defineMemberBuilders(py::module_& m) {
  m.def(
      "CreateBeam",
      [](const ModelPtr& ifcfile, const py::object& beam, const py::object& stdFlr,
         const py::object& connectBeams) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Beam::BeamRow>(beam);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        const SupportingBeams supports(connectBeams);
        return products(ifcfile, unlocked([&] {
                          return Utils::CreateBeam(bound.context, row, floor, supports.pairs);
                        }));
      },
      "ifcfile"_a, "beam"_a, "stdFlr"_a, "connectBeams"_a);
  m.def(
      "CreateSubBeam",
      [](const ModelPtr& ifcfile, const py::object& beam, const py::object& stdFlr) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<SubBeam::SubBeamRow>(beam);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        return products(ifcfile,
                        unlocked([&] { return Utils::CreateSubBeam(bound.context, row, floor); }));
      },
      "ifcfile"_a, "beam"_a, "stdFlr"_a);
  m.def(
      "CreateColumn",
      [](const ModelPtr& ifcfile, const py::object& column, const py::object& stdFlr) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Column::ColumnRow>(column);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        return products(ifcfile,
                        unlocked([&] { return Utils::CreateColumn(bound.context, row, floor); }));
      },
      "ifcfile"_a, "column"_a, "stdFlr"_a);
  m.def(
      "CreateBrace",
      [](const ModelPtr& ifcfile, const py::object& brace, const py::object& stdFlr) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Brace::BraceRow>(brace);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        return products(ifcfile,
                        unlocked([&] { return Utils::CreateBrace(bound.context, row, floor); }));
      },
      "ifcfile"_a, "brace"_a, "stdFlr"_a);
  // One IfcWall, or None for a wall whose data is faulty (reported).
  m.def(
      "CreateWall",
      [](const ModelPtr& ifcfile, const py::object& wall, const py::object& stdFlr,
         const py::object& connectWalls, const py::object& connectBeams) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Palvek::WallRow>(wall);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        const MeetingWalls walls(connectWalls);
        const FramingBeams beams(connectBeams);
        const std::optional<ifc::Entity> product = unlocked(
            [&] { return Utils::CreateWall(bound.context, row, floor, walls.pairs, beams.pairs); });
        return product ? wrap(ifcfile, *product) : py::none();
      },
      "ifcfile"_a, "wall"_a, "stdFlr"_a, "connectWalls"_a, "connectBeams"_a);
  m.def(
      "CreateHolesInWall",
      [](const ModelPtr& ifcfile, const py::object& wall, const py::object& wallHoles) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Palvek::WallRow>(wall);
        const auto holes = rowsFromPython<Palvek::WallHoleRow>(wallHoles);
        return products(
            ifcfile, unlocked([&] { return Utils::CreateHolesInWall(bound.context, row, holes); }));
      },
      "ifcfile"_a, "wall"_a, "wallHoles"_a);
}

}  // namespace

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
  m.def("create_guid", &Utils::create_guid, "A new IFC GlobalId of a time-based UUID.");
  registerMemberFaults(m);

  defineSolidBuilders(m);
  defineJointGeometry(m);
  defineSectionQueries(m);
  defineMemberBuilders(m);
  defineSlabFunctions(m);
}

}  // namespace host
