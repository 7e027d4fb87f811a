#pragma once
// Static description of an IFC schema, as emitted by tools/ifc_schema_gen from the EXPRESS
// files: entities (sorted by upper-case name) with their flattened attribute lists, inverse
// attributes, defined types, enumerations and selects. Everything is constant data; one
// schema-agnostic table drives creation checks, the reader, the writer and validate().

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ifc::schema {

enum class Simple : std::uint8_t { Real, Integer, Number, Boolean, Logical, String, Binary };

enum class NodeKind : std::uint8_t {
  Simple,       // ref: Simple
  Entity,       // ref: entity index
  Defined,      // ref: defined type index
  Enumeration,  // ref: enumeration index
  Select,       // ref: select index
  List,         // ref: element node; lower/upper bounds
  Set,
  Array,
  Bag,
};

inline constexpr std::int32_t kUnbounded = -1;

// One type expression. Aggregates refer to their element node.
struct TypeNode {
  NodeKind kind;
  std::uint16_t ref;
  std::int32_t lower;
  std::int32_t upper;  // kUnbounded for '?'
};

struct AttributeDef {
  const char* name;
  std::uint16_t node;
  bool optional;
  bool derived;  // redeclared as DERIVE in this entity or a supertype: written as *
};

struct InverseDef {
  const char* name;
  std::uint16_t entity;     // the referring entity type
  std::uint16_t attribute;  // index of the forward attribute in that entity's list
};

struct EntityDef {
  const char* name;
  const char* upper;
  std::int32_t supertype;  // -1 for roots
  bool abstract;
  std::uint16_t firstAttribute;  // into SchemaDef::attributes; inherited ones first
  std::uint16_t attributeCount;
  std::uint16_t firstInverse;  // into SchemaDef::inverses; inherited ones included
  std::uint16_t inverseCount;
};

struct DefinedTypeDef {
  const char* name;
  const char* upper;
  std::uint16_t node;  // underlying type
};

struct EnumerationDef {
  const char* name;
  const char* upper;
  std::uint16_t firstItem;  // into SchemaDef::items
  std::uint16_t itemCount;
};

struct SelectMember {
  NodeKind kind;  // Entity, Defined, Enumeration or Select
  std::uint16_t index;
};

struct SelectDef {
  const char* name;
  const char* upper;
  std::uint16_t firstMember;  // into SchemaDef::members
  std::uint16_t memberCount;
};

struct SchemaDef {
  const char* name;
  std::span<const EntityDef> entities;
  std::span<const AttributeDef> attributes;
  std::span<const InverseDef> inverses;
  std::span<const TypeNode> nodes;
  std::span<const DefinedTypeDef> definedTypes;
  std::span<const EnumerationDef> enumerations;
  std::span<const char* const> items;
  std::span<const SelectDef> selects;
  std::span<const SelectMember> members;
};

extern const SchemaDef kIfc2x3;
extern const SchemaDef kIfc4;

// "IFC2X3" or "IFC4" (case-insensitive); nullptr for any other name.
[[nodiscard]] const SchemaDef* findSchema(std::string_view name);

// Case-insensitive lookups by name.
[[nodiscard]] std::optional<std::uint16_t> findEntity(const SchemaDef& s, std::string_view name);
// A defined type or an enumeration usable as a typed value: kind Defined or Enumeration.
[[nodiscard]] std::optional<SelectMember> findNamedType(const SchemaDef& s, std::string_view name);

[[nodiscard]] bool isSubtype(const SchemaDef& s, std::uint16_t entity, std::uint16_t ancestor);
// Whether a select (through nested selects) admits the entity / named type.
[[nodiscard]] bool selectAdmitsEntity(const SchemaDef& s, std::uint16_t select,
                                      std::uint16_t entity);
[[nodiscard]] bool selectAdmitsNamed(const SchemaDef& s, std::uint16_t select, SelectMember named);

[[nodiscard]] inline std::span<const AttributeDef> attributesOf(const SchemaDef& s,
                                                                std::uint16_t entity) {
  const EntityDef& e = s.entities[entity];
  return s.attributes.subspan(e.firstAttribute, e.attributeCount);
}
[[nodiscard]] inline std::span<const InverseDef> inversesOf(const SchemaDef& s,
                                                            std::uint16_t entity) {
  const EntityDef& e = s.entities[entity];
  return s.inverses.subspan(e.firstInverse, e.inverseCount);
}
// Index of the item in the enumeration (case-insensitive), if any.
[[nodiscard]] std::optional<std::uint16_t> findItem(const SchemaDef& s, std::uint16_t enumeration,
                                                    std::string_view item);

}  // namespace ifc::schema
