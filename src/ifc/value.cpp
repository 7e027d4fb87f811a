#include "ifc/value.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ifc {

struct Value::TypedData {
  std::string typeName;
  Value inner;
};

namespace {
[[noreturn]] void wrongKind(const char* wanted) {
  throw std::logic_error(std::string("ifc::Value is not ") + wanted);
}
}  // namespace

std::int64_t Value::checkedInt(unsigned long long i) {
  if (i > static_cast<unsigned long long>(INT64_MAX)) {
    throw std::out_of_range("integer " + std::to_string(i) + " is too large for an IFC INTEGER");
  }
  return static_cast<std::int64_t>(i);
}

Value Value::typed(std::string_view typeName, Value inner) {
  Value v;
  v.v_ = std::make_shared<const TypedData>(TypedData{std::string(typeName), std::move(inner)});
  return v;
}

bool Value::asBool() const {
  if (const bool* b = std::get_if<bool>(&v_)) return *b;
  wrongKind("a boolean");
}

Logical Value::asLogical() const {
  if (const Logical* l = std::get_if<Logical>(&v_)) return *l;
  if (const bool* b = std::get_if<bool>(&v_)) return *b ? Logical::True : Logical::False;
  wrongKind("a logical");
}

std::int64_t Value::asInt() const {
  if (const std::int64_t* i = std::get_if<std::int64_t>(&v_)) return *i;
  wrongKind("an integer");
}

double Value::asDouble() const {
  if (const double* d = std::get_if<double>(&v_)) return *d;
  if (const std::int64_t* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
  wrongKind("a number");
}

const std::string& Value::asString() const {
  if (const std::string* s = std::get_if<std::string>(&v_)) return *s;
  wrongKind("a string");
}

const std::string& Value::asEnum() const {
  if (const Enum* e = std::get_if<Enum>(&v_)) return e->item;
  wrongKind("an enumeration item");
}

Entity Value::asEntity() const {
  if (const Entity* e = std::get_if<Entity>(&v_)) return *e;
  wrongKind("an entity reference");
}

const List& Value::asList() const {
  if (const List* l = std::get_if<List>(&v_)) return *l;
  wrongKind("an aggregate");
}

const std::string& Value::typeName() const {
  if (const auto* t = std::get_if<std::shared_ptr<const TypedData>>(&v_)) return (*t)->typeName;
  wrongKind("a typed value");
}

const Value& Value::inner() const {
  if (const auto* t = std::get_if<std::shared_ptr<const TypedData>>(&v_)) return (*t)->inner;
  wrongKind("a typed value");
}

bool operator==(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return false;
  if (a.kind() == Value::Kind::Typed) {
    return a.typeName() == b.typeName() && a.inner() == b.inner();
  }
  return a.v_ == b.v_;
}

}  // namespace ifc
