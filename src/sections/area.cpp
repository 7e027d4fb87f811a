#include "sections/area.h"

#include <array>
#include <string_view>
#include <vector>

#include "sections/geos_area.h"

namespace Sect {

namespace {

constexpr double kPi = 3.141592653589793;

double attr(const ifc::Entity& p, std::string_view name) {
  const ifc::Value value = p.get(name);
  if (value.isUnset()) {
    throw AreaError(p.type() + "." + std::string(name) + " is not set: no area");
  }
  return value.asDouble();
}

// An aggregate attribute, copied out of the value that holds it.
ifc::List listOf(const ifc::Entity& e, std::string_view name) { return e.get(name).asList(); }

double Circle_Area(const ifc::Entity& p) { return kPi * attr(p, "Radius") * attr(p, "Radius"); }

double Rec_Area(const ifc::Entity& p) { return attr(p, "XDim") * attr(p, "YDim"); }

double I_Area(const ifc::Entity& p) {
  const double w = attr(p, "OverallWidth"), d = attr(p, "OverallDepth");
  return w * d - (w - attr(p, "WebThickness")) * (d - 2 * attr(p, "FlangeThickness"));
}

double L_Area(const ifc::Entity& p) {
  const double w = attr(p, "Width"), d = attr(p, "Depth"), t = attr(p, "Thickness");
  return w * d - (w - t) * (d - t);
}

double T_Area(const ifc::Entity& p) {
  const double w = attr(p, "FlangeWidth"), d = attr(p, "Depth");
  return w * d - (w - attr(p, "WebThickness")) * (d - attr(p, "FlangeThickness"));
}

double U_Area(const ifc::Entity& p) {
  const double w = attr(p, "FlangeWidth"), d = attr(p, "Depth");
  return w * d - (w - attr(p, "WebThickness")) * (d - 2 * attr(p, "FlangeThickness"));
}

double Trap_Area(const ifc::Entity& p) {
  return 0.5 * attr(p, "YDim") * (attr(p, "BottomXDim") + attr(p, "TopXDim"));
}

double RH_Area(const ifc::Entity& p) {
  const double x = attr(p, "XDim"), y = attr(p, "YDim"), t = attr(p, "WallThickness");
  return x * y - (x - 2 * t) * (y - 2 * t);
}

double CH_Area(const ifc::Entity& p) {
  const double r = attr(p, "Radius"), inner = r - attr(p, "WallThickness");
  return kPi * r * r - kPi * inner * inner;
}

void appendPoints(const ifc::Entity& polyline, std::vector<std::array<double, 2>>& cords) {
  for (const ifc::Value& point : listOf(polyline, "Points")) {
    const ifc::List xy = listOf(point.asEntity(), "Coordinates");
    cords.push_back({xy.at(0).asDouble(), xy.at(1).asDouble()});
  }
}

}  // namespace

std::vector<std::array<double, 2>> getCords(const ifc::Entity& profile) {
  std::vector<std::array<double, 2>> cords;
  const ifc::Entity outer = profile.get("OuterCurve").asEntity();
  if (outer.type() == "IfcPolyline") {
    appendPoints(outer, cords);
  } else if (outer.type() == "IfcCompositeCurve") {
    for (const ifc::Value& segment : listOf(outer, "Segments")) {
      const ifc::Entity curve = segment.asEntity().get("ParentCurve").asEntity();
      if (curve.type() == "IfcPolyline") {
        appendPoints(curve, cords);
      } else if (curve.type() == "IfcTrimmedCurve") {
        throw AreaError("Not Implemented");
      }
    }
  } else {
    throw AreaError("Not Implemented");
  }
  return cords;
}

double Arb_Area(const ifc::Entity& p) { return detail::polygonArea(getCords(p)); }

ifc::Entity get_OriginProfile(const ifc::Entity& derived) {
  const ifc::Entity parent = derived.get("ParentProfile").asEntity();
  return parent.is_a("IfcDerivedProfileDef") ? get_OriginProfile(parent) : parent;
}

namespace {

struct AreaFunction {
  std::string_view type;
  double (*area)(const ifc::Entity&);
};

constexpr std::array<AreaFunction, 10> kAreaTable{{
    {"IfcCircleProfileDef", Circle_Area},
    {"IfcRectangleProfileDef", Rec_Area},
    {"IfcIShapeProfileDef", I_Area},
    {"IfcLShapeProfileDef", L_Area},
    {"IfcTShapeProfileDef", T_Area},
    {"IfcUShapeProfileDef", U_Area},
    {"IfcTrapeziumProfileDef", Trap_Area},
    {"IfcRectangleHollowProfileDef", RH_Area},
    {"IfcCircleHollowProfileDef", CH_Area},
    {"IfcArbitraryClosedProfileDef", Arb_Area},
}};

}  // namespace

double get_Area(const ifc::Entity& profile) {
  // Type names are matched exactly: a subtype is not measured as its supertype.
  const ifc::Entity measured =
      profile.type() == "IfcDerivedProfileDef" ? get_OriginProfile(profile) : profile;
  for (const AreaFunction& entry : kAreaTable) {
    if (entry.type == measured.type()) return entry.area(measured);
  }
  throw AreaError(measured.type());
}

}  // namespace Sect
