// Cantilever slabs of one standard floor on their pool, one product each; a skipped one adds
// nothing.
#include "members/canti_slab.h"
#include "members/floor_members.h"
#include "members/member_pool.h"

namespace Utils {

void buildCantiSlabs(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  buildMemberRows<Slab::CantiSlabRow>(
      build.ctx.model, build.mt, build.floor.cantiSlabs,
      [&](const Slab::CantiSlabRow& cs) {
        std::vector<ifc::Entity> products;
        if (auto slab = CreateCantiSlab(build.ctx, cs, build.stdFlr, build.flr_tk,
                                        build.model.slabsByGrid)) {
          products.push_back(*slab);
        }
        return products;
      },
      objectlists);
}

}  // namespace Utils
