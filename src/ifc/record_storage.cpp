// Encoded records appended to the model's store, whether created or read, and stored slots
// decoded back into values.
#include <string>
#include <utility>

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

}  // namespace ifc
