// The supporting beam of each beam end, against the outcome table of the search.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "queries/beam.h"
#include "rows.h"

namespace {

using Beam::BeamRow;
using testrows::beam;
using testrows::column;
using testrows::wall;

// The beam under test runs from joint 1 at (0,0) to joint 2 at (6000,0), its top at the storey
// top. `from2` makes a beam that starts at joint 2 and runs 4000 mm at `degrees` to +X.
const BeamRow kBeam = beam(1, 1, 2, 0, 0, 6000, 0);

BeamRow from2(int id, int far, double degrees, double z = 0) {
  const double r = degrees * std::numbers::pi / 180;
  return beam(id, 2, far, 6000, 0, 6000 + 4000 * std::cos(r), 4000 * std::sin(r), z, z);
}

struct Floor {
  std::vector<BeamRow> beams{kBeam};
  std::vector<Column::ColumnRow> columns;
  std::vector<Palvek::WallRow> walls;

  // The supports of `b`, or of the floor's first beam (the beam under test, as changed).
  std::vector<Beam::SupportingBeamPair> connect(const BeamRow& b) const {
    return Beam::getConnectBeams(b, beams, columns, walls);
  }
  std::vector<Beam::SupportingBeamPair> connect() const { return connect(beams[0]); }
  // The id of the supporting beam of the end at joint 2, or 0 when it has none.
  int supportAt2() const {
    for (const auto& p : connect()) {
      if (p.jointId == db::Value(2)) return static_cast<int>(p.beam->beamId.asInteger());
    }
    return 0;
  }
};

TEST(GetConnectBeams, ASingleCrossBeamAtTheBeamsElevationCarriesTheEnd) {
  Floor f;
  f.beams.push_back(from2(2, 3, 90));
  const auto pairs = f.connect();
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].jointId, db::Value(2));
  EXPECT_EQ(pairs[0].beam, &f.beams[1]) << "the very row of the floor's list";

  Floor skew;
  skew.beams.push_back(from2(2, 3, 30));
  EXPECT_EQ(skew.supportAt2(), 2);
}

TEST(GetConnectBeams, AColumnOrAWallEndAtTheJointTakesTheEndButNotTheOtherOne) {
  Floor f;
  f.beams.push_back(from2(2, 3, 90));
  f.beams.push_back(beam(3, 1, 4, 0, 0, 0, 4000));
  f.columns.push_back(column(9, 2, 5));
  auto pairs = f.connect();
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].jointId, db::Value(1));

  f.columns.clear();
  f.walls.push_back(wall(8, 7, 2, 6000, -3000, 6000, 0));
  pairs = f.connect();
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].jointId, db::Value(1));
}

TEST(GetConnectBeams, ABeamContinuingInLineIsNoSupport) {
  Floor inLine;
  inLine.beams.push_back(from2(2, 3, 0));
  inLine.beams.push_back(from2(3, 4, 90, -300));  // a cross beam lower down is ignored
  EXPECT_EQ(inLine.supportAt2(), 0);

  Floor lower;
  lower.beams.push_back(from2(2, 3, 0, -300));
  EXPECT_EQ(lower.supportAt2(), 0);
}

TEST(GetConnectBeams, TwoSegmentsOfOneCrossBeamCarryTheEndOnTheFirstListed) {
  Floor f;
  f.beams.push_back(from2(2, 3, -90));
  f.beams.push_back(from2(3, 4, 90));
  EXPECT_EQ(f.supportAt2(), 2);

  Floor three = f;
  three.beams.push_back(from2(4, 5, 45));
  EXPECT_EQ(three.supportAt2(), 0) << "three candidates at the beam's elevation";

  Floor notParallel;
  notParallel.beams.push_back(from2(2, 3, 0));
  notParallel.beams.push_back(from2(3, 4, 90));
  EXPECT_EQ(notParallel.supportAt2(), 0);
}

TEST(GetConnectBeams, WithoutCandidatesAtItsElevationTheFirstNonColinearOneCarries) {
  Floor f;
  f.beams.push_back(from2(2, 3, 10, 200));
  f.beams.push_back(from2(3, 4, 90, 200));
  f.beams.push_back(from2(4, 5, -90, 300));
  EXPECT_EQ(f.supportAt2(), 3);
}

TEST(GetConnectBeams, SlopedRigidArcAndAxislessBeamsNeverCarry) {
  BeamRow sloped = from2(2, 3, 90);
  sloped.hDiff2 = 3000;
  BeamRow rigid = from2(3, 4, 90);
  rigid.mat = 10;
  BeamRow link = from2(4, 5, 90);
  link.shapeVal = "1,100,100";
  BeamRow arc = from2(5, 6, 90);
  arc.axisJt1Id = -9;
  BeamRow axisless = from2(6, 7, 90);
  axisless.axisJt1Id = 0;
  BeamRow noSection = from2(7, 8, 90);
  noSection.shapeVal = db::Value();
  for (const BeamRow& b : {sloped, rigid, link, arc, axisless}) {
    Floor f;
    f.beams.push_back(b);
    EXPECT_EQ(f.supportAt2(), 0) << b.beamId.str();
  }
  Floor f;
  f.beams.push_back(noSection);
  EXPECT_EQ(f.supportAt2(), 7) << "a beam without section text does not end the search";
}

TEST(GetConnectBeams, BothEndsAreReferredToTheBeamsEndOneElevation) {
  Floor f;
  f.beams[0].hDiff2 = 300;  // the beam rises to 300 at joint 2
  f.beams.push_back(from2(2, 3, 90, 300));
  f.beams.push_back(from2(3, 4, 10, 0));
  // The cross beam at 300 is not at the beam's end-1 elevation (0); the one at 0 is, but it is
  // colinear within pi/8, so the end has no support.
  EXPECT_EQ(f.supportAt2(), 0);
}

TEST(GetConnectBeams, AtEndTwoTheReferenceIsStillTheBeamsEndOneElevation) {
  Floor f;
  f.beams[0].hDiff2 = 300;
  // Both candidates stand at 300, the beam's end-2 elevation but not its end-1 elevation: the
  // end falls under "no candidate at the beam's elevation", whose first non-colinear one
  // carries it (measured at 300 the two would be a pair that is not parallel: no support).
  f.beams.push_back(from2(2, 3, 0, 300));
  f.beams.push_back(from2(3, 4, 90, 300));
  EXPECT_EQ(f.supportAt2(), 3);
}

TEST(GetConnectBeams, EachCandidateIsGroupedByItsOwnEndOneElevation) {
  Floor f;
  // Beam 2 ends at the joint: its end-1 elevation (0, at the far end) groups it, not its 100 at
  // the joint, so beams 2 and 3 are the pair at the beam's elevation and the first one carries.
  f.beams.push_back(beam(2, 9, 2, 6000, -4000, 6000, 0, 0, 100));
  f.beams.push_back(from2(3, 3, 90));
  EXPECT_EQ(f.supportAt2(), 2);
}

TEST(GetConnectBeams, ElevationsAreGroupedByExactEquality) {
  Floor f;
  f.beams.push_back(from2(2, 3, 0, 0.4));  // in line, less than a millimetre higher
  f.beams.push_back(from2(3, 4, 90));
  EXPECT_EQ(f.supportAt2(), 3) << "the cross beam is alone at the beam's elevation";
}

TEST(GetConnectBeams, CandidatesAtOtherElevationsAreIgnoredBesideOneOrAreCountedBesideTwo) {
  Floor one;
  one.beams.push_back(from2(2, 3, 45, -300));
  one.beams.push_back(from2(3, 4, 90));
  EXPECT_EQ(one.supportAt2(), 3);

  Floor two;
  two.beams.push_back(from2(2, 3, 90));
  two.beams.push_back(from2(3, 4, -90));
  two.beams.push_back(from2(4, 5, 45, -300));
  EXPECT_EQ(two.supportAt2(), 0) << "three candidates in all: no pair test, no support";
}

TEST(GetConnectBeams, ARowEqualToTheBeamIsTheBeamItself) {
  Floor f;
  f.beams.push_back(kBeam);
  f.beams.push_back(from2(2, 3, 90));
  EXPECT_EQ(f.supportAt2(), 2);
  EXPECT_EQ(f.connect(f.beams[1]).size(), 1u) << "whichever of the equal rows is asked about";
}

TEST(GetConnectBeams, AnArcBeamGetsNoSupportsAndAnAxisCodeOfZeroIsSearched) {
  Floor f;
  f.beams.push_back(from2(2, 3, 90));
  f.beams[0].axisJt1Id = -5;
  EXPECT_TRUE(f.connect(f.beams[0]).empty());
  f.beams[0].axisJt1Id = 0;
  EXPECT_EQ(f.connect(f.beams[0]).size(), 1u);
}

TEST(GetConnectBeams, SupportsAtBothEndsComeEndOneFirst) {
  Floor f;
  f.beams.push_back(from2(2, 3, 90));
  f.beams.push_back(beam(3, 4, 1, 0, -4000, 0, 0));
  const auto pairs = f.connect();
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].jointId, db::Value(1));
  EXPECT_EQ(pairs[0].beam->beamId, db::Value(3));
  EXPECT_EQ(pairs[1].beam->beamId, db::Value(2));
  EXPECT_TRUE(Floor{}.connect().empty());
}

}  // namespace
