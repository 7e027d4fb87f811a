#include "modeldb/slab_sample.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "modeldb/modeldb.h"

namespace modeldb {

void writeSlabSample(const std::filesystem::path& path) {
  ModelDb m;
  m.setProject({.name = "楼板示例", .mat = 6});
  const Value sf = m.add(StdFloor{.no = 1, .height = 3000, .para = "0,120"});
  m.add(Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0, .height = 3000});

  std::map<std::pair<double, double>, Value> joints;
  auto jt = [&](double x, double y, double hDiff = 0) {
    auto [it, added] = joints.try_emplace({x, y});
    if (added) it->second = m.joint(sf, x, y, hDiff);
    return it->second;
  };
  struct Corner {
    double x, y, hDiff = 0;
  };
  std::map<std::pair<std::int64_t, std::int64_t>, Value> lines;
  auto line = [&](const Corner& a, const Corner& b) {
    const Value ja = jt(a.x, a.y, a.hDiff), jb = jt(b.x, b.y, b.hDiff);
    auto [it, added] = lines.try_emplace(std::minmax({ja.asInteger(), jb.asInteger()}));
    if (added) it->second = m.line(ja, jb);
    return it->second;
  };
  auto slab = [&](const Value& id, const std::vector<Corner>& c, const Value& thick) {
    std::vector<Value> grids;
    for (std::size_t i = 0; i < c.size(); ++i) grids.push_back(line(c[i], c[(i + 1) % c.size()]));
    return m.add(Slab{.id = id, .stdFlr = sf, .grids = grids, .thick = thick});
  };

  // A plain slab with an opening and a balcony as thick as the slab behind it.
  const Value plain = slab(101, {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}}, 9999);
  const Value hole = m.add(SlabHoleDef{.shapeVal = "1,1000,800"});
  m.add(SlabHole{.id = 102, .stdFlr = sf, .slab = plain, .jt = jt(2000, 1500), .sect = hole});
  m.add(CantiSlab{.id = 501,
                  .stdFlr = sf,
                  .grid = line({0, 0}, {6000, 0}),
                  .ecc = 1000,
                  .side = -1,
                  .length = 3000,
                  .width = 1500,
                  .thick = 0});

  // A slab sloped 600 mm up to the east.
  slab(201, {{10000, 0}, {16000, 0, 600}, {16000, 4000, 600}, {10000, 4000}}, 150);

  // A quarter disc and a band along its arc.
  const Value arc = m.arc(jt(20000, 0), jt(25000, 0), jt(20000, 5000));
  m.add(Slab{.id = 301,
             .stdFlr = sf,
             .grids = {arc, line({20000, 5000}, {20000, 0}), line({20000, 0}, {25000, 0})},
             .thick = 9999});
  m.add(CantiSlab{.id = 601, .stdFlr = sf, .grid = arc, .side = 1, .width = 1000, .thick = 150});

  // A dropped region.
  const Value folded = slab(401, {{30000, 0}, {36000, 0}, {36000, 4000}, {30000, 4000}}, 9999);
  m.fold(folded, {{31000, 1000}, {33000, 1000}, {33000, 3000}, {31000, 3000}}, {100, 0, 0, 0}, 50,
         200);

  // A warped quadrilateral.
  slab(701, {{40000, 0}, {46000, 0}, {46000, 4000, 300}, {40000, 4000}}, 9999);

  // A thin triangle listed from its sharpest corner.
  slab(801, {{60000, 50}, {50000, 0}, {60000, 0}}, 9999);
  // A slab on a level grid whose Z list is shorter than its outline.
  m.add(Slab{.id = 802,
             .stdFlr = sf,
             .grids = {line({62000, 0}, {68000, 0}), line({68000, 0}, {68000, 4000}),
                       line({68000, 4000}, {62000, 4000}), line({62000, 4000}, {62000, 0})},
             .thick = 9999,
             .vertZ = Value("0,50,")});
  m.write(path);
}

}  // namespace modeldb
