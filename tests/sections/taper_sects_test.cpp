// Detection of tapered sections in small model databases.
#include "sections/taper_sects.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "sections/tapered_kinds.h"

namespace {

class TaperSects : public ::testing::Test {
 protected:
  std::filesystem::path path;

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path = std::filesystem::temp_directory_path() /
           ("sections_taper_" + std::string(info->name()) + ".sdb");
    std::filesystem::remove(path);
  }
  void TearDown() override { std::filesystem::remove(path); }

  // Creates the database file from raw SQL and opens it as the converter does.
  db::Database make(const std::string& sql) {
    sqlite3* handle = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
    return db::Database::openReadOnly(path);
  }
};

const std::string kTables =
    "create table tblBeamSect(ID integer, Kind integer, ShapeVal text);"
    "create table tblColSect(ID integer, Kind integer, ShapeVal text);"
    "create table tblBraceSect(ID integer, Kind integer, ShapeVal text);"
    "create table tblWallSect(ID integer, Kind integer, ShapeVal text);";

TEST_F(TaperSects, FindsATaperedBeamSection) {
  const auto conn = make(kTables + "insert into tblBeamSect values (1, 1, ''), (2, 22, '');");
  EXPECT_TRUE(Sect::TaperSects(conn, "tblBeamSect"));
  EXPECT_FALSE(Sect::TaperSects(conn, "tblColSect"));
  EXPECT_TRUE(Sect::hasTaperSects(conn));
}

TEST_F(TaperSects, FindsATaperedBraceSectionAfterAskingTheOtherTables) {
  const auto conn = make(kTables + "insert into tblBraceSect values (1, 51, '');");
  EXPECT_TRUE(Sect::hasTaperSects(conn));
}

TEST_F(TaperSects, IgnoresOtherKindsAndOtherTables) {
  const auto conn = make(kTables +
                         "insert into tblBeamSect values (1, 24, ''), (2, 25, ''), (3, 26, '');"
                         "insert into tblColSect values (1, 28, ''), (2, 29, ''), (3, 2, '');"
                         "insert into tblWallSect values (1, 21, '');");
  EXPECT_FALSE(Sect::hasTaperSects(conn));
}

TEST_F(TaperSects, NeverReachesAMissingTableOnceABeamSectionIsTapered) {
  const auto conn = make(
      "create table tblBeamSect(ID integer, Kind integer);"
      "insert into tblBeamSect values (1, 30);");
  EXPECT_TRUE(Sect::hasTaperSects(conn));
}

TEST_F(TaperSects, FindsEveryTaperedKindAndNoNeighbourOfOne) {
  for (const long kind : Sect::taperedKinds) {
    std::filesystem::remove(path);
    std::string sql = kTables + "insert into tblColSect values (1, ";
    sql += std::to_string(kind);
    sql += ", '');";
    EXPECT_TRUE(Sect::hasTaperSects(make(sql))) << kind;
    EXPECT_TRUE(Sect::isTaperedKind(double(kind)));
  }
  std::filesystem::remove(path);
  const auto conn = make(kTables +
                         "insert into tblBeamSect values (1, 20, ''), (2, 24, ''), (3, 29, ''),"
                         " (4, 31, ''), (5, 49, ''), (6, 52, ''), (7, 101, '');");
  EXPECT_FALSE(Sect::TaperSects(conn, "tblBeamSect"));
  EXPECT_FALSE(Sect::isTaperedKind(21.5));
}

TEST_F(TaperSects, FailsOnAMissingTableItMustAsk) {
  const auto conn = make("create table tblBeamSect(ID integer, Kind integer);");
  EXPECT_THROW((void)Sect::hasTaperSects(conn), db::Error);
}

}  // namespace
