#pragma once
// One value of a model-database row, as SQLite stores it: NULL, a 64-bit integer, a double
// or text (already decoded from GBK to UTF-8).

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace db {

// A value of the wrong class for its use (NULL or text where a number is needed).
class TypeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Value {
 public:
  Value() = default;  // NULL
  Value(std::int64_t i) : v_(i) {}
  Value(int i) : v_(static_cast<std::int64_t>(i)) {}
  Value(double d) : v_(d) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(const char* s) : v_(std::string(s)) {}

  [[nodiscard]] bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
  [[nodiscard]] bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
  [[nodiscard]] bool isReal() const { return std::holds_alternative<double>(v_); }
  [[nodiscard]] bool isNumber() const { return isInteger() || isReal(); }
  [[nodiscard]] bool isText() const { return std::holds_alternative<std::string>(v_); }

  // Throw TypeError for another class; asDouble reads integers too.
  [[nodiscard]] std::int64_t asInteger() const;
  [[nodiscard]] double asDouble() const;
  [[nodiscard]] const std::string& asText() const;

  // The host's text form: integer 5 gives "5", double 5.0 gives "5.0", NULL gives "None",
  // text is itself.
  [[nodiscard]] std::string str() const;

  // Numbers compare by value across integer and double (5 == 5.0); text never equals a
  // number; NULL equals only NULL.
  friend bool operator==(const Value& a, const Value& b);

 private:
  std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace db
