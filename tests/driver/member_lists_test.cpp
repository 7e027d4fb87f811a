// Member lists read on several connections at once are those of the readers run one after
// the other: the same lists, the same report lines in the same order, the same fault.
#include "driver/member_lists.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>
#include <string>

#include "modeldb/synthetic.h"
#include "test_support.h"

namespace {

struct Read {
  Verdamo::MemberLists lists;
  std::string report;
  std::string fault;  // what() of the exception that ended the reading
};

Read readLists(const std::filesystem::path& model, bool concurrently) {
  const db::Database conn = db::Database::openReadOnly(model);
  const Property::ExcludeIds excludeIds = Property::getExcludeIds(conn);
  std::ostringstream report;
  Read read;
  try {
    read.lists = Verdamo::readMemberLists(conn, excludeIds, concurrently, report);
  } catch (const std::exception& e) {
    read.fault = e.what();
  }
  read.report = report.str();
  return read;
}

void expectSameLists(const Verdamo::MemberLists& a, const Verdamo::MemberLists& b) {
  EXPECT_TRUE(a.beams == b.beams);
  EXPECT_TRUE(a.subBeams == b.subBeams);
  EXPECT_TRUE(a.columns == b.columns);
  EXPECT_TRUE(a.walls == b.walls);
  EXPECT_TRUE(a.slabs == b.slabs);
  EXPECT_TRUE(a.cantiSlabs == b.cantiSlabs);
  EXPECT_TRUE(a.braces == b.braces);
  ASSERT_EQ(a.slabDetails == nullptr, b.slabDetails == nullptr);
  if (a.slabDetails) {
    for (const Slab::SlabRow& s : a.slabs) {
      EXPECT_TRUE(a.slabDetails->cords(s.gridIds) == b.slabDetails->cords(s.gridIds));
      EXPECT_TRUE(a.slabDetails->adjacentBeams(s.id) == b.slabDetails->adjacentBeams(s.id));
    }
  }
  ASSERT_EQ(a.wallHoles == nullptr, b.wallHoles == nullptr);
  if (a.wallHoles) {
    for (const Palvek::WallRow& w : a.walls) {
      std::ostringstream ignored;
      EXPECT_TRUE((*a.wallHoles)(w.floorId, w.gridId, ignored) ==
                  (*b.wallHoles)(w.floorId, w.gridId, ignored));
    }
  }
}

class MemberLists : public driver_test::ScratchDir {};

TEST_F(MemberLists, ReadConcurrentlyAreThoseOfTheReadersInOrder) {
  // Joints without X leave beams, walls, columns and slabs out, each reported; one beam is
  // not to be exported. The braces' table and the wall openings' go missing in the last case:
  // the braces, read first of the two, end the reading.
  const std::string damage =
      "UPDATE tblJoint SET X = NULL WHERE ID IN (SELECT Jt1ID FROM tblGrid WHERE ID IN "
      "(SELECT GridID FROM tblWallSeg LIMIT 3)) OR ID IN (SELECT JtID FROM tblColSeg LIMIT 2);"
      "INSERT INTO tblProperty (ObjID, Name, Val) SELECT max(ID), 'NoIFC', '' FROM tblBeamSeg;";
  const struct {
    const char* name;
    std::string sql;
    const char* fault;  // part of the fault's message, or "" for none
  } cases[] = {
      {"members reported and excluded", damage, ""},
      {"two tables missing", damage + "DROP TABLE tblBraceSeg; DROP TABLE tblWallHole;",
       "tblBraceSeg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto model = dir / "model.sdb";
    modeldb::writeSynthetic(modeldb::syntheticPreset("small"), model);
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(model.c_str(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h, c.sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(h);
    sqlite3_close(h);

    const Read inOrder = readLists(model, false);
    const Read concurrent = readLists(model, true);
    for (const char* kind : {"Beam_", "Wall_", "Column_", "Slab_"}) {
      EXPECT_NE(inOrder.report.find(kind), std::string::npos) << kind << " not reported";
    }
    EXPECT_EQ(concurrent.report, inOrder.report);
    EXPECT_EQ(concurrent.fault, inOrder.fault);
    EXPECT_NE(inOrder.fault.find(c.fault), std::string::npos) << inOrder.fault;
    EXPECT_EQ(inOrder.fault.empty(), *c.fault == '\0');
    if (inOrder.fault.empty()) {
      EXPECT_FALSE(inOrder.lists.beams.empty());
      expectSameLists(concurrent.lists, inOrder.lists);
    }
  }
}

}  // namespace
