#pragma once
// The slab sample: one storey of slabs, a slab opening and cantilever slabs, for the
// interoperability check of their bodies (tests/members/interop/slabs_check.mjs).

#include <filesystem>

namespace modeldb {

// Writes sample_slabs.sdb: on one standard floor 3000 high (default slab thickness 120) with
// one real floor at 0, each case 10 m apart in x:
//   x =     0  Slab_101 (0,0)-(6000,4000), with the 1000 x 800 opening Slab_Hole 102 from
//              (2000,1500); CantiSlab_501 off its south edge, 1500 wide, from x = 1000 to
//              4000, as thick as the slab (code 0)
//   x = 10000  Slab_201 (10000,0)-(16000,4000), 150 thick, sloped 600 up to the east
//   x = 20000  Slab_301, the quarter disc of radius 5000 about (20000,0); CantiSlab_601, a
//              band 1000 wide and 150 thick outside its arc
//   x = 30000  Slab_401 (30000,0)-(36000,4000) with a dropped region (31000,1000)-
//              (33000,3000), 50 lower, 200 thick, widened 100 to the south
//   x = 40000  Slab_701, a quadrilateral (40000,0)-(46000,4000) with its north-east corner
//              raised 300, built as the two triangles Slab_701_1 and Slab_701_2
//   x = 50000  Slab_801, the triangle (50000,0), (60000,0), (60000,50), listed from its
//              corner of 0.29 degrees
//   x = 62000  Slab_802 (62000,0)-(68000,4000) on a level grid, its Z list two items short
void writeSlabSample(const std::filesystem::path& path);

}  // namespace modeldb
