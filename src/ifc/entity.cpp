// Entity handles: type tests, attribute access by name or position, inverse attributes.
#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ifc/model_impl.h"

namespace ifc {

using detail::Record;
using detail::Slot;
namespace sc = schema;

namespace {

std::vector<std::string> canonicalNames(const sc::SchemaDef& s) {
  std::vector<std::string> names;
  names.reserve(s.entities.size());
  for (const sc::EntityDef& e : s.entities) names.emplace_back(e.name);
  return names;
}

// ASCII only and locale-free: schema names are ASCII. Looked up at every get and set by name,
// so the usual exact spelling costs no case folding.
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return x == y || upperAscii(x) == upperAscii(y);
         });
}

std::size_t attributeIndex(const sc::SchemaDef& s, std::uint16_t type, std::string_view name) {
  const auto attrs = sc::attributesOf(s, type);
  for (std::size_t k = 0; k < attrs.size(); ++k) {
    if (equalsNoCase(attrs[k].name, name)) return k;
  }
  throw Error(std::string(s.entities[type].name) + " has no attribute " + std::string(name));
}

const std::string& entityTypeName(const sc::SchemaDef& s, std::uint16_t type) {
  static const std::vector<std::string> n2x3 = canonicalNames(sc::kIfc2x3);
  static const std::vector<std::string> n4 = canonicalNames(sc::kIfc4);
  return (&s == &sc::kIfc2x3 ? n2x3 : n4)[type];
}

const Record& recordOf(const Model::Impl& m, std::uint32_t id) {
  const std::int64_t at = m.records.find(id);
  if (at < 0) throw Error("no entity #" + std::to_string(id));
  return m.records[static_cast<std::size_t>(at)];
}

Model::Impl& implOf(const Entity& e) {
  if (e.model() == nullptr) throw Error("empty entity handle");
  return implOf(*e.model());
}

// A copy of a stored slot, taken under the entity's stripe. What it points to is never
// changed (set() encodes a new value elsewhere), so it is decoded without the lock.
Slot slotOf(const Model::Impl& m, const Record& r, std::size_t index) {
  const std::scoped_lock lock(m.stripeOf(r.id));
  return r.attributes[index];
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
  return m.decode(slotOf(m, r, index), model_);
}

Value Entity::get(std::size_t index) const {
  const Model::Impl& m = implOf(*this);
  const Record& r = recordOf(m, id_);
  if (index >= r.count) {
    throw Error(std::string(m.schema->entities[r.type].name) + " has no attribute " +
                std::to_string(index));
  }
  return m.decode(slotOf(m, r, index), model_);
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
  // Encoded before the stripe is taken: the new value does not depend on the old one.
  Slot slot;
  if (detail::Arena* own = Model::Impl::scopeArena(detail::threadPosition(&m))) {
    m.encodeAttribute(r.type, index, value, slot, true, *own);
  } else {
    const std::scoped_lock lock(m.mutex);
    m.encodeAttribute(r.type, index, value, slot, true, m.arena);
  }
  const std::scoped_lock stripe(m.stripeOf(id_));
  if ((detail::forwardMask(*m.schema)[r.type] >> index & 1) != 0) {
    // Records inverse() has indexed are kept current here.
    m.inverses.update(static_cast<std::size_t>(at), r.type, id_, static_cast<std::uint16_t>(index),
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
  std::vector<std::uint32_t> ids;
  if (auto current = m.inverses.referrersIfCurrent(*def, id_, m.records)) {
    ids = std::move(*current);
  } else {
    // Indexing reads the slots of the records added since the last call.
    const AllStripes stripes(m);
    ids = m.inverses.referrers(s, *def, id_, m.records);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  std::vector<Entity> out;
  out.reserve(ids.size());
  for (std::uint32_t id : ids) out.emplace_back(model_, id);
  return out;
}

}  // namespace ifc
