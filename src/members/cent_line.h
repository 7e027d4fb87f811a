#pragma once
// Offset centre lines of beams and walls and the end correction where two offset members
// meet. Plan geometry, z = 0, mm.

#include <utility>

#include "db/value.h"
#include "queries/rows.h"
#include "vector/vector.h"

namespace Utils {

// The member's centre line from end 1 to end 2 moved by its Ecc to the left (seen from
// above), as (end 1, end 2).
[[nodiscard]] std::pair<App::Vector, App::Vector> getCentLineOffset(const Beam::BeamRow& element);
[[nodiscard]] std::pair<App::Vector, App::Vector> getCentLineOffset(const Palvek::WallRow& element);

// The crossing (px, py) of the line through (x1, y1), (x2, y2) with the line through
// (x3, y3), (x4, y4). Throws App::GeometryError for parallel or degenerate lines.
[[nodiscard]] std::pair<double, double> findIntersection(double x1, double y1, double x2, double y2,
                                                         double x3, double y3, double x4,
                                                         double y4);

// Signed distance from target's offset end at joint `jt` to the crossing of the two offset
// centre lines: negative when the crossing lies inside the target. Throws App::GeometryError
// when the lines do not cross.
[[nodiscard]] double reviseEcc(const Beam::BeamRow& target, const Beam::BeamRow& reference,
                               const db::Value& jt);
[[nodiscard]] double reviseEcc(const Palvek::WallRow& target, const Palvek::WallRow& reference,
                               const db::Value& jt);

}  // namespace Utils
