#include "db/database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <utility>

#include "db/gbk.h"
#include "db/short_path_vfs.h"

namespace db {

namespace detail {

// An open SQLite connection and what it is opened through; closed when the database and its
// last statement are gone.
struct Connection {
  sqlite3* handle = nullptr;
  // SQLite is opened without its own mutex, which it would take on every column read; this
  // one is held instead while a call into SQLite runs (a row stepped and copied out, never
  // while a visitor runs), so that the connection may still be shared between threads.
  std::mutex mutex;
  // The folder, open while SQLite may look for side files through /proc/self/fd (long paths).
  int folder = -1;
  // The name SQLite was given, and the file's state when opened if it is read without a lock.
  std::string name;
  std::optional<struct stat> unlocked;
  const char* vfs = nullptr;  // for a path too long for SQLite's own
  bool wal = false;           // the file is in WAL mode
  // The connection a sibling was opened beside, kept open (and reading) while it reads.
  std::shared_ptr<const Connection> origin;
  // Raised from another thread, interrupts the statement running (see stopWhen).
  const std::atomic<bool>* stop = nullptr;

  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() {
    sqlite3_close_v2(handle);
    if (folder >= 0) ::close(folder);
  }
};

}  // namespace detail

using detail::Connection;

namespace {

std::string quoted(const std::filesystem::path& path) {
  return std::string("'").append(path.string()).append("'");
}

[[noreturn]] void failOpen(const std::filesystem::path& path, const std::string& why) {
  throw Error("cannot open model database " + quoted(path) + ": " + why);
}

[[noreturn]] void failSql(sqlite3* handle, const std::string& sql) {
  throw Error("SQL failed: " + std::string(sqlite3_errmsg(handle)) + " in: " + sql);
}

// A file that is not there is never created, and a file that is not a database is refused
// before SQLite sees it (SQLite would take an empty file for an empty database). Returns
// whether the database is in WAL mode.
bool checkIsDatabaseFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) failOpen(path, ec.message());
  if (!std::filesystem::exists(status)) failOpen(path, "no such file");
  if (!std::filesystem::is_regular_file(status)) failOpen(path, "not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) failOpen(path, "cannot read the file");
  static constexpr char kMagic[] = "SQLite format 3";  // 16 bytes with its terminating NUL
  std::array<char, 20> header{};
  in.read(header.data(), header.size());
  if (in.gcount() != static_cast<std::streamsize>(header.size()) ||
      !std::equal(kMagic, kMagic + sizeof kMagic, header.begin())) {
    failOpen(path, "not an SQLite database");
  }
  // Bytes 18 and 19, the file format versions for writing and reading: 2 in WAL mode.
  return header[18] == 2 || header[19] == 2;
}

// A URI filename, for the query parameters; bytes outside the unreserved set percent-encoded.
std::string uriOf(const std::string& path, bool immutable) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool unreserved = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                            (b >= '0' && b <= '9') || std::strchr("/._-~", c) != nullptr;
    if (unreserved) {
      uri += c;
    } else {
      uri += '%';
      uri += hex[b >> 4];
      uri += hex[b & 0xF];
    }
  }
  return immutable ? uri + "?immutable=1" : uri;
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Why the first read failed, in words a user can act on.
std::string whyUnreadable(sqlite3* handle, const std::string& journal) {
  const int code = sqlite3_extended_errcode(handle);
  if (code == SQLITE_READONLY_ROLLBACK) {
    return "the model was being written when its program stopped, and the journal " + journal +
           " beside it holds the interrupted write; open the model in its program (or roll the "
           "journal back) before converting it";
  }
  if ((code & 0xFF) == SQLITE_BUSY) {
    return "database is locked: another program is writing it, still after " +
           std::to_string(Database::busyTimeoutMs / 1000) + " s";
  }
  return sqlite3_errmsg(handle);
}

// The column read through its sqlite3_value: one call into SQLite's API for the value instead
// of one for its type and one for its content.
Value columnValue(sqlite3_stmt* stmt, int col) {
  sqlite3_value* value = sqlite3_column_value(stmt, col);
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return Value(static_cast<std::int64_t>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
      return Value(sqlite3_value_double(value));
    default: {
      // Text (and the odd blob) as stored bytes, decoded from GBK.
      const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
      const int size = sqlite3_value_bytes(value);
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

// Opens conn.name read-only as the connection's fields say.
int openHandle(Connection& conn) {
  const int rc =
      sqlite3_open_v2(uriOf(conn.name, conn.unlocked.has_value()).c_str(), &conn.handle,
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, conn.vfs);
  if (rc == SQLITE_OK) sqlite3_busy_timeout(conn.handle, Database::busyTimeoutMs);
  return rc;
}

// The first read takes the lock (waiting for a writer), finds a journal left by an
// interrupted write, and reads the schema, so a damaged file fails here. The read transaction
// it begins lasts as long as the connection.
bool beginReading(Connection& conn) {
  return sqlite3_exec(conn.handle, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                      nullptr) == SQLITE_OK;
}

}  // namespace

// --- Statement -------------------------------------------------------------------------------

Statement::Statement(std::shared_ptr<Connection> conn, sqlite3_stmt* stmt, std::string sql)
    : conn_(std::move(conn)), stmt_(stmt), sql_(std::move(sql)) {}

Statement::Statement(std::shared_ptr<const RowSource> source, std::string sql)
    : source_(std::move(source)), sql_(std::move(sql)) {}

Statement::Statement(Statement&& other) noexcept
    : conn_(std::move(other.conn_)),
      source_(std::move(other.source_)),
      stmt_(std::exchange(other.stmt_, nullptr)),
      sql_(std::move(other.sql_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    finalize();
    stmt_ = std::exchange(other.stmt_, nullptr);
    conn_ = std::move(other.conn_);
    source_ = std::move(other.source_);
    sql_ = std::move(other.sql_);
  }
  return *this;
}

Statement::~Statement() { finalize(); }

void Statement::finalize() noexcept {
  if (stmt_ == nullptr) return;
  const std::scoped_lock lock(conn_->mutex);
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

std::vector<Row> Statement::query(const std::vector<Value>& params) {
  std::vector<Row> rows;
  forEach(params, [&rows](Row& row) { rows.push_back(std::move(row)); });
  return rows;
}

void Statement::forEach(const std::vector<Value>& params, const std::function<void(Row&)>& visit) {
  if (source_) {
    source_->forEach(sql_, params, [&visit](Row& row) {
      for (Value& v : row) {
        if (v.isText()) v = Value(decodeGbk(v.asText()));
      }
      visit(row);
    });
    return;
  }
  if (stmt_ == nullptr) throw Error("statement used after it was moved from");
  std::mutex& mutex = conn_->mutex;
  std::unique_lock lock(mutex);
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
    std::unique_lock<std::mutex>& lock;
    ~ResetOnExit() {
      if (!lock.owns_lock()) lock.lock();
      sqlite3_reset(stmt);
    }
  } resetOnExit{stmt_, lock};
  const auto columns = static_cast<std::size_t>(sqlite3_column_count(stmt_));
  Row row(columns);
  for (;;) {
    if (!lock.owns_lock()) lock.lock();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW)
      throw Error("SQL failed: " + std::string(sqlite3_errmsg(handle)) + " in: " + sql_);
    // The visitor may have moved values out, or resized the row.
    row.resize(columns);
    for (std::size_t c = 0; c < columns; ++c) row[c] = columnValue(stmt_, static_cast<int>(c));
    // The visitor runs without the lock: it may run queries of its own.
    lock.unlock();
    visit(row);
  }
}

// --- Database --------------------------------------------------------------------------------

Database::Database(std::shared_ptr<Connection> conn, std::filesystem::path path)
    : conn_(std::move(conn)), path_(std::move(path)) {}

Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() = default;

Database Database::openReadOnly(const std::filesystem::path& path) {
  const bool wal = checkIsDatabaseFile(path);
  auto conn = std::make_shared<Connection>();
  // SQLite resolves the path itself; resolved here too, to see whether it is too long for it.
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (ec) failOpen(path, ec.message());
  conn->name = real.native();
  conn->wal = wal;
  if (conn->name.size() > longestDirectPath()) {
    conn->folder = ::open(real.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const std::string alias =
        "/proc/self/fd/" + std::to_string(conn->folder) + "/" + real.filename().native();
    if (conn->folder < 0 || ::access(alias.c_str(), F_OK) != 0) {
      failOpen(path, "the path is too long (" + std::to_string(conn->name.size()) +
                         " bytes; SQLite opens at most " + std::to_string(longestDirectPath()) +
                         ")");
    }
    conn->name = alias;
    conn->vfs = shortPathVfs();
  }
  // Without its side files a WAL database is whole in its file. SQLite would create both
  // beside it to read it in shared mode (and leave them there); read as immutable it creates
  // nothing, and checkUnchanged() tells whether a writer came along meanwhile.
  const std::string walFile = real.native() + "-wal";
  const std::string shmFile = real.native() + "-shm";
  if (wal && ::access(walFile.c_str(), F_OK) != 0 && ::access(shmFile.c_str(), F_OK) != 0) {
    struct stat state {};
    if (::stat(conn->name.c_str(), &state) != 0) failOpen(path, std::strerror(errno));
    conn->unlocked = state;
  }

  // A side file named as the user gave the path, unless the file is a link: then beside its
  // target.
  const auto sideFileShown = [&](const char* suffix) {
    std::filesystem::path shown = std::filesystem::is_symlink(path, ec) ? real : path;
    return shown += suffix;
  };
  // With commits in its -wal file the model is read through the -shm index beside it, which
  // SQLite creates when it is missing: not in a folder this user may not write.
  const auto failWithoutIndex = [&](const std::string& why) {
    if (wal && ::access(walFile.c_str(), F_OK) == 0 && ::access(shmFile.c_str(), F_OK) != 0 &&
        ::access(real.parent_path().c_str(), W_OK) != 0) {
      failOpen(path, why + ": the model has changes in its -wal file " +
                         quoted(sideFileShown("-wal")) +
                         " that SQLite needs an index beside it to read, and the folder is not "
                         "writable; copy the model to a writable folder or open it in its "
                         "program once");
    }
  };
  const int rc = openHandle(*conn);
  if (rc != SQLITE_OK) {
    const std::string why = conn->handle ? sqlite3_errmsg(conn->handle) : sqlite3_errstr(rc);
    failWithoutIndex(why);
    failOpen(path, why);
  }
  if (!beginReading(*conn)) {
    failWithoutIndex(sqlite3_errmsg(conn->handle));
    failOpen(path, whyUnreadable(conn->handle, quoted(sideFileShown("-journal"))));
  }
  return Database(std::move(conn), path);
}

Database Database::reading(std::shared_ptr<const RowSource> source, std::filesystem::path name) {
  Database db(nullptr, std::move(name));
  db.source_ = std::move(source);
  return db;
}

std::optional<Database> Database::openSibling() const {
  if (source_) return std::nullopt;
  if (!conn_) throw Error("database used after it was moved from");
  // A writer may have committed to the WAL since this connection began reading, and a new
  // one would read that commit: nothing here can pin the two to one snapshot.
  if (conn_->wal && !conn_->unlocked) return std::nullopt;
  auto sibling = std::make_shared<Connection>();
  sibling->name = conn_->name;
  sibling->unlocked = conn_->unlocked;
  sibling->vfs = conn_->vfs;
  sibling->wal = conn_->wal;
  sibling->origin = conn_;
  if (openHandle(*sibling) != SQLITE_OK || !beginReading(*sibling)) return std::nullopt;
  Database database(std::move(sibling), path_);
  database.stopWhen(conn_->stop);
  return database;
}

void Database::stopWhen(const std::atomic<bool>* flag) {
  if (!conn_) throw Error("database used after it was moved from");
  conn_->stop = flag;
  // Asked every few thousand steps of a statement; nonzero interrupts it.
  constexpr int kSteps = 10000;
  sqlite3_progress_handler(
      conn_->handle, flag == nullptr ? 0 : kSteps,
      [](void* stop) { return static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0; },
      const_cast<std::atomic<bool>*>(flag));
}

void Database::checkUnchanged() const {
  if (!conn_ || !conn_->unlocked) return;
  struct stat now {};
  if (::stat(conn_->name.c_str(), &now) != 0 || !sameFile(now, *conn_->unlocked)) {
    throw Error("model database " + quoted(path_) +
                " was changed by another program while it was read; convert it again");
  }
}

Statement Database::prepare(std::string_view sql) const {
  if (source_) return Statement(source_, std::string(sql));
  if (!conn_) throw Error("database used after it was moved from");
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  {
    const std::scoped_lock lock(conn_->mutex);
    const int rc =
        sqlite3_prepare_v2(conn_->handle, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt);
      failSql(conn_->handle, std::string(sql));
    }
  }
  if (stmt == nullptr) throw Error("SQL failed: no statement in: " + std::string(sql));
  Statement result(conn_, stmt, std::string(sql));
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
