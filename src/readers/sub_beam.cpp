#include "readers/sub_beam.h"

#include "readers/field_reader.h"
#include "readers/table_rows.h"

namespace SubBeam {

namespace {
// The row's own fields, then the height offsets that make Z1 and Z2.
constexpr const char* kSql =
    "select s.StdFlrID, s.ID, j1.X, j1.Y, s.HDiff1, j2.X, j2.Y, s.HDiff2, g.Jt1ID, g.Jt2ID, "
    "t.ShapeVal, t.Mat, t.Kind, j1.HDiff, j2.HDiff from tblSubBeam s "
    "left join tblGrid g on g.ID = s.GridID left join tblJoint j1 on j1.ID = g.Jt1ID "
    "left join tblJoint j2 on j2.ID = g.Jt2ID left join tblBeamSect t on t.ID = s.SectID "
    "order by s.StdFlrID, s.ID";
}  // namespace

std::vector<SubBeamRow> getBeams(const db::Database& conn, std::ostream& report) {
  std::vector<SubBeamRow> rows;
  rows.reserve(readers::tableRows(conn, "tblSubBeam"));
  conn.forEach(kSql, [&](const db::Row& r) {
    readers::FieldReader f(r, "SubBeam", 1, 15);
    SubBeamRow b;
    b.stdFlrId = r[0];
    b.id = r[1];
    b.x1 = f.number(2, "X1");
    b.y1 = f.number(3, "Y1");
    b.z1 = f.number(4, "HDiff1") + f.number(13, "ZDiff1");
    b.x2 = f.number(5, "X2");
    b.y2 = f.number(6, "Y2");
    b.z2 = f.number(7, "HDiff2") + f.number(14, "ZDiff2");
    b.jt1Id = r[8];
    b.jt2Id = r[9];
    b.shapeVal = r[10];
    b.mat = r[11];
    b.kind = r[12];
    if (f.reportTo(report)) rows.push_back(std::move(b));
  });
  return rows;
}

}  // namespace SubBeam
