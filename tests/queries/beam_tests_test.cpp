// The beam predicates on rows built in the test.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "queries/beam.h"
#include "queries/palvek.h"
#include "rows.h"

namespace {

using App::Vector;
using testrows::beam;

Vector direction(double degrees) {
  const double r = degrees * std::numbers::pi / 180;
  return {std::cos(r), std::sin(r), 0};
}

TEST(IsHorizontal, ARiseBelowHalfThePlanRunIsHorizontal) {
  EXPECT_TRUE(Beam::isHorizontal(beam(1, 1, 2, 0, 0, 1000, 0, 0, 0)));
  EXPECT_TRUE(Beam::isHorizontal(beam(1, 1, 2, 0, 0, 1000, 0, 0, 499)));
  EXPECT_FALSE(Beam::isHorizontal(beam(1, 1, 2, 0, 0, 1000, 0, 0, 500)));
  EXPECT_FALSE(Beam::isHorizontal(beam(1, 1, 2, 0, 0, 1000, 0, 500, 0)));
  auto raised = beam(1, 1, 2, 0, 0, 1000, 0);
  raised.zDiff2 = 600;  // the joint's own offset counts too
  EXPECT_FALSE(Beam::isHorizontal(raised));
}

TEST(IsHorizontal, ABeamWithoutPlanLengthIsNeverHorizontal) {
  EXPECT_FALSE(Beam::isHorizontal(beam(1, 1, 1, 500, 500, 500, 500, 0, 0)));
  EXPECT_FALSE(Beam::isHorizontal(beam(1, 1, 1, 500, 500, 500, 500, 0, 300)));
}

TEST(IsColinear, DirectionsWithinAnEighthOfPiOfEachOtherOrOfOppositeAreColinear) {
  const Vector x(1, 0, 0);
  EXPECT_TRUE(Beam::isColinear(x, direction(22)));
  EXPECT_FALSE(Beam::isColinear(x, direction(23)));
  EXPECT_TRUE(Beam::isColinear(x, direction(180)));
  EXPECT_FALSE(Beam::isColinear(x, direction(157)));
  EXPECT_TRUE(Beam::isColinear(x, direction(158)));
  EXPECT_TRUE(Beam::isColinear(Vector(0, 0, 0), direction(90)));
  EXPECT_TRUE(Palvek::isColinear(x, direction(-20))) << "the wall module shares the rule";
}

TEST(IsTwoPerp, TwoNeighboursOnOneLineAcrossTheBeam) {
  const auto b = beam(1, 1, 2, 0, 0, 6000, 0);
  const auto up = beam(2, 2, 3, 6000, 0, 6000, 4000);
  const auto down = beam(3, 2, 4, 6000, 0, 6000, -4000);
  const auto downReversed = beam(3, 4, 2, 6000, -4000, 6000, 0);
  EXPECT_TRUE(Beam::isTwoPerp(b, std::vector{up, down}));
  EXPECT_TRUE(Beam::isTwoPerp(b, std::vector{up, downReversed}));
  EXPECT_FALSE(Beam::isTwoPerp(b, std::vector{up}));
  EXPECT_FALSE(Beam::isTwoPerp(b, std::vector{up, down, up}));
  EXPECT_FALSE(Beam::isTwoPerp(b, std::vector<Beam::BeamRow>{}));
}

TEST(IsTwoPerp, TheCrossingAngleIsTestedOnTheFirstNeighbourWithinAThirtiethOfPi) {
  const auto b = beam(1, 1, 2, 0, 0, 6000, 0);
  auto at = [](double degrees) {
    const Vector d = direction(degrees) * 4000;
    return beam(2, 2, 3, 6000, 0, 6000 + d.x, d.y);
  };
  auto opposite = [](double degrees) {
    const Vector d = direction(degrees) * -4000;
    return beam(3, 2, 4, 6000, 0, 6000 + d.x, d.y);
  };
  EXPECT_FALSE(Beam::isTwoPerp(b, std::vector{at(83), opposite(83)}));
  EXPECT_TRUE(Beam::isTwoPerp(b, std::vector{at(85), opposite(85)}));
  EXPECT_TRUE(Beam::isTwoPerp(b, std::vector{at(90), opposite(95)}))
      << "the second neighbour is tied to the beam only through the first";
}

TEST(IsRigid, MaterialTenOrSectionItemsOneHundredMarkARigidLink) {
  auto b = beam(1, 1, 2, 0, 0, 6000, 0);
  b.mat = 10;
  b.shapeVal = "anything";
  EXPECT_TRUE(Beam::isRigid(b));
  b.mat = 6;
  b.shapeVal = "1,100,100,300";
  EXPECT_TRUE(Beam::isRigid(b));
  for (const char* text : {"1,100,200", "1,200,100", "1, 100,100", "1,100.0,100", "1,100"}) {
    b.shapeVal = text;
    EXPECT_FALSE(Beam::isRigid(b)) << text;
  }
}

TEST(IsRigid, ABeamWithoutSectionTextIsSimplyNotRigid) {
  auto b = beam(1, 1, 2, 0, 0, 6000, 0);
  b.shapeVal = db::Value();
  EXPECT_FALSE(Beam::isRigid(b));
  b.shapeVal = 1;
  EXPECT_FALSE(Beam::isRigid(b));
  b.mat = 10;
  EXPECT_TRUE(Beam::isRigid(b)) << "the material alone marks the link";
}

}  // namespace
