// Writes a model database of one storey 12000 mm high, taller than a slab opening's usual
// reach, holding a slab with an opening and straight walls whose ends meet beams at skew
// angles, for tall_storey_check.mjs to read back through the converted file.
//
// usage: members_tall_storey_model <file.sdb>

#include <cmath>
#include <exception>
#include <iostream>
#include <numbers>

#include "modeldb/modeldb.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: members_tall_storey_model <file.sdb>\n";
    return 2;
  }
  try {
    using modeldb::Value;
    modeldb::ModelDb m;
    const Value sf = m.add(modeldb::StdFloor{.no = 1, .height = 12000, .para = "0,120"});
    m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .levelB = 0, .height = 12000});
    auto jt = [&](double x, double y) { return m.joint(sf, x, y); };

    // Slab_101: 6000 x 4000 with a 1000 x 800 opening, its top at the storey's top.
    const Value corners[] = {jt(0, 0), jt(6000, 0), jt(6000, 4000), jt(0, 4000)};
    m.add(modeldb::Slab{.id = 101,
                        .stdFlr = sf,
                        .grids = {m.line(corners[0], corners[1]), m.line(corners[1], corners[2]),
                                  m.line(corners[2], corners[3]), m.line(corners[3], corners[0])}});
    m.add(modeldb::SlabHole{.stdFlr = sf,
                            .slab = 101,
                            .jt = jt(2000, 1500),
                            .sect = m.add(modeldb::SlabHoleDef{.shapeVal = "1,1000,800"})});

    // Wall_201 from (0, 20000) to (6000, 20000): at end 2 a beam 300 wide with Ecc 200 at 70
    // degrees, its left side towards the end; at end 1 one at 76 degrees. Wall_301 likewise
    // at y 40000, the beam at end 2 drawn the other way.
    const Value wall = m.add(modeldb::WallSect{.b = 200});
    const Value beam = m.add(modeldb::BeamSect{.shapeVal = "1,300,600"});
    // The joint 2000 mm from (x, y) at `degrees` from +X.
    auto away = [&](double x, double y, double degrees) {
      const double a = degrees * std::numbers::pi / 180;
      return jt(x + 2000 * std::cos(a), y + 2000 * std::sin(a));
    };
    auto add = [&](const Value& grid, const Value& ecc) {
      m.add(modeldb::BeamSeg{.stdFlr = sf, .grid = grid, .sect = beam, .ecc = ecc});
    };
    const Value a1 = jt(0, 20000), a2 = jt(6000, 20000), b1 = jt(0, 40000), b2 = jt(6000, 40000);
    m.add(modeldb::WallSeg{.id = 201, .stdFlr = sf, .grid = m.line(a1, a2), .sect = wall});
    add(m.line(a2, away(6000, 20000, -70)), 200);
    add(m.line(a1, away(0, 20000, 76)), 0);
    m.add(modeldb::WallSeg{.id = 301, .stdFlr = sf, .grid = m.line(b1, b2), .sect = wall});
    add(m.line(away(6000, 40000, -70), b2), 200);
    m.write(argv[1]);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "members_tall_storey_model: " << e.what() << "\n";
    return 1;
  }
}
