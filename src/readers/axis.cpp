#include "readers/axis.h"

#include "readers/table_rows.h"

namespace Axis {

std::vector<AxisRow> getAxes(const db::Database& conn) {
  std::vector<AxisRow> rows;
  rows.reserve(readers::tableRows(conn, "tblAxis"));
  conn.forEach("select ID, Jt1ID, Jt2ID, Name from tblAxis order by ID", [&](db::Row& r) {
    rows.push_back({std::move(r[0]), std::move(r[1]), std::move(r[2]), std::move(r[3])});
  });
  return rows;
}

}  // namespace Axis
