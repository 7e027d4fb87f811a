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

void Value::failType(const char* expected) const {
  throw TypeError(std::string("expected ") + expected + ", got " + describe(*this));
}

std::string Value::str() const {
  switch (kind_) {
    case Kind::null:
      return "None";
    case Kind::integer:
      return std::to_string(u_.i);
    case Kind::real:
      return text::repr(u_.d);
    case Kind::text:
      break;
  }
  return *u_.s;
}

bool operator==(const Value& a, const Value& b) {
  using Kind = Value::Kind;
  if (a.kind_ == Kind::integer && b.kind_ == Kind::real) return equalExactly(a.u_.i, b.u_.d);
  if (a.kind_ == Kind::real && b.kind_ == Kind::integer) return equalExactly(b.u_.i, a.u_.d);
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case Kind::null:
      return true;
    case Kind::integer:
      return a.u_.i == b.u_.i;
    case Kind::real:
      return a.u_.d == b.u_.d;
    case Kind::text:
      break;
  }
  return *a.u_.s == *b.u_.s;
}

}  // namespace db
