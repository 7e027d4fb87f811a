#include "members/face_edge_utils.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace Utils {

namespace {

App::Vector point(const Vertex& v) { return App::Vector(v.X(), v.Y(), v.Z()); }

const Edge& firstByKey(std::vector<const Edge*> edges, double (*key)(const Edge&)) {
  std::stable_sort(edges.begin(), edges.end(),
                   [key](const Edge* a, const Edge* b) { return key(*a) < key(*b); });
  return *edges.front();
}

}  // namespace

std::optional<App::Vector> intersecLinePlane(const App::Vector& A, const App::Vector& B,
                                             const Face& plane) {
  const App::Vector N = plane.normalAt(0, 0);
  const double a = N.x, b = N.y, c = N.z;
  const App::Vector p1 = plane.CenterOfMass();
  const double d = -(a * p1.x + b * p1.y + c * p1.z);
  const double ux = B.x - A.x, uy = B.y - A.y, uz = B.z - A.z;
  const App::Vector U(ux, uy, uz);
  if (U.dot(N) == 0) {
    if (a * A.x + b * A.y + c * A.z + d == 0) return A;
    return std::nullopt;
  }
  const double denominator = a * ux + b * uy + c * uz;
  if (denominator == 0) return std::nullopt;
  const double k = -(a * A.x + b * A.y + c * A.z + d) / denominator;
  return App::Vector(A.x + k * ux, A.y + k * uy, A.z + k * uz);
}

PositionAndDirection getPositionAndDirection(std::span<const Edge* const> edges) {
  std::vector<const Edge*> xEdges, yEdges;
  const App::Vector xAxis(1, 0, 0);
  for (const Edge* edge : edges) {
    const Vertex& v0 = edge->vertex(0);
    const Vertex& v1 = edge->vertex(1);
    const App::Vector v(v1.X() - v0.X(), v1.Y() - v0.Y(), 0);
    const double xAngle = v.getAngle(xAxis);
    const bool xLike = xAngle < kAngleScope || std::abs(xAngle - std::numbers::pi) < kAngleScope;
    (xLike ? xEdges : yEdges).push_back(edge);
  }
  if (xEdges.empty() || yEdges.empty()) {
    throw App::GeometryError("the edges need one along X and one along Y");
  }
  const Edge& xEdge = firstByKey(xEdges, [](const Edge& e) { return e.vertex(0).Y(); });
  const Edge& yEdge = firstByKey(yEdges, [](const Edge& e) { return e.vertex(0).X(); });
  const Vertex& x0 = xEdge.vertex(0);
  const Vertex& x1 = xEdge.vertex(1);
  const Vertex& y0 = yEdge.vertex(0);
  const Vertex& y1 = yEdge.vertex(1);
  const struct {
    const Vertex& x;
    const Vertex& xFar;
    const Vertex& y;
    const Vertex& yFar;
  } pairs[] = {{x0, x1, y0, y1}, {x0, x1, y1, y0}, {x1, x0, y0, y1}, {x1, x0, y1, y0}};
  for (const auto& pair : pairs) {
    if (distance(pair.x, pair.y) < kDistScope) {
      return {point(pair.x), point(pair.xFar) - point(pair.x), point(pair.yFar) - point(pair.y)};
    }
  }
  throw App::GeometryError("the x-like and the y-like edge do not meet");
}

double distance(const Vertex& vertex1, const Vertex& vertex2) {
  const double dx = vertex2.X() - vertex1.X();
  const double dy = vertex2.Y() - vertex1.Y();
  const double dz = vertex2.Z() - vertex1.Z();
  return std::sqrt(std::pow(dx, 2) + std::pow(dy, 2) + std::pow(dz, 2));
}

}  // namespace Utils
