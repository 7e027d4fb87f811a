#pragma once
// The arc an arc wall's openings follow: the wall's centre line from end 1 to end 2 about its
// centre, the way the wall itself runs, and the straight box an opening cuts through it.

#include "queries/rows.h"
#include "vector/vector.h"

namespace Utils {

// An opening's box: the middle of its inner face, the direction it reaches through the wall
// from there, the direction of its width, and its depth through the wall.
struct WallHoleBox {
  App::Vector inner;
  App::Vector across;
  App::Vector along;
  double depth = 0;
};

class WallArc {
 public:
  // Throws WallFault for a wall without a centre or with an end on it, or one whose inner
  // face, Ecc outside the arc and half its `thickness` in from that, would reach the centre.
  WallArc(const Palvek::WallRow& wall, double thickness);

  // The wall's length from end 1 to end 2 along its own centre line, the arc Ecc outside the
  // grid arc: the length openings are placed by.
  [[nodiscard]] double length() const { return centreRadius_ * sweep_; }

  // The box of an opening `width` wide whose middle lies `distance` from end 1 along the
  // wall's centre line, square to the arc there, reaching `beyond` past both faces: from the
  // inner face's chord to beyond the outer face. In plan, at z 0. Throws WallFault when the
  // opening is as wide as the inner face's circle.
  [[nodiscard]] WallHoleBox holeBox(double distance, double width, double beyond) const;

 private:
  App::Vector centre_;
  App::Vector radial1_;   // unit, from the centre through end 1
  App::Vector tangent1_;  // unit, at end 1 along the wall towards end 2
  double sweep_ = 0;      // radians
  double centreRadius_ = 0;
  double innerFace_ = 0;  // radius
  double outerFace_ = 0;
};

}  // namespace Utils
