#pragma once
// Texts of SchemaError messages: the refused value and the type it was checked against.

#include <cstdint>
#include <string>

#include "ifc/schema/schema.h"
#include "ifc/value.h"

namespace ifc::detail {

// A short STEP-like rendering of a value: long strings and lists cut short.
std::string describe(const Value& v);

// A type as the schema names it ("IFCLABEL", "LIST OF IFCCARTESIANPOINT").
std::string nodeName(const schema::SchemaDef& s, std::uint16_t node);

}  // namespace ifc::detail
