#include "driver/products.h"

#include <stdexcept>

namespace Verdamo {

std::string describe(const ifc::Entity& entity) {
  std::string text = "#";
  text += std::to_string(entity.id());
  text += ' ';
  text += entity.type();
  return text;
}

ifc::List partsOf(const ifc::Entity& assembly) {
  const auto decomposition = assembly.inverse("IsDecomposedBy");
  if (decomposition.empty()) throw std::runtime_error(describe(assembly) + " has no parts");
  return decomposition.front().get("RelatedObjects").asList();
}

}  // namespace Verdamo
