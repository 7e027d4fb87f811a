#include "members/slab_holes.h"

#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "members/slab_fault.h"
#include "members/solid_builders.h"
#include "sections/make_profiles.h"
#include "text/number_text.h"
#include "text/split.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

// Every opening runs at least this far (mm) up from the storey base ...
constexpr double kHoleDepth = 10000.0;
// ... and this far (mm) above the slab's top over the opening where that lies higher.
constexpr double kBeyondSlabTop = 20.0;
// A slab whose top face is steeper than this (the cosine of its normal's angle to the
// vertical) has no height over a plan point.
constexpr double kVerticalFaceCosine = 1e-6;

struct HoleSize {
  double w;
  double h;
};

// Width and height of a rectangular opening; throws SlabFault for any other.
HoleSize holeSize(const Slab::SlabHoleRow& hole) {
  if (!(hole.kind.isNumber() && hole.kind.asDouble() == 1)) {
    throw SlabFault("洞口类型" + hole.kind.str() + "未定义");
  }
  const std::string text = hole.shapeVal.isText() ? hole.shapeVal.asText() : hole.shapeVal.str();
  const std::vector<std::string> paras = text::split(text, ',');
  if (paras.size() < 3) throw SlabFault("洞口尺寸'" + text + "'少于3项");
  double size[2];
  for (std::size_t i = 1; i <= 2; ++i) {
    try {
      size[i - 1] = text::parseFloat(paras[i]);
    } catch (const text::ParseError&) {
      throw SlabFault("洞口尺寸'" + text + "'第" + std::to_string(i + 1) + "项不是有限数值");
    }
    if (!(size[i - 1] > 0)) throw SlabFault("洞口尺寸'" + text + "'的宽度或高度不是正数");
  }
  return {size[0], size[1]};
}

std::optional<HoleSize> checkedSize(const Slab::SlabHoleRow& hole) {
  try {
    return holeSize(hole);
  } catch (const SlabFault& fault) {
    reportSkipped("SlabHole", hole.id, fault.what());
    return std::nullopt;
  }
}

// A point's coordinates or a direction's ratios as a vector.
App::Vector vectorOf(const ifc::Value& entity, const char* attribute) {
  const ifc::Value list = entity.asEntity().get(attribute);
  const ifc::List& r = list.asList();
  return App::Vector(r.at(0).asDouble(), r.at(1).asDouble(),
                     r.size() > 2 ? r.at(2).asDouble() : 0.0);
}

// The swept solid of slab product `s`'s body, under any boolean results (a folded slab's body
// is the swept solid combined with its fold solids); none when the body is of another kind.
std::optional<ifc::Entity> sweptSolidOf(const ifc::Entity& s) {
  const ifc::Value shape = s.get("Representation");
  if (shape.isUnset()) return std::nullopt;
  const ifc::Value representations = shape.asEntity().get("Representations");
  if (representations.asList().empty()) return std::nullopt;
  const ifc::Value items = representations.asList().front().asEntity().get("Items");
  if (items.asList().empty()) return std::nullopt;
  ifc::Entity item = items.asList().front().asEntity();
  while (item.is_a("IfcBooleanResult")) item = item.get("FirstOperand").asEntity();
  if (!item.is_a("IfcExtrudedAreaSolid")) return std::nullopt;
  return item;
}

// The highest point of slab product `s`'s top face over the plan points `corners`, in the
// floor's frame: the top face of its swept solid (the slab builders sweep the profile from the
// product's XY plane along its Z axis), before the product is placed in a storey. None when the
// product has no such solid or its face stands vertical.
std::optional<double> slabTopOver(const ifc::Entity& s, const std::vector<App::Vector>& corners) {
  const ifc::Value placement = s.get("ObjectPlacement");
  if (placement.isUnset()) return std::nullopt;
  const ifc::Entity frame = placement.asEntity().get("RelativePlacement").asEntity();
  const ifc::Value axis = frame.get("Axis");
  const App::Vector z =
      axis.isUnset() ? App::Vector(0, 0, 1) : vectorOf(axis, "DirectionRatios").normalize();
  if (z.z < kVerticalFaceCosine) return std::nullopt;
  const std::optional<ifc::Entity> item = sweptSolidOf(s);
  if (!item) return std::nullopt;
  const App::Vector sweep = vectorOf(item->get("ExtrudedDirection"), "DirectionRatios").normalize();
  const App::Vector top = vectorOf(frame.get("Location"), "Coordinates") +
                          z * (item->get("Depth").asDouble() * sweep.z);
  std::optional<double> highest;
  for (const App::Vector& c : corners) {
    const double height = top.z - (z.x * (c.x - top.x) + z.y * (c.y - top.y)) / z.z;
    if (!highest || height > *highest) highest = height;
  }
  return highest;
}

// How far the opening runs along vz from the storey base: kHoleDepth, or through the slab's
// top where the slab stands higher than that (a tall storey).
double holeDepth(const ifc::Entity& s, const std::vector<App::Vector>& corners,
                 const App::Vector& vz) {
  if (!(vz.z > kVerticalFaceCosine)) return kHoleDepth;
  const std::optional<double> top = slabTopOver(s, corners);
  if (!top || *top / vz.z <= kHoleDepth) return kHoleDepth;
  return (*top + kBeyondSlabTop) / vz.z;
}

ifc::Entity createHole(const RunContext& ctx, const ifc::Entity& s, const Slab::SlabHoleRow& hole,
                       HoleSize size, const App::Vector& vz) {
  const double rotation = hole.rotation * std::numbers::pi / 180.0;
  const App::Vector vx = App::DraftVecUtils::rotate(App::Vector(1, 0, 0), rotation);
  const App::Vector vy = App::DraftVecUtils::rotate(App::Vector(0, 1, 0), rotation);
  const App::Vector p0(hole.x0, hole.y0, 0);
  const App::Vector p1 = p0 + vx * hole.eccX + vy * hole.eccY;
  const App::Vector pos = p1 + vx * (size.w * 0.5) + vy * (size.h * 0.5);
  const auto profiles = Sect::makeProfiles(ctx.model, ctx.profiles, 1,
                                           "1," + text::repr(size.w) + "," + text::repr(size.h));
  const double z_angle = App::DraftVecUtils::angle(vz, App::Vector(0, 0, 1), App::Vector(0, 1, 0));
  const App::Vector refDirection = App::DraftVecUtils::rotate(vx, z_angle, App::Vector(0, 1, 0));
  const std::vector<App::Vector> corners = {p1, p1 + vx * size.w, p1 + vy * size.h,
                                            p1 + vx * size.w + vy * size.h};
  return CreateStraightStructure(ctx, StructureType::Opening, "Slab_Hole", profiles->front(),
                                 holeDepth(s, corners, vz), pos, vz, refDirection);
}

}  // namespace

std::vector<Slab::SlabHoleRow> usableSlabHoles(const std::vector<Slab::SlabHoleRow>& slabHoles) {
  std::vector<Slab::SlabHoleRow> usable;
  for (const Slab::SlabHoleRow& hole : slabHoles) {
    if (checkedSize(hole)) usable.push_back(hole);
  }
  return usable;
}

App::Vector slabExtrusionDirection(const ifc::Entity& s) {
  const std::optional<ifc::Entity> item = sweptSolidOf(s);
  if (!item) return App::Vector(0, 0, 1);
  return vectorOf(item->get("ExtrudedDirection"), "DirectionRatios");
}

std::vector<ifc::Entity> CreateHolesInSlab(const RunContext& ctx, const ifc::Entity& s,
                                           const std::vector<Slab::SlabHoleRow>& slabHoles) {
  const App::Vector vz = slabExtrusionDirection(s);
  std::vector<ifc::Entity> holes;
  for (const Slab::SlabHoleRow& hole : slabHoles) {
    if (const std::optional<HoleSize> size = checkedSize(hole)) {
      holes.push_back(createHole(ctx, s, hole, *size, vz));
    }
  }
  return holes;
}

}  // namespace Utils
