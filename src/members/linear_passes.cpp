// Beams, secondary beams, columns and braces of one standard floor, each kind on its pool.
#include "members/floor_members.h"
#include "members/joint_neighbours.h"
#include "members/linear_members.h"
#include "members/member_pool.h"

namespace Utils {

void buildBeams(const FloorBuild& build, std::vector<ifc::Entity>& objectlists) {
  const FloorRows& f = build.floor;
  const JointNeighbours neighbours(f);
  buildMemberRows<Beam::BeamRow>(
      build.ctx.model, build.mt, f.beams,
      [&](const Beam::BeamRow& beam) {
        const JointNeighbours::Rows near = neighbours.at(beam.jt1Id, beam.jt2Id);
        const auto connectBeams = Beam::getConnectBeams(beam, near.beams, near.columns, near.walls);
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
