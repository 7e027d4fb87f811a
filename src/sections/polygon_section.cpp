#include "sections/polygon_section.h"

#include <cmath>
#include <numbers>

#include "sections/builder_support.h"

namespace Sect {

ifc::Entity Polygon_Section(ifc::Model& ifcfile, const App::Vector& v0,
                            const std::vector<App::Vector>& points) {
  if (points.size() < 2) throw SectionError("a polygon outline needs at least two points");
  const App::Vector& p0 = points[0];
  const App::Vector vx = points[1] - p0;
  const App::Vector vy = v0.cross(vx);

  // Each point keeps its distance from p0 and its angle to vx; the side of the x axis is
  // that of vy when the angle to vy is at most a right angle.
  std::vector<detail::Point2> vertices;
  vertices.reserve(points.size());
  for (const App::Vector& p : points) {
    const App::Vector v = p - p0;
    const double length = v.Length();
    if (length == 0.0) {
      vertices.push_back({0.0, 0.0});
      continue;
    }
    const double ax = v.getAngle(vx);
    const double ay = v.getAngle(vy);
    const double x = length * std::cos(ax);
    const double y = ay <= std::numbers::pi / 2 ? length * std::sin(ax) : -length * std::sin(ax);
    vertices.push_back({x, y});
  }
  return detail::outlineProfile(ifcfile, vertices, std::nullopt);
}

}  // namespace Sect
