#include "ifc/schema/schema.h"

#include <algorithm>
#include <unordered_map>

namespace ifc::schema {
namespace {

// ASCII only and locale-free: schema names are ASCII.
char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares a table's upper-case name with a name of any case.
int compareUpper(const char* tableUpper, std::string_view name) {
  std::size_t i = 0;
  for (; tableUpper[i] != '\0' && i < name.size(); ++i) {
    const char a = tableUpper[i], b = upperChar(name[i]);
    if (a != b) return static_cast<unsigned char>(a) < static_cast<unsigned char>(b) ? -1 : 1;
  }
  if (tableUpper[i] == '\0') return i == name.size() ? 0 : -1;
  return 1;
}

template <typename T>
std::optional<std::uint16_t> findSorted(std::span<const T> table, std::string_view name) {
  auto it = std::lower_bound(
      table.begin(), table.end(), name,
      [](const T& def, std::string_view n) { return compareUpper(def.upper, n) < 0; });
  if (it == table.end() || compareUpper(it->upper, name) != 0) return std::nullopt;
  return static_cast<std::uint16_t>(it - table.begin());
}

}  // namespace

const SchemaDef* findSchema(std::string_view name) {
  for (const SchemaDef* s : {&kIfc2x3, &kIfc4}) {
    if (compareUpper(s->name, name) == 0) return s;
  }
  return nullptr;
}

namespace {

using EntityIndex = std::unordered_map<std::string_view, std::uint16_t>;

EntityIndex makeEntityIndex(const SchemaDef& s) {
  EntityIndex index;
  index.reserve(s.entities.size() * 2);
  for (std::size_t k = 0; k < s.entities.size(); ++k) {
    index.emplace(s.entities[k].upper, static_cast<std::uint16_t>(k));
  }
  return index;
}

}  // namespace

// Entity types are looked up at every create, so besides the sorted table there is a hash
// index, made on first use.
std::optional<std::uint16_t> findEntity(const SchemaDef& s, std::string_view name) {
  char upper[64];
  if (name.size() > sizeof upper || (&s != &kIfc2x3 && &s != &kIfc4)) {
    return findSorted(s.entities, name);
  }
  for (std::size_t k = 0; k < name.size(); ++k) upper[k] = upperChar(name[k]);
  static const EntityIndex index2x3 = makeEntityIndex(kIfc2x3);
  static const EntityIndex index4 = makeEntityIndex(kIfc4);
  const EntityIndex& index = &s == &kIfc2x3 ? index2x3 : index4;
  const auto it = index.find(std::string_view(upper, name.size()));
  if (it == index.end()) return std::nullopt;
  return it->second;
}

std::optional<SelectMember> findNamedType(const SchemaDef& s, std::string_view name) {
  if (auto i = findSorted(s.definedTypes, name)) return SelectMember{NodeKind::Defined, *i};
  if (auto i = findSorted(s.enumerations, name)) return SelectMember{NodeKind::Enumeration, *i};
  return std::nullopt;
}

bool isSubtype(const SchemaDef& s, std::uint16_t entity, std::uint16_t ancestor) {
  std::int32_t e = entity;
  while (e >= 0) {
    if (e == ancestor) return true;
    e = s.entities[static_cast<std::size_t>(e)].supertype;
  }
  return false;
}

bool selectAdmitsEntity(const SchemaDef& s, std::uint16_t select, std::uint16_t entity) {
  const SelectDef& d = s.selects[select];
  for (const SelectMember& m : s.members.subspan(d.firstMember, d.memberCount)) {
    if (m.kind == NodeKind::Entity && isSubtype(s, entity, m.index)) return true;
    if (m.kind == NodeKind::Select && selectAdmitsEntity(s, m.index, entity)) return true;
  }
  return false;
}

bool selectAdmitsNamed(const SchemaDef& s, std::uint16_t select, SelectMember named) {
  const SelectDef& d = s.selects[select];
  for (const SelectMember& m : s.members.subspan(d.firstMember, d.memberCount)) {
    if (m.kind == named.kind && m.index == named.index) return true;
    if (m.kind == NodeKind::Select && selectAdmitsNamed(s, m.index, named)) return true;
  }
  return false;
}

std::optional<std::uint16_t> findItem(const SchemaDef& s, std::uint16_t enumeration,
                                      std::string_view item) {
  const EnumerationDef& d = s.enumerations[enumeration];
  for (std::uint16_t i = 0; i < d.itemCount; ++i) {
    if (compareUpper(s.items[d.firstItem + i], item) == 0) return i;
  }
  return std::nullopt;
}

}  // namespace ifc::schema
