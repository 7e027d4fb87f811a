// Cantilever slabs through the written file: their place along straight and arc edges,
// their thickness codes, and the rows that cannot be built.
#include <gtest/gtest.h>

#include <cmath>

#include "slab_model.h"

namespace members_test {
namespace {

using CantiSlabs = SlabModel;

TEST_F(CantiSlabs, StraightAndArcEdgesCarryABandOnTheirSide) {
  const struct Case {
    double ecc, side, length, hDrop, hDiff1;
    bool arc;
    Box box;  // for the edge from (0, 0) to (6000, 0), or the arc of radius 5000 about (0, 0)
    Corner end = {0, 5000};  // the arc's end 2; it starts at (5000, 0)
    double width = 0;        // 0: 1000 along an arc, 1500 along a straight edge
  } cases[] = {
      {1000, 1, 2000, 0, 0, false, {{1000, 0, 2850}, {3000, 1500, 3000}}},
      {1000, -7, 2000, 0, 0, false, {{1000, -1500, 2850}, {3000, 0, 3000}}},
      // Length 0: the rest of the edge from the start.
      {1000, 1, 0, 0, 0, false, {{1000, 0, 2850}, {7000, 1500, 3000}}},
      // A negative start counts back from the far end.
      {-500, 1, 2000, 0, 0, false, {{3500, 0, 2850}, {5500, 1500, 3000}}},
      {-500, 1, 0, 0, 0, false, {{-500, 0, 2850}, {5500, 1500, 3000}}},
      // Below the storey top by HDrop, raised by the first end's height.
      {1000, 1, 2000, 100, 50, false, {{1000, 0, 2800}, {3000, 1500, 2950}}},
      {0, 1, 0, 0, 0, true, {{0, 0, 2850}, {6000, 6000, 3000}}},
      {0, -1, 0, 0, 0, true, {{0, 0, 2850}, {5000, 5000, 3000}}},
      // Clockwise, and a half circle counter-clockwise.
      {0, 1, 0, 0, 0, true, {{0, -6000, 2850}, {6000, 0, 3000}}, {0, -5000}},
      {0, 1, 0, 0, 0, true, {{-6000, 0, 2850}, {6000, 6000, 3000}}, {-5000, 0}},
      // A band inwards as wide as the radius: the sector of 60 degrees.
      {0,
       -1,
       0,
       0,
       0,
       true,
       {{0, 0, 2850}, {5000, 2500 * std::sqrt(3.0), 3000}},
       {2500, 2500 * std::sqrt(3.0)},
       5000},
  };
  std::vector<Value> ids;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const double dy = 20000.0 * static_cast<double>(i);
    const Value edge = c.arc ? m.arc(jt(0, dy), jt(5000, dy, c.hDiff1), jt(c.end.x, dy + c.end.y))
                             : m.line(jt(0, dy, c.hDiff1), jt(6000, dy));
    ids.push_back(m.add(modeldb::CantiSlab{.stdFlr = sf,
                                           .grid = edge,
                                           .hDrop = c.hDrop,
                                           .ecc = c.ecc,
                                           .side = c.side,
                                           .length = c.length,
                                           .width = c.width ? c.width
                                                    : c.arc ? 1000
                                                            : 1500,
                                           .thick = 150}));
  }
  EXPECT_EQ(convert(), "");
  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(i);
    const ifc::Entity p = product(*model, "CantiSlab_" + ids[i].str());
    EXPECT_EQ(p.type(), "IfcSlab");
    Box want = cases[i].box;
    want.min[1] += 20000.0 * static_cast<double>(i);
    want.max[1] += 20000.0 * static_cast<double>(i);
    expectBox(productBox(p), want, 1e-6);
    EXPECT_EQ(bodyItem(p).type(), cases[i].arc ? "IfcRevolvedAreaSolid" : "IfcExtrudedAreaSolid");
  }
}

TEST_F(CantiSlabs, ThicknessCodesAndTheSlabBehindTheEdge) {
  auto edge = [&](double y) { return grid({0, y}, {6000, y}); };
  // Slabs behind the edges at y = 0 (200 thick) and y = 10000 (zero thickness).
  slab({{0, 0}, {6000, 0}, {6000, -3000}, {0, -3000}}, 200);
  slab({{0, 10000}, {6000, 10000}, {6000, 7000}, {0, 7000}}, 0);
  // Grid 9012 on its own; grid 19012, whose id text holds "9012", bounds a slab.
  const Value a = jt(0, 20000), b = jt(6000, 20000), c = jt(0, 30000), d = jt(6000, 30000);
  const Value lone = m.add(modeldb::Grid{
      .id = 9012, .jt1 = a, .jt2 = b, .axis = m.add(modeldb::Axis{.jt1 = a, .jt2 = b})});
  const Value holder = m.add(modeldb::Grid{
      .id = 19012, .jt1 = c, .jt2 = d, .axis = m.add(modeldb::Axis{.jt1 = c, .jt2 = d})});
  m.add(modeldb::Slab{.stdFlr = sf,
                      .grids = {holder, grid({6000, 30000}, {6000, 33000}),
                                grid({6000, 33000}, {0, 33000}), grid({0, 33000}, {0, 30000})},
                      .thick = 300});

  const struct Case {
    Value grid;
    Value thick;
    double want;
  } cases[] = {
      {edge(40000), 150, 150},   // as stored
      {edge(40000), 9999, 120},  // the floor's default
      {edge(0), 0, 200},         // the slab behind the edge
      {edge(10000), 0, 10},      // ... whose own thickness is zero
      {edge(40000), 0, 120},     // no slab behind: reported, the default
      {lone, 0, 120},            // only exact grid ids count
  };
  std::vector<Value> ids;
  for (const Case& k : cases) {
    ids.push_back(m.add(modeldb::CantiSlab{
        .stdFlr = sf, .grid = k.grid, .side = 1, .width = 1000, .thick = k.thick}));
  }
  EXPECT_EQ(convert(), "CantiSlab_" + ids[4].str() + ", 板厚为0但无邻接板\nCantiSlab_" +
                           ids[5].str() + ", 板厚为0但无邻接板\n");
  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(i);
    const Box b = box("CantiSlab_" + ids[i].str());
    EXPECT_NEAR(b.max[2], 3000, 1e-6);
    EXPECT_NEAR(b.max[2] - b.min[2], cases[i].want, 1e-6);
  }
}

TEST_F(CantiSlabs, WithoutASideOrAnEdgeLengthTheyAreReportedAndLeftOutInEitherRunMode) {
  const Value edge = grid({0, 0}, {6000, 0});
  const Value noSide =
      m.add(modeldb::CantiSlab{.stdFlr = sf, .grid = edge, .side = 0, .thick = 150});
  // Two joints at one point.
  const Value point = m.line(m.joint(sf, 0, 10000), m.joint(sf, 0, 10000));
  const Value noEdge =
      m.add(modeldb::CantiSlab{.stdFlr = sf, .grid = point, .side = 1, .thick = 150});
  const Value kept = m.add(modeldb::CantiSlab{.stdFlr = sf, .grid = edge, .thick = 150});
  const Value arc = m.arc(jt(0, 20000), jt(5000, 20000), jt(0, 25000));
  const Value band = m.add(modeldb::CantiSlab{.stdFlr = sf, .grid = arc, .thick = 0});
  const std::string reports =
      "CantiSlab_" + noSide.str() + ", 悬挑方向Side为0，已跳过\nCantiSlab_" + noEdge.str() +
      ", 支承边长度为0，已跳过\nCantiSlab_" + band.str() + ", 板厚为0但无邻接板\n";
  // Threaded, the same products and the reports in row order.
  for (const bool mt : {false, true}) {
    SCOPED_TRACE(mt);
    EXPECT_EQ(convert(mt), (mt ? "use multithread\n" : "") + reports);
    EXPECT_TRUE(productsNamed(*model, "CantiSlab_" + noSide.str()).empty());
    EXPECT_TRUE(productsNamed(*model, "CantiSlab_" + noEdge.str()).empty());
    expectBox(box("CantiSlab_" + kept.str()), {{0, 0, 2850}, {6000, 1200, 3000}});
    expectBox(box("CantiSlab_" + band.str()), {{0, 20000, 2880}, {6200, 26200, 3000}});
  }
}

}  // namespace
}  // namespace members_test
