// Module Sect: the section profile builders, the profile dispatch with its run cache, the
// tapered-section test, the polygon profile and profile areas.

#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <vector>

#include "host/builder_call.h"
#include "host/connection.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "host/host_model.h"
#include "host/run_context.h"
#include "sections/area.h"
#include "sections/builders.h"
#include "sections/make_profiles.h"
#include "sections/polygon_section.h"
#include "sections/taper_sects.h"
#include "vector/vector.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

using ModelPtr = std::shared_ptr<HostModel>;

// One builder: the model first, then its dimensions by position or by name.
template <class... Dimensions, class... Names>
void defineBuilder(py::module_& m, const char* name,
                   ifc::Entity (*builder)(ifc::Model&, Dimensions...), Names... names) {
  m.def(
      name,
      [builder](const ModelPtr& ifcfile, Dimensions... dimensions) {
        return wrap(ifcfile, builder(*modelArgument(ifcfile, "ifcfile").model, dimensions...));
      },
      py::arg("ifcfile"), py::arg(names)...);
}

void defineBuilders(py::module_& m) {
  defineBuilder(m, "Circle_Section", &Sect::Circle_Section, "D");
  defineBuilder(m, "Rect_Section", &Sect::Rect_Section, "b", "h");
  defineBuilder(m, "RH_Section", &Sect::RH_Section, "b", "h", "t");
  defineBuilder(m, "CH_Section", &Sect::CH_Section, "outD", "inD");
  defineBuilder(m, "Trap_Section", &Sect::Trap_Section, "bot_width", "height", "l_extend",
                "r_extend");
  defineBuilder(m, "I_Section", &Sect::I_Section, "W", "D", "tw", "tf", "r");
  defineBuilder(m, "U_Section", &Sect::U_Section, "W", "D", "tw", "tf", "r");
  defineBuilder(m, "T_Section", &Sect::T_Section, "W", "D", "tw", "tf", "r");
  defineBuilder(m, "L_Section", &Sect::L_Section, "W_", "D_", "t", "r");
  defineBuilder(m, "U_Section_Ex", &Sect::U_Section_Ex, "web", "height", "top_width", "top_thick",
                "bot_width", "bot_thick");
  defineBuilder(m, "I_Section_Ex", &Sect::I_Section_Ex, "web", "height", "bot_width", "top_width",
                "bot_thick", "top_thick");
  defineBuilder(m, "RH_Section_Ex", &Sect::RH_Section_Ex, "b", "h", "tt", "tl", "tb", "tr");
  defineBuilder(m, "L_Section_Ex", &Sect::L_Section_Ex, "W_", "D_", "tw", "tf");
  defineBuilder(m, "Double_I_Section", &Sect::Double_I_Section, "width", "height", "web", "flange");
  defineBuilder(m, "Double_I_Section_Ex", &Sect::Double_I_Section_Ex, "v_web", "v_height",
                "v_flange", "v_width", "h_web", "h_height", "h_flange", "h_width");
  defineBuilder(m, "TI_Section", &Sect::TI_Section, "B", "H", "T", "F", "U", "D", "L", "P");
  defineBuilder(m, "HV_Section", &Sect::HV_Section, "web", "height", "top_height", "flange_tk",
                "flange_l_width", "flange_r_width");
  defineBuilder(m, "NGon_Section", &Sect::NGon_Section, "diameter", "edgeCount");
  defineBuilder(m, "Comp1_Section", &Sect::Comp1_Section, "B", "H", "U", "T", "D", "F");
  defineBuilder(m, "Comp2_Section", &Sect::Comp2_Section, "B", "H", "U", "T", "D", "F");
  defineBuilder(m, "Double_U_Section", &Sect::Double_U_Section, "web", "height", "top_width",
                "top_thick", "bot_width", "bot_thick", "dist");
}

// The list config.dict_profile holds under the text, itself; built and stored there first
// when it holds none. A tapered kind under IFC2X3 gets a new empty list, not stored.
py::object makeProfiles(const ModelPtr& ifcfile, double kind, const std::string& shapeValue) {
  HostModel& model = modelArgument(ifcfile, "ifcfile");
  const std::shared_ptr<Sect::ProfileCache> cache = profileCacheOf(ifcfile);
  const auto profiles =
      unlocked([&] { return Sect::makeProfiles(*model.model, *cache, kind, shapeValue); });
  const py::object dict = dictProfile();
  if (dict.contains(shapeValue)) return dict[py::str(shapeValue)];
  return products(ifcfile, *profiles);
}

py::object polygonSection(const ModelPtr& ifcfile, const App::Vector& v0,
                          const py::iterable& points) {
  HostModel& model = modelArgument(ifcfile, "ifcfile");
  std::vector<App::Vector> vertices;
  for (py::handle p : points) vertices.push_back(p.cast<App::Vector>());
  return wrap(ifcfile, Sect::Polygon_Section(*model.model, v0, vertices));
}

// An entity argument of the given type (or a subtype); TypeError naming the argument else.
const HostEntity& profileArgument(py::handle value, const char* name, const char* type) {
  const HostEntity& e = entityArgument(value, name);
  if (!e.entity.is_a(type)) {
    throw py::type_error(std::string(name) + ": expected an " + type + ", got " + e.entity.type());
  }
  return e;
}

void defineAreas(py::module_& m) {
  m.def(
      "get_Area",
      [](const py::object& profile) {
        return Sect::get_Area(entityArgument(profile, "profile").entity);
      },
      "profile"_a);
  m.def(
      "get_OriginProfile",
      [](const py::object& derived) {
        const HostEntity& e = profileArgument(derived, "derived", "IfcDerivedProfileDef");
        return wrap(e.owner, Sect::get_OriginProfile(e.entity));
      },
      "derived"_a, "The innermost parent of a derived profile that is not a derived profile.");
  m.def(
      "getCords",
      [](const py::object& profile) {
        const HostEntity& e = profileArgument(profile, "profile", "IfcArbitraryClosedProfileDef");
        py::list cords;
        for (const auto& [x, y] : Sect::getCords(e.entity)) cords.append(py::make_tuple(x, y));
        return cords;
      },
      "profile"_a, "The (x, y) pairs of the outer curve of an arbitrary closed profile.");
  m.def(
      "Arb_Area",
      [](const py::object& profile) {
        return Sect::Arb_Area(
            profileArgument(profile, "profile", "IfcArbitraryClosedProfileDef").entity);
      },
      "profile"_a, "The area of the polygon through the outer curve's points.");
}

}  // namespace

void initSect(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "Section profiles of the members.";
  static_cast<void>(importModule("App"));
  static_cast<void>(importModule("ifc"));
  static_cast<void>(importModule("config"));
  py::register_exception<Sect::SectionError>(m, "SectionError", PyExc_ValueError);
  py::register_exception<Sect::AreaError>(m, "AreaError", PyExc_ValueError);

  defineBuilders(m);
  m.def("makeProfiles", &makeProfiles, "ifcfile"_a, "kind"_a, "shapeValue"_a,
        "The profiles of a section kind and dimension text, cached in config.dict_profile "
        "under the text.");
  m.def(
      "TaperSects",
      [](const py::object& conn, const std::string& table) {
        return Sect::TaperSects(openConnection(conn), table);
      },
      "conn"_a, "table"_a);
  m.def(
      "hasTaperSects",
      [](const py::object& conn) { return Sect::hasTaperSects(openConnection(conn)); }, "conn"_a,
      py::pos_only());
  m.def("Polygon_Section", &polygonSection, "ifcfile"_a, "v0"_a, "points"_a);
  defineAreas(m);
}

}  // namespace host
