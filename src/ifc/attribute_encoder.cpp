// Values checked against the schema and encoded into slots, one attribute at a time; a refused
// value throws SchemaError naming the entity type, the attribute and the value.
#include <cmath>
#include <optional>
#include <string>

#include "ifc/model_impl.h"
#include "ifc/schema_error_text.h"
#include "ifc/step_text.h"

namespace ifc {

using detail::describe;
using detail::nodeName;
using detail::Slot;
using detail::Tag;
namespace sc = schema;

namespace {

// Checks and encodes values of one attribute; knows where it is for error messages.
class Encoder {
 public:
  Encoder(Model::Impl& m, const Model* owner, std::uint16_t type, std::size_t attribute,
          bool checkReferences, detail::Arena& arena)
      : m_(m),
        arena_(arena),
        s_(*m.schema),
        owner_(owner),
        type_(type),
        attribute_(attribute),
        checkReferences_(checkReferences) {}

  void encode(const Value& v, std::uint16_t node, Slot& out) {
    const sc::TypeNode& n = s_.nodes[node];
    switch (n.kind) {
      case sc::NodeKind::Simple:
        return encodeSimple(v, static_cast<sc::Simple>(n.ref), node, out);
      case sc::NodeKind::Defined: {
        // A typed value names its type only where a select must tell its members apart;
        // elsewhere the file holds the bare value, and a typed one is refused.
        const std::uint16_t underlying = s_.definedTypes[n.ref].node;
        if (v.kind() == Value::Kind::Typed && s_.nodes[underlying].kind != sc::NodeKind::Select) {
          fail(v, "a typed value is only for select attributes; expected a bare " +
                      nodeName(s_, node));
        }
        return encode(v, underlying, out);
      }
      case sc::NodeKind::Enumeration:
        return encodeEnum(v, n.ref, out);
      case sc::NodeKind::Entity:
        return encodeRef(
            v, out, [&](std::uint16_t t) { return sc::isSubtype(s_, t, n.ref); }, node);
      case sc::NodeKind::Select:
        return encodeSelect(v, n.ref, node, out);
      case sc::NodeKind::List:
      case sc::NodeKind::Set:
      case sc::NodeKind::Array:
      case sc::NodeKind::Bag: {
        if (v.kind() != Value::Kind::List) fail(v, "expected " + nodeName(s_, node));
        const List& items = v.asList();
        Slot* slots = arena_.slots(items.size());
        for (std::size_t k = 0; k < items.size(); ++k) encode(items[k], n.ref, slots[k]);
        out.tag = Tag::List;
        out.n = static_cast<std::uint32_t>(items.size());
        out.items = slots;
        return;
      }
    }
  }

  [[noreturn]] void fail(const Value& v, const std::string& why) const {
    const sc::AttributeDef& a = sc::attributesOf(s_, type_)[attribute_];
    throw SchemaError(std::string(s_.entities[type_].name) + "." + a.name + " = " + describe(v) +
                      ": " + why);
  }

 private:
  void encodeSimple(const Value& v, sc::Simple simple, std::uint16_t node, Slot& out) {
    const Value::Kind k = v.kind();
    switch (simple) {
      case sc::Simple::Real:
      case sc::Simple::Number:
        if (k == Value::Kind::Real) {
          if (!std::isfinite(v.asDouble())) fail(v, "a REAL must be finite");
          out.tag = Tag::Real;
          out.d = v.asDouble();
          return;
        }
        if (k == Value::Kind::Integer) {
          if (simple == sc::Simple::Number) {
            out.tag = Tag::Int;
            out.i = v.asInt();
          } else {
            out.tag = Tag::Real;
            out.d = static_cast<double>(v.asInt());
          }
          return;
        }
        break;
      case sc::Simple::Integer:
        if (k == Value::Kind::Integer) {
          out.tag = Tag::Int;
          out.i = v.asInt();
          return;
        }
        break;
      case sc::Simple::Boolean:
        if (k == Value::Kind::Boolean ||
            (k == Value::Kind::Logical && v.asLogical() != Logical::Unknown)) {
          out.tag = Tag::Bool;
          out.i = v.asLogical() == Logical::True ? 1 : 0;
          return;
        }
        break;
      case sc::Simple::Logical:
        if (k == Value::Kind::Boolean || k == Value::Kind::Logical) {
          out.tag = Tag::Logical;
          out.i = static_cast<std::int64_t>(v.asLogical());
          return;
        }
        break;
      case sc::Simple::String:
        if (k == Value::Kind::String) {
          const std::string& text = v.asString();
          if (!step::isUtf8(text)) fail(v, "text is not valid UTF-8");
          out.tag = Tag::String;
          out.n = static_cast<std::uint32_t>(text.size());
          out.s = arena_.copy(text);
          return;
        }
        break;
      case sc::Simple::Binary:
        fail(v, "BINARY values are not supported");
    }
    fail(v, "expected " + nodeName(s_, node));
  }

  void encodeEnum(const Value& v, std::uint16_t enumeration, Slot& out) {
    std::optional<std::uint16_t> item;
    if (v.kind() == Value::Kind::Enum) item = sc::findItem(s_, enumeration, v.asEnum());
    if (v.kind() == Value::Kind::String) item = sc::findItem(s_, enumeration, v.asString());
    if (!item) fail(v, std::string("not an item of ") + s_.enumerations[enumeration].name);
    out.tag = Tag::Enum;
    out.aux = enumeration;
    out.n = *item;
  }

  template <typename Admits>
  void encodeRef(const Value& v, Slot& out, Admits admits, std::uint16_t node) {
    if (v.kind() != Value::Kind::Entity) fail(v, "expected a reference to " + nodeName(s_, node));
    const Entity e = v.asEntity();
    if (!e) fail(v, "an empty entity handle");
    if (e.model() != owner_) fail(v, "refers to an entity of another model");
    if (checkReferences_) {
      const std::int64_t at = m_.records.find(e.id());
      if (at < 0) fail(v, "refers to an entity that does not exist");
      const std::uint16_t t = m_.records[static_cast<std::size_t>(at)].type;
      if (!admits(t)) {
        fail(v, std::string("is a ") + s_.entities[t].name + ", expected " + nodeName(s_, node));
      }
    }
    out.tag = Tag::Ref;
    out.ref = e.id();
  }

  void encodeSelect(const Value& v, std::uint16_t select, std::uint16_t node, Slot& out) {
    if (v.kind() == Value::Kind::Entity) {
      return encodeRef(
          v, out, [&](std::uint16_t t) { return sc::selectAdmitsEntity(s_, select, t); }, node);
    }
    if (v.kind() != Value::Kind::Typed) {
      fail(v, "the select " + nodeName(s_, node) +
                  " takes an entity or a typed value such as IFCLABEL('text')");
    }
    const auto named = sc::findNamedType(s_, v.typeName());
    if (!named) fail(v, "unknown type " + v.typeName());
    if (!sc::selectAdmitsNamed(s_, select, *named)) {
      fail(v, v.typeName() + " is not a member of the select " + nodeName(s_, node));
    }
    Slot* inner = arena_.slots(1);
    if (named->kind == sc::NodeKind::Enumeration) {
      encodeEnum(v.inner(), named->index, *inner);
    } else {
      encode(v.inner(), s_.definedTypes[named->index].node, *inner);
    }
    out.tag = Tag::Typed;
    out.named = named->kind == sc::NodeKind::Enumeration ? 1 : 0;
    out.aux = named->index;
    out.items = inner;
  }

  Model::Impl& m_;
  detail::Arena& arena_;
  const sc::SchemaDef& s_;
  const Model* owner_;
  std::uint16_t type_;
  std::size_t attribute_;
  bool checkReferences_;
};

}  // namespace

void Model::Impl::encodeAttribute(std::uint16_t type, std::size_t attribute, const Value& v,
                                  Slot& out, bool checkReferences, detail::Arena& into) {
  const sc::AttributeDef& a = sc::attributesOf(*schema, type)[attribute];
  Encoder enc(*this, owner, type, attribute, checkReferences, into);
  if (a.derived) {
    if (v.kind() != Value::Kind::Unset && v.kind() != Value::Kind::Derived) {
      enc.fail(v, "the attribute is derived in this entity; only * can be given");
    }
    out = Slot();
    out.tag = Tag::Derived;
    return;
  }
  if (v.kind() == Value::Kind::Unset) {
    out = Slot();
    return;
  }
  if (v.kind() == Value::Kind::Derived) enc.fail(v, "* is only for derived attributes");
  Slot s;
  enc.encode(v, a.node, s);
  out = s;
}

Slot* Model::Impl::encodeRecord(std::uint16_t type, const Value* values, std::size_t count,
                                bool checkReferences, detail::Arena& into) {
  const auto attrs = sc::attributesOf(*schema, type);
  if (count > attrs.size()) {
    throw SchemaError(std::string(schema->entities[type].name) + " takes " +
                      std::to_string(attrs.size()) + " attributes, " + std::to_string(count) +
                      " given");
  }
  Slot* slots = into.slots(attrs.size());
  for (std::size_t k = 0; k < attrs.size(); ++k) {
    encodeAttribute(type, k, k < count ? values[k] : Value(), slots[k], checkReferences, into);
  }
  return slots;
}

}  // namespace ifc
