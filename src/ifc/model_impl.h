#pragma once
// Internal storage of ifc::Model, shared by the model, the STEP writer and the STEP reader.
//
// Entities are 24-byte records in fixed-size chunks (never moved, so growth does not copy);
// their attributes are 16-byte tagged slots in a bump arena. Strings, aggregates and typed
// values live in the same arena. A replaced value's storage is simply left behind: models are
// built once and written, so the arena never frees.

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
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

// Records in number order, in chunks that never move.
class RecordStore {
 public:
  std::size_t size() const { return size_; }
  Record& operator[](std::size_t i) { return chunks_[i >> kShift][i & kMask]; }
  const Record& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }
  void push(const Record& r) {
    if ((size_ >> kShift) == chunks_.size()) {
      chunks_.push_back(std::make_unique_for_overwrite<Record[]>(std::size_t{1} << kShift));
    }
    (*this)[size_++] = r;
  }
  // Index of the record numbered id, or -1. Numbers grow with the index, and new entities
  // are numbered densely at the end, so counting back from the last record nearly always
  // finds it at once.
  std::int64_t find(std::uint32_t id) const {
    if (size_ == 0) return -1;
    const std::uint32_t last = (*this)[size_ - 1].id;
    if (id > last) return -1;
    const std::uint64_t back = last - id;
    if (back < size_ && (*this)[size_ - 1 - back].id == id) {
      return static_cast<std::int64_t>(size_ - 1 - back);
    }
    std::size_t lo = 0, hi = size_;
    while (lo < hi) {
      const std::size_t mid = (lo + hi) / 2;
      if ((*this)[mid].id < id) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return lo < size_ && (*this)[lo].id == id ? static_cast<std::int64_t>(lo) : -1;
  }

 private:
  static constexpr unsigned kShift = 14;
  static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;
  std::vector<std::unique_ptr<Record[]>> chunks_;
  std::size_t size_ = 0;
};

// "#12", for messages.
inline std::string idText(std::uint32_t id) {
  std::string s(1, '#');
  s += std::to_string(id);
  return s;
}

// The innermost scope of the calling thread for this model, or null.
ThreadPosition* threadPosition(const void* model);

struct InverseRef {
  std::uint32_t source;
  std::uint16_t attribute;
};

}  // namespace ifc::detail

namespace ifc {

struct Model::Impl {
  const schema::SchemaDef* schema = nullptr;
  const Model* owner = nullptr;
  std::string schemaName;
  std::vector<std::string> header;  // header records as read, each ending with ';'

  mutable std::shared_mutex mutex;
  detail::RecordStore records;
  detail::Arena arena;
  std::uint32_t nextId = 1;

  // Write order: the position of entities created outside any scope, and where each shared
  // group is written (nowhere until placed).
  WritePosition main;
  std::vector<WritePosition> groups;

  // Inverse index from referenced id to the referring (entity, attribute) pairs, for the
  // forward attributes of inverse attributes only. Built on first use, then kept current:
  // set() updates it for indexed records, and inverse() indexes records added since.
  mutable std::mutex inverseMutex;
  mutable std::unordered_map<std::uint32_t, std::vector<detail::InverseRef>> inverseIndex;
  mutable std::size_t indexedUpTo = 0;

  // Encodes a value for attribute `attribute` of an entity of type `type` into `out`,
  // checking it against the schema. References must resolve unless checkReferences is false.
  void encodeAttribute(std::uint16_t type, std::size_t attribute, const Value& v, detail::Slot& out,
                       bool checkReferences);
  // Adds an entity at the given write position (slot with kGroupBit for a group) or, when
  // `at` is null, at the model's own position. Called with the mutex held exclusively.
  std::uint32_t addRecord(std::uint16_t type, const Value* values, std::size_t count,
                          bool checkReferences, std::uint32_t id,
                          const detail::ThreadPosition* at = nullptr);
  // Record indices in write order, or an empty list when that is their number order.
  std::vector<std::uint32_t> writeOrder() const;
  Value decode(const detail::Slot& s, const Model* owner) const;
};

const std::string& entityTypeName(const schema::SchemaDef& s, std::uint16_t type);

}  // namespace ifc
