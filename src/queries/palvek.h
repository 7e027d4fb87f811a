#pragma once
// Wall and wall-opening queries, and the walls and beams that meet each wall end.

#include <iostream>
#include <span>
#include <vector>

#include "db/database.h"
#include "queries/beam.h"
#include "queries/rows.h"
#include "readers/column.h"
#include "readers/id_map.h"

namespace Palvek {

// The wall query, as the model database's producer defines it (tables tblWallSeg, tblGrid,
// tblJoint, tblWallSect, tblAxis).
extern const char* const kWallSql;
// The wall-opening query with its two values bound as parameters (standard floor, grid line).
extern const char* const kWallHoleSql;

// Every wall segment of every standard floor, grouped by standard floor. A wall without its own
// geometry is reported once on `report` and left out.
[[nodiscard]] std::vector<WallRow> getPalveks(const db::Database& conn,
                                              std::ostream& report = std::cout);

// The openings of every grid line, read once when the query is made (one pass over the
// openings instead of one query per wall) and looked up per standard floor and grid line,
// with the rows getWallHoles gives. Make one per run; lookups only read, so threads may share
// it.
class WallHoleQuery {
 public:
  explicit WallHoleQuery(const db::Database& conn);
  // An opening without sill or position is reported on `report` at this call and left out.
  [[nodiscard]] std::vector<WallHoleRow> operator()(const db::Value& stdFlrID,
                                                    const db::Value& gridID,
                                                    std::ostream& report = std::cout) const;
  // The grid lines that carry openings of one standard floor, in the order of their first
  // opening.
  [[nodiscard]] std::vector<db::Value> gridsOf(const db::Value& stdFlrID) const;
  // Leaves out the openings of one grid line of one standard floor: those of a wall that is
  // not exported.
  void leaveOut(const db::Value& stdFlrID, const db::Value& gridID);

 private:
  // GridID -> the openings' rows (Ecc, HDiff, B, H, StdFlrID) in table order
  readers::IdMap<std::vector<db::Row>> byGrid_;
  // StdFlrID -> the grid lines of its openings, in the order of their first opening
  readers::IdMap<std::vector<db::Value>> gridsByFloor_;
};

// The openings of one grid line of one standard floor, read by the wall-opening query.
[[nodiscard]] std::vector<WallHoleRow> getWallHoles(const db::Database& conn,
                                                    const db::Value& stdFlrID,
                                                    const db::Value& gridID,
                                                    std::ostream& report = std::cout);

using Beam::isColinear;

// The one other wall that meets each end: joint id and the row, pointing into `fWalls`.
struct ConnectedWallPair {
  db::Value jointId;
  const WallRow* wall = nullptr;
};

// The beams that frame into one end: joint id and the rows, pointing into `fBeams`.
struct ConnectedBeamsPair {
  db::Value jointId;
  std::vector<const Beam::BeamRow*> beams;
};

// Per end (end 1 first): the single other wall at the end when it is straight and at an
// angle to the wall; an end at a concrete column (Mat 6) has none. `fBeams` is not read.
[[nodiscard]] std::vector<ConnectedWallPair> getConnectWalls(
    const WallRow& wall, std::span<const Beam::BeamRow> fBeams,
    std::span<const Column::ColumnRow> fColumns, std::span<const WallRow> fWalls);

// Per end (end 1 first): the straight beams at the end that run across the wall, unless a
// wall continues in line there or any column stands there.
[[nodiscard]] std::vector<ConnectedBeamsPair> getConnectBeams(
    const WallRow& wall, std::span<const Beam::BeamRow> fBeams,
    std::span<const Column::ColumnRow> fColumns, std::span<const WallRow> fWalls);

}  // namespace Palvek
