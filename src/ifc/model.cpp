// Entity creation, attribute access, inverse lookups and validation of ifc::Model.
#include <algorithm>
#include <cctype>

#include "ifc/model_impl.h"

namespace ifc {

using detail::Record;
using detail::Slot;
using detail::Tag;
namespace sc = schema;

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

Model::Impl& implOf(const Model& model) { return *model.impl_; }

}  // namespace ifc
