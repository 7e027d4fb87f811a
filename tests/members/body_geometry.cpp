#include "body_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace members_test {

namespace {

constexpr double kStep = 0.5;  // degrees between samples of arcs and revolutions

Point3 add(const Point3& a, const Point3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Point3 scale(const Point3& a, double k) { return {a[0] * k, a[1] * k, a[2] * k}; }
double dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3 cross(const Point3& a, const Point3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point3 unit(const Point3& a) { return scale(a, 1.0 / std::sqrt(dot(a, a))); }

std::vector<double> numbers(const ifc::Value& list) {
  std::vector<double> out;
  for (const ifc::Value& v : list.asList()) out.push_back(v.asDouble());
  return out;
}
Point3 point3(const ifc::Entity& point) {
  const std::vector<double> c = numbers(point.get("Coordinates"));
  return {c.at(0), c.at(1), c.size() > 2 ? c[2] : 0.0};
}
Point3 direction(const ifc::Value& value, const Point3& unset) {
  if (value.isUnset()) return unset;
  const std::vector<double> r = numbers(value.asEntity().get("DirectionRatios"));
  return unit({r.at(0), r.at(1), r.size() > 2 ? r[2] : 0.0});
}

Frame axisPlacement(const ifc::Entity& placement) {
  Frame f;
  f.origin = point3(placement.get("Location").asEntity());
  if (placement.is_a("IfcAxis2Placement2D")) {
    f.x = direction(placement.get("RefDirection"), {1, 0, 0});
    f.y = cross({0, 0, 1}, f.x);
    return f;
  }
  f.z = direction(placement.get("Axis"), {0, 0, 1});
  const Point3 ref = direction(placement.get("RefDirection"), {1, 0, 0});
  // The reference direction's part perpendicular to the axis, as the schema defines it.
  f.x = unit(add(ref, scale(f.z, -dot(ref, f.z))));
  f.y = cross(f.z, f.x);
  return f;
}

Point3 rotate(const Point3& p, const Point3& axisPoint, const Point3& axis, double radians) {
  const Point3 v = add(p, scale(axisPoint, -1));
  const Point3 k = unit(axis);
  const double c = std::cos(radians), s = std::sin(radians);
  const Point3 r = add(add(scale(v, c), scale(cross(k, v), s)), scale(k, dot(k, v) * (1 - c)));
  return add(r, axisPoint);
}

void appendArc(std::vector<Point2>& out, const ifc::Entity& trimmed) {
  const ifc::Entity circle = trimmed.get("BasisCurve").asEntity();
  const Frame centre = axisPlacement(circle.get("Position").asEntity());
  const double r = circle.get("Radius").asDouble();
  const double a1 = trimmed.get("Trim1").asList().at(0).inner().asDouble();
  double a2 = trimmed.get("Trim2").asList().at(0).inner().asDouble();
  const bool ccw = trimmed.get("SenseAgreement").asBool();
  if (ccw && a2 < a1) a2 += 360;
  if (!ccw && a2 > a1) a2 -= 360;
  const int steps = std::max(1, static_cast<int>(std::abs(a2 - a1) / kStep));
  for (int i = 0; i <= steps; ++i) {
    const double a = (a1 + (a2 - a1) * i / steps) * std::numbers::pi / 180;
    const Point3 p = centre.apply({r * std::cos(a), r * std::sin(a), 0});
    out.push_back({p[0], p[1]});
  }
}

}  // namespace

Point3 Frame::apply(const Point3& p) const {
  return add(origin, add(scale(x, p[0]), add(scale(y, p[1]), scale(z, p[2]))));
}

Frame Frame::compose(const Frame& inner) const {
  Frame f;
  f.origin = apply(inner.origin);
  f.x = add(apply(inner.x), scale(origin, -1));
  f.y = add(apply(inner.y), scale(origin, -1));
  f.z = add(apply(inner.z), scale(origin, -1));
  return f;
}

Frame frameOf(const ifc::Entity& placement) {
  if (!placement.is_a("IfcLocalPlacement")) return axisPlacement(placement);
  const Frame relative = axisPlacement(placement.get("RelativePlacement").asEntity());
  const ifc::Value parent = placement.get("PlacementRelTo");
  if (parent.isUnset()) return relative;
  return frameOf(parent.asEntity()).compose(relative);
}

std::vector<Point2> profilePoints(const ifc::Entity& profile) {
  std::vector<Point2> out;
  if (profile.is_a("IfcRectangleProfileDef")) {
    const Frame f = axisPlacement(profile.get("Position").asEntity());
    const double x = profile.get("XDim").asDouble() / 2, y = profile.get("YDim").asDouble() / 2;
    for (const Point2& c : {Point2{-x, -y}, Point2{x, -y}, Point2{x, y}, Point2{-x, y}}) {
      const Point3 p = f.apply({c[0], c[1], 0});
      out.push_back({p[0], p[1]});
    }
    return out;
  }
  const ifc::Entity curve = profile.get("OuterCurve").asEntity();
  if (curve.is_a("IfcPolyline")) {
    const ifc::Value points = curve.get("Points");
    for (const ifc::Value& p : points.asList()) {
      const Point3 q = point3(p.asEntity());
      out.push_back({q[0], q[1]});
    }
    if (out.size() > 1 && out.front() == out.back()) out.pop_back();
    return out;
  }
  const ifc::Value segments = curve.get("Segments");
  for (const ifc::Value& s : segments.asList()) {
    const ifc::Entity parent = s.asEntity().get("ParentCurve").asEntity();
    if (parent.is_a("IfcTrimmedCurve")) {
      appendArc(out, parent);
    } else {
      const ifc::Value points = parent.get("Points");
      for (const ifc::Value& p : points.asList()) {
        const Point3 q = point3(p.asEntity());
        out.push_back({q[0], q[1]});
      }
    }
  }
  return out;
}

double profileArea(const ifc::Entity& profile) {
  const std::vector<Point2> p = profilePoints(profile);
  double twice = 0;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    twice += p[j][0] * p[i][1] - p[i][0] * p[j][1];
  }
  return std::abs(twice) / 2;
}

std::vector<Point3> solidPoints(const ifc::Entity& solid) {
  std::vector<Point3> out;
  if (solid.is_a("IfcBooleanResult")) {
    out = solidPoints(solid.get("FirstOperand").asEntity());
    if (solid.get("Operator").asEnum() == "UNION") {
      const std::vector<Point3> added = solidPoints(solid.get("SecondOperand").asEntity());
      out.insert(out.end(), added.begin(), added.end());
    }
    return out;
  }
  const Frame position = axisPlacement(solid.get("Position").asEntity());
  const std::vector<Point2> outline = profilePoints(solid.get("SweptArea").asEntity());
  if (solid.is_a("IfcExtrudedAreaSolid")) {
    const Point3 d =
        scale(direction(solid.get("ExtrudedDirection"), {0, 0, 1}), solid.get("Depth").asDouble());
    for (const Point2& p : outline) {
      out.push_back(position.apply({p[0], p[1], 0}));
      out.push_back(position.apply(add({p[0], p[1], 0}, d)));
    }
    return out;
  }
  const ifc::Entity axis = solid.get("Axis").asEntity();
  const Point3 axisPoint = point3(axis.get("Location").asEntity());
  const Point3 axisDirection = direction(axis.get("Axis"), {0, 0, 1});
  const double angle = solid.get("Angle").asDouble();
  const int steps = std::max(1, static_cast<int>(angle / kStep));
  for (int i = 0; i <= steps; ++i) {
    const double a = angle * i / steps * std::numbers::pi / 180;
    for (const Point2& p : outline) {
      out.push_back(position.apply(rotate({p[0], p[1], 0}, axisPoint, axisDirection, a)));
    }
  }
  return out;
}

ifc::Entity bodyItem(const ifc::Entity& product) {
  const ifc::Value shape = product.get("Representation");
  const ifc::Value reps = shape.asEntity().get("Representations");
  const ifc::Value items = reps.asList().at(0).asEntity().get("Items");
  EXPECT_EQ(items.asList().size(), 1U);
  return items.asList().at(0).asEntity();
}

Box productBox(const ifc::Entity& product) {
  const Frame placement = frameOf(product.get("ObjectPlacement").asEntity());
  Box box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
  for (const Point3& local : solidPoints(bodyItem(product))) {
    const Point3 p = placement.apply(local);
    for (int i = 0; i < 3; ++i) {
      box.min[i] = std::min(box.min[i], p[i]);
      box.max[i] = std::max(box.max[i], p[i]);
    }
  }
  return box;
}

double extrudedVolume(const ifc::Entity& solid) {
  const Point3 d = direction(solid.get("ExtrudedDirection"), {0, 0, 1});
  return profileArea(solid.get("SweptArea").asEntity()) * solid.get("Depth").asDouble() *
         std::abs(d[2]);
}

std::vector<ifc::Entity> productsNamed(const ifc::Model& model, std::string_view name) {
  std::vector<ifc::Entity> out;
  for (const ifc::Entity& p : model.by_type("IfcProduct")) {
    const ifc::Value n = p.get("Name");
    if (n.kind() == ifc::Value::Kind::String && n.asString() == name) out.push_back(p);
  }
  return out;
}

ifc::Entity product(const ifc::Model& model, std::string_view name) {
  const std::vector<ifc::Entity> found = productsNamed(model, name);
  EXPECT_EQ(found.size(), 1U) << name;
  return found.empty() ? ifc::Entity() : found.front();
}

void expectBox(const Box& got, const Box& want, double tolerance) {
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(got.min[i], want.min[i], tolerance) << "min[" << i << "]";
    EXPECT_NEAR(got.max[i], want.max[i], tolerance) << "max[" << i << "]";
  }
}

void expectPoints(const std::vector<Point2>& got, const std::vector<Point2>& want,
                  double tolerance) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i][0], want[i][0], tolerance) << "point " << i;
    EXPECT_NEAR(got[i][1], want[i][1], tolerance) << "point " << i;
  }
}

}  // namespace members_test
