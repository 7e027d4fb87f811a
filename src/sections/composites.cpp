// Built-up sections as one composite profile: placed copies of simpler profiles.
#include "sections/builder_support.h"
#include "sections/builders.h"

namespace Sect {

using detail::profileName;

namespace {

struct Placed {
  const ifc::Entity* base;  // null: a plate of zero thickness, left out
  double x;
  double y;
  bool mirrorX = false;
};

ifc::Entity compositeProfile(ifc::Model& model, const std::string& name,
                             const std::vector<Placed>& parts) {
  ifc::List profiles;
  for (const Placed& part : parts) {
    if (part.base == nullptr) continue;
    const ifc::Entity transform =
        detail::transformOperator(model, part.x, part.y, part.mirrorX, false);
    profiles.emplace_back(detail::derivedProfile(model, *part.base, transform, std::nullopt));
  }
  return model.create("IfcCompositeProfileDef", {ifc::Enum{"AREA"}, name, std::move(profiles)});
}

// Plates, webs and the checks Comp1 and Comp2 share: plates B x D, webs T x (H - 2D) whose
// outer faces lie U inside the plate edges.
void checkBox(const std::string& name, double B, double H, double U, double T, double D, double F) {
  detail::requirePositive(name, "the plate width", B);
  detail::requirePositive(name, "the plate thickness", D);
  detail::requirePositive(name, "the web thickness", T);
  detail::requirePositive(name, "the depth between the plates", H - 2 * D);
  detail::require(U >= 0.0 && F >= 0.0, name, "outstand and extension must not be negative");
}

}  // namespace

ifc::Entity Comp1_Section(ifc::Model& ifcfile, double B, double H, double U, double T, double D,
                          double F) {
  const std::string name = profileName("Comp1", {B, H, U, T, D, F});
  checkBox(name, B, H, U, T, D, F);
  if (F > 0.0) detail::requirePositive(name, "the cover plate width", B - 2 * U);
  const ifc::Entity plate = Rect_Section(ifcfile, B, D);
  const ifc::Entity web = Rect_Section(ifcfile, T, H - 2 * D);
  const ifc::Entity cover = F > 0.0 ? Rect_Section(ifcfile, B - 2 * U, F) : ifc::Entity{};
  const ifc::Entity* coverOrNone = F > 0.0 ? &cover : nullptr;
  return compositeProfile(ifcfile, name,
                          {{&plate, 0.0, H / 2 - D / 2},
                           {&plate, 0.0, -H / 2 + D / 2},
                           {&web, B / 2 - U - T / 2, 0.0},
                           {&web, -B / 2 + U + T / 2, 0.0},
                           {coverOrNone, 0.0, H / 2 + F / 2},
                           {coverOrNone, 0.0, -H / 2 - F / 2}});
}

ifc::Entity Comp2_Section(ifc::Model& ifcfile, double B, double H, double U, double T, double D,
                          double F) {
  const std::string name = profileName("Comp2", {B, H, U, T, D, F});
  checkBox(name, B, H, U, T, D, F);
  const ifc::Entity plate = Rect_Section(ifcfile, B, D);
  const ifc::Entity web = Rect_Section(ifcfile, T, H - 2 * D);
  const ifc::Entity piece = F > 0.0 ? Rect_Section(ifcfile, T, F) : ifc::Entity{};
  const ifc::Entity* pieceOrNone = F > 0.0 ? &piece : nullptr;
  const double right = B / 2 - U - T / 2;
  const double left = -B / 2 + U + T / 2;
  return compositeProfile(ifcfile, name,
                          {{&plate, 0.0, H / 2 - D / 2},
                           {&plate, 0.0, -H / 2 + D / 2},
                           {&web, right, 0.0},
                           {&web, left, 0.0},
                           {pieceOrNone, left, H / 2 + F / 2},
                           {pieceOrNone, right, H / 2 + F / 2},
                           {pieceOrNone, left, -H / 2 - F / 2},
                           {pieceOrNone, right, -H / 2 - F / 2}});
}

ifc::Entity Double_U_Section(ifc::Model& ifcfile, double web, double height, double top_width,
                             double top_thick, double bot_width, double bot_thick, double dist) {
  const std::string name =
      profileName("DU", {web, height, top_width, top_thick, bot_width, bot_thick, dist});
  const ifc::Entity channel =
      U_Section_Ex(ifcfile, web, height, top_width, top_thick, bot_width, bot_thick);
  // The backs of the two webs at x = -dist/2 and x = dist/2, the right channel mirrored.
  return compositeProfile(
      ifcfile, name,
      {{&channel, -dist / 2 - web / 2, 0.0}, {&channel, dist / 2 + web / 2, 0.0, true}});
}

}  // namespace Sect
