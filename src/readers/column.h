#pragma once
// Columns: vertical members standing on a joint.

#include <iostream>
#include <vector>

#include "db/database.h"

namespace Column {

// One column (tblColSeg on tblJoint, section from tblColSect).
struct ColumnRow {
  db::Value stdFlrId;   // 0 tblColSeg.StdFlrID
  db::Value id;         // 1 tblColSeg.ID
  double eccX = 0;      // 2 tblColSeg.EccX: eccentricity along the turned section x axis, mm
  double eccY = 0;      // 3 tblColSeg.EccY: eccentricity along the turned section y axis, mm
  db::Value jtId;       // 4 tblColSeg.JtID: the joint the column stands on
  double x = 0;         // 5 X of the joint, mm
  double y = 0;         // 6 Y of the joint, mm
  db::Value shapeVal;   // 7 tblColSect.ShapeVal (NULL when the section is missing)
  double rotation = 0;  // 8 tblColSeg.Rotation: degrees, counter-clockwise seen from above
  double hDiffB = 0;    // 9 tblColSeg.HDiffB: base above the storey base, mm
  db::Value kind;       // 10 tblColSect.Kind
  db::Value mat;        // 11 tblColSect.Mat (6 = reinforced concrete)
  double hDiff = 0;     // 12 tblColSeg.HDiff: top above the storey top, mm
  bool operator==(const ColumnRow&) const = default;
};

// Every column, by standard floor and ID. A column without joint coordinates or offsets is
// reported on `report` and left out.
[[nodiscard]] std::vector<ColumnRow> getColumns(const db::Database& conn,
                                                std::ostream& report = std::cout);

}  // namespace Column
