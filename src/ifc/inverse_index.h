#pragma once
// A model's inverse index: from a referenced entity to the (entity, attribute) pairs that refer
// to it, for the forward attributes of inverse attributes only.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "ifc/record.h"
#include "ifc/record_store.h"
#include "ifc/schema/schema.h"

namespace ifc::detail {

// Bit a of element t is set when attribute a of entity type t is the forward attribute of some
// inverse attribute: only those references go into the index.
const std::vector<std::uint64_t>& forwardMask(const schema::SchemaDef& s);

struct InverseRef {
  std::uint32_t source;
  std::uint16_t attribute;
};

// Built on first use, then kept current: set() updates it for indexed records, and
// referrers() indexes the records added since. Its lock is taken after every other lock of
// the model.
class InverseIndex {
 public:
  // Forward attribute `attribute` of the record at index `at`, numbered `id`, changes from
  // `before` to `after`; followed only when the record is indexed already.
  void update(std::size_t at, std::uint32_t id, std::uint16_t attribute, const Slot& before,
              const Slot& after);
  // The references to `target`, once the records added since the last call are indexed. With
  // every slot stripe held: indexing reads the new records' slots.
  std::vector<InverseRef> referrers(std::uint32_t target, const RecordStore& records,
                                    const std::vector<std::uint64_t>& mask);

 private:
  // Whether the record at index `at` is in the index; with mutex_ held.
  bool isIndexed(std::size_t at) const;

  std::mutex mutex_;
  std::unordered_map<std::uint32_t, std::vector<InverseRef>> index_;
  std::size_t indexedUpTo_ = 0;
  std::vector<std::size_t> pending_;  // indices below indexedUpTo_ that held no record then
};

}  // namespace ifc::detail
