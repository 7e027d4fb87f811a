#include "host/run_context.h"

#include <string>

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

}  // namespace

std::shared_ptr<Sect::ProfileCache> profileCacheOf(HostModel& model) {
  const py::module_ config = py::module_::import("config");
  if (!py::hasattr(config, "dict_profile") || config.attr("dict_profile").is_none()) {
    missing("config.dict_profile is not assigned");
  }
  const py::object key = config.attr("dict_profile");
  if (!model.profiles || !model.cacheKey.is(key)) {
    model.profiles = std::make_shared<Sect::ProfileCache>();
    model.cacheKey = key;
  }
  return model.profiles;
}

BoundRunContext runContextOf(HostModel& model) {
  const py::module_ config = py::module_::import("config");
  const ifc::Entity origin = contextEntity(config, "origin", model, "IfcCartesianPoint");
  const ifc::Entity directionX = contextEntity(config, "directionX", model, "IfcDirection");
  const ifc::Entity directionY = contextEntity(config, "directionY", model, "IfcDirection");
  const ifc::Entity directionZ = contextEntity(config, "directionZ", model, "IfcDirection");
  const ifc::Entity placement = contextEntity(config, "placement", model, "IfcAxis2Placement3D");
  std::shared_ptr<Sect::ProfileCache> profiles = profileCacheOf(model);
  const ifc::Entity ownerHistory = firstOf(model, "IfcOwnerHistory");
  const ifc::Entity context = firstOf(model, "IfcGeometricRepresentationContext");
  Sect::ProfileCache& cache = *profiles;
  BoundRunContext bound{std::move(profiles),
                        Utils::RunContext{*model.model, ownerHistory, context, origin, directionX,
                                          directionY, directionZ, placement, cache}};
  Utils::requireComplete(bound.context);
  return bound;
}

}  // namespace host
