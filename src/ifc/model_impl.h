#pragma once
// Internal storage of ifc::Model, shared by the model, the STEP writer and the STEP reader.
//
// Entities are 24-byte records in fixed-size chunks (never moved, so growth does not copy);
// their attributes are 16-byte tagged slots in a bump arena. Strings, aggregates and typed
// values live in the same arena. A replaced value's storage is simply left behind: models are
// built once and written, so the arena never frees.

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ifc/model.h"
#include "ifc/schema/schema.h"

namespace ifc::detail {

enum class Tag : std::uint8_t {
  Unset,
  Derived,
  Bool,
  Logical,
  Int,
  Real,
  String,
  Enum,
  Ref,
  Typed,
  List
};

struct Slot {
  Tag tag = Tag::Unset;
  std::uint8_t named = 0;  // Typed: 0 defined type, 1 enumeration
  std::uint16_t aux = 0;   // Enum: enumeration index; Typed: named type index
  std::uint32_t n = 0;     // String: byte length; List: element count; Enum: item index
  union {
    std::int64_t i;
    double d;
    std::uint32_t ref;
    const char* s;
    const Slot* items;  // List elements, or the one inner value of a Typed slot
  };
  Slot() : i(0) {}
};
static_assert(sizeof(Slot) == 16);

// A slot with this bit set names a shared group: the entity is written where the group is.
inline constexpr std::uint32_t kGroupBit = 0x80000000U;

struct Record {
  std::uint32_t id;
  std::uint16_t type;
  std::uint16_t count;
  Slot* attributes;
  std::uint32_t slot = 0;  // write position (see WritePosition), or kGroupBit | group
  std::uint32_t phase = 0;
};
static_assert(sizeof(Record) == 24);

class Arena {
 public:
  void* allocate(std::size_t bytes) {
    bytes = (bytes + 7) & ~std::size_t{7};
    if (bytes > left_) grow(bytes);
    void* p = next_;
    next_ += bytes;
    left_ -= bytes;
    return p;
  }
  Slot* slots(std::size_t n) {
    Slot* p = static_cast<Slot*>(allocate(n * sizeof(Slot)));
    for (std::size_t k = 0; k < n; ++k) new (p + k) Slot();
    return p;
  }
  const char* copy(std::string_view s) {
    char* p = static_cast<char*>(allocate(s.size() == 0 ? 1 : s.size()));
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    return p;
  }

 private:
  void grow(std::size_t bytes) {
    const std::size_t size = bytes > kBlock / 4 ? bytes : kBlock;
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    next_ = blocks_.back().get();
    left_ = size;
  }
  static constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
};

// Records by number, in chunks that never move.
//
// A model read from a file holds its records as read, sorted by number (replace()); every
// entity created afterwards takes an index after them, and its number follows from its index.
// Appends need no lock: a record takes the next index (append()), or the next index of a
// block its thread reserved beforehand (reserve(), placeAt()), so that threads creating at
// once neither share a counter nor write into each other's cache lines. An index whose record
// is not ready (being written, or the unused rest of a block) holds nothing: readers test
// has(i). A record never changes once ready (its attribute slots live elsewhere).
class RecordStore {
 public:
  RecordStore() = default;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Indices below end() may hold a record.
  std::size_t end() const { return reserved_.load(); }
  bool has(std::size_t i) const {
    const auto* dir = directory_.load();
    if (dir == nullptr || (i >> kShift) >= kChunks) return false;
    const Chunk* c = dir[i >> kShift].load(std::memory_order_acquire);
    return c != nullptr && c->ready[i & kMask].load() != 0;
  }
  const Record& operator[](std::size_t i) const { return chunk(i)->records[i & kMask]; }

  // The first index of the created records, and its number.
  std::size_t firstCreatedIndex() const { return firstIndex_; }
  std::uint64_t firstCreatedNumber() const { return firstCreated_; }

  // Keeps `sorted` (ascending numbers, each once) as the store's only records; with no other
  // thread about. New records are numbered after the last.
  void replace(const std::vector<Record>& sorted) {
    if (reserved_.load() != 0) throw std::logic_error("records replaced after others were added");
    for (std::size_t i = 0; i < sorted.size(); ++i) place(i, sorted[i]);
    reserved_.store(sorted.size());
    firstIndex_ = sorted.size();
    firstCreated_ = sorted.empty() ? 1 : sorted.back().id + std::uint64_t{1};
  }

  // Appends r at the next index; returns its number.
  std::uint32_t append(const Record& r) { return placeAt(reserved_.fetch_add(1), r); }
  // The first of n consecutive indices for one thread to fill with placeAt().
  std::size_t reserve(std::size_t n) { return reserved_.fetch_add(n); }
  // Fills the reserved index i with r numbered after its index; returns the number.
  std::uint32_t placeAt(std::size_t i, Record r) {
    const std::uint64_t id = firstCreated_ + (i - firstIndex_);
    if (id > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("too many entities");
    }
    r.id = static_cast<std::uint32_t>(id);
    place(i, r);
    return r.id;
  }

  // Index of the ready record numbered id, or -1.
  std::int64_t find(std::uint32_t id) const {
    if (id >= firstCreated_) {
      const std::uint64_t i = firstIndex_ + (id - firstCreated_);
      return i < reserved_.load() && has(i) ? static_cast<std::int64_t>(i) : -1;
    }
    std::size_t lo = 0, hi = firstIndex_;
    while (lo < hi) {
      const std::size_t mid = (lo + hi) / 2;
      if ((*this)[mid].id < id) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return lo < firstIndex_ && (*this)[lo].id == id ? static_cast<std::int64_t>(lo) : -1;
  }

 private:
  static constexpr unsigned kShift = 14;
  static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;
  static constexpr std::size_t kChunks = std::size_t{1} << 15;

  struct Chunk {
    Record records[std::size_t{1} << kShift];
    std::atomic<std::uint8_t> ready[std::size_t{1} << kShift] = {};
  };

  const Chunk* chunk(std::size_t i) const {
    return directory_.load()[i >> kShift].load(std::memory_order_acquire);
  }
  // Writes the record at index i and marks it ready, making its chunk first if need be.
  void place(std::size_t i, const Record& r) {
    if ((i >> kShift) >= kChunks) throw std::length_error("too many entities");
    std::atomic<Chunk*>* dir = directory_.load();
    Chunk* c = dir == nullptr ? nullptr : dir[i >> kShift].load(std::memory_order_acquire);
    if (c == nullptr) {
      const std::scoped_lock lock(growMutex_);
      if (directory_.load() == nullptr) {
        directoryStorage_ = std::make_unique<std::atomic<Chunk*>[]>(kChunks);
        directory_.store(directoryStorage_.get());
      }
      dir = directory_.load();
      c = dir[i >> kShift].load();
      if (c == nullptr) {
        chunks_.push_back(std::make_unique<Chunk>());
        c = chunks_.back().get();
        dir[i >> kShift].store(c, std::memory_order_release);
      }
    }
    c->records[i & kMask] = r;
    c->ready[i & kMask].store(1, std::memory_order_release);
  }

  std::mutex growMutex_;
  std::vector<std::unique_ptr<Chunk>> chunks_;
  std::unique_ptr<std::atomic<Chunk*>[]> directoryStorage_;
  std::atomic<std::atomic<Chunk*>*> directory_{nullptr};
  std::size_t firstIndex_ = 0;      // index of the first created record
  std::uint64_t firstCreated_ = 1;  // its number
  alignas(64) std::atomic<std::size_t> reserved_{0};
};

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

struct InverseRef {
  std::uint32_t source;
  std::uint16_t attribute;
};

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

  // Locks, always taken in this order: slot stripes (lowest first), mutex, inverseMutex.
  //
  // mutex: numbering and appending records, the main arena, write positions and groups.
  // Entities created inside a scope are encoded in the scope's own arena without any lock;
  // only their number and their place in the store are taken under the mutex.
  mutable std::mutex mutex;
  detail::RecordStore records;
  detail::Arena arena;               // for entities and values made outside any scope
  std::vector<detail::Record> read;  // records of a file being read, until sorted

  // Attribute slots: get() and set() of an entity lock its stripe; what reads every slot
  // (writing, validating, indexing inverses) locks all of them.
  struct alignas(64) Stripe {
    std::mutex mutex;
  };
  static constexpr std::size_t kStripes = 32;
  mutable std::array<Stripe, kStripes> stripes;
  std::mutex& stripeOf(std::uint32_t id) const { return stripes[id % kStripes].mutex; }

  // Arenas of the threads that create entities in scopes, one per thread: scopes of one
  // thread never encode at once, and a thread finds its arena again without a lock (see
  // threadArena()). Kept until the model goes.
  const std::uint64_t serial = detail::newModelSerial();  // tells models apart over time
  std::mutex arenasMutex;
  std::vector<std::unique_ptr<detail::Arena>> arenas;
  std::vector<std::unique_ptr<ThreadState>> threadStates;

  // Write order: the position of entities created outside any scope, and where each shared
  // group is written (nowhere until placed).
  WritePosition main;
  std::vector<WritePosition> groups;

  // Inverse index from referenced id to the referring (entity, attribute) pairs, for the
  // forward attributes of inverse attributes only. Built on first use, then kept current:
  // set() updates it for indexed records, and inverse() indexes records added since. Indices
  // below indexedUpTo that held no record when passed wait in `pending` (sorted).
  mutable std::mutex inverseMutex;
  mutable std::unordered_map<std::uint32_t, std::vector<detail::InverseRef>> inverseIndex;
  mutable std::size_t indexedUpTo = 0;
  mutable std::vector<std::size_t> pending;
  // Whether the record at index `at` is in the index; with inverseMutex held.
  bool isIndexed(std::size_t at) const {
    return at < indexedUpTo && !std::binary_search(pending.begin(), pending.end(), at);
  }

  // Encodes a value for attribute `attribute` of an entity of type `type` into `out`, its
  // storage taken from `into`, checking it against the schema. References must resolve unless
  // checkReferences is false.
  void encodeAttribute(std::uint16_t type, std::size_t attribute, const Value& v, detail::Slot& out,
                       bool checkReferences, detail::Arena& into);
  // Encodes the attributes of a new entity into `into`.
  detail::Slot* encodeRecord(std::uint16_t type, const Value* values, std::size_t count,
                             bool checkReferences, detail::Arena& into);
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
  // The arena for values made by this thread: its scope's, or the main arena (then the mutex
  // must be held).
  static detail::Arena* scopeArena(const detail::ThreadPosition* at) {
    return at == nullptr ? nullptr : static_cast<detail::Arena*>(at->arena);
  }
  ThreadState& threadState();
  // The order and numbers of the written file: record indices in write order, and the
  // written number of each record by index; both empty when the file is written in index
  // order with the records' own numbers. Called with the mutex held.
  struct WritePlan {
    std::vector<std::uint32_t> order;
    std::vector<std::uint32_t> numbers;
  };
  WritePlan writePlan() const;
  Value decode(const detail::Slot& s, const Model* owner) const;
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

const std::string& entityTypeName(const schema::SchemaDef& s, std::uint16_t type);

}  // namespace ifc
