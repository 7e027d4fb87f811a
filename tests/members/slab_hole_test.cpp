// Slab openings through the written file: the prism of each opening, the openings of folded
// and split slabs, and the rows that cannot be built.
#include <gtest/gtest.h>

#include "slab_model.h"

namespace members_test {
namespace {

using SlabOpenings = SlabModel;

// The building element an opening voids.
ifc::Entity voided(const ifc::Entity& opening) {
  const std::vector<ifc::Entity> relations = opening.inverse("VoidsElements");
  EXPECT_EQ(relations.size(), 1U);
  return relations.empty() ? ifc::Entity()
                           : relations.front().get("RelatingBuildingElement").asEntity();
}

TEST_F(SlabOpenings, EachRowIsAVerticalPrismFromTheStoreyBaseOverItsTurnedRectangle) {
  const Value host = slab({{0, 0}, {6000, 0}, {6000, 6000}, {0, 6000}}, 120);
  const Value ref = jt(1000, 2000);
  const Value rect = m.add(modeldb::SlabHoleDef{.shapeVal = "1,600,400"});
  const Value round = m.add(modeldb::SlabHoleDef{.kind = 2, .shapeVal = "2,500"});
  const Value wider = m.add(modeldb::SlabHoleDef{.shapeVal = "1,600.5,400"});
  const Value flat = m.add(modeldb::SlabHoleDef{.shapeVal = "1,0,400"});
  const struct Case {
    Value sect;
    double eccX, eccY, rotation;
    bool built;
    Box box;
  } cases[] = {
      {rect, 0, 0, 0, true, {{1000, 2000, 0}, {1600, 2400, 10000}}},
      {rect, 100, -50, 0, true, {{1100, 1950, 0}, {1700, 2350, 10000}}},
      {rect, 0, 0, 90, true, {{600, 2000, 0}, {1000, 2600, 10000}}},
      // Only rectangles are defined; the next row keeps its own size.
      {round, 0, 0, 0, false, {}},
      {wider, 0, 0, 0, true, {{1000, 2000, 0}, {1600.5, 2400, 10000}}},
      {flat, 0, 0, 0, false, {}},
  };
  std::vector<Value> ids;
  for (const Case& c : cases) {
    ids.push_back(m.add(modeldb::SlabHole{.stdFlr = sf,
                                          .slab = host,
                                          .jt = ref,
                                          .sect = c.sect,
                                          .eccX = c.eccX,
                                          .eccY = c.eccY,
                                          .rotation = c.rotation}));
  }
  EXPECT_EQ(convert(), "SlabHole_" + ids[3].str() + ", 洞口类型2未定义，已跳过\nSlabHole_" +
                           ids[5].str() + ", 洞口尺寸'1,0,400'的宽度或高度不是正数，已跳过\n");
  const std::vector<ifc::Entity> openings = productsNamed(*model, "Slab_Hole");
  ASSERT_EQ(openings.size(), 4U);
  std::size_t next = 0;
  for (const Case& c : cases) {
    if (!c.built) continue;
    SCOPED_TRACE(next);
    const ifc::Entity opening = openings[next++];
    EXPECT_EQ(opening.type(), "IfcOpeningElement");
    expectBox(productBox(opening), c.box, 1e-6);
    EXPECT_EQ(voided(opening), product(*model, "Slab_" + host.str()));
  }
  EXPECT_EQ(bodyItem(openings[3]).get("SweptArea").asEntity().get("XDim").asDouble(), 600.5);
}

TEST_F(SlabOpenings, FoldedSlabsKeepVerticalOpeningsAndEachPanelOfASplitSlabGetsItsOwn) {
  const Value folded = slab({{0, 0}, {3000, 0}, {3000, 3000}, {0, 3000}}, 120);
  m.fold(folded, {{500, 500}, {1500, 500}, {1500, 1500}}, {}, 50, 200);
  const Value split = slab({{10000, 0}, {16000, 0}, {16000, 3000, 300}, {10000, 3000}});
  const Value rect = m.add(modeldb::SlabHoleDef{.shapeVal = "1,600,400"});
  m.add(modeldb::SlabHole{.stdFlr = sf, .slab = folded, .jt = jt(2000, 2000), .sect = rect});
  for (double x : {11000.0, 13000.0}) {
    m.add(modeldb::SlabHole{.stdFlr = sf, .slab = split, .jt = jt(x, 1000), .sect = rect});
  }
  const std::string printed = convert();
  EXPECT_NE(printed.find("按三角形生成"), std::string::npos);

  const std::vector<ifc::Entity> openings = productsNamed(*model, "Slab_Hole");
  ASSERT_EQ(openings.size(), 5U);
  expectBox(productBox(openings[0]), {{2000, 2000, 0}, {2600, 2400, 10000}});
  EXPECT_EQ(voided(openings[0]), product(*model, "Slab_" + folded.str()));
  // Two panels, two openings each, at the same places; each set voids its own panel.
  const std::string name = "Slab_" + split.str();
  const ifc::Entity panels[] = {product(*model, name + "_1"), product(*model, name + "_2")};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const double x = i % 2 == 0 ? 11000 : 13000;
    expectBox(productBox(openings[1 + i]), {{x, 1000, 0}, {x + 600, 1400, 10000}});
    EXPECT_EQ(voided(openings[1 + i]), panels[i / 2]);
  }
}

TEST_F(SlabOpenings, OnAStoreyTallerThanTheirTenMetresTheyStillPassThroughTheSlab) {
  // The floor is rebuilt for a second storey 12000 high at elevation 3000; the sloped slab's
  // top rises 600 over its 6000 mm.
  m.add(modeldb::Floor{.stdFlr = sf, .no = 2, .levelB = 3000, .height = 12000});
  const Value flat = slab({{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}}, 120);
  const Value sloped = slab({{10000, 0}, {16000, 0, 600}, {16000, 4000, 600}, {10000, 4000}}, 120);
  const Value rect = m.add(modeldb::SlabHoleDef{.shapeVal = "1,600,400"});
  for (const auto& [host, x] : {std::pair{flat, 1000.0}, std::pair{sloped, 11000.0}}) {
    m.add(modeldb::SlabHole{.stdFlr = sf, .slab = host, .jt = jt(x, 2000), .sect = rect});
  }
  EXPECT_EQ(convert(), "");
  const std::vector<ifc::Entity> openings = productsNamed(*model, "Slab_Hole");
  ASSERT_EQ(openings.size(), 4U);
  // On the 3000 storey as ever; on the tall one 20 mm past the top over the opening's corners.
  expectBox(productBox(openings[0]), {{1000, 2000, 0}, {1600, 2400, 10000}});
  expectBox(productBox(openings[1]), {{11000, 2000, 0}, {11600, 2400, 10000}});
  expectBox(productBox(openings[2]), {{1000, 2000, 3000}, {1600, 2400, 3000 + 12020}});
  expectBox(productBox(openings[3]),
            {{11000, 2000, 3000}, {11600, 2400, 3000 + 12000 + 600 * 1600 / 6000.0 + 20}});
}

}  // namespace
}  // namespace members_test
