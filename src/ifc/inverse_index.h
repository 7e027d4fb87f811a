#pragma once
// A model's inverse index: for each inverse attribute asked for, from a referenced entity to
// the entities that refer to it through the inverse's forward attribute. Only the forward
// attributes asked for are indexed, each the first time it is asked for.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "ifc/record.h"
#include "ifc/record_store.h"
#include "ifc/schema/schema.h"

namespace ifc::detail {

// Bit a of element t is set when attribute a of entity type t is the forward attribute of some
// inverse attribute: only those attributes can be in an index.
const std::vector<std::uint64_t>& forwardMask(const schema::SchemaDef& s);

// Each forward attribute is indexed from its first use on and then kept current: set()
// updates it for indexed records, and referrers() indexes the records added since. Its lock
// is taken after every other lock of the model.
class InverseIndex {
 public:
  InverseIndex();
  ~InverseIndex();
  InverseIndex(const InverseIndex&) = delete;
  InverseIndex& operator=(const InverseIndex&) = delete;

  // Attribute `attribute` of the record at index `at`, of type `type` and numbered `id`,
  // changes from `before` to `after`; followed by the indices that hold the record already.
  void update(std::size_t at, std::uint16_t type, std::uint32_t id, std::uint16_t attribute,
              const Slot& before, const Slot& after);
  // The numbers of the entities whose forward attribute of `inverse` refers to `target`,
  // possibly repeated, once the records added since the last call are indexed. With every
  // slot stripe held: indexing reads the new records' slots.
  std::vector<std::uint32_t> referrers(const schema::SchemaDef& s,
                                       const schema::InverseDef& inverse, std::uint32_t target,
                                       const RecordStore& records);
  // The same without any stripe held, when no record is left to index (nothing was made since
  // the last call, as between the look-ups of a loop); otherwise nothing.
  std::optional<std::vector<std::uint32_t>> referrersIfCurrent(const schema::InverseDef& inverse,
                                                               std::uint32_t target,
                                                               const RecordStore& records);

 private:
  struct Forward;
  Forward& forwardOf(const schema::SchemaDef& s, const schema::InverseDef& inverse);

  std::mutex mutex_;
  std::vector<std::unique_ptr<Forward>> forwards_;
  // Bit a is set once some forward attribute of index a is indexed: update() of any other
  // attribute returns without the lock. Set under every slot stripe, read under one.
  std::atomic<std::uint64_t> attributes_{0};
};

}  // namespace ifc::detail
