#pragma once
// The GBK double-byte table: one code point per lead/trail pair, 0 where the pair is not a
// character. Single bytes below 0x80 are ASCII; no other single byte is a character.

#include <cstddef>
#include <cstdint>

namespace db::detail {

inline constexpr unsigned kGbkLeadFirst = 0x81;
inline constexpr unsigned kGbkLeadLast = 0xFE;
inline constexpr unsigned kGbkTrailFirst = 0x40;
inline constexpr unsigned kGbkTrailLast = 0xFE;
inline constexpr std::size_t kGbkTrailCount = kGbkTrailLast - kGbkTrailFirst + 1;
inline constexpr std::size_t kGbkTableSize = (kGbkLeadLast - kGbkLeadFirst + 1) * kGbkTrailCount;

// Index (lead - kGbkLeadFirst) * kGbkTrailCount + (trail - kGbkTrailFirst).
extern const std::uint16_t kGbkToUnicode[kGbkTableSize];

}  // namespace db::detail
