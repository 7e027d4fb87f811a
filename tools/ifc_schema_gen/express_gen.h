#pragma once
// Reads an EXPRESS schema (the subset the IFC schemas use) and emits the C++ tables of
// src/ifc/schema/schema.h for it.

#include <stdexcept>
#include <string>
#include <string_view>

namespace ifc_schema_gen {

class GenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Returns the text of one generated source file. inputName and command go into the banner.
[[nodiscard]] std::string generate(std::string_view express, std::string_view inputName,
                                   std::string_view command);

}  // namespace ifc_schema_gen
