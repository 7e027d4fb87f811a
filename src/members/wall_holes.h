#pragma once
// The door and window openings of one wall as IfcOpeningElements "Wall_Hole".

#include <span>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "queries/rows.h"

namespace Utils {

// One opening per row of `wallHoles`, in row order: a box of the row's width along the wall
// and height, its bottom at the row's HDiff above the storey base, placed along the wall by
// the row's position code (1 flush with end 1, 0 centred, -1 flush with end 2, another
// positive value the start edge's distance from end 1, another negative value the far edge's
// distance before end 2), reaching 20 mm beyond both faces of the wall. A straight wall is
// measured along the line between the row's ends; an arc wall along its own centre line, the
// arc Ecc outside the grid arc, with a box square to it at the opening's middle. A row
// without a width or height, or with one that makes no rectangle or is as wide as an arc
// wall's inner face circle, is reported on one line and left out; so is every opening of a
// wall without thickness or length, or of an arc wall without its centre or whose inner face
// reaches it.
[[nodiscard]] std::vector<ifc::Entity> CreateHolesInWall(
    const RunContext& ctx, const Palvek::WallRow& wall,
    std::span<const Palvek::WallHoleRow> wallHoles);

}  // namespace Utils
