#pragma once
// The area of the cross-section that one profile definition describes, in the square of the
// model's length unit. Fillet and edge radii are not read: the area is that of the
// sharp-cornered shape. A derived profile has the area of its innermost parent (the operators
// of this system mirror and shift, they never scale).

#include <stdexcept>

#include "ifc/value.h"

namespace Sect {

// A profile get_Area cannot measure. For a type without an area function (among others
// IfcArbitraryProfileDefWithVoids and IfcCompositeProfileDef) the message is the type name;
// for an outline that is neither a polyline nor a composite curve of polylines it is
// "Not Implemented"; for an outline that does not bound a polygon it names the fault.
class AreaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Circle, rectangle, I, L, T, U, trapezium, hollow rectangle, hollow circle and arbitrary
// closed outlines (IfcPolyline, or IfcCompositeCurve of IfcPolyline segments).
[[nodiscard]] double get_Area(const ifc::Entity& profile);

}  // namespace Sect
