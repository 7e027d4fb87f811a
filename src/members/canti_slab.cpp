#include "members/canti_slab.h"

#include <cmath>
#include <numbers>
#include <string>

#include "members/half_circle.h"
#include "members/member_fault.h"
#include "members/slab_fault.h"
#include "members/slab_thickness.h"
#include "members/solid_builders.h"
#include "sections/make_profiles.h"
#include "text/number_text.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

// Edges shorter than this (mm) have no direction.
constexpr double kShortestEdge = 1e-5;

ifc::Entity rectangle(const RunContext& ctx, const std::string& text) {
  const auto profiles = Sect::makeProfiles(ctx.model, ctx.profiles, 1, text);
  if (profiles->empty()) throw SlabFault("矩形截面" + text + "无轮廓");
  return profiles->front();
}

struct Common {
  std::string name;
  db::Value tk;  // as held, for the arc's profile text
  double thickness;
  double side;  // +1 or -1
  double z;     // level of the slab's bottom
};

ifc::Entity straightEdge(const RunContext& ctx, const Slab::CantiSlabRow& cs, const Common& c) {
  App::Vector e(cs.x2 - cs.x1, cs.y2 - cs.y1, 0);
  const double L = e.Length();
  double ec = cs.ecc;
  const double len = cs.length == 0 ? L : cs.length;
  // A negative offset counts back from the edge's far end, as the wall openings' codes do.
  if (ec < 0) ec = L + ec - len;
  App::Vector n = App::Vector(0, 0, 1).cross(e);
  e.normalize();
  n.normalize();
  const double width = cs.width.asDouble();
  const App::Vector p0(cs.x1, cs.y1, c.z);
  const App::Vector p1 = p0 + e * ec;
  const App::Vector p2 = p1 + n * width * c.side;
  const App::Vector p3 = p2 + e * len;
  const App::Vector p4 = p3 - n * width * c.side;
  const double w = (p2 - p1).Length();
  const double h = (p4 - p1).Length();
  const ifc::Entity profile = rectangle(ctx, "1," + text::repr(w) + "," + text::repr(h));
  const App::Vector pos = p1 + (p2 - p1) / 2 + (p4 - p1) / 2;
  return CreateStraightStructure(ctx, StructureType::Slab, c.name, profile, c.thickness, pos,
                                 App::Vector(0, 0, 1), p2 - p1);
}

ifc::Entity arcEdge(const RunContext& ctx, const Slab::CantiSlabRow& cs, const Common& c) {
  const App::Vector p0(cs.x0.value_or(0), cs.y0.value_or(0), c.z);
  const App::Vector p1(cs.x1, cs.y1, c.z);
  const App::Vector p2(cs.x2, cs.y2, c.z);
  App::Vector r1 = p1 - p0;
  const App::Vector r2 = p2 - p0;
  const bool halfCircle = isHalfCircle(r1, r2);
  const double R = r1.Length();
  if (R < kShortestEdge || r2.Length() < kShortestEdge) throw SlabFault("圆弧端点与圆心重合");
  if (!std::isfinite(R + cs.width.asDouble())) throw SlabFault("圆弧半径不是有限数值");
  const double angle = r1.getAngle(r2) * 180.0 / std::numbers::pi;
  if (!(angle > 0)) throw SlabFault("圆弧两端在同一半径上，圆弧角度为0");
  const double width = cs.width.asDouble();
  // A band reaching the centre (up to rounding) is a sector; only a wider one crosses it.
  if (c.side < 0 && width > R + kShortestEdge) {
    throw SlabFault("宽度" + cs.width.str() + "不小于圆弧半径" + text::repr(R));
  }

  ifc::Model& model = ctx.model;
  const ifc::Entity axisPoint =
      model.create("IfcCartesianPoint", {ifc::List{R + width / 2 * c.side, 0.0, 0.0}});
  const ifc::Entity axisDirection = model.create("IfcDirection", {ifc::List{0.0, 1.0, 0.0}});
  const ifc::Entity axis = model.create("IfcAxis1Placement", {axisPoint, axisDirection});
  const ifc::Entity profile = rectangle(ctx, "1," + cs.width.str() + "," + c.tk.str());
  r1.normalize();
  const App::Vector pos = p1 + r1 * width / 2 * c.side + App::Vector(0, 0, c.thickness / 2);
  // The tangent at the first end that turns toward the second.
  App::Vector t = App::DraftVecUtils::rotate(r1, std::numbers::pi / 2);
  if (t.getAngle(r2) > std::numbers::pi / 2 && !halfCircle) t = -t;
  return CreateArcStructure(ctx, ArcStructureType::Slab, c.name, profile, axis, angle, pos, t,
                            p0 - p1);
}

}  // namespace

std::optional<ifc::Entity> CreateCantiSlab(const RunContext& ctx, const Slab::CantiSlabRow& cs,
                                           const Floor::StdFloorRow& stdFlr, double flr_tk,
                                           const Slab::SlabsByGrid& slabs) {
  try {
    const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
    if (cs.side == 0) throw SlabFault("悬挑方向Side为0");
    if (!(finiteNumber(cs.width, "Width") > 0))
      throw SlabFault("宽度" + cs.width.str() + "不是正数");
    if (std::hypot(cs.x2 - cs.x1, cs.y2 - cs.y1) < kShortestEdge) {
      throw SlabFault("支承边长度为0");
    }
    Common c;
    c.name = "CantiSlab_" + cs.id.str();
    c.side = cs.side > 0 ? 1.0 : -1.0;
    c.tk = getCantiSlabThick(cs, flr_tk, slabs);
    c.thickness = c.tk.asDouble();
    if (!(c.thickness > 0)) throw SlabFault("板厚" + c.tk.str() + "不是正数");
    c.z = flr_height - cs.hDrop - c.thickness + cs.zDiff1;
    return cs.axisJt1Id < 0 ? arcEdge(ctx, cs, c) : straightEdge(ctx, cs, c);
  } catch (const SlabFault& fault) {
    reportSkipped("CantiSlab", cs.id, fault.what());
  } catch (const Sect::SectionError& fault) {
    reportSkipped("CantiSlab", cs.id, fault.what());
  } catch (const App::GeometryError& fault) {
    reportSkipped("CantiSlab", cs.id, fault.what());
  }
  return std::nullopt;
}

std::optional<ifc::Entity> CreateCantiSlab(const RunContext& ctx, const Slab::CantiSlabRow& cs,
                                           const Floor::StdFloorRow& stdFlr, double flr_tk,
                                           std::span<const Slab::SlabRow> slabs) {
  return CreateCantiSlab(ctx, cs, stdFlr, flr_tk, Slab::SlabsByGrid(slabs));
}

}  // namespace Utils
