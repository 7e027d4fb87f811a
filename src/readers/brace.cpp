#include "readers/brace.h"

#include "readers/field_reader.h"

namespace Brace {

namespace {
constexpr const char* kSql =
    "select b.StdFlrID, b.ID, b.Jt1ID, b.Jt2ID, b.EccX1, b.EccY1, b.EccX2, b.EccY2, b.HDiff1, "
    "b.HDiff2, b.Rotation, j1.X, j1.Y, j2.X, j2.Y, t.ShapeVal, t.Mat, t.Kind, j1.HDiff, j2.HDiff "
    "from tblBraceSeg b left join tblJoint j1 on j1.ID = b.Jt1ID "
    "left join tblJoint j2 on j2.ID = b.Jt2ID left join tblBraceSect t on t.ID = b.SectID "
    "order by b.StdFlrID, b.ID";
}  // namespace

std::vector<BraceRow> getBraces(const db::Database& conn, std::ostream& report) {
  std::vector<BraceRow> rows;
  conn.forEach(kSql, [&](const db::Row& r) {
    readers::FieldReader f(r, "Brace", 1, 20);
    BraceRow b;
    b.stdFlrId = r[0];
    b.id = r[1];
    b.jt1Id = r[2];
    b.jt2Id = r[3];
    b.eccX1 = f.number(4, "EccX1");
    b.eccY1 = f.number(5, "EccY1");
    b.eccX2 = f.number(6, "EccX2");
    b.eccY2 = f.number(7, "EccY2");
    b.hDiff1 = f.number(8, "HDiff1");
    b.hDiff2 = f.number(9, "HDiff2");
    b.rotation = f.number(10, "Rotation");
    b.x1 = f.number(11, "X1");
    b.y1 = f.number(12, "Y1");
    b.x2 = f.number(13, "X2");
    b.y2 = f.number(14, "Y2");
    b.shapeVal = r[15];
    b.mat = r[16];
    b.kind = r[17];
    b.zDiff1 = f.number(18, "ZDiff1");
    b.zDiff2 = f.number(19, "ZDiff2");
    if (f.reportTo(report)) rows.push_back(std::move(b));
  });
  return rows;
}

}  // namespace Brace
