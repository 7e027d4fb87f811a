#include "db/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <utility>

#include "db/gbk.h"

namespace db {

namespace {

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

[[noreturn]] void failOpen(const std::filesystem::path& path, const std::string& why) {
  throw Error("cannot open model database " + quoted(path) + ": " + why);
}

[[noreturn]] void failSql(sqlite3* handle, const std::string& sql) {
  throw Error("SQL failed: " + std::string(sqlite3_errmsg(handle)) + " in: " + sql);
}

// A file that is not there is never created, and a file that is not a database is refused
// before SQLite sees it (SQLite would take an empty file for an empty database).
void checkIsDatabaseFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) failOpen(path, "no such file");
  if (!std::filesystem::is_regular_file(status)) failOpen(path, "not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) failOpen(path, "cannot read the file");
  static constexpr char kMagic[] = "SQLite format 3";  // 16 bytes with its terminating NUL
  std::array<char, sizeof kMagic> header{};
  in.read(header.data(), header.size());
  if (in.gcount() != static_cast<std::streamsize>(header.size()) ||
      !std::equal(header.begin(), header.end(), kMagic)) {
    failOpen(path, "not an SQLite database");
  }
}

Value columnValue(sqlite3_stmt* stmt, int col) {
  switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, col)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(stmt, col));
    default: {
      // Text (and the odd blob) as stored bytes, decoded from GBK.
      const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, col));
      const int size = sqlite3_column_bytes(stmt, col);
      if (data == nullptr) return Value(std::string());
      return Value(decodeGbk(std::string_view(data, static_cast<std::size_t>(size))));
    }
  }
}

void bind(sqlite3_stmt* stmt, int index, const Value& v) {
  int rc = SQLITE_OK;
  if (v.isNull()) {
    rc = sqlite3_bind_null(stmt, index);
  } else if (v.isInteger()) {
    rc = sqlite3_bind_int64(stmt, index, v.asInteger());
  } else if (v.isReal()) {
    rc = sqlite3_bind_double(stmt, index, v.asDouble());
  } else {
    // Text goes in as given (UTF-8); the queries bind numbers.
    const std::string& s = v.asText();
    rc = sqlite3_bind_text64(stmt, index, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  }
  if (rc != SQLITE_OK) failSql(sqlite3_db_handle(stmt), sqlite3_sql(stmt));
}

}  // namespace

// --- Statement -------------------------------------------------------------------------------

Statement::Statement(sqlite3_stmt* stmt, std::string sql) : stmt_(stmt), sql_(std::move(sql)) {}

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), sql_(std::move(other.sql_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
    sql_ = std::move(other.sql_);
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

std::vector<Row> Statement::query(const std::vector<Value>& params) {
  std::vector<Row> rows;
  forEach(params, [&rows](Row& row) { rows.push_back(std::move(row)); });
  return rows;
}

void Statement::forEach(const std::vector<Value>& params, const std::function<void(Row&)>& visit) {
  if (stmt_ == nullptr) throw Error("statement used after it was moved from");
  sqlite3* handle = sqlite3_db_handle(stmt_);
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  const int expected = sqlite3_bind_parameter_count(stmt_);
  if (expected != static_cast<int>(params.size())) {
    throw Error("SQL expects " + std::to_string(expected) + " parameters, got " +
                std::to_string(params.size()) + " in: " + sql_);
  }
  for (std::size_t i = 0; i < params.size(); ++i) bind(stmt_, static_cast<int>(i) + 1, params[i]);

  // A fault of the visitor leaves the statement reset, ready for the next run.
  struct ResetOnExit {
    sqlite3_stmt* stmt;
    ~ResetOnExit() { sqlite3_reset(stmt); }
  } resetOnExit{stmt_};
  const int columns = sqlite3_column_count(stmt_);
  Row row;
  for (;;) {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW)
      throw Error("SQL failed: " + std::string(sqlite3_errmsg(handle)) + " in: " + sql_);
    row.clear();
    row.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(columnValue(stmt_, c));
    visit(row);
  }
}

// --- Database --------------------------------------------------------------------------------

Database::Database(sqlite3* handle, std::filesystem::path path)
    : handle_(handle), path_(std::move(path)) {}

Database::Database(Database&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    sqlite3_close_v2(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

// close_v2 waits for statements still alive; the last one to be finalised closes the file.
Database::~Database() { sqlite3_close_v2(handle_); }

Database Database::openReadOnly(const std::filesystem::path& path) {
  checkIsDatabaseFile(path);
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) {
    const std::string why = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    sqlite3_close_v2(handle);
    failOpen(path, why);
  }
  Database db(handle, path);
  // Keep the shared lock from the first read to the close: otherwise SQLite locks and
  // re-checks the file before every statement, which dominates reading a large model
  // statement by statement. SQLite reads the schema lazily: read it now so a damaged file
  // fails here, naming the path.
  char* err = nullptr;
  if (sqlite3_exec(handle, "PRAGMA locking_mode = EXCLUSIVE; SELECT count(*) FROM sqlite_master",
                   nullptr, nullptr, &err) != SQLITE_OK) {
    const std::string why = err ? err : "unreadable";
    sqlite3_free(err);
    failOpen(path, why);
  }
  return db;
}

Statement Database::prepare(std::string_view sql) const {
  if (handle_ == nullptr) throw Error("database used after it was moved from");
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  const int rc =
      sqlite3_prepare_v2(handle_, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    failSql(handle_, std::string(sql));
  }
  if (stmt == nullptr) throw Error("SQL failed: no statement in: " + std::string(sql));
  Statement result(stmt, std::string(sql));
  // One statement per text: anything after it would silently not run.
  for (const char* p = tail; p != nullptr && p < sql.data() + sql.size(); ++p) {
    if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r' && *p != ';') {
      throw Error("SQL failed: more than one statement in: " + std::string(sql));
    }
  }
  return result;
}

std::vector<Row> Database::query(std::string_view sql, const std::vector<Value>& params) const {
  Statement stmt = prepare(sql);
  return stmt.query(params);
}

void Database::forEach(std::string_view sql, const std::function<void(Row&)>& visit,
                       const std::vector<Value>& params) const {
  Statement stmt = prepare(sql);
  stmt.forEach(params, visit);
}

bool Database::hasTable(std::string_view name) const {
  return !query(
              "SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? "
              "COLLATE NOCASE",
              {Value(std::string(name))})
              .empty();
}

}  // namespace db
