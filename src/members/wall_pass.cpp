// Walls of one standard floor with their openings, in model order on the calling thread
// (also in threaded mode): each wall, then its openings, each opening related to its wall.
#include "members/assembly.h"
#include "members/floor_members.h"
#include "members/messages.h"
#include "members/wall_builder.h"
#include "members/wall_holes.h"
#include "queries/palvek.h"

namespace Utils {

void buildWalls(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  const FloorRows& floor = build.floor;
  if (floor.walls.empty()) return;
  const RunContext& ctx = build.ctx;
  const Palvek::WallHoleQuery& getWallHoles = build.model.wallHoles;
  for (const Palvek::WallRow& wall : floor.walls) {
    const auto connectWalls =
        Palvek::getConnectWalls(wall, floor.beams, floor.columns, floor.walls);
    const auto connectBeams =
        Palvek::getConnectBeams(wall, floor.beams, floor.columns, floor.walls);
    const std::optional<ifc::Entity> product =
        CreateWall(ctx, wall, build.stdFlr, connectWalls, connectBeams);
    // A wall left out takes its openings with it.
    if (!product) continue;
    objectlists.push_back(*product);

    const std::vector<Palvek::WallHoleRow> wallHoles =
        getWallHoles(build.stdFlr.id, wall.gridId, messages());
    if (wallHoles.empty()) continue;
    for (const ifc::Entity& opening : CreateHolesInWall(ctx, wall, wallHoles)) {
      objectlists.push_back(opening);
      ctx.model.create("IfcRelVoidsElement", {create_guid(), ctx.ownerHistory, ifc::Unset{},
                                              ifc::Unset{}, *product, opening});
    }
  }
}

}  // namespace Utils
