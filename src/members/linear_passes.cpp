// Beams, secondary beams, columns and braces of one standard floor (not built yet).
#include "members/floor_members.h"

namespace Utils {

void buildBeams(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}
void buildSubBeams(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}
void buildColumns(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}
void buildBraces(const FloorBuild& /*build*/, std::vector<ifc::Entity>& /*objectlists*/) {}

}  // namespace Utils
