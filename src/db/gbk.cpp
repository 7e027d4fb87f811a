#include "db/gbk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "db/gbk_table.h"
#include "text/utf8.h"

namespace db {

namespace {

using detail::kGbkLeadFirst;
using detail::kGbkLeadLast;
using detail::kGbkToUnicode;
using detail::kGbkTrailCount;
using detail::kGbkTrailFirst;
using detail::kGbkTrailLast;

// Code point of the pair, 0 when it is not a character.
std::uint16_t lookup(unsigned lead, unsigned trail) {
  if (lead < kGbkLeadFirst || lead > kGbkLeadLast) return 0;
  if (trail < kGbkTrailFirst || trail > kGbkTrailLast) return 0;
  return kGbkToUnicode[(lead - kGbkLeadFirst) * kGbkTrailCount + (trail - kGbkTrailFirst)];
}

std::string codePointName(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

// Next code point of valid UTF-8 starting at s[i]; advances i. Throws for malformed input.
// Two GBK bytes (lead << 8 | trail) per code point of the Basic Multilingual Plane, 0 where
// GBK has no such character; built once from the decoding table.
const std::array<std::uint16_t, 0x10000>& encodingTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<std::uint16_t, 0x10000>>();
    t->fill(0);
    for (unsigned lead = kGbkLeadFirst; lead <= kGbkLeadLast; ++lead) {
      for (unsigned trail = kGbkTrailFirst; trail <= kGbkTrailLast; ++trail) {
        if (const std::uint16_t cp = lookup(lead, trail)) {
          (*t)[cp] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
      }
    }
    return t;
  }();
  return *table;
}

}  // namespace

std::string decodeGbk(std::string_view bytes) {
  // Numbers and section texts, most of what a model holds, are plain ASCII.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
    return std::string(bytes);
  }
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // A byte that cannot start a character, a pair that is not one, or a lead byte at the
    // end: only this one byte is dropped, and decoding resumes at the next byte, which may
    // itself start a character.
    if (i + 1 < bytes.size()) {
      if (const std::uint16_t cp = lookup(c, static_cast<unsigned char>(bytes[i + 1]))) {
        text::appendUtf8(out, cp);
        i += 2;
        continue;
      }
    }
    ++i;
  }
  return out;
}

std::string encodeGbk(std::string_view utf8) {
  const auto& table = encodingTable();
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t at = i;
    const std::int32_t decoded = text::nextCodePoint(utf8, i);
    if (decoded < 0) throw std::invalid_argument("invalid UTF-8 at byte " + std::to_string(at));
    const auto cp = static_cast<char32_t>(decoded);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    const std::uint16_t code = cp <= 0xFFFF ? table[cp] : 0;
    if (code == 0) throw std::invalid_argument(codePointName(cp) + " has no GBK encoding");
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

}  // namespace db
