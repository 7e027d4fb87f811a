#pragma once
// Attribute values of IFC entities, as they appear in an ISO 10303-21 file:
// unset ($), derived (*), BOOLEAN and LOGICAL (.T. .F. .U.), INTEGER, REAL, STRING,
// enumeration items (.AREA.), entity references (#12), typed values in select attributes
// (IFCLABEL('3')) and aggregates, nested.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ifc {

class Entity;
class Model;
class Value;

struct Unset {
  friend bool operator==(Unset, Unset) { return true; }
};
struct Derived {
  friend bool operator==(Derived, Derived) { return true; }
};
enum class Logical : std::uint8_t { False, True, Unknown };

// An enumeration item, written without the dots: Enum{"AREA"}.
struct Enum {
  std::string item;
  friend bool operator==(const Enum&, const Enum&) = default;
};

using List = std::vector<Value>;

// A light, non-owning handle to an entity of a model; the model owns every entity and
// never deletes one, so a handle stays valid for the model's lifetime. A default-made
// handle refers to nothing.
class Entity {
 public:
  Entity() = default;
  Entity(const Model* model, std::uint32_t id) : model_(model), id_(id) {}

  [[nodiscard]] std::uint32_t id() const { return id_; }
  [[nodiscard]] const Model* model() const { return model_; }
  explicit operator bool() const { return model_ != nullptr; }

  // Canonical type name, for example "IfcBeam".
  [[nodiscard]] const std::string& type() const;
  // True when the entity is of this type or of a subtype of it (case-insensitive name).
  [[nodiscard]] bool is_a(std::string_view type) const;

  [[nodiscard]] Value get(std::string_view attribute) const;
  [[nodiscard]] Value get(std::size_t index) const;
  // Checked against the schema like creation; throws SchemaError on a mismatch.
  void set(std::string_view attribute, Value value) const;
  void set(std::size_t index, Value value) const;

  // Entities whose forward attribute points here, for an inverse attribute of this type
  // (IsDecomposedBy, HasOpenings, IsDefinedBy, ContainedInStructure, VoidsElements, ...),
  // in creation order.
  [[nodiscard]] std::vector<Entity> inverse(std::string_view name) const;

  friend bool operator==(const Entity& a, const Entity& b) {
    return a.model_ == b.model_ && a.id_ == b.id_;
  }
  // Handles of one model order by number (creation order); usable as keys of ordered maps.
  friend bool operator<(const Entity& a, const Entity& b) {
    return a.model_ != b.model_ ? std::less<const Model*>()(a.model_, b.model_) : a.id_ < b.id_;
  }

 private:
  const Model* model_ = nullptr;
  std::uint32_t id_ = 0;
};

class Value {
 public:
  enum class Kind : std::uint8_t {
    Unset,
    Derived,
    Boolean,
    Logical,
    Integer,
    Real,
    String,
    Enum,
    Entity,
    Typed,
    List
  };

  Value() = default;  // unset
  Value(Unset) {}
  Value(Derived d) : v_(d) {}
  Value(bool b) : v_(b) {}
  Value(Logical l) : v_(l) {}
  Value(int i) : v_(std::int64_t{i}) {}
  Value(long i) : v_(std::int64_t{i}) {}
  Value(long long i) : v_(std::int64_t{i}) {}
  // Unsigned counts are taken as INTEGER; throws std::out_of_range beyond the signed range.
  Value(unsigned int i) : v_(std::int64_t{i}) {}
  Value(unsigned long i) : v_(checkedInt(i)) {}
  Value(unsigned long long i) : v_(checkedInt(i)) {}
  Value(double d) : v_(d) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(Enum e) : v_(std::move(e)) {}
  Value(Entity e) : v_(e) {}
  Value(List items) : v_(std::move(items)) {}
  // Aggregates of references or of reals, for example RelatedObjects or Coordinates.
  Value(const std::vector<Entity>& items) : v_(List(items.begin(), items.end())) {}
  Value(const std::vector<double>& items) : v_(List(items.begin(), items.end())) {}
  // A defined type's value inside a select attribute, for example
  // Value::typed("IfcLengthMeasure", 3600.0).
  [[nodiscard]] static Value typed(std::string_view typeName, Value inner);

  Value(const Value&) = default;
  Value(Value&&) noexcept = default;
  Value& operator=(const Value&) = default;
  Value& operator=(Value&&) noexcept = default;
  ~Value() = default;

  [[nodiscard]] Kind kind() const { return static_cast<Kind>(v_.index()); }
  [[nodiscard]] bool isUnset() const { return kind() == Kind::Unset; }

  // Accessors throw std::logic_error when the value is of another kind; asDouble also
  // reads an Integer.
  [[nodiscard]] bool asBool() const;
  [[nodiscard]] Logical asLogical() const;
  [[nodiscard]] std::int64_t asInt() const;
  [[nodiscard]] double asDouble() const;
  [[nodiscard]] const std::string& asString() const;
  [[nodiscard]] const std::string& asEnum() const;
  [[nodiscard]] Entity asEntity() const;
  [[nodiscard]] const List& asList() const;
  [[nodiscard]] const std::string& typeName() const;  // of a Typed value
  [[nodiscard]] const Value& inner() const;           // of a Typed value

  friend bool operator==(const Value& a, const Value& b);

 private:
  static std::int64_t checkedInt(unsigned long long i);
  struct TypedData;
  // Alternatives in the order of Kind.
  std::variant<Unset, Derived, bool, Logical, std::int64_t, double, std::string, Enum, Entity,
               std::shared_ptr<const TypedData>, List>
      v_;
};

}  // namespace ifc

template <>
struct std::hash<ifc::Entity> {
  std::size_t operator()(const ifc::Entity& e) const noexcept {
    return std::hash<const void*>()(e.model()) ^ (std::size_t{e.id()} * 0x9E3779B97F4A7C15ull);
  }
};
