// Slabs, their outlines, adjacent beams and openings, and cantilever slabs.

#include <gtest/gtest.h>

#include <sstream>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "readers/grid.h"
#include "readers/slab.h"

namespace {

using db::Value;
namespace md = modeldb;
using Grid::OutlinePoint;
using Grid::OutlineSegment;

// A 6000 x 4000 bay whose corner (6000,4000) is raised 300 mm, with its four edges as grid
// lines listed out of chain order, and an arc edge over the top from (6000,4000) to (0,4000).
struct Bay {
  md::ModelDb m;
  Value sf = m.add(md::StdFloor{.height = 3000});
  Value a = m.joint(sf, 0, 0);
  Value b = m.joint(sf, 6000, 0);
  Value c = m.joint(sf, 6000, 4000, 300);
  Value d = m.joint(sf, 0, 4000);
  Value centre = m.joint(sf, 3000, 4000);
  Value ab = m.line(a, b);
  Value bc = m.line(b, c);
  Value cd = m.line(c, d);
  Value da = m.line(d, a);
  Value arcCd = m.arc(centre, c, d);
};

TEST(SlabReader, SlabsCarryTheirOutlineGridsAndVertexListsFromTheJoints) {
  md::TempPath path("slab");
  Bay bay;
  const Value id = bay.m.add(
      md::Slab{.stdFlr = bay.sf, .grids = {bay.ab, bay.cd, bay.bc, bay.da}, .thick = 120});
  bay.m.write(path);
  const auto slabs = Slab::getSlabs(db::Database::openReadOnly(path));
  ASSERT_EQ(slabs.size(), 1u);
  const Slab::SlabRow& s = slabs[0];
  EXPECT_EQ(s.id, id);
  EXPECT_EQ(s.vertX, "0,6000,6000,0,");
  EXPECT_EQ(s.vertY, "0,0,4000,4000,");
  EXPECT_EQ(s.vertZ, "0,0,300,0,");
  EXPECT_EQ(s.thick, Value(120));
  ASSERT_EQ(s.gridIds.size(), 4u);
  EXPECT_EQ(s.gridIds[1], bay.cd) << "grid ids keep their stored order";
  EXPECT_TRUE(s.hasGrid(bay.da));
  EXPECT_FALSE(s.hasGrid(Value(bay.da.asInteger() * 10 + bay.da.asInteger())))
      << "membership, not text containment";
}

TEST(SlabReader, ASlabWhoseOutlineGridIsMissingIsReportedAndLeftOut) {
  md::TempPath path("slab");
  Bay bay;
  bay.m.add(md::Slab{.id = 90, .stdFlr = bay.sf, .grids = {bay.ab, 777, bay.bc}});
  bay.m.add(md::Slab{.id = 91, .stdFlr = bay.sf, .grids = {bay.ab, bay.bc, bay.cd, bay.da}});
  md::Slab empty{.id = 92, .stdFlr = bay.sf};
  empty.vertX.emplace();  // NULL
  empty.vertY.emplace("");
  empty.vertZ.emplace();
  bay.m.add(empty);
  bay.m.write(path);
  md::ModelDb::exec(path,
                    "update tblJoint set Y = NULL where ID = " + std::to_string(bay.c.asInteger()));
  std::ostringstream report;
  const auto slabs = Slab::getSlabs(db::Database::openReadOnly(path), report);
  ASSERT_EQ(slabs.size(), 1u);
  EXPECT_EQ(slabs[0].id, Value(92)) << "a slab without outline is the builder's to skip";
  EXPECT_EQ(slabs[0].vertX, "");
  EXPECT_EQ(report.str(),
            "Slab_90, 轮廓网格777不存在，已跳过\n"
            "Slab_91, 轮廓网格" +
                bay.bc.str() + "的节点坐标缺失或无效，已跳过\n");
}

TEST(GridReader, StraightGridsGiveTwoPointsAndArcGridsTheirCentreFirst) {
  md::TempPath path("grid");
  Bay bay;
  bay.m.write(path);
  const auto cords =
      Grid::getCordByGrids(db::Database::openReadOnly(path), {bay.bc, bay.arcCd, Value(999)});
  ASSERT_EQ(cords.size(), 2u) << "an unknown grid gives no segment";
  EXPECT_EQ(cords[0].points, (std::vector<OutlinePoint>{{6000, 0, 0}, {6000, 4000, 300}}));
  EXPECT_FALSE(cords[0].isArc());
  EXPECT_EQ(cords[1].points,
            (std::vector<OutlinePoint>{{3000, 4000, 0}, {6000, 4000, 300}, {0, 4000, 0}}));
  EXPECT_TRUE(cords[1].isArc());
}

TEST(GridSort, StraightSegmentsInAnyOrderAndSenseGiveTheOutlineNodesInChainOrder) {
  const std::vector<OutlineSegment> cords = {
      {{{0, 0, 0}, {6000, 0, 0}}},
      {{{0, 4000, 0}, {6000, 4000, 300}}},  // reversed
      {{{6000, 0, 0}, {6000, 4000, 300}}},
      {{{0, 0, 0}, {0, 4000, 0}}},  // reversed
  };
  const auto nodes = Grid::sortGrids(cords);
  ASSERT_TRUE(nodes);
  EXPECT_EQ(*nodes,
            (std::vector<OutlinePoint>{{0, 0, 0}, {6000, 0, 0}, {6000, 4000, 300}, {0, 4000, 0}}));
  EXPECT_EQ(Grid::sortGrids({}), std::vector<OutlinePoint>{});
}

TEST(GridSort, ArcSegmentsAreTurnedAlongTheChainWithTheirCentreKept) {
  const std::vector<OutlineSegment> cords = {
      {{{0, 0, 0}, {6000, 0, 0}}},
      {{{0, 0, 0}, {0, 4000, 0}}},
      {{{3000, 4000, 0}, {0, 4000, 0}, {6000, 4000, 0}}},  // arc from d to c: against the chain
      {{{6000, 4000, 0}, {6000, 0, 0}}},
  };
  const auto sorted = Grid::sortCords(cords);
  ASSERT_TRUE(sorted);
  ASSERT_EQ(sorted->size(), 4u);
  EXPECT_EQ((*sorted)[1].points, (std::vector<OutlinePoint>{{6000, 0, 0}, {6000, 4000, 0}}));
  EXPECT_EQ((*sorted)[2].points,
            (std::vector<OutlinePoint>{{3000, 4000, 0}, {6000, 4000, 0}, {0, 4000, 0}}));
  EXPECT_EQ((*sorted)[3].points, (std::vector<OutlinePoint>{{0, 4000, 0}, {0, 0, 0}}));
}

TEST(GridSort, SegmentsThatDoNotCloseGiveNoOutline) {
  const std::vector<OutlineSegment> open = {
      {{{0, 0, 0}, {6000, 0, 0}}},
      {{{6000, 0, 0}, {6000, 4000, 0}}},
      {{{6000, 4000, 0}, {0, 4000, 0}}},
  };
  EXPECT_FALSE(Grid::sortGrids(open));
  EXPECT_FALSE(Grid::sortCords(open));
  EXPECT_FALSE(Grid::sortCords({{{{0, 0, 0}}}})) << "a segment of one point";
}

TEST(CantiSlabReader, StraightAndArcEdgesCarryTheirJointsAndTheArcItsCentre) {
  md::TempPath path("canti");
  Bay bay;
  const Value straight = bay.m.add(md::CantiSlab{.stdFlr = bay.sf,
                                                 .grid = bay.ab,
                                                 .hDrop = 50,
                                                 .ecc = 1000,
                                                 .side = -1,
                                                 .length = 2000,
                                                 .width = 1500,
                                                 .thick = 0});
  const Value arc = bay.m.add(md::CantiSlab{.stdFlr = bay.sf, .grid = bay.arcCd, .width = 1200.0});
  bay.m.add(md::CantiSlab{.id = 333, .stdFlr = bay.sf, .grid = 12345});
  bay.m.write(path);
  std::ostringstream report;
  const auto rows = Slab::getCantiSlabs(db::Database::openReadOnly(path), report);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].id, straight);
  EXPECT_DOUBLE_EQ(rows[0].hDrop, 50);
  EXPECT_DOUBLE_EQ(rows[0].side, -1);
  EXPECT_EQ(rows[0].thick, Value(0));
  EXPECT_TRUE(rows[0].width.isInteger());
  EXPECT_GT(rows[0].axisJt1Id, 0);
  EXPECT_FALSE(rows[0].x0);
  EXPECT_EQ(rows[1].id, arc);
  EXPECT_LT(rows[1].axisJt1Id, 0);
  EXPECT_EQ(rows[1].x0, 3000);
  EXPECT_EQ(rows[1].y0, 4000);
  EXPECT_DOUBLE_EQ(rows[1].zDiff1, 300);
  EXPECT_TRUE(rows[1].width.isReal()) << "the width keeps its class for the profile text";
  EXPECT_EQ(report.str(), "CantiSlab_333, X1为空，已跳过\n");
}

TEST(SlabReader, AdjacentBeamsAreTheBeamsOnTheOutlineGridsOfTheSlabsFloor) {
  md::TempPath path("adjacent");
  Bay bay;
  const Value other = bay.m.add(md::StdFloor{});
  const Value sect = bay.m.add(md::BeamSect{});
  const Value slab =
      bay.m.add(md::Slab{.stdFlr = bay.sf, .grids = {bay.ab, bay.bc, bay.cd, bay.da}});
  const Value beam1 =
      bay.m.add(md::BeamSeg{.stdFlr = bay.sf, .grid = bay.bc, .sect = sect, .hDiff1 = 200});
  const Value beam2 =
      bay.m.add(md::BeamSeg{.stdFlr = bay.sf, .grid = bay.ab, .sect = sect, .hDiff1 = -150});
  bay.m.add(md::BeamSeg{.stdFlr = other, .grid = bay.ab, .sect = sect});
  bay.m.add(md::BeamSeg{.stdFlr = bay.sf, .grid = bay.arcCd, .sect = sect});
  bay.m.write(path);
  const auto rows = Slab::getAdjacentBeams(db::Database::openReadOnly(path), slab);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].beamId, beam2);
  EXPECT_EQ(rows[0].hDiff, -150);
  EXPECT_EQ(rows[1].beamId, beam1);
  EXPECT_EQ(rows[1].hDiff, 200) << "the beam's end-1 top: its offset plus joint b's";
  EXPECT_EQ(rows[1].slabId, slab);
}

TEST(SlabReader, OpeningsAreReadPerFloorAndSlabFromTheirReferenceJoint) {
  md::TempPath path("holes");
  Bay bay;
  const Value slab =
      bay.m.add(md::Slab{.stdFlr = bay.sf, .grids = {bay.ab, bay.bc, bay.cd, bay.da}});
  const Value def = bay.m.add(md::SlabHoleDef{.kind = 1, .shapeVal = "1,600,400"});
  const Value hole = bay.m.add(md::SlabHole{.stdFlr = bay.sf,
                                            .slab = slab,
                                            .jt = bay.b,
                                            .sect = def,
                                            .eccX = 100,
                                            .eccY = -50,
                                            .rotation = 90});
  bay.m.add(md::SlabHole{.stdFlr = bay.sf, .slab = 4242, .jt = bay.b, .sect = def});
  bay.m.add(md::SlabHole{.id = 501, .stdFlr = bay.sf, .slab = slab, .jt = 999, .sect = def});
  bay.m.write(path);
  std::ostringstream report;
  const auto conn = db::Database::openReadOnly(path);
  const auto rows = Slab::getSlabHoles(conn, bay.sf, slab, report);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].id, hole);
  EXPECT_DOUBLE_EQ(rows[0].x0, 6000);
  EXPECT_DOUBLE_EQ(rows[0].y0, 0);
  EXPECT_DOUBLE_EQ(rows[0].eccX, 100);
  EXPECT_DOUBLE_EQ(rows[0].rotation, 90);
  EXPECT_EQ(rows[0].kind, Value(1));
  EXPECT_EQ(rows[0].shapeVal.asText(), "1,600,400");
  EXPECT_EQ(report.str(), "SlabHole_501, X0为空，已跳过\n");
  EXPECT_TRUE(Slab::getSlabHoles(conn, Value(12345), slab).empty());
}

}  // namespace
