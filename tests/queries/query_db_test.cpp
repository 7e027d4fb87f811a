// The beam, wall and wall-opening queries on small model databases, and the connectivity on
// the rows they return.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/column.h"

namespace {

using db::Value;
namespace md = modeldb;

TEST(MemberQueries, TheGivenQueryTextsAreKeptWordForWord) {
  EXPECT_EQ(std::strlen(Beam::kBeamSql), 1030u);
  EXPECT_EQ(std::strlen(Palvek::kWallSql), 1061u);
  EXPECT_NE(std::string(Palvek::kWallHoleSql).find("and                    GridID = ?"),
            std::string::npos);
}

// One standard floor: a 6000 x 4000 bay with an arc beam over a quarter circle, a column at
// joint b and a wall from d to a.
struct Bay {
  md::ModelDb m;
  Value sf = m.add(md::StdFloor{.id = 4});
  Value a = m.joint(sf, 0, 0);
  Value b = m.joint(sf, 6000, 0);
  Value c = m.joint(sf, 6000, 4000, 150);
  Value d = m.joint(sf, 0, 4000);
  Value o = m.joint(sf, 6000, 8000);
  Value sect = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,300,600", .mat = 6});
  Value ab = m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(a, b), .sect = sect, .ecc = 50});
  Value bc =
      m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(b, c), .sect = sect, .hDiff2 = -50.0});
  Value cd = m.add(
      md::BeamSeg{.stdFlr = sf, .grid = m.line(c, d), .sect = sect, .hDiff1 = -150, .hDiff2 = 0});
  Value arcBeam =
      m.add(md::BeamSeg{.stdFlr = sf, .grid = m.arc(o, c, m.joint(sf, 2000, 8000)), .sect = sect});
  Value col = m.add(md::ColSeg{.stdFlr = sf, .jt = b, .sect = m.add(md::ColSect{})});
  Value wallSect = m.add(md::WallSect{.b = 250.0});
  Value daGrid = m.line(d, a);
  Value wallDa = m.add(md::WallSeg{
      .stdFlr = sf, .grid = daGrid, .sect = wallSect, .hDiff1 = 0, .hDiff2 = -300.0, .hDiffB = 0});
};

TEST(GetBeams, RowsCarryJointsHeightOffsetsAsStoredSectionAndTheArcCentre) {
  md::TempPath path("beams");
  Bay bay;
  bay.m.write(path);
  std::ostringstream report;
  const auto beams = Beam::getBeams(db::Database::openReadOnly(path), report);
  ASSERT_EQ(beams.size(), 4u);
  EXPECT_TRUE(report.str().empty()) << report.str();
  const Beam::BeamRow& ab = beams[0];
  EXPECT_EQ(ab.floorId, Value(4));
  EXPECT_EQ(ab.beamId, bay.ab);
  EXPECT_DOUBLE_EQ(ab.ecc, 50);
  EXPECT_EQ(ab.jt1Id, bay.a);
  EXPECT_EQ(ab.jt2Id, bay.b);
  EXPECT_DOUBLE_EQ(ab.x2, 6000);
  EXPECT_EQ(ab.shapeVal.asText(), "1,300,600");
  EXPECT_EQ(ab.mat, Value(6));
  EXPECT_GT(ab.axisJt1Id, 0);
  EXPECT_FALSE(ab.x0) << "no joint has a negative id";
  const Beam::BeamRow& cd = beams[2];
  EXPECT_DOUBLE_EQ(cd.elevation1(), 0) << "HDiff1 -150 on a joint raised 150";
  // A sloped beam's Description is written from the offsets, so each keeps its stored class.
  EXPECT_EQ(cd.hDiff1.str(), "-150");
  EXPECT_EQ(cd.zDiff1.str(), "150");
  EXPECT_EQ(beams[1].hDiff2.str(), "-50.0");
  EXPECT_EQ(beams[1].zDiff2.str(), "150");
  const Beam::BeamRow& arc = beams[3];
  EXPECT_TRUE(arc.isArc());
  EXPECT_EQ(arc.axisJt1Id, -static_cast<double>(bay.o.asInteger()));
  EXPECT_EQ(arc.x0, 6000);
  EXPECT_EQ(arc.y0, 8000);
}

TEST(GetBeams, BeamsWithoutTheirGeometryAreReportedOnceAndBeamsWithoutSectionOrAxisKept) {
  md::TempPath path("beams");
  md::ModelDb m;
  const Value sf = m.add(md::StdFloor{});
  const Value a = m.joint(sf, 0, 0), b = m.joint(sf, 6000, 0), c = m.joint(sf, 0, 6000);
  const Value g = m.line(a, b);
  m.add(md::BeamSeg{.id = 11, .stdFlr = sf, .grid = 404, .sect = 1});
  m.add(md::BeamSeg{.id = 12, .stdFlr = sf, .grid = g, .sect = 404});
  m.add(md::BeamSeg{.id = 13, .stdFlr = sf, .grid = m.arc(Value(999), a, c), .sect = 404});
  const Value axisless = m.line(a, c);
  m.add(md::BeamSeg{.id = 14, .stdFlr = sf, .grid = axisless, .sect = 404});
  m.add(md::BeamSeg{.id = 15, .stdFlr = sf, .grid = g, .sect = 404, .hDiff2 = Value()});
  m.write(path);
  md::ModelDb::exec(path, "delete from tblAxis where ID = (select AxisID from tblGrid where ID = " +
                              axisless.str() + ")");
  std::ostringstream report;
  const auto beams = Beam::getBeams(db::Database::openReadOnly(path), report);
  ASSERT_EQ(beams.size(), 2u);
  EXPECT_EQ(beams[0].beamId, Value(12));
  EXPECT_TRUE(beams[0].shapeVal.isNull());
  EXPECT_TRUE(beams[0].kind.isNull());
  // A grid line without its axis row lies on a straight axis: code 0, no arc.
  EXPECT_EQ(beams[1].beamId, Value(14));
  EXPECT_EQ(beams[1].axisJt1Id, 0.0);
  EXPECT_FALSE(beams[1].isArc());
  EXPECT_EQ(report.str(),
            "Beam_11, X1为空，已跳过\n"
            "Beam_13, X0为空，已跳过\n"
            "Beam_15, HDiff2为空，已跳过\n");
}

TEST(GetPalveks, WallRowsKeepTheClassOfThicknessAndHeightOffsets) {
  md::TempPath path("walls");
  Bay bay;
  bay.m.write(path);
  const auto walls = Palvek::getPalveks(db::Database::openReadOnly(path));
  ASSERT_EQ(walls.size(), 1u);
  const Palvek::WallRow& w = walls[0];
  EXPECT_EQ(w.wallId, bay.wallDa);
  EXPECT_EQ(w.gridId, bay.daGrid);
  EXPECT_EQ(w.jt1Id, bay.d);
  EXPECT_DOUBLE_EQ(w.y1, 4000);
  EXPECT_EQ(w.b.str(), "250.0");
  EXPECT_EQ(w.hDiff1.str(), "0");
  EXPECT_EQ(w.hDiff2.str(), "-300.0");
  EXPECT_GT(w.axisJt1Id, 0);
  EXPECT_FALSE(w.x0);
}

TEST(GetPalveks, WallsWithoutTheirGeometryAreReportedOnceAndWallsWithoutSectionKept) {
  md::TempPath path("walls");
  md::ModelDb m;
  const Value sf = m.add(md::StdFloor{});
  const Value a = m.joint(sf, 0, 0), b = m.joint(sf, 6000, 0), o = m.joint(sf, 0, 6000);
  const Value sect = m.add(md::WallSect{});
  m.add(md::WallSeg{.id = 21, .stdFlr = sf, .grid = 404, .sect = sect});
  m.add(md::WallSeg{.id = 22, .stdFlr = sf, .grid = m.line(a, b), .sect = 404});
  m.add(md::WallSeg{.id = 23, .stdFlr = sf, .grid = m.arc(o, a, b), .sect = sect});
  m.add(md::WallSeg{.id = 24, .stdFlr = sf, .grid = m.arc(Value(999), a, b), .sect = sect});
  m.add(md::WallSeg{.id = 25, .stdFlr = sf, .grid = m.line(a, b), .sect = sect, .hDiffB = Value()});
  m.write(path);
  std::ostringstream report;
  const auto walls = Palvek::getPalveks(db::Database::openReadOnly(path), report);
  ASSERT_EQ(walls.size(), 2u);
  EXPECT_EQ(walls[0].wallId, Value(22));
  EXPECT_TRUE(walls[0].b.isNull() && walls[0].kind.isNull() && walls[0].mat.isNull());
  const Palvek::WallRow& arc = walls[1];
  EXPECT_EQ(arc.wallId, Value(23));
  EXPECT_TRUE(arc.isArc());
  EXPECT_EQ(arc.axisJt1Id, -static_cast<double>(o.asInteger()));
  EXPECT_EQ(arc.x0, 0);
  EXPECT_EQ(arc.y0, 6000);
  EXPECT_EQ(report.str(),
            "Wall_21, X1为空，已跳过\n"
            "Wall_24, X0为空，已跳过\n"
            "Wall_25, HDiffB为空，已跳过\n");
}

TEST(GetWallHoles, OpeningsOfOneGridLineAndFloorAreReadWithBoundValues) {
  md::TempPath path("holes");
  Bay bay;
  const Value def = bay.m.add(md::WallHoleDef{.b = 900, .h = 2100.0});
  bay.m.add(md::WallHole{.stdFlr = bay.sf, .grid = bay.daGrid, .sect = def, .ecc = 1, .hDiff = 0});
  bay.m.add(
      md::WallHole{.stdFlr = bay.sf, .grid = bay.daGrid, .sect = 404, .ecc = -500, .hDiff = 900});
  bay.m.add(md::WallHole{.stdFlr = 99, .grid = bay.daGrid, .sect = def});
  bay.m.add(md::WallHole{.stdFlr = bay.sf, .grid = bay.daGrid, .sect = def, .ecc = Value()});
  bay.m.write(path);
  const auto conn = db::Database::openReadOnly(path);
  std::ostringstream report;
  const auto holes = Palvek::getWallHoles(conn, bay.sf, bay.daGrid, report);
  EXPECT_EQ(report.str(), "WallHole_" + bay.daGrid.str() + ", Ecc为空，已跳过\n")
      << "an opening without position is named by its grid line";
  ASSERT_EQ(holes.size(), 2u);
  EXPECT_DOUBLE_EQ(holes[0].ecc, 1);
  EXPECT_EQ(holes[0].b.str(), "900");
  EXPECT_EQ(holes[0].h.str(), "2100.0");
  EXPECT_DOUBLE_EQ(holes[1].hDiff, 900);
  EXPECT_TRUE(holes[1].b.isNull()) << "an opening without definition keeps its row";
  Palvek::WallHoleQuery query(conn);
  std::ostringstream again;
  EXPECT_EQ(query(bay.sf, bay.daGrid, again), holes);
  EXPECT_TRUE(query(bay.sf, Value(12345)).empty());
  EXPECT_TRUE(query(Value("4 or 1=1"), bay.daGrid).empty()) << "values are bound, never pasted";
}

TEST(Connectivity, ColumnsAndWallsReadFromTheDatabaseBlockTheirJoints) {
  md::TempPath path("connect");
  Bay bay;
  bay.m.write(path);
  const auto conn = db::Database::openReadOnly(path);
  const auto beams = Beam::getBeams(conn);
  const auto columns = Column::getColumns(conn);
  const auto walls = Palvek::getPalveks(conn);
  // Beam c-d: joint c is free and carried by b-c; joint d is a wall end.
  const auto cd = Beam::getConnectBeams(beams[2], beams, columns, walls);
  ASSERT_EQ(cd.size(), 1u);
  EXPECT_EQ(cd[0].jointId, bay.c);
  EXPECT_EQ(cd[0].beam->beamId, bay.bc);
  // Beam a-b: joint a is a wall end, joint b carries a column.
  EXPECT_TRUE(Beam::getConnectBeams(beams[0], beams, columns, walls).empty());
  EXPECT_TRUE(Beam::getConnectBeams(beams[3], beams, columns, walls).empty()) << "arc beam";
  // The wall d-a: beam c-d frames into d across it, a-b into a.
  const auto framing = Palvek::getConnectBeams(walls[0], beams, columns, walls);
  ASSERT_EQ(framing.size(), 2u);
  EXPECT_EQ(framing[0].beams.front()->beamId, bay.cd);
  EXPECT_EQ(framing[1].beams.front()->beamId, bay.ab);
  EXPECT_TRUE(Palvek::getConnectWalls(walls[0], beams, columns, walls).empty());
}

}  // namespace
