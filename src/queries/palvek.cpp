#include "queries/palvek.h"

#include <algorithm>
#include <optional>

#include "readers/field_reader.h"
#include "readers/project.h"

namespace Palvek {

const char* const kWallSql =
    "select tblWallSeg.StdFlrID as FloorId, tblWallSeg.ID as WallID, tblWallSeg.Ecc, "
    "tblWallSeg.GridID, "
    "tblGrid.Jt1ID, tblGrid.Jt2ID, (select tblJoint.X from tblJoint where tblJoint.id = "
    "tblgrid.Jt1ID) "
    "as X1, (select tblJoint.Y from tblJoint where tblJoint.id = tblgrid.Jt1ID) as Y1, (select "
    "tblJoint.X from tblJoint where tblJoint.id = tblgrid.Jt2ID) as X2, (select tblJoint.Y from "
    "tblJoint where tblJoint.id = tblgrid.Jt2ID) as Y2, tblWallSect.B, tblWallSect.Kind, "
    "tblWallSect.Mat, "
    "tblWallSeg.HDiff1, tblWallSeg.HDiff2, tblWallSeg.HDiffB, (select tblJoint.HDiff from tblJoint "
    "where tblJoint.id = tblgrid.Jt1ID) as ZDiff1, (select tblJoint.HDiff from tblJoint where "
    "tblJoint.id "
    "= tblgrid.Jt2ID) as ZDiff2, tblAxis.Jt1ID, (select tblJoint.X from tblJoint where tblJoint.id "
    "= -tblAxis.Jt1ID) as X0, (select tblJoint.Y from tblJoint where tblJoint.id = -tblAxis.Jt1ID) "
    "as Y0 from tblWallSeg left join tblGrid on tblWallSeg.GridID = tblGrid.ID left join "
    "tblWallSect "
    "on tblWallSect.ID = tblWallSeg.SectID left join tblAxis on tblGrid.AxisID = tblAxis.ID order "
    "by FloorID";

const char* const kWallHoleSql =
    "select              tblWallHole.Ecc,             tblWallHole.HDiff,             "
    "tblWallHoleDef.B, "
    "            tblWallHoleDef.H              from tblWallHole              left join "
    "tblWallHoleDef "
    "on              tblWallHole.SectID = tblWallHoleDef.ID              where StdFlrID = ? and "
    "                   GridID = ?";

namespace {

// The wall-opening query's rows for every opening, with the two columns it selects by after
// them, named as it names them; in table order, which is the order within one grid line.
constexpr const char* kAllWallHolesSql =
    "select tblWallHole.Ecc, tblWallHole.HDiff, tblWallHoleDef.B, tblWallHoleDef.H, StdFlrID, "
    "GridID from tblWallHole left join tblWallHoleDef on tblWallHole.SectID = tblWallHoleDef.ID "
    "order by tblWallHole.rowid";

WallRow readWall(const db::Row& r, readers::FieldReader& f) {
  WallRow w;
  w.floorId = r[0];
  w.wallId = r[1];
  w.ecc = f.number(2, "Ecc");
  w.gridId = r[3];
  w.jt1Id = r[4];
  w.jt2Id = r[5];
  w.x1 = f.number(6, "X1");
  w.y1 = f.number(7, "Y1");
  w.x2 = f.number(8, "X2");
  w.y2 = f.number(9, "Y2");
  w.b = r[10];
  w.kind = r[11];
  w.mat = r[12];
  w.hDiff1 = f.numberValue(13, "HDiff1");
  w.hDiff2 = f.numberValue(14, "HDiff2");
  w.hDiffB = f.numberValue(15, "HDiffB");
  w.zDiff1 = f.numberValue(16, "ZDiff1");
  w.zDiff2 = f.numberValue(17, "ZDiff2");
  w.axisJt1Id = f.number(18, "tblAxis.Jt1ID");
  w.x0 = f.optionalNumber(19, "X0");
  w.y0 = f.optionalNumber(20, "Y0");
  if (w.isArc()) {
    f.number(19, "X0");
    f.number(20, "Y0");
  }
  return w;
}

std::vector<WallHoleRow> readHoles(const std::vector<db::Row>& rows, const db::Value& gridID,
                                   std::ostream& report) {
  std::vector<WallHoleRow> holes;
  for (const db::Row& r : rows) {
    // The opening has no id of its own in the query: it is named by its grid line.
    const db::Row named{r[0], r[1], r[2], r[3], gridID};
    readers::FieldReader f(named, "WallHole", 4, 4);
    WallHoleRow h;
    h.ecc = f.number(0, "Ecc");
    h.hDiff = f.number(1, "HDiff");
    h.b = r[2];
    h.h = r[3];
    if (f.reportTo(report)) holes.push_back(std::move(h));
  }
  return holes;
}

bool isOther(const WallRow& w, const WallRow& wall, const db::Value& jtID) {
  return !(w == wall) && (w.jt1Id == jtID || w.jt2Id == jtID);
}

}  // namespace

std::vector<WallRow> getPalveks(const db::Database& conn, std::ostream& report) {
  std::vector<WallRow> walls;
  conn.forEach(kWallSql, [&](const db::Row& r) {
    readers::FieldReader f(r, "Wall", 1, 21);
    WallRow w = readWall(r, f);
    if (f.reportTo(report)) walls.push_back(std::move(w));
  });
  return walls;
}

WallHoleQuery::WallHoleQuery(const db::Database& conn) {
  conn.forEach(kAllWallHolesSql, [&](db::Row& r) {
    auto* onGrid = byGrid_.insert(r[5]);
    if (!onGrid) return;
    const bool firstOfFloor = std::none_of(onGrid->begin(), onGrid->end(), [&](const db::Row& o) {
      return readers::sameId(o[4], r[4]);
    });
    if (firstOfFloor) {
      if (auto* grids = gridsByFloor_.insert(r[4])) grids->push_back(r[5]);
    }
    onGrid->push_back(std::move(r));
  });
}

std::vector<db::Value> WallHoleQuery::gridsOf(const db::Value& stdFlrID) const {
  const auto* grids = gridsByFloor_.find(stdFlrID);
  return grids ? *grids : std::vector<db::Value>{};
}

void WallHoleQuery::leaveOut(const db::Value& stdFlrID, const db::Value& gridID) {
  if (byGrid_.find(gridID) == nullptr || gridsByFloor_.find(stdFlrID) == nullptr) return;
  std::erase_if(*byGrid_.insert(gridID),
                [&](const db::Row& r) { return readers::sameId(r[4], stdFlrID); });
  std::erase_if(*gridsByFloor_.insert(stdFlrID),
                [&](const db::Value& g) { return readers::sameId(g, gridID); });
}

std::vector<WallHoleRow> WallHoleQuery::operator()(const db::Value& stdFlrID,
                                                   const db::Value& gridID,
                                                   std::ostream& report) const {
  std::vector<db::Row> rows;
  if (const auto* onGrid = byGrid_.find(gridID)) {
    for (const db::Row& r : *onGrid) {
      if (readers::sameId(r[4], stdFlrID)) rows.push_back(r);
    }
  }
  return readHoles(rows, gridID, report);
}

std::vector<WallHoleRow> getWallHoles(const db::Database& conn, const db::Value& stdFlrID,
                                      const db::Value& gridID, std::ostream& report) {
  return readHoles(conn.query(kWallHoleSql, {stdFlrID, gridID}), gridID, report);
}

std::vector<ConnectedWallPair> getConnectWalls(const WallRow& wall,
                                               std::span<const Beam::BeamRow> /*fBeams*/,
                                               std::span<const Column::ColumnRow> fColumns,
                                               std::span<const WallRow> fWalls) {
  std::vector<const Column::ColumnRow*> concrete;
  for (const Column::ColumnRow& c : fColumns) {
    if (c.mat == db::Value(Project::kConcreteMat)) concrete.push_back(&c);
  }
  const App::Vector v0 = wall.planVector();
  auto getByJoint = [&](const db::Value& jtID) -> std::optional<std::vector<const WallRow*>> {
    for (const Column::ColumnRow* c : concrete) {
      if (c->jtId == jtID) return std::nullopt;
    }
    std::vector<const WallRow*> walls;
    for (const WallRow& w : fWalls) {
      if (isOther(w, wall, jtID)) walls.push_back(&w);
    }
    return walls;
  };
  std::vector<ConnectedWallPair> pairs;
  const auto walls1 = getByJoint(wall.jt1Id);
  const auto walls2 = getByJoint(wall.jt2Id);
  auto addEnd = [&](const db::Value& jtID, const std::optional<std::vector<const WallRow*>>& ws) {
    if (ws && ws->size() == 1 && ws->front()->axisJt1Id > 0 &&
        !isColinear(v0, ws->front()->planVector())) {
      pairs.push_back({jtID, ws->front()});
    }
  };
  addEnd(wall.jt1Id, walls1);
  addEnd(wall.jt2Id, walls2);
  return pairs;
}

std::vector<ConnectedBeamsPair> getConnectBeams(const WallRow& wall,
                                                std::span<const Beam::BeamRow> fBeams,
                                                std::span<const Column::ColumnRow> fColumns,
                                                std::span<const WallRow> fWalls) {
  const App::Vector v0 = wall.planVector();
  auto getByJoint = [&](const db::Value& jtID) {
    std::vector<const Beam::BeamRow*> beams;
    for (const WallRow& w : fWalls) {
      if (isOther(w, wall, jtID) && isColinear(v0, w.planVector())) return beams;
    }
    for (const Column::ColumnRow& c : fColumns) {
      if (c.jtId == jtID) return beams;
    }
    for (const Beam::BeamRow& b : fBeams) {
      if (b.axisJt1Id > 0 && (b.jt1Id == jtID || b.jt2Id == jtID) &&
          !isColinear(v0, b.planVector())) {
        beams.push_back(&b);
      }
    }
    return beams;
  };
  std::vector<ConnectedBeamsPair> pairs;
  auto beams1 = getByJoint(wall.jt1Id);
  auto beams2 = getByJoint(wall.jt2Id);
  if (!beams1.empty()) pairs.push_back({wall.jt1Id, std::move(beams1)});
  if (!beams2.empty()) pairs.push_back({wall.jt2Id, std::move(beams2)});
  return pairs;
}

}  // namespace Palvek
