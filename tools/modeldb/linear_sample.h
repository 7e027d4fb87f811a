#pragma once
// The linear-member sample: one storey of beams, columns, a secondary beam and a brace whose
// bodies have known boxes, for the interoperability check of their geometry
// (tests/members/interop/linear_check.mjs).

#include <filesystem>

namespace modeldb {

// Writes sample_linear.sdb (IFC4: it holds tapered sections): one standard floor 3000 high
// with one real floor at 0, each case 10 m apart in x, 600 deep unless said otherwise, with
// its top at the storey top:
//   x =     0  Beam_1001 (0,0)-(6000,0), 300 wide, resting at (0,0) on Beam_1002, 400 wide,
//              which leaves that joint at 60 degrees: a skew joint, trimmed and cut
//   x = 10000  Beam_1003 (10000,0)-(16000,0), kind 21 "21,300,800,500": 800 deep at end 1,
//              500 at end 2
//   x = 20000  Beam_1004 (20000,0)-(26000,0), kind 23 "23,400,800,600,10,20", voided by
//              Hole_1004
//   x = 30000  Brace_1101, a 200 x 100 rectangle from (30000,0) at the storey base to
//              (30000,4000) at the storey top
//   x = 40000  Columm_1207, 600 x 400, turned 30 degrees, 100 off its joint along its turned x
//   x = 50000  Column_1208, a composite of a 400 x 600 rectangle and a 200 x 300 I
//   x = 60000  SubBeam_1301 (60000,0)-(66000,0), an I 200 x 400, its top falling 600 to end 2
//   x = 70000  Beam_1005 (70000,0)-(76000,0), kind 21 as Beam_1003, its top falling 200 to
//              end 2
//   x = 80000  Beam_1006 (80000,0)-(86000,0), kind 23 "23,400,800,600,20,300": its plates
//              meet at end 2, so it is built without a void
//   x = 90000  Beam_1007 (90000,0)-(96000,0), 300 wide, resting at its end 2 on Beam_1008,
//              400 wide, which leaves that joint square to (96000,4000)
// and 500 x 500 columns (Columm_1201 to 1206, 1209 to 1214) at the beams' other ends.
void writeLinearSample(const std::filesystem::path& path);

}  // namespace modeldb
