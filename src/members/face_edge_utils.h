#pragma once
// Geometry on the faces, edges and vertices of a solid model: the crossing of a line with a
// face's plane, the corner and axis directions of a set of edges running roughly along X and
// Y, and the distance of two vertices. The model's objects are reached only through the small
// interfaces below, so any solid-modelling library can supply them. Lengths in mm.

#include <optional>
#include <span>
#include <tuple>

#include "vector/vector.h"

namespace Utils {

class Vertex {
 public:
  virtual ~Vertex() = default;
  [[nodiscard]] virtual double X() const = 0;
  [[nodiscard]] virtual double Y() const = 0;
  [[nodiscard]] virtual double Z() const = 0;
};

class Edge {
 public:
  virtual ~Edge() = default;
  // The edge's end vertices: 0 its first, 1 its second.
  [[nodiscard]] virtual const Vertex& vertex(std::size_t index) const = 0;
};

class Face {
 public:
  virtual ~Face() = default;
  // The normal at surface parameters (u, v), of any non-zero length.
  [[nodiscard]] virtual App::Vector normalAt(double u, double v) const = 0;
  [[nodiscard]] virtual App::Vector CenterOfMass() const = 0;
};

// "Return the intersection between a line A, B and a planar face." The point where the
// infinite line through A and B meets the plane through the face's centre of mass with its
// normal at (0, 0): A itself when the line lies in the plane, no value when it runs parallel
// off it. Exact tests, no tolerance.
[[nodiscard]] std::optional<App::Vector> intersecLinePlane(const App::Vector& A,
                                                           const App::Vector& B, const Face& plane);

// Plan directions within this angle (radians) of the X axis, either sense, are x-like.
inline constexpr double kAngleScope = 0.2;
// Edge ends nearer than this (mm) form the corner.
inline constexpr double kDistScope = 10.0;

struct PositionAndDirection {
  App::Vector basePoint;  // the corner, an end of the chosen x-like edge
  App::Vector vx;         // the x-like edge from the corner to its other end
  App::Vector vy;         // the y-like edge from its end at the corner to its other end
};

// The corner where the x-like edge whose first vertex has the smallest Y meets the y-like
// edge whose first vertex has the smallest X (the earlier edge wins ties), with the two edges
// as vectors. Ends are paired (x0, y0), (x0, y1), (x1, y0), (x1, y1) and the first pair
// nearer than kDistScope decides. Throws App::GeometryError when no edge is x-like, none is
// y-like, or no pair is near enough.
[[nodiscard]] PositionAndDirection getPositionAndDirection(std::span<const Edge* const> edges);

[[nodiscard]] double distance(const Vertex& vertex1, const Vertex& vertex2);

}  // namespace Utils
