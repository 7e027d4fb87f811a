#include "members/wall_by_wall.h"

#include <cmath>
#include <numbers>
#include <string>

#include "members/cent_line.h"
#include "members/messages.h"
#include "members/wall_support.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

using App::Vector;
using Palvek::WallRow;

// Joints within this of a right angle keep a square end (rad).
constexpr double kSquareJointAngle = 0.001;

// One end moved against one neighbour.
struct EndResult {
  double x = 0.0;
  double y = 0.0;
  std::optional<ClipPlane> plane;
  double angle = 0.0;  // between the two walls at the joint, 0 to pi
};

void reportIgnoredPair(const WallRow& wall, const WallRow& neighbour, const db::Value& jt,
                       const std::string& reason) {
  report("Wall_" + wall.wallId.str() + ", 节点" + jt.str() + "处的墙Wall_" +
         neighbour.wallId.str() + reason + "，该端不按此墙调整");
}

// |w0 / 2 / tan(angle)|: how far the far corner of a square end of thickness w0 lies behind
// its centre line where the end meets a face at `angle`.
double cornerRun(double w0, double angle) { return std::abs((w0 / 2.0) / std::tan(angle)); }

// The end of `wall` at joint `jt` (end 1 when atEnd1) carried to the far face of `neighbour`
// (thickness w, axis v1). `ecc` is the end correction of the offset centre lines.
EndResult adjustOneJt(const WallRow& neighbour, const db::Value& jt, bool atEnd1, const Vector& p1,
                      const Vector& p2, const Vector& v0, const Vector& v1, double w0, double w,
                      double ecc) {
  // v00 points from the joint into this wall, v11 from the joint into the neighbour.
  Vector v00 = atEnd1 ? v0 : -v0;
  const Vector p = atEnd1 ? p1 : p2;
  const Vector v11 = neighbour.jt1Id == jt ? v1 : -v1;

  EndResult r;
  r.angle = v11.getAngle(v00);
  const double sine = std::sin(r.angle);
  const double offset0 = w / 2.0 + ecc * sine;
  const double offset = offset0 / sine + cornerRun(w0, r.angle);
  const Vector moved = p + Vector(v00).normalize() * (-offset);
  r.x = moved.x;
  r.y = moved.y;

  if (std::abs(r.angle - std::numbers::pi / 2.0) > kSquareJointAngle) {
    double ang = App::DraftVecUtils::angle(v00, v11);
    if (ang < 0.0) ang += 2.0 * std::numbers::pi;
    // Perpendicular to the neighbour's axis, its component along v00 positive: the normal
    // points into the wall that remains. The point is provisional; the caller measures it
    // from the middle of the adjusted wall.
    const double half = v0.Length() / 2.0;
    ClipPlane plane;
    if (atEnd1) {
      plane.point = Vector(-half + cornerRun(w0, r.angle), 0.0, 0.0);
      plane.normal = App::DraftVecUtils::rotate(Vector(1, 0, 0), ang - std::numbers::pi / 2.0);
    } else {
      plane.point = Vector(half - cornerRun(w0, r.angle), 0.0, 0.0);
      plane.normal = App::DraftVecUtils::rotate(Vector(-1, 0, 0), ang - std::numbers::pi / 2.0);
    }
    if (ang > std::numbers::pi) plane.normal = -plane.normal;
    r.plane = plane;
  }
  return r;
}

}  // namespace

WallEndsByWall adjustWallByWall(const WallRow& wall,
                                std::span<const Palvek::ConnectedWallPair> connectWalls) {
  WallEndsByWall ends{wall.x1, wall.y1, std::nullopt, wall.x2, wall.y2, std::nullopt};
  double angle1 = 0.0;
  double angle2 = 0.0;
  const Vector p1(wall.x1, wall.y1, 0.0);
  const Vector p2(wall.x2, wall.y2, 0.0);
  const Vector v0 = p2 - p1;
  const double w0 = wallThickness(wall);

  for (const Palvek::ConnectedWallPair& pair : connectWalls) {
    const db::Value& jt = pair.jointId;
    const WallRow& neighbour = *pair.wall;
    const bool atEnd1 = jt == wall.jt1Id;
    if (!atEnd1 && !(jt == wall.jt2Id)) {
      report("Wall_" + wall.wallId.str() + ", 节点" + jt.str() + "不是墙的端点，不按墙Wall_" +
             neighbour.wallId.str() + "调整");
      continue;
    }
    double w = 0.0;
    try {
      w = wallThickness(neighbour);
    } catch (const WallFault& fault) {
      reportIgnoredPair(wall, neighbour, jt, std::string("的") + fault.what());
      continue;
    }
    const Vector v1 = neighbour.planVector();
    // Parallel axes never cross: the end has no face to reach.
    if (std::abs(std::sin(v1.getAngle(v0))) < kWallParallelSine) {
      reportIgnoredPair(wall, neighbour, jt, "与之平行");
      continue;
    }
    double ecc = 0.0;
    if (wall.ecc != 0.0 || neighbour.ecc != 0.0) {
      try {
        ecc = reviseEcc(wall, neighbour, jt);
      } catch (const App::GeometryError&) {
        reportIgnoredPair(wall, neighbour, jt, "的偏心轴线与之平行");
        continue;
      }
    }
    const EndResult r = adjustOneJt(neighbour, jt, atEnd1, p1, p2, v0, v1, w0, w, ecc);
    if (atEnd1) {
      ends.x1 = r.x;
      ends.y1 = r.y;
      ends.plane1 = r.plane;
      angle1 = r.angle;
    } else {
      ends.x2 = r.x;
      ends.y2 = r.y;
      ends.plane2 = r.plane;
      angle2 = r.angle;
    }
  }

  // Each clip point lies on the centre line, where it meets the neighbour's far face: the
  // corner run inside the moved end, measured from the middle of the adjusted wall.
  const double length = Vector(ends.x2 - ends.x1, ends.y2 - ends.y1, 0.0).Length();
  if (ends.plane1) ends.plane1->point = Vector(-length / 2.0 + cornerRun(w0, angle1), 0.0, 0.0);
  if (ends.plane2) ends.plane2->point = Vector(length / 2.0 - cornerRun(w0, angle2), 0.0, 0.0);
  return ends;
}

}  // namespace Utils
