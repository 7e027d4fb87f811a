// Secondary beams, columns and braces read from small model databases.

#include <gtest/gtest.h>

#include <sstream>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/sub_beam.h"

namespace {

using db::Value;
namespace md = modeldb;

// One standard floor with joints at (0,0), (6000,0) raised 100 mm, and (6000,4000).
struct Storey {
  md::ModelDb m;
  Value sf = m.add(md::StdFloor{.height = 3000});
  Value a = m.joint(sf, 0, 0);
  Value b = m.joint(sf, 6000, 0, 100);
  Value c = m.joint(sf, 6000, 4000);
};

TEST(SubBeamReader, RowsCarryEndPointsAndTopOffsetsIncludingTheJointsOwn) {
  md::TempPath path("subbeam");
  Storey s;
  const Value sect = s.m.add(md::BeamSect{.kind = 1, .shapeVal = "1,250,500", .mat = 6});
  const Value id = s.m.add(md::SubBeam{
      .stdFlr = s.sf, .grid = s.m.line(s.a, s.b), .sect = sect, .hDiff1 = -50, .hDiff2 = 0});
  s.m.write(path);
  std::ostringstream report;
  const auto rows = SubBeam::getBeams(db::Database::openReadOnly(path), report);
  ASSERT_EQ(rows.size(), 1u);
  const SubBeam::SubBeamRow& r = rows[0];
  EXPECT_EQ(r.id, id);
  EXPECT_EQ(r.stdFlrId, s.sf);
  EXPECT_DOUBLE_EQ(r.x2, 6000);
  EXPECT_DOUBLE_EQ(r.z1, -50);
  EXPECT_DOUBLE_EQ(r.z2, 100);
  EXPECT_EQ(r.shapeVal.asText(), "1,250,500");
  EXPECT_EQ(r.kind, Value(1));
  EXPECT_EQ(r.jt1Id, s.a);
  EXPECT_TRUE(report.str().empty());
}

TEST(SubBeamReader, ASecondaryBeamWithoutItsGridLineIsReportedOnceAndLeftOut) {
  md::TempPath path("subbeam");
  Storey s;
  const Value sect = s.m.add(md::BeamSect{});
  s.m.add(md::SubBeam{.id = 41, .stdFlr = s.sf, .grid = 999, .sect = sect});
  s.m.add(md::SubBeam{.id = 42, .stdFlr = s.sf, .grid = s.m.line(s.a, s.c), .sect = 999});
  s.m.write(path);
  std::ostringstream report;
  const auto rows = SubBeam::getBeams(db::Database::openReadOnly(path), report);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].id, Value(42));
  EXPECT_TRUE(rows[0].shapeVal.isNull()) << "a missing section is the builder's to report";
  EXPECT_EQ(report.str(), "SubBeam_41, X1为空，已跳过\n");
}

TEST(ColumnReader, RowsHoldTheJointPositionAndTheSectionOfTheColumnTable) {
  md::TempPath path("column");
  Storey s;
  const Value sect = s.m.add(md::ColSect{.kind = 1, .shapeVal = "1,600,600", .mat = 6});
  s.m.add(md::ColSeg{.stdFlr = s.sf,
                     .jt = s.c,
                     .sect = sect,
                     .eccX = 100,
                     .eccY = -50,
                     .rotation = 90,
                     .hDiffB = 200,
                     .hDiff = -50});
  s.m.write(path);
  const auto rows = Column::getColumns(db::Database::openReadOnly(path));
  ASSERT_EQ(rows.size(), 1u);
  const Column::ColumnRow& c = rows[0];
  EXPECT_EQ(c.jtId, s.c);
  EXPECT_DOUBLE_EQ(c.x, 6000);
  EXPECT_DOUBLE_EQ(c.y, 4000);
  EXPECT_DOUBLE_EQ(c.eccX, 100);
  EXPECT_DOUBLE_EQ(c.eccY, -50);
  EXPECT_DOUBLE_EQ(c.rotation, 90);
  EXPECT_DOUBLE_EQ(c.hDiffB, 200);
  EXPECT_DOUBLE_EQ(c.hDiff, -50);
  EXPECT_EQ(c.shapeVal.asText(), "1,600,600");
  EXPECT_EQ(c.mat, Value(6));
}

TEST(ColumnReader, NullOrTextGeometryIsReportedByFieldAndTheColumnLeftOut) {
  md::TempPath path("column");
  Storey s;
  const Value sect = s.m.add(md::ColSect{});
  s.m.add(md::ColSeg{.id = 5, .stdFlr = s.sf, .jt = 77, .sect = sect});
  s.m.add(md::ColSeg{.id = 6, .stdFlr = s.sf, .jt = s.a, .sect = sect, .rotation = "abc"});
  s.m.add(md::ColSeg{.id = 7, .stdFlr = s.sf, .jt = s.a, .sect = sect, .hDiff = Value()});
  s.m.add(md::ColSeg{.id = 8, .stdFlr = s.sf, .jt = s.a, .sect = sect});
  s.m.write(path);
  std::ostringstream report;
  const auto rows = Column::getColumns(db::Database::openReadOnly(path), report);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].id, Value(8));
  EXPECT_EQ(report.str(),
            "Column_5, X为空，已跳过\n"
            "Column_6, Rotation不是有限数值，已跳过\n"
            "Column_7, HDiff为空，已跳过\n");
}

TEST(BraceReader, RowsHoldBothJointsWithTheirHeightOffsetsAndTheBraceSection) {
  md::TempPath path("brace");
  Storey s;
  const Value sect = s.m.add(md::BraceSect{.kind = 3, .shapeVal = "3,180", .mat = 5});
  s.m.add(md::BraceSeg{.stdFlr = s.sf,
                       .jt1 = s.a,
                       .jt2 = s.b,
                       .sect = sect,
                       .eccX1 = 50,
                       .hDiff1 = 0,
                       .hDiff2 = 1,
                       .rotation = 30});
  s.m.write(path);
  const auto rows = Brace::getBraces(db::Database::openReadOnly(path));
  ASSERT_EQ(rows.size(), 1u);
  const Brace::BraceRow& b = rows[0];
  EXPECT_EQ(b.jt1Id, s.a);
  EXPECT_EQ(b.jt2Id, s.b);
  EXPECT_DOUBLE_EQ(b.eccX1, 50);
  EXPECT_DOUBLE_EQ(b.hDiff2, 1);
  EXPECT_DOUBLE_EQ(b.rotation, 30);
  EXPECT_DOUBLE_EQ(b.x2, 6000);
  EXPECT_DOUBLE_EQ(b.zDiff1, 0);
  EXPECT_DOUBLE_EQ(b.zDiff2, 100);
  EXPECT_EQ(b.shapeVal.asText(), "3,180");
  EXPECT_EQ(b.kind, Value(3));
}

TEST(MemberReaders, RowsOfSeveralStandardFloorsComeGroupedByFloor) {
  md::TempPath path("order");
  md::ModelDb m;
  const Value sf2 = m.add(md::StdFloor{.id = 2});
  const Value sf1 = m.add(md::StdFloor{.id = 1});
  const Value sect = m.add(md::ColSect{});
  const Value j2 = m.joint(sf2, 0, 0), j1 = m.joint(sf1, 0, 0);
  m.add(md::ColSeg{.id = 10, .stdFlr = sf2, .jt = j2, .sect = sect});
  m.add(md::ColSeg{.id = 11, .stdFlr = sf1, .jt = j1, .sect = sect});
  m.add(md::ColSeg{.id = 12, .stdFlr = sf2, .jt = j2, .sect = sect});
  m.write(path);
  const auto rows = Column::getColumns(db::Database::openReadOnly(path));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].id, Value(11));
  EXPECT_EQ(rows[1].id, Value(10));
  EXPECT_EQ(rows[2].id, Value(12));
}

}  // namespace
