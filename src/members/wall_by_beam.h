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

// The ends of `wall` (whose ends the wall adjustment may have moved already) moved along the
// wall's axis on to the far face of the beams at each end joint: of the beams at one joint,
// the face farthest from the joint, taken at the joint's position in `wall_origin` (the row
// as read). An end that already reaches that face, within 1 mm, stays where it is; an end
// the wall adjustment pulled back lands on the face all the same. A beam whose section text
// gives no width (item 1) takes no part: the beam's own builder reports it.
[[nodiscard]] WallPlanEnds adjustWallByBeam(
    const Palvek::WallRow& wall, std::span<const Palvek::ConnectedBeamsPair> connectBeams,
    const Palvek::WallRow& wall_origin);

}  // namespace Utils
