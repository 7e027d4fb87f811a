// Synthetic model databases of large regular buildings (see synthetic.h).

#include "modeldb/synthetic.h"

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "modeldb/modeldb.h"

namespace modeldb {

namespace md = modeldb;
using Params = SyntheticParams;

SyntheticParams syntheticPreset(std::string_view name) {
  if (name == "small") return {2, 4, 4, 3};
  if (name == "medium") return {6, 20, 12, 10};
  if (name == "large") return {28, 56, 40, 32};
  throw std::invalid_argument("unknown preset " + std::string(name) + " (small, medium, large)");
}

namespace {

constexpr int kBay = 6000;

class FloorPlan {
 public:
  FloorPlan(md::ModelDb& m, Value sf) : m_(m), sf_(std::move(sf)) {}
  Value jt(int x, int y) {
    auto [it, added] = joints_.try_emplace({x, y});
    if (added) it->second = m_.joint(sf_, x, y);
    return it->second;
  }
  Value grid(int x1, int y1, int x2, int y2) {
    auto [it, added] = grids_.try_emplace({x1, y1, x2, y2});
    if (added) it->second = m_.line(jt(x1, y1), jt(x2, y2));
    return it->second;
  }

 private:
  md::ModelDb& m_;
  Value sf_;
  std::map<std::pair<int, int>, Value> joints_;
  std::map<std::tuple<int, int, int, int>, Value> grids_;
};

struct Sections {
  Value beam, edgeBeam, crossBeam, subBeam, column, brace, wall, window, door, hole;
};

void standardFloor(md::ModelDb& m, const Value& sf, const Params& p, const Sections& s,
                   int& counter) {
  FloorPlan plan(m, sf);
  const int bx = p.baysX, by = p.baysY;
  const int east = bx * kBay, north = by * kBay;
  auto beam = [&](int x1, int y1, int x2, int y2, const Value& sect) {
    m.add(md::BeamSeg{.stdFlr = sf, .grid = plan.grid(x1, y1, x2, y2), .sect = sect});
  };
  // Lines along y (x fixed) between frame joints; lines along x split at each bay's middle.
  for (int i = 0; i <= bx; ++i) {
    for (int j = 0; j < by; ++j) {
      beam(i * kBay, j * kBay, i * kBay, (j + 1) * kBay, i == 0 || i == bx ? s.edgeBeam : s.beam);
    }
  }
  for (int j = 0; j <= by; ++j) {
    const Value& sect = j == 0 || j == by ? s.edgeBeam : s.beam;
    for (int i = 0; i < bx; ++i) {
      const int x0 = i * kBay, xm = x0 + kBay / 2, x1 = x0 + kBay;
      beam(x0, j * kBay, xm, j * kBay, sect);
      beam(xm, j * kBay, x1, j * kBay, sect);
    }
  }
  for (int i = 0; i < bx; ++i) {
    for (int j = 0; j < by; ++j) {
      const int x0 = i * kBay, xm = x0 + kBay / 2, x1 = x0 + kBay;
      const int y0 = j * kBay, y1 = y0 + kBay;
      beam(xm, y0, xm, y1, s.crossBeam);
      if ((i + j) % 2 == 0) {
        const int xq = x0 + kBay / 4;
        m.add(md::SubBeam{.stdFlr = sf, .grid = plan.grid(xq, y0, xq, y1), .sect = s.subBeam});
      }
      // Two slabs per bay, split by the cross beam.
      for (int half = 0; half < 2; ++half) {
        const int a = half ? xm : x0, b = half ? x1 : xm;
        const Value slab =
            m.add(md::Slab{.stdFlr = sf,
                           .grids = {plan.grid(a, y0, b, y0), plan.grid(b, y0, b, y1),
                                     plan.grid(a, y1, b, y1), plan.grid(a, y0, a, y1)},
                           .thick = (++counter % 7 == 0) ? Value(150) : Value(9999)});
        if (counter % 11 == 0) {
          m.add(md::SlabHole{.stdFlr = sf,
                             .slab = slab,
                             .jt = plan.jt(a, y0),
                             .sect = s.hole,
                             .eccX = 800,
                             .eccY = 1500});
        }
        if (counter % 29 == 3) {
          const double l = a + 500, r = a + 1500, lo = y0 + 500, hi = y0 + 1500;
          m.fold(slab, {{l, lo}, {r, lo}, {r, hi}, {l, hi}}, {100, 0, 0, 0}, 50, 200);
        }
      }
    }
  }
  // Columns at the frame joints.
  for (int i = 0; i <= bx; ++i) {
    for (int j = 0; j <= by; ++j) {
      m.add(md::ColSeg{.stdFlr = sf,
                       .jt = plan.jt(i * kBay, j * kBay),
                       .sect = s.column,
                       .rotation = (i + j) % 5 == 0 ? 45 : 0});
    }
  }
  // Perimeter walls on the south and north lines, with a window each; doors on the west line.
  for (int i = 0; i < bx; ++i) {
    for (int y : {0, north}) {
      for (int half = 0; half < 2; ++half) {
        const int a = i * kBay + half * kBay / 2;
        const Value g = plan.grid(a, y, a + kBay / 2, y);
        m.add(md::WallSeg{.stdFlr = sf, .grid = g, .sect = s.wall});
        m.add(md::WallHole{.stdFlr = sf, .grid = g, .sect = s.window, .ecc = 0, .hDiff = 900});
      }
    }
  }
  for (int j = 0; j < by; ++j) {
    const Value g = plan.grid(0, j * kBay, 0, (j + 1) * kBay);
    m.add(md::WallSeg{.stdFlr = sf, .grid = g, .sect = s.wall});
    m.add(md::WallHole{.stdFlr = sf, .grid = g, .sect = s.door, .ecc = 1000, .hDiff = 0});
    // Cross braces in the west frame.
    if (j % 3 == 0) {
      const Value a = plan.jt(0, j * kBay), b = plan.jt(0, (j + 1) * kBay);
      m.add(md::BraceSeg{.stdFlr = sf, .jt1 = a, .jt2 = b, .sect = s.brace});
      m.add(md::BraceSeg{.stdFlr = sf, .jt1 = b, .jt2 = a, .sect = s.brace});
    }
  }
  // The east edge: an arc beam bulging out of every bay, with its arc-edged slab.
  for (int j = 0; j < by; ++j) {
    const int y0 = j * kBay, y1 = y0 + kBay;
    const Value centre = plan.jt(east - kBay / 2, y0 + kBay / 2);
    const Value arc = m.arc(centre, plan.jt(east, y0), plan.jt(east, y1));
    m.add(md::BeamSeg{.stdFlr = sf, .grid = arc, .sect = s.edgeBeam});
    m.add(md::Slab{.stdFlr = sf, .grids = {arc, plan.grid(east, y0, east, y1)}});
  }
  // Balconies along the south edge.
  for (int i = 0; i < bx; ++i) {
    m.add(md::CantiSlab{.stdFlr = sf,
                        .grid = plan.grid(i * kBay, 0, i * kBay + kBay / 2, 0),
                        .ecc = 300,
                        .side = -1,
                        .length = 2400,
                        .width = 1500,
                        .thick = 0});
  }
}

}  // namespace

void writeSynthetic(const SyntheticParams& p, const std::filesystem::path& path) {
  md::ModelDb m;
  m.setProject({.name = "合成模型", .mat = 6});
  Sections s;
  s.beam = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,300,700", .mat = 6});
  s.edgeBeam = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,300,600", .mat = 6});
  s.crossBeam = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,250,500", .mat = 6});
  s.subBeam = m.add(md::BeamSect{.kind = 2, .shapeVal = "2,8,400,200,13", .mat = 5});
  s.column = m.add(md::ColSect{.kind = 1, .shapeVal = "1,700,700", .mat = 6});
  s.brace = m.add(md::BraceSect{.kind = 8, .shapeVal = "8,219,199", .mat = 5});
  s.wall = m.add(md::WallSect{.b = 250, .kind = 1, .mat = 6});
  s.window = m.add(md::WallHoleDef{.b = 1500, .h = 1500});
  s.door = m.add(md::WallHoleDef{.b = 1000, .h = 2100});
  s.hole = m.add(md::SlabHoleDef{.kind = 1, .shapeVal = "1,800,800"});
  int counter = 0;
  std::vector<Value> stdFloors;
  for (int k = 0; k < p.stdFloors; ++k) {
    stdFloors.push_back(m.add(md::StdFloor{.no = k + 1, .height = 3600, .para = "0,120"}));
    standardFloor(m, stdFloors.back(), p, s, counter);
  }
  int level = 0;
  for (int f = 0; f < p.floors; ++f) {
    const int height = f % 4 == 3 ? 4200 : 3600;
    const std::size_t k =
        static_cast<std::size_t>(f) * stdFloors.size() / static_cast<std::size_t>(p.floors);
    m.add(md::Floor{.stdFlr = stdFloors[k],
                    .no = f + 1,
                    .name = std::to_string(f + 1) + "层",
                    .levelB = level,
                    .height = height});
    level += height;
  }
  m.write(path);
}

}  // namespace modeldb
