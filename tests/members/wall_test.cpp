// Walls and their openings, through a converted model database read back from the written
// file, in both run modes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "body_geometry.h"
#include "driver/verdamo.h"
#include "ifc/model.h"
#include "members/messages.h"
#include "members/wall_by_wall.h"
#include "modeldb/modeldb.h"
#include "vector/vector.h"

namespace {

using App::Vector;
using modeldb::ModelDb;
using modeldb::Value;

const double kRoot3 = std::sqrt(3.0);

// One standard floor 3000 high with one real floor; joints by plan position.
struct Floor {
  ModelDb m;
  Value sf = m.add(modeldb::StdFloor{.height = 3000});
  Value wall200 = m.add(modeldb::WallSect{.b = 200});
  Value wall300 = m.add(modeldb::WallSect{.b = 300});
  Value beam300 = m.add(modeldb::BeamSect{.shapeVal = "1,300,600"});
  Value beam600 = m.add(modeldb::BeamSect{.shapeVal = "1,600,600"});
  std::map<std::pair<double, double>, Value> joints;

  Floor() { m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .levelB = 0, .height = 3000}); }
  Value jt(double x, double y) {
    auto [it, added] = joints.try_emplace({x, y});
    if (added) it->second = m.joint(sf, x, y);
    return it->second;
  }
  Value line(double x1, double y1, double x2, double y2) { return m.line(jt(x1, y1), jt(x2, y2)); }
  Value wall(Value grid, Value sect, modeldb::WallSeg seg = {}) {
    seg.stdFlr = sf;
    seg.grid = std::move(grid);
    seg.sect = std::move(sect);
    return m.add(seg);
  }
  void beam(double x1, double y1, double x2, double y2, Value sect, Value ecc = 0) {
    m.add(modeldb::BeamSeg{.stdFlr = sf, .grid = line(x1, y1, x2, y2), .sect = sect, .ecc = ecc});
  }
};

// Converts the floor's database and reads the file back; returns the lines the run printed.
class Converted {
 public:
  Converted(const ModelDb& m, bool mt) : Converted(nullptr, &m, mt) {}
  Converted(const std::filesystem::path& input, bool mt) : Converted(&input, nullptr, mt) {}

  Converted(const std::filesystem::path* input, const ModelDb* m, bool mt) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("sdb2ifc_wall_" + std::to_string(::getpid()) + (mt ? "_mt" : ""));
    std::filesystem::create_directories(dir);
    if (m) m->write(dir / "m.sdb");
    ::testing::internal::CaptureStdout();
    Verdamo::Create(input ? *input : dir / "m.sdb", dir / "m.ifc", mt);
    printed = ::testing::internal::GetCapturedStdout();
    model = ifc::Model::readFile(dir / "m.ifc");
    std::filesystem::remove_all(dir);
    EXPECT_EQ(model->validate(), std::vector<std::string>{});
  }

  // The products named `name`, in file order.
  std::vector<ifc::Entity> named(const char* type, const std::string& name) const {
    std::vector<ifc::Entity> out;
    for (const ifc::Entity& e : model->by_type(type)) {
      if (e.get("Name").asString() == name) out.push_back(e);
    }
    return out;
  }
  ifc::Entity wall(const Value& id) const {
    const auto walls = named("IfcWall", "Wall_" + id.str());
    EXPECT_EQ(walls.size(), 1U) << "Wall_" << id.str();
    return walls.at(0);
  }
  // The lines that name a wall or an opening.
  std::vector<std::string> reports() const {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t end; (end = printed.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string line = printed.substr(at, end - at);
      if (line.rfind("Wall", 0) == 0) out.push_back(line);
    }
    return out;
  }

  std::string printed;
  std::unique_ptr<ifc::Model> model;
};

Vector vec(const ifc::Value& list) {
  const ifc::List& l = list.asList();
  return {l.at(0).asDouble(), l.at(1).asDouble(), l.size() > 2 ? l.at(2).asDouble() : 0.0};
}
Vector point(const ifc::Entity& e) { return vec(e.get("Coordinates")); }
Vector direction(const ifc::Entity& e) { return vec(e.get("DirectionRatios")); }

// What a reader sees of a product: its frame, its swept solid and its clip planes.
struct Body {
  Vector location, axis, ref;
  double xDim = 0, yDim = 0, depth = 0, angle = 0;
  std::vector<std::pair<Vector, Vector>> planes;  // (point, normal), innermost first
  ifc::Entity swept;
};

Body bodyOf(const ifc::Entity& product) {
  Body b;
  const ifc::Entity placement =
      product.get("ObjectPlacement").asEntity().get("RelativePlacement").asEntity();
  b.location = point(placement.get("Location").asEntity());
  b.axis = direction(placement.get("Axis").asEntity());
  b.ref = direction(placement.get("RefDirection").asEntity());
  const ifc::Entity rep =
      product.get("Representation").asEntity().get("Representations").asList()[0].asEntity();
  ifc::Entity item = rep.get("Items").asList()[0].asEntity();
  for (; item.is_a("IfcBooleanClippingResult"); item = item.get("FirstOperand").asEntity()) {
    const ifc::Entity plane = item.get("SecondOperand").asEntity().get("BaseSurface").asEntity();
    const ifc::Entity position = plane.get("Position").asEntity();
    b.planes.insert(b.planes.begin(), {point(position.get("Location").asEntity()),
                                       direction(position.get("Axis").asEntity())});
  }
  b.swept = item;
  const ifc::Entity profile = item.get("SweptArea").asEntity();
  b.xDim = profile.get("XDim").asDouble();
  b.yDim = profile.get("YDim").asDouble();
  b.depth = item.is_a("IfcExtrudedAreaSolid") ? item.get("Depth").asDouble() : 0.0;
  b.angle = item.is_a("IfcRevolvedAreaSolid") ? item.get("Angle").asDouble() : 0.0;
  return b;
}

constexpr double kTol = 1e-6;
#define EXPECT_VEC(actual, expected) \
  EXPECT_LT(((actual) - (expected)).Length(), kTol) << (actual) << " expected " << (expected)

class Walls : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(RunModes, Walls, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "threaded" : "sequential"; });

// A straight wall's final ends, its clip planes in its own frame (end planes, then the
// sloped top) and its height, from the worked joints of walls and beams.
struct EndCase {
  const char* what;
  Value id;
  double x1, y1, x2, y2;
  std::vector<std::pair<Vector, Vector>> planes = {};
  double ecc = 0, bottom = 0, depth = 3000;
};

TEST_P(Walls, StraightWallEndsMeetTheirNeighbouringWallsAndBeamsAsDrawn) {
  Floor f;
  std::vector<EndCase> cases;
  const Vector skew2(-kRoot3 / 2, -0.5, 0), skew1(kRoot3 / 2, 0.5, 0);
  const double run60 = 100 / kRoot3, end60 = 300 / kRoot3 + run60;  // 57.735, 230.940
  double y = 0;
  // Each case on a line of its own, 20 m apart; the wall runs from (0, y) to (6000, y).
  auto next = [&]() { return y += 20000; };
  auto wall = [&](modeldb::WallSeg seg = {}) {
    return f.wall(f.line(0, y, 6000, y), f.wall200, seg);
  };

  next();
  f.wall(f.line(6000, y, 4500, y + 1500 * kRoot3), f.wall300);
  cases.push_back({"60 degrees at end 2",
                   wall(),
                   0,
                   y,
                   6000 + end60,
                   y,
                   {{{3000 + end60 / 2 - run60, 0, 0}, skew2}}});
  next();
  f.wall(f.line(1500, y - 1500 * kRoot3, 0, y), f.wall300);
  cases.push_back({"its mirror at end 1",
                   wall(),
                   -end60,
                   y,
                   6000,
                   y,
                   {{{-3000 - end60 / 2 + run60, 0, 0}, skew1}}});
  next();
  f.wall(f.line(6000, y, 6000, y + 3000), f.wall300);
  cases.push_back({"a right angle", wall(), 0, y, 6150, y});
  next();
  // A beam over the skew neighbour carries the end on to 6300; the cut stays on the face.
  f.wall(f.line(6000, y, 4500, y + 1500 * kRoot3), f.wall300);
  f.beam(6000, y, 4500, y + 1500 * kRoot3, f.beam600);
  cases.push_back({"60 degrees and a wide beam",
                   wall(),
                   0,
                   y,
                   6300,
                   y,
                   {{{6000 + 100 * kRoot3 - 3150, 0, 0}, skew2}}});
  next();
  // The neighbour's centre line 150 inside the joint pulls the end back 50; the beam at the
  // joint then carries it on to its far face, not 100 short of it.
  f.wall(f.line(6000, y, 6000, y + 3000), f.wall200, {.ecc = 150});
  f.beam(6000, y, 6000, y + 1000, f.beam300);
  cases.push_back({"pulled back, then a beam", wall(), 0, y, 6150, y});
  next();
  f.beam(6000, y, 6000, y + 1000, f.beam300, 50);
  f.beam(0, y + 1000, 0, y, f.beam300);
  cases.push_back({"beams only: eccentric at end 2, facing at end 1", wall(), -150, y, 6100, y});
  next();
  f.beam(6000, y + 1000, 6000, y, f.beam300, 50);
  cases.push_back({"an eccentric beam facing along the wall", wall(), 0, y, 6200, y});
  next();
  // Skew beams: the end lands where the axis crosses the face a square beam would give, which
  // lies 1 / sin of the angle farther along the wall. At end 2, 70 degrees with Ecc 200 and
  // the beam's left side towards the end: 350 / sin 70 beyond; at end 1, 76 degrees.
  const double rad = std::numbers::pi / 180, s70 = std::sin(70 * rad), s76 = std::sin(76 * rad);
  f.beam(6000, y, 6000 + 2000 * std::cos(70 * rad), y - 2000 * s70, f.beam300, 200);
  f.beam(0, y, 2000 * std::cos(76 * rad), y + 2000 * s76, f.beam300);
  cases.push_back({"skew beams at both ends", wall(), -150 / s76, y, 6000 + 350 / s70, y});
  next();
  // Drawn the other way, its left side away from the end: the face 50 / sin 70 before it.
  f.beam(6000 + 2000 * std::cos(70 * rad), y - 2000 * s70, 6000, y, f.beam300, 200);
  cases.push_back({"a skew beam facing back", wall(), 0, y, 6000 - 50 / s70, y});
  next();
  // An L: each wall through the other, then on to the far face of the beam over the other.
  f.beam(0, y, 6000, y, f.beam300);
  f.beam(0, y, 0, y + 4000, f.beam300);
  cases.push_back({"L, wall along x", wall(), -150, y, 6000, y});
  cases.push_back(
      {"L, wall along y", f.wall(f.line(0, y, 0, y + 4000), f.wall200), 0, y - 150, 0, y + 4000});
  next();
  // A tee: the stem runs to the far face of the beams over the straight run; the run's two
  // walls continue each other and stay as drawn.
  f.beam(0, y, 3000, y, f.beam300);
  f.beam(3000, y, 6000, y, f.beam300);
  cases.push_back(
      {"tee, first half of the run", f.wall(f.line(0, y, 3000, y), f.wall200), 0, y, 3000, y});
  f.wall(f.line(3000, y, 6000, y), f.wall200);
  cases.push_back({"tee, stem", f.wall(f.line(3000, y, 3000, y + 4000), f.wall200), 3000, y - 150,
                   3000, y + 4000});
  next();
  cases.push_back({"Ecc 100 without neighbours", wall({.ecc = 100}), 0, y, 6000, y, {}, 100});
  next();
  cases.push_back({"top 300 higher at end 1",
                   wall({.hDiff1 = 300}),
                   0,
                   y,
                   6000,
                   y,
                   {{{0, 0, 3150}, {-300, 0, -6000}}},
                   0,
                   0,
                   3300});
  next();
  cases.push_back({"bottom 500 lower", wall({.hDiffB = -500}), 0, y, 6000, y, {}, 0, -500, 3500});

  const Converted c(f.m, GetParam());
  EXPECT_EQ(c.reports(), std::vector<std::string>{});
  for (const EndCase& e : cases) {
    SCOPED_TRACE(e.what);
    const Body b = bodyOf(c.wall(e.id));
    const Vector a(e.x2 - e.x1, e.y2 - e.y1, 0);
    const Vector unit = a / a.Length();
    const Vector left(-unit.y, unit.x, 0);
    EXPECT_VEC(b.location, Vector(e.x1, e.y1, e.bottom) + a * 0.5 + left * e.ecc);
    EXPECT_VEC(b.ref, unit);
    EXPECT_VEC(b.axis, Vector(0, 0, 1));
    EXPECT_NEAR(b.xDim, a.Length(), kTol);
    EXPECT_EQ(b.yDim, 200);
    EXPECT_EQ(b.depth, e.depth);
    ASSERT_EQ(b.planes.size(), e.planes.size());
    for (std::size_t i = 0; i < e.planes.size(); ++i) {
      EXPECT_VEC(b.planes[i].first, e.planes[i].first);
      EXPECT_VEC(b.planes[i].second, e.planes[i].second);
    }
  }
}

TEST_P(Walls, ArcWallsTurnFromEndOneTowardsEndTwoTheShorterWayRound) {
  Floor f;
  // About (0, 0) from (5000, 0) to (0, 5000); a straight wall at its end is ignored.
  const Value ccw = f.wall(f.m.arc(f.jt(0, 0), f.jt(5000, 0), f.jt(0, 5000)), f.wall200);
  f.wall(f.line(5000, 0, 8000, 3000), f.wall200);
  // About (20000, 0) the other way round, with Ecc 100 (an arc of radius 5100 about the same
  // centre) and a top 300 higher at end 2.
  const Value cw = f.wall(f.m.arc(f.jt(20000, 0), f.jt(20000, 5000), f.jt(25000, 0)), f.wall200,
                          {.ecc = 100, .hDiff2 = 300});
  // Ecc 100 keeps the centre: radii 5000 to 5200 from (85000, 0) round to (80000, 5000).
  const Value eccentric =
      f.wall(f.m.arc(f.jt(80000, 0), f.jt(85000, 0), f.jt(80000, 5000)), f.wall200, {.ecc = 100});
  // A half circle whose cross product of radii rounds below 0 runs counter-clockwise all the
  // same, from its start at 160 degrees down through 270.
  const Vector centre(76228.0, 210.6, 0), start(70577.788, 2229.288, 0);
  const Value half =
      f.wall(f.m.arc(f.jt(centre.x, centre.y), f.jt(start.x, start.y), f.jt(81878.212, -1808.088)),
             f.wall200);
  const Converted c(f.m, GetParam());

  const double r = (start - centre).Length();
  const Vector u1 = (start - centre) / r;
  const struct {
    Value id;
    Vector location, axis, ref;
    double height, radius, angle;
    members_test::Box box;
  } cases[] = {
      {ccw,
       {5000, 0, 1500},
       {0, 1, 0},
       {-5000, 0, 0},
       3000,
       5000,
       90,
       {{0, 0, 0}, {5100, 5100, 3000}}},
      {cw,
       {20000, 5100, 1650},
       {1, 0, 0},
       {0, -5000, 0},
       3300,
       5100,
       90,
       {{20000, 0, 0}, {25200, 5200, 3300}}},
      {eccentric,
       {85100, 0, 1500},
       {0, 1, 0},
       {-5000, 0, 0},
       3000,
       5100,
       90,
       {{80000, 0, 0}, {85200, 5200, 3000}}},
      {half,
       start + Vector(0, 0, 1500),
       Vector(-u1.y, u1.x, 0),
       centre - start,
       3000,
       r,
       180,
       {{centre.x - r - 100, centre.y - r - 100, 0},
        {centre.x - u1.x * (r + 100), centre.y + u1.y * (r + 100), 3000}}},
  };
  for (const auto& e : cases) {
    SCOPED_TRACE(e.id.str());
    const ifc::Entity wall = c.wall(e.id);
    const Body b = bodyOf(wall);
    ASSERT_TRUE(b.swept.is_a("IfcRevolvedAreaSolid"));
    EXPECT_VEC(b.location, e.location);
    EXPECT_VEC(b.axis, e.axis);
    EXPECT_VEC(b.ref, e.ref);
    EXPECT_NEAR(b.angle, e.angle, kTol);
    EXPECT_EQ(b.xDim, 200);
    EXPECT_EQ(b.yDim, e.height);
    const ifc::Entity axis = b.swept.get("Axis").asEntity();
    EXPECT_VEC(point(axis.get("Location").asEntity()), Vector(e.radius, 0, 0));
    EXPECT_VEC(direction(axis.get("Axis").asEntity()), Vector(0, 1, 0));
    // Sampled every half degree: within 0.1 mm of the arc's extreme points.
    members_test::expectBox(members_test::productBox(wall), e.box, 0.1);
  }
}

TEST_P(Walls, EachOpeningFollowsItsWallAndVoidsItWhereItsCodePutsIt) {
  Floor f;
  const Value window = f.m.add(modeldb::WallHoleDef{.b = 1200.0, .h = 1500.0});
  const Value door = f.m.add(modeldb::WallHoleDef{.b = 1000, .h = 2100});
  auto hole = [&](const Value& grid, const Value& def, double ecc, double hDiff) {
    f.m.add(
        modeldb::WallHole{.stdFlr = f.sf, .grid = grid, .sect = def, .ecc = ecc, .hDiff = hDiff});
  };
  const Value grid1 = f.line(0, 0, 6000, 0);
  const Value plain = f.wall(grid1, f.wall200);
  hole(grid1, window, 0, 900);  // centred
  hole(grid1, door, 1, 0);      // flush with end 1
  hole(grid1, door, -1, 0);     // flush with end 2
  hole(grid1, window, 500, 900);
  hole(grid1, window, -500, 900);
  // Measured from the storey base whatever the wall's bottom; across the offset wall.
  const Value grid2 = f.line(0, 20000, 6000, 20000);
  const Value offset = f.wall(grid2, f.wall200, {.ecc = 100, .hDiffB = 300});
  hole(grid2, window, 0, 900);
  // Drawn from east to west: end 1 is the east end.
  const Value grid3 = f.line(6000, 40000, 0, 40000);
  const Value reversed = f.wall(grid3, f.wall200);
  hole(grid3, door, 1, 0);
  // Centred on a quarter circle of radius 5000 about (0, 60000) with Ecc 100: at 45 degrees,
  // square to the arc, from the inner face's chord to 20 beyond the outer face.
  const Value grid4 = f.m.arc(f.jt(0, 60000), f.jt(5000, 60000), f.jt(0, 65000));
  const Value onArc = f.wall(grid4, f.wall200, {.ecc = 100});
  hole(grid4, door, 0, 0);
  const Converted c(f.m, GetParam());

  const Vector x(1, 0, 0), y(0, 1, 0);
  const double s = std::sqrt(0.5), inner = std::sqrt(5000.0 * 5000.0 - 500.0 * 500.0) - 20;
  const struct {
    Value wall;
    Vector location, axis, ref;
    double width, height, depth = 240;
  } openings[] = {{plain, {3000, -120, 1650}, y, x, 1200, 1500},
                  {plain, {500, -120, 1050}, y, x, 1000, 2100},
                  {plain, {5500, -120, 1050}, y, x, 1000, 2100},
                  {plain, {1100, -120, 1650}, y, x, 1200, 1500},
                  {plain, {4900, -120, 1650}, y, x, 1200, 1500},
                  {offset, {3000, 19980, 1650}, y, x, 1200, 1500},
                  {reversed, {5500, 40120, 1050}, -y, -x, 1000, 2100},
                  {onArc,
                   {inner * s, 60000 + inner * s, 1050},
                   {s, s, 0},
                   {-s, s, 0},
                   1000,
                   2100,
                   5220 - inner}};
  const std::vector<ifc::Entity> holes = c.named("IfcOpeningElement", "Wall_Hole");
  const std::vector<ifc::Entity> voids = c.model->by_type("IfcRelVoidsElement");
  ASSERT_EQ(holes.size(), std::size(openings));
  ASSERT_EQ(voids.size(), std::size(openings));
  // The storey holds each wall followed by its openings.
  const ifc::Entity storey = c.model->by_type("IfcBuildingStorey").at(0);
  const ifc::List contained =
      storey.inverse("ContainsElements").at(0).get("RelatedElements").asList();
  std::vector<ifc::Entity> expectedOrder;
  for (std::size_t i = 0; i < holes.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& e = openings[i];
    const ifc::Entity wall = c.wall(e.wall);
    if (i == 0 || !(openings[i - 1].wall == e.wall)) expectedOrder.push_back(wall);
    expectedOrder.push_back(holes[i]);
    EXPECT_EQ(voids[i].get("RelatingBuildingElement").asEntity(), wall);
    EXPECT_EQ(voids[i].get("RelatedOpeningElement").asEntity(), holes[i]);
    const Body b = bodyOf(holes[i]);
    EXPECT_VEC(b.location, e.location);
    EXPECT_VEC(b.axis, e.axis);
    EXPECT_VEC(b.ref, e.ref);
    EXPECT_EQ(b.xDim, e.width);
    EXPECT_EQ(b.yDim, e.height);
    EXPECT_NEAR(b.depth, e.depth, kTol);
  }
  EXPECT_EQ(contained, ifc::List(expectedOrder.begin(), expectedOrder.end()));
}

// In an arc wall with an Ecc the codes measure along the wall's own centre line, radius
// R + Ecc: the straight box, square to the arc at its middle, crosses that line within
// 1 mm of where the code's distance and the width along it put the opening's edges (a chord
// of 1000 mm spans 0.55 mm more arc at radius 6200).
TEST_P(Walls, ArcWallOpeningsLieWhereDistancesAlongTheWallsCentreLinePutThem) {
  Floor f;
  const Value door = f.m.add(modeldb::WallHoleDef{.b = 1000, .h = 2100});
  const double R = 6000, w = 1000, quarter = std::numbers::pi / 2;
  const struct {
    double ecc, code;
    double start;  // of the start edge, along the centre line from end 1
  } cases[] = {{200, 1, 0},  {200, -1, 6200 * quarter - w},  {200, 500, 500},
               {-200, 1, 0}, {-200, -1, 5800 * quarter - w}, {-200, 500, 500}};
  // A quarter circle about (0, y0) from (R, y0) to (0, y0 + R) for each Ecc.
  std::map<double, std::pair<Value, double>> walls;
  for (const auto& c : cases) {
    auto [it, added] = walls.try_emplace(c.ecc);
    if (added) {
      const double y0 = 20000.0 * static_cast<double>(walls.size());
      const Value grid = f.m.arc(f.jt(0, y0), f.jt(R, y0), f.jt(0, y0 + R));
      it->second = {grid, y0};
      f.wall(grid, f.wall200, {.ecc = c.ecc});
    }
    f.m.add(modeldb::WallHole{
        .stdFlr = f.sf, .grid = it->second.first, .sect = door, .ecc = c.code, .hDiff = 0});
  }
  const Converted conv(f.m, GetParam());
  const std::vector<ifc::Entity> holes = conv.named("IfcOpeningElement", "Wall_Hole");
  ASSERT_EQ(holes.size(), std::size(cases));
  for (std::size_t i = 0; i < holes.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& c = cases[i];
    const double rc = R + c.ecc;
    const Body b = bodyOf(holes[i]);
    const Vector radial = b.location - Vector(0, walls.at(c.ecc).second, b.location.z);
    EXPECT_VEC(b.axis, Vector(radial).normalize());
    EXPECT_VEC(b.ref, Vector(0, 0, 1).cross(b.axis));
    // The box's side edges, w/2 either side of its middle, where they cross the centre line.
    const double middle = std::atan2(radial.y, radial.x), half = std::asin(w / 2 / rc);
    EXPECT_NEAR(rc * (middle - half), c.start, 1.0);
    EXPECT_NEAR(rc * (middle + half), c.start + w, 1.0);
    EXPECT_EQ(b.xDim, w);
  }
}

TEST_P(Walls, AFaultyWallOrOpeningIsReportedOnOneLineAndLeftOutWithNothingElse) {
  Floor f;
  const Value window = f.m.add(modeldb::WallHoleDef{.b = 1200, .h = 1500});
  const Value noHeight = f.m.add(modeldb::WallHoleDef{.b = 1200, .h = Value()});
  const Value noWidth = f.m.add(modeldb::WallHoleDef{.b = 0, .h = 1500});
  auto hole = [&](const Value& grid, const Value& def, const Value& ecc) {
    f.m.add(modeldb::WallHole{.stdFlr = f.sf, .grid = grid, .sect = def, .ecc = ecc});
  };
  const Value noSection = f.line(0, 0, 6000, 0);
  const Value a = f.wall(noSection, Value());
  hole(noSection, window, 0);
  const Value b = f.wall(f.m.line(f.m.joint(f.sf, 0, 20000), f.jt(0, 20000)), f.wall200);
  // Two eccentric beams pull both ends of a 100 mm wall on to its middle.
  const Value pulled = f.line(0, 40000, 100, 40000);
  const Value cw = f.wall(pulled, f.wall200);
  f.beam(100, 40000, 100, 41000, f.beam300, 200);
  f.beam(0, 40000, 0, 41000, f.beam300, -200);
  hole(pulled, window, 0);
  const Value d = f.wall(f.m.arc(f.jt(0, 60000), f.jt(0, 60000), f.jt(5000, 60000)), f.wall200);
  // Openings on a grid line without a wall, and on the grid line of a wall not exported.
  const Value bare = f.line(0, 100000, 6000, 100000);
  hole(bare, window, 0);
  hole(bare, window, 1);
  const Value hidden = f.line(0, 120000, 6000, 120000);
  f.m.exclude(f.wall(hidden, f.wall200));
  hole(hidden, window, 0);
  const Value good = f.line(0, 80000, 6000, 80000);
  const Value e = f.wall(good, f.wall200);
  hole(good, window, 1);
  hole(good, Value(), 0);  // no definition
  hole(good, window, Value());
  hole(good, noHeight, 0);
  hole(good, noWidth, 0);
  hole(good, window, -1);
  const Converted c(f.m, GetParam());

  const std::string g = good.str();
  const std::vector<std::string> expected = {
      "Wall_" + a.str() + ", B为空，已跳过",
      "WallHole_" + noSection.str() + ", 墙Wall_" + a.str() + "未生成，已跳过",
      "Wall_" + b.str() + ", 墙长度为0，已跳过",
      "Wall_" + cw.str() + ", 调整后墙长度为0，已跳过",
      "WallHole_" + pulled.str() + ", 墙Wall_" + cw.str() + "未生成，已跳过",
      "Wall_" + d.str() + ", 弧墙端点与圆心重合，已跳过",
      "WallHole_" + g + ", Ecc为空，已跳过",
      "WallHole_" + g + ", B为空，已跳过",
      "WallHole_" + g + ", H为空，已跳过",
      "WallHole_" + g + ", Rec_0*1500: the width must be positive (0.0)，已跳过",
      "WallHole_" + bare.str() + ", 所在网格上无墙，已跳过",
      "WallHole_" + bare.str() + ", 所在网格上无墙，已跳过"};
  EXPECT_EQ(c.reports(), expected);
  EXPECT_EQ(c.model->by_type("IfcWall").size(), 1U);
  c.wall(e);
  EXPECT_EQ(c.named("IfcOpeningElement", "Wall_Hole").size(), 2U);
  EXPECT_EQ(c.model->by_type("IfcRelVoidsElement").size(), 2U);
}

TEST_P(Walls, TheWallSampleConvertsWithEveryWallAndOpening) {
  const char* root = std::getenv("SDB2IFC_SOURCE_DIR");
  const Converted c(std::filesystem::path(root ? root : ".") / "examples" / "sample_walls.sdb",
                    GetParam());
  EXPECT_EQ(c.reports(), std::vector<std::string>{});
  EXPECT_EQ(c.model->by_type("IfcWall").size(), 9U);
  EXPECT_EQ(c.named("IfcOpeningElement", "Wall_Hole").size(), 4U);
  EXPECT_EQ(c.model->by_type("IfcRelVoidsElement").size(), 4U);
}

// Pairs the connectivity never makes: the wall is built as if they were not there.
TEST(AdjustWallByWall, APairThatCannotMoveTheEndIsIgnoredWithALine) {
  auto row = [](int id, int jt1, int jt2, double x1, double y1, double x2, double y2) {
    Palvek::WallRow w;
    w.wallId = id;
    w.jt1Id = jt1;
    w.jt2Id = jt2;
    w.x1 = x1;
    w.y1 = y1;
    w.x2 = x2;
    w.y2 = y2;
    w.b = 200;
    return w;
  };
  const Palvek::WallRow wall = row(1, 11, 12, 0, 0, 6000, 0);
  const Palvek::WallRow parallel = row(2, 12, 13, 6000, 0, 9000, 0);
  const Palvek::WallRow across = row(3, 99, 14, 0, 0, 0, 3000);
  const std::vector<Palvek::ConnectedWallPair> pairs = {{12, &parallel}, {99, &across}};
  Utils::MessageCapture capture;
  const Utils::WallEndsByWall ends = Utils::adjustWallByWall(wall, pairs);
  EXPECT_EQ(capture.take(),
            "Wall_1, 节点12处的墙Wall_2与之平行，该端不按此墙调整\n"
            "Wall_1, 节点99不是墙的端点，不按墙Wall_3调整\n");
  EXPECT_EQ(std::vector<double>({ends.x1, ends.y1, ends.x2, ends.y2}),
            std::vector<double>({0, 0, 6000, 0}));
  EXPECT_FALSE(ends.plane1 || ends.plane2);
}

}  // namespace
