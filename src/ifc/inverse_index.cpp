// The inverse index: which entities refer to an entity, by forward attribute.
#include "ifc/inverse_index.h"

#include <algorithm>
#include <unordered_set>

namespace ifc::detail {

namespace sc = schema;

namespace {

std::vector<std::uint64_t> computeForwardMask(const sc::SchemaDef& s) {
  std::vector<std::uint64_t> mask(s.entities.size(), 0);
  std::unordered_set<std::uint32_t> pairs;
  for (const sc::InverseDef& inv : s.inverses) {
    pairs.insert((std::uint32_t{inv.entity} << 16) | inv.attribute);
  }
  for (std::uint32_t pair : pairs) {
    const auto entity = static_cast<std::uint16_t>(pair >> 16);
    const auto attribute = pair & 0xFFFF;
    for (std::size_t t = 0; t < s.entities.size(); ++t) {
      if (sc::isSubtype(s, static_cast<std::uint16_t>(t), entity))
        mask[t] |= std::uint64_t{1} << attribute;
    }
  }
  return mask;
}

void collectRefs(const Slot& s, std::vector<std::uint32_t>& out) {
  if (s.tag == Tag::Ref) {
    out.push_back(s.ref);
  } else if (s.tag == Tag::List) {
    for (std::uint32_t k = 0; k < s.n; ++k) collectRefs(s.items[k], out);
  }
}

}  // namespace

const std::vector<std::uint64_t>& forwardMask(const sc::SchemaDef& s) {
  static const std::vector<std::uint64_t> m2x3 = computeForwardMask(sc::kIfc2x3);
  static const std::vector<std::uint64_t> m4 = computeForwardMask(sc::kIfc4);
  return &s == &sc::kIfc2x3 ? m2x3 : m4;
}

bool InverseIndex::isIndexed(std::size_t at) const {
  return at < indexedUpTo_ && !std::binary_search(pending_.begin(), pending_.end(), at);
}

void InverseIndex::update(std::size_t at, std::uint32_t id, std::uint16_t attribute,
                          const Slot& before, const Slot& after) {
  const std::scoped_lock guard(mutex_);
  if (!isIndexed(at)) return;
  std::vector<std::uint32_t> refs;
  collectRefs(before, refs);
  for (std::uint32_t target : refs) {
    auto& list = index_[target];
    std::erase_if(list,
                  [&](const InverseRef& e) { return e.source == id && e.attribute == attribute; });
  }
  refs.clear();
  collectRefs(after, refs);
  for (std::uint32_t target : refs) index_[target].push_back({id, attribute});
}

std::vector<InverseRef> InverseIndex::referrers(std::uint32_t target, const RecordStore& records,
                                                const std::vector<std::uint64_t>& mask) {
  const std::scoped_lock guard(mutex_);
  std::vector<std::uint32_t> targets;
  auto index = [&](std::size_t at) {
    const Record& src = records[at];
    for (std::uint16_t k = 0; k < src.count; ++k) {
      if ((mask[src.type] >> k & 1) == 0) continue;
      targets.clear();
      collectRefs(src.attributes[k], targets);
      for (std::uint32_t t : targets) index_[t].push_back({src.id, k});
    }
  };
  // Records made since the last call, and those that were not ready then.
  std::erase_if(pending_, [&](std::size_t at) {
    if (!records.has(at)) return false;
    index(at);
    return true;
  });
  for (const std::size_t end = records.end(); indexedUpTo_ < end; ++indexedUpTo_) {
    if (records.has(indexedUpTo_)) {
      index(indexedUpTo_);
    } else {
      pending_.push_back(indexedUpTo_);
    }
  }
  if (auto it = index_.find(target); it != index_.end()) return it->second;
  return {};
}

}  // namespace ifc::detail
