#include "sections/builder_support.h"

#include <cmath>

#include "text/number_text.h"

namespace Sect::detail {

std::string profileName(std::string_view code, std::initializer_list<double> values) {
  std::string name(code);
  name += '_';
  bool first = true;
  for (const double v : values) {
    if (!first) name += '*';
    name += text::fixed0(v);
    first = false;
  }
  return name;
}

bool isIfc2x3(const ifc::Model& model) { return model.schemaName() == "IFC2X3"; }

void requirePositive(const std::string& name, std::string_view what, double value) {
  if (!(value > 0.0)) {
    throw SectionError(name + ": " + std::string(what) + " must be positive (" + text::repr(value) +
                       ")");
  }
  // Sizes summed from finite items can still overflow.
  if (!std::isfinite(value)) {
    throw SectionError(name + ": " + std::string(what) + " is too large (" + text::repr(value) +
                       ")");
  }
}

void require(bool ok, const std::string& name, std::string_view reason) {
  if (!ok) throw SectionError(name + ": " + std::string(reason));
}

ifc::Entity point2(ifc::Model& model, double x, double y) {
  return model.create("IfcCartesianPoint", {ifc::List{x, y}});
}

ifc::Entity centredPlacement(ifc::Model& model) {
  return model.create("IfcAxis2Placement2D", {point2(model, 0.0, 0.0)});
}

ifc::Entity closedPolyline(ifc::Model& model, const std::vector<Point2>& vertices) {
  ifc::List points;
  points.reserve(vertices.size() + 1);
  for (const auto& [x, y] : vertices) points.emplace_back(point2(model, x, y));
  if (!points.empty()) points.push_back(points.front());
  return model.create("IfcPolyline", {std::move(points)});
}

ifc::Entity outlineProfile(ifc::Model& model, const std::vector<Point2>& vertices,
                           const std::optional<std::string>& name) {
  for (const auto& [x, y] : vertices) {
    require(std::isfinite(x) && std::isfinite(y), name.value_or("outline"),
            "the outline has a point that is not a finite number");
  }
  const ifc::Entity polyline = closedPolyline(model, vertices);
  const ifc::Entity profile = model.create("IfcArbitraryClosedProfileDef", {ifc::Enum{"AREA"}});
  if (name) profile.set("ProfileName", *name);
  profile.set("OuterCurve", polyline);
  return profile;
}

ifc::Entity areaProfile(ifc::Model& model, std::string_view type,
                        std::initializer_list<std::pair<std::string_view, ifc::Value>> attributes) {
  const ifc::Entity profile = model.create(type, {ifc::Enum{"AREA"}});
  for (const auto& [attribute, value] : attributes) {
    if (!value.isUnset()) profile.set(attribute, value);
  }
  return profile;
}

ifc::Value optionalRadius(const ifc::Model& model, const std::string& name, double radius) {
  require(radius >= 0.0, name, "a fillet or edge radius must not be negative");
  if (radius == 0.0 && isIfc2x3(model)) return {};
  return radius;
}

ifc::Entity transformOperator(ifc::Model& model, double x, double y, bool mirrorX, bool mirrorY) {
  const ifc::Entity origin = point2(model, x, y);
  const ifc::Entity axis1 = model.create("IfcDirection", {ifc::List{mirrorX ? -1.0 : 1.0, 0.0}});
  const ifc::Entity axis2 = model.create("IfcDirection", {ifc::List{0.0, mirrorY ? -1.0 : 1.0}});
  return model.create("IfcCartesianTransformationOperator2D", {axis1, axis2, origin});
}

ifc::Entity derivedProfile(ifc::Model& model, const ifc::Entity& parent,
                           const ifc::Entity& transform, const std::optional<std::string>& name) {
  ifc::Value profileName;
  if (name) profileName = *name;
  return model.create("IfcDerivedProfileDef", {ifc::Enum{"AREA"}, profileName, parent, transform});
}

Chain& Chain::add(double dx, double dy) {
  const Point2 last = vertices_.back();
  vertices_.push_back({last[0] + dx, last[1] + dy});
  return *this;
}

Chain& Chain::sub(double dx, double dy) {
  const Point2 last = vertices_.back();
  vertices_.push_back({last[0] - dx, last[1] - dy});
  return *this;
}

}  // namespace Sect::detail
