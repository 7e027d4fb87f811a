// Entity creation, attribute access, inverse lookups and validation of ifc::Model.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "ifc/model_impl.h"
#include "ifc/step_text.h"

namespace ifc {

using detail::idText;
using detail::Record;
using detail::Slot;
using detail::Tag;
namespace sc = schema;

namespace {

std::vector<std::string> canonicalNames(const sc::SchemaDef& s) {
  std::vector<std::string> names;
  names.reserve(s.entities.size());
  for (const sc::EntityDef& e : s.entities) names.emplace_back(e.name);
  return names;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// A short STEP-like rendering of a value, for error messages.
void describeTo(std::string& out, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Unset:
      out += '$';
      break;
    case Value::Kind::Derived:
      out += '*';
      break;
    case Value::Kind::Boolean:
      out += v.asBool() ? ".T." : ".F.";
      break;
    case Value::Kind::Logical:
      out += v.asLogical() == Logical::True    ? ".T."
             : v.asLogical() == Logical::False ? ".F."
                                               : ".U.";
      break;
    case Value::Kind::Integer:
      out += std::to_string(v.asInt());
      break;
    case Value::Kind::Real: {
      char buf[step::kMaxRealChars];
      if (std::isfinite(v.asDouble())) {
        out.append(buf, step::formatReal(v.asDouble(), buf));
      } else {
        out += std::to_string(v.asDouble());
      }
      break;
    }
    case Value::Kind::String: {
      std::string_view s = v.asString();
      out += '\'';
      out += s.substr(0, 60);
      out += s.size() > 60 ? "...'" : "'";
      break;
    }
    case Value::Kind::Enum:
      out += '.' + v.asEnum() + '.';
      break;
    case Value::Kind::Entity:
      out += idText(v.asEntity().id());
      break;
    case Value::Kind::Typed:
      out += v.typeName() + '(';
      describeTo(out, v.inner());
      out += ')';
      break;
    case Value::Kind::List: {
      out += '(';
      const List& l = v.asList();
      for (std::size_t k = 0; k < l.size() && k < 8; ++k) {
        if (k) out += ',';
        describeTo(out, l[k]);
      }
      out += l.size() > 8 ? ",...)" : ")";
      break;
    }
  }
}

std::string describe(const Value& v) {
  std::string s;
  describeTo(s, v);
  return s;
}

std::string nodeName(const sc::SchemaDef& s, std::uint16_t node) {
  const sc::TypeNode& n = s.nodes[node];
  switch (n.kind) {
    case sc::NodeKind::Simple: {
      static constexpr const char* kSimple[] = {"REAL",    "INTEGER", "NUMBER", "BOOLEAN",
                                                "LOGICAL", "STRING",  "BINARY"};
      return kSimple[n.ref];
    }
    case sc::NodeKind::Entity:
      return s.entities[n.ref].name;
    case sc::NodeKind::Defined:
      return s.definedTypes[n.ref].name;
    case sc::NodeKind::Enumeration:
      return s.enumerations[n.ref].name;
    case sc::NodeKind::Select:
      return s.selects[n.ref].name;
    case sc::NodeKind::List:
      return "LIST OF " + nodeName(s, n.ref);
    case sc::NodeKind::Set:
      return "SET OF " + nodeName(s, n.ref);
    case sc::NodeKind::Array:
      return "ARRAY OF " + nodeName(s, n.ref);
    case sc::NodeKind::Bag:
      return "BAG OF " + nodeName(s, n.ref);
  }
  return "?";
}

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

std::size_t attributeIndex(const sc::SchemaDef& s, std::uint16_t type, std::string_view name) {
  const auto attrs = sc::attributesOf(s, type);
  for (std::size_t k = 0; k < attrs.size(); ++k) {
    if (equalsNoCase(attrs[k].name, name)) return k;
  }
  throw Error(std::string(s.entities[type].name) + " has no attribute " + std::string(name));
}

}  // namespace

const std::string& entityTypeName(const sc::SchemaDef& s, std::uint16_t type) {
  static const std::vector<std::string> n2x3 = canonicalNames(sc::kIfc2x3);
  static const std::vector<std::string> n4 = canonicalNames(sc::kIfc4);
  return (&s == &sc::kIfc2x3 ? n2x3 : n4)[type];
}

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

std::uint32_t Model::Impl::appendRecord(std::uint16_t type, Slot* slots,
                                        const detail::ThreadPosition* at) {
  Record r{0, type, static_cast<std::uint16_t>(sc::attributesOf(*schema, type).size()), slots};
  if (at == nullptr) {
    r.slot = main.slot;
    r.phase = main.phase;
    return records.append(r);
  }
  r.slot = at->group ? (detail::kGroupBit | at->slot) : at->slot;
  r.phase = at->phase;
  if (!at->blocks) return records.append(r);
  ThreadState& t = threadState();
  if (t.next == t.end) {
    t.next = records.reserve(kIndexBlock);
    t.end = t.next + kIndexBlock;
  }
  return records.placeAt(t.next++, r);
}

std::size_t Model::Impl::count() const {
  std::size_t n = 0;
  for (std::size_t k = 0; k < records.end(); ++k) n += records.has(k) ? 1 : 0;
  return n;
}

void Model::Impl::addReadRecord(std::uint16_t type, const Value* values, std::size_t count,
                                std::uint32_t id) {
  Slot* slots = encodeRecord(type, values, count, false, arena);
  read.push_back(
      Record{id, type, static_cast<std::uint16_t>(sc::attributesOf(*schema, type).size()), slots});
}

Value Model::Impl::decode(const Slot& s, const Model* model) const {
  switch (s.tag) {
    case Tag::Unset:
      return Value();
    case Tag::Derived:
      return Value(Derived{});
    case Tag::Bool:
      return Value(s.i != 0);
    case Tag::Logical:
      return Value(static_cast<Logical>(s.i));
    case Tag::Int:
      return Value(static_cast<long long>(s.i));
    case Tag::Real:
      return Value(s.d);
    case Tag::String:
      return Value(std::string(s.s, s.n));
    case Tag::Enum:
      return Value(Enum{schema->items[schema->enumerations[s.aux].firstItem + s.n]});
    case Tag::Ref:
      return Value(Entity(model, s.ref));
    case Tag::Typed:
      return Value::typed(
          s.named ? schema->enumerations[s.aux].name : schema->definedTypes[s.aux].name,
          decode(s.items[0], model));
    case Tag::List: {
      List items;
      items.reserve(s.n);
      for (std::uint32_t k = 0; k < s.n; ++k) items.push_back(decode(s.items[k], model));
      return Value(std::move(items));
    }
  }
  return Value();
}

// ---- Model ----

Model::Model(std::string_view schemaName) : impl_(std::make_unique<Impl>()) {
  impl_->schema = sc::findSchema(schemaName);
  if (impl_->schema == nullptr) {
    throw Error("unknown schema '" + std::string(schemaName) + "': expected IFC2X3 or IFC4");
  }
  impl_->schemaName = impl_->schema->name;
  impl_->owner = this;
}

Model::~Model() = default;

const std::string& Model::schemaName() const { return impl_->schemaName; }

Entity Model::create(std::string_view type, std::initializer_list<Value> attributes) {
  return createFrom(type, attributes.begin(), attributes.size());
}

Entity Model::create(std::string_view type, std::vector<Value> attributes) {
  return createFrom(type, attributes.data(), attributes.size());
}

Entity Model::createFrom(std::string_view type, const Value* values, std::size_t count) {
  const auto t = sc::findEntity(*impl_->schema, type);
  if (!t)
    throw SchemaError("unknown entity type " + std::string(type) + " in " + impl_->schemaName);
  if (impl_->schema->entities[*t].abstract) {
    throw SchemaError(std::string(impl_->schema->entities[*t].name) + " is abstract");
  }
  Impl& m = *impl_;
  const detail::ThreadPosition* at = detail::threadPosition(&m);
  if (detail::Arena* own = Impl::scopeArena(at)) {
    // Checked and encoded without a lock: only numbering and appending are shared.
    return Entity(this, m.appendRecord(*t, m.encodeRecord(*t, values, count, true, *own), at));
  }
  const std::scoped_lock lock(m.mutex);
  return Entity(this, m.appendRecord(*t, m.encodeRecord(*t, values, count, true, m.arena), at));
}

Entity Model::entity(std::uint32_t id) const {
  if (impl_->records.find(id) < 0) throw Error("no entity #" + std::to_string(id));
  return Entity(this, id);
}

std::vector<Entity> Model::by_type(std::string_view type) const {
  const sc::SchemaDef& s = *impl_->schema;
  const auto t = sc::findEntity(s, type);
  if (!t) throw Error("unknown entity type " + std::string(type) + " in " + impl_->schemaName);
  std::vector<char> admitted(s.entities.size());
  for (std::size_t k = 0; k < admitted.size(); ++k) {
    admitted[k] = sc::isSubtype(s, static_cast<std::uint16_t>(k), *t) ? 1 : 0;
  }
  std::vector<Entity> out;
  const auto& records = impl_->records;
  for (std::size_t k = 0; k < records.end(); ++k) {
    if (records.has(k) && admitted[records[k].type]) out.emplace_back(this, records[k].id);
  }
  return out;
}

std::size_t Model::size() const { return impl_->count(); }

// ---- Entity ----

namespace {

const Record& recordOf(const Model::Impl& m, std::uint32_t id) {
  const std::int64_t at = m.records.find(id);
  if (at < 0) throw Error("no entity #" + std::to_string(id));
  return m.records[static_cast<std::size_t>(at)];
}

}  // namespace

Model::Impl& implOf(const Model& model) { return *model.impl_; }

namespace {

Model::Impl& implOf(const Entity& e) {
  if (e.model() == nullptr) throw Error("empty entity handle");
  return implOf(*e.model());
}

}  // namespace

// A record's number, type and slot array never change once it is stored, so type tests need
// no lock; the slots' contents change under set(), so reading them takes the entity's stripe.

const std::string& Entity::type() const {
  const Model::Impl& m = implOf(*this);
  return entityTypeName(*m.schema, recordOf(m, id_).type);
}

bool Entity::is_a(std::string_view type) const {
  const Model::Impl& m = implOf(*this);
  const auto t = sc::findEntity(*m.schema, type);
  if (!t) return false;
  return sc::isSubtype(*m.schema, recordOf(m, id_).type, *t);
}

Value Entity::get(std::string_view attribute) const {
  const Model::Impl& m = implOf(*this);
  const Record& r = recordOf(m, id_);
  const std::size_t index = attributeIndex(*m.schema, r.type, attribute);
  const std::scoped_lock lock(m.stripeOf(id_));
  return m.decode(r.attributes[index], model_);
}

Value Entity::get(std::size_t index) const {
  const Model::Impl& m = implOf(*this);
  const Record& r = recordOf(m, id_);
  if (index >= r.count) {
    throw Error(std::string(m.schema->entities[r.type].name) + " has no attribute " +
                std::to_string(index));
  }
  const std::scoped_lock lock(m.stripeOf(id_));
  return m.decode(r.attributes[index], model_);
}

void Entity::set(std::string_view attribute, Value value) const {
  const Model::Impl& m = implOf(*this);
  set(attributeIndex(*m.schema, recordOf(m, id_).type, attribute), std::move(value));
}

void Entity::set(std::size_t index, Value value) const {
  Model::Impl& m = implOf(*this);
  const std::int64_t at = m.records.find(id_);
  if (at < 0) throw Error("no entity #" + std::to_string(id_));
  const Record& r = m.records[static_cast<std::size_t>(at)];
  if (index >= r.count) {
    throw SchemaError(std::string(m.schema->entities[r.type].name) + " has no attribute " +
                      std::to_string(index));
  }
  const std::scoped_lock stripe(m.stripeOf(id_));
  Slot slot;
  if (detail::Arena* own = Model::Impl::scopeArena(detail::threadPosition(&m))) {
    m.encodeAttribute(r.type, index, value, slot, true, *own);
  } else {
    const std::scoped_lock lock(m.mutex);
    m.encodeAttribute(r.type, index, value, slot, true, m.arena);
  }
  if ((detail::forwardMask(*m.schema)[r.type] >> index & 1) != 0) {
    // Records inverse() has indexed are kept current here.
    m.inverses.update(static_cast<std::size_t>(at), id_, static_cast<std::uint16_t>(index),
                      r.attributes[index], slot);
  }
  r.attributes[index] = slot;
}

std::vector<Entity> Entity::inverse(std::string_view name) const {
  const Model::Impl& m = implOf(*this);
  const sc::SchemaDef& s = *m.schema;
  const Record& r = recordOf(m, id_);
  const sc::InverseDef* def = nullptr;
  for (const sc::InverseDef& inv : sc::inversesOf(s, r.type)) {
    if (equalsNoCase(inv.name, name)) def = &inv;
  }
  if (def == nullptr) {
    throw Error(std::string(s.entities[r.type].name) + " has no inverse attribute " +
                std::string(name));
  }
  std::vector<detail::InverseRef> refs;
  {
    // Indexing reads the slots of the records added since the last call.
    const AllStripes stripes(m);
    refs = m.inverses.referrers(id_, m.records, detail::forwardMask(s));
  }
  std::vector<std::uint32_t> ids;
  for (const detail::InverseRef& ref : refs) {
    if (ref.attribute != def->attribute) continue;
    const std::int64_t at = m.records.find(ref.source);
    if (at >= 0 && sc::isSubtype(s, m.records[static_cast<std::size_t>(at)].type, def->entity)) {
      ids.push_back(ref.source);
    }
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  std::vector<Entity> out;
  out.reserve(ids.size());
  for (std::uint32_t id : ids) out.emplace_back(model_, id);
  return out;
}

}  // namespace ifc
