#pragma once
// Beam query, beam tests and the supporting beams of each beam end.

#include <iostream>
#include <span>
#include <vector>

#include "db/database.h"
#include "queries/rows.h"
#include "readers/column.h"

namespace Beam {

// The beam query, as the model database's producer defines it (tables tblBeamSeg, tblGrid,
// tblJoint, tblBeamSect, tblAxis).
extern const char* const kBeamSql;

// Every beam segment of every standard floor, grouped by standard floor. A beam without its
// own geometry (grid line, joint coordinates or height offsets, or the centre of an arc axis)
// is reported once on `report` ("Beam_12, X1为空，已跳过") and left out; a beam whose grid line
// has no axis row is straight.
[[nodiscard]] std::vector<BeamRow> getBeams(const db::Database& conn,
                                            std::ostream& report = std::cout);

// The rise between the two end elevations over the plan length is below 0.5; false for a
// beam of zero plan length.
[[nodiscard]] bool isHorizontal(const BeamRow& beam);
// The unsigned angle between the two directions is within pi/8 of 0 or of pi.
[[nodiscard]] bool isColinear(const App::Vector& v0, const App::Vector& v1);
// `beams` holds exactly two beams, parallel or opposite within pi/30, and the first crosses
// `beam` at a right angle within pi/30.
[[nodiscard]] bool isTwoPerp(const BeamRow& beam, std::span<const BeamRow> beams);
// A rigid link: Mat 10, or ShapeVal items 1 and 2 both the text "100". A ShapeVal that is not
// text or has fewer than three items is simply not rigid.
[[nodiscard]] bool isRigid(const BeamRow& beam);

// The beam that carries one end of a beam: the end's joint id and the carrying row, which
// points into the `fBeams` passed to getConnectBeams.
struct SupportingBeamPair {
  db::Value jointId;
  const BeamRow* beam = nullptr;
};

// The supporting beam of each end of `beam` (end 1 first, at most one per end) among the beams
// of its standard floor; an end at a column or at a wall end has none; an arc beam gets an
// empty list.
[[nodiscard]] std::vector<SupportingBeamPair> getConnectBeams(
    const BeamRow& beam, std::span<const BeamRow> fBeams,
    std::span<const Column::ColumnRow> fColumns, std::span<const Palvek::WallRow> fWalls);

}  // namespace Beam
