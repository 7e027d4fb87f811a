#pragma once
// Internal state of ifc::Model, shared by the model's own files (model.cpp, entity.cpp,
// record_storage.cpp, attribute_encoder.cpp, validation.cpp, write_order.cpp), the STEP writer
// and the STEP reader.
//
// Entities are 24-byte records in fixed-size chunks (record_store.h; never moved, so growth
// does not copy); their attributes are 16-byte tagged slots (record.h) in bump arenas
// (arena.h), which also hold strings, aggregates and typed values.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ifc/arena.h"
#include "ifc/inverse_index.h"
#include "ifc/model.h"
#include "ifc/record.h"
#include "ifc/record_store.h"
#include "ifc/schema/schema.h"

namespace ifc::detail {

// "#12", for messages.
inline std::string idText(std::uint32_t id) {
  std::string s(1, '#');
  s += std::to_string(id);
  return s;
}

// The innermost scope of the calling thread for this model, or null.
ThreadPosition* threadPosition(const void* model);

// A number no other model of this process has had.
std::uint64_t newModelSerial();

}  // namespace ifc::detail

namespace ifc {

struct Model::Impl {
  // Indices a thread takes at a time for the records it creates inside slot scopes.
  static constexpr std::size_t kIndexBlock = 64;
  // A thread's arena and index block for the model, found without a lock once made.
  struct ThreadState {
    detail::Arena* arena = nullptr;
    std::size_t next = 0;  // the block of indices being filled: [next, end)
    std::size_t end = 0;
  };

  const schema::SchemaDef* schema = nullptr;
  const Model* owner = nullptr;
  std::string schemaName;
  std::vector<std::string> header;  // header records as read, each ending with ';'

  // Locks, always taken in this order: slot stripes (lowest first), mutex, the inverse
  // index's.
  //
  // mutex: numbering and appending records, the main arena, write positions and groups.
  // Entities created inside a scope are encoded in the scope's own arena without any lock;
  // only their number and their place in the store are taken under the mutex.
  mutable std::mutex mutex;
  detail::RecordStore records;
  detail::Arena arena;               // for entities and values made outside any scope
  std::vector<detail::Record> read;  // records of a file being read, until sorted

  // Attribute slots: get() and set() of an entity lock its stripe; what reads every slot
  // (writing, validating, indexing inverses) locks all of them. Entities numbered together
  // (a thread's block of indices, see kIndexBlock) share a stripe, so that a thread setting
  // its own entities keeps locking one cache line instead of taking turns with the others.
  struct alignas(64) Stripe {
    std::mutex mutex;
  };
  static constexpr std::size_t kStripes = 64;
  mutable std::array<Stripe, kStripes> stripes;
  std::mutex& stripeOf(std::uint32_t id) const {
    return stripes[(id / kIndexBlock) % kStripes].mutex;
  }

  // Arenas of the threads that create entities in scopes, one per thread: scopes of one
  // thread never encode at once, and a thread finds its arena again without a lock (see
  // threadState()). Kept until the model goes.
  const std::uint64_t serial = detail::newModelSerial();  // tells models apart over time
  std::mutex arenasMutex;
  std::vector<std::unique_ptr<detail::Arena>> arenas;
  std::vector<std::unique_ptr<ThreadState>> threadStates;

  // Write order: the position of entities created outside any scope, and where each shared
  // group is written (nowhere until placed).
  WritePosition main;
  std::vector<WritePosition> groups;

  // The referring entities of each entity, for inverse attributes (see inverse_index.h).
  mutable detail::InverseIndex inverses;

  // The arena for values made by this thread: its scope's, or the main arena (then the mutex
  // must be held).
  static detail::Arena* scopeArena(const detail::ThreadPosition* at) {
    return at == nullptr ? nullptr : static_cast<detail::Arena*>(at->arena);
  }

  // ---- attribute_encoder.cpp ----

  // Encodes a value for attribute `attribute` of an entity of type `type` into `out`, its
  // storage taken from `into`, checking it against the schema. References must resolve unless
  // checkReferences is false.
  void encodeAttribute(std::uint16_t type, std::size_t attribute, const Value& v, detail::Slot& out,
                       bool checkReferences, detail::Arena& into);
  // Encodes the attributes of a new entity into `into`.
  detail::Slot* encodeRecord(std::uint16_t type, const Value* values, std::size_t count,
                             bool checkReferences, detail::Arena& into);

  // ---- record_storage.cpp ----

  // Numbers and appends an encoded entity at the given write position (slot with kGroupBit
  // for a group; in the thread's block when the scope says so) or, when `at` is null, at the
  // model's own position (then with the mutex held). Returns its number.
  std::uint32_t appendRecord(std::uint16_t type, detail::Slot* slots,
                             const detail::ThreadPosition* at);
  // Records ready (a scan: for counting, not for the hot path).
  std::size_t count() const;
  // An entity of a file being read, numbered as in the file; kept in `read` until the file is
  // read whole and its records are sorted into the store.
  void addReadRecord(std::uint16_t type, const Value* values, std::size_t count, std::uint32_t id);
  // The value a stored slot holds; entity references are handles of `owner`.
  Value decode(const detail::Slot& s, const Model* owner) const;

  // ---- write_order.cpp ----

  // The calling thread's arena and index block for this model, made on its first call.
  ThreadState& threadState();
  // The order and numbers of the written file: record indices in write order, and the
  // written number of each record by index; both empty when the file is written in index
  // order with the records' own numbers. Called with the mutex held; made on `threads`
  // threads at once when the model is large.
  struct WritePlan {
    std::vector<std::uint32_t> order;
    std::vector<std::uint32_t> numbers;
  };
  WritePlan writePlan(unsigned threads = 1) const;
};

// Holds every slot stripe of a model: nothing changes an attribute meanwhile.
class AllStripes {
 public:
  explicit AllStripes(const Model::Impl& m) : m_(m) {
    for (auto& s : m_.stripes) s.mutex.lock();
  }
  ~AllStripes() {
    for (auto it = m_.stripes.rbegin(); it != m_.stripes.rend(); ++it) it->mutex.unlock();
  }
  AllStripes(const AllStripes&) = delete;
  AllStripes& operator=(const AllStripes&) = delete;

 private:
  const Model::Impl& m_;
};

}  // namespace ifc
