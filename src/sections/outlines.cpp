// Profiles drawn as explicit outlines, for shapes the parameterized IFC types cannot hold:
// channels and I shapes with unequal flanges, hollow rectangles with four wall thicknesses
// and angles with two leg thicknesses.
#include <cmath>

#include "sections/builder_support.h"
#include "sections/builders.h"

namespace Sect {

using detail::Chain;
using detail::profileName;

ifc::Entity U_Section_Ex(ifc::Model& ifcfile, double web, double height, double top_width,
                         double top_thick, double bot_width, double bot_thick) {
  // Counter-clockwise from the tip of the bottom flange; the back of the web at x = web/2.
  Chain outline(web / 2 - bot_width, -height / 2);
  outline.add(bot_width, 0)
      .add(0, height)
      .add(-top_width, 0)
      .add(0, -top_thick)
      .add(top_width - web, 0)
      .add(0, -height + top_thick + bot_thick)
      .add(web - bot_width, 0);
  return detail::outlineProfile(
      ifcfile, outline.vertices(),
      profileName("U", {web, height, top_width, top_thick, bot_width, bot_thick}));
}

ifc::Entity I_Section_Ex(ifc::Model& ifcfile, double web, double height, double bot_width,
                         double top_width, double bot_thick, double top_thick) {
  // Counter-clockwise from the left end of the bottom flange.
  Chain outline(-bot_width / 2, -height / 2);
  outline.add(bot_width, 0)
      .add(0, bot_thick)
      .add(-bot_width / 2 + web / 2, 0)
      .add(0, height - top_thick - bot_thick)
      .add(top_width / 2 - web / 2, 0)
      .add(0, top_thick)
      .add(-top_width, 0)
      .add(0, -top_thick)
      .add(top_width / 2 - web / 2, 0)
      .add(0, -height + top_thick + bot_thick)
      .add(-bot_width / 2 + web / 2, 0);
  return detail::outlineProfile(
      ifcfile, outline.vertices(),
      profileName("I", {web, height, bot_width, top_width, bot_thick, top_thick}));
}

ifc::Entity RH_Section_Ex(ifc::Model& ifcfile, double b, double h, double tt, double tl, double tb,
                          double tr) {
  const std::string name = profileName("RH", {b, h, tt, tl, tb, tr});
  detail::requirePositive(name, "the width", b);
  detail::requirePositive(name, "the height", h);
  detail::requirePositive(name, "the top wall", tt);
  detail::requirePositive(name, "the left wall", tl);
  detail::requirePositive(name, "the bottom wall", tb);
  detail::requirePositive(name, "the right wall", tr);
  detail::require(tl + tr < b && tt + tb < h, name, "the walls must leave a hole inside");
  const ifc::Entity outer = detail::closedPolyline(
      ifcfile, {{-b / 2, -h / 2}, {b / 2, -h / 2}, {b / 2, h / 2}, {-b / 2, h / 2}});
  const ifc::Entity inner = detail::closedPolyline(ifcfile, {{-b / 2 + tl, -h / 2 + tb},
                                                             {b / 2 - tr, -h / 2 + tb},
                                                             {b / 2 - tr, h / 2 - tt},
                                                             {-b / 2 + tl, h / 2 - tt}});
  return ifcfile.create("IfcArbitraryProfileDefWithVoids",
                        {ifc::Enum{"AREA"}, name, outer, ifc::List{inner}});
}

ifc::Entity L_Section_Ex(ifc::Model& ifcfile, double W_, double D_, double tw, double tf) {
  const double W = std::abs(W_);
  const double D = std::abs(D_);
  // The vertical leg centred on the y axis, the horizontal leg along the bottom towards -x;
  // the signs of W_ and D_ mirror it through the operator.
  Chain outline(-W - tw / 2, -D / 2);
  outline.add(W + tw, 0).add(0, D).add(-tw, 0).add(0, -D + tf).add(-W, 0);
  const ifc::Entity parent = detail::outlineProfile(ifcfile, outline.vertices(), std::nullopt);
  const ifc::Entity transform = detail::transformOperator(ifcfile, 0.0, 0.0, W_ < 0, D_ < 0);
  return detail::derivedProfile(ifcfile, parent, transform, profileName("I", {W + tw, D, tw, tf}));
}

}  // namespace Sect
