#include "readers/slab.h"

#include <cmath>
#include <unordered_map>

#include "readers/field_reader.h"

namespace Slab {

namespace {

constexpr const char* kSlabSql =
    "select StdFlrID, VertX, VertY, VertZ, Thick, Mat, ID from tblSlab order by StdFlrID, ID";

// Each outline grid line of each slab, with what keeps it from being a segment: 1 no grid row,
// 2 a joint without finite coordinates, 3 an arc axis whose centre joint has none.
#define SDB2IFC_BAD_NUMBER(v) "(typeof(" v ") not in ('integer', 'real') or abs(" v ") > 1e308)"
constexpr const char* kOutlineSql =
    "select sg.SlabID, sg.GridID, case when g.ID is null then 1 "
    "when " SDB2IFC_BAD_NUMBER("j1.X") " or " SDB2IFC_BAD_NUMBER("j1.Y") " or "
    SDB2IFC_BAD_NUMBER("j1.HDiff") " or " SDB2IFC_BAD_NUMBER("j2.X") " or "
    SDB2IFC_BAD_NUMBER("j2.Y") " or " SDB2IFC_BAD_NUMBER("j2.HDiff") " then 2 "
    "when a.Jt1ID < 0 and (" SDB2IFC_BAD_NUMBER("c.X") " or " SDB2IFC_BAD_NUMBER("c.Y") " or "
    SDB2IFC_BAD_NUMBER("c.HDiff") ") then 3 else 0 end "
    "from tblSlabGrid sg left join tblGrid g on g.ID = sg.GridID "
    "left join tblJoint j1 on j1.ID = g.Jt1ID left join tblJoint j2 on j2.ID = g.Jt2ID "
    "left join tblAxis a on a.ID = g.AxisID left join tblJoint c on c.ID = -a.Jt1ID "
    "order by sg.SlabID, sg.No, sg.rowid";
#undef SDB2IFC_BAD_NUMBER

constexpr const char* kCantiSql =
    "select c.StdFlrID, c.ID, c.HDrop, c.Ecc, c.Side, c.Length, c.Width, c.Thick, j1.X, j1.Y, "
    "j2.X, j2.Y, c.GridID, a.Jt1ID, o.X, o.Y, j1.HDiff, j2.HDiff from tblCantiSlab c "
    "left join tblGrid g on g.ID = c.GridID left join tblJoint j1 on j1.ID = g.Jt1ID "
    "left join tblJoint j2 on j2.ID = g.Jt2ID left join tblAxis a on a.ID = g.AxisID "
    "left join tblJoint o on o.ID = -a.Jt1ID order by c.StdFlrID, c.ID";

constexpr const char* kAdjacentSql =
    "select sg.SlabID, b.ID, b.GridID, b.HDiff1, j.HDiff from tblSlabGrid sg "
    "join tblSlab s on s.ID = sg.SlabID "
    "join tblBeamSeg b on b.GridID = sg.GridID and b.StdFlrID = s.StdFlrID "
    "left join tblGrid g on g.ID = b.GridID left join tblJoint j on j.ID = g.Jt1ID "
    "where sg.SlabID = ? order by sg.No, sg.rowid, b.ID";

constexpr const char* kHoleSql =
    "select h.ID, h.SlabID, h.EccX, h.EccY, h.Rotation, d.Kind, d.ShapeVal, h.JtID, j.X, j.Y "
    "from tblSlabHole h left join tblSlabHoleDef d on d.ID = h.SectID "
    "left join tblJoint j on j.ID = h.JtID where h.StdFlrID = ? and h.SlabID = ? order by h.ID";

bool isFiniteNumber(const db::Value& v) { return v.isNumber() && std::isfinite(v.asDouble()); }

struct Outline {
  std::vector<db::Value> gridIds;
  std::string fault;
};

// Outlines by slab id, found as the ids compare: numbers by value, text by text.
class Outlines {
 public:
  Outline& operator[](const db::Value& id) {
    if (id.isNumber()) return numbers_[id.asDouble()];
    return texts_[id.isText() ? "t" + id.asText() : std::string("null")];
  }
  const Outline* find(const db::Value& id) const {
    if (id.isNumber()) {
      const auto it = numbers_.find(id.asDouble());
      return it == numbers_.end() ? nullptr : &it->second;
    }
    const auto it = texts_.find(id.isText() ? "t" + id.asText() : std::string("null"));
    return it == texts_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<double, Outline> numbers_;
  std::unordered_map<std::string, Outline> texts_;
};

// Why a grid line cannot be a segment of an outline, or empty when it can.
std::string outlineFault(const db::Row& r) {
  if (r[2] == db::Value(0)) return {};
  std::string fault = "轮廓网格";
  fault += r[1].str();
  if (r[2] == db::Value(1)) return fault + "不存在";
  if (r[2] == db::Value(2)) return fault + "的节点坐标缺失或无效";
  return fault + "的圆心节点缺失或无效";
}

}  // namespace

bool SlabRow::hasGrid(const db::Value& gridId) const {
  for (const db::Value& g : gridIds) {
    if (g == gridId) return true;
  }
  return false;
}

std::vector<SlabRow> getSlabs(const db::Database& conn, std::ostream& report) {
  Outlines outlines;
  for (const db::Row& r : conn.query(kOutlineSql)) {
    Outline& o = outlines[r[0]];
    o.gridIds.push_back(r[1]);
    if (o.fault.empty()) o.fault = outlineFault(r);
  }
  std::vector<SlabRow> rows;
  for (const db::Row& r : conn.query(kSlabSql)) {
    readers::FieldReader f(r, "Slab", 6, 7);
    SlabRow s;
    s.stdFlrId = r[0];
    s.vertX = f.text(1);
    s.vertY = f.text(2);
    s.vertZ = f.text(3);
    s.thick = r[4];
    s.mat = r[5];
    s.id = r[6];
    if (const Outline* o = outlines.find(s.id)) {
      if (!o->fault.empty()) f.fail(o->fault);
      s.gridIds = o->gridIds;
    }
    if (f.reportTo(report)) rows.push_back(std::move(s));
  }
  return rows;
}

std::vector<CantiSlabRow> getCantiSlabs(const db::Database& conn, std::ostream& report) {
  std::vector<CantiSlabRow> rows;
  for (const db::Row& r : conn.query(kCantiSql)) {
    readers::FieldReader f(r, "CantiSlab", 1, 18);
    CantiSlabRow c;
    c.stdFlrId = r[0];
    c.id = r[1];
    c.hDrop = f.number(2, "HDrop");
    c.ecc = f.number(3, "Ecc");
    c.side = f.number(4, "Side");
    c.length = f.number(5, "Length");
    c.width = f.numberValue(6, "Width");
    c.thick = f.numberValue(7, "Thick");
    c.x1 = f.number(8, "X1");
    c.y1 = f.number(9, "Y1");
    c.x2 = f.number(10, "X2");
    c.y2 = f.number(11, "Y2");
    c.gridId = r[12];
    c.axisJt1Id = f.number(13, "tblAxis.Jt1ID");
    c.x0 = f.optionalNumber(14, "X0");
    c.y0 = f.optionalNumber(15, "Y0");
    if (c.axisJt1Id < 0) {
      f.number(14, "X0");
      f.number(15, "Y0");
    }
    c.zDiff1 = f.number(16, "ZDiff1");
    c.zDiff2 = f.number(17, "ZDiff2");
    if (f.reportTo(report)) rows.push_back(std::move(c));
  }
  return rows;
}

namespace {

std::vector<AdjacentBeamRow> readAdjacentBeams(db::Statement& statement, const db::Value& slabID) {
  std::vector<AdjacentBeamRow> rows;
  for (db::Row& r : statement.query({slabID})) {
    std::optional<double> hDiff;
    if (isFiniteNumber(r[3]) && isFiniteNumber(r[4])) hDiff = r[3].asDouble() + r[4].asDouble();
    rows.push_back({std::move(r[0]), std::move(r[1]), std::move(r[2]), hDiff});
  }
  return rows;
}

std::vector<SlabHoleRow> readSlabHoles(db::Statement& statement, const db::Value& stdFlrID,
                                       const db::Value& slabID, std::ostream& report) {
  std::vector<SlabHoleRow> rows;
  for (const db::Row& r : statement.query({stdFlrID, slabID})) {
    readers::FieldReader f(r, "SlabHole", 0, 10);
    SlabHoleRow h;
    h.id = r[0];
    h.slabId = r[1];
    h.eccX = f.number(2, "EccX");
    h.eccY = f.number(3, "EccY");
    h.rotation = f.number(4, "Rotation");
    h.kind = r[5];
    h.shapeVal = r[6];
    h.jtId = r[7];
    h.x0 = f.number(8, "X0");
    h.y0 = f.number(9, "Y0");
    if (f.reportTo(report)) rows.push_back(std::move(h));
  }
  return rows;
}

}  // namespace

std::vector<AdjacentBeamRow> getAdjacentBeams(const db::Database& conn, const db::Value& slabID) {
  db::Statement statement = conn.prepare(kAdjacentSql);
  return readAdjacentBeams(statement, slabID);
}

std::vector<SlabHoleRow> getSlabHoles(const db::Database& conn, const db::Value& stdFlrID,
                                      const db::Value& slabID, std::ostream& report) {
  db::Statement statement = conn.prepare(kHoleSql);
  return readSlabHoles(statement, stdFlrID, slabID, report);
}

SlabDetailReader::SlabDetailReader(const db::Database& conn)
    : cords_(conn.prepare(Grid::kCordSql)),
      adjacent_(conn.prepare(kAdjacentSql)),
      props_(conn.prepare(Property::kFoldPropSql)),
      holes_(conn.prepare(kHoleSql)) {}

std::vector<Grid::OutlineSegment> SlabDetailReader::cords(const std::vector<db::Value>& gridIds) {
  return Grid::readCords(cords_, gridIds);
}
std::vector<AdjacentBeamRow> SlabDetailReader::adjacentBeams(const db::Value& slabID) {
  return readAdjacentBeams(adjacent_, slabID);
}
std::vector<Property::SlabFoldPropRow> SlabDetailReader::foldProps(const db::Value& slabID) {
  return Property::readSlabFoldProps(props_, slabID);
}
std::vector<SlabHoleRow> SlabDetailReader::holes(const db::Value& stdFlrID, const db::Value& slabID,
                                                 std::ostream& report) {
  return readSlabHoles(holes_, stdFlrID, slabID, report);
}

}  // namespace Slab
