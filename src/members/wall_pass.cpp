// Walls of one standard floor with their openings on their pool, in model order: each wall,
// then its openings, each opening related to its wall.
#include <vector>

#include "members/assembly.h"
#include "members/floor_members.h"
#include "members/member_pool.h"
#include "members/messages.h"
#include "members/wall_builder.h"
#include "members/wall_holes.h"
#include "members/wall_support.h"
#include "queries/palvek.h"
#include "readers/id_map.h"

namespace Utils {

namespace {

// Each opening of a grid line that no wall of the floor stands on is named on one line.
void reportOpeningsWithoutWall(const FloorBuild& build) {
  const Palvek::WallHoleQuery& getWallHoles = build.model.wallHoles;
  const std::vector<db::Value> grids = getWallHoles.gridsOf(build.stdFlr.id);
  if (grids.empty()) return;
  readers::IdMap<char> carried;  // the grid lines of the floor's walls
  for (const Palvek::WallRow& wall : build.floor.walls) {
    static_cast<void>(carried.insert(wall.gridId));
  }
  for (const db::Value& grid : grids) {
    if (carried.find(grid) != nullptr) continue;
    for (std::size_t i = getWallHoles(build.stdFlr.id, grid, messages()).size(); i > 0; --i) {
      report(skippedLine("WallHole", grid, "所在网格上无墙"));
    }
  }
}

}  // namespace

void buildWalls(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  const FloorRows& floor = build.floor;
  if (floor.walls.empty()) {
    reportOpeningsWithoutWall(build);
    return;
  }
  const RunContext& ctx = build.ctx;
  const Palvek::WallHoleQuery& getWallHoles = build.model.wallHoles;
  buildMemberRows<Palvek::WallRow>(
      ctx.model, build.mt, floor.walls,
      [&](const Palvek::WallRow& wall) {
        std::vector<ifc::Entity> products;
        const auto connectWalls =
            Palvek::getConnectWalls(wall, floor.beams, floor.columns, floor.walls);
        const auto connectBeams =
            Palvek::getConnectBeams(wall, floor.beams, floor.columns, floor.walls);
        const std::optional<ifc::Entity> product =
            CreateWall(ctx, wall, build.stdFlr, connectWalls, connectBeams);
        const std::vector<Palvek::WallHoleRow> wallHoles =
            getWallHoles(build.stdFlr.id, wall.gridId, messages());
        // A wall left out takes its openings with it, each named.
        if (!product) {
          for (std::size_t i = wallHoles.size(); i > 0; --i) {
            report(skippedLine("WallHole", wall.gridId, "墙Wall_" + wall.wallId.str() + "未生成"));
          }
          return products;
        }
        products.push_back(*product);
        if (wallHoles.empty()) return products;
        for (const ifc::Entity& opening : CreateHolesInWall(ctx, wall, wallHoles)) {
          products.push_back(opening);
          ctx.model.create("IfcRelVoidsElement", {create_guid(), ctx.ownerHistory, ifc::Unset{},
                                                  ifc::Unset{}, *product, opening});
        }
        return products;
      },
      objectlists);
  reportOpeningsWithoutWall(build);
}

}  // namespace Utils
