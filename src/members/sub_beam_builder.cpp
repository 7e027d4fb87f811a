// Secondary beams: the section swept straight from end 1 to end 2, hanging from the top.
#include "members/assembly.h"
#include "members/linear_members.h"
#include "members/member_fault.h"
#include "members/section_queries.h"
#include "members/solid_builders.h"

namespace Utils {

namespace {

std::vector<ifc::Entity> buildSubBeam(const RunContext& ctx, const SubBeam::SubBeamRow& beam,
                                      const Floor::StdFloorRow& stdFlr) {
  const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
  const double z1 = flr_height + beam.z1;
  const double z2 = flr_height + beam.z2;
  // The undefined section is reported as a beam's, as for main beams.
  const MemberSection section = readSection("SubBeam", "Beam", beam.id, beam.kind, beam.shapeVal);
  const auto profiles = sectionProfiles(ctx, section, "Beam", beam.id, beam.kind);

  App::Vector v_beam(beam.x2 - beam.x1, beam.y2 - beam.y1, z2 - z1);
  if (!(App::Vector(v_beam.x, v_beam.y, 0.0).Length() >= App::tolerance)) {
    skipMember("SubBeam", beam.id, "轴线水平投影长度为零");
  }
  const bool taper = IsTaper(section.kind) && profiles->size() >= 2;
  if (taper) v_beam = reviseDirection(v_beam, section.kind, section.paras);
  const double height = getHeightOfSect(section.kind, section.paras);
  const App::Vector pos(beam.x1, beam.y1, z1 - height / 2);
  const App::Vector refDirection = v_beam.cross(App::Vector(0.0, 0.0, 1.0));
  const double L = v_beam.Length();

  const std::string name = memberName("SubBeam", beam.id);
  StraightOptions options;
  if (taper) options.section2 = (*profiles)[1];
  const ifc::Entity body = CreateStraightStructure(ctx, StructureType::Beam, name, (*profiles)[0],
                                                   L, pos, v_beam, refDirection, options);
  if (taper || profiles->size() < 2) return {body};

  body.set("Name", name + "_1");
  const ifc::Entity steel = CreateStraightStructure(ctx, StructureType::Beam, name + "_2",
                                                    (*profiles)[1], L, pos, v_beam, refDirection);
  return {CreateAssembly(ctx, name, {body, steel})};
}

}  // namespace

std::vector<ifc::Entity> CreateSubBeam(const RunContext& ctx, const SubBeam::SubBeamRow& beam,
                                       const Floor::StdFloorRow& stdFlr) {
  return reportingFaults("SubBeam", beam.id, [&] { return buildSubBeam(ctx, beam, stdFlr); });
}

}  // namespace Utils
