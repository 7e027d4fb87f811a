// Offset centre lines and the end correction of offset members, on the worked values.
#include "members/cent_line.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A beam or wall row from joint 1 at (x1, y1) to joint 2 at (x2, y2), `ecc` off that line.
template <class Row>
Row line(double x1, double y1, double x2, double y2, double ecc) {
  Row row;
  row.ecc = ecc;
  row.jt1Id = 1;
  row.jt2Id = 2;
  row.x1 = x1;
  row.y1 = y1;
  row.x2 = x2;
  row.y2 = y2;
  return row;
}
constexpr auto beam = line<Beam::BeamRow>;
constexpr auto wall = line<Palvek::WallRow>;

TEST(CentLine, TheOffsetLineLiesEccToTheLeftForBeamsAndWallsAlike) {
  const struct {
    double ecc;
    App::Vector p1, p2;
  } cases[] = {{100, {0, 100, 0}, {1000, 100, 0}},
               {-100, {0, -100, 0}, {1000, -100, 0}},
               {0, {0, 0, 0}, {1000, 0, 0}}};
  for (const auto& c : cases) {
    const auto [b1, b2] = Utils::getCentLineOffset(beam(0, 0, 1000, 0, c.ecc));
    const auto [w1, w2] = Utils::getCentLineOffset(wall(0, 0, 1000, 0, c.ecc));
    EXPECT_EQ(b1.to_np(), c.p1.to_np());
    EXPECT_EQ(b2.to_np(), c.p2.to_np());
    EXPECT_EQ(w1.to_np(), c.p1.to_np());
    EXPECT_EQ(w2.to_np(), c.p2.to_np());
  }
  // A member of zero length gets no offset.
  EXPECT_EQ(Utils::getCentLineOffset(beam(5, 5, 5, 5, 100)).first.to_np(),
            (App::Vector(5, 5, 0).to_np()));
}

TEST(CentLine, CrossingsOfLinesAndTheirFaults) {
  const auto [px, py] = Utils::findIntersection(0, 0, 10, 0, 5, -5, 5, 5);
  EXPECT_EQ(px, 5.0);
  EXPECT_EQ(py, 0.0);
  const struct {
    double x1, y1, x2, y2, x3, y3, x4, y4;
    const char* message;
  } faults[] = {
      {0, 0, 10, 0, 0, 5, 10, 5,
       "the lines through (0.0, 0.0) (10.0, 0.0) and (0.0, 5.0) (10.0, 5.0) are parallel"},
      {0, 0, 10, 0, 20, 0, 30, 0,
       "the lines through (0.0, 0.0) (10.0, 0.0) and (20.0, 0.0) (30.0, 0.0) are parallel"},
      {3, 3, 3, 3, 0, 0, 0, 10,
       "the lines through (3.0, 3.0) (3.0, 3.0) and (0.0, 0.0) (0.0, 10.0) include one of zero "
       "length"},
      {0, 0, 1e308, 0, 0, 0, 1e308, 1e-300,
       "the lines through (0.0, 0.0) (1e+308, 0.0) and (0.0, 0.0) (1e+308, 1e-300) are parallel"},
  };
  for (const auto& f : faults) {
    try {
      (void)Utils::findIntersection(f.x1, f.y1, f.x2, f.y2, f.x3, f.y3, f.x4, f.y4);
      ADD_FAILURE() << "no fault for " << f.message;
    } catch (const App::GeometryError& e) {
      EXPECT_STREQ(e.what(), f.message);
    }
  }
}

TEST(CentLine, TheEndCorrectionIsSignedByWhereTheCrossingLies) {
  const Beam::BeamRow target = beam(0, 0, 1000, 0, 100);
  const struct {
    const char* name;
    Beam::BeamRow reference;
    int jt;
    double correction;
  } cases[] = {
      {"crossing inside, at end 2", beam(500, -1000, 500, 1000, 0), 2, -500.0},
      {"crossing inside, at end 1", beam(500, -1000, 500, 1000, 0), 1, -500.0},
      {"crossing beyond end 2", beam(1200, -1000, 1200, 1000, 0), 2, 200.0},
      {"a joint of neither end counts as end 2", beam(1200, -1000, 1200, 1000, 0), 7, 200.0},
      {"crossing at the offset end", beam(1000, -1000, 1000, 1000, 0), 2, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utils::reviseEcc(target, c.reference, c.jt), c.correction) << c.name;
    // The wall layout gives the same answers.
    const auto& r = c.reference;
    EXPECT_EQ(Utils::reviseEcc(wall(0, 0, 1000, 0, 100), wall(r.x1, r.y1, r.x2, r.y2, r.ecc), c.jt),
              c.correction)
        << c.name;
  }
  EXPECT_TRUE(std::signbit(Utils::reviseEcc(target, beam(1000, -1000, 1000, 1000, 0), 2)));
  // Parallel or degenerate neighbours have no crossing: a geometry fault, not an infinity.
  EXPECT_THROW((void)Utils::reviseEcc(target, beam(0, 500, 1000, 500, 0), 2), App::GeometryError);
  EXPECT_THROW((void)Utils::reviseEcc(target, beam(7, 7, 7, 7, 0), 2), App::GeometryError);
  EXPECT_THROW((void)Utils::reviseEcc(wall(0, 0, 0, 0, 100), wall(0, 0, 0, 10, 0), 1),
               App::GeometryError);
}

}  // namespace
