#include "text/number_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace text {

std::string repr(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // Shortest round-trip digits in scientific form: [-]d[.ddd]e[+-]x.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));

  std::string out;
  std::size_t i = 0;
  if (sci[0] == '-') {
    out += '-';
    i = 1;
  }
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (std::size_t k = i; k < ePos; ++k) {
    if (sci[k] != '.') digits += sci[k];
  }
  int exponent = 0;
  std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                  exponent);
  // Python places the decimal point after `decpt` digits and switches to exponent form
  // when decpt <= -4 or decpt > 16.
  const int decpt = exponent + 1;
  const int ndigits = static_cast<int>(digits.size());

  if (decpt <= -4 || decpt > 16) {
    out += digits[0];
    if (ndigits > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'e';
    out += exponent < 0 ? '-' : '+';
    const int absExp = exponent < 0 ? -exponent : exponent;
    if (absExp < 10) out += '0';
    out += std::to_string(absExp);
  } else if (decpt <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-decpt), '0');
    out += digits;
  } else if (decpt < ndigits) {
    out.append(digits, 0, static_cast<std::size_t>(decpt));
    out += '.';
    out.append(digits, static_cast<std::size_t>(decpt));
  } else {
    out += digits;
    out.append(static_cast<std::size_t>(decpt - ndigits), '0');
    out += ".0";
  }
  return out;
}

std::string fixed0(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // to_chars with a precision rounds the exact binary value, ties to even.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 0);
  return std::string(buf, res.ptr);
}

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(std::string_view original) {
  throw ParseError("could not convert string to float: '" + std::string(original) + "'");
}

}  // namespace

double parseFloat(std::string_view original) {
  std::string_view s = original;
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);

  std::string body;
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // Underscores are allowed only between two digits.
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '_') {
      if (i == 0 || i + 1 == s.size() || !isDigit(s[i - 1]) || !isDigit(s[i + 1])) fail(original);
      continue;
    }
    body += s[i];
  }
  // from_chars would also take "inf", "nan" and hexadecimal forms: only decimal text is a
  // number here, and it must begin with a digit or a point.
  if (body.empty() || !(isDigit(body[0]) || body[0] == '.')) fail(original);

  double value = 0.0;
  const auto res =
      std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument || res.ptr != body.data() + body.size()) {
    fail(original);
  }
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero in Python; overflow is infinite and refused below.
    bool allZero = true;
    const std::size_t e = body.find_first_of("eE");
    for (std::size_t i = 0; i < std::min(e, body.size()); ++i) {
      if (isDigit(body[i]) && body[i] != '0') allZero = false;
    }
    const bool negativeExponent = e != std::string::npos && e + 1 < body.size() && body[e + 1] == '-';
    if (!allZero && !negativeExponent) fail(original);
    value = 0.0;
  }
  if (!std::isfinite(value)) fail(original);
  return negative ? -value : value;
}

}  // namespace text
