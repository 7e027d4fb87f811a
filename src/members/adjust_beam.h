#pragma once
// Joint trimming: where a straight horizontal beam ends in plan, and how its ends are cut,
// where it rests on other beams.

#include <optional>
#include <span>

#include "members/solid_builders.h"
#include "queries/beam.h"

namespace Utils {

// A joint angle closer than this to 0 or pi (rad) leaves the end untrimmed: the supporting beam
// runs nearly along the beam, and reaching its far face would move the end by metres. The
// connectivity never pairs beams within pi/8 of each other, so no paired joint comes near it.
inline constexpr double minJointAngle = 5.0 * 3.14159265358979323846 / 180.0;
// Within this of pi/2 (rad) two beams meet square and the end gets no clip plane.
inline constexpr double squareJointTolerance = 0.001;

// The trimmed ends and their clip planes. A plane is vertical and given in the frame of the
// beam's straight body: local z along the trimmed axis from end 1 (z = 0), local x to the
// right of the axis seen from above; its normal points into the beam.
struct AdjustedBeam {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::optional<ClipPlane> plane1, plane2;
};

// Each end with a supporting beam moves along the axis to the supporting beam's far face,
// corrected for both eccentricities, and gets a clip plane parallel to the supporting beam
// unless the two meet square; an end without one keeps the row's coordinates. A pair whose
// joint is neither end of the beam is ignored. An end whose supporting beam runs within
// minJointAngle of the beam's direction keeps the row's coordinates, and that is reported on
// one line. Throws Sect::SectionError when a width (item 1 of the beam's or a supporting
// beam's dimension text) cannot be read, App::GeometryError when offset centre lines do not
// cross.
[[nodiscard]] AdjustedBeam adjustBeam(const Beam::BeamRow& beam,
                                      std::span<const Beam::SupportingBeamPair> connectBeams);

}  // namespace Utils
