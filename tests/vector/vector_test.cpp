#include "vector/vector.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <vector>

namespace {

using App::Vector;

void expectSame(const Vector& v, double x, double y, double z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

TEST(Vector, IteratesIndexesAndWritesItsComponents) {
  const Vector v(1, 2, 3);
  expectSame(v, 1.0, 2.0, 3.0);
  EXPECT_EQ(Vector::size(), 3u);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<double> seen(v.begin(), v.end());
    EXPECT_EQ(seen, (std::vector<double>{1.0, 2.0, 3.0}));
  }
  EXPECT_EQ(v.str(), "(1.0, 2.0, 3.0)");
  std::ostringstream os;
  os << Vector(0.1, -0.0, 1e-05);
  EXPECT_EQ(os.str(), "(0.1, -0.0, 1e-05)");
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[1.0], 2.0);
  EXPECT_EQ(v[2], 3.0);
}

TEST(Vector, RefusesAnyIndexButZeroOneAndTwo) {
  const Vector v(1, 2, 3);
  for (double bad : {3.0, -1.0, 0.5}) {
    try {
      (void)v[bad];
      FAIL() << "index " << bad << " accepted";
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "illegal index");
    }
  }
}

TEST(Vector, EqualityToleratesASquaredDistanceBelowTheTolerance) {
  EXPECT_TRUE(Vector(1, 0, 0) == Vector(1.003, 0, 0));    // 9e-06
  EXPECT_FALSE(Vector(1, 0, 0) == Vector(1.0032, 0, 0));  // 1.024e-05
  EXPECT_TRUE(Vector(1, 0, 0) != Vector(1.0032, 0, 0));
  EXPECT_TRUE(Vector(0, 0, 1) == (std::array<double, 3>{0, 0, 1}));
  EXPECT_TRUE((std::vector<int>{0, 0, 1}) == Vector(0, 0, 1));
  const double raw[] = {0.0, 0.0, 1.0, 99.0};
  EXPECT_TRUE(Vector(0, 0, 1) == raw);
  EXPECT_THROW((void)(Vector(0, 0, 1) == std::vector<double>{0, 0}), std::invalid_argument);
}

TEST(Vector, ConvertsToAndFromArrays) {
  expectSame(Vector::from_np(std::vector<double>{4, 5, 6, 7}), 4, 5, 6);
  expectSame(Vector::from_np(Vector(1, 2, 3)), 1, 2, 3);
  EXPECT_EQ(Vector(1, 2, 3).to_np(), (std::array<double, 3>{1, 2, 3}));
}

TEST(Vector, OperatorsMakeNewVectorsAndLeaveOperandsAlone) {
  const Vector a(1, 2, 3);
  const Vector b(0.5, -1, 2);
  expectSame(a + b, 1.5, 1, 5);
  expectSame(a - b, 0.5, 3, 1);
  expectSame(-a, -1, -2, -3);
  expectSame(a * 2, 2, 4, 6);
  expectSame(a / 4, 0.25, 0.5, 0.75);
  expectSame(a, 1, 2, 3);
  EXPECT_THROW((void)(a / 0.0), App::GeometryError);
}

TEST(Vector, MultiplyAndNormalizeChangeTheVectorAndReturnIt) {
  Vector v(1, 2, 3);
  EXPECT_EQ(&v.multiply(2), &v);
  expectSame(v, 2, 4, 6);

  Vector n(0, 0, 5);
  EXPECT_EQ(&n.normalize(), &n);
  expectSame(n, 0, 0, 1);

  Vector zero(0, 0, 0);
  expectSame(zero.normalize(), 0, 0, 0);
  Vector tiny(0, 0, 0.000009);
  expectSame(tiny.normalize(), 0, 0, 0.000009);
  Vector nearlyUnit(0, 0, 1.000001);
  expectSame(nearlyUnit.normalize(), 0, 0, 1.000001);
  Vector justOutside(0, 0, 1.00002);
  expectSame(justOutside.normalize(), 0, 0, 1);
}

TEST(Vector, MeasuresLengthsProductsAndAngles) {
  EXPECT_EQ(Vector(3, 4, 12).Length(), 13.0);
  EXPECT_EQ(Vector(1, 2, 3).dot(Vector(4, -5, 6)), 12.0);
  expectSame(Vector(1, 0, 0).cross(Vector(0, 1, 0)), 0, 0, 1);
  expectSame(Vector(1, 2, 3).cross(Vector(4, 5, 6)), -3, 6, -3);

  EXPECT_EQ(Vector(1, 0, 0).getAngle(Vector(0, 1, 0)), std::numbers::pi / 2);
  EXPECT_EQ(Vector(1, 0, 0).getAngle(Vector(-1, 0, 0)), std::numbers::pi);
  EXPECT_EQ(Vector(1, 2, 3).getAngle(Vector(0, 0, 0)), 0.0);
  EXPECT_EQ(Vector(0, 0, 0).getAngle(Vector(1, 2, 3)), 0.0);
  // The cosine rounds to ±1.0000000000000002 here; clamping keeps the angle a number.
  const Vector p(1, 1, 1);
  EXPECT_EQ(p.getAngle(p), 0.0);
  EXPECT_EQ(p.getAngle(-p), std::numbers::pi);
}

TEST(Vector, ProjectsOntoAPlaneAndNormalisesTheCallersNormal) {
  const Vector p(1, 2, 3);
  const Vector origin(0, 0, 0);
  Vector n(0, 0, 2);
  EXPECT_EQ(p.distanceToPlane(origin, n), 3.0);
  expectSame(p.projectToPlane(origin, n), 1, 2, 0);
  expectSame(n, 0, 0, 1);
  EXPECT_EQ(p.distanceToPlane(origin, n), 3.0);
  EXPECT_EQ(p.distanceToPlane(origin, Vector(0, 0, -2)), 3.0);

  Vector down(0, 0, -2);
  expectSame(p.projectToPlane(Vector(5, 5, 1), down), 1, 2, 1);
  expectSame(down, 0, 0, -1);
}

TEST(Vector, RefusesAPlaneWithAZeroNormal) {
  Vector n(0, 0, 0);
  EXPECT_THROW((void)Vector(1, 2, 3).distanceToPlane(Vector(), n), App::GeometryError);
  EXPECT_THROW((void)Vector(1, 2, 3).projectToPlane(Vector(), n), App::GeometryError);
  expectSame(n, 0, 0, 0);
}

}  // namespace
