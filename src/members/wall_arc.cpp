#include "members/wall_arc.h"

#include <cmath>

#include "members/half_circle.h"
#include "members/wall_support.h"
#include "text/number_text.h"

namespace Utils {

using App::Vector;

WallArc::WallArc(const Palvek::WallRow& wall, double thickness) {
  if (!wall.x0 || !wall.y0) throw WallFault("弧墙无圆心");
  centre_ = Vector(*wall.x0, *wall.y0, 0.0);
  const Vector c1 = Vector(wall.x1, wall.y1, 0.0) - centre_;
  const Vector c2 = Vector(wall.x2, wall.y2, 0.0) - centre_;
  const double radius = c1.Length();
  if (radius < kWallZeroLength || c2.Length() < kWallZeroLength) {
    throw WallFault("弧墙端点与圆心重合");
  }
  sweep_ = c1.getAngle(c2);
  radial1_ = c1 / radius;
  // Turned as the wall's body turns: towards end 2, a half circle counter-clockwise.
  tangent1_ = Vector(-radial1_.y, radial1_.x, 0.0);
  if (tangent1_.dot(c2) < 0.0 && !isHalfCircle(c1, c2)) tangent1_ = -tangent1_;
  centreRadius_ = radius + wall.ecc;
  innerFace_ = centreRadius_ - thickness / 2.0;
  outerFace_ = centreRadius_ + thickness / 2.0;
  if (!(innerFace_ > 0.0)) throw WallFault("弧墙偏心后内侧越过圆心");
}

WallHoleBox WallArc::holeBox(double distance, double width, double beyond) const {
  // The box's side edges meet the inner face this far from the centre, nearer than its middle.
  const double halfWidth = width / 2.0;
  if (!(halfWidth < innerFace_)) {
    throw WallFault("洞口宽度" + text::repr(width) + "不小于弧墙内侧直径");
  }
  const double innerChord = std::sqrt(innerFace_ * innerFace_ - halfWidth * halfWidth);
  const double turn = distance / centreRadius_;
  const Vector radial = radial1_ * std::cos(turn) + tangent1_ * std::sin(turn);
  const Vector tangent = tangent1_ * std::cos(turn) - radial1_ * std::sin(turn);
  const double from = innerChord - beyond;
  return {centre_ + radial * from, radial, tangent, outerFace_ + beyond - from};
}

}  // namespace Utils
