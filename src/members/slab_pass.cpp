// Slabs of one standard floor with their openings on their pool, in model order: each slab's
// outline segments, adjacent beams and fold properties, its panels, then each panel's openings.
#include "members/assembly.h"
#include "members/floor_members.h"
#include "members/member_pool.h"
#include "members/messages.h"
#include "members/slab_builder.h"
#include "members/slab_holes.h"

namespace Utils {

void buildSlabs(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  const RunContext& ctx = build.ctx;
  const Slab::SlabDetailReader& reader = build.model.slabDetails;
  buildMemberRows<const Slab::SlabRow*>(
      ctx.model, build.mt, build.floor.slabs,
      [&](const Slab::SlabRow* row) {
        const Slab::SlabRow& slab = *row;
        const std::vector<Grid::OutlineSegment> cords = reader.cords(slab.gridIds);
        const std::vector<Slab::AdjacentBeamRow> adj_beams = reader.adjacentBeams(slab.id);
        const std::vector<Property::SlabFoldPropRow> slabProps = reader.foldProps(slab.id);
        std::vector<ifc::Entity> products =
            CreateSlab(ctx, slab, build.stdFlr, build.flr_tk, cords, adj_beams, slabProps);
        if (products.empty()) return products;

        // Faulty openings are reported once, not once per panel.
        const std::vector<Slab::SlabHoleRow> slabHoles =
            usableSlabHoles(reader.holes(build.stdFlr.id, slab.id, messages()));
        if (slabHoles.empty()) return products;
        // Each panel of a split slab gets its own openings, made from that panel.
        const std::vector<ifc::Entity> panels = products;
        for (const ifc::Entity& panel : panels) {
          const std::vector<ifc::Entity> holes = CreateHolesInSlab(ctx, panel, slabHoles);
          products.insert(products.end(), holes.begin(), holes.end());
          for (const ifc::Entity& opening : holes) {
            ctx.model.create("IfcRelVoidsElement", {create_guid(), ctx.ownerHistory, ifc::Unset{},
                                                    ifc::Unset{}, panel, opening});
          }
        }
        return products;
      },
      objectlists);
}

}  // namespace Utils
