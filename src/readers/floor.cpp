#include "readers/floor.h"

namespace Floor {

std::vector<StdFloorRow> getStdFlrs(const db::Database& conn) {
  std::vector<StdFloorRow> rows;
  for (db::Row& r : conn.query("select ID, Height, Para, No from tblStdFlr order by No, ID")) {
    rows.push_back({std::move(r[0]), std::move(r[1]), std::move(r[2]), std::move(r[3])});
  }
  return rows;
}

std::vector<FloorRow> getFloors(const db::Database& conn) {
  std::vector<FloorRow> rows;
  for (db::Row& r : conn.query(
           "select tblFloor.StdFlrID, tblFloor.LevelB, tblFloor.Height, tblFloor.ID, tblFloor.No, "
           "tblFloor.Name, tblFloor.Remark, tblStdFlr.No from tblFloor left join tblStdFlr on "
           "tblStdFlr.ID = tblFloor.StdFlrID order by tblFloor.No, tblFloor.ID")) {
    rows.push_back({std::move(r[0]), std::move(r[1]), std::move(r[2]), std::move(r[3]),
                    std::move(r[4]), std::move(r[5]), std::move(r[6]), std::move(r[7])});
  }
  return rows;
}

}  // namespace Floor
