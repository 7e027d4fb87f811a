#include "members/wall_by_beam.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "members/wall_support.h"
#include "text/number_text.h"
#include "text/split.h"
#include "vector/vector.h"

namespace Utils {

namespace {

using App::Vector;

// An end that reaches to within this of the beam face (mm) is left where it is.
constexpr double kFaceMargin = 1.0;
// A beam whose left normal lies within this of the wall axis (or of its reverse) runs square
// across the wall (rad): its face lies w/2 +- Ecc from the joint.
constexpr double kSquareAngle = 1e-6;
// Below this cosine (between the beam's left normal and the wall axis) the beam runs along the
// wall and its faces never cross the axis: it takes the square beam's offset.
constexpr double kAlongWallCosine = 1e-6;
// At an end cut by a neighbouring wall, a beam whose left normal lies within this of the wall
// axis counts as facing along it (rad).
constexpr double kFacingAngle = std::numbers::pi / 12.0;

// Item 1 of the beam's section text: its width, or none when the text has no such number.
std::optional<double> beamWidth(const Beam::BeamRow& beam) {
  if (!beam.shapeVal.isText()) return std::nullopt;
  const std::vector<std::string> items = text::split(beam.shapeVal.asText(), ',');
  if (items.size() < 2) return std::nullopt;
  try {
    return text::parseFloat(items[1]);
  } catch (const text::ParseError&) {
    return std::nullopt;
  }
}

// The signed position along the wall axis, from the joint, of the beam face farthest beyond
// joint `jt`; 0.0 when no beam gives one. Of equal magnitudes the first beam wins. With
// `cut`, the end is cut flush with a skew neighbouring wall, which hides whatever reaches
// beyond it: every beam there is reckoned as if it ran square across the wall.
double getOffset(const Palvek::WallRow& wall, const Vector& axis,
                 const std::vector<const Beam::BeamRow*>& beams, const db::Value& jt, bool cut) {
  double offset_max = 0.0;
  const bool atEnd1 = jt == wall.jt1Id;
  if (!atEnd1 && !(jt == wall.jt2Id)) return offset_max;
  for (const Beam::BeamRow* beam : beams) {
    const std::optional<double> w = beamWidth(*beam);
    if (!w) continue;
    const Vector leftNormal = Vector(0, 0, 1).cross(beam->planVector());
    const double angle = leftNormal.getAngle(axis);
    // The beam's centre line lies Ecc to its left: towards end 2 when its left side faces
    // along the wall axis, towards end 1 otherwise.
    const bool facing = angle < (cut ? kFacingAngle : std::numbers::pi / 2.0);
    const double ecc = facing ? beam->ecc : -beam->ecc;
    double offset = atEnd1 ? -*w / 2.0 + ecc : *w / 2.0 + ecc;
    // A skew beam's faces cross the wall axis farther from the joint, by 1 / cos of the angle
    // between its left normal and the axis (1 / sin of the angle between beam and wall).
    const double cosine = std::abs(std::cos(angle));
    const bool square = angle < kSquareAngle || angle > std::numbers::pi - kSquareAngle;
    if (!cut && !square && cosine > kAlongWallCosine) offset /= cosine;
    if (std::abs(offset) > std::abs(offset_max)) offset_max = offset;
  }
  return offset_max;
}

}  // namespace

WallPlanEnds adjustWallByBeam(const Palvek::WallRow& wall,
                              std::span<const Palvek::ConnectedBeamsPair> connectBeams,
                              const Palvek::WallRow& wall_origin, WallEndCuts cuts) {
  WallPlanEnds ends{wall.x1, wall.y1, wall.x2, wall.y2};
  const Vector p1(wall.x1, wall.y1, 0.0);
  const Vector p2(wall.x2, wall.y2, 0.0);
  const Vector axis = p2 - p1;
  const double length = axis.Length();
  if (length < kWallZeroLength) return ends;
  const Vector unit = axis / length;
  const Vector p1_origin(wall_origin.x1, wall_origin.y1, 0.0);
  const Vector p2_origin(wall_origin.x2, wall_origin.y2, 0.0);

  for (const Palvek::ConnectedBeamsPair& pair : connectBeams) {
    const db::Value& jt = pair.jointId;
    if (jt == wall.jt1Id) {
      const double offset = getOffset(wall, axis, pair.beams, jt, cuts.end1);
      // How far end 1 already went outward (against the axis); negative when it was pulled
      // back, so that the end lands on the face either way.
      const double moved = (p1_origin - p1).dot(unit);
      if (moved < std::abs(offset) - kFaceMargin) {
        const Vector p = p1 + unit * (offset + moved);
        ends.x1 = p.x;
        ends.y1 = p.y;
      }
    } else if (jt == wall.jt2Id) {
      const double offset = getOffset(wall, axis, pair.beams, jt, cuts.end2);
      const double moved = (p2 - p2_origin).dot(unit);
      if (moved < std::abs(offset) - kFaceMargin) {
        const Vector p = p2 + unit * (offset - moved);
        ends.x2 = p.x;
        ends.y2 = p.y;
      }
    }
  }
  return ends;
}

}  // namespace Utils
