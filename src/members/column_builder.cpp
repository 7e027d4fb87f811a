// Columns: the section turned by the rotation, moved by the eccentricities and extruded up.
#include <numbers>

#include "members/assembly.h"
#include "members/linear_members.h"
#include "members/member_fault.h"
#include "members/section_queries.h"
#include "members/solid_builders.h"
#include "text/number_text.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

std::vector<ifc::Entity> buildColumn(const RunContext& ctx, const Column::ColumnRow& column,
                                     const Floor::StdFloorRow& stdFlr) {
  const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
  const MemberSection section =
      readSection("Column", "Column", column.id, column.kind, column.shapeVal);
  const auto profiles = sectionProfiles(ctx, section, "Column", column.id, column.kind);

  const double L = flr_height - column.hDiffB + column.hDiff;
  if (!(L > 0.0)) {
    skipMember("Column", column.id, "柱长度" + text::repr(L) + "不为正");
  }
  const double rotation_rad = column.rotation * std::numbers::pi / 180.0;
  const App::Vector pos(column.x, column.y, column.hDiffB);
  const App::Vector vx = App::DraftVecUtils::rotate(App::Vector(1.0, 0.0, 0.0), rotation_rad);
  const App::Vector vy = App::DraftVecUtils::rotate(App::Vector(0.0, 1.0, 0.0), rotation_rad);
  const App::Vector solid_position = vx * column.eccX + vy * column.eccY;
  const App::Vector up(0.0, 0.0, 1.0);
  const App::Vector x(1.0, 0.0, 0.0);

  const std::string id = column.id.str();
  const bool taper = IsTaper(section.kind) && profiles->size() >= 2;
  StraightOptions options;
  if (taper) options.section2 = (*profiles)[1];
  const ifc::Entity body =
      CreateStraightStructure(ctx, StructureType::Column, "Columm_" + id, (*profiles)[0], L,
                              pos + solid_position, up, vx, options);
  if (taper || profiles->size() < 2) return {body};

  body.set("Name", "Column_" + id + "_1");
  StraightOptions steelOptions;
  steelOptions.solid = SolidFrame{solid_position, vx, up};
  const ifc::Entity steel =
      CreateStraightStructure(ctx, StructureType::Column, "Columm_" + id + "_2", (*profiles)[1], L,
                              pos, up, x, steelOptions);
  return {CreateAssembly(ctx, "Column_" + id, {body, steel})};
}

}  // namespace

std::vector<ifc::Entity> CreateColumn(const RunContext& ctx, const Column::ColumnRow& column,
                                      const Floor::StdFloorRow& stdFlr) {
  return reportingFaults("Column", column.id, [&] { return buildColumn(ctx, column, stdFlr); });
}

}  // namespace Utils
