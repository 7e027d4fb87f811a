// Crosses of two I shapes through their centres (28 vertices), and the TI, HV and regular
// polygon outlines.
#include <cmath>
#include <numbers>

#include "sections/builder_support.h"
#include "sections/builders.h"

namespace Sect {

using detail::Chain;
using detail::profileName;

namespace {

// More edges than any section needs; guards against a count that would exhaust memory.
constexpr double kMaxPolygonEdges = 100000;

// Counter-clockwise from the lower left corner of the vertical I's lower flange; the vertical
// I makes the top and bottom of the cross, the horizontal I its left and right ends.
std::vector<detail::Point2> crossOutline(double v_web, double v_height, double v_flange,
                                         double v_width, double h_web, double h_height,
                                         double h_flange, double h_width) {
  Chain c(-v_width / 2, -v_height / 2);
  c.add(v_width, 0)
      .add(0, v_flange)
      .sub(v_width / 2 - v_web / 2, 0)
      .add(0, (v_height / 2 - v_flange) - h_web / 2)
      .add((h_height / 2 - v_web / 2) - h_flange, 0)
      .sub(0, h_width / 2 - h_web / 2)
      .add(h_flange, 0)
      .add(0, h_width)
      .sub(h_flange, 0)
      .sub(0, h_width / 2 - h_web / 2)
      .sub((h_height / 2 - h_flange) - v_web / 2, 0)
      .add(0, (v_height / 2 - h_web / 2) - v_flange)
      .add(v_width / 2 - v_web / 2, 0)
      .add(0, v_flange)
      .sub(v_width, 0)
      .sub(0, v_flange)
      .add(v_width / 2 - v_web / 2, 0)
      .sub(0, (v_height / 2 - v_flange) - h_web / 2)
      .sub((h_height / 2 - h_flange) - v_web / 2, 0)
      .add(0, h_width / 2 - h_web / 2)
      .sub(h_flange, 0)
      .sub(0, h_width)
      .add(h_flange, 0)
      .add(0, h_width / 2 - h_web / 2)
      .add((h_height / 2 - h_flange) - v_web / 2, 0)
      .sub(0, (v_height / 2 - v_flange) - h_web / 2)
      .sub(v_width / 2 - v_web / 2, 0);
  return c.vertices();
}

}  // namespace

ifc::Entity Double_I_Section(ifc::Model& ifcfile, double width, double height, double web,
                             double flange) {
  return detail::outlineProfile(
      ifcfile, crossOutline(web, height, flange, width, web, height, flange, width),
      profileName("I", {width, height, web, flange}));
}

ifc::Entity Double_I_Section_Ex(ifc::Model& ifcfile, double v_web, double v_height, double v_flange,
                                double v_width, double h_web, double h_height, double h_flange,
                                double h_width) {
  return detail::outlineProfile(
      ifcfile, crossOutline(v_web, v_height, v_flange, v_width, h_web, h_height, h_flange, h_width),
      profileName("DI", {v_web, v_height, v_flange, v_width, h_web, h_height, h_flange, h_width}));
}

ifc::Entity TI_Section(ifc::Model& ifcfile, double B, double H, double T, double F, double U,
                       double D, double L, double P) {
  // Counter-clockwise from the lower left corner of the foot; origin at the bar's centre.
  Chain c(-P / 2, -D - B / 2);
  c.add(P, 0)
      .add(0, L)
      .add(-P / 2 + U / 2, 0)
      .add(0, D - L)
      .add(H / 2 - T - U / 2, 0)
      .add(0, -F / 2 + B / 2)
      .add(T, 0)
      .add(0, F)
      .add(-T, 0)
      .add(0, -F / 2 + B / 2)
      .add(-H + 2 * T, 0)
      .add(0, F / 2 - B / 2)
      .add(-T, 0)
      .add(0, -F)
      .add(T, 0)
      .add(0, F / 2 - B / 2)
      .add(H / 2 - T - U / 2, 0)
      .add(0, -D + L)
      .add(-P / 2 + U / 2, 0);
  return detail::outlineProfile(ifcfile, c.vertices(), profileName("TI", {B, H, T, F, U, D, L, P}));
}

ifc::Entity HV_Section(ifc::Model& ifcfile, double web, double height, double top_height,
                       double flange_tk, double flange_l_width, double flange_r_width) {
  // Counter-clockwise from the lower left corner of the vertical plate.
  Chain c(-web / 2, -height / 2);
  c.add(web, 0)
      .add(0, height - top_height - flange_tk)
      .add(flange_r_width, 0)
      .add(0, flange_tk)
      .add(-flange_r_width, 0)
      .add(0, top_height)
      .add(-web, 0)
      .add(0, -top_height)
      .add(-flange_l_width, 0)
      .add(0, -flange_tk)
      .add(flange_l_width, 0);
  return detail::outlineProfile(
      ifcfile, c.vertices(),
      profileName("HV", {web, height, top_height, flange_tk, flange_l_width, flange_r_width}));
}

ifc::Entity NGon_Section(ifc::Model& ifcfile, double diameter, double edgeCount) {
  const std::string name = profileName("NGon", {diameter, edgeCount});
  detail::requirePositive(name, "the diameter", diameter);
  detail::require(std::floor(edgeCount) >= 3, name, "a polygon needs at least 3 edges");
  detail::require(edgeCount <= kMaxPolygonEdges, name, "too many edges for a section");
  // The vertex count is the floor of edgeCount while the angular step divides the full turn
  // by edgeCount itself.
  const double step = (std::numbers::pi * 2) / edgeCount;
  const auto count = static_cast<long>(std::floor(edgeCount));
  std::vector<detail::Point2> vertices;
  vertices.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) {
    const double angle = step * static_cast<double>(i);
    vertices.push_back({std::cos(angle) * diameter / 2, std::sin(angle) * diameter / 2});
  }
  return detail::outlineProfile(ifcfile, vertices, name);
}

}  // namespace Sect
