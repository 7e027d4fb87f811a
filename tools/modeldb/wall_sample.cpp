#include "modeldb/wall_sample.h"

#include <cmath>
#include <map>
#include <utility>

#include "modeldb/modeldb.h"

namespace modeldb {

void writeWallSample(const std::filesystem::path& path) {
  ModelDb m;
  m.setProject({.name = "墙示例", .mat = 6});
  const Value sf = m.add(StdFloor{.no = 1, .height = 3000, .para = "0,120"});
  m.add(Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0, .height = 3000});
  const Value wall200 = m.add(WallSect{.b = 200});
  const Value wall300 = m.add(WallSect{.b = 300});
  const Value beam300 = m.add(BeamSect{.shapeVal = "1,300,600"});
  const Value beam600 = m.add(BeamSect{.shapeVal = "1,600,600"});
  const Value door = m.add(WallHoleDef{.b = 900, .h = 2100});
  const Value slot = m.add(WallHoleDef{.b = 900, .h = 3000});
  const Value window = m.add(WallHoleDef{.b = 1200, .h = 1500});
  const Value narrow = m.add(WallHoleDef{.b = 800, .h = 1500});

  std::map<std::pair<double, double>, Value> joints;
  auto jt = [&](double x, double y) {
    auto [it, added] = joints.try_emplace({x, y});
    if (added) it->second = m.joint(sf, x, y);
    return it->second;
  };
  auto line = [&](double x1, double y1, double x2, double y2) {
    return m.line(jt(x1, y1), jt(x2, y2));
  };
  auto wall = [&](const Value& grid, const Value& sect, const Value& id = Value()) {
    m.add(WallSeg{.id = id, .stdFlr = sf, .grid = grid, .sect = sect});
  };
  auto beam = [&](double x1, double y1, double x2, double y2, const Value& sect) {
    m.add(BeamSeg{.stdFlr = sf, .grid = line(x1, y1, x2, y2), .sect = sect});
  };

  // A skew joint under a wide beam.
  const double skewY = 1500 * std::sqrt(3.0);
  wall(line(0, 0, 6000, 0), wall200, 101);
  wall(line(6000, 0, 4500, skewY), wall300);
  beam(6000, 0, 4500, skewY, beam600);

  // An L and a tee of walls, beams over every wall.
  double y = 20000;
  wall(line(0, y, 6000, y), wall200, 201);
  wall(line(0, y, 0, y + 4000), wall200);
  beam(0, y, 6000, y, beam300);
  beam(0, y, 0, y + 4000, beam300);
  y = 40000;
  wall(line(0, y, 3000, y), wall200);
  wall(line(3000, y, 6000, y), wall200);
  wall(line(3000, y, 3000, y + 4000), wall200, 301);
  beam(0, y, 3000, y, beam300);
  beam(3000, y, 6000, y, beam300);
  beam(3000, y, 3000, y + 4000, beam300);

  // An arc wall, a quarter circle.
  y = 60000;
  wall(m.arc(jt(0, y), jt(5000, y), jt(0, y + 5000)), wall200, 401);

  // A wall with openings.
  y = 80000;
  const Value holed = line(0, y, 6000, y);
  wall(holed, wall200, 501);
  m.add(WallHole{.stdFlr = sf, .grid = holed, .sect = slot, .ecc = 1, .hDiff = 0});
  m.add(WallHole{.stdFlr = sf, .grid = holed, .sect = window, .ecc = 0, .hDiff = 900});
  m.add(WallHole{.stdFlr = sf, .grid = holed, .sect = door, .ecc = -1, .hDiff = 0});
  m.add(WallHole{.stdFlr = sf, .grid = holed, .sect = narrow, .ecc = 4000, .hDiff = 900});

  m.write(path);
}

}  // namespace modeldb
