#pragma once
// Which way an arc member runs from end 1 when its two radii point apart. Arcs run the
// shorter way round from end 1 to end 2, and an exact half circle counter-clockwise seen from
// above; the sign tests that choose the way would otherwise let rounding pick a side for it.

#include <cmath>

#include "vector/vector.h"

namespace Utils {

// Whether the radii r1 and r2 (centre to end 1 and end 2, in plan) lie on opposite sides of
// the centre: their cross product within the vector tolerance of 0 and their dot product
// negative.
[[nodiscard]] inline bool isHalfCircle(const App::Vector& r1, const App::Vector& r2) {
  return std::abs(r1.x * r2.y - r1.y * r2.x) <= App::tolerance && r1.dot(r2) < 0.0;
}

}  // namespace Utils
