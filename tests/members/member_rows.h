#pragma once
// Member rows for the builder tests: a floor of storey height 3000 and rows with the fields
// each builder reads, sections of the run's kinds.

#include <string>

#include "queries/rows.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/sub_beam.h"

namespace members_test {

inline Floor::StdFloorRow storey(double height = 3000) {
  return Floor::StdFloorRow{1, height, "0,120", 1};
}

// A straight beam from joint jt1 at (x1, y1) to joint jt2 at (x2, y2), its top at the
// storey top, a rectangle `width` wide and 600 deep.
inline Beam::BeamRow beamRow(int id, int jt1, int jt2, double x1, double y1, double x2, double y2,
                             double width = 300) {
  Beam::BeamRow b;
  b.floorId = 1;
  b.beamId = id;
  b.jt1Id = jt1;
  b.jt2Id = jt2;
  b.x1 = x1;
  b.y1 = y1;
  b.x2 = x2;
  b.y2 = y2;
  b.shapeVal = "1," + std::to_string(static_cast<int>(width)) + ",600";
  b.mat = 6;
  b.kind = 1;
  b.axisJt1Id = 1;
  return b;
}

inline Beam::BeamRow withSection(Beam::BeamRow b, db::Value kind, db::Value shapeVal) {
  b.kind = std::move(kind);
  b.shapeVal = std::move(shapeVal);
  return b;
}

inline SubBeam::SubBeamRow subBeamRow(int id, double x1, double y1, double z1, double x2, double y2,
                                      double z2) {
  SubBeam::SubBeamRow s;
  s.stdFlrId = 1;
  s.id = id;
  s.x1 = x1;
  s.y1 = y1;
  s.z1 = z1;
  s.x2 = x2;
  s.y2 = y2;
  s.z2 = z2;
  s.shapeVal = "2,8,400,200,13";
  s.mat = 5;
  s.kind = 2;
  return s;
}

inline Column::ColumnRow columnRow(int id, double x, double y, double rotation = 0) {
  Column::ColumnRow c;
  c.stdFlrId = 1;
  c.id = id;
  c.x = x;
  c.y = y;
  c.rotation = rotation;
  c.shapeVal = "1,600,400";
  c.kind = 1;
  c.mat = 6;
  return c;
}

// A brace from joint 1 at (x1, y1, h1) to joint 2 at (x2, y2, h2), heights above the base.
inline Brace::BraceRow braceRow(int id, double x1, double y1, double h1, double x2, double y2,
                                double h2) {
  Brace::BraceRow r;
  r.stdFlrId = 1;
  r.id = id;
  r.jt1Id = 1;
  r.jt2Id = 2;
  r.x1 = x1;
  r.y1 = y1;
  r.hDiff1 = h1;
  r.x2 = x2;
  r.y2 = y2;
  r.hDiff2 = h2;
  r.shapeVal = "1,200,100";
  r.kind = 1;
  r.mat = 5;
  return r;
}

}  // namespace members_test
