#include "host/host_model.h"

#include <cstdint>
#include <string>

#include "host/numbers.h"

namespace py = pybind11;

namespace host {

namespace {

std::string typeName(py::handle value) {
  return py::str(py::type::of(value).attr("__name__")).cast<std::string>();
}

}  // namespace

namespace {

ifc::Value convert(const HostModel& model, py::handle value, const std::string& attribute,
                   int depth) {
  if (value.is_none()) return ifc::Unset{};
  if (py::isinstance<py::bool_>(value)) return value.cast<bool>();
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (py::isinstance<HostEntity>(value)) {
    const HostEntity& e = value.cast<const HostEntity&>();
    if (e.owner.get() != &model) {
      throw ifc::Error("#" + std::to_string(e.entity.id()) + " belongs to another model");
    }
    return e.entity;
  }
  if (depth >= kMaxNesting) {
    throw py::value_error(attribute + ": the value nests deeper than " +
                          std::to_string(kMaxNesting) + " levels (a list that contains itself?)");
  }
  if (py::isinstance<TypedValue>(value)) {
    const TypedValue& t = value.cast<const TypedValue&>();
    return ifc::Value::typed(t.type, convert(model, t.wrappedValue, attribute, depth + 1));
  }
  // Integers first (int and NumPy integers have __index__), then anything float() takes.
  if (PyIndex_Check(value.ptr())) return asInt(value, attribute);
  if (PyFloat_Check(value.ptr()) || py::hasattr(value, "__float__")) {
    return asFloat(value);
  }
  if (!py::isinstance<py::bytes>(value) && py::hasattr(value, "__iter__")) {
    ifc::List items;
    for (py::handle item : value) items.push_back(convert(model, item, attribute, depth + 1));
    return items;
  }
  throw py::type_error(attribute + ": cannot write a " + typeName(value) +
                       " into an IFC attribute");
}

}  // namespace

ifc::Value toIfcValue(const HostModel& model, py::handle value, const std::string& attribute) {
  return convert(model, value, attribute, 0);
}

HostModel& modelArgument(const std::shared_ptr<HostModel>& model, const char* name) {
  if (!model) throw py::type_error(std::string(name) + ": expected an ifc.Model, got None");
  return *model;
}

py::object toPython(const std::shared_ptr<HostModel>& model, const ifc::Value& value) {
  using Kind = ifc::Value::Kind;
  switch (value.kind()) {
    case Kind::Unset:
    case Kind::Derived:
      return py::none();
    case Kind::Boolean:
      return py::bool_(value.asBool());
    case Kind::Logical:
      switch (value.asLogical()) {
        case ifc::Logical::True:
          return py::bool_(true);
        case ifc::Logical::False:
          return py::bool_(false);
        case ifc::Logical::Unknown:
          break;
      }
      return py::str("UNKNOWN");
    case Kind::Integer:
      return py::int_(value.asInt());
    case Kind::Real:
      return py::float_(value.asDouble());
    case Kind::String:
      return py::str(value.asString());
    case Kind::Enum:
      return py::str(value.asEnum());
    case Kind::Entity:
      return wrap(model, value.asEntity());
    case Kind::Typed:
      return py::cast(TypedValue{value.typeName(), toPython(model, value.inner())});
    case Kind::List: {
      const ifc::List& items = value.asList();
      py::tuple result(items.size());
      for (std::size_t i = 0; i < items.size(); ++i) result[i] = toPython(model, items[i]);
      return result;
    }
  }
  return py::none();
}

py::object wrap(const std::shared_ptr<HostModel>& model, ifc::Entity entity) {
  if (!entity) return py::none();
  return py::cast(HostEntity{model, entity});
}

const HostEntity& entityArgument(py::handle value, const char* what) {
  if (!py::isinstance<HostEntity>(value)) {
    throw py::type_error(std::string(what) + ": expected an IFC entity, got " + typeName(value));
  }
  return value.cast<const HostEntity&>();
}

ifc::Entity entityOf(const HostModel& model, py::handle value, const char* what) {
  const HostEntity& e = entityArgument(value, what);
  if (e.owner.get() != &model) throw ifc::Error(std::string(what) + " belongs to another model");
  return e.entity;
}

}  // namespace host
