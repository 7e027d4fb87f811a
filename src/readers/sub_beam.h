#pragma once
// Secondary beams: straight members on a grid line between two joints, without eccentricity.

#include <iostream>
#include <vector>

#include "db/database.h"

namespace SubBeam {

// One secondary beam (tblSubBeam on tblGrid, tblJoint, section from tblBeamSect).
struct SubBeamRow {
  db::Value stdFlrId;  // 0 tblSubBeam.StdFlrID
  db::Value id;        // 1 tblSubBeam.ID
  double x1 = 0;       // 2 X of end 1 (joint Jt1ID), mm
  double y1 = 0;       // 3 Y of end 1, mm
  double z1 = 0;       // 4 top of the section at end 1 relative to the storey top:
                       //   tblSubBeam.HDiff1 + joint HDiff, mm
  double x2 = 0;       // 5 X of end 2 (joint Jt2ID), mm
  double y2 = 0;       // 6 Y of end 2, mm
  double z2 = 0;       // 7 the same at end 2: tblSubBeam.HDiff2 + joint HDiff, mm
  db::Value jt1Id;     // 8 tblGrid.Jt1ID (not used by the builder)
  db::Value jt2Id;     // 9 tblGrid.Jt2ID (not used by the builder)
  db::Value shapeVal;  // 10 tblBeamSect.ShapeVal (NULL when the section is missing)
  db::Value mat;       // 11 tblBeamSect.Mat
  db::Value kind;      // 12 tblBeamSect.Kind
  bool operator==(const SubBeamRow&) const = default;
};

// Every secondary beam, by standard floor and ID. A secondary beam without its end
// coordinates or height offsets is reported on `report` and left out.
[[nodiscard]] std::vector<SubBeamRow> getBeams(const db::Database& conn,
                                               std::ostream& report = std::cout);

}  // namespace SubBeam
