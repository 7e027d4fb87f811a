#pragma once
// The beam, wall and wall-opening rows read by the member queries.

#include <optional>

#include "db/value.h"
#include "vector/vector.h"

namespace Beam {

// One beam segment, in the order of the beam query's select list.
struct BeamRow {
  db::Value floorId;     // 0 FloorId: tblBeamSeg.StdFlrID
  db::Value beamId;      // 1 BeamID: tblBeamSeg.ID
  double ecc = 0;        // 2 Ecc: centre line offset, positive to the left of end 1 -> end 2, mm
  db::Value jt1Id;       // 3 Jt1ID: tblGrid.Jt1ID
  db::Value jt2Id;       // 4 Jt2ID: tblGrid.Jt2ID
  double x1 = 0;         // 5 X1
  double y1 = 0;         // 6 Y1
  double x2 = 0;         // 7 X2
  double y2 = 0;         // 8 Y2
  db::Value shapeVal;    // 9 ShapeVal: tblBeamSect.ShapeVal (NULL when the section is missing)
  db::Value mat;         // 10 Mat: tblBeamSect.Mat (10 = rigid link)
  db::Value kind;        // 11 Kind: tblBeamSect.Kind
  // Height offsets as stored (integer or real, never NULL): the sloped beam's Description is
  // written from them.
  db::Value hDiff1 = 0;  // 12 HDiff1: tblBeamSeg.HDiff1, mm
  db::Value hDiff2 = 0;  // 13 HDiff2
  db::Value zDiff1 = 0;  // 14 ZDiff1: HDiff of joint Jt1ID, mm
  db::Value zDiff2 = 0;  // 15 ZDiff2: HDiff of joint Jt2ID, mm
  double axisJt1Id = 0;  // 16 tblAxis.Jt1ID: > 0 straight axis, < 0 arc about joint -value;
                         //    0 (also for a grid line without axis row) straight, no supporter
  std::optional<double> x0;  // 17 X0: X of joint -axisJt1Id (the arc centre); none when absent
  std::optional<double> y0;  // 18 Y0

  // Whole-row equality: the connectivity tells a member from its neighbours by it.
  bool operator==(const BeamRow&) const = default;

  // (X2 - X1, Y2 - Y1, 0): from end 1 to end 2.
  [[nodiscard]] App::Vector planVector() const { return {x2 - x1, y2 - y1, 0.0}; }
  // HDiff1 + ZDiff1 and HDiff2 + ZDiff2: top of the beam at each end above the storey top.
  [[nodiscard]] double elevation1() const { return hDiff1.asDouble() + zDiff1.asDouble(); }
  [[nodiscard]] double elevation2() const { return hDiff2.asDouble() + zDiff2.asDouble(); }
  [[nodiscard]] bool isArc() const { return axisJt1Id < 0; }
};

}  // namespace Beam

namespace Palvek {

// One wall segment, in the order of the wall query's select list.
struct WallRow {
  db::Value floorId;  // 0 FloorId: tblWallSeg.StdFlrID
  db::Value wallId;   // 1 WallID: tblWallSeg.ID
  double ecc = 0;     // 2 Ecc, mm
  db::Value gridId;   // 3 GridID: key of the wall's openings
  db::Value jt1Id;    // 4 tblGrid.Jt1ID
  db::Value jt2Id;    // 5 tblGrid.Jt2ID
  double x1 = 0;      // 6 X1
  double y1 = 0;      // 7 Y1
  double x2 = 0;      // 8 X2
  double y2 = 0;      // 9 Y2
  db::Value b;        // 10 tblWallSect.B: thickness, mm, as stored (NULL: no section)
  db::Value kind;     // 11 tblWallSect.Kind
  db::Value mat;      // 12 tblWallSect.Mat
  // Height offsets as stored (integer or real, never NULL): the arc wall's section text is
  // formed from the height they give.
  db::Value hDiff1;          // 13 tblWallSeg.HDiff1: top at end 1, mm
  db::Value hDiff2;          // 14 tblWallSeg.HDiff2: top at end 2, mm
  db::Value hDiffB;          // 15 tblWallSeg.HDiffB: bottom above the storey base, mm
  db::Value zDiff1;          // 16 ZDiff1: HDiff of joint 1, mm
  db::Value zDiff2;          // 17 ZDiff2: HDiff of joint 2, mm
  double axisJt1Id = 0;      // 18 tblAxis.Jt1ID: > 0 straight, < 0 arc about joint -value
  std::optional<double> x0;  // 19 X0: arc centre
  std::optional<double> y0;  // 20 Y0

  // Whole-row equality: a row equal to the wall is the wall itself.
  bool operator==(const WallRow&) const = default;

  // (X2 - X1, Y2 - Y1, 0).
  [[nodiscard]] App::Vector planVector() const { return {x2 - x1, y2 - y1, 0.0}; }
  [[nodiscard]] bool isArc() const { return axisJt1Id < 0; }
};

// One opening on a wall's grid line.
struct WallHoleRow {
  double ecc = 0;    // 0 tblWallHole.Ecc: 1 flush with end 1, 0 centred, -1 flush with end 2;
                     //   other values a distance from end 1 (> 0) or end 2 (< 0), mm
  double hDiff = 0;  // 1 tblWallHole.HDiff: sill above the storey base, mm
  db::Value b;       // 2 tblWallHoleDef.B: width, as stored (NULL without a definition row)
  db::Value h;       // 3 tblWallHoleDef.H: height, as stored
  bool operator==(const WallHoleRow&) const = default;
};

}  // namespace Palvek
