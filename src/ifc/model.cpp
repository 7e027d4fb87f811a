// Entity creation, attribute access, inverse lookups and validation of ifc::Model.
#include <algorithm>
#include <cctype>

#include "ifc/model_impl.h"

namespace ifc {

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
