#pragma once
// The profile of a slab outline that has circular arcs among its edges: a closed 2-D
// composite curve of straight segments and trimmed circles in the floor's plan, each segment
// running along the chain that Grid::sortCords makes of the outline grid lines.

#include <vector>

#include "ifc/model.h"
#include "readers/grid.h"

namespace Utils {

// How an arc segment (centre, start, end) is written: the circle's radius (the start's
// distance from the centre), the start and end as polar angles in degrees from +X in
// [0, 360), and the sense: true counter-clockwise, false clockwise, whichever is the shorter
// way from start to end (an exact half circle runs counter-clockwise).
struct ArcTrim {
  double radius;
  double a1;
  double a2;
  bool sense;
};

// Throws SlabFault when the start or the end lies on the centre.
[[nodiscard]] ArcTrim arcTrim(const Grid::OutlineSegment& arc);

// An IfcArbitraryClosedProfileDef (AREA) bounded by an IfcCompositeCurve of the chained
// segments, in order, each CONTINUOUS with SameSense true: a two-point IfcPolyline for a
// straight segment, an IfcTrimmedCurve of an IfcCircle on a 2-D placement at the centre,
// trimmed by parameter, for an arc. Throws SlabFault for a degenerate arc.
ifc::Entity arcOutlineProfile(ifc::Model& model, const std::vector<Grid::OutlineSegment>& chain);

}  // namespace Utils
