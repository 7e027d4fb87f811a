#include "fuzz/model_mutator.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>
#include <string_view>

namespace fuzz {

namespace {

class Connection {
 public:
  explicit Connection(const std::filesystem::path& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) fail("open");
  }
  ~Connection() { sqlite3_close(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void exec(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      const std::string why = err ? err : "?";
      sqlite3_free(err);
      throw std::runtime_error("mutation failed: " + why + " in: " + sql);
    }
  }
  // The first column of every row, as text.
  std::vector<std::string> column(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) fail(sql);
    std::vector<std::string> values;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      values.emplace_back(text ? text : "");
    }
    sqlite3_finalize(stmt);
    return values;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("cannot " + what + ": " + sqlite3_errmsg(db_));
  }
  sqlite3* db_ = nullptr;
};

struct Table {
  std::string name;
  std::vector<std::string> columns;
  std::vector<std::string> rowids;
};

// Quoted around `text` (GCC's warnings on "x" + string + "x" are false here).
std::string around(char quote, std::string_view text) {
  std::string s;
  s.reserve(text.size() + 2);
  s += quote;
  s += text;
  s += quote;
  return s;
}

std::string sqlName(std::string_view name) { return around('"', name); }

// Values that break numbers: signs, zero, extremes, fractions, the reserved codes.
constexpr std::array<const char*, 16> kNumbers = {
    "0",     "1",    "-1",         "0.5",      "-0.0",  "1e-9",  "1e9", "-1e9",
    "1e308", "9999", "2147483648", "-3000000", "12345", "9e999", "100", "10"};
// Texts where numbers or ids belong.
constexpr std::array<const char*, 9> kTexts = {"''",      "'abc'", "'1,2,3'", "'3000'", "' 12 '",
                                               "'NoIFC'", "'-'",   "'1e5'",   "'0x10'"};
// Dimension texts with items missing, extra or not numbers.
constexpr std::array<const char*, 16> kDimensions = {"''",
                                                     "','",
                                                     "'1'",
                                                     "'1,'",
                                                     "'1,abc,600'",
                                                     "'1,300'",
                                                     "'1,,600'",
                                                     "'1,-300,600'",
                                                     "'1,0,0'",
                                                     "'1,1e400,600'",
                                                     "'1,nan,600'",
                                                     "'1,300,600 '",
                                                     "'1,300,600,700,800,900,1000,1100,1200,1300'",
                                                     "'2,8,400,200'",
                                                     "'0,120'",
                                                     "'1,1e-300,1e-300'"};
// Bytes that are not GBK: lone lead bytes, bytes GBK never uses, a pair cut in half.
constexpr std::array<const char*, 6> kBrokenGbk = {
    "CAST(x'81' AS TEXT)",         "CAST(x'FF' AS TEXT)",       "CAST(x'C4E3BA' AS TEXT)",
    "CAST(x'312C81332C' AS TEXT)", "CAST(x'80808080' AS TEXT)", "CAST(x'312CA1' AS TEXT)"};

bool isDimensionColumn(std::string_view c) {
  return c == "ShapeVal" || c == "Para" || c == "VertX" || c == "VertY" || c == "VertZ" ||
         c == "Val";
}
bool isIdColumn(std::string_view c) { return c.size() >= 2 && c.substr(c.size() - 2) == "ID"; }

class Mutator {
 public:
  Mutator(Connection& c, std::uint64_t seed) : c_(c), random_(seed) {
    for (const std::string& name :
         c_.column("select name from sqlite_master where type = 'table' order by name")) {
      Table t;
      t.name = name;
      t.columns = c_.column("select name from pragma_table_info(" + literal(name) + ")");
      t.rowids = c_.column("select rowid from " + sqlName(name) + " order by rowid");
      tables_.push_back(std::move(t));
    }
  }

  std::string mutateOnce() {
    Table& t = pickTable();
    if (t.rowids.empty() || t.columns.empty()) return "nothing to change in " + t.name;
    const std::size_t row = pick(t.rowids.size());
    const std::string& column = t.columns[pick(t.columns.size())];
    const std::string where = " where rowid = " + t.rowids[row];
    const std::string at = t.name + " row " + t.rowids[row] + " ";
    switch (pick(7)) {
      case 0:
        return set(t, column, where, at, kNumbers[pick(kNumbers.size())]);
      case 1:
        return set(t, column, where, at, "NULL");
      case 2:
        return set(t, column, where, at, kTexts[pick(kTexts.size())]);
      case 3:
        c_.exec("delete from " + sqlName(t.name) + where);
        t.rowids.erase(t.rowids.begin() + static_cast<std::ptrdiff_t>(row));
        return at + "deleted";
      case 4:
        return swapIds(t, row);
      case 5: {
        const std::string dim = dimensionColumn(t, column);
        return set(t, dim, where, at, kDimensions[pick(kDimensions.size())]);
      }
      default:
        return set(t, textColumn(t, column), where, at, kBrokenGbk[pick(kBrokenGbk.size())]);
    }
  }

 private:
  static std::string literal(std::string_view s) { return around('\'', s); }

  std::size_t pick(std::size_t n) {
    return static_cast<std::size_t>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random_));
  }

  // Member tables more often than the rest: that is where most of the data is read.
  Table& pickTable() {
    for (int tries = 0; tries < 4; ++tries) {
      Table& t = tables_[pick(tables_.size())];
      if (!t.rowids.empty()) return t;
    }
    return tables_[pick(tables_.size())];
  }

  std::string set(const Table& t, const std::string& column, const std::string& where,
                  const std::string& at, const std::string& value) {
    // An integer primary key refuses what is not an integer: set another column then.
    std::string target = column;
    if (column == "ID" && value.find_first_not_of("-0123456789") != std::string::npos) {
      target = t.columns[t.columns.size() - 1];
    }
    try {
      c_.exec("update " + sqlName(t.name) + " set " + sqlName(target) + " = " + value + where);
    } catch (const std::runtime_error&) {
      return at + target + " unchanged (refused " + value + ")";
    }
    return at + target + " = " + value;
  }

  // Two rows exchange an id column, or one row's id points at nothing.
  std::string swapIds(const Table& t, std::size_t row) {
    std::vector<std::string> ids;
    for (const std::string& c : t.columns) {
      if (isIdColumn(c) && c != "ID") ids.push_back(c);
    }
    if (ids.empty()) return t.name + " has no id column to swap";
    const std::string column = ids[pick(ids.size())];
    const std::string a = t.rowids[row];
    if (t.rowids.size() < 2 || pick(4) == 0) {
      c_.exec("update " + sqlName(t.name) + " set " + sqlName(column) +
              " = 987654 where rowid = " + a);
      return t.name + " row " + a + " " + column + " = 987654 (no such row)";
    }
    const std::string b = t.rowids[pick(t.rowids.size())];
    const std::string q = sqlName(t.name), col = sqlName(column);
    c_.exec("create temp table swap as select (select " + col + " from " + q + " where rowid = " +
            a + ") as va, (select " + col + " from " + q + " where rowid = " + b + ") as vb");
    c_.exec("update " + q + " set " + col + " = (select vb from swap) where rowid = " + a);
    c_.exec("update " + q + " set " + col + " = (select va from swap) where rowid = " + b);
    c_.exec("drop table swap");
    return t.name + " rows " + a + " and " + b + " swap " + column;
  }

  std::string dimensionColumn(const Table& t, const std::string& fallback) {
    for (const std::string& c : t.columns) {
      if (isDimensionColumn(c)) return c;
    }
    return fallback;
  }

  // A column that holds text in the model, where there is one.
  std::string textColumn(const Table& t, const std::string& fallback) {
    std::vector<std::string> texts;
    for (const std::string& c : t.columns) {
      if (isDimensionColumn(c) || c == "Name" || c == "Remark") texts.push_back(c);
    }
    return texts.empty() ? fallback : texts[pick(texts.size())];
  }

  Connection& c_;
  std::mt19937_64 random_;
  std::vector<Table> tables_;
};

}  // namespace

std::vector<std::string> mutateModel(const std::filesystem::path& source,
                                     const std::filesystem::path& target, std::uint64_t seed,
                                     int count) {
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  Connection c(target);
  Mutator mutator(c, seed);
  std::vector<std::string> done;
  for (int k = 0; k < count; ++k) done.push_back(mutator.mutateOnce());
  return done;
}

}  // namespace fuzz
