#include "members/cent_line.h"

#include <cmath>
#include <string>

#include "text/number_text.h"

namespace Utils {

namespace {

// Lines whose directions make an angle with a sine below this are taken as parallel: their
// crossing, if computed, would lie absurdly far away or at infinity.
constexpr double parallelSine = 1e-9;
// The crossing lies inside the member when the way to it deviates from the member's axis
// by less than this angle, rad; absorbs rounding.
constexpr double inwardAngle = 0.05;

std::string point(double x, double y) { return "(" + text::repr(x) + ", " + text::repr(y) + ")"; }

std::pair<App::Vector, App::Vector> offsetLine(double x1, double y1, double x2, double y2,
                                               double ecc) {
  const App::Vector p1(x1, y1, 0.0);
  const App::Vector p2(x2, y2, 0.0);
  // To the left of end 1 -> end 2 seen from above; a member of zero length stays in place.
  App::Vector vv = App::Vector(0.0, 0.0, 1.0).cross(p2 - p1);
  vv.normalize();
  return {p1 + vv * ecc, p2 + vv * ecc};
}

template <class Row>
double correction(const Row& target, const Row& reference, const db::Value& jt) {
  const auto [p1, p2] = getCentLineOffset(target);
  const auto [p3, p4] = getCentLineOffset(reference);
  const bool atEnd1 = jt == target.jt1Id;
  const App::Vector p = atEnd1 ? p1 : p2;
  const App::Vector u = atEnd1 ? p2 - p1 : p1 - p2;
  const auto [x, y] = findIntersection(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y);
  const App::Vector v = App::Vector(x, y, 0.0) - p;
  return std::abs(v.getAngle(u)) < inwardAngle ? -v.Length() : v.Length();
}

}  // namespace

std::pair<App::Vector, App::Vector> getCentLineOffset(const Beam::BeamRow& element) {
  return offsetLine(element.x1, element.y1, element.x2, element.y2, element.ecc);
}

std::pair<App::Vector, App::Vector> getCentLineOffset(const Palvek::WallRow& element) {
  return offsetLine(element.x1, element.y1, element.x2, element.y2, element.ecc);
}

std::pair<double, double> findIntersection(double x1, double y1, double x2, double y2, double x3,
                                           double y3, double x4, double y4) {
  const double d = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
  const double lengths = std::hypot(x1 - x2, y1 - y2) * std::hypot(x3 - x4, y3 - y4);
  // d is the cross product of the two directions: |d| = lengths * sin(angle).
  if (!(std::abs(d) > parallelSine * lengths)) {
    throw App::GeometryError("the lines through " + point(x1, y1) + " " + point(x2, y2) + " and " +
                             point(x3, y3) + " " + point(x4, y4) +
                             (lengths == 0.0 ? " include one of zero length" : " are parallel"));
  }
  const double a = x1 * y2 - y1 * x2;
  const double b = x3 * y4 - y3 * x4;
  const double px = (a * (x3 - x4) - (x1 - x2) * b) / d;
  const double py = (a * (y3 - y4) - (y1 - y2) * b) / d;
  if (!std::isfinite(px) || !std::isfinite(py)) {
    throw App::GeometryError("the crossing of the lines through " + point(x1, y1) + " " +
                             point(x2, y2) + " and " + point(x3, y3) + " " + point(x4, y4) +
                             " is not finite");
  }
  return {px, py};
}

double reviseEcc(const Beam::BeamRow& target, const Beam::BeamRow& reference, const db::Value& jt) {
  return correction(target, reference, jt);
}

double reviseEcc(const Palvek::WallRow& target, const Palvek::WallRow& reference,
                 const db::Value& jt) {
  return correction(target, reference, jt);
}

}  // namespace Utils
