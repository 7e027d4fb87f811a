#pragma once
// Braces: straight members between two joints at any heights within the storey.

#include <iostream>
#include <vector>

#include "db/database.h"

namespace Brace {

// One brace (tblBraceSeg on tblJoint, section from tblBraceSect).
struct BraceRow {
  db::Value stdFlrId;   // 0 tblBraceSeg.StdFlrID
  db::Value id;         // 1 tblBraceSeg.ID
  db::Value jt1Id;      // 2 tblBraceSeg.Jt1ID
  db::Value jt2Id;      // 3 tblBraceSeg.Jt2ID; equal to Jt1ID for a brace standing on one joint,
                        //   whose joint height offset is then ignored
  double eccX1 = 0;     // 4 tblBraceSeg.EccX1, mm
  double eccY1 = 0;     // 5 tblBraceSeg.EccY1, mm
  double eccX2 = 0;     // 6 tblBraceSeg.EccX2, mm
  double eccY2 = 0;     // 7 tblBraceSeg.EccY2, mm
  double hDiff1 = 0;    // 8 tblBraceSeg.HDiff1: end 1 above the storey base, mm; 1 = storey top
  double hDiff2 = 0;    // 9 tblBraceSeg.HDiff2: the same for end 2
  double rotation = 0;  // 10 tblBraceSeg.Rotation: turn of the section about the axis, degrees
  double x1 = 0;        // 11 X of joint Jt1ID, mm
  double y1 = 0;        // 12 Y of joint Jt1ID, mm
  double x2 = 0;        // 13 X of joint Jt2ID, mm
  double y2 = 0;        // 14 Y of joint Jt2ID, mm
  db::Value shapeVal;   // 15 tblBraceSect.ShapeVal (NULL when the section is missing)
  db::Value mat;        // 16 tblBraceSect.Mat
  db::Value kind;       // 17 tblBraceSect.Kind
  double zDiff1 = 0;    // 18 HDiff of joint Jt1ID, mm
  double zDiff2 = 0;    // 19 HDiff of joint Jt2ID, mm
  bool operator==(const BraceRow&) const = default;
};

// Every brace, by standard floor and ID. A brace without joint coordinates or offsets is
// reported on `report` and left out.
[[nodiscard]] std::vector<BraceRow> getBraces(const db::Database& conn,
                                              std::ostream& report = std::cout);

}  // namespace Brace
