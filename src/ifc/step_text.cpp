#include "ifc/step_text.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "text/utf8.h"

namespace ifc::step {

std::size_t formatReal(double value, char* out) {
  char sci[32];
  const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific);
  // sci: [-]d[.ddd]e(+|-)xx
  const char* p = sci;
  char* o = out;
  if (*p == '-') *o++ = *p++;
  char digits[24];
  std::size_t nd = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits[nd++] = *p;
  }
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
  if (exponent >= -4 && exponent < 16) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      for (std::size_t k = 0; k < whole; ++k) *o++ = k < nd ? digits[k] : '0';
      *o++ = '.';
      for (std::size_t k = whole; k < nd; ++k) *o++ = digits[k];
    } else {
      *o++ = '0';
      *o++ = '.';
      for (int k = -1; k > exponent; --k) *o++ = '0';
      for (std::size_t k = 0; k < nd; ++k) *o++ = digits[k];
    }
  } else {
    *o++ = digits[0];
    *o++ = '.';
    for (std::size_t k = 1; k < nd; ++k) *o++ = digits[k];
    *o++ = 'E';
    *o++ = exponent < 0 ? '-' : '+';
    const int a = exponent < 0 ? -exponent : exponent;
    if (a < 10) *o++ = '0';
    o = std::to_chars(o, o + 4, a).ptr;
  }
  return static_cast<std::size_t>(o - out);
}

namespace {

void appendHex(std::string& out, std::uint32_t v, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int k = digits - 1; k >= 0; --k) out += kHex[(v >> (4 * k)) & 0xF];
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::uint32_t readHex(std::string_view s, std::size_t at, int digits) {
  if (at + static_cast<std::size_t>(digits) > s.size()) {
    throw std::invalid_argument("truncated hexadecimal escape");
  }
  std::uint32_t v = 0;
  for (int k = 0; k < digits; ++k) {
    const int h = hexValue(s[at + static_cast<std::size_t>(k)]);
    if (h < 0) throw std::invalid_argument("bad hexadecimal digit in escape");
    v = (v << 4) | static_cast<std::uint32_t>(h);
  }
  return v;
}

}  // namespace

bool isUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    if (text::nextCodePoint(s, i) < 0) return false;
  }
  return true;
}

void appendEscaped(std::string& out, std::string_view utf8) {
  int run = 0;  // 0 none, 2 inside \X2\, 4 inside \X4\ .
  for (std::size_t i = 0; i < utf8.size();) {
    const std::int32_t cp = text::nextCodePoint(utf8, i);
    if (cp < 0) throw std::invalid_argument("text is not valid UTF-8");
    if (cp >= 0x20 && cp < 0x7F) {
      if (run != 0) {
        out += "\\X0\\";
        run = 0;
      }
      out += static_cast<char>(cp);
      if (cp == '\'' || cp == '\\') out += static_cast<char>(cp);
      continue;
    }
    const int want = cp > 0xFFFF ? 4 : 2;
    if (run != want) {
      if (run != 0) out += "\\X0\\";
      out += want == 4 ? "\\X4\\" : "\\X2\\";
      run = want;
    }
    appendHex(out, static_cast<std::uint32_t>(cp), want == 4 ? 8 : 4);
  }
  if (run != 0) out += "\\X0\\";
}

void appendString(std::string& out, std::string_view utf8) {
  out += '\'';
  appendEscaped(out, utf8);
  out += '\'';
}

std::string decodeString(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (c == '\'') {
      if (i + 1 >= s.size() || s[i + 1] != '\'') throw std::invalid_argument("lone apostrophe");
      out += '\'';
      i += 2;
    } else if (c != '\\') {
      out += c;
      ++i;
    } else if (s.substr(i, 2) == "\\\\") {
      out += '\\';
      i += 2;
    } else if (s.substr(i, 4) == "\\X2\\" || s.substr(i, 4) == "\\X4\\") {
      const int digits = s[i + 2] == '2' ? 4 : 8;
      i += 4;
      while (s.substr(i, 4) != "\\X0\\") {
        std::uint32_t cp = readHex(s, i, digits);
        i += static_cast<std::size_t>(digits);
        if (digits == 4 && cp >= 0xD800 && cp <= 0xDBFF) {
          const std::uint32_t low = readHex(s, i, 4);
          if (low < 0xDC00 || low > 0xDFFF) throw std::invalid_argument("unpaired surrogate");
          i += 4;
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        } else if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
          throw std::invalid_argument("invalid character in escape");
        }
        text::appendUtf8(out, cp);
      }
      i += 4;
    } else if (s.substr(i, 3) == "\\X\\") {
      text::appendUtf8(out, readHex(s, i + 3, 2));
      i += 5;
    } else if (s.substr(i, 3) == "\\S\\" && i + 3 < s.size() && s[i + 3] >= 0x20 &&
               s[i + 3] < 0x7F) {
      // \S\c is the upper half of Latin-1: c is a printable ASCII character (an apostrophe
      // doubled, as everywhere in a string).
      if (s[i + 3] == '\'' && (i + 4 >= s.size() || s[i + 4] != '\'')) {
        throw std::invalid_argument("lone apostrophe");
      }
      text::appendUtf8(out, static_cast<unsigned char>(s[i + 3]) + 0x80u);
      i += s[i + 3] == '\'' ? 5 : 4;
    } else if (i + 3 < s.size() && s[i + 1] == 'P' && s[i + 3] == '\\') {
      i += 4;  // code page switch: only the default Latin-1 page is supported
    } else {
      throw std::invalid_argument("unknown escape in string");
    }
  }
  return out;
}

}  // namespace ifc::step
