// Module ifc: the small IFC model class that the builders take as their first argument. Open a
// model from a file or make one for a schema, create entities by type name, read and set their
// attributes by name, find them by type, write the model.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cctype>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/connection.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_model.h"
#include "ifc/schema/schema.h"
#include "ifc/step_text.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

using ModelPtr = std::shared_ptr<HostModel>;

const ifc::schema::SchemaDef& schemaOf(const ifc::Model& model) {
  return *ifc::schema::findSchema(model.schemaName());
}

std::span<const ifc::schema::AttributeDef> attributesOf(const ifc::Entity& e) {
  const auto& schema = schemaOf(*e.model());
  return ifc::schema::attributesOf(schema, *ifc::schema::findEntity(schema, e.type()));
}

// "IfcBeam.Name" for the attribute at `index` of the type, in the messages about its value.
std::string positionalName(const ifc::Model& model, const std::string& type, std::size_t index) {
  const auto& schema = schemaOf(model);
  if (const auto entity = ifc::schema::findEntity(schema, type)) {
    const auto attributes = ifc::schema::attributesOf(schema, *entity);
    if (index < attributes.size()) return type + "." + attributes[index].name;
  }
  return type + " attribute " + std::to_string(index);
}

// An attribute value as it stands in an ISO 10303-21 file: $, *, .T., 12, 3., 'text', .AREA.,
// #5, IFCLABEL('x'), (...).
void appendStep(std::string& out, const ifc::Value& value) {
  using Kind = ifc::Value::Kind;
  switch (value.kind()) {
    case Kind::Unset:
      out += '$';
      return;
    case Kind::Derived:
      out += '*';
      return;
    case Kind::Boolean:
      out += value.asBool() ? ".T." : ".F.";
      return;
    case Kind::Logical:
      out += value.asLogical() == ifc::Logical::True    ? ".T."
             : value.asLogical() == ifc::Logical::False ? ".F."
                                                        : ".U.";
      return;
    case Kind::Integer:
      out += std::to_string(value.asInt());
      return;
    case Kind::Real: {
      char text[ifc::step::kMaxRealChars];
      out.append(text, ifc::step::formatReal(value.asDouble(), text));
      return;
    }
    case Kind::String:
      ifc::step::appendString(out, value.asString());
      return;
    case Kind::Enum:
      out += '.' + value.asEnum() + '.';
      return;
    case Kind::Entity:
      out += '#' + std::to_string(value.asEntity().id());
      return;
    case Kind::Typed:
      for (char c : value.typeName()) out += static_cast<char>(std::toupper(c));
      out += '(';
      appendStep(out, value.inner());
      out += ')';
      return;
    case Kind::List: {
      out += '(';
      bool first = true;
      for (const ifc::Value& item : value.asList()) {
        if (!first) out += ',';
        first = false;
        appendStep(out, item);
      }
      out += ')';
      return;
    }
  }
}

std::string entityRepr(const HostEntity& self) {
  std::string text = "#" + std::to_string(self.entity.id()) + "=" + self.entity.type() + "(";
  const std::size_t count = attributesOf(self.entity).size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    appendStep(text, self.entity.get(i));
  }
  return text + ")";
}

// A forward attribute, else an inverse one (a tuple of the referring entities), else
// AttributeError, so that hasattr() and getattr() with a default work.
py::object entityAttribute(const HostEntity& self, const std::string& name) {
  for (const auto& a : attributesOf(self.entity)) {
    if (name == a.name) return toPython(self.owner, self.entity.get(name));
  }
  try {
    const std::vector<ifc::Entity> referring = self.entity.inverse(name);
    py::tuple result(referring.size());
    for (std::size_t i = 0; i < referring.size(); ++i) result[i] = wrap(self.owner, referring[i]);
    return result;
  } catch (const ifc::Error&) {
    throw py::attribute_error(self.entity.type() + " has no attribute " + name);
  }
}

py::dict entityInfo(const HostEntity& self) {
  py::dict info;
  info["id"] = self.entity.id();
  info["type"] = self.entity.type();
  for (const auto& a : attributesOf(self.entity)) {
    info[a.name] = toPython(self.owner, self.entity.get(std::string_view(a.name)));
  }
  return info;
}

ModelPtr newModel(std::unique_ptr<ifc::Model> model) {
  auto host = std::make_shared<HostModel>();
  host->model = std::move(model);
  return host;
}

void defineModel(py::module_& m) {
  py::class_<HostModel, ModelPtr>(m, "Model",
                                  "An IFC model of one schema, IFC2X3 or IFC4. Its entities keep "
                                  "it alive.")
      .def(py::init([](const std::string& schema) {
             return newModel(std::make_unique<ifc::Model>(schema));
           }),
           "schema"_a = "IFC2X3")
      .def_property_readonly("schema",
                             [](const HostModel& self) { return self.model->schemaName(); })
      .def(
          "create_entity",
          [](const ModelPtr& self, const std::string& type, const py::args& args,
             const py::kwargs& kwargs) {
            std::vector<ifc::Value> values;
            values.reserve(args.size());
            for (py::handle a : args) {
              values.push_back(
                  toIfcValue(*self, a, positionalName(*self->model, type, values.size())));
            }
            const ifc::Entity e = self->model->create(type, std::move(values));
            for (auto [name, value] : kwargs) {
              const std::string attribute = py::str(name).cast<std::string>();
              e.set(attribute, toIfcValue(*self, value, type + "." + attribute));
            }
            return wrap(self, e);
          },
          "type"_a,
          "A new entity of the type: attributes by position in schema order, inherited ones "
          "first, then by name.")
      .def(
          "by_type",
          [](const ModelPtr& self, const std::string& type) {
            py::list result;
            for (const ifc::Entity& e : self->model->by_type(type)) result.append(wrap(self, e));
            return result;
          },
          "type"_a, "The entities of the type and its subtypes, in creation order.")
      .def(
          "by_id",
          [](const ModelPtr& self, std::uint32_t id) {
            return wrap(self, self->model->entity(id));
          },
          "id"_a)
      .def("__getitem__", [](const ModelPtr& self,
                             std::uint32_t id) { return wrap(self, self->model->entity(id)); })
      .def("__len__", [](const HostModel& self) { return self.model->size(); })
      .def(
          "validate", [](const HostModel& self) { return self.model->validate(); },
          "Every schema violation found, one text each; empty for a valid model.")
      .def(
          "write",
          [](const HostModel& self, const py::object& path) {
            self.model->writeFile(pathArgument(path, "path"));
          },
          "path"_a, "Writes the model as an ISO 10303-21 file.")
      .def("__repr__", [](const HostModel& self) {
        return "<ifc.Model " + self.model->schemaName() + ", " +
               std::to_string(self.model->size()) + " entities>";
      });

  m.def(
      "open",
      [](const py::object& path) {
        return newModel(ifc::Model::readFile(pathArgument(path, "path")));
      },
      "path"_a, "Reads an ISO 10303-21 file.");
}

void defineEntity(py::module_& m) {
  py::class_<HostEntity>(m, "Entity", "An entity of a model; its attributes read and set by name.")
      .def("id", [](const HostEntity& self) { return self.entity.id(); })
      .def("is_a", [](const HostEntity& self) { return self.entity.type(); })
      .def(
          "is_a",
          [](const HostEntity& self, const std::string& type) { return self.entity.is_a(type); },
          "type"_a)
      .def("__getattr__", &entityAttribute)
      .def("__setattr__",
           [](const HostEntity& self, const std::string& name, const py::object& value) {
             self.entity.set(name, toIfcValue(*self.owner, value, self.entity.type() + "." + name));
           })
      .def("__getitem__",
           [](const HostEntity& self, std::size_t index) {
             if (index >= attributesOf(self.entity).size()) {
               throw py::index_error("attribute index out of range");
             }
             return toPython(self.owner, self.entity.get(index));
           })
      .def("__len__", [](const HostEntity& self) { return attributesOf(self.entity).size(); })
      .def("get_info", &entityInfo, "The id, the type and every attribute by name.")
      .def("__eq__",
           [](const HostEntity& self, const py::object& other) {
             return py::isinstance<HostEntity>(other) &&
                    other.cast<const HostEntity&>().entity == self.entity;
           })
      .def("__hash__", [](const HostEntity& self) { return std::hash<ifc::Entity>()(self.entity); })
      .def("__repr__", &entityRepr);

  py::class_<TypedValue>(m, "TypedValue",
                         "A defined type's value inside a select attribute, such as "
                         "IfcLabel('3').")
      .def(py::init([](std::string type, py::object wrappedValue) {
             return TypedValue{std::move(type), std::move(wrappedValue)};
           }),
           "type"_a, "wrappedValue"_a)
      .def_readonly("type", &TypedValue::type)
      .def_readonly("wrappedValue", &TypedValue::wrappedValue)
      .def("__eq__",
           [](const TypedValue& self, const py::object& other) {
             if (!py::isinstance<TypedValue>(other)) return false;
             const TypedValue& o = other.cast<const TypedValue&>();
             return o.type == self.type && o.wrappedValue.equal(self.wrappedValue);
           })
      .def("__repr__", [](const TypedValue& self) {
        return self.type + "(" + py::repr(self.wrappedValue).cast<std::string>() + ")";
      });
}

}  // namespace

void initIfc(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "The IFC model of a conversion, as the builders take it.";
  auto& error = py::register_exception<ifc::Error>(m, "Error", PyExc_RuntimeError);
  py::register_exception<ifc::SchemaError>(m, "SchemaError", error);
  py::register_exception<ifc::ParseError>(m, "ParseError", error);
  defineModel(m);
  defineEntity(m);
}

}  // namespace host
