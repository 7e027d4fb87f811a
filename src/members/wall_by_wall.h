#pragma once
// A straight wall's ends carried through the walls that meet them at an angle, up to each
// neighbour's far face, with a clip plane that trims a skew end flush with that face.

#include <optional>
#include <span>

#include "members/solid_builders.h"
#include "queries/palvek.h"
#include "queries/rows.h"

namespace Utils {

// The ends of a wall after the adjustment against its neighbouring walls, and the clip plane
// of each end that meets its neighbour skew. The planes are in the frame whose x axis runs
// from end 1 to end 2 and whose origin lies midway between the two ends given here.
struct WallEndsByWall {
  double x1 = 0.0;
  double y1 = 0.0;
  std::optional<ClipPlane> plane1;
  double x2 = 0.0;
  double y2 = 0.0;
  std::optional<ClipPlane> plane2;
};

// Moves each end of `wall` that has a pair in `connectWalls` outward along the wall's axis to
// the far face of that pair's wall (the crossing of the two offset centre lines when either
// wall has an Ecc, plus half the neighbour's thickness across the joint's angle, plus the
// run that brings the whole width of the end to that face); an end meeting its neighbour more
// than 0.001 rad off square also gets a clip plane along that face. Each end is computed from
// the wall as given, whichever end comes first.
//
// A pair is ignored with one reported line (Utils::report) when its wall is parallel to this
// one, has no thickness, or when its joint is neither end of this wall. Throws WallFault when
// this wall has no thickness.
[[nodiscard]] WallEndsByWall adjustWallByWall(
    const Palvek::WallRow& wall, std::span<const Palvek::ConnectedWallPair> connectWalls);

}  // namespace Utils
