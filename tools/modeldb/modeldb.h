#pragma once
// Writes model databases from a compact description in C++, for tests, samples and
// benchmarks. Every table the converter reads is created (see docs/model-database.md); text
// is written in GBK.
//
//   modeldb::ModelDb m;
//   auto sf = m.add(modeldb::StdFloor{.height = 3000, .para = "0,120"});
//   m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0, .height = 3000});
//   auto a = m.joint(sf, 0, 0), b = m.joint(sf, 6000, 0);
//   auto s = m.add(modeldb::BeamSect{.kind = 1, .shapeVal = "1,300,600"});
//   m.add(modeldb::BeamSeg{.stdFlr = sf, .grid = m.line(a, b), .sect = s});
//   m.write("model.sdb");
//
// Every field is a db::Value, written with the class it holds: 3000 is stored as an integer,
// 3000.0 as a real, db::Value() as NULL, so tests can write exactly the rows they need. A row
// whose id is NULL gets the next free id: joints, axes, grid lines, sections, floors and
// opening definitions count per table; members (beams, secondary beams, columns, braces,
// walls, slabs, cantilever slabs, slab and wall openings) share one id space, so that an
// exclusion id names one member.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace modeldb {

using db::Value;

struct Project {
  Value name = "Project";
  Value mat = 6;  // 6 = reinforced concrete, 5 = steel
};
struct StdFloor {
  Value id{};
  Value no{};            // NULL: the id
  Value height = 3000;   // storey height, mm
  Value para = "0,120";  // item 1: default slab thickness, mm
};
struct Floor {
  Value id{};
  Value stdFlr{};
  Value no{};  // NULL: the id
  Value name = "";
  Value levelB = 0;  // elevation of the floor's base, mm
  Value height = 3000;
  Value remark{};
};
struct Joint {
  Value id{};
  Value stdFlr{};
  Value x = 0;
  Value y = 0;
  Value hDiff = 0;  // height offset from the storey top, mm
};
struct Axis {
  Value id{};
  Value jt1{};  // minus the centre joint for an arc axis
  Value jt2{};
  Value name = "";
};
struct Grid {
  Value id{};
  Value jt1{};
  Value jt2{};
  Value axis{};
};
// A section of tblBeamSect (beams and secondary beams), tblColSect or tblBraceSect.
struct BeamSect {
  Value id{};
  Value kind = 1;
  Value shapeVal = "1,300,600";
  Value mat = 6;
};
struct ColSect {
  Value id{};
  Value kind = 1;
  Value shapeVal = "1,500,500";
  Value mat = 6;
};
struct BraceSect {
  Value id{};
  Value kind = 3;
  Value shapeVal = "3,200";
  Value mat = 5;
};
struct WallSect {
  Value id{};
  Value b = 200;  // thickness, mm
  Value kind = 1;
  Value mat = 6;
};
struct BeamSeg {
  Value id{};
  Value stdFlr{};
  Value grid{};
  Value sect{};
  Value ecc = 0;
  Value hDiff1 = 0;
  Value hDiff2 = 0;
};
struct SubBeam {
  Value id{};
  Value stdFlr{};
  Value grid{};
  Value sect{};  // a tblBeamSect row
  Value hDiff1 = 0;
  Value hDiff2 = 0;
};
struct ColSeg {
  Value id{};
  Value stdFlr{};
  Value jt{};
  Value sect{};
  Value eccX = 0;
  Value eccY = 0;
  Value rotation = 0;
  Value hDiffB = 0;
  Value hDiff = 0;
};
struct BraceSeg {
  Value id{};
  Value stdFlr{};
  Value jt1{};
  Value jt2{};
  Value sect{};
  Value eccX1 = 0;
  Value eccY1 = 0;
  Value eccX2 = 0;
  Value eccY2 = 0;
  Value hDiff1 = 0;  // above the storey base; 1 = storey top
  Value hDiff2 = 1;
  Value rotation = 0;
};
struct WallSeg {
  Value id{};
  Value stdFlr{};
  Value grid{};
  Value sect{};
  Value ecc = 0;
  Value hDiff1 = 0;
  Value hDiff2 = 0;
  Value hDiffB = 0;
};
struct WallHoleDef {
  Value id{};
  Value b = 900;
  Value h = 2100;
};
struct WallHole {
  Value id{};
  Value stdFlr{};
  Value grid{};
  Value sect{};  // a WallHoleDef
  Value ecc = 0;
  Value hDiff = 0;
};
struct Slab {
  Value id{};
  Value stdFlr{};
  std::vector<Value> grids{};  // outline grid lines, in outline order
  Value thick = 9999;          // 9999 = floor default, 0 = zero thickness
  Value mat = 6;
  // Vertex lists ("x0,x1,...,"); when absent they are written from the outline's joints.
  std::optional<Value> vertX{};
  std::optional<Value> vertY{};
  std::optional<Value> vertZ{};
};
struct SlabHoleDef {
  Value id{};
  Value kind = 1;
  Value shapeVal = "1,600,600";
};
struct SlabHole {
  Value id{};
  Value stdFlr{};
  Value slab{};
  Value jt{};    // reference joint
  Value sect{};  // a SlabHoleDef
  Value eccX = 0;
  Value eccY = 0;
  Value rotation = 0;
};
struct CantiSlab {
  Value id{};
  Value stdFlr{};
  Value grid{};
  Value hDrop = 0;  // top below the storey top, mm
  Value ecc = 0;
  Value side = 1;
  Value length = 0;
  Value width = 1200;
  Value thick = 9999;
};
struct Property {
  Value id{};
  Value objId{};
  Value name{};
  Value val{};
};

class ModelDb {
 public:
  ModelDb();

  // Each add() returns the row's id (the given one or the next free one).
  Value add(const StdFloor& r);
  Value add(const Floor& r);
  Value add(const Joint& r);
  Value add(const Axis& r);
  Value add(const Grid& r);
  Value add(const BeamSect& r);
  Value add(const ColSect& r);
  Value add(const BraceSect& r);
  Value add(const WallSect& r);
  Value add(const BeamSeg& r);
  Value add(const SubBeam& r);
  Value add(const ColSeg& r);
  Value add(const BraceSeg& r);
  Value add(const WallSeg& r);
  Value add(const WallHoleDef& r);
  Value add(const WallHole& r);
  Value add(const Slab& r);
  Value add(const SlabHoleDef& r);
  Value add(const SlabHole& r);
  Value add(const CantiSlab& r);
  Value add(const Property& r);
  void setProject(const Project& p) { project_ = p; }

  // Shorthands: a joint; a straight grid line with an axis of its own; a grid line on an arc
  // axis about `centre`; the "NoIFC" property of a member.
  Value joint(const Value& stdFlr, const Value& x, const Value& y, const Value& hDiff = 0);
  Value line(const Value& jt1, const Value& jt2);
  Value arc(const Value& centre, const Value& jt1, const Value& jt2);
  void exclude(const Value& memberId);
  // The dropped region of a slab ("FoldedSlab_nPt" and "FoldedSlab_PosWid"): its outline
  // (x, y in mm, in order), an offset for each outline side (side i runs from vertex i to
  // vertex i + 1, the last one back to vertex 0), the drop of its top below the slab's top and
  // its thickness, mm.
  void fold(const Value& slab, const std::vector<std::pair<double, double>>& outline,
            const std::vector<double>& sideOffsets, double drop, double thickness);

  // Leaves a table out of the written file (to test a database without it).
  void omitTable(std::string_view table);

  // Writes the database, replacing any file at `path`. Throws std::runtime_error naming the
  // path and the statement on failure.
  void write(const std::filesystem::path& path) const;

  // Runs SQL on an existing database (to break a written model on purpose).
  static void exec(const std::filesystem::path& path, std::string_view sql);

  // The rows of one table, in insertion order, as they will be written.
  struct Table {
    std::string name;
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
  };

 private:
  Value addRow(std::string_view table, std::string_view counter, std::vector<Value> row);
  struct RowIndex;  // joints and grid lines by id
  // The slab's X, Y and Z vertex lists, walking its outline from joint to joint.
  [[nodiscard]] std::array<Value, 3> vertexLists(const Slab& s, const RowIndex& index) const;

  std::vector<Table> tables_;
  std::vector<std::string> omitted_;
  std::vector<Slab> slabs_;
  std::map<std::string, std::int64_t, std::less<>> counters_;
  Project project_;
};

// A path in the system's temporary folder, unique to this process and object; the file is
// removed when the object goes.
class TempPath {
 public:
  explicit TempPath(std::string_view stem, std::string_view extension = ".sdb");
  TempPath(const TempPath&) = delete;
  TempPath& operator=(const TempPath&) = delete;
  ~TempPath();
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace modeldb
