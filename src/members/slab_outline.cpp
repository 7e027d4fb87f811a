#include "members/slab_outline.h"

#include <algorithm>
#include <numbers>
#include <string>

#include "members/slab_fault.h"
#include "text/number_text.h"
#include "text/split.h"

namespace Utils {

std::vector<double> parseVertexList(std::string_view text, std::string_view listName) {
  if (!text.empty() && text.back() == ',') text.remove_suffix(1);
  std::vector<double> values;
  if (text.empty()) return values;
  const std::vector<std::string> items = text::split(text, ',');
  values.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    try {
      values.push_back(text::parseFloat(items[i]));
    } catch (const text::ParseError&) {
      throw SlabFault(std::string(listName) + "第" + std::to_string(i + 1) + "项'" + items[i] +
                      "'不是有限数值");
    }
  }
  return values;
}

std::optional<std::vector<double>> vertexHeights(
    const std::vector<double>& vz, std::size_t n, const std::vector<Grid::OutlinePoint>& nodes,
    const std::vector<Slab::AdjacentBeamRow>& adj_beams, double flr_height) {
  auto fromList = [&] {
    std::vector<double> heights(n);
    for (std::size_t i = 0; i < n; ++i) heights[i] = vz[i] + flr_height;
    return heights;
  };
  // A list shorter than the outline places nothing; a level grid places the slab without it.
  const bool listed = vz.size() >= n;
  if (listed && std::adjacent_find(vz.begin(), vz.end(), std::not_equal_to<>()) == vz.end()) {
    return fromList();
  }
  const bool nodesLevel =
      !nodes.empty() && std::all_of(nodes.begin(), nodes.end(), [&](const Grid::OutlinePoint& p) {
        return p.z == nodes.front().z;
      });
  if (nodesLevel) {
    double zz = nodes.front().z;
    std::optional<double> highest, lowest;
    for (const Slab::AdjacentBeamRow& beam : adj_beams) {
      if (!beam.hDiff) continue;
      const double h = *beam.hDiff;
      if (h > 0 && (!highest || h > *highest)) highest = h;
      if (h < 0 && (!lowest || h < *lowest)) lowest = h;
    }
    if (highest && *highest > zz) zz = *highest;
    if (lowest && *lowest < zz) zz = *lowest;
    return std::vector<double>(n, zz + flr_height);
  }
  const auto offTop = [](double z) { return z != 0.0; };
  const auto nodesOff = std::count_if(nodes.begin(), nodes.end(),
                                      [&](const Grid::OutlinePoint& p) { return offTop(p.z); });
  const auto itemsOff = std::count_if(vz.begin(), vz.end(), offTop);
  if (listed && nodesOff == itemsOff) return fromList();
  return std::nullopt;
}

namespace {

// The normal from the outline read from vertex `start` on, in its order and round its end.
std::optional<App::Vector> normalFrom(const std::vector<App::Vector>& points, std::size_t start) {
  const std::size_t n = points.size();
  auto at = [&](std::size_t i) -> const App::Vector& { return points[(start + i) % n]; };
  const App::Vector e0 = at(1) - at(0);
  App::Vector e1 = at(2) - at(1);
  if (e0.getAngle(e1) < kCollinearAngle) {
    App::Vector pp = at(2);
    for (std::size_t i = 3; i < n; ++i) {
      e1 = at(i) - pp;
      if (e0.getAngle(e1) > kCollinearAngle) break;
      pp = at(i);
    }
  }
  // Every vertex on one line, or an edge folding back onto the first: no plane.
  const double angle = e0.getAngle(e1);
  if (angle <= kCollinearAngle || angle >= std::numbers::pi - kCollinearAngle) return std::nullopt;
  App::Vector v = e0.cross(e1);
  if (v.dot(App::Vector(0, 0, 1)) < 0) v = -v;
  return v;
}

// The unit normal of a sliver, whose every corner is within kCollinearAngle of straight or of
// folding back: the longest edge crossed with the edge that makes the largest parallelogram
// with it, a pair that does not depend on where the outline starts (but for ties). No value
// when every edge lies along the longest one within kParallelSine.
std::optional<App::Vector> sliverNormal(const std::vector<App::Vector>& points) {
  const std::size_t n = points.size();
  auto edge = [&](std::size_t i) { return points[(i + 1) % n] - points[i]; };
  App::Vector e0;
  for (std::size_t i = 0; i < n; ++i) {
    if (const App::Vector e = edge(i); e.Length() > e0.Length()) e0 = e;
  }
  App::Vector best;
  double area = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const App::Vector e1 = edge(i);
    const App::Vector v = e0.cross(e1);
    const double length = v.Length();
    if (length > kParallelSine * e0.Length() * e1.Length() && length > area) {
      best = v;
      area = length;
    }
  }
  if (area == 0.0) return std::nullopt;
  if (best.dot(App::Vector(0, 0, 1)) < 0) best = -best;
  return best / area;
}

}  // namespace

std::optional<App::Vector> outlineNormal(const std::vector<App::Vector>& points) {
  if (points.size() < 3) return std::nullopt;
  // A sharp corner between the first two edges says nothing of the plane; read from a later
  // vertex, so that where the outline starts does not decide whether it is built.
  for (std::size_t start = 0; start < points.size(); ++start) {
    if (const auto v = normalFrom(points, start)) return v;
  }
  return sliverNormal(points);
}

bool flattenOntoPlane(std::vector<App::Vector>& points, const App::Vector& normal) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double dist = points[i].distanceToPlane(points[0], normal);
    if (dist > kPlanarityLimit) return false;
    if (dist > kPlaneSnap && dist < kPlanarityLimit) {
      App::Vector n = normal;
      points[i] = points[i].projectToPlane(points[0], n);
    }
  }
  return true;
}

std::pair<App::Vector, std::vector<App::Vector>> adjustPoints(
    const std::vector<App::Vector>& points) {
  const App::Vector& p0 = points.at(0);
  const App::Vector& p1 = points.at(1);
  const App::Vector& p2 = points.at(2);
  const App::Vector v = (p1 - p0).cross(p2 - p0);
  if (v.dot(App::Vector(0, 0, 1)) > 0) return {v, points};
  return {-v, {p2, p1, p0}};
}

}  // namespace Utils
