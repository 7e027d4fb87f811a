// Face and edge utilities against plain faces, edges and vertices.
#include "members/face_edge_utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Point : Utils::Vertex {
  Point(double x, double y, double z) : x(x), y(y), z(z) {}
  double X() const override { return x; }
  double Y() const override { return y; }
  double Z() const override { return z; }
  double x, y, z;
};

struct Segment : Utils::Edge {
  Segment(Point a, Point b) : ends{a, b} {}
  const Utils::Vertex& vertex(std::size_t i) const override { return ends[i]; }
  Point ends[2];
};

struct Plane : Utils::Face {
  Plane(App::Vector normal, App::Vector centre) : normal(normal), centre(centre) {}
  App::Vector normalAt(double, double) const override { return normal; }
  App::Vector CenterOfMass() const override { return centre; }
  App::Vector normal, centre;
};

TEST(FaceEdgeUtils, LineMeetsThePlaneOfAFaceOnItsWholeLength) {
  const Plane floor({0, 0, 2}, {5, 5, 10});  // z = 10, normal of any length
  const struct Case {
    App::Vector a, b;
    std::optional<App::Vector> want;
  } cases[] = {
      {{0, 0, 0}, {0, 0, 20}, App::Vector(0, 0, 10)},    // crossing between A and B
      {{1, 2, 0}, {1, 2, 5}, App::Vector(1, 2, 10)},     // beyond B
      {{0, 0, 12}, {2, 0, 14}, App::Vector(-2, 0, 10)},  // before A
      {{3, 4, 10}, {3, 4, 10}, App::Vector(3, 4, 10)},   // A = B in the plane: A
      {{3, 4, 0}, {3, 4, 0}, std::nullopt},              // A = B off it
      {{0, 0, 10}, {7, 1, 10}, App::Vector(0, 0, 10)},   // in the plane: A
      {{0, 0, 11}, {7, 1, 11}, std::nullopt},            // parallel off it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a.str() + " " + c.b.str());
    const std::optional<App::Vector> got = Utils::intersecLinePlane(c.a, c.b, floor);
    ASSERT_EQ(got.has_value(), c.want.has_value());
    if (got) {
      EXPECT_EQ(got->str(), c.want->str());
    }
  }
}

TEST(FaceEdgeUtils, CornerAndDirectionsOfEdgesAlongXAndY) {
  // A rectangle 100 x 50 from (10, 20), its edges in mixed senses, with a slanted extra edge.
  const Segment bottom({110, 20, 0}, {10, 20, 0});
  const Segment top({10, 70, 0}, {110, 70, 0});
  const Segment left({10, 25, 3}, {10, 70, 3});  // ends 5 mm from the corner, raised 3
  const Segment right({110, 20, 0}, {110, 70, 0});
  const Segment slanted({0, 0, 0}, {100, 30, 0});          // 16.7 degrees: y-like
  const Segment vertical({500, 500, 0}, {500, 500, 100});  // no plan length: x-like

  const struct Case {
    std::vector<const Utils::Edge*> edges;
    App::Vector base, vx, vy;
  } cases[] = {
      // Pair (x1, y0): the bottom edge's second end meets the left edge's first.
      {{&top, &right, &bottom, &left}, {10, 20, 0}, {100, 0, 0}, {0, 45, 0}},
      // The slanted edge starts at the smallest x of the y-like edges but meets nothing.
      {{&bottom, &slanted, &left}, {}, {}, {}},
      {{&vertical, &right}, {}, {}, {}},
  };
  const auto& found = cases[0];
  const Utils::PositionAndDirection got = Utils::getPositionAndDirection(found.edges);
  EXPECT_EQ(got.basePoint.str(), found.base.str());
  EXPECT_EQ(got.vx.str(), found.vx.str());
  EXPECT_EQ(got.vy.str(), found.vy.str());
  for (std::size_t i = 1; i < std::size(cases); ++i) {
    EXPECT_THROW(static_cast<void>(Utils::getPositionAndDirection(cases[i].edges)),
                 App::GeometryError)
        << i;
  }
  const std::vector<const Utils::Edge*> none;
  EXPECT_THROW(static_cast<void>(Utils::getPositionAndDirection(none)), App::GeometryError);

  EXPECT_EQ(Utils::distance(Point(1, 2, 3), Point(4, 6, 3)), 5.0);
  EXPECT_EQ(Utils::distance(Point(1, 2, 3), Point(1, 2, 3)), 0.0);
}

}  // namespace
