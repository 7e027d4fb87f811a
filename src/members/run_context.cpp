#include "members/run_context.h"

#include <string>

namespace Utils {

void requireComplete(const RunContext& ctx) {
  const struct {
    const ifc::Entity& entity;
    const char* what;
  } shared[] = {
      {ctx.ownerHistory, "owner history (IfcOwnerHistory)"},
      {ctx.context, "representation context (IfcGeometricRepresentationContext)"},
      {ctx.origin, "origin"},
      {ctx.directionX, "direction X"},
      {ctx.directionY, "direction Y"},
      {ctx.directionZ, "direction Z"},
      {ctx.placement, "shared placement"},
  };
  for (const auto& [entity, what] : shared) {
    if (!entity) throw RunContextError(std::string("the run context has no ") + what);
    if (entity.model() != &ctx.model) {
      throw RunContextError(std::string("the run context's ") + what + " belongs to another model");
    }
  }
}

}  // namespace Utils
