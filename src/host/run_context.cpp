#include "host/run_context.h"

#include <string>
#include <utility>

#include "host/python_lock.h"

namespace py = pybind11;

namespace host {

namespace {

const char* const kHint =
    " (Verdamo.Create sets up its own; a script assigns config.origin, directionX, directionY, "
    "directionZ, placement and dict_profile for its model first)";

[[noreturn]] void missing(const std::string& what) {
  throw Utils::RunContextError("run context not set up: " + what + kHint);
}

ifc::Entity contextEntity(const py::module_& config, const char* name, const HostModel& model,
                          const char* type) {
  const std::string attribute = std::string("config.") + name;
  if (!py::hasattr(config, name)) missing(attribute + " is not assigned");
  const py::object value = config.attr(name);
  if (!py::isinstance<HostEntity>(value)) missing(attribute + " is not an IFC entity");
  const HostEntity& e = value.cast<const HostEntity&>();
  if (e.owner.get() != &model) missing(attribute + " belongs to another model");
  if (!e.entity.is_a(type)) missing(attribute + " is not an " + type);
  return e.entity;
}

ifc::Entity firstOf(const HostModel& model, const char* type) {
  const auto all = model.model->by_type(type);
  if (all.empty()) missing(std::string("the model has no ") + type);
  return all.front();
}

// config.dict_profile as the builders' profile cache: looked up and filled under the
// dimension text, the lists kept as lists of the model's entities. The builders call it with
// the interpreter lock released; it takes the lock for each call.
class DictProfileStore : public Sect::ProfileStore {
 public:
  explicit DictProfileStore(std::weak_ptr<HostModel> model) : model_(std::move(model)) {}

  std::shared_ptr<const Sect::ProfileList> find(std::string_view shapeValue) override {
    return withPythonLock([&]() -> std::shared_ptr<const Sect::ProfileList> {
      const std::shared_ptr<HostModel> model = model_.lock();
      const py::object dict = dictProfile();
      const py::str key(shapeValue.data(), shapeValue.size());
      if (!dict.contains(key)) return nullptr;
      const std::string what = "config.dict_profile[" + py::repr(key).cast<std::string>() + "]";
      const py::object stored = dict[key];
      if (py::isinstance<py::str>(stored) || !py::hasattr(stored, "__iter__")) {
        throw py::type_error(what + ": expected a list of profiles");
      }
      auto profiles = std::make_shared<Sect::ProfileList>();
      for (py::handle item : stored) {
        const HostEntity& e = entityArgument(item, what.c_str());
        if (e.owner != model) missing(what + " holds a profile of another model");
        profiles->push_back(e.entity);
      }
      return profiles;
    });
  }

  void store(std::string_view shapeValue, const Sect::ProfileList& profiles) override {
    withPythonLock([&] {
      const std::shared_ptr<HostModel> model = model_.lock();
      py::list items;
      for (const ifc::Entity& p : profiles) items.append(wrap(model, p));
      dictProfile()[py::str(shapeValue.data(), shapeValue.size())] = items;
    });
  }

 private:
  std::weak_ptr<HostModel> model_;  // which owns the cache that holds this store
};

}  // namespace

py::object dictProfile() {
  const py::module_ config = py::module_::import("config");
  if (!py::hasattr(config, "dict_profile") || config.attr("dict_profile").is_none()) {
    missing("config.dict_profile is not assigned");
  }
  return config.attr("dict_profile");
}

std::shared_ptr<Sect::ProfileCache> profileCacheOf(const std::shared_ptr<HostModel>& model) {
  static_cast<void>(dictProfile());
  if (!model->profiles) {
    model->profiles =
        std::make_shared<Sect::ProfileCache>(std::make_shared<DictProfileStore>(model));
  }
  return model->profiles;
}

BoundRunContext runContextOf(const std::shared_ptr<HostModel>& host, const char* name) {
  HostModel& model = modelArgument(host, name);
  const py::module_ config = py::module_::import("config");
  const ifc::Entity origin = contextEntity(config, "origin", model, "IfcCartesianPoint");
  const ifc::Entity directionX = contextEntity(config, "directionX", model, "IfcDirection");
  const ifc::Entity directionY = contextEntity(config, "directionY", model, "IfcDirection");
  const ifc::Entity directionZ = contextEntity(config, "directionZ", model, "IfcDirection");
  const ifc::Entity placement = contextEntity(config, "placement", model, "IfcAxis2Placement3D");
  std::shared_ptr<Sect::ProfileCache> profiles = profileCacheOf(host);
  const ifc::Entity ownerHistory = firstOf(model, "IfcOwnerHistory");
  const ifc::Entity context = firstOf(model, "IfcGeometricRepresentationContext");
  Sect::ProfileCache& cache = *profiles;
  BoundRunContext bound{std::move(profiles),
                        Utils::RunContext{*model.model, ownerHistory, context, origin, directionX,
                                          directionY, directionZ, placement, cache}};
  Utils::requireComplete(bound.context);
  return bound;
}

std::shared_ptr<HostModel> assignRunContext(const std::shared_ptr<ifc::Model>& model,
                                            const Utils::RunContext& context) {
  auto host = std::make_shared<HostModel>();
  host->model = model;
  const py::module_ config = py::module_::import("config");
  config.attr("origin") = wrap(host, context.origin);
  config.attr("directionX") = wrap(host, context.directionX);
  config.attr("directionY") = wrap(host, context.directionY);
  config.attr("directionZ") = wrap(host, context.directionZ);
  config.attr("placement") = wrap(host, context.placement);
  config.attr("dict_profile") = py::dict();
  return host;
}

void storeRunProfiles(const std::shared_ptr<HostModel>& model, const Sect::ProfileCache& profiles) {
  const py::object dict = dictProfile();
  profiles.forEach([&](std::string_view text, const Sect::ProfileList& list) {
    const py::str key(text.data(), text.size());
    if (dict.contains(key)) return;  // the same text under another kind: the first one
    py::list items;
    for (const ifc::Entity& p : list) items.append(wrap(model, p));
    dict[key] = items;
  });
}

}  // namespace host
