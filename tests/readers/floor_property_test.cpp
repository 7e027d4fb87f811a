// Floors, project settings and member properties read from small model databases.

#include <gtest/gtest.h>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "readers/axis.h"
#include "readers/floor.h"
#include "readers/project.h"
#include "readers/property.h"

namespace {

using db::Value;
namespace md = modeldb;

TEST(FloorReaders, StandardFloorsComeInNumberOrderWithValuesAsStored) {
  md::TempPath path("floors");
  md::ModelDb m;
  m.add(md::StdFloor{.id = 7, .no = 2, .height = 3300.0, .para = "0,150"});
  m.add(md::StdFloor{.id = 3, .no = 1, .height = 3000, .para = "0,120"});
  m.write(path);
  const auto conn = db::Database::openReadOnly(path);

  const auto rows = Floor::getStdFlrs(conn);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].id, Value(3));
  EXPECT_TRUE(rows[0].height.isInteger());
  EXPECT_EQ(rows[0].para.asText(), "0,120");
  EXPECT_TRUE(rows[1].height.isReal());
  EXPECT_EQ(rows[1].height.str(), "3300.0");
  EXPECT_EQ(rows[1].no, Value(2));
}

TEST(FloorReaders, RealFloorsCarryTheirChineseNameAndTheirStandardFloorNumber) {
  md::TempPath path("floors");
  md::ModelDb m;
  const Value sf = m.add(md::StdFloor{.no = 5, .height = 3000});
  m.add(md::Floor{.stdFlr = sf, .no = 2, .name = "二层", .levelB = 3000, .height = 3000});
  m.add(md::Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0.0, .height = 3000});
  m.add(md::Floor{.stdFlr = 99, .no = 3, .name = "", .levelB = 6000, .height = 3000});
  m.write(path);
  const auto conn = db::Database::openReadOnly(path);

  const auto rows = Floor::getFloors(conn);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name.asText(), "首层");
  EXPECT_EQ(rows[0].no, Value(1));
  EXPECT_EQ(rows[0].stdFlrId, sf);
  EXPECT_TRUE(rows[0].levelB.isReal());
  EXPECT_EQ(rows[0].stdFlrNo, Value(5));
  EXPECT_EQ(rows[1].name.asText(), "二层");
  EXPECT_TRUE(rows[2].stdFlrNo.isNull()) << "a floor of an unknown standard floor is still read";
}

// Whether a project whose material code is `mat` counts as reinforced concrete.
bool concreteWith(const Value& mat) {
  md::TempPath path("project");
  md::ModelDb m;
  m.setProject({.name = "p", .mat = mat});
  m.write(path);
  return Project::IsConcrete(db::Database::openReadOnly(path));
}

TEST(ProjectReader, ReinforcedConcreteIsMaterialSixAndAnEmptyProjectIsNot) {
  EXPECT_TRUE(concreteWith(6));
  EXPECT_TRUE(concreteWith(6.0));
  EXPECT_FALSE(concreteWith(5));
  md::TempPath path("project");
  md::ModelDb m;
  m.write(path);
  md::ModelDb::exec(path, "delete from tblProject");
  EXPECT_FALSE(Project::IsConcrete(db::Database::openReadOnly(path)));
}

TEST(PropertyReaders, ExcludedIdsMatchNumbersByValueButNeverText) {
  md::TempPath path("props");
  md::ModelDb m;
  m.exclude(5);
  m.exclude(8.0);
  m.write(path);
  const auto ids = Property::getExcludeIds(db::Database::openReadOnly(path));
  EXPECT_EQ(ids.size(), 2u);
  EXPECT_TRUE(ids.contains(Value(5)));
  EXPECT_TRUE(ids.contains(Value(5.0)));
  EXPECT_TRUE(ids.contains(Value(8)));
  EXPECT_FALSE(ids.contains(Value("5")));
  EXPECT_FALSE(ids.contains(Value(6)));
  EXPECT_FALSE(ids.contains(Value()));
}

TEST(PropertyReaders, FoldPropertiesAreTheSlabsOwnInInsertionOrder) {
  md::TempPath path("props");
  md::ModelDb m;
  m.add(md::Property{.objId = 12, .name = "FoldedSlab_nPt", .val = "4,4"});
  m.add(md::Property{.objId = 13, .name = "FoldedSlab_nPt", .val = "3,0"});
  m.add(md::Property{.objId = 12, .name = "FoldedSlab_PosWid", .val = "0,0,600,0"});
  m.exclude(12);
  m.write(path);
  const auto props = Property::getSlabFoldProps(db::Database::openReadOnly(path), 12);
  ASSERT_EQ(props.size(), 2u);
  EXPECT_EQ(props[0].name.asText(), "FoldedSlab_nPt");
  EXPECT_EQ(props[0].value.asText(), "4,4");
  EXPECT_EQ(props[1].name.asText(), "FoldedSlab_PosWid");
  EXPECT_EQ(props[1].objId, Value(12));
}

TEST(AxisReader, ArcAxesKeepTheNegatedCentreJoint) {
  md::TempPath path("axes");
  md::ModelDb m;
  const Value sf = m.add(md::StdFloor{});
  const Value c = m.joint(sf, 0, 0), a = m.joint(sf, 5000, 0), b = m.joint(sf, 0, 5000);
  m.line(a, b);
  m.arc(c, a, b);
  m.write(path);
  const auto axes = Axis::getAxes(db::Database::openReadOnly(path));
  ASSERT_EQ(axes.size(), 2u);
  EXPECT_EQ(axes[0].jt1Id, a);
  EXPECT_EQ(axes[1].jt1Id, Value(-c.asInteger()));
}

TEST(Readers, AMissingTableIsADatabaseErrorNamingIt) {
  md::TempPath path("missing");
  md::ModelDb m;
  m.omitTable("tblFloor");
  m.write(path);
  const auto conn = db::Database::openReadOnly(path);
  try {
    (void)Floor::getFloors(conn);
    FAIL() << "no error";
  } catch (const db::Error& e) {
    EXPECT_NE(std::string(e.what()).find("tblFloor"), std::string::npos) << e.what();
  }
}

}  // namespace
