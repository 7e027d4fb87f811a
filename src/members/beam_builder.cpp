// Beams: arc beams revolved about their centre, the side-view outline forms of the tapered
// kinds 21 and 23, and every other beam swept along its axis, trimmed at its supporting beams.
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

#include "ifc/model.h"
#include "members/adjust_beam.h"
#include "members/assembly.h"
#include "members/half_circle.h"
#include "members/linear_members.h"
#include "members/member_fault.h"
#include "members/messages.h"
#include "members/section_queries.h"
#include "members/solid_builders.h"
#include "sections/builder_support.h"
#include "text/number_text.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

constexpr double pi = std::numbers::pi;
const App::Vector up(0.0, 0.0, 1.0);

// How far the void of a kind-23 beam overruns each end, mm.
constexpr double voidOverrun = 20.0;

// What every form of one beam works from.
struct BeamWork {
  const RunContext& ctx;
  const Beam::BeamRow& beam;
  MemberSection section;
  std::string name;  // "Beam_12"
  double z1 = 0;     // top at end 1
  double z2 = 0;     // top at end 2
  AdjustedBeam ends;
};

App::Vector unit(App::Vector v) { return v.normalize(); }

[[noreturn]] void skip(const BeamWork& w, std::string_view fault) {
  skipMember("Beam", w.beam.beamId, fault);
}

void requirePlanLength(const BeamWork& w, double planLength) {
  if (!(planLength >= App::tolerance)) skip(w, "轴线水平投影长度为零");
}

// Form A: the section revolved about the arc's centre from end 1 to end 2, the shorter way (a
// half circle counter-clockwise), Ecc outwards from the arc.
std::vector<ifc::Entity> arcBeam(const BeamWork& w, const Sect::ProfileList& profiles) {
  const Beam::BeamRow& beam = w.beam;
  const App::Vector centre(*beam.x0, *beam.y0, 0.0);
  const App::Vector e1(w.ends.x1, w.ends.y1, 0.0);
  const App::Vector e2(w.ends.x2, w.ends.y2, 0.0);
  const App::Vector r1 = e1 - centre;
  const App::Vector r2 = e2 - centre;
  const double radius = r1.Length();
  if (!(radius >= App::tolerance) || !(r2.Length() >= App::tolerance)) {
    skip(w, "圆弧梁的端点与圆心重合");
  }
  const double angle = r1.getAngle(r2) * 180.0 / pi;
  if (!(angle > 0.0)) skip(w, "圆弧梁两端重合");
  // The beam's own arc, concentric with the axis: end 1 lies Ecc out along its radius.
  const double beamRadius = radius + beam.ecc;
  if (!(beamRadius >= App::tolerance)) skip(w, "圆弧梁偏心后半径不为正");
  const double height = getHeightOfSect(w.section.kind, w.section.paras);

  const App::Vector pos =
      App::Vector(w.ends.x1, w.ends.y1, w.z1 - height / 2) + unit(r1) * beam.ecc;
  // The tangent at end 1, turned towards end 2.
  App::Vector direction = App::DraftVecUtils::rotate(unit(r1), pi / 2);
  if (direction.getAngle(r2) > pi / 2 && !isHalfCircle(r1, r2)) direction.multiply(-1.0);
  const App::Vector refDirection = centre - e1;

  ifc::Model& model = w.ctx.model;
  const ifc::Entity axis = model.create(
      "IfcAxis1Placement", {model.create("IfcCartesianPoint", {ifc::List{beamRadius, 0.0, 0.0}}),
                            model.create("IfcDirection", {ifc::List{0.0, 1.0, 0.0}})});
  return {CreateArcStructure(w.ctx, ArcStructureType::Beam, w.name, profiles.front(), axis, angle,
                             pos, direction, refDirection)};
}

// The outline forms' frame has x along the axis, z across the beam from its right face and
// its origin at the top of the right face at trimmed end 1: a plane through (0, 0, s) with
// normal (a, 0, c) in the swept form's frame is the plane through (s, 0, width / 2) with
// normal (c, 0, -a) here. The end-2 plane moves by `slopeExtra`, what a sloped axis is longer
// than its plan.
std::vector<ClipPlane> outlineFramePlanes(const AdjustedBeam& ends, double width,
                                          double slopeExtra) {
  std::vector<ClipPlane> planes;
  auto add = [&](const ClipPlane& plane, double along) {
    planes.push_back(
        {App::Vector(along, 0.0, width / 2), App::Vector(plane.normal.z, 0.0, -plane.normal.x)});
  };
  if (ends.plane1) add(*ends.plane1, ends.plane1->point.z);
  if (ends.plane2) add(*ends.plane2, ends.plane2->point.z + slopeExtra);
  return planes;
}

// A side-view outline from depth h1 at x = 0 to depth h2 at x = length, y downwards.
std::vector<Sect::detail::Point2> sideView(double length, double h1, double h2) {
  return {{0.0, 0.0}, {length, 0.0}, {length, h2}, {0.0, h1}};
}

// Forms B and C, the tapered rectangle (kind 21) and the tapered box (kind 23): the side view
// extruded across the width, its top running from end 1's height to end 2's along the axis.
std::vector<ifc::Entity> outlineBeam(const BeamWork& w) {
  const SectionItems& paras = w.section.paras;
  const bool box = w.section.kind == 23;
  const double width = sectionItem(paras, 1);
  const double height1 = sectionItem(paras, 2);
  const double height2 = sectionItem(paras, 3);
  const std::string what = box ? "section kind 23" : "section kind 21";
  Sect::detail::requirePositive(what, "width", width);
  Sect::detail::requirePositive(what, "depth at end 1", height1);
  Sect::detail::requirePositive(what, "depth at end 2", height2);
  // The box's plates: item 5 at top and bottom, item 4 at the sides, as its profile has them.
  double side = 0, plate = 0;
  // Plates that meet at an end leave no inside there: the box is built without its void.
  std::optional<std::string> voidFault;
  if (box) {
    side = sectionItem(paras, 4);
    plate = sectionItem(paras, 5);
    Sect::detail::requirePositive(what, "side plate thickness", side);
    Sect::detail::requirePositive(what, "top and bottom plate thickness", plate);
    Sect::detail::requirePositive(what, "inner width", width - 2 * side);
    for (const auto& [end, inner] :
         {std::pair{"1", height1 - 2 * plate}, std::pair{"2", height2 - 2 * plate}}) {
      if (inner > 0.0) continue;
      voidFault = std::string("端") + end + "内腔高度" + text::repr(inner) + "不是正数";
      break;
    }
  }
  // Along the axis, sloped when the end tops differ, as the swept form runs.
  const App::Vector d(w.ends.x2 - w.ends.x1, w.ends.y2 - w.ends.y1, w.z2 - w.z1);
  const double planLength = App::Vector(d.x, d.y, 0.0).Length();
  requirePlanLength(w, planLength);
  if (voidFault) report(memberName("Hole", w.beam.beamId) + ", " + *voidFault + "，已跳过");
  const double L = d.Length();
  const App::Vector n = up.cross(d);
  const App::Vector pos =
      App::Vector(w.ends.x1, w.ends.y1, w.z1) + unit(n) * (w.beam.ecc - width * 0.5);

  ifc::Model& model = w.ctx.model;
  std::optional<std::string> profileName;
  if (!box) {
    profileName =
        "21," + text::fixed0(width) + "," + text::fixed0(height1) + "," + text::fixed0(height2);
  }
  const ifc::Entity profile =
      Sect::detail::outlineProfile(model, sideView(L, height1, height2), profileName);
  StraightOptions options;
  options.clipPlanes = outlineFramePlanes(w.ends, width, L - planLength);
  const ifc::Entity product = CreateStraightStructure(w.ctx, StructureType::Beam, w.name, profile,
                                                      width, pos, n, d, options);
  if (!box || voidFault) return {product};

  // The void runs past both ends on purpose, so no clip plane touches it. Its top lies one
  // plate below the beam's, across the axis: straight down for a level beam.
  const ifc::Entity voidProfile = Sect::detail::outlineProfile(
      model, sideView(L + 2 * voidOverrun, height1 - 2 * plate, height2 - 2 * plate), std::nullopt);
  const App::Vector belowTop = w.z1 != w.z2 ? unit(n.cross(d)) * plate : App::Vector(0, 0, -plate);
  const App::Vector voidPos = pos + unit(d) * -voidOverrun + unit(n) * side + belowTop;
  const ifc::Entity opening =
      CreateStraightStructure(w.ctx, StructureType::Opening, "Hole_" + w.beam.beamId.str(),
                              voidProfile, width - 2 * side, voidPos, n, d);
  model.create("IfcRelVoidsElement",
               {create_guid(), w.ctx.ownerHistory, ifc::Unset{}, ifc::Unset{}, product, opening});
  return {product, opening};
}

// Form D: the section swept along the axis from end 1 to end 2, a taper along the axis
// tilted to keep the top straight, a composite section as two bodies in an assembly.
std::vector<ifc::Entity> sweptBeam(const BeamWork& w, const Sect::ProfileList& profiles) {
  const Beam::BeamRow& beam = w.beam;
  const MemberSection& section = w.section;
  App::Vector d(w.ends.x2 - w.ends.x1, w.ends.y2 - w.ends.y1, w.z2 - w.z1);
  const double planLength = App::Vector(d.x, d.y, 0.0).Length();
  requirePlanLength(w, planLength);
  const bool taper = IsTaper(section.kind) && profiles.size() >= 2;
  if (taper) d = reviseDirection(d, section.kind, section.paras);
  const double height = getHeightOfSect(section.kind, section.paras);
  const App::Vector n = up.cross(d);
  const App::Vector pos = App::Vector(w.ends.x1, w.ends.y1, w.z1 - height / 2) + unit(n) * beam.ecc;
  const App::Vector refDirection = d.cross(up);
  const double L = d.Length();

  StraightOptions options;
  if (w.ends.plane1) options.clipPlanes.push_back(*w.ends.plane1);
  if (w.ends.plane2) {
    // Measured along the axis's own length: a sloped or tilted axis is longer than its plan.
    ClipPlane plane = *w.ends.plane2;
    plane.point.z += L - planLength;
    options.clipPlanes.push_back(plane);
  }
  if (taper) options.section2 = profiles[1];
  const ifc::Entity product = CreateStraightStructure(
      w.ctx, StructureType::Beam, w.name, profiles[0], L, pos, d, refDirection, options);
  if (w.z1 != w.z2) {
    // The offsets of both ends as stored: "(0,-50), (0,0)".
    std::string description = "(";
    for (const std::string& part :
         {beam.zDiff1.str(), std::string(","), beam.hDiff1.str(), std::string("), ("),
          beam.zDiff2.str(), std::string(","), beam.hDiff2.str(), std::string(")")}) {
      description += part;
    }
    product.set("Description", description);
  }
  if (taper || profiles.size() < 2) return {product};

  product.set("Name", w.name + "_1");
  options.section2 = ifc::Entity();
  const ifc::Entity steel = CreateStraightStructure(w.ctx, StructureType::Beam, w.name + "_2",
                                                    profiles[1], L, pos, d, refDirection, options);
  return {CreateAssembly(w.ctx, w.name, {product, steel})};
}

std::vector<ifc::Entity> buildBeam(const RunContext& ctx, const Beam::BeamRow& beam,
                                   const Floor::StdFloorRow& stdFlr,
                                   std::span<const Beam::SupportingBeamPair> connectBeams) {
  const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
  // Rigid links (Mat 10, or a section of items 1 and 2 both "100") are not built.
  if (Beam::isRigid(beam)) return {};
  BeamWork w{ctx,
             beam,
             readSection("Beam", "Beam", beam.beamId, beam.kind, beam.shapeVal),
             memberName("Beam", beam.beamId),
             flr_height + beam.elevation1(),
             flr_height + beam.elevation2(),
             AdjustedBeam{beam.x1, beam.y1, beam.x2, beam.y2, std::nullopt, std::nullopt}};
  const double kind = w.section.kind;
  const bool outline = !beam.isArc() && (kind == 21 || kind == 23);
  // The outline forms build their own profile; every other form reports an undefined
  // section before anything else.
  std::shared_ptr<const Sect::ProfileList> profiles;
  if (!outline) profiles = sectionProfiles(ctx, w.section, "Beam", beam.beamId, beam.kind);

  if (Beam::isHorizontal(beam) && !connectBeams.empty()) w.ends = adjustBeam(beam, connectBeams);
  if (beam.isArc()) return arcBeam(w, *profiles);
  if (outline) return outlineBeam(w);
  return sweptBeam(w, *profiles);
}

}  // namespace

std::vector<ifc::Entity> CreateBeam(const RunContext& ctx, const Beam::BeamRow& beam,
                                    const Floor::StdFloorRow& stdFlr,
                                    std::span<const Beam::SupportingBeamPair> connectBeams) {
  return reportingFaults("Beam", beam.beamId,
                         [&] { return buildBeam(ctx, beam, stdFlr, connectBeams); });
}

}  // namespace Utils
