// The walls and beams that meet each wall end, against the outcome rules of both searches.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "queries/palvek.h"
#include "rows.h"

namespace {

using Palvek::WallRow;
using testrows::beam;
using testrows::column;
using testrows::wall;

// The wall under test runs from joint 1 at (0,0) to joint 2 at (6000,0).
const WallRow kWall = wall(1, 1, 2, 0, 0, 6000, 0);

WallRow wallFrom2(int id, int far, double degrees) {
  const double r = degrees * std::numbers::pi / 180;
  return wall(id, 2, far, 6000, 0, 6000 + 4000 * std::cos(r), 4000 * std::sin(r));
}
Beam::BeamRow beamFrom2(int id, int far, double degrees) {
  const double r = degrees * std::numbers::pi / 180;
  return beam(id, 2, far, 6000, 0, 6000 + 4000 * std::cos(r), 4000 * std::sin(r));
}

struct Floor {
  std::vector<Beam::BeamRow> beams;
  std::vector<Column::ColumnRow> columns;
  std::vector<WallRow> walls{kWall};

  std::vector<Palvek::ConnectedWallPair> connectWalls(const WallRow& w = kWall) const {
    return Palvek::getConnectWalls(w, beams, columns, walls);
  }
  std::vector<Palvek::ConnectedBeamsPair> connectBeams(const WallRow& w = kWall) const {
    return Palvek::getConnectBeams(w, beams, columns, walls);
  }
};

TEST(GetConnectWalls, TheOnlyOtherWallAtAnEndIsReportedWhenItMeetsAtAnAngle) {
  for (const auto& [degrees, reported] :
       {std::pair{90.0, true}, {30.0, true}, {20.0, false}, {170.0, false}}) {
    Floor f;
    f.walls.push_back(wallFrom2(2, 3, degrees));
    const auto pairs = f.connectWalls();
    ASSERT_EQ(pairs.size(), reported ? 1u : 0u) << degrees;
    if (reported) {
      EXPECT_EQ(pairs[0].jointId, db::Value(2));
      EXPECT_EQ(pairs[0].wall, &f.walls[1]);
    }
  }
}

TEST(GetConnectWalls, ATeeAnArcWallOrAConcreteColumnLeavesTheEndWithoutPair) {
  Floor tee;
  tee.walls.push_back(wallFrom2(2, 3, 90));
  tee.walls.push_back(wallFrom2(3, 4, -90));
  EXPECT_TRUE(tee.connectWalls().empty());

  Floor arc;
  arc.walls.push_back(wallFrom2(2, 3, 90));
  arc.walls[1].axisJt1Id = -7;
  EXPECT_TRUE(arc.connectWalls().empty());

  Floor concrete;
  concrete.walls.push_back(wallFrom2(2, 3, 90));
  concrete.columns.push_back(column(9, 2, 6));
  EXPECT_TRUE(concrete.connectWalls().empty());
  concrete.columns[0].mat = 6.0;
  EXPECT_TRUE(concrete.connectWalls().empty()) << "the material compares by value";
  concrete.columns[0].mat = 5;
  EXPECT_EQ(concrete.connectWalls().size(), 1u) << "a steel column does not block";
}

TEST(WallConnectivity, AMemberWithAxisCodeZeroCountsAsNeitherStraightNorArc) {
  Floor f;
  f.walls.push_back(wallFrom2(2, 3, 90));
  f.walls[1].axisJt1Id = 0;
  EXPECT_TRUE(f.connectWalls().empty()) << "the one other wall must be straight";

  Floor g;
  g.beams.push_back(beamFrom2(2, 3, 90));
  g.beams[0].axisJt1Id = 0;
  EXPECT_TRUE(g.connectBeams().empty()) << "only straight beams frame into the end";
}

TEST(GetConnectWalls, ARowEqualToTheWallIsTheWallItselfAndBeamsPlayNoPart) {
  Floor f;
  f.walls.push_back(kWall);
  f.walls.push_back(wallFrom2(2, 3, 90));
  f.beams.push_back(beamFrom2(5, 6, -90));
  EXPECT_EQ(f.connectWalls().size(), 1u);
  WallRow twin = kWall;
  twin.wallId = 77;  // same joints, another row: a second wall at both ends
  f.walls.push_back(twin);
  EXPECT_TRUE(f.connectWalls().empty());
}

TEST(GetConnectWalls, WallsWithNeighboursAtBothEndsGetTwoPairsEndOneFirst) {
  Floor f;
  f.walls.push_back(wallFrom2(2, 3, 90));
  f.walls.push_back(wall(3, 4, 1, 0, 4000, 0, 0));
  const auto pairs = f.connectWalls();
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].jointId, db::Value(1));
  EXPECT_EQ(pairs[0].wall->wallId, db::Value(3));
  EXPECT_EQ(pairs[1].wall->wallId, db::Value(2));
}

TEST(GetConnectBeamsOfWall, StraightBeamsAcrossAFreeEndAreKeptInListOrder) {
  Floor f;
  f.beams.push_back(beamFrom2(2, 3, 90));
  f.beams.push_back(beamFrom2(3, 4, 10));   // along the wall: dropped
  f.beams.push_back(beamFrom2(4, 5, 170));  // back along the wall: dropped
  f.beams.push_back(beamFrom2(5, 6, -60));
  Beam::BeamRow arc = beamFrom2(6, 7, 90);
  arc.axisJt1Id = -3;
  f.beams.push_back(arc);
  f.beams.push_back(beam(7, 1, 8, 0, 0, 0, 4000));
  const auto pairs = f.connectBeams();
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].jointId, db::Value(1));
  ASSERT_EQ(pairs[0].beams.size(), 1u);
  EXPECT_EQ(pairs[1].jointId, db::Value(2));
  ASSERT_EQ(pairs[1].beams.size(), 2u);
  EXPECT_EQ(pairs[1].beams[0], &f.beams[0]);
  EXPECT_EQ(pairs[1].beams[1], &f.beams[3]);
}

TEST(GetConnectBeamsOfWall, AWallInLineOrAnyColumnAtTheEndSuppressesItsBeams) {
  Floor inLine;
  inLine.beams.push_back(beamFrom2(2, 3, 90));
  inLine.walls.push_back(wallFrom2(2, 3, 0));
  EXPECT_TRUE(inLine.connectBeams().empty());
  inLine.walls[1].axisJt1Id = -4;  // an arc wall in line counts by its chord
  EXPECT_TRUE(inLine.connectBeams().empty());

  Floor across;
  across.beams.push_back(beamFrom2(2, 3, 90));
  across.walls.push_back(wallFrom2(5, 6, 90));
  EXPECT_EQ(across.connectBeams().size(), 1u) << "a wall at an angle does not suppress";

  Floor steel;
  steel.beams.push_back(beamFrom2(2, 3, 90));
  steel.columns.push_back(column(9, 2, 5));
  EXPECT_TRUE(steel.connectBeams().empty());
}

TEST(WallConnectivity, AWallOrBeamWithoutPlanLengthIsColinearWithEverything) {
  Floor f;
  f.walls.push_back(wallFrom2(2, 3, 90));
  f.beams.push_back(beamFrom2(2, 3, 90));
  const WallRow point = wall(5, 2, 2, 6000, 0, 6000, 0);
  f.walls.push_back(point);
  EXPECT_TRUE(f.connectWalls(point).empty());
  EXPECT_TRUE(f.connectBeams(point).empty());

  Floor g;
  g.beams.push_back(beam(3, 2, 2, 6000, 0, 6000, 0));
  EXPECT_TRUE(g.connectBeams().empty());
}

}  // namespace
