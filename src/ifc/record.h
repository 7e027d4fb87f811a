#pragma once
// An entity as the model stores it: a 24-byte record of its number, type and write position,
// pointing to its attributes, 16-byte tagged slots. Slots of strings, aggregates and typed
// values point into the arena that holds them (see arena.h).

#include <cstdint>

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

}  // namespace ifc::detail
