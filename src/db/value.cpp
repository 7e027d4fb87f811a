#include "db/value.h"

#include <cmath>

#include "text/number_text.h"

namespace db {

namespace {
// "NULL", "integer 5", "double 5.0" or "text '5 m'", for error messages.
std::string describe(const Value& v) {
  if (v.isNull()) return "NULL";
  if (v.isInteger()) return "integer " + v.str();
  if (v.isReal()) return "double " + v.str();
  return "text '" + v.str() + "'";
}

// Exact comparison of an integer with a double: 2^53 + 1 != 2^53.
bool equalExactly(std::int64_t i, double d) {
  if (!std::isfinite(d) || d != std::trunc(d)) return false;
  // [-2^63, 2^63) is where a double converts to int64 without overflow.
  if (d < -9223372036854775808.0 || d >= 9223372036854775808.0) return false;
  return static_cast<std::int64_t>(d) == i;
}
}  // namespace

std::int64_t Value::asInteger() const {
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return *i;
  throw TypeError("expected an integer, got " + describe(*this));
}

double Value::asDouble() const {
  if (const auto* d = std::get_if<double>(&v_)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
  throw TypeError("expected a number, got " + describe(*this));
}

const std::string& Value::asText() const {
  if (const auto* s = std::get_if<std::string>(&v_)) return *s;
  throw TypeError("expected text, got " + describe(*this));
}

std::string Value::str() const {
  switch (v_.index()) {
    case 0:
      return "None";
    case 1:
      return std::to_string(std::get<std::int64_t>(v_));
    case 2:
      return text::repr(std::get<double>(v_));
    default:
      return std::get<std::string>(v_);
  }
}

bool operator==(const Value& a, const Value& b) {
  if (a.isInteger() && b.isReal()) return equalExactly(a.asInteger(), b.asDouble());
  if (a.isReal() && b.isInteger()) return equalExactly(b.asInteger(), a.asDouble());
  if (a.v_.index() != b.v_.index()) return false;
  switch (a.v_.index()) {
    case 0:
      return true;
    case 1:
      return std::get<std::int64_t>(a.v_) == std::get<std::int64_t>(b.v_);
    case 2:
      return std::get<double>(a.v_) == std::get<double>(b.v_);
    default:
      return std::get<std::string>(a.v_) == std::get<std::string>(b.v_);
  }
}

}  // namespace db
