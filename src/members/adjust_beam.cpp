#include "members/adjust_beam.h"

#include <cmath>
#include <numbers>
#include <string>

#include "members/cent_line.h"
#include "members/member_fault.h"
#include "members/section_queries.h"
#include "text/split.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

constexpr double pi = std::numbers::pi;

// Item 1 of a beam's dimension text: its width.
double widthOf(const Beam::BeamRow& beam) {
  return sectionItem(
      text::split(beam.shapeVal.isText() ? beam.shapeVal.asText() : beam.shapeVal.str(), ','), 1);
}

struct JointResult {
  double x = 0, y = 0;
  std::optional<ClipPlane> plane;  // at end 2 its point is provisional
  double angle = 0;
};

// One end against one supporting beam; none when the two run nearly parallel.
std::optional<JointResult> adjustOneJt(const Beam::BeamRow& beam, const Beam::BeamRow& b,
                                       bool atEnd1, const db::Value& jt, const App::Vector& p1,
                                       const App::Vector& p2, const App::Vector& v0, double w0) {
  const App::Vector v00 = atEnd1 ? v0 : -v0;
  const App::Vector p = atEnd1 ? p1 : p2;
  const App::Vector v1 = b.planVector();
  const App::Vector v11 = b.jt1Id == jt ? v1 : -v1;
  const double angle = v11.getAngle(v00);
  if (angle < minJointAngle || angle > pi - minJointAngle) {
    report(memberName("Beam", beam.beamId) + ", 端" + (atEnd1 ? "1" : "2") + "的支承梁" +
           memberName("Beam", b.beamId) + "与本梁近乎平行，该端未修剪");
    return std::nullopt;
  }
  double w = 0;
  try {
    w = widthOf(b);
  } catch (const Sect::SectionError& e) {
    throw Sect::SectionError("supporting beam " + memberName("Beam", b.beamId) + ": " + e.what());
  }
  const double ecc = beam.ecc != 0 || b.ecc != 0 ? reviseEcc(beam, b, jt) : 0.0;

  const double offset0 = w * 0.5 + ecc * std::sin(angle);
  const double tail = std::abs(w0 * 0.5 / std::tan(angle));
  const double offset = offset0 / std::sin(angle) + tail;
  App::Vector u = v00;
  const App::Vector moved = p + u.normalize() * -offset;

  JointResult result{moved.x, moved.y, std::nullopt, angle};
  if (std::abs(angle - pi / 2) > squareJointTolerance) {
    double ang = App::DraftVecUtils::angle(v00, v11);
    if (ang < 0) ang += 2 * pi;
    const double theta = -(ang - pi / 2);
    App::Vector normal = atEnd1 ? App::Vector(std::sin(theta), 0.0, std::cos(theta))
                                : App::Vector(-std::sin(theta), 0.0, -std::cos(theta));
    if (ang > pi) normal = -normal;
    result.plane = ClipPlane{App::Vector(0.0, 0.0, tail), normal};
  }
  return result;
}

}  // namespace

AdjustedBeam adjustBeam(const Beam::BeamRow& beam,
                        std::span<const Beam::SupportingBeamPair> connectBeams) {
  AdjustedBeam out{beam.x1, beam.y1, beam.x2, beam.y2, std::nullopt, std::nullopt};
  const App::Vector p1(beam.x1, beam.y1, 0.0);
  const App::Vector p2(beam.x2, beam.y2, 0.0);
  const App::Vector v0 = p2 - p1;
  const double w0 = widthOf(beam);
  double tail2 = 0;

  // Both ends are computed from the row's end points: moving end 1 does not change end 2.
  for (const Beam::SupportingBeamPair& pair : connectBeams) {
    const bool atEnd1 = pair.jointId == beam.jt1Id;
    if (!atEnd1 && !(pair.jointId == beam.jt2Id)) continue;
    const auto joint = adjustOneJt(beam, *pair.beam, atEnd1, pair.jointId, p1, p2, v0, w0);
    if (!joint) continue;
    if (atEnd1) {
      out.x1 = joint->x;
      out.y1 = joint->y;
      out.plane1 = joint->plane;
    } else {
      out.x2 = joint->x;
      out.y2 = joint->y;
      out.plane2 = joint->plane;
      tail2 = joint->plane ? joint->plane->point.z : 0.0;
    }
  }
  // The end-2 plane is measured from the trimmed end 1, known only now.
  if (out.plane2) {
    const double L = App::Vector(out.x2 - out.x1, out.y2 - out.y1, 0.0).Length();
    out.plane2->point = App::Vector(0.0, 0.0, L - tail2);
  }
  return out;
}

}  // namespace Utils
