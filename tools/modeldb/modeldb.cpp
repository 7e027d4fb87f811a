#include "modeldb/modeldb.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

#include "db/gbk.h"
#include "text/number_text.h"

namespace modeldb {

namespace {

struct TableDef {
  const char* name;
  std::vector<std::string> columns;
};

// Column types are left undeclared so that every value keeps the class it was written with;
// ID is the rowid, so that joins and sub-selects on it are direct lookups.
const std::vector<TableDef>& tableDefs() {
  static const std::vector<TableDef> defs = {
      {"tblProject", {"Name", "Mat"}},
      {"tblStdFlr", {"ID", "No", "Height", "Para"}},
      {"tblFloor", {"ID", "No", "Name", "StdFlrID", "LevelB", "Height", "Remark"}},
      {"tblJoint", {"ID", "StdFlrID", "X", "Y", "HDiff"}},
      {"tblAxis", {"ID", "Jt1ID", "Jt2ID", "Name"}},
      {"tblGrid", {"ID", "Jt1ID", "Jt2ID", "AxisID"}},
      {"tblBeamSect", {"ID", "Kind", "ShapeVal", "Mat"}},
      {"tblColSect", {"ID", "Kind", "ShapeVal", "Mat"}},
      {"tblBraceSect", {"ID", "Kind", "ShapeVal", "Mat"}},
      {"tblWallSect", {"ID", "B", "Kind", "Mat"}},
      {"tblBeamSeg", {"ID", "StdFlrID", "GridID", "SectID", "Ecc", "HDiff1", "HDiff2"}},
      {"tblSubBeam", {"ID", "StdFlrID", "GridID", "SectID", "HDiff1", "HDiff2"}},
      {"tblColSeg",
       {"ID", "StdFlrID", "JtID", "SectID", "EccX", "EccY", "Rotation", "HDiffB", "HDiff"}},
      {"tblBraceSeg",
       {"ID", "StdFlrID", "Jt1ID", "Jt2ID", "SectID", "EccX1", "EccY1", "EccX2", "EccY2", "HDiff1",
        "HDiff2", "Rotation"}},
      {"tblWallSeg", {"ID", "StdFlrID", "GridID", "SectID", "Ecc", "HDiff1", "HDiff2", "HDiffB"}},
      {"tblWallHoleDef", {"ID", "B", "H"}},
      {"tblWallHole", {"ID", "StdFlrID", "GridID", "SectID", "Ecc", "HDiff"}},
      {"tblSlab", {"ID", "StdFlrID", "VertX", "VertY", "VertZ", "Thick", "Mat"}},
      {"tblSlabGrid", {"SlabID", "No", "GridID"}},
      {"tblSlabHoleDef", {"ID", "Kind", "ShapeVal"}},
      {"tblSlabHole", {"ID", "StdFlrID", "SlabID", "JtID", "SectID", "EccX", "EccY", "Rotation"}},
      {"tblCantiSlab",
       {"ID", "StdFlrID", "GridID", "HDrop", "Ecc", "Side", "Length", "Width", "Thick"}},
      {"tblProperty", {"ID", "ObjID", "Name", "Val"}},
  };
  return defs;
}

// Lookups the queries make per member.
const char* const kIndexes[] = {
    "create index idxSlabGrid on tblSlabGrid(SlabID, No)",
    "create index idxWallHole on tblWallHole(StdFlrID, GridID)",
    "create index idxSlabHole on tblSlabHole(SlabID)",
    "create index idxProperty on tblProperty(ObjID)",
    "create index idxBeamGrid on tblBeamSeg(GridID)",
};

std::string numberText(double v) {
  if (std::isfinite(v) && v == std::floor(v) && std::abs(v) < 1e15) {
    return std::to_string(static_cast<long long>(v));
  }
  return text::repr(v);
}

class Connection {
 public:
  explicit Connection(const std::filesystem::path& path) : path_(path.string()) {
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw std::runtime_error(path_ + ": " + msg);
    }
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { sqlite3_close(db_); }

  void exec(std::string_view sql) {
    const std::string s(sql);
    char* err = nullptr;
    if (sqlite3_exec(db_, s.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
      std::string msg = err ? err : "error";
      sqlite3_free(err);
      throw std::runtime_error(path_ + ": " + msg + " in: " + s);
    }
  }

  void insert(const std::string& table, const std::vector<std::string>& columns,
              const std::vector<std::vector<Value>>& rows) {
    std::string sql = "insert into " + table + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      sql += (i ? ", " : "") + columns[i];
      marks += i ? ", ?" : "?";
    }
    sql += ") values (" + marks + ")";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      throw std::runtime_error(path_ + ": " + sqlite3_errmsg(db_) + " in: " + sql);
    }
    for (const std::vector<Value>& row : rows) {
      sqlite3_reset(st);
      for (std::size_t i = 0; i < row.size(); ++i) {
        const int at = static_cast<int>(i + 1);
        const Value& v = row[i];
        if (v.isNull()) {
          sqlite3_bind_null(st, at);
        } else if (v.isInteger()) {
          sqlite3_bind_int64(st, at, v.asInteger());
        } else if (v.isReal()) {
          sqlite3_bind_double(st, at, v.asDouble());
        } else {
          const std::string gbk = db::encodeGbk(v.asText());
          sqlite3_bind_text(st, at, gbk.data(), static_cast<int>(gbk.size()), SQLITE_TRANSIENT);
        }
      }
      if (sqlite3_step(st) != SQLITE_DONE) {
        const std::string msg = sqlite3_errmsg(db_);
        sqlite3_finalize(st);
        throw std::runtime_error(path_ + ": " + msg + " in: " + sql);
      }
    }
    sqlite3_finalize(st);
  }

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
};

}  // namespace

ModelDb::ModelDb() {
  for (const TableDef& d : tableDefs()) tables_.push_back({d.name, d.columns, {}});
}

Value ModelDb::addRow(std::string_view table, std::string_view counter, std::vector<Value> row) {
  std::int64_t& last = counters_[std::string(counter)];
  if (row[0].isNull()) {
    row[0] = Value(++last);
  } else if (row[0].isInteger()) {
    last = std::max(last, row[0].asInteger());
  }
  const Value id = row[0];
  for (Table& t : tables_) {
    if (t.name == table) {
      t.rows.push_back(std::move(row));
      return id;
    }
  }
  throw std::logic_error("no table " + std::string(table));
}

Value ModelDb::add(const StdFloor& r) {
  Value id = addRow("tblStdFlr", "tblStdFlr", {r.id, r.no, r.height, r.para});
  auto& row = tables_[1].rows.back();
  if (row[1].isNull()) row[1] = id;
  return id;
}
Value ModelDb::add(const Floor& r) {
  Value id =
      addRow("tblFloor", "tblFloor", {r.id, r.no, r.name, r.stdFlr, r.levelB, r.height, r.remark});
  auto& row = tables_[2].rows.back();
  if (row[1].isNull()) row[1] = id;
  return id;
}
Value ModelDb::add(const Joint& r) {
  return addRow("tblJoint", "tblJoint", {r.id, r.stdFlr, r.x, r.y, r.hDiff});
}
Value ModelDb::add(const Axis& r) {
  return addRow("tblAxis", "tblAxis", {r.id, r.jt1, r.jt2, r.name});
}
Value ModelDb::add(const Grid& r) {
  return addRow("tblGrid", "tblGrid", {r.id, r.jt1, r.jt2, r.axis});
}
Value ModelDb::add(const BeamSect& r) {
  return addRow("tblBeamSect", "tblBeamSect", {r.id, r.kind, r.shapeVal, r.mat});
}
Value ModelDb::add(const ColSect& r) {
  return addRow("tblColSect", "tblColSect", {r.id, r.kind, r.shapeVal, r.mat});
}
Value ModelDb::add(const BraceSect& r) {
  return addRow("tblBraceSect", "tblBraceSect", {r.id, r.kind, r.shapeVal, r.mat});
}
Value ModelDb::add(const WallSect& r) {
  return addRow("tblWallSect", "tblWallSect", {r.id, r.b, r.kind, r.mat});
}
Value ModelDb::add(const BeamSeg& r) {
  return addRow("tblBeamSeg", "member",
                {r.id, r.stdFlr, r.grid, r.sect, r.ecc, r.hDiff1, r.hDiff2});
}
Value ModelDb::add(const SubBeam& r) {
  return addRow("tblSubBeam", "member", {r.id, r.stdFlr, r.grid, r.sect, r.hDiff1, r.hDiff2});
}
Value ModelDb::add(const ColSeg& r) {
  return addRow("tblColSeg", "member",
                {r.id, r.stdFlr, r.jt, r.sect, r.eccX, r.eccY, r.rotation, r.hDiffB, r.hDiff});
}
Value ModelDb::add(const BraceSeg& r) {
  return addRow("tblBraceSeg", "member",
                {r.id, r.stdFlr, r.jt1, r.jt2, r.sect, r.eccX1, r.eccY1, r.eccX2, r.eccY2, r.hDiff1,
                 r.hDiff2, r.rotation});
}
Value ModelDb::add(const WallSeg& r) {
  return addRow("tblWallSeg", "member",
                {r.id, r.stdFlr, r.grid, r.sect, r.ecc, r.hDiff1, r.hDiff2, r.hDiffB});
}
Value ModelDb::add(const WallHoleDef& r) {
  return addRow("tblWallHoleDef", "tblWallHoleDef", {r.id, r.b, r.h});
}
Value ModelDb::add(const WallHole& r) {
  return addRow("tblWallHole", "member", {r.id, r.stdFlr, r.grid, r.sect, r.ecc, r.hDiff});
}
Value ModelDb::add(const Slab& r) {
  Slab s = r;
  // The vertex lists are written with the other rows, once every joint is known.
  s.id = addRow("tblSlab", "member", {r.id, r.stdFlr, Value(), Value(), Value(), r.thick, r.mat});
  for (std::size_t i = 0; i < r.grids.size(); ++i) {
    for (Table& t : tables_) {
      if (t.name == "tblSlabGrid") {
        t.rows.push_back({s.id, Value(static_cast<std::int64_t>(i + 1)), r.grids[i]});
      }
    }
  }
  slabs_.push_back(std::move(s));
  return slabs_.back().id;
}
Value ModelDb::add(const SlabHoleDef& r) {
  return addRow("tblSlabHoleDef", "tblSlabHoleDef", {r.id, r.kind, r.shapeVal});
}
Value ModelDb::add(const SlabHole& r) {
  return addRow("tblSlabHole", "member",
                {r.id, r.stdFlr, r.slab, r.jt, r.sect, r.eccX, r.eccY, r.rotation});
}
Value ModelDb::add(const CantiSlab& r) {
  return addRow("tblCantiSlab", "member",
                {r.id, r.stdFlr, r.grid, r.hDrop, r.ecc, r.side, r.length, r.width, r.thick});
}
Value ModelDb::add(const Property& r) {
  return addRow("tblProperty", "tblProperty", {r.id, r.objId, r.name, r.val});
}

Value ModelDb::joint(const Value& stdFlr, const Value& x, const Value& y, const Value& hDiff) {
  return add(Joint{.stdFlr = stdFlr, .x = x, .y = y, .hDiff = hDiff});
}
Value ModelDb::line(const Value& jt1, const Value& jt2) {
  const Value axis = add(Axis{.jt1 = jt1, .jt2 = jt2});
  return add(Grid{.jt1 = jt1, .jt2 = jt2, .axis = axis});
}
Value ModelDb::arc(const Value& centre, const Value& jt1, const Value& jt2) {
  const Value axis = add(Axis{.jt1 = Value(-centre.asInteger()), .jt2 = jt1});
  return add(Grid{.jt1 = jt1, .jt2 = jt2, .axis = axis});
}
void ModelDb::exclude(const Value& memberId) {
  add(Property{.objId = memberId, .name = "NoIFC", .val = "1"});
}

void ModelDb::fold(const Value& slab, const std::vector<std::pair<double, double>>& outline,
                   const std::vector<double>& sideOffsets, double drop, double thickness) {
  std::string posWid;
  auto put = [&](double v) {
    if (!posWid.empty()) posWid += ',';
    posWid += numberText(v);
  };
  for (const auto& [x, y] : outline) {
    put(x);
    put(y);
  }
  const std::size_t sides = std::min(sideOffsets.size(), outline.size());
  for (std::size_t i = 0; i < sides; ++i) {
    const auto& [x1, y1] = outline[i];
    const auto& [x2, y2] = outline[(i + 1) % outline.size()];
    put(x1);
    put(y1);
    put(x2);
    put(y2);
    put(sideOffsets[i]);
  }
  put(drop);
  put(thickness);
  add(Property{.objId = slab,
               .name = "FoldedSlab_nPt",
               .val = std::to_string(outline.size()) + "," + std::to_string(sides)});
  add(Property{.objId = slab, .name = "FoldedSlab_PosWid", .val = posWid});
}

void ModelDb::omitTable(std::string_view table) { omitted_.emplace_back(table); }

struct ModelDb::RowIndex {
  std::unordered_map<std::int64_t, const std::vector<Value>*> joints, grids;
};

std::array<Value, 3> ModelDb::vertexLists(const Slab& s, const RowIndex& index) const {
  std::vector<std::pair<Value, Value>> edges;
  for (const Value& g : s.grids) {
    const auto it = g.isInteger() ? index.grids.find(g.asInteger()) : index.grids.end();
    if (it != index.grids.end()) edges.emplace_back((*it->second)[1], (*it->second)[2]);
  }
  // Chain order: each next edge starts or ends where the last one ended.
  std::vector<Value> order;
  if (!edges.empty()) {
    std::vector<bool> used(edges.size(), false);
    used[0] = true;
    order.push_back(edges[0].first);
    Value at = edges[0].second;
    for (std::size_t n = 1; n < edges.size(); ++n) {
      std::size_t i = 0;
      for (; i < edges.size(); ++i) {
        if (used[i]) continue;
        if (edges[i].first == at || edges[i].second == at) break;
      }
      if (i == edges.size()) break;
      used[i] = true;
      order.push_back(at);
      at = edges[i].first == at ? edges[i].second : edges[i].first;
    }
  }
  std::array<std::string, 3> lists;
  for (const Value& jt : order) {
    const auto it = jt.isInteger() ? index.joints.find(jt.asInteger()) : index.joints.end();
    if (it == index.joints.end()) continue;
    for (std::size_t c = 0; c < 3; ++c) {
      const Value& v = (*it->second)[2 + c];  // X, Y, HDiff
      lists[c] += (v.isNumber() ? numberText(v.asDouble()) : v.str()) + ",";
    }
  }
  return {Value(lists[0]), Value(lists[1]), Value(lists[2])};
}

void ModelDb::write(const std::filesystem::path& path) const {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  Connection c(path);
  c.exec("pragma page_size = 1024");
  c.exec("pragma journal_mode = off");
  c.exec("pragma synchronous = off");
  c.exec("begin");
  for (const Table& t : tables_) {
    if (std::find(omitted_.begin(), omitted_.end(), t.name) != omitted_.end()) continue;
    std::string sql = "create table " + t.name + " (";
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
      sql += (i ? ", " : "") + t.columns[i];
      if (t.columns[i] == "ID") sql += " integer primary key";
    }
    c.exec(sql + ")");
    if (t.name == "tblProject") {
      c.insert(t.name, t.columns, {{project_.name, project_.mat}});
    } else if (t.name == "tblSlab") {
      RowIndex index;
      for (const Table& u : tables_) {
        if (u.name != "tblJoint" && u.name != "tblGrid") continue;
        auto& into = u.name == "tblJoint" ? index.joints : index.grids;
        for (const auto& row : u.rows) {
          if (row[0].isInteger()) into[row[0].asInteger()] = &row;
        }
      }
      std::vector<std::vector<Value>> rows = t.rows;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const Slab& s = slabs_[i];
        const std::array<Value, 3> lists = vertexLists(s, index);
        rows[i][2] = s.vertX ? *s.vertX : lists[0];
        rows[i][3] = s.vertY ? *s.vertY : lists[1];
        rows[i][4] = s.vertZ ? *s.vertZ : lists[2];
      }
      c.insert(t.name, t.columns, rows);
    } else {
      c.insert(t.name, t.columns, t.rows);
    }
  }
  for (const char* index : kIndexes) {
    try {
      c.exec(index);
    } catch (const std::runtime_error&) {
      // The table is omitted on purpose.
    }
  }
  c.exec("commit");
}

void ModelDb::exec(const std::filesystem::path& path, std::string_view sql) {
  Connection c(path);
  c.exec(sql);
}

TempPath::TempPath(std::string_view stem, std::string_view extension) {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          (std::string(stem) + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) +
           std::string(extension));
}

TempPath::~TempPath() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

}  // namespace modeldb
