#include "readers/id_map.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace readers {

namespace {

// Digits, at most one ".", at least one digit, then an optional exponent: the decimal forms
// that SQL takes for numbers (no hexadecimal, no "inf" or "nan").
bool isDecimal(std::string_view s) {
  std::size_t i = 0;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i == start) return false;
  }
  return i == s.size();
}

}  // namespace

db::Value asRowid(const db::Value& id) {
  if (!id.isText()) return id;
  std::string_view s = id.asText();
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  const bool negative = !s.empty() && s.front() == '-';
  std::string_view magnitude = s;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) magnitude.remove_prefix(1);
  if (!isDecimal(magnitude)) return id;
  std::int64_t whole = 0;
  const auto [end, ec] =
      std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), whole);
  if (ec == std::errc() && end == magnitude.data() + magnitude.size()) {
    return db::Value(negative ? -whole : whole);
  }
  double real = 0;
  std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), real);
  return db::Value(negative ? -real : real);
}

}  // namespace readers
