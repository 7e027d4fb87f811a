#pragma once
// Member rows built in tests: the fields the connectivity reads, the rest left at defaults.

#include "queries/rows.h"
#include "readers/column.h"

namespace testrows {

// A straight beam from joint jt1 at (x1, y1) to joint jt2 at (x2, y2) whose top lies `z1`
// and `z2` above the storey top.
inline Beam::BeamRow beam(int id, int jt1, int jt2, double x1, double y1, double x2, double y2,
                          double z1 = 0, double z2 = 0) {
  Beam::BeamRow b;
  b.floorId = 1;
  b.beamId = id;
  b.jt1Id = jt1;
  b.jt2Id = jt2;
  b.x1 = x1;
  b.y1 = y1;
  b.x2 = x2;
  b.y2 = y2;
  b.shapeVal = "1,300,600";
  b.mat = 6;
  b.kind = 1;
  b.hDiff1 = z1;
  b.hDiff2 = z2;
  b.axisJt1Id = jt1;
  return b;
}

inline Palvek::WallRow wall(int id, int jt1, int jt2, double x1, double y1, double x2, double y2) {
  Palvek::WallRow w;
  w.floorId = 1;
  w.wallId = id;
  w.gridId = id;
  w.jt1Id = jt1;
  w.jt2Id = jt2;
  w.x1 = x1;
  w.y1 = y1;
  w.x2 = x2;
  w.y2 = y2;
  w.b = 200;
  w.kind = 1;
  w.mat = 6;
  w.hDiff1 = w.hDiff2 = w.hDiffB = w.zDiff1 = w.zDiff2 = 0;
  w.axisJt1Id = jt1;
  return w;
}

inline Column::ColumnRow column(int id, int jt, int mat = 6) {
  Column::ColumnRow c;
  c.stdFlrId = 1;
  c.id = id;
  c.jtId = jt;
  c.mat = mat;
  c.kind = 1;
  c.shapeVal = "1,500,500";
  return c;
}

}  // namespace testrows
