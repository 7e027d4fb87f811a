// Profiles of the parameterized IFC types, centred on their own origin. Each checks, before
// creating anything, the sizes its type needs positive and the thicknesses its type needs to
// fit, so that the profile written is valid under either schema.
#include <cmath>

#include "sections/builder_support.h"
#include "sections/builders.h"

namespace Sect {

using detail::areaProfile;
using detail::centredPlacement;
using detail::profileName;
using detail::require;
using detail::requirePositive;

ifc::Entity Circle_Section(ifc::Model& ifcfile, double D) {
  const std::string name = profileName("Circle", {D});
  requirePositive(name, "the diameter", D);
  return areaProfile(
      ifcfile, "IfcCircleProfileDef",
      {{"Position", centredPlacement(ifcfile)}, {"Radius", D / 2}, {"ProfileName", name}});
}

ifc::Entity Rect_Section(ifc::Model& ifcfile, double b, double h) {
  const std::string name = profileName("Rec", {b, h});
  requirePositive(name, "the width", b);
  requirePositive(name, "the height", h);
  return areaProfile(
      ifcfile, "IfcRectangleProfileDef",
      {{"Position", centredPlacement(ifcfile)}, {"XDim", b}, {"YDim", h}, {"ProfileName", name}});
}

ifc::Entity RH_Section(ifc::Model& ifcfile, double b, double h, double t) {
  const std::string name = profileName("RH", {b, h, t});
  requirePositive(name, "the width", b);
  requirePositive(name, "the height", h);
  requirePositive(name, "the wall thickness", t);
  require(t < b / 2 && t < h / 2, name, "the wall must be thinner than half the width and height");
  return areaProfile(ifcfile, "IfcRectangleHollowProfileDef",
                     {{"Position", centredPlacement(ifcfile)},
                      {"XDim", b},
                      {"YDim", h},
                      {"WallThickness", t},
                      {"ProfileName", name}});
}

ifc::Entity CH_Section(ifc::Model& ifcfile, double outD, double inD) {
  const std::string name = profileName("CH", {outD, inD});
  const double radius = outD / 2;
  const double wall = (outD - inD) / 2;
  requirePositive(name, "the outer diameter", outD);
  require(inD >= 0.0, name, "the inner diameter must not be negative");
  require(wall > 0.0, name, "the inner diameter must be less than the outer");
  // Tested on the values written: a wall as thick as the radius, an inner diameter of 0 or
  // one too small to change the wall, is a solid round bar, which the hollow type cannot
  // hold.
  if (!(wall < radius)) {
    return areaProfile(
        ifcfile, "IfcCircleProfileDef",
        {{"Position", centredPlacement(ifcfile)}, {"Radius", radius}, {"ProfileName", name}});
  }
  return areaProfile(ifcfile, "IfcCircleHollowProfileDef",
                     {{"Position", centredPlacement(ifcfile)},
                      {"Radius", radius},
                      {"WallThickness", wall},
                      {"ProfileName", name}});
}

ifc::Entity Trap_Section(ifc::Model& ifcfile, double bot_width, double height, double l_extend,
                         double r_extend) {
  const std::string name = profileName("Trap", {bot_width, height, l_extend, r_extend});
  const double topWidth = bot_width + l_extend + r_extend;
  requirePositive(name, "the bottom width", bot_width);
  requirePositive(name, "the height", height);
  requirePositive(name, "the top width", topWidth);
  return areaProfile(ifcfile, "IfcTrapeziumProfileDef",
                     {{"Position", centredPlacement(ifcfile)},
                      {"BottomXDim", bot_width},
                      {"YDim", height},
                      {"TopXDim", topWidth},
                      {"TopXOffset", -l_extend},
                      {"ProfileName", name}});
}

namespace {

// Web, flange and overall sizes shared by the I, U and T: all positive, the web narrower
// than the flange width.
void checkFlangedShape(const std::string& name, double W, double D, double tw, double tf) {
  requirePositive(name, "the flange width", W);
  requirePositive(name, "the depth", D);
  requirePositive(name, "the web thickness", tw);
  requirePositive(name, "the flange thickness", tf);
  require(tw < W, name, "the web must be thinner than the flange width");
}

}  // namespace

ifc::Entity I_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r) {
  const std::string name = profileName("I", {W, D, tw, tf});
  checkFlangedShape(name, W, D, tw, tf);
  require(2 * tf < D, name, "two flanges must be thinner than the depth");
  require(r <= (W - tw) / 2 && r <= (D - 2 * tf) / 2, name,
          "the fillet radius must fit between the web and the flange tips");
  const ifc::Value fillet = detail::optionalRadius(ifcfile, name, r);
  return areaProfile(ifcfile, "IfcIShapeProfileDef",
                     {{"Position", centredPlacement(ifcfile)},
                      {"OverallWidth", W},
                      {"OverallDepth", D},
                      {"WebThickness", tw},
                      {"FlangeThickness", tf},
                      {"FilletRadius", fillet},
                      {"ProfileName", name}});
}

ifc::Entity U_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r) {
  const std::string name = profileName("U", {W, D, tw, tf});
  checkFlangedShape(name, W, D, tw, tf);
  require(tf < D / 2, name, "two flanges must be thinner than the depth");
  const ifc::Value fillet = detail::optionalRadius(ifcfile, name, r);
  const ifc::Value edge = detail::optionalRadius(ifcfile, name, r * 0.5);
  const ifc::Entity parent = areaProfile(ifcfile, "IfcUShapeProfileDef",
                                         {{"Position", centredPlacement(ifcfile)},
                                          {"FlangeWidth", W},
                                          {"Depth", D},
                                          {"WebThickness", tw},
                                          {"FlangeThickness", tf},
                                          {"FilletRadius", fillet},
                                          {"EdgeRadius", edge}});
  // Mirrored in x and shifted so that the web is centred on the y axis.
  const ifc::Entity transform =
      detail::transformOperator(ifcfile, -W / 2 + tw / 2, 0.0, true, false);
  return detail::derivedProfile(ifcfile, parent, transform, name);
}

ifc::Entity T_Section(ifc::Model& ifcfile, double W, double D, double tw, double tf, double r) {
  const std::string name = profileName("T", {W, D, tw, tf});
  checkFlangedShape(name, W, D, tw, tf);
  require(tf < D, name, "the flange must be thinner than the depth");
  const ifc::Value fillet = detail::optionalRadius(ifcfile, name, r);
  const ifc::Entity parent = areaProfile(ifcfile, "IfcTShapeProfileDef",
                                         {{"Position", centredPlacement(ifcfile)},
                                          {"FlangeWidth", W},
                                          {"Depth", D},
                                          {"WebThickness", tw},
                                          {"FlangeThickness", tf},
                                          {"FilletRadius", fillet}});
  // Mirrored in y: the flange goes to the bottom.
  const ifc::Entity transform = detail::transformOperator(ifcfile, 0.0, 0.0, false, true);
  return detail::derivedProfile(ifcfile, parent, transform, name);
}

ifc::Entity L_Section(ifc::Model& ifcfile, double W_, double D_, double t, double r) {
  const double W = std::abs(W_) + t;
  const double D = std::abs(D_);
  const std::string name = profileName("L", {W, D, t});
  requirePositive(name, "the thickness", t);
  requirePositive(name, "the depth", D);
  requirePositive(name, "the width", W);
  require(t < D, name, "the legs must be thinner than the depth");
  // On the width written: without an outstand (none, or one too short to change the width)
  // the angle is a flat bar, t wide and D deep about the vertical leg's centre line, which
  // the angle type cannot hold.
  if (!(t < W)) {
    return areaProfile(
        ifcfile, "IfcRectangleProfileDef",
        {{"Position", centredPlacement(ifcfile)}, {"XDim", t}, {"YDim", D}, {"ProfileName", name}});
  }
  const ifc::Value fillet = detail::optionalRadius(ifcfile, name, r);
  const ifc::Entity parent = areaProfile(ifcfile, "IfcLShapeProfileDef",
                                         {{"Position", centredPlacement(ifcfile)},
                                          {"Width", W},
                                          {"Depth", D},
                                          {"Thickness", t},
                                          {"FilletRadius", fillet}});
  // The vertical leg centred on the y axis; the horizontal leg towards -x when W_ > 0 (a
  // mirror in x), at the top when D_ < 0 (a mirror in y).
  const bool mirrorX = W_ > 0;
  const double originX = mirrorX ? -W / 2 + t / 2 : W / 2 - t / 2;
  const ifc::Entity transform = detail::transformOperator(ifcfile, originX, 0.0, mirrorX, D_ < 0);
  return detail::derivedProfile(ifcfile, parent, transform, name);
}

}  // namespace Sect
