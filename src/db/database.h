#pragma once
// Read-only access to a model database (SQLite) whose text columns are GBK.

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db {

using Row = std::vector<Value>;

// A fault of the database itself: a file that cannot be opened, SQL that fails (a missing
// table or column). The message names the path or the statement.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A prepared statement, reusable: each query() rebinds its parameters and runs it again.
class Statement {
 public:
  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) noexcept;
  ~Statement();

  [[nodiscard]] std::vector<Row> query(const std::vector<Value>& params = {});
  // Runs it and hands each row to `visit` as it is read, without keeping the rows; `visit`
  // may move the values out. For reading whole tables.
  void forEach(const std::vector<Value>& params, const std::function<void(Row&)>& visit);

 private:
  friend class Database;
  Statement(sqlite3_stmt* stmt, std::string sql);
  sqlite3_stmt* stmt_ = nullptr;
  std::string sql_;
};

class Database {
 public:
  // Opens an existing file read-only; never creates or changes it. Throws Error naming the
  // path when the file is missing or is not a readable SQLite database.
  [[nodiscard]] static Database openReadOnly(const std::filesystem::path& path);

  Database(Database&&) noexcept;
  Database& operator=(Database&&) noexcept;
  ~Database();

  [[nodiscard]] Statement prepare(std::string_view sql) const;
  // Prepares, binds and runs in one go; text values come back decoded from GBK.
  [[nodiscard]] std::vector<Row> query(std::string_view sql,
                                       const std::vector<Value>& params = {}) const;
  // Prepares, binds and hands each row to `visit` as Statement::forEach does.
  void forEach(std::string_view sql, const std::function<void(Row&)>& visit,
               const std::vector<Value>& params = {}) const;
  [[nodiscard]] bool hasTable(std::string_view name) const;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  Database(sqlite3* handle, std::filesystem::path path);
  sqlite3* handle_ = nullptr;
  std::filesystem::path path_;
};

}  // namespace db
