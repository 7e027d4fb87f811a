// ifc::Model: its schema, entity creation and lookup.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ifc/model_impl.h"

namespace ifc {

namespace sc = schema;

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
