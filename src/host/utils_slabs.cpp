// The slab, cantilever-slab and slab-opening functions of Utils, and the face and edge
// utilities, whose faces, edges and vertices are the host's own objects.

#include <pybind11/pybind11.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/builder_call.h"
#include "host/host_model.h"
#include "host/member_arguments.h"
#include "host/numbers.h"
#include "host/rows.h"
#include "host/run_context.h"
#include "members/canti_slab.h"
#include "members/face_edge_utils.h"
#include "members/fold_solids.h"
#include "members/slab_builder.h"
#include "members/slab_fault.h"
#include "members/slab_holes.h"
#include "members/slab_outline.h"
#include "members/slab_thickness.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

using ModelPtr = std::shared_ptr<HostModel>;

std::vector<App::Vector> pointsArgument(py::handle value, const char* what) {
  std::vector<App::Vector> points;
  for (py::handle p : py::reinterpret_borrow<py::iterable>(value)) {
    points.push_back(pointArgument(p, what));
  }
  return points;
}

// Anything with numeric attributes x, y and z, as a Vector.
App::Vector fromXyz(py::handle value) {
  return {asFloat(value.attr("x")), asFloat(value.attr("y")), asFloat(value.attr("z"))};
}

// The host's vertices (X, Y, Z), edges (Vertexes[0], Vertexes[1]) and faces (normalAt(u, v),
// CenterOfMass) as the utilities read them; read with the interpreter lock held.
class HostVertex : public Utils::Vertex {
 public:
  explicit HostVertex(py::object vertex) : vertex_(std::move(vertex)) {}
  [[nodiscard]] double X() const override { return asFloat(vertex_.attr("X")); }
  [[nodiscard]] double Y() const override { return asFloat(vertex_.attr("Y")); }
  [[nodiscard]] double Z() const override { return asFloat(vertex_.attr("Z")); }

 private:
  py::object vertex_;
};

class HostEdge : public Utils::Edge {
 public:
  explicit HostEdge(const py::handle edge)
      : first_(edge.attr("Vertexes")[py::int_(0)]), second_(edge.attr("Vertexes")[py::int_(1)]) {}
  [[nodiscard]] const Utils::Vertex& vertex(std::size_t index) const override {
    return index == 0 ? first_ : second_;
  }

 private:
  HostVertex first_, second_;
};

class HostFace : public Utils::Face {
 public:
  explicit HostFace(py::object face) : face_(std::move(face)) {}
  [[nodiscard]] App::Vector normalAt(double u, double v) const override {
    return fromXyz(face_.attr("normalAt")(u, v));
  }
  [[nodiscard]] App::Vector CenterOfMass() const override {
    return fromXyz(face_.attr("CenterOfMass"));
  }

 private:
  py::object face_;
};

// The solids of a dropped region as the slab builder makes them: over the plan (no points) or
// in the frame of a planar panel whose outline points are given.
py::tuple createBooleanSolids(const ModelPtr& ifcfile, const py::object& slabProps, double tk,
                              const py::object& /*flr_height*/, const py::object& /*cc*/,
                              const py::object& points) {
  const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
  const auto props = rowsFromPython<Property::SlabFoldPropRow>(slabProps);
  const std::optional<Utils::FoldRegion> region = Utils::readFoldRegion(props);
  if (!region) throw Utils::SlabFault("no FoldedSlab_nPt and FoldedSlab_PosWid properties");
  if (region->verts.size() < 3)
    throw Utils::SlabFault("the dropped region has fewer than three vertices");
  std::optional<Utils::FoldFrame> frame = Utils::FoldFrame::plan();
  if (!points.is_none()) {
    const std::vector<App::Vector> outline = pointsArgument(points, "points");
    const std::optional<App::Vector> normal = Utils::outlineNormal(outline);
    if (!normal) throw Utils::SlabFault("the outline points lie on one line");
    frame = Utils::FoldFrame::panel(outline[0], outline[1], *normal);
    if (!frame) throw Utils::SlabFault("a vertical panel takes no dropped region");
  }
  const Utils::FoldSolids solids = unlocked([&] {
    return Utils::createBooleanSolids(bound.context, *region, Utils::offsetEdges(*region), tk,
                                      *frame);
  });
  return py::make_tuple(wrap(ifcfile, solids.cut), wrap(ifcfile, solids.unionSolid));
}

// (normal, points): the caller's own sequence when its triangle already faces up.
py::tuple adjustPoints(const py::object& points) {
  const std::vector<App::Vector> given = pointsArgument(points, "points");
  if (given.size() < 3) throw py::index_error("adjustPoints: three points needed");
  const auto [normal, turned] = Utils::adjustPoints(given);
  const bool unchanged = turned.size() == given.size() && turned[0].x == given[0].x &&
                         turned[0].y == given[0].y && turned[0].z == given[0].z;
  if (unchanged) return py::make_tuple(normal, points);
  py::list reversed;
  for (const App::Vector& p : turned) reversed.append(p);
  return py::make_tuple(normal, reversed);
}

void defineSlabBuilders(py::module_& m) {
  m.def(
      "getSlabThick",
      [](const py::object& slab, double flr_tk) {
        return toPython(Utils::getSlabThick(rowFromPython<Slab::SlabRow>(slab), flr_tk));
      },
      "slab"_a, "flr_tk"_a);
  m.def(
      "getCantiSlabThick",
      [](const py::object& cs, double flr_tk, const py::object& slabs) {
        const auto row = rowFromPython<Slab::CantiSlabRow>(cs);
        const auto allSlabs = rowsFromPython<Slab::SlabRow>(slabs);
        return toPython(unlocked([&] { return Utils::getCantiSlabThick(row, flr_tk, allSlabs); }));
      },
      "cs"_a, "flr_tk"_a, "slabs"_a);
  m.def("adjustPoints", &adjustPoints, "points"_a, py::pos_only());
  m.def("createBooleanSolids", &createBooleanSolids, "ifcfile"_a, "slabProps"_a, "tk"_a,
        "flr_height"_a, "cc"_a, "points"_a = py::none());
  m.def(
      "CreateSlab",
      [](const ModelPtr& ifcfile, const py::object& slab, const py::object& stdFlr, double flr_tk,
         const py::iterable& cords, const py::object& adj_beams, const py::object& slabProps) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Slab::SlabRow>(slab);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        std::vector<Grid::OutlineSegment> segments;
        for (py::handle c : cords) segments.push_back(segmentFromPython(c));
        const auto beams = rowsFromPython<Slab::AdjacentBeamRow>(adj_beams);
        const auto props = rowsFromPython<Property::SlabFoldPropRow>(slabProps);
        return products(ifcfile, unlocked([&] {
                          return Utils::CreateSlab(bound.context, row, floor, flr_tk, segments,
                                                   beams, props);
                        }));
      },
      "ifcfile"_a, "slab"_a, "stdFlr"_a, "flr_tk"_a, "cords"_a, "adj_beams"_a, "slabProps"_a);
  // The openings of slab product s; slab and flr_tk have no part in them.
  m.def(
      "CreateHolesInSlab",
      [](const ModelPtr& ifcfile, const py::object& s, const py::object& /*slab*/,
         const py::object& slabHoles, const py::object& /*flr_tk*/) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const ifc::Entity product = entityOf(*ifcfile, s, "s");
        const auto holes = rowsFromPython<Slab::SlabHoleRow>(slabHoles);
        return products(ifcfile, unlocked([&] {
                          return Utils::CreateHolesInSlab(bound.context, product, holes);
                        }));
      },
      "ifcfile"_a, "s"_a, "slab"_a, "slabHoles"_a, "flr_tk"_a);
  // One IfcSlab, or None for a cantilever slab whose data is faulty (reported).
  m.def(
      "CreateCantiSlab",
      [](const ModelPtr& ifcfile, const py::object& cs, const py::object& stdFlr, double flr_tk,
         const py::object& slabs) {
        const BoundRunContext bound = runContextOf(ifcfile, "ifcfile");
        const auto row = rowFromPython<Slab::CantiSlabRow>(cs);
        const auto floor = rowFromPython<Floor::StdFloorRow>(stdFlr);
        const auto allSlabs = rowsFromPython<Slab::SlabRow>(slabs);
        const std::optional<ifc::Entity> product = unlocked(
            [&] { return Utils::CreateCantiSlab(bound.context, row, floor, flr_tk, allSlabs); });
        return product ? wrap(ifcfile, *product) : py::none();
      },
      "ifcfile"_a, "cs"_a, "stdFlr"_a, "flr_tk"_a, "slabs"_a);
}

void defineFaceAndEdgeUtilities(py::module_& m) {
  m.def(
      "distance",
      [](const py::object& vertex1, const py::object& vertex2) {
        return Utils::distance(HostVertex(vertex1), HostVertex(vertex2));
      },
      "vertex1"_a, "vertex2"_a);
  m.def(
      "getPositionAndDirection",
      [](const py::iterable& edges) {
        std::vector<HostEdge> hostEdges;
        for (py::handle e : edges) hostEdges.emplace_back(e);
        std::vector<const Utils::Edge*> pointers;
        for (const HostEdge& e : hostEdges) pointers.push_back(&e);
        const Utils::PositionAndDirection r =
            reporting([&] { return Utils::getPositionAndDirection(pointers); });
        return py::make_tuple(r.basePoint, r.vx, r.vy);
      },
      "edges"_a, py::pos_only());
  m.def(
      "intersecLinePlane",
      [](const App::Vector& A, const App::Vector& B, const py::object& plane) -> py::object {
        const std::optional<App::Vector> p = Utils::intersecLinePlane(A, B, HostFace(plane));
        return p ? py::cast(*p) : py::none();
      },
      "A"_a, "B"_a, "plane"_a, "Return the intersection between a line A, B and a planar face.");
}

}  // namespace

void defineSlabFunctions(py::module_& m) {
  defineSlabBuilders(m);
  defineFaceAndEdgeUtilities(m);
}

}  // namespace host
