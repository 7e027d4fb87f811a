#pragma once
// Planar polygon areas through GEOS, kept behind this one function so that no other file
// depends on the GEOS C API.

#include <array>
#include <vector>

namespace Sect::detail {

// The area of the polygon whose ring runs through the points in order (closed by itself when
// the last point is not the first), positive whichever way the ring runs. Throws AreaError
// when the points do not make a polygon (fewer than three, not finite).
[[nodiscard]] double polygonArea(const std::vector<std::array<double, 2>>& ring);

}  // namespace Sect::detail
