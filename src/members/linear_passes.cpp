// Beams, secondary beams, columns and braces of one standard floor, each kind on its pool.
#include "members/floor_members.h"
#include "members/linear_members.h"
#include "members/member_pool.h"

namespace Utils {

void buildBeams(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  const FloorRows& f = build.floor;
  buildMemberRows<Beam::BeamRow>(
      build.ctx.model, build.mt, f.beams,
      [&](const Beam::BeamRow& beam) {
        const auto connectBeams = Beam::getConnectBeams(beam, f.beams, f.columns, f.walls);
        return CreateBeam(build.ctx, beam, build.stdFlr, connectBeams);
      },
      objectlists);
}

void buildSubBeams(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  buildMemberRows<SubBeam::SubBeamRow>(
      build.ctx.model, build.mt, build.floor.subBeams,
      [&](const SubBeam::SubBeamRow& beam) { return CreateSubBeam(build.ctx, beam, build.stdFlr); },
      objectlists);
}

void buildColumns(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  buildMemberRows<Column::ColumnRow>(
      build.ctx.model, build.mt, build.floor.columns,
      [&](const Column::ColumnRow& column) {
        return CreateColumn(build.ctx, column, build.stdFlr);
      },
      objectlists);
}

void buildBraces(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  buildMemberRows<Brace::BraceRow>(
      build.ctx.model, build.mt, build.floor.braces,
      [&](const Brace::BraceRow& brace) { return CreateBrace(build.ctx, brace, build.stdFlr); },
      objectlists);
}

}  // namespace Utils
