#include "queries/beam.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

#include "readers/field_reader.h"
#include "readers/table_rows.h"
#include "text/split.h"

namespace Beam {

const char* const kBeamSql =
    "select tblbeamseg.StdFlrID as FloorId, tblBeamSeg.ID as BeamID, tblbeamseg.Ecc, "
    "tblGrid.Jt1ID, "
    "tblGrid.Jt2ID, (select tblJoint.X from tblJoint where tblJoint.id = tblgrid.Jt1ID) as X1, "
    "(select tblJoint.Y from tblJoint where tblJoint.id = tblgrid.Jt1ID) as Y1, (select tblJoint.X "
    "from tblJoint where tblJoint.id = tblgrid.Jt2ID) as X2, (select tblJoint.Y from tblJoint "
    "where "
    "tblJoint.id = tblgrid.Jt2ID) as Y2, tblBeamSect.ShapeVal, tblBeamSect.Mat, tblBeamSect.Kind, "
    "tblbeamseg.HDiff1, tblbeamseg.HDiff2, (select tblJoint.HDiff from tblJoint where tblJoint.id "
    "= tblgrid.Jt1ID) as ZDiff1, (select tblJoint.HDiff from tblJoint where tblJoint.id = "
    "tblgrid.Jt2ID) "
    "as ZDiff2, tblAxis.Jt1ID, (select tblJoint.X from tblJoint where tblJoint.id = "
    "-tblAxis.Jt1ID) "
    "as X0, (select tblJoint.Y from tblJoint where tblJoint.id = -tblAxis.Jt1ID) as Y0 from "
    "tblBeamSeg "
    "left join tblGrid on tblbeamseg.GridID = tblGrid.ID left join tblBeamSect on tblBeamSect.ID "
    "= tblbeamseg.SectID left join tblAxis on tblGrid.AxisID = tblAxis.ID order by FloorID";

namespace {

using BeamList = std::vector<const BeamRow*>;

// Fills the typed row, moving the values it keeps as stored out of `r`; a fault in the beam's
// own geometry is recorded in `f`, which reads `r` (the beam id, for the fault line, stays).
BeamRow readBeam(db::Row& r, readers::FieldReader& f) {
  BeamRow b;
  b.floorId = std::move(r[0]);
  b.beamId = r[1];
  b.ecc = f.number(2, "Ecc");
  b.jt1Id = std::move(r[3]);
  b.jt2Id = std::move(r[4]);
  b.x1 = f.number(5, "X1");
  b.y1 = f.number(6, "Y1");
  b.x2 = f.number(7, "X2");
  b.y2 = f.number(8, "Y2");
  b.shapeVal = std::move(r[9]);
  b.mat = std::move(r[10]);
  b.kind = std::move(r[11]);
  b.hDiff1 = f.numberValue(12, "HDiff1");
  b.hDiff2 = f.numberValue(13, "HDiff2");
  b.zDiff1 = f.numberValue(14, "ZDiff1");
  b.zDiff2 = f.numberValue(15, "ZDiff2");
  // A grid line without its axis row lies on a straight axis, as the code 0 has it.
  b.axisJt1Id = r[16].isNull() ? 0.0 : f.number(16, "tblAxis.Jt1ID");
  b.x0 = f.optionalNumber(17, "X0");
  b.y0 = f.optionalNumber(18, "Y0");
  if (b.isArc()) {
    // The arc's centre is part of the beam's own geometry.
    f.number(17, "X0");
    f.number(18, "Y0");
  }
  return b;
}

bool twoPerp(const BeamRow& beam, const BeamRow& first, const BeamRow& second) {
  constexpr double pi = std::numbers::pi;
  constexpr double tolerance = pi / 30;
  const double angle = first.planVector().getAngle(second.planVector());
  const double angle2 = beam.planVector().getAngle(first.planVector());
  if (std::abs(angle) < tolerance || std::abs(angle - pi) < tolerance) {
    return std::abs(angle2 - pi / 2) < tolerance;
  }
  return false;
}

}  // namespace

std::vector<BeamRow> getBeams(const db::Database& conn, std::ostream& report) {
  std::vector<BeamRow> beams;
  // One row per beam segment: the joins are on the tables' primary keys.
  beams.reserve(readers::tableRows(conn, "tblBeamSeg"));
  conn.forEach(kBeamSql, [&](db::Row& r) {
    readers::FieldReader f(r, "Beam", 1, 19);
    BeamRow b = readBeam(r, f);
    if (f.reportTo(report)) beams.push_back(std::move(b));
  });
  return beams;
}

bool isHorizontal(const BeamRow& beam) {
  const double rise = std::abs(beam.elevation1() - beam.elevation2());
  const double run = beam.planVector().Length();
  // A beam without plan length has no slope to speak of; it never counts as horizontal.
  if (run == 0.0) return false;
  return rise / run < 0.5;
}

bool isColinear(const App::Vector& v0, const App::Vector& v1) {
  constexpr double pi = std::numbers::pi;
  constexpr double tolerance = pi / 8;
  const double angle = v0.getAngle(v1);
  return std::abs(angle) < tolerance || std::abs(angle - pi) < tolerance;
}

bool isTwoPerp(const BeamRow& beam, std::span<const BeamRow> beams) {
  return beams.size() == 2 && twoPerp(beam, beams[0], beams[1]);
}

bool isRigid(const BeamRow& beam) {
  if (beam.mat == db::Value(10)) return true;
  // A section that cannot be read is no rigid link; the beam's own builder reports it.
  if (!beam.shapeVal.isText()) return false;
  const std::vector<std::string> paras = text::split(beam.shapeVal.asText(), ',');
  return paras.size() >= 3 && paras[1] == "100" && paras[2] == "100";
}

std::vector<SupportingBeamPair> getConnectBeams(const BeamRow& beam,
                                                std::span<const BeamRow> fBeams,
                                                std::span<const Column::ColumnRow> fColumns,
                                                std::span<const Palvek::WallRow> fWalls) {
  const App::Vector v0 = beam.planVector();
  if (beam.isArc()) return {};

  // Candidates at one joint; no value where a column or a wall end takes the beam.
  auto getByJoint = [&](const db::Value& jtID) -> std::optional<BeamList> {
    for (const Column::ColumnRow& c : fColumns) {
      if (c.jtId == jtID) return std::nullopt;
    }
    for (const Palvek::WallRow& w : fWalls) {
      if (w.jt1Id == jtID || w.jt2Id == jtID) return std::nullopt;
    }
    BeamList candidates;
    for (const BeamRow& b : fBeams) {
      if (b.axisJt1Id > 0 && !(b == beam) && (b.jt1Id == jtID || b.jt2Id == jtID) &&
          isHorizontal(b) && !isRigid(b)) {
        candidates.push_back(&b);
      }
    }
    return candidates;
  };

  // The candidates kept for one end; no value when none can carry the beam. Every candidate
  // is grouped by its own end-1 elevation against the beam's end-1 elevation.
  auto preProcess = [&](const std::optional<BeamList>& beams) -> std::optional<BeamList> {
    if (!beams || beams->empty()) return beams;
    const double z = beam.elevation1();
    BeamList atZ;
    for (const BeamRow* b : *beams) {
      if (b->elevation1() == z) atZ.push_back(b);
    }
    if (atZ.size() == 1) {
      if (isColinear(v0, atZ[0]->planVector())) return std::nullopt;
      return atZ;
    }
    if (atZ.size() >= 2) return beams;
    for (const BeamRow* b : *beams) {
      if (!isColinear(v0, b->planVector())) return BeamList{b};
    }
    return std::nullopt;
  };

  std::vector<SupportingBeamPair> pairs;
  const std::optional<BeamList> beams1 = getByJoint(beam.jt1Id);
  const std::optional<BeamList> beams2 = getByJoint(beam.jt2Id);
  auto addEnd = [&](const db::Value& jtID, const std::optional<BeamList>& candidates) {
    const std::optional<BeamList> kept = preProcess(candidates);
    if (!kept || kept->empty()) return;
    if (kept->size() == 1 || (kept->size() == 2 && twoPerp(beam, *(*kept)[0], *(*kept)[1]))) {
      pairs.push_back({jtID, kept->front()});
    }
  };
  addEnd(beam.jt1Id, beams1);
  addEnd(beam.jt2Id, beams2);
  return pairs;
}

}  // namespace Beam
