#pragma once
// A bump arena for attribute slots, strings, aggregates and typed values. A replaced value's
// storage is simply left behind: models are built once and written, so the arena never frees.

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "ifc/record.h"

namespace ifc::detail {

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

}  // namespace ifc::detail
