#pragma once
// The IFC model and its entities as the host holds them (module ifc): a model object that owns
// one ifc::Model, and entity objects that keep their model alive, so an entity outlives the
// variable that held its model.

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "ifc/model.h"
#include "ifc/value.h"

namespace Sect {
class ProfileCache;
}

namespace host {

struct HostModel {
  std::shared_ptr<ifc::Model> model;  // shared with the run of Verdamo.Create that made it
  // The builders' profile cache of this model, kept in config.dict_profile (run_context.h).
  std::shared_ptr<Sect::ProfileCache> profiles;
};

struct HostEntity {
  std::shared_ptr<HostModel> owner;
  ifc::Entity entity;
};

// A defined type's value inside a select attribute, for example IfcLabel('3').
struct TypedValue {
  std::string type;
  pybind11::object wrappedValue;
};

// Attribute values between the host and the IFC layer: None is unset, bool, int, float and
// str are themselves, entities and typed values their objects, and any other iterable an
// aggregate. IFC aggregates come back as tuples, enumeration items as their text. A value
// the IFC layer cannot hold (an integer beyond 64 bits, aggregates nested deeper than
// kMaxNesting, as a list that contains itself is) raises OverflowError or ValueError naming
// `attribute` and the value.
inline constexpr int kMaxNesting = 100;  // no schema type nests aggregates more than a few deep
[[nodiscard]] ifc::Value toIfcValue(const HostModel& model, pybind11::handle value,
                                    const std::string& attribute);
[[nodiscard]] pybind11::object toPython(const std::shared_ptr<HostModel>& model,
                                        const ifc::Value& value);

// The model given to a builder as the argument `name`; TypeError naming it for None.
[[nodiscard]] HostModel& modelArgument(const std::shared_ptr<HostModel>& model, const char* name);

// The entity as a host object of the model.
[[nodiscard]] pybind11::object wrap(const std::shared_ptr<HostModel>& model, ifc::Entity entity);
// The model whose entity `value` is, with the C++ handle; throws TypeError for anything that
// is not an entity, naming `what`.
[[nodiscard]] const HostEntity& entityArgument(pybind11::handle value, const char* what);
// An entity argument that must belong to `model`; throws ifc::Error for one of another model.
[[nodiscard]] ifc::Entity entityOf(const HostModel& model, pybind11::handle value,
                                   const char* what);

}  // namespace host
