#pragma once
// One value of a model-database row, as SQLite stores it: NULL, a 64-bit integer, a double
// or text (already decoded from GBK to UTF-8).

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace db {

// A value of the wrong class for its use (NULL or text where a number is needed).
class TypeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sixteen bytes: the class and the number, or the text held apart. Rows of many values and
// the member rows made of them stay small; a moved-from value is NULL.
class Value {
 public:
  Value() noexcept { u_.i = 0; }  // NULL
  Value(std::int64_t i) noexcept : kind_(Kind::integer) { u_.i = i; }
  Value(int i) noexcept : Value(static_cast<std::int64_t>(i)) {}
  Value(double d) noexcept : kind_(Kind::real) { u_.d = d; }
  Value(std::string s) : kind_(Kind::text) { u_.s = new std::string(std::move(s)); }
  Value(const char* s) : Value(std::string(s)) {}

  Value(const Value& other) : kind_(other.kind_), u_(other.u_) {
    if (kind_ == Kind::text) u_.s = new std::string(*other.u_.s);
  }
  Value(Value&& other) noexcept : kind_(std::exchange(other.kind_, Kind::null)), u_(other.u_) {}
  Value& operator=(const Value& other) {
    if (this != &other) *this = Value(other);
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      release();
      kind_ = std::exchange(other.kind_, Kind::null);
      u_ = other.u_;
    }
    return *this;
  }
  ~Value() { release(); }

  [[nodiscard]] bool isNull() const { return kind_ == Kind::null; }
  [[nodiscard]] bool isInteger() const { return kind_ == Kind::integer; }
  [[nodiscard]] bool isReal() const { return kind_ == Kind::real; }
  [[nodiscard]] bool isNumber() const { return isInteger() || isReal(); }
  [[nodiscard]] bool isText() const { return kind_ == Kind::text; }

  // Throw TypeError for another class; asDouble reads integers too.
  [[nodiscard]] std::int64_t asInteger() const {
    if (kind_ != Kind::integer) failType("an integer");
    return u_.i;
  }
  [[nodiscard]] double asDouble() const {
    if (kind_ == Kind::real) return u_.d;
    if (kind_ != Kind::integer) failType("a number");
    return static_cast<double>(u_.i);
  }
  [[nodiscard]] const std::string& asText() const {
    if (kind_ != Kind::text) failType("text");
    return *u_.s;
  }
  // The text moved out, leaving NULL; TypeError for another class.
  [[nodiscard]] std::string takeText() {
    std::string text = std::move(const_cast<std::string&>(asText()));
    release();
    kind_ = Kind::null;
    return text;
  }

  // The host's text form: integer 5 gives "5", double 5.0 gives "5.0", NULL gives "None",
  // text is itself.
  [[nodiscard]] std::string str() const;

  // Numbers compare by value across integer and double (5 == 5.0); text never equals a
  // number; NULL equals only NULL.
  friend bool operator==(const Value& a, const Value& b);

 private:
  enum class Kind : std::uint8_t { null, integer, real, text };
  union Payload {
    std::int64_t i;
    double d;
    std::string* s;
  };
  void release() noexcept {
    if (kind_ == Kind::text) delete u_.s;
  }
  [[noreturn]] void failType(const char* expected) const;

  Kind kind_ = Kind::null;
  Payload u_;
};

}  // namespace db
