#pragma once
// Small helpers on the products of a storey.

#include <string>

#include "ifc/value.h"

namespace Verdamo {

// "#12 IfcBeam": how errors name an entity.
[[nodiscard]] std::string describe(const ifc::Entity& entity);

// The parts of an element assembly: the objects of its first decomposition relation. Throws
// std::runtime_error naming the assembly when it has none.
[[nodiscard]] ifc::List partsOf(const ifc::Entity& assembly);

}  // namespace Verdamo
