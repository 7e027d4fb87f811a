#include "readers/column.h"

#include "readers/field_reader.h"
#include "readers/table_rows.h"

namespace Column {

namespace {
constexpr const char* kSql =
    "select c.StdFlrID, c.ID, c.EccX, c.EccY, c.JtID, j.X, j.Y, t.ShapeVal, c.Rotation, c.HDiffB, "
    "t.Kind, t.Mat, c.HDiff from tblColSeg c left join tblJoint j on j.ID = c.JtID "
    "left join tblColSect t on t.ID = c.SectID order by c.StdFlrID, c.ID";
}  // namespace

std::vector<ColumnRow> getColumns(const db::Database& conn, std::ostream& report) {
  std::vector<ColumnRow> rows;
  rows.reserve(readers::tableRows(conn, "tblColSeg"));
  conn.forEach(kSql, [&](const db::Row& r) {
    readers::FieldReader f(r, "Column", 1, 13);
    ColumnRow c;
    c.stdFlrId = r[0];
    c.id = r[1];
    c.eccX = f.number(2, "EccX");
    c.eccY = f.number(3, "EccY");
    c.jtId = r[4];
    c.x = f.number(5, "X");
    c.y = f.number(6, "Y");
    c.shapeVal = r[7];
    c.rotation = f.number(8, "Rotation");
    c.hDiffB = f.number(9, "HDiffB");
    c.kind = r[10];
    c.mat = r[11];
    c.hDiff = f.number(12, "HDiff");
    if (f.reportTo(report)) rows.push_back(std::move(c));
  });
  return rows;
}

}  // namespace Column
