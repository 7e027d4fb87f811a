#pragma once
// The model's records, by index and by number, appended by several threads at once.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "ifc/record.h"

namespace ifc::detail {

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

}  // namespace ifc::detail
