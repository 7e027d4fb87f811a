// Cantilever slabs of one standard floor (not built yet).
#include "members/floor_members.h"

namespace Utils {

void buildCantiSlabs(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}

}  // namespace Utils
