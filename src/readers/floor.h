#pragma once
// Standard floors (floor templates) and real floors.

#include <vector>

#include "db/database.h"

namespace Floor {

// One standard floor (tblStdFlr). Values as stored: the driver compares the height with real
// floor heights exactly and writes numbers into names and the floor list.
struct StdFloorRow {
  db::Value id;      // 0 tblStdFlr.ID
  db::Value height;  // 1 tblStdFlr.Height: storey height, mm
  db::Value
      para;  // 2 tblStdFlr.Para: comma-separated parameters; item 1 = default slab thickness, mm
  db::Value no;  // 3 tblStdFlr.No: standard-floor number
  bool operator==(const StdFloorRow&) const = default;
};

// One real floor (tblFloor joined with its standard floor).
struct FloorRow {
  db::Value stdFlrId;  // 0 tblFloor.StdFlrID
  db::Value levelB;    // 1 tblFloor.LevelB: elevation of the floor's base, mm
  db::Value height;    // 2 tblFloor.Height: storey height, mm
  db::Value id;        // 3 tblFloor.ID
  db::Value no;        // 4 tblFloor.No: floor number
  db::Value name;      // 5 tblFloor.Name (may be empty)
  db::Value remark;    // 6 tblFloor.Remark: free note, not used by the converter
  db::Value stdFlrNo;  // 7 tblStdFlr.No of the floor's standard floor (NULL when it has none)
  bool operator==(const FloorRow&) const = default;
};

// Standard floors in build order: by No, then ID.
[[nodiscard]] std::vector<StdFloorRow> getStdFlrs(const db::Database& conn);
// Real floors by No, then ID.
[[nodiscard]] std::vector<FloorRow> getFloors(const db::Database& conn);

}  // namespace Floor
