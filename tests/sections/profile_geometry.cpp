#include "profile_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sections/area.h"
#include "sections/geos_area.h"

namespace sections_test {

ifc::List listOf(const ifc::Entity& entity, std::string_view attribute) {
  return entity.get(attribute).asList();
}

std::vector<Point2> polylinePoints(const ifc::Entity& polyline) {
  std::vector<Point2> points;
  for (const ifc::Value& v : listOf(polyline, "Points")) {
    const ifc::List xy = listOf(v.asEntity(), "Coordinates");
    EXPECT_EQ(xy.size(), 2u) << "point #" << v.asEntity().id() << " is not 2-D";
    points.push_back({xy.at(0).asDouble(), xy.at(1).asDouble()});
  }
  return points;
}

std::vector<Point2> outline(const ifc::Entity& profile) {
  const ifc::Entity polyline = profile.get("OuterCurve").asEntity();
  EXPECT_EQ(polyline.type(), "IfcPolyline");
  const ifc::List points = listOf(polyline, "Points");
  EXPECT_GE(points.size(), 3u);
  EXPECT_EQ(points.front().asEntity(), points.back().asEntity())
      << "polyline #" << polyline.id() << " is not closed by its first point";
  std::vector<Point2> result = polylinePoints(polyline);
  result.pop_back();
  return result;
}

Point2 Frame::apply(const Point2& p) const {
  return {origin[0] + p[0] * u1[0] + p[1] * u2[0], origin[1] + p[0] * u1[1] + p[1] * u2[1]};
}

namespace {
Point2 ratios(const ifc::Value& direction) {
  const ifc::List r = listOf(direction.asEntity(), "DirectionRatios");
  EXPECT_EQ(r.size(), 2u);
  const double x = r.at(0).asDouble(), y = r.at(1).asDouble(), n = std::hypot(x, y);
  return {x / n, y / n};
}
}  // namespace

Frame operatorFrame(const ifc::Entity& transform) {
  const ifc::Value axis1 = transform.get("Axis1");
  const ifc::Value axis2 = transform.get("Axis2");
  Frame f{{0, 0}, {1, 0}, {0, 1}};
  if (!axis1.isUnset()) {
    f.u1 = ratios(axis1);
    f.u2 = {-f.u1[1], f.u1[0]};
    if (!axis2.isUnset()) {
      const Point2 a2 = ratios(axis2);
      if (a2[0] * f.u2[0] + a2[1] * f.u2[1] < 0) f.u2 = {-f.u2[0], -f.u2[1]};
    }
  } else if (!axis2.isUnset()) {
    f.u2 = ratios(axis2);
    f.u1 = {f.u2[1], -f.u2[0]};
  }
  const ifc::List origin = listOf(transform.get("LocalOrigin").asEntity(), "Coordinates");
  EXPECT_EQ(origin.size(), 2u);
  f.origin = {origin.at(0).asDouble(), origin.at(1).asDouble()};
  return f;
}

std::vector<Point2> placedOutline(const ifc::Entity& derived) {
  const Frame f = operatorFrame(derived.get("Operator").asEntity());
  std::vector<Point2> points = outline(derived.get("ParentProfile").asEntity());
  for (Point2& p : points) p = f.apply(p);
  return points;
}

namespace {

std::string where(const ifc::Entity& e) {
  std::string text = std::to_string(e.id());
  text.insert(text.begin(), '#');
  text += ' ';
  text += e.type();
  return text;
}

bool is2d(const ifc::Value& pointOrDirection, std::string_view attribute) {
  return !pointOrDirection.isUnset() && listOf(pointOrDirection.asEntity(), attribute).size() == 2;
}

}  // namespace

std::vector<std::string> conformanceProblems(const ifc::Model& model) {
  std::vector<std::string> problems;
  for (const ifc::Entity& polyline : model.by_type("IfcPolyline")) {
    const ifc::List points = listOf(polyline, "Points");
    if (points.front().asEntity() != points.back().asEntity()) {
      problems.push_back(where(polyline) + " is not closed");
    }
    for (const ifc::Value& p : points) {
      if (!is2d(p, "Coordinates")) problems.push_back(where(polyline) + " has a 3-D point");
    }
  }
  for (const ifc::Entity& op : model.by_type("IfcCartesianTransformationOperator2D")) {
    if (!is2d(op.get("LocalOrigin"), "Coordinates") || !is2d(op.get("Axis1"), "DirectionRatios") ||
        !is2d(op.get("Axis2"), "DirectionRatios")) {
      problems.push_back(where(op) + " lacks a 2-D origin or axis");
    }
  }
  for (const ifc::Entity& d : model.by_type("IfcDerivedProfileDef")) {
    if (d.get("ProfileType").isUnset() || d.get("ProfileType").asEnum() != "AREA") {
      problems.push_back(where(d) + " is not of type AREA");
    }
  }
  const bool ifc2x3 = model.schemaName() == "IFC2X3";
  for (const ifc::Entity& p : model.by_type("IfcParameterizedProfileDef")) {
    for (const char* attribute :
         {"XDim", "YDim", "Radius", "WallThickness", "OverallWidth", "OverallDepth", "WebThickness",
          "FlangeThickness", "Depth", "FlangeWidth", "Width", "Thickness", "BottomXDim", "TopXDim",
          "FilletRadius", "EdgeRadius"}) {
      const bool radius = std::string_view(attribute).ends_with("Radius");
      ifc::Value v;
      try {
        v = p.get(attribute);
      } catch (const ifc::Error&) {
        continue;  // not an attribute of this type
      }
      if (v.isUnset()) continue;
      if (radius ? (ifc2x3 ? v.asDouble() <= 0 : v.asDouble() < 0) : v.asDouble() <= 0) {
        problems.push_back(where(p) + " " + attribute + " is not positive");
      }
    }
  }
  return problems;
}

void expectValidAndConforming(const ifc::Model& model) {
  for (const auto& problem : model.validate()) ADD_FAILURE() << problem;
  for (const auto& problem : conformanceProblems(model)) ADD_FAILURE() << problem;
}

void expectPoints(const std::vector<Point2>& got, const std::vector<Point2>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i][0], want[i][0], 1e-9) << "point " << i;
    EXPECT_NEAR(got[i][1], want[i][1], 1e-9) << "point " << i;
  }
}

double sectionArea(const ifc::Entity& profile) {
  if (profile.type() == "IfcCompositeProfileDef") {
    double sum = 0;
    for (const ifc::Value& part : listOf(profile, "Profiles")) {
      sum += sectionArea(part.asEntity());
    }
    return sum;
  }
  if (profile.type() == "IfcDerivedProfileDef") {
    return sectionArea(profile.get("ParentProfile").asEntity());
  }
  if (profile.type() == "IfcArbitraryProfileDefWithVoids") {
    double area = Sect::detail::polygonArea(outline(profile));
    for (const ifc::Value& inner : listOf(profile, "InnerCurves")) {
      area -= Sect::detail::polygonArea(polylinePoints(inner.asEntity()));
    }
    return area;
  }
  return Sect::get_Area(profile);
}

}  // namespace sections_test
