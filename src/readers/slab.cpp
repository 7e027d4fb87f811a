#include "readers/slab.h"

#include <cmath>

#include "readers/field_reader.h"
#include "readers/id_map.h"
#include "readers/table_rows.h"

namespace Slab {

namespace {

constexpr const char* kSlabSql =
    "select StdFlrID, VertX, VertY, VertZ, Thick, Mat, ID from tblSlab order by StdFlrID, ID";

// The outline grid lines of every slab, in outline order.
constexpr const char* kSlabGridSql =
    "select SlabID, GridID from tblSlabGrid order by SlabID, No, rowid";

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

// The same rows for every opening, its standard floor last.
constexpr const char* kAllHolesSql =
    "select h.ID, h.SlabID, h.EccX, h.EccY, h.Rotation, d.Kind, d.ShapeVal, h.JtID, j.X, j.Y, "
    "h.StdFlrID from tblSlabHole h left join tblSlabHoleDef d on d.ID = h.SectID "
    "left join tblJoint j on j.ID = h.JtID order by h.ID";

constexpr const char* kSlabFloorSql = "select ID, StdFlrID from tblSlab";
constexpr const char* kBeamOnGridSql =
    "select ID, GridID, StdFlrID, HDiff1 from tblBeamSeg order by ID";

bool isFiniteNumber(const db::Value& v) { return v.isNumber() && std::isfinite(v.asDouble()); }

// The outline grid lines of one slab, and its id as tblSlabGrid stores it.
struct SlabOutline {
  db::Value slabId;
  std::vector<db::Value> gridIds;
};

// The outlines of every slab, by slab id.
readers::IdMap<SlabOutline> readSlabOutlines(const db::Database& conn) {
  readers::IdMap<SlabOutline> outlines;
  conn.forEach(kSlabGridSql, [&](db::Row& r) {
    SlabOutline* outline = outlines.insert(r[0]);
    if (!outline) return;
    if (outline->gridIds.empty()) outline->slabId = r[0];
    outline->gridIds.push_back(std::move(r[1]));
  });
  return outlines;
}

// Why a grid line cannot be a segment of an outline, or empty when it can.
std::string outlineFault(const Grid::GridIndex& grids, const db::Value& gridId) {
  const Grid::GridIndex::Fault fault = grids.fault(gridId);
  if (fault == Grid::GridIndex::Fault::none) return {};
  std::string text = "轮廓网格";
  text += gridId.str();
  if (fault == Grid::GridIndex::Fault::noGrid) return text + "不存在";
  if (fault == Grid::GridIndex::Fault::badJoint) return text + "的节点坐标缺失或无效";
  return text + "的圆心节点缺失或无效";
}

// The slabs with their outlines; one whose outline does not resolve is reported.
std::vector<SlabRow> readSlabs(const db::Database& conn, const Grid::GridIndex& grids,
                               const readers::IdMap<SlabOutline>& outlines, std::ostream& report) {
  std::vector<SlabRow> rows;
  rows.reserve(readers::tableRows(conn, "tblSlab"));
  conn.forEach(kSlabSql, [&](db::Row& r) {
    readers::FieldReader f(r, "Slab", 6, 7);
    // The vertex lists, long texts, are moved out of the row rather than copied.
    const auto text = [&](std::size_t pos) {
      return r[pos].isText() ? r[pos].takeText() : f.text(pos);
    };
    SlabRow s;
    s.stdFlrId = std::move(r[0]);
    s.vertX = text(1);
    s.vertY = text(2);
    s.vertZ = text(3);
    s.thick = std::move(r[4]);
    s.mat = std::move(r[5]);
    s.id = r[6];
    if (const SlabOutline* outline = outlines.find(s.id)) {
      for (const db::Value& gridId : outline->gridIds) {
        if (std::string fault = outlineFault(grids, gridId); !fault.empty()) {
          f.fail(std::move(fault));
          break;
        }
      }
      s.gridIds = outline->gridIds;
    }
    if (f.reportTo(report)) rows.push_back(std::move(s));
  });
  return rows;
}

}  // namespace

std::vector<SlabRow> getSlabs(const db::Database& conn, std::ostream& report) {
  return readSlabs(conn, Grid::GridIndex(conn), readSlabOutlines(conn), report);
}

bool SlabRow::hasGrid(const db::Value& gridId) const {
  for (const db::Value& g : gridIds) {
    if (g == gridId) return true;
  }
  return false;
}

SlabsByGrid::SlabsByGrid(std::span<const SlabRow> slabs) : slabs_(slabs) {
  for (std::size_t i = 0; i < slabs.size(); ++i) {
    for (const db::Value& g : slabs[i].gridIds) {
      if (g.isNull()) {
        if (!firstNull_) firstNull_ = i;
      } else {
        first_.insertFirst(g, i);
      }
    }
  }
}

const SlabRow* SlabsByGrid::first(const db::Value& gridId) const {
  const std::size_t* at =
      gridId.isNull() ? (firstNull_ ? &*firstNull_ : nullptr) : first_.find(gridId);
  if (!at) return nullptr;
  if (slabs_[*at].hasGrid(gridId)) return &slabs_[*at];
  // Numbers are keyed as doubles: an id that only a double confuses with the one found (beyond
  // 2^53) is looked for in full.
  for (const SlabRow& slab : slabs_) {
    if (slab.hasGrid(gridId)) return &slab;
  }
  return nullptr;
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

// jointHDiff: the HDiff of the beam grid's joint 1, NaN when it is not a finite number.
AdjacentBeamRow adjacentBeam(db::Value slabId, db::Value beamId, db::Value gridId,
                             const db::Value& hDiff1, double jointHDiff) {
  std::optional<double> hDiff;
  if (isFiniteNumber(hDiff1) && !std::isnan(jointHDiff)) hDiff = hDiff1.asDouble() + jointHDiff;
  return {std::move(slabId), std::move(beamId), std::move(gridId), hDiff};
}

std::vector<SlabHoleRow> readSlabHoles(const std::vector<db::Row>& found, std::ostream& report) {
  std::vector<SlabHoleRow> rows;
  for (const db::Row& r : found) {
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
  std::vector<AdjacentBeamRow> rows;
  conn.forEach(kAdjacentSql,
               [&](db::Row& r) {
                 const double joint = isFiniteNumber(r[4]) ? r[4].asDouble() : std::nan("");
                 rows.push_back(
                     adjacentBeam(std::move(r[0]), std::move(r[1]), std::move(r[2]), r[3], joint));
               },
               {slabID});
  return rows;
}

std::vector<SlabHoleRow> getSlabHoles(const db::Database& conn, const db::Value& stdFlrID,
                                      const db::Value& slabID, std::ostream& report) {
  return readSlabHoles(conn.query(kHoleSql, {stdFlrID, slabID}), report);
}

// Every table behind the per-slab lists, read once.
struct SlabDetailReader::Tables {
  struct BeamOnGrid {
    db::Value id;
    db::Value gridId;
    db::Value stdFlrId;
    db::Value hDiff1;
  };

  explicit Tables(const db::Database& conn) : grids(conn), outlines(readSlabOutlines(conn)) {
    conn.forEach(kSlabFloorSql, [&](db::Row& r) { slabFloors.insertFirst(r[0], std::move(r[1])); });
    conn.forEach(kBeamOnGridSql, [&](db::Row& r) {
      if (auto* onGrid = beams.insert(r[1])) {
        onGrid->push_back({std::move(r[0]), r[1], std::move(r[2]), std::move(r[3])});
      }
    });
    for (Property::SlabFoldPropRow& p : Property::getAllFoldProps(conn)) {
      if (auto* ofSlab = props.insert(p.objId)) ofSlab->push_back(std::move(p));
    }
    conn.forEach(kAllHolesSql, [&](db::Row& r) {
      if (auto* ofSlab = holes.insert(r[1])) ofSlab->push_back(std::move(r));
    });
  }

  Grid::GridIndex grids;
  readers::IdMap<SlabOutline> outlines;
  readers::IdMap<db::Value> slabFloors;                          // slab id -> StdFlrID
  readers::IdMap<std::vector<BeamOnGrid>> beams;                 // GridID -> beams by ID
  readers::IdMap<std::vector<Property::SlabFoldPropRow>> props;  // ObjID -> properties by ID
  // SlabID -> openings by ID, each a row of the per-slab query with its StdFlrID after it
  readers::IdMap<std::vector<db::Row>> holes;
};

SlabDetailReader::SlabDetailReader(const db::Database& conn)
    : tables_(std::make_unique<Tables>(conn)) {}
SlabDetailReader::~SlabDetailReader() = default;
SlabDetailReader::SlabDetailReader(SlabDetailReader&&) noexcept = default;
SlabDetailReader& SlabDetailReader::operator=(SlabDetailReader&&) noexcept = default;

std::vector<Grid::OutlineSegment> SlabDetailReader::cords(
    const std::vector<db::Value>& gridIds) const {
  return tables_->grids.cords(gridIds);
}

std::vector<AdjacentBeamRow> SlabDetailReader::adjacentBeams(const db::Value& slabID) const {
  std::vector<AdjacentBeamRow> rows;
  const SlabOutline* outline = tables_->outlines.find(slabID);
  const db::Value* stdFlrId =
      outline ? tables_->slabFloors.find(readers::asRowid(outline->slabId)) : nullptr;
  if (!outline || !stdFlrId) return rows;
  for (const db::Value& gridId : outline->gridIds) {
    const auto* onGrid = tables_->beams.find(gridId);
    if (!onGrid) continue;
    for (const Tables::BeamOnGrid& b : *onGrid) {
      if (!readers::sameId(b.stdFlrId, *stdFlrId)) continue;
      rows.push_back(adjacentBeam(outline->slabId, b.id, b.gridId, b.hDiff1,
                                  tables_->grids.joint1HDiff(b.gridId).value_or(std::nan(""))));
    }
  }
  return rows;
}

std::vector<Property::SlabFoldPropRow> SlabDetailReader::foldProps(const db::Value& slabID) const {
  const auto* found = tables_->props.find(slabID);
  return found ? *found : std::vector<Property::SlabFoldPropRow>{};
}

std::vector<SlabHoleRow> SlabDetailReader::holes(const db::Value& stdFlrID, const db::Value& slabID,
                                                 std::ostream& report) const {
  std::vector<db::Row> rows;
  if (const auto* ofSlab = tables_->holes.find(slabID)) {
    for (const db::Row& r : *ofSlab) {
      if (readers::sameId(r[10], stdFlrID)) rows.push_back(r);
    }
  }
  return readSlabHoles(rows, report);
}

std::vector<SlabRow> getSlabs(const db::Database& conn, const SlabDetailReader& details,
                              std::ostream& report) {
  return readSlabs(conn, details.tables_->grids, details.tables_->outlines, report);
}

}  // namespace Slab
