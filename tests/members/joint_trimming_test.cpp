// Joint trimming as a user sees it in the written file: where a beam's body starts, how long
// it is and which planes cut its ends.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "member_rows.h"
#include "members/linear_members.h"
#include "members/messages.h"
#include "product_view.h"
#include "run_model.h"

namespace {

using App::Vector;
using members_test::beamRow;
using members_test::near;
using members_test::unit;
using members_test::viewOf;
using Utils::ClipPlane;

constexpr double pi = std::numbers::pi;

// A supporting beam of width 400 leaving joint `jt` at (x, y) at `degrees` from +X, stored
// from the joint or, reversed, towards it.
Beam::BeamRow supporter(int id, int jt, double x, double y, double degrees, bool reversed = false,
                        double ecc = 0) {
  const double a = degrees * pi / 180;
  Beam::BeamRow b =
      beamRow(id, jt, 90 + id, x, y, x + 6000 * std::cos(a), y + 6000 * std::sin(a), 400);
  if (reversed) {
    std::swap(b.jt1Id, b.jt2Id);
    std::swap(b.x1, b.x2);
    std::swap(b.y1, b.y2);
  }
  b.ecc = ecc;
  return b;
}

struct TrimCase {
  const char* name;
  Beam::BeamRow beam;
  std::vector<Beam::BeamRow> supporters;
  std::vector<int> joints;  // the pairs' joint ids
  Vector location;          // where the body starts: trimmed end 1, 300 below the top
  double depth;
  std::vector<ClipPlane> planes;
  std::string report;
};

// The worked example: a 300 wide beam from (0, 0) to (6000, 0) on a 400 wide beam at 60
// degrees moves its end 1 by 200 / sin 60 + 150 / tan 60 = 317.54 and is cut 86.60 along its
// axis by a plane parallel to the supporting beam.
constexpr double reach = 317.5426;
constexpr double tail = 86.6025;
const Vector slopeCCW(0.5, 0, 0.8660254);
const Beam::BeamRow beam = beamRow(1, 1, 2, 0, 0, 6000, 0);

Beam::BeamRow sloped(double rise = 600) {
  Beam::BeamRow b = beam;
  b.hDiff2 = rise;  // a rise of 1 in 10 still counts as horizontal
  return b;
}

const TrimCase kCases[] = {
    {"WorkedExample60Degrees",
     beam,
     {supporter(2, 1, 0, 0, 60)},
     {1},
     {-reach, 0, 2700},
     6000 + reach,
     {{{0, 0, tail}, slopeCCW}},
     ""},
    {"Mirrored",
     beam,
     {supporter(2, 1, 0, 0, -60)},
     {1},
     {-reach, 0, 2700},
     6000 + reach,
     {{{0, 0, tail}, {-0.5, 0, 0.8660254}}},
     ""},
    {"SupporterStoredTowardsTheJoint",
     beam,
     {supporter(2, 1, 0, 0, 60, true)},
     {1},
     {-reach, 0, 2700},
     6000 + reach,
     {{{0, 0, tail}, slopeCCW}},
     ""},
    {"SquareJointHasNoPlane",
     beam,
     {supporter(2, 1, 0, 0, 90)},
     {1},
     {-200, 0, 2700},
     6200,
     {},
     ""},
    {"BothEndsTheEnd2PlaneFromTheTrimmedEnd1",
     beam,
     {supporter(2, 1, 0, 0, 60), supporter(3, 2, 6000, 0, 60)},
     {1, 2},
     {-reach, 0, 2700},
     6000 + 2 * reach,
     {{{0, 0, tail}, slopeCCW}, {{0, 0, 6000 + 2 * reach - tail}, {-0.5, 0, -0.8660254}}},
     ""},
    {"OnlyEnd2",
     beam,
     {supporter(3, 2, 6000, 0, 60)},
     {2},
     {0, 0, 2700},
     6000 + reach,
     {{{0, 0, 6000 + reach - tail}, {-0.5, 0, -0.8660254}}},
     ""},
    {"EccentricSupporterReachesItsFarFace",
     beam,
     {supporter(2, 1, 0, 0, 90, false, 100)},
     {1},
     {-300, 0, 2700},
     6300,
     {},
     ""},
    // A supporting beam nearly along the beam would move the end by metres: left untrimmed.
    {"NearlyParallelSupporterLeavesTheEndUntrimmed",
     beam,
     {supporter(2, 1, 0, 0, 3)},
     {1},
     {0, 0, 2700},
     6000,
     {},
     "Beam_1, 端1的支承梁Beam_2与本梁近乎平行，该端未修剪\n"},
    {"NearlyReversedSupporterLeavesTheEndUntrimmed",
     beam,
     {supporter(2, 1, 0, 0, 177)},
     {1},
     {0, 0, 2700},
     6000,
     {},
     "Beam_1, 端1的支承梁Beam_2与本梁近乎平行，该端未修剪\n"},
    {"PairAtAnotherJointIsIgnored",
     beam,
     {supporter(2, 1, 0, 0, 60)},
     {99},
     {0, 0, 2700},
     6000,
     {},
     ""},
    // Sloped but horizontal enough to be trimmed: the end-2 plane lies at the axis's own
    // length, not at its plan length.
    {"SlopedBeamEnd2PlaneAtTheAxisLength",
     sloped(),
     {supporter(3, 2, 6000, 0, 60)},
     {2},
     {0, 0, 2700},
     std::hypot(6000 + reach, 600),
     {{{0, 0, std::hypot(6000 + reach, 600) - tail}, {-0.5, 0, -0.8660254}}},
     ""},
    // Rising 1 in 2 it is no longer horizontal: its ends stay where the row puts them.
    {"SteepBeamIsNotTrimmed",
     sloped(3000),
     {supporter(2, 1, 0, 0, 60)},
     {1},
     {0, 0, 2700},
     std::hypot(6000, 3000),
     {},
     ""},
};

class JointTrimming : public ::testing::TestWithParam<TrimCase> {};

TEST_P(JointTrimming, MovesTheEndsToTheSupportersFarFacesAndCutsSkewEnds) {
  const TrimCase& c = GetParam();
  members_test::RunModel run("IFC2X3");
  std::vector<Beam::SupportingBeamPair> pairs;
  for (std::size_t i = 0; i < c.supporters.size(); ++i) {
    pairs.push_back({c.joints[i], &c.supporters[i]});
  }
  Utils::MessageCapture capture;
  const auto products = Utils::CreateBeam(run.ctx, c.beam, members_test::storey(), pairs);
  EXPECT_EQ(capture.take(), c.report);
  ASSERT_EQ(products.size(), 1U);

  const auto back = run.readBack();
  const auto view = viewOf(members_test::in(*back, products[0]));
  EXPECT_TRUE(near(view.location, c.location, 0.01));
  EXPECT_NEAR(view.depth, c.depth, 0.01);
  EXPECT_EQ(view.representationType, c.planes.empty() ? "SweptSolid" : "Clipping");
  ASSERT_EQ(view.planes.size(), c.planes.size());
  for (std::size_t i = 0; i < c.planes.size(); ++i) {
    EXPECT_TRUE(near(view.planes[i].point, c.planes[i].point, 0.01)) << "plane " << i;
    EXPECT_TRUE(near(unit(view.planes[i].normal), c.planes[i].normal, 1e-6)) << "plane " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Beams, JointTrimming, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
