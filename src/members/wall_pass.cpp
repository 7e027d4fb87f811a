// Walls of one standard floor with their openings on their pool, in model order: each wall,
// then its openings, each opening related to its wall.
#include "members/assembly.h"
#include "members/floor_members.h"
#include "members/member_pool.h"
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
        // A wall left out takes its openings with it.
        if (!product) return products;
        products.push_back(*product);

        const std::vector<Palvek::WallHoleRow> wallHoles =
            getWallHoles(build.stdFlr.id, wall.gridId, messages());
        if (wallHoles.empty()) return products;
        for (const ifc::Entity& opening : CreateHolesInWall(ctx, wall, wallHoles)) {
          products.push_back(opening);
          ctx.model.create("IfcRelVoidsElement", {create_guid(), ctx.ownerHistory, ifc::Unset{},
                                                  ifc::Unset{}, *product, opening});
        }
        return products;
      },
      objectlists);
}

}  // namespace Utils
