#pragma once
// Read-only access to a model database (SQLite) whose text columns are GBK.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

struct sqlite3_stmt;

namespace db {

namespace detail {
struct Connection;
}

using Row = std::vector<Value>;

// A fault of the database itself: a file that cannot be opened, SQL that fails (a missing
// table or column). The message names the path or the statement.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Rows read through a connection that someone else holds open (a host script's own sqlite3
// connection): text values carry the stored bytes, which the Database decodes from GBK as it
// does its own.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual void forEach(std::string_view sql, const std::vector<Value>& params,
                       const std::function<void(Row&)>& visit) const = 0;
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
  Statement(std::shared_ptr<detail::Connection> conn, sqlite3_stmt* stmt, std::string sql);
  Statement(std::shared_ptr<const RowSource> source, std::string sql);
  void finalize() noexcept;
  // Keeps the connection open as long as the statement lives.
  std::shared_ptr<detail::Connection> conn_;
  std::shared_ptr<const RowSource> source_;  // instead of conn_ and stmt_
  sqlite3_stmt* stmt_ = nullptr;
  std::string sql_;
};

class Database {
 public:
  // Opens an existing file read-only and reads it in one read transaction held until the
  // database is closed: every statement sees the same state of the model, and SQLite locks and
  // checks the file once instead of before every statement. Never changes the file nor rolls
  // back a journal left beside it. A database in WAL mode is read with its -wal and -shm
  // files when they are there, and else from the file alone without creating them. Waits up
  // to busyTimeoutMs for a program writing the file. Throws Error naming the path when the
  // file is missing, is not a readable SQLite database, stays locked, or holds the journal of
  // an interrupted write.
  [[nodiscard]] static Database openReadOnly(const std::filesystem::path& path);
  static constexpr int busyTimeoutMs = 5000;
  // Reads through `source`, whatever state of the model it sees; `name` stands for a path in
  // messages. It has no sibling and nothing to check for changes.
  [[nodiscard]] static Database reading(std::shared_ptr<const RowSource> source,
                                        std::filesystem::path name);

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

  // Another connection to the file that reads the same state of the model as this one, for
  // reading on another thread while this one is used on its own; it keeps this connection
  // open while it lives. A file in rollback-journal mode cannot change while this connection
  // reads it, and a WAL database read from the file alone is vouched for by checkUnchanged();
  // no value for a WAL database read with its side files, where a writer may have committed
  // since this connection began reading, nor when the sibling cannot be opened.
  [[nodiscard]] std::optional<Database> openSibling() const;

  // Once *flag is raised (from any thread), the statement running on this connection fails
  // soon with Error ("interrupted"); siblings opened afterwards share the flag. Null: never.
  void stopWhen(const std::atomic<bool>* flag);

  // A WAL database without side files is read from the file alone, which takes no lock that
  // would keep a writer out; this throws Error when another program has written the file
  // since it was opened, so what was read may mix two states. Does nothing otherwise: the
  // read transaction keeps writers from changing what it reads.
  void checkUnchanged() const;

 private:
  Database(std::shared_ptr<detail::Connection> conn, std::filesystem::path path);
  std::shared_ptr<detail::Connection> conn_;
  std::shared_ptr<const RowSource> source_;  // instead of conn_
  std::filesystem::path path_;
};

}  // namespace db
