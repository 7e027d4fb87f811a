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

// One forward attribute: attribute `attribute` of entity type `entity` and its subtypes.
struct InverseIndex::Forward {
  std::uint16_t entity = 0;
  std::uint16_t attribute = 0;
  std::vector<char> admits;  // by entity type: a subtype of `entity`
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> sources;  // by target
  std::size_t indexedUpTo = 0;
  std::vector<std::size_t> pending;  // indices below indexedUpTo that held no record then

  bool isIndexed(std::size_t at) const {
    return at < indexedUpTo && !std::binary_search(pending.begin(), pending.end(), at);
  }
  void add(const Slot& s, std::uint32_t id, std::vector<std::uint32_t>& scratch) {
    scratch.clear();
    collectRefs(s, scratch);
    for (std::uint32_t target : scratch) sources[target].push_back(id);
  }
  void index(const Record& r, std::vector<std::uint32_t>& scratch) {
    if (admits[r.type] != 0 && attribute < r.count) add(r.attributes[attribute], r.id, scratch);
  }
};

InverseIndex::InverseIndex() = default;
InverseIndex::~InverseIndex() = default;

InverseIndex::Forward& InverseIndex::forwardOf(const sc::SchemaDef& s,
                                               const sc::InverseDef& inverse) {
  for (const auto& f : forwards_) {
    if (f->entity == inverse.entity && f->attribute == inverse.attribute) return *f;
  }
  auto f = std::make_unique<Forward>();
  f->entity = inverse.entity;
  f->attribute = inverse.attribute;
  f->admits.resize(s.entities.size());
  for (std::size_t t = 0; t < s.entities.size(); ++t) {
    f->admits[t] = sc::isSubtype(s, static_cast<std::uint16_t>(t), inverse.entity) ? 1 : 0;
  }
  attributes_.fetch_or(std::uint64_t{1} << inverse.attribute);
  forwards_.push_back(std::move(f));
  return *forwards_.back();
}

void InverseIndex::update(std::size_t at, std::uint16_t type, std::uint32_t id,
                          std::uint16_t attribute, const Slot& before, const Slot& after) {
  if ((attributes_.load() >> attribute & 1) == 0) return;
  const std::scoped_lock guard(mutex_);
  std::vector<std::uint32_t> refs;
  for (const auto& f : forwards_) {
    if (f->attribute != attribute || f->admits[type] == 0 || !f->isIndexed(at)) continue;
    refs.clear();
    collectRefs(before, refs);
    for (std::uint32_t target : refs) {
      if (auto it = f->sources.find(target); it != f->sources.end()) std::erase(it->second, id);
    }
    f->add(after, id, refs);
  }
}

std::optional<std::vector<std::uint32_t>> InverseIndex::referrersIfCurrent(
    const sc::InverseDef& inverse, std::uint32_t target, const RecordStore& records) {
  const std::scoped_lock guard(mutex_);
  for (const auto& f : forwards_) {
    if (f->entity != inverse.entity || f->attribute != inverse.attribute) continue;
    // Whether a record is ready is read without its stripe; its slots are not read here.
    if (f->indexedUpTo != records.end() ||
        std::any_of(f->pending.begin(), f->pending.end(),
                    [&](std::size_t at) { return records.has(at); })) {
      return std::nullopt;
    }
    if (auto it = f->sources.find(target); it != f->sources.end()) return it->second;
    return std::vector<std::uint32_t>{};
  }
  return std::nullopt;
}

std::vector<std::uint32_t> InverseIndex::referrers(const sc::SchemaDef& s,
                                                   const sc::InverseDef& inverse,
                                                   std::uint32_t target,
                                                   const RecordStore& records) {
  const std::scoped_lock guard(mutex_);
  Forward& f = forwardOf(s, inverse);
  std::vector<std::uint32_t> scratch;
  // Records made since the last call, and those that were not ready then.
  std::erase_if(f.pending, [&](std::size_t at) {
    if (!records.has(at)) return false;
    f.index(records[at], scratch);
    return true;
  });
  for (const std::size_t end = records.end(); f.indexedUpTo < end; ++f.indexedUpTo) {
    if (records.has(f.indexedUpTo)) {
      f.index(records[f.indexedUpTo], scratch);
    } else {
      f.pending.push_back(f.indexedUpTo);
    }
  }
  if (auto it = f.sources.find(target); it != f.sources.end()) return it->second;
  return {};
}

}  // namespace ifc::detail
