#pragma once
// A planar outline in space as a profile drawn in the outline's own frame: origin points[0],
// x axis points[1] - points[0], y axis v0 x (points[1] - points[0]). Placing the profile with
// that frame (z along v0) puts every profile point back on its 3-D point, for points in the
// face. Not cached: every call creates new entities.

#include <vector>

#include "ifc/model.h"
#include "sections/section_error.h"
#include "vector/vector.h"

namespace Sect {

// An IfcArbitraryClosedProfileDef (AREA, no name) whose OuterCurve is an IfcPolyline of one
// 2-D point per input point, in input order, closed by the first point entity again.
// Throws SectionError when fewer than two points are given.
ifc::Entity Polygon_Section(ifc::Model& ifcfile, const App::Vector& v0,
                            const std::vector<App::Vector>& points);

}  // namespace Sect
