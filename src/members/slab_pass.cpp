// Slabs of one standard floor with their openings (not built yet).
#include "members/floor_members.h"

namespace Utils {

void buildSlabs(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}

}  // namespace Utils
