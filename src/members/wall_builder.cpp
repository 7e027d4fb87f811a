#include "members/wall_builder.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "members/half_circle.h"
#include "members/messages.h"
#include "members/solid_builders.h"
#include "members/wall_by_beam.h"
#include "members/wall_by_wall.h"
#include "members/wall_support.h"
#include "sections/make_profiles.h"
#include "text/number_text.h"

namespace Utils {

namespace {

using App::Vector;
using Palvek::WallRow;

// A number with the class it would have in the database's own arithmetic: the sum of
// integers stays an integer and is written without a decimal point, anything else is real.
struct StoredNumber {
  double value = 0.0;
  bool integer = false;

  [[nodiscard]] std::string text() const {
    // Integers this large are no wall height; beyond it the real form is exact enough.
    constexpr double kLargestWrittenInteger = 1e15;
    if (integer && std::abs(value) < kLargestWrittenInteger) {
      return std::to_string(static_cast<long long>(value));
    }
    return text::repr(value);
  }
};

StoredNumber stored(const db::Value& v) { return {v.asDouble(), v.isInteger()}; }

StoredNumber storeyHeight(const Floor::StdFloorRow& stdFlr) {
  if (stdFlr.height.isNull()) throw WallFault("层高为空");
  if (!stdFlr.height.isNumber() || !std::isfinite(stdFlr.height.asDouble())) {
    throw WallFault("层高" + stdFlr.height.str() + "不是有限数值");
  }
  return stored(stdFlr.height);
}

// ZDiff + HDiff + storey height - HDiffB: the top at one end above the wall's bottom.
StoredNumber endHeight(const db::Value& zDiff, const db::Value& hDiff, StoredNumber flrHeight,
                       const db::Value& hDiffB) {
  const StoredNumber z = stored(zDiff), h = stored(hDiff), b = stored(hDiffB);
  return {z.value + h.value + flrHeight.value - b.value,
          z.integer && h.integer && flrHeight.integer && b.integer};
}

struct WallHeights {
  StoredNumber height1;
  StoredNumber height2;
  StoredNumber height;  // the larger, height1 when they are equal
};

WallHeights wallHeights(const WallRow& wall, const Floor::StdFloorRow& stdFlr) {
  const StoredNumber flrHeight = storeyHeight(stdFlr);
  WallHeights h;
  h.height1 = endHeight(wall.zDiff1, wall.hDiff1, flrHeight, wall.hDiffB);
  h.height2 = endHeight(wall.zDiff2, wall.hDiff2, flrHeight, wall.hDiffB);
  h.height = h.height2.value > h.height1.value ? h.height2 : h.height1;
  for (double v : {h.height1.value, h.height2.value}) {
    if (!std::isfinite(v)) throw WallFault("墙高" + text::repr(v) + "不是有限数值");
  }
  if (h.height.value <= 0.0) throw WallFault("墙高" + h.height.text() + "不为正");
  return h;
}

ifc::Entity rectangle(const RunContext& ctx, const std::string& xDim, const std::string& yDim) {
  try {
    return Sect::makeProfiles(ctx.model, ctx.profiles, 1, "1," + xDim + "," + yDim)->front();
  } catch (const Sect::SectionError& e) {
    throw WallFault(e.what());
  }
}

std::string wallName(const WallRow& wall) { return "Wall_" + wall.wallId.str(); }

// The arc of radius |end 1 - centre| from end 1 towards end 2, the shorter way round (a half
// circle counter-clockwise), its rectangle section B by height revolved about the vertical
// through the centre, Ecc outwards from that arc.
ifc::Entity createArcWall(const RunContext& ctx, const WallRow& wall, double b,
                          const WallHeights& heights) {
  if (!wall.x0 || !wall.y0) throw WallFault("弧墙无圆心");
  const double z = wall.hDiffB.asDouble();
  const Vector p0(*wall.x0, *wall.y0, z);
  const Vector p1(wall.x1, wall.y1, z);
  const Vector p2(wall.x2, wall.y2, z);
  Vector c1 = p1 - p0;
  const Vector c2 = p2 - p0;
  const double r = c1.Length();
  if (r < kWallZeroLength || c2.Length() < kWallZeroLength) throw WallFault("弧墙端点与圆心重合");
  const double sweep = c1.getAngle(c2);
  if (r * sweep < kWallZeroLength) throw WallFault("弧墙长度为0");
  // A section reaching the axis would turn through itself.
  if (b / 2.0 >= r) throw WallFault("弧墙厚度不小于直径");
  if (b / 2.0 >= r + wall.ecc) throw WallFault("弧墙偏心后内侧越过圆心");
  const double angle = sweep * 180.0 / std::numbers::pi;

  // The profile first: a refused one leaves no axis behind in the model.
  const ifc::Entity profile = rectangle(ctx, wall.b.str(), heights.height.text());
  const ifc::Entity axis =
      ctx.model.create("IfcAxis1Placement",
                       {ctx.model.create("IfcCartesianPoint", {ifc::List{r + wall.ecc, 0.0, 0.0}}),
                        ctx.model.create("IfcDirection", {ifc::List{0.0, 1.0, 0.0}})});

  const bool halfCircle = isHalfCircle(c1, c2);
  const Vector u1 = c1.normalize();
  const Vector position = p1 + u1 * wall.ecc + Vector(0.0, 0.0, heights.height.value / 2.0);
  // The tangent at end 1, turned towards end 2's side.
  Vector direction = Vector(0, 0, 1).cross(u1);
  if (direction.getAngle(c2) > std::numbers::pi / 2.0 && !halfCircle) direction.multiply(-1.0);
  const Vector refDirection = p0 - p1;
  return CreateArcStructure(ctx, ArcStructureType::Wall, wallName(wall), profile, axis, angle,
                            position, direction, refDirection);
}

ifc::Entity createStraightWall(const RunContext& ctx, const WallRow& wall,
                               const WallHeights& heights,
                               std::span<const Palvek::ConnectedWallPair> connectWalls,
                               std::span<const Palvek::ConnectedBeamsPair> connectBeams) {
  if (wall.planVector().Length() < kWallZeroLength) throw WallFault("墙长度为0");

  WallRow updated = wall;
  std::optional<ClipPlane> plane1;
  std::optional<ClipPlane> plane2;
  if (!connectWalls.empty()) {
    const WallEndsByWall byWall = adjustWallByWall(wall, connectWalls);
    updated.x1 = byWall.x1;
    updated.y1 = byWall.y1;
    updated.x2 = byWall.x2;
    updated.y2 = byWall.y2;
    plane1 = byWall.plane1;
    plane2 = byWall.plane2;
  }
  double x1 = updated.x1, y1 = updated.y1, x2 = updated.x2, y2 = updated.y2;
  if (!connectBeams.empty()) {
    const WallPlanEnds byBeam =
        adjustWallByBeam(updated, connectBeams, wall, {plane1.has_value(), plane2.has_value()});
    x1 = byBeam.x1;
    y1 = byBeam.y1;
    x2 = byBeam.x2;
    y2 = byBeam.y2;
  }

  const Vector a(x2 - x1, y2 - y1, 0.0);
  const double L = a.Length();
  if (L < kWallZeroLength) throw WallFault("调整后墙长度为0");
  if (a.dot(wall.planVector()) <= 0.0) throw WallFault("调整后两端交错");
  const Vector n = Vector(0, 0, 1).cross(a);
  const Vector p1(x1, y1, wall.hDiffB.asDouble());

  // The end planes were placed about the middle of the ends the wall adjustment gave; the
  // wall is placed about the middle of its final ends, so follow the beam adjustment's move.
  const Vector unit = a / L;
  const Vector finalMiddle = Vector(x1 + x2, y1 + y2, 0.0) * 0.5;
  const Vector wallMiddle = Vector(updated.x1 + updated.x2, updated.y1 + updated.y2, 0.0) * 0.5;
  const double shift = (finalMiddle - wallMiddle).dot(unit);
  std::vector<ClipPlane> clipPlanes;
  for (const std::optional<ClipPlane>& plane : {plane1, plane2}) {
    if (!plane) continue;
    clipPlanes.push_back({plane->point - Vector(shift, 0.0, 0.0), plane->normal});
  }
  const double height1 = heights.height1.value;
  const double height2 = heights.height2.value;
  if (height1 != height2) {
    // Through the middle of the sloped top line, normal pointing down into the wall: the
    // top line (L, 0, height2 - height1) turned a quarter about the local Y axis.
    clipPlanes.push_back(
        {Vector(0.0, 0.0, height1 / 2.0 + height2 / 2.0), Vector(height2 - height1, 0.0, -L)});
  }

  const ifc::Entity profile = rectangle(ctx, text::repr(L), wall.b.str());
  const Vector position = p1 + Vector(n).normalize() * wall.ecc + a / 2.0;
  StraightOptions options;
  options.clipPlanes = std::move(clipPlanes);
  return CreateStraightStructure(ctx, StructureType::Wall, wallName(wall), profile,
                                 heights.height.value, position, Vector(0, 0, 1), a, options);
}

}  // namespace

std::optional<ifc::Entity> CreateWall(const RunContext& ctx, const WallRow& wall,
                                      const Floor::StdFloorRow& stdFlr,
                                      std::span<const Palvek::ConnectedWallPair> connectWalls,
                                      std::span<const Palvek::ConnectedBeamsPair> connectBeams) {
  try {
    const double b = wallThickness(wall);
    const WallHeights heights = wallHeights(wall, stdFlr);
    if (wall.isArc()) return createArcWall(ctx, wall, b, heights);
    return createStraightWall(ctx, wall, heights, connectWalls, connectBeams);
  } catch (const WallFault& fault) {
    report(skippedLine("Wall", wall.wallId, fault.what()));
    return std::nullopt;
  } catch (const App::GeometryError& e) {
    // What the checks above let through and the solid builders refuse, before they create
    // anything.
    report(skippedLine("Wall", wall.wallId, e.what()));
    return std::nullopt;
  }
}

}  // namespace Utils
