#pragma once
// The area of the cross-section that one profile definition describes, in the square of the
// model's length unit. Fillet and edge radii are not read: the area is that of the
// sharp-cornered shape. A derived profile has the area of its innermost parent (the operators
// of this system mirror and shift, they never scale).

#include <array>
#include <stdexcept>
#include <vector>

#include "ifc/value.h"

namespace Sect {

// A profile get_Area cannot measure. For a type without an area function (among others
// IfcArbitraryProfileDefWithVoids and IfcCompositeProfileDef) the message is the type name;
// for an outline that is neither a polyline nor a composite curve of polylines it is
// "Not Implemented"; for an outline that does not bound a polygon, or a dimension the profile
// leaves unset, it names the fault.
class AreaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Circle, rectangle, I, L, T, U, trapezium, hollow rectangle, hollow circle and arbitrary
// closed outlines (IfcPolyline, or IfcCompositeCurve of IfcPolyline segments).
[[nodiscard]] double get_Area(const ifc::Entity& profile);

// The innermost parent of a derived profile that is not itself a derived profile.
[[nodiscard]] ifc::Entity get_OriginProfile(const ifc::Entity& derived);
// The (x, y) pairs of an arbitrary closed profile's outer curve: a polyline, or a composite
// curve of polylines (the senses of its segments are not applied; joint points repeat, which
// leaves the area as is; other segment curves are skipped, trimmed curves refused).
[[nodiscard]] std::vector<std::array<double, 2>> getCords(const ifc::Entity& profile);
// The area of the polygon through those pairs, whichever way it runs.
[[nodiscard]] double Arb_Area(const ifc::Entity& profile);

}  // namespace Sect
