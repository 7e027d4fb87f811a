#pragma once
// Axes: the lines and arcs that grid lines lie on.

#include <vector>

#include "db/database.h"

namespace Axis {

struct AxisRow {
  db::Value id;     // 0 tblAxis.ID
  db::Value jt1Id;  // 1 tblAxis.Jt1ID: first joint; minus the centre joint for an arc axis
  db::Value jt2Id;  // 2 tblAxis.Jt2ID: second joint (for an arc: a joint on the circle)
  db::Value name;   // 3 tblAxis.Name: axis label
  bool operator==(const AxisRow&) const = default;
};

// Every axis, by ID. The converter reads them but builds nothing from them.
[[nodiscard]] std::vector<AxisRow> getAxes(const db::Database& conn);

}  // namespace Axis
