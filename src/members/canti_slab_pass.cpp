// Cantilever slabs of one standard floor, one product each; a skipped one adds nothing.
#include "members/canti_slab.h"
#include "members/floor_members.h"

namespace Utils {

void buildCantiSlabs(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  for (const Slab::CantiSlabRow& cs : build.floor.cantiSlabs) {
    if (auto slab = CreateCantiSlab(build.ctx, cs, build.stdFlr, build.flr_tk, build.model.slabs)) {
      objectlists.push_back(*slab);
    }
  }
}

}  // namespace Utils
