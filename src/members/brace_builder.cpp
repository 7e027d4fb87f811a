// Braces: the section swept between two points at any heights, turned about the axis.
#include <numbers>

#include "members/assembly.h"
#include "members/linear_members.h"
#include "members/member_fault.h"
#include "members/section_queries.h"
#include "members/solid_builders.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

// Below this sine of the angle between the axis and world X, X gives the section no x
// direction.
constexpr double parallelToXSine = 1e-6;

std::vector<ifc::Entity> buildBrace(const RunContext& ctx, const Brace::BraceRow& brace,
                                    const Floor::StdFloorRow& stdFlr) {
  const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
  // A brace standing on one joint ignores that joint's height offset.
  const bool oneJoint = brace.jt1Id == brace.jt2Id;
  const double zDiff1 = oneJoint ? 0.0 : brace.zDiff1;
  const double zDiff2 = oneJoint ? 0.0 : brace.zDiff2;
  // 1 stands for the storey top.
  const double hDiff1 = brace.hDiff1 == 1 ? flr_height : brace.hDiff1;
  const double hDiff2 = brace.hDiff2 == 1 ? flr_height : brace.hDiff2;
  const App::Vector v1(brace.x1 + brace.eccX1, brace.y1 + brace.eccY1, hDiff1 + zDiff1);
  const App::Vector v2(brace.x2 + brace.eccX2, brace.y2 + brace.eccY2, hDiff2 + zDiff2);

  const MemberSection section = readSection("Brace", "Brace", brace.id, brace.kind, brace.shapeVal);
  const auto profiles = sectionProfiles(ctx, section, "Brace", brace.id, brace.kind);
  const App::Vector v = v2 - v1;
  const double height = v.Length();
  if (height == 0.0) return {};

  const double rotation_rad = brace.rotation * std::numbers::pi / 180.0;
  App::Vector reference(1.0, 0.0, 0.0);
  // World X seen across a brace along X is a point: its section takes its x direction from
  // world Y instead, turned by the rotation like any other brace's.
  if (!(v.cross(reference).Length() > parallelToXSine * height)) reference = App::Vector(0, 1, 0);
  const App::Vector vx = App::DraftVecUtils::rotate(reference, rotation_rad, v);
  const App::Vector up(0.0, 0.0, 1.0);
  const App::Vector x(1.0, 0.0, 0.0);

  const std::string name = memberName("Brace", brace.id);
  // A tapered section is one tapered solid; two profiles of any other kind are a composite.
  const bool taper = IsTaper(section.kind) && profiles->size() >= 2;
  StraightOptions options;
  options.solid = SolidFrame{App::Vector(0.0, 0.0, 0.0), vx, v};
  if (taper) options.section2 = (*profiles)[1];
  const ifc::Entity body = CreateStraightStructure(ctx, StructureType::Brace, name, (*profiles)[0],
                                                   height, v1, up, x, options);
  if (taper || profiles->size() < 2) return {body};

  body.set("Name", name + "_1");
  const ifc::Entity steel = CreateStraightStructure(ctx, StructureType::Brace, name + "_2",
                                                    (*profiles)[1], height, v1, v, vx);
  return {CreateAssembly(ctx, name, {body, steel})};
}

}  // namespace

std::vector<ifc::Entity> CreateBrace(const RunContext& ctx, const Brace::BraceRow& brace,
                                     const Floor::StdFloorRow& stdFlr) {
  return reportingFaults("Brace", brace.id, [&] { return buildBrace(ctx, brace, stdFlr); });
}

}  // namespace Utils
