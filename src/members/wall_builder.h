#pragma once
// One wall of a standard floor as an IfcWall: a straight wall extruded up from its plan
// rectangle, its ends carried through the walls and beams that meet them and cut flush with
// skew neighbours, its top sloped between unequal end heights; an arc wall revolved about
// its centre.

#include <optional>
#include <span>

#include "ifc/value.h"
#include "members/run_context.h"
#include "queries/palvek.h"
#include "queries/rows.h"
#include "readers/floor.h"

namespace Utils {

// The IfcWall "Wall_<id>" of `wall` at the storey height of `stdFlr`, or none when the
// wall's data is faulty (no thickness, no length before or after its ends are adjusted, no
// positive height, a degenerate arc): the wall is then reported on one line and left out.
// Arc walls ignore their neighbours.
[[nodiscard]] std::optional<ifc::Entity> CreateWall(
    const RunContext& ctx, const Palvek::WallRow& wall, const Floor::StdFloorRow& stdFlr,
    std::span<const Palvek::ConnectedWallPair> connectWalls,
    std::span<const Palvek::ConnectedBeamsPair> connectBeams);

}  // namespace Utils
