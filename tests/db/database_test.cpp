#include "db/database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "db/gbk.h"

namespace {

namespace fs = std::filesystem;
using db::Database;
using db::Row;
using db::Value;

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Expects `call` to throw db::Error whose message contains every one of `parts`.
template <class F>
void expectError(F&& call, std::initializer_list<std::string> parts) {
  try {
    call();
    ADD_FAILURE() << "no db::Error thrown";
  } catch (const db::Error& e) {
    for (const auto& part : parts) {
      EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
          << "'" << part << "' not in: " << e.what();
    }
  }
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("sdb2ifc_db_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "model.sdb";
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h,
                           "CREATE TABLE tblBeam (ID INTEGER, Name TEXT, Len REAL, Note TEXT);"
                           "CREATE INDEX beamById ON tblBeam (ID);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(h, "INSERT INTO tblBeam VALUES (?, ?, ?, ?)", -1, &st, nullptr),
              SQLITE_OK);
    // Names stored as GBK bytes, the way the modelling program writes them.
    const std::string names[] = {db::encodeGbk("梁1"), std::string("B\x80\xd6\xd0\xff"),
                                 db::encodeGbk("丂")};
    for (int i = 0; i < 3; ++i) {
      sqlite3_bind_int64(st, 1, i + 1);
      sqlite3_bind_text(st, 2, names[i].data(), static_cast<int>(names[i].size()),
                        SQLITE_TRANSIENT);
      sqlite3_bind_double(st, 3, 1000.0 * (i + 1) + 0.5);
      if (i == 0) {
        sqlite3_bind_null(st, 4);
      } else {
        sqlite3_bind_text(st, 4, "300,600", -1, SQLITE_STATIC);
      }
      ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    ASSERT_EQ(sqlite3_close(h), SQLITE_OK);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  fs::path path_;
};

TEST_F(DatabaseTest, ReadsRowsOfNullIntegerDoubleAndDecodedText) {
  const Database db = Database::openReadOnly(path_);
  EXPECT_EQ(db.path(), path_);
  const auto rows = db.query("SELECT ID, Name, Len, Note FROM tblBeam ORDER BY ID");
  ASSERT_EQ(rows.size(), 3u);
  const Row& first = rows[0];
  ASSERT_EQ(first.size(), 4u);
  EXPECT_TRUE(first[0].isInteger());
  EXPECT_EQ(first[0].asInteger(), 1);
  EXPECT_EQ(first[1].asText(), "梁1");
  EXPECT_TRUE(first[2].isReal());
  EXPECT_EQ(first[2].asDouble(), 1000.5);
  EXPECT_TRUE(first[3].isNull());
  EXPECT_EQ(rows[1][1].asText(), "B中");
  EXPECT_EQ(rows[1][3].asText(), "300,600");
  EXPECT_EQ(rows[2][1].asText(), "丂");
}

// Another holder's connection, here the stored rows as SQLite gives them, bytes and all.
class StoredRows : public db::RowSource {
 public:
  explicit StoredRows(fs::path path) : path_(std::move(path)) {}
  void forEach(std::string_view sql, const std::vector<Value>& params,
               const std::function<void(Row&)>& visit) const override {
    asked.emplace_back(sql);
    sqlite3* h = nullptr;
    sqlite3_open_v2(path_.c_str(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, std::string(sql).c_str(), -1, &st, nullptr);
    for (std::size_t i = 0; i < params.size(); ++i) {
      const int at = static_cast<int>(i) + 1;
      if (params[i].isText()) {
        sqlite3_bind_text(st, at, params[i].asText().c_str(), -1, SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_int64(st, at, params[i].asInteger());
      }
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      Row row;
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        if (sqlite3_column_type(st, c) == SQLITE_NULL) {
          row.emplace_back();
        } else if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
          row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                       static_cast<std::size_t>(sqlite3_column_bytes(st, c))));
        } else {
          row.emplace_back(sqlite3_column_double(st, c));
        }
      }
      visit(row);
    }
    sqlite3_finalize(st);
    sqlite3_close(h);
  }
  mutable std::vector<std::string> asked;

 private:
  fs::path path_;
};

TEST_F(DatabaseTest, ReadsThroughARowSourceDecodingItsTextAsItsOwn) {
  const auto source = std::make_shared<StoredRows>(path_);
  const Database db = Database::reading(source, "the host's connection");
  const auto rows = db.query("SELECT Name, Note FROM tblBeam WHERE ID > ? ORDER BY ID", {1});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0].asText(), "B中");
  EXPECT_EQ(rows[1][0].asText(), "丂");
  EXPECT_EQ(rows[1][1].asText(), "300,600");
  EXPECT_TRUE(db.hasTable("TBLBEAM"));
  EXPECT_FALSE(db.openSibling().has_value());
  db.checkUnchanged();
  EXPECT_EQ(source->asked.front(), "SELECT Name, Note FROM tblBeam WHERE ID > ? ORDER BY ID");
}

TEST_F(DatabaseTest, BindsParametersAndReusesAPreparedStatement) {
  const Database db = Database::openReadOnly(path_);
  db::Statement byId = db.prepare("SELECT Name, Len FROM tblBeam WHERE ID = ?");
  EXPECT_EQ(byId.query({Value(2)}).at(0).at(0).asText(), "B中");
  EXPECT_EQ(byId.query({Value(3.0)}).at(0).at(1).asDouble(), 3000.5);
  EXPECT_TRUE(byId.query({Value(99)}).empty());
  EXPECT_TRUE(byId.query({Value()}).empty());
  EXPECT_EQ(db.query("SELECT count(*) FROM tblBeam WHERE ID > ? AND Note = ?",
                     {Value(0), Value("300,600")})
                .at(0)
                .at(0),
            Value(2));
  // A text parameter is bound as text, never spliced into the SQL.
  EXPECT_TRUE(db.query("SELECT ID FROM tblBeam WHERE Note = ?", {Value("x' OR '1'='1")}).empty());
}

TEST_F(DatabaseTest, ReportsAWrongNumberOfParametersNamingTheStatement) {
  const Database db = Database::openReadOnly(path_);
  expectError([&] { (void)db.query("SELECT Name FROM tblBeam WHERE ID = ?"); },
              {"SELECT Name FROM tblBeam WHERE ID = ?"});
  expectError([&] { (void)db.query("SELECT Name FROM tblBeam", {Value(1)}); },
              {"SELECT Name FROM tblBeam"});
}

TEST_F(DatabaseTest, ReportsAMissingTableOrColumnNamingTheStatement) {
  const Database db = Database::openReadOnly(path_);
  expectError([&] { (void)db.query("SELECT ID FROM tblWall"); },
              {"SELECT ID FROM tblWall", "no such table: tblWall"});
  expectError([&] { (void)db.prepare("SELECT Width FROM tblBeam"); },
              {"SELECT Width FROM tblBeam", "no such column"});
  EXPECT_TRUE(db.hasTable("tblBeam"));
  EXPECT_TRUE(db.hasTable("TBLBEAM"));
  EXPECT_FALSE(db.hasTable("tblWall"));
  EXPECT_FALSE(db.hasTable("beamById"));
}

TEST_F(DatabaseTest, NeverChangesTheFile) {
  const std::string before = readFile(path_);
  {
    const Database db = Database::openReadOnly(path_);
    (void)db.query("SELECT * FROM tblBeam");
    expectError([&] { (void)db.query("INSERT INTO tblBeam (ID) VALUES (9)"); },
                {"INSERT INTO tblBeam", "readonly"});
    expectError([&] { (void)db.query("DELETE FROM tblBeam"); }, {"DELETE FROM tblBeam"});
  }
  EXPECT_EQ(readFile(path_), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
      << "a journal or other file was left beside the database";
}

TEST_F(DatabaseTest, HoldsOnlyASharedLockSoOtherReadersStillRead) {
  const Database first = Database::openReadOnly(path_);
  (void)first.query("SELECT * FROM tblBeam");
  const Database second = Database::openReadOnly(path_);
  EXPECT_EQ(second.query("SELECT ID FROM tblBeam").size(), 3u);
  EXPECT_EQ(first.query("SELECT ID FROM tblBeam").size(), 3u);
}

TEST_F(DatabaseTest, ReadsAWalDatabaseWithoutSideFilesAloneAndNoticesAWriterMeanwhile) {
  auto exec = [&](const char* sql) {
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &h), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
    sqlite3_close(h);  // the last connection folds the WAL into the file and removes it
  };
  exec("PRAGMA journal_mode = WAL");
  const Database db = Database::openReadOnly(path_);
  EXPECT_EQ(db.query("SELECT ID FROM tblBeam").size(), 3u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
      << "side files were created beside the database";
  db.checkUnchanged();
  exec("INSERT INTO tblBeam (ID) VALUES (4)");
  expectError([&] { db.checkUnchanged(); }, {path_.string(), "changed by another program"});
}

// A sibling connection reads what its origin reads: in rollback-journal mode no writer can
// commit while the origin reads; a WAL database read alone is checked afterwards; with the
// WAL's side files there is no sibling, for a writer may have committed since.
TEST_F(DatabaseTest, OpensASiblingOnlyWhereItReadsWhatTheOriginReads) {
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &writer), SQLITE_OK);
  auto write = [&](const char* sql) {
    return sqlite3_exec(writer, sql, nullptr, nullptr, nullptr);
  };

  {
    std::optional<Database> sibling;
    {
      const Database origin = Database::openReadOnly(path_);
      EXPECT_EQ(write("INSERT INTO tblBeam (ID) VALUES (4)"), SQLITE_BUSY);
      sibling = origin.openSibling();
      ASSERT_TRUE(sibling.has_value());
    }
    // The origin's read lasts as long as its sibling: still no writer gets in.
    EXPECT_EQ(write("INSERT INTO tblBeam (ID) VALUES (4)"), SQLITE_BUSY);
    EXPECT_EQ(sibling->query("SELECT ID FROM tblBeam").size(), 3u);
  }
  ASSERT_EQ(write("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0"), SQLITE_OK);
  ASSERT_EQ(write("INSERT INTO tblBeam (ID) VALUES (4)"), SQLITE_OK);
  {
    const Database origin = Database::openReadOnly(path_);
    EXPECT_EQ(origin.query("SELECT ID FROM tblBeam").size(), 4u);
    EXPECT_FALSE(origin.openSibling().has_value()) << "with a writer's WAL beside the file";
  }
  ASSERT_EQ(sqlite3_close(writer), SQLITE_OK);  // folds the WAL into the file, removes both

  const Database origin = Database::openReadOnly(path_);
  const std::optional<Database> sibling = origin.openSibling();
  ASSERT_TRUE(sibling.has_value());
  EXPECT_EQ(sibling->query("SELECT ID FROM tblBeam").size(), 4u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
      << "side files were created beside the database";
  ASSERT_EQ(sqlite3_open(path_.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(write("INSERT INTO tblBeam (ID) VALUES (5)"), SQLITE_OK);
  sqlite3_close(writer);
  expectError([&] { sibling->checkUnchanged(); }, {"changed by another program"});
}

TEST_F(DatabaseTest, RefusesAMissingFileWithoutCreatingIt) {
  const fs::path missing = dir_ / "absent.sdb";
  expectError([&] { (void)Database::openReadOnly(missing); }, {missing.string(), "no such file"});
  EXPECT_FALSE(fs::exists(missing));
  expectError([&] { (void)Database::openReadOnly(dir_); }, {dir_.string()});
}

TEST_F(DatabaseTest, RefusesAFileThatIsNotADatabase) {
  const fs::path empty = dir_ / "empty.sdb";
  std::ofstream(empty).close();
  expectError([&] { (void)Database::openReadOnly(empty); }, {empty.string(), "not an SQLite"});
  EXPECT_EQ(fs::file_size(empty), 0u);

  const fs::path textFile = dir_ / "notes.sdb";
  std::ofstream(textFile) << "this is not a database, only some text of sufficient length\n";
  expectError([&] { (void)Database::openReadOnly(textFile); }, {textFile.string()});

  // A database header in front of garbage: SQLite itself finds the damage.
  const fs::path damaged = dir_ / "damaged.sdb";
  std::string bytes = readFile(path_);
  for (std::size_t i = 16; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5);
  std::ofstream(damaged, std::ios::binary) << bytes;
  expectError([&] { (void)Database::openReadOnly(damaged); }, {damaged.string()});
}

TEST_F(DatabaseTest, StaysUsableAfterAMove) {
  Database first = Database::openReadOnly(path_);
  db::Statement st = first.prepare("SELECT count(*) FROM tblBeam");
  Database second = std::move(first);
  db::Statement moved = std::move(st);
  EXPECT_EQ(moved.query().at(0).at(0), Value(3));
  EXPECT_EQ(second.query("SELECT max(ID) FROM tblBeam").at(0).at(0), Value(3));
}

}  // namespace
