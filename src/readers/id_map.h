#pragma once
// Rows found in memory by the ids that the model's tables join on, for readers that read a
// table once instead of querying it per member.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "db/value.h"

namespace readers {

// Values of type T by id, where ids match as SQL compares the stored values of the model's
// untyped id columns: numbers by value (5 and 5.0 are one id), text by its text, never a
// number equal to a text; NULL is no id and matches nothing. The values sit in one list; the
// whole numbers that ids usually are find theirs through a table indexed by the id, the rest
// through a hash map. A pointer from insert() or find() holds until the next insert().
template <class T>
class IdMap {
 public:
  // The value of `id`, default-made when it is new; nullptr for NULL.
  T* insert(const db::Value& id) {
    if (id.isNull()) return nullptr;
    const std::size_t slot = wholeNumber(id);
    // Ids mostly count up from 1, often drawn from one count that several tables share: the
    // table, four bytes an entry, grows while it stays within some times the ids held; a far
    // larger id goes to the hash map until the table grows past it.
    if (slot != kNoSlot && slot >= slots_.size() && slot <= 16 * values_.size() + kFreeSlots) {
      grow(slot + 1);
    }
    if (slot != kNoSlot && slot < slots_.size()) {
      if (slots_[slot] == 0) {
        values_.emplace_back();
        slots_[slot] = static_cast<std::uint32_t>(values_.size());
      }
      return &values_[slots_[slot] - 1];
    }
    auto [it, added] = sparse_.try_emplace(key(id), values_.size());
    if (added) values_.emplace_back();
    return &values_[it->second];
  }
  // Gives `id` the value unless it has one: the first row of an id is the one that a lookup
  // by id in SQL finds.
  void insertFirst(const db::Value& id, T value) {
    if (id.isNull() || find(id) != nullptr) return;
    *insert(id) = std::move(value);
  }
  [[nodiscard]] const T* find(const db::Value& id) const {
    if (id.isNull()) return nullptr;
    const std::size_t slot = wholeNumber(id);
    // Every whole number the table covers is in the table, held or not.
    if (slot != kNoSlot && slot < slots_.size()) {
      return slots_[slot] == 0 ? nullptr : &values_[slots_[slot] - 1];
    }
    if (sparse_.empty()) return nullptr;
    const auto it = sparse_.find(key(id));
    return it == sparse_.end() ? nullptr : &values_[it->second];
  }
  [[nodiscard]] std::size_t size() const { return values_.size(); }

 private:
  static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
  static constexpr std::size_t kFreeSlots = std::size_t{1} << 18;  // a megabyte of table
  using Key = std::variant<double, std::string>;
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::visit([](const auto& v) { return std::hash<std::decay_t<decltype(v)>>{}(v); }, k);
    }
  };

  // 0.0 and -0.0 are one id.
  static Key key(const db::Value& id) {
    if (id.isText()) return id.asText();
    const double v = id.asDouble();
    return v == 0 ? 0.0 : v;
  }
  // The table index of a whole-number id below 2^31, else kNoSlot.
  static std::size_t wholeNumber(const db::Value& id) {
    if (id.isInteger()) {
      const std::int64_t v = id.asInteger();
      return v >= 0 && v < (std::int64_t{1} << 31) ? static_cast<std::size_t>(v) : kNoSlot;
    }
    if (id.isReal()) {
      const double v = id.asDouble();
      if (v >= 0 && v < 2147483648.0 && v == std::floor(v)) return static_cast<std::size_t>(v);
    }
    return kNoSlot;
  }
  // Grows the table to at least `size` entries, taking over the ids of the hash map it now
  // covers.
  void grow(std::size_t size) {
    slots_.resize(std::max(size, slots_.size() * 3 / 2), 0);
    for (auto it = sparse_.begin(); it != sparse_.end();) {
      const double* number = std::get_if<double>(&it->first);
      if (number && *number >= 0 && *number < static_cast<double>(slots_.size()) &&
          *number == std::floor(*number)) {
        slots_[static_cast<std::size_t>(*number)] = static_cast<std::uint32_t>(it->second + 1);
        it = sparse_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::vector<T> values_;
  std::vector<std::uint32_t> slots_;                      // id -> 1 + index in values_, 0 for none
  std::unordered_map<Key, std::size_t, KeyHash> sparse_;  // other ids -> index in values_
};

// An id as a column of integer primary keys (the ID of joints, axes, grid lines and slabs)
// compares with it: a text that reads as a decimal number, blanks around it allowed, is taken
// as that number, as SQL's numeric affinity does; any other value is itself.
[[nodiscard]] db::Value asRowid(const db::Value& id);

// Two stored ids are one id as SQL's "=" sees them: as IdMap matches, and never NULL.
[[nodiscard]] inline bool sameId(const db::Value& a, const db::Value& b) {
  return !a.isNull() && a == b;
}

}  // namespace readers
