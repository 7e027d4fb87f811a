#include "db/gbk.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "db/gbk_table.h"

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

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // The table holds only the Basic Multilingual Plane.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string codePointName(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

// Next code point of valid UTF-8 starting at s[i]; advances i. Throws for malformed input.
char32_t nextUtf8(std::string_view s, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned b0 = byte(i);
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    throw std::invalid_argument("invalid UTF-8 at byte " + std::to_string(i));
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) {
    throw std::invalid_argument("truncated UTF-8 at byte " + std::to_string(i));
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned b = byte(i + static_cast<std::size_t>(k));
    if ((b & 0xC0) != 0x80) {
      throw std::invalid_argument("invalid UTF-8 at byte " + std::to_string(i));
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    throw std::invalid_argument("invalid UTF-8 at byte " + std::to_string(i));
  }
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

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
        appendUtf8(out, cp);
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
    const char32_t cp = nextUtf8(utf8, i);
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
