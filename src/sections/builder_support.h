#pragma once
// Pieces shared by the profile builders: names, points, closed polylines, transformation
// operators, derived profiles and the checks that keep invalid sizes out of the model.

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ifc/model.h"
#include "sections/section_error.h"

namespace Sect::detail {

using Point2 = std::array<double, 2>;

// "I_200*400*8*13": the code, "_" and each value printed as its nearest whole number.
[[nodiscard]] std::string profileName(std::string_view code, std::initializer_list<double> values);

[[nodiscard]] bool isIfc2x3(const ifc::Model& model);

// Throws SectionError "<name>: <what> must be positive (<value>)" unless value > 0, and
// "<name>: <what> is too large (inf)" when it is not finite.
void requirePositive(const std::string& name, std::string_view what, double value);
// Throws SectionError "<name>: <reason>" unless ok.
void require(bool ok, const std::string& name, std::string_view reason);

ifc::Entity point2(ifc::Model& model, double x, double y);
// IfcAxis2Placement2D at a new point (0., 0.).
ifc::Entity centredPlacement(ifc::Model& model);
// IfcPolyline through new points, closed by the first point entity again.
ifc::Entity closedPolyline(ifc::Model& model, const std::vector<Point2>& vertices);
// IfcArbitraryClosedProfileDef (AREA) bounded by a closed polyline of the vertices.
ifc::Entity outlineProfile(ifc::Model& model, const std::vector<Point2>& vertices,
                           const std::optional<std::string>& name);
// A profile of the type created with ProfileType AREA, then given the attributes by name.
ifc::Entity areaProfile(ifc::Model& model, std::string_view type,
                        std::initializer_list<std::pair<std::string_view, ifc::Value>> attributes);
// A fillet or edge radius: unset when 0 under IFC2X3 (positive there), else the value.
[[nodiscard]] ifc::Value optionalRadius(const ifc::Model& model, const std::string& name,
                                        double radius);

// IfcCartesianTransformationOperator2D with LocalOrigin (x, y) and both axes given: Axis1
// (-1., 0.) when mirrorX else (1., 0.), Axis2 (0., -1.) when mirrorY else (0., 1.).
ifc::Entity transformOperator(ifc::Model& model, double x, double y, bool mirrorX, bool mirrorY);
// IfcDerivedProfileDef (AREA) of the parent placed by the operator.
ifc::Entity derivedProfile(ifc::Model& model, const ifc::Entity& parent,
                           const ifc::Entity& transform, const std::optional<std::string>& name);

// An outline built edge by edge: each vertex is the previous one plus or minus a step, the
// coordinates accumulated in the order the steps are given.
class Chain {
 public:
  Chain(double x, double y) : vertices_{{x, y}} {}
  Chain& add(double dx, double dy);
  Chain& sub(double dx, double dy);
  [[nodiscard]] const std::vector<Point2>& vertices() const { return vertices_; }

 private:
  std::vector<Point2> vertices_;
};

}  // namespace Sect::detail
