#pragma once
// The solids of a slab's dropped region, described by the slab's properties
// "FoldedSlab_nPt" (vertex and edge counts) and "FoldedSlab_PosWid" (the region's vertices,
// its edges with their offsets, the drop of its top and its thickness): `cut`, the prism
// from the lowered top up to the slab's top face, subtracted from the slab, and `union`, the
// prism from the bottom of the region up to the slab's bottom face over the region widened
// by the edge offsets, added to it. Both are given in the frame of the slab product, whose
// body fills local z from 0 to the thickness.

#include <array>
#include <optional>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "readers/property.h"
#include "vector/vector.h"

namespace Utils {

using PlanPoint = std::array<double, 2>;  // x, y in the floor's plan, mm

struct FoldEdge {
  std::size_t first;   // index into the region's vertices
  std::size_t second;  // another index
  double offset;       // mm; only a positive offset moves the edge
  bool operator==(const FoldEdge&) const = default;
};

struct FoldRegion {
  // The outline, in order, after dropping every vertex nearer than 1 mm to an earlier one.
  std::vector<PlanPoint> verts;
  // The edges whose two ends are two different vertices of `verts`.
  std::vector<FoldEdge> edges;
  double z_diff = 0;  // drop of the region's top below the slab's top, mm
  double tk_fd = 0;   // thickness of the region, mm
};

// The first "FoldedSlab_nPt" and the first "FoldedSlab_PosWid" row read as a region. No value
// when neither row is there (a slab with other properties only). Throws SlabFault when one of
// them is missing, a count or a number read is not a number, or the numbers run out.
[[nodiscard]] std::optional<FoldRegion> readFoldRegion(
    const std::vector<Property::SlabFoldPropRow>& slabProps);

// The region's outline with each edge of positive offset pushed out: each end slides by the
// offset along the other edge that meets it, away from that edge's far end, or the other way
// when that would put it strictly inside the region. Edges are taken in order, each on the
// outline as the earlier ones left it. Throws SlabFault naming the edge when an end of an
// offset edge meets no other edge. The region needs at least three vertices.
[[nodiscard]] std::vector<PlanPoint> offsetEdges(const FoldRegion& region);

// How plan points of the region land in a slab product's frame: each is lifted vertically
// onto the slab's top plane and measured along the frame's axes from `origin`.
class FoldFrame {
 public:
  // The floor's own frame (an arc-edged slab's product is the floor's frame raised): plan
  // points are taken as they are.
  [[nodiscard]] static FoldFrame plan();
  // The frame of a planar panel: origin its first outline vertex, x axis along its first
  // edge, `normal` its upward normal. No value for a vertical panel, onto which no plan point
  // can be lifted.
  [[nodiscard]] static std::optional<FoldFrame> panel(const App::Vector& first,
                                                      const App::Vector& second,
                                                      const App::Vector& normal);
  [[nodiscard]] PlanPoint map(const PlanPoint& p) const;

 private:
  FoldFrame(const App::Vector& origin, const App::Vector& xAxis, const App::Vector& normal);
  App::Vector origin_, xAxis_, yAxis_, normal_;
};

struct FoldSolids {
  ifc::Entity cut;         // none when its depth is not positive
  ifc::Entity unionSolid;  // none when its depth is not positive or `widened` is none
};

// The two solids of a slab `tk` mm thick: `cut` over region.verts from tk - z_diff up to tk,
// `union` over `widened` from tk - z_diff - tk_fd up to 0; each an IfcExtrudedAreaSolid
// along local +Z whose profile is bounded by a closed 2-D polyline. Throws App::GeometryError,
// before making the solid, when a mapped point or a height is not finite.
[[nodiscard]] FoldSolids createBooleanSolids(const RunContext& ctx, const FoldRegion& region,
                                             const std::optional<std::vector<PlanPoint>>& widened,
                                             double tk, const FoldFrame& frame);

}  // namespace Utils
