#include "vector/draft_vec_utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using App::Vector;
using App::DraftVecUtils::angle;
using App::DraftVecUtils::rotate;

constexpr double kHalfPi = std::numbers::pi / 2;

void expectSame(const Vector& v, double x, double y, double z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

TEST(Rotate, UsesTheExactMatrixOfEachUnitAxis) {
  const Vector turned = rotate(Vector(1, 0, 0), kHalfPi);
  expectSame(turned, 6.123233995736766e-17, 1.0, 0.0);
  EXPECT_TRUE(turned == Vector(0, 1, 0));
  expectSame(rotate(Vector(1, 0, 0), kHalfPi, Vector(0, 1, 0)), 6.123233995736766e-17, 0, -1.0);
  expectSame(rotate(Vector(0, 1, 0), kHalfPi, Vector(1, 0, 0)), 0, 6.123233995736766e-17, 1.0);
  // Within the tolerance of +Z, not normalised: acts as exactly +Z.
  expectSame(rotate(Vector(1, 0, 0), kHalfPi, Vector(0, 0, 1.003)), 6.123233995736766e-17, 1.0,
             0.0);
}

TEST(Rotate, TurnsAboutAnyOtherAxisThroughTheGeneralMatrix) {
  expectSame(rotate(Vector(1, 0, 0), kHalfPi, Vector(0, 2, 0)), 2.220446049250313e-16, 0.0, -1.0);
  expectSame(rotate(Vector(1, 0, 0), kHalfPi, Vector(0, 0, -1)), 2.220446049250313e-16, -1.0, 0.0);
  expectSame(rotate(Vector(1, 0, 0), kHalfPi, Vector(0, 0, 2)), 2.220446049250313e-16, 1.0, 0.0);

  const Vector v(1, 2, 3);
  const Vector axis(1, 1, 1);
  const Vector r = rotate(v, 0.7, axis);
  EXPECT_NEAR(r.x, 1.6070970678589107, 1e-15);
  EXPECT_NEAR(r.y, 1.2561214897132018, 1e-15);
  EXPECT_NEAR(r.z, 3.1367814424278873, 1e-15);
  EXPECT_NEAR(r.Length(), v.Length(), 1e-14);
  expectSame(v, 1, 2, 3);
  expectSame(axis, 1, 1, 1);
}

TEST(Rotate, RefusesAnAxisOfLengthZero) {
  EXPECT_THROW((void)rotate(Vector(1, 0, 0), 1.0, Vector(0, 0, 0)), App::GeometryError);
}

TEST(Angle, IsSignedByTheNormal) {
  EXPECT_EQ(angle(Vector(1, 0, 0), Vector(0, 1, 0)), kHalfPi);
  EXPECT_EQ(angle(Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, -1)), -kHalfPi);
  EXPECT_EQ(angle(Vector(0, 1, 0)), -kHalfPi);
  EXPECT_EQ(angle(Vector(1, 0, 0), Vector(-1, 0, 0)), std::numbers::pi);
  EXPECT_EQ(angle(Vector(1, 0, 0), Vector(2, 0, 0)), 0.0);
  EXPECT_EQ(angle(Vector(1, 1, 1), Vector(-1, -1, -1)), std::numbers::pi);
}

TEST(Angle, IsZeroWhenALengthIsZero) {
  EXPECT_EQ(angle(Vector(0, 0, 0), Vector(1, 0, 0)), 0.0);
  EXPECT_EQ(angle(Vector(1, 0, 0), Vector(0, 0, 0)), 0.0);
}

}  // namespace
