#include "members/arc_slab_outline.h"

#include <cmath>
#include <numbers>
#include <string>

#include "members/half_circle.h"
#include "members/slab_fault.h"
#include "vector/draft_vec_utils.h"

namespace Utils {

namespace {

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

ifc::Entity point2(ifc::Model& model, const Grid::OutlinePoint& p) {
  return model.create("IfcCartesianPoint", {ifc::List{p.x, p.y}});
}

ifc::Entity trimmedArc(ifc::Model& model, const Grid::OutlineSegment& arc) {
  const ArcTrim trim = arcTrim(arc);
  const ifc::Entity centre = model.create("IfcAxis2Placement2D", {point2(model, arc[0])});
  const ifc::Entity circle = model.create("IfcCircle", {centre, trim.radius});
  return model.create("IfcTrimmedCurve",
                      {circle, ifc::List{ifc::Value::typed("IfcParameterValue", trim.a1)},
                       ifc::List{ifc::Value::typed("IfcParameterValue", trim.a2)}, trim.sense,
                       ifc::Enum{"PARAMETER"}});
}

}  // namespace

ArcTrim arcTrim(const Grid::OutlineSegment& arc) {
  const App::Vector c(arc[0].x, arc[0].y, 0.0);
  const App::Vector s(arc[1].x, arc[1].y, 0.0);
  const App::Vector e(arc[2].x, arc[2].y, 0.0);
  const App::Vector d1 = s - c;
  const App::Vector d2 = e - c;
  if (d1.Length() == 0.0 || d2.Length() == 0.0) {
    throw SlabFault("轮廓圆弧的端点" + (d1.Length() == 0.0 ? s : e).str() + "与圆心重合");
  }
  const App::Vector xAxis(1, 0, 0);
  double a1 = degrees(App::DraftVecUtils::angle(xAxis, d1));
  double a2 = degrees(App::DraftVecUtils::angle(xAxis, d2));
  if (a1 < 0) a1 += 360.0;
  if (a2 < 0) a2 += 360.0;
  const bool sense = isHalfCircle(d1, d2) || !(App::DraftVecUtils::angle(d1, d2) < 0);
  const double radius = (c - s).Length();
  if (!std::isfinite(radius)) throw SlabFault("轮廓圆弧半径不是有限数值");
  return {radius, a1, a2, sense};
}

ifc::Entity arcOutlineProfile(ifc::Model& model, const std::vector<Grid::OutlineSegment>& chain) {
  ifc::List segments;
  for (const Grid::OutlineSegment& segment : chain) {
    const ifc::Entity parent =
        segment.isArc()
            ? trimmedArc(model, segment)
            : model.create("IfcPolyline",
                           {ifc::List{point2(model, segment[0]), point2(model, segment[1])}});
    segments.emplace_back(
        model.create("IfcCompositeCurveSegment", {ifc::Enum{"CONTINUOUS"}, true, parent}));
  }
  const ifc::Entity curve = model.create("IfcCompositeCurve", {std::move(segments), false});
  const ifc::Entity profile = model.create("IfcArbitraryClosedProfileDef", {ifc::Enum{"AREA"}});
  profile.set("OuterCurve", curve);
  return profile;
}

}  // namespace Utils
