#pragma once
// GlobalIds, element assemblies of composite members, and the concrete material.

#include <string>
#include <string_view>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"

namespace Utils {

// A new IFC GlobalId (22 characters) of a time-based UUID.
[[nodiscard]] std::string create_guid();

// An IfcElementAssembly named `name` aggregating `elements` (in their order) through an
// IfcRelAggregates named "Assembly".
ifc::Entity CreateAssembly(const RunContext& ctx, std::string_view name,
                           const std::vector<ifc::Entity>& elements);

// Associates a new IfcMaterial "Concrete" with `element`.
void AddMaterial(const RunContext& ctx, const ifc::Entity& element);

}  // namespace Utils
