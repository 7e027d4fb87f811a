#pragma once
// A straight wall's ends carried to the far face of the beams that frame into them.

#include <span>

#include "queries/palvek.h"
#include "queries/rows.h"

namespace Utils {

// Plan coordinates of a wall's two ends, mm.
struct WallPlanEnds {
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
};

// Which ends the wall adjustment cut flush with a skew neighbouring wall.
struct WallEndCuts {
  bool end1 = false;
  bool end2 = false;
};

// The ends of `wall` (whose ends the wall adjustment may have moved already) moved along the
// wall's axis on to the far face of the beams at each end joint, where the axis crosses it (a
// skew beam's face crosses it 1 / sin of its angle to the wall farther out): of the beams at
// one joint, the face farthest from the joint, taken at the joint's position in `wall_origin`
// (the row as read). An end that already reaches that face, within 1 mm, stays where it is;
// an end the wall adjustment pulled back lands on the face all the same. A beam whose section
// text gives no width (item 1) takes no part: the beam's own builder reports it. At an end in
// `cuts` the neighbouring wall's cut hides whatever lies beyond its face, and every beam is
// reckoned as if it ran square across the wall (w/2 +- Ecc from the joint, its side facing
// along the axis within 15 degrees), as such ends always were.
[[nodiscard]] WallPlanEnds adjustWallByBeam(
    const Palvek::WallRow& wall, std::span<const Palvek::ConnectedBeamsPair> connectBeams,
    const Palvek::WallRow& wall_origin, WallEndCuts cuts = {});

}  // namespace Utils
