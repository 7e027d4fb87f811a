#pragma once
// The wall sample: one storey of walls joined as a modeller draws them, for the wall tests
// and the interoperability check of their bodies (tests/members/interop/walls_check.mjs).

#include <filesystem>

namespace modeldb {

// Writes sample_walls.sdb: on one standard floor 3000 high with one real floor at 0, each
// case on a line of its own, 20 m apart in y:
//   y =     0  Wall_101 (0,0)-(6000,0), 200 thick, meets a 300 wall at 60 degrees at end 2
//              under a 600 wide beam: carried to (6300,0), cut flush with the wall's face
//   y = 20000  an L of two walls under beams; Wall_201 along x reaches x = -150
//   y = 40000  a tee of walls under beams; its stem Wall_301 reaches y = 40000 - 150
//   y = 60000  Wall_401, an arc wall about (0, 60000) from (5000, 60000) to (0, 65000)
//   y = 80000  Wall_501 (0,80000)-(6000,80000) with openings of codes 1 (a full-height
//              door), 0 and -1 and one 4000 from end 1
void writeWallSample(const std::filesystem::path& path);

}  // namespace modeldb
