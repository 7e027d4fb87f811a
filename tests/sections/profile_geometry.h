#pragma once
// Reading written profiles back as geometry: outline points, transformation operators as a
// conforming reader applies them, and the area of any profile of this system.

#include <array>
#include <string>
#include <vector>

#include "ifc/model.h"

namespace sections_test {

using Point2 = std::array<double, 2>;

// An aggregate attribute, copied out of the value that holds it.
ifc::List listOf(const ifc::Entity& entity, std::string_view attribute);

// The points of a profile's outer polyline without the closing point, after checking that
// the polyline is closed by its first point entity and that every point is 2-D.
std::vector<Point2> outline(const ifc::Entity& profile);
std::vector<Point2> polylinePoints(const ifc::Entity& polyline);

// An IfcCartesianTransformationOperator2D as the schema's base-axis rules define it.
struct Frame {
  Point2 origin;
  Point2 u1;
  Point2 u2;
  [[nodiscard]] Point2 apply(const Point2& p) const;
};
Frame operatorFrame(const ifc::Entity& transform);

// The points of a derived profile's outline parent, placed by its operator.
std::vector<Point2> placedOutline(const ifc::Entity& derived);

// What validate() does not see but independent readers rely on, one line per fault: open or
// 3-D profile polylines, operators without a 2-D LocalOrigin and both 2-D axes, sizes that
// must be positive and are not (radii included under IFC2X3), derived profiles not of
// type AREA.
std::vector<std::string> conformanceProblems(const ifc::Model& model);

// Fails the current test for every problem of validate() and of conformanceProblems().
void expectValidAndConforming(const ifc::Model& model);

// Each point within 1e-9 of the wanted one.
void expectPoints(const std::vector<Point2>& got, const std::vector<Point2>& want);

// Area of any profile: derived profiles by their parent, composites as the sum of their
// parts, profiles with voids as the outer minus the inner outlines, others by get_Area.
double sectionArea(const ifc::Entity& profile);

}  // namespace sections_test
