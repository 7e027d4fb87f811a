// Writes the sample model databases shipped in examples/:
//   sample.sdb          a small building of three standard floors and six real floors of two
//                       storey heights with every member kind, floor names in Chinese
//   sample_tapered.sdb  one storey whose beams include a tapered section (written as IFC4)
//   sample_walls.sdb    one storey of walls joined to walls and beams, an arc wall and a wall
//                       with openings (tools/modeldb/wall_sample.h)
//   sample_slabs.sdb    one storey of plain, sloped, arc-edged, folded and split slabs, a slab
//                       opening and cantilever slabs (tools/modeldb/slab_sample.h)
//   sample_linear.sdb   one storey of beams at a skew joint, tapered outline beams, a brace,
//                       turned and composite columns and a sloped secondary beam
//                       (tools/modeldb/linear_sample.h)
// Usage: sdb_samples [output-folder]   (default: examples)

#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "modeldb/modeldb.h"
#include "modeldb/linear_sample.h"
#include "modeldb/slab_sample.h"
#include "modeldb/wall_sample.h"

namespace {

using db::Value;
namespace md = modeldb;

// Joints of one standard floor by plan position (x, y in mm).
class Plan {
 public:
  Plan(md::ModelDb& m, Value stdFlr) : m_(m), sf_(std::move(stdFlr)) {}

  Value jt(int x, int y) {
    auto [it, added] = joints_.try_emplace({x, y});
    if (added) it->second = m_.joint(sf_, x, y, raised(x, y));
    return it->second;
  }
  // One grid line per pair of joints, shared by every member that lies on it.
  Value grid(int x1, int y1, int x2, int y2) {
    const Value a = jt(x1, y1), b = jt(x2, y2);
    const auto key = std::pair{a.asInteger(), b.asInteger()};
    auto [it, added] = grids_.try_emplace(key);
    if (added) it->second = m_.line(a, b);
    return it->second;
  }
  void raise(int x, int y, int hDiff) { raisedBy_[{x, y}] = hDiff; }

  int raised(int x, int y) const {
    const auto it = raisedBy_.find({x, y});
    return it == raisedBy_.end() ? 0 : it->second;
  }

 private:
  md::ModelDb& m_;
  Value sf_;
  std::map<std::pair<int, int>, Value> joints_;
  std::map<std::pair<std::int64_t, std::int64_t>, Value> grids_;
  std::map<std::pair<int, int>, int> raisedBy_;
};

struct Sections {
  Value beam, edgeBeam, subBeam, column, roundColumn, compositeColumn, brace, wall, door, window,
      hole;
};

enum class Kind { Ground, Typical, Roof };

// One standard floor: a 3 x 2 bay frame 18 m x 12 m whose east side is an arc, a cross beam
// resting on two beam segments at each end, secondary beams, slabs (one with an opening, one
// sloped on the roof, one with the arc edge), cantilever slabs along the south edge and the
// arc, braces and walls with openings on the lower floors.
void standardFloor(md::ModelDb& m, const Value& sf, Kind kind, const Sections& s) {
  Plan p(m, sf);
  if (kind == Kind::Roof) {
    // The roof over the middle bays slopes up 600 mm to the east.
    for (int y : {0, 6000, 12000}) p.raise(12000, y, 600);
  }
  auto beam = [&](int x1, int y1, int x2, int y2, const Value& sect) {
    m.add(md::BeamSeg{.stdFlr = sf, .grid = p.grid(x1, y1, x2, y2), .sect = sect});
  };
  // Frame beams; the south and middle lines are split at x = 3000 where the cross beam rests.
  beam(0, 0, 3000, 0, s.edgeBeam);
  beam(3000, 0, 6000, 0, s.edgeBeam);
  beam(6000, 0, 12000, 0, s.edgeBeam);
  beam(12000, 0, 18000, 0, s.edgeBeam);
  beam(0, 6000, 3000, 6000, s.beam);
  beam(3000, 6000, 6000, 6000, s.beam);
  beam(6000, 6000, 12000, 6000, s.beam);
  beam(0, 12000, 3000, 12000, s.edgeBeam);
  beam(3000, 12000, 6000, 12000, s.edgeBeam);
  beam(6000, 12000, 12000, 12000, s.edgeBeam);
  beam(12000, 12000, 18000, 12000, s.edgeBeam);
  for (int x : {0, 6000, 12000}) {
    beam(x, 0, x, 6000, x == 0 ? s.edgeBeam : s.beam);
    beam(x, 6000, x, 12000, x == 0 ? s.edgeBeam : s.beam);
  }
  beam(3000, 0, 3000, 6000, s.beam);  // the cross beam
  // The east edge: an arc beam about the joint (12000, 6000).
  const Value arcGrid = m.arc(p.jt(12000, 6000), p.jt(18000, 0), p.jt(18000, 12000));
  m.add(md::BeamSeg{.stdFlr = sf, .grid = arcGrid, .sect = s.edgeBeam});

  // Columns at the frame joints: round at the corners, composite at the inner joint, square
  // elsewhere.
  for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{{0, 0},
                                                                       {6000, 0},
                                                                       {12000, 0},
                                                                       {18000, 0},
                                                                       {0, 6000},
                                                                       {6000, 6000},
                                                                       {12000, 6000},
                                                                       {0, 12000},
                                                                       {6000, 12000},
                                                                       {12000, 12000},
                                                                       {18000, 12000}}) {
    const bool corner = (x == 0 || x == 18000) && (y == 0 || y == 12000);
    const bool inner = x == 6000 && y == 6000;
    m.add(md::ColSeg{.stdFlr = sf,
                     .jt = p.jt(x, y),
                     .sect = corner ? s.roundColumn : inner ? s.compositeColumn : s.column,
                     .hDiff = p.raised(x, y)});
  }

  if (kind != Kind::Roof) {
    // Steel secondary beams across the middle bays.
    m.add(md::SubBeam{.stdFlr = sf, .grid = p.grid(9000, 0, 9000, 6000), .sect = s.subBeam});
    m.add(md::SubBeam{.stdFlr = sf,
                      .grid = p.grid(9000, 6000, 9000, 12000),
                      .sect = s.subBeam,
                      .hDiff1 = -50,
                      .hDiff2 = -50});
    // Cross braces in the west frame, base of one joint to the top of the other.
    m.add(md::BraceSeg{.stdFlr = sf,
                       .jt1 = p.jt(0, 0),
                       .jt2 = p.jt(0, 6000),
                       .sect = s.brace,
                       .hDiff1 = 0,
                       .hDiff2 = 1});
    m.add(md::BraceSeg{.stdFlr = sf,
                       .jt1 = p.jt(0, 6000),
                       .jt2 = p.jt(0, 0),
                       .sect = s.brace,
                       .hDiff1 = 0,
                       .hDiff2 = 1,
                       .rotation = 90});
    // Walls: one along the north edge with a door and a window, one across the west bay that
    // meets it and frames the beams at both of its free ends.
    const Value north = p.grid(0, 12000, 3000, 12000);
    m.add(md::WallSeg{.stdFlr = sf, .grid = north, .sect = s.wall});
    m.add(md::WallSeg{.stdFlr = sf, .grid = p.grid(3000, 6000, 3000, 12000), .sect = s.wall});
    m.add(md::WallHole{.stdFlr = sf, .grid = north, .sect = s.door, .ecc = 300, .hDiff = 0});
    m.add(md::WallHole{.stdFlr = sf, .grid = north, .sect = s.window, .ecc = -300, .hDiff = 900});
  }

  // Slabs, one per bay (the west bays split by the cross beam and the wall).
  auto slab = [&](std::initializer_list<std::pair<int, int>> corners, const Value& thick) {
    std::vector<Value> grids;
    const std::vector<std::pair<int, int>> c(corners);
    for (std::size_t i = 0; i < c.size(); ++i) {
      const auto& [x1, y1] = c[i];
      const auto& [x2, y2] = c[(i + 1) % c.size()];
      grids.push_back(p.grid(x1, y1, x2, y2));
    }
    return m.add(md::Slab{.stdFlr = sf, .grids = grids, .thick = thick});
  };
  const Value withHole = slab({{0, 0}, {3000, 0}, {3000, 6000}, {0, 6000}}, 9999);
  const Value folded = slab({{3000, 0}, {6000, 0}, {6000, 6000}, {3000, 6000}}, 9999);
  if (kind == Kind::Ground) {
    // A dropped region: 50 mm lower and 200 mm thick, widened 100 mm beyond its south side.
    m.fold(folded, {{3500, 500}, {5500, 500}, {5500, 2500}, {3500, 2500}}, {100, 0, 0, 0}, 50, 200);
  }
  slab({{6000, 0}, {12000, 0}, {12000, 6000}, {6000, 6000}}, kind == Kind::Roof ? 150 : 9999);
  slab({{0, 6000}, {3000, 6000}, {3000, 12000}, {0, 12000}}, 120);
  slab({{3000, 6000}, {6000, 6000}, {6000, 12000}, {3000, 12000}}, 120);
  slab({{6000, 6000}, {12000, 6000}, {12000, 12000}, {6000, 12000}},
       kind == Kind::Ground ? 0 : 9999);  // a stair well: no slab of its own on the ground floor
  // The east bay is bounded by the arc; its outline starts on the arc, whose level it takes.
  m.add(md::Slab{
      .stdFlr = sf,
      .grids = {arcGrid, p.grid(12000, 12000, 18000, 12000), p.grid(12000, 6000, 12000, 12000),
                p.grid(12000, 0, 12000, 6000), p.grid(12000, 0, 18000, 0)},
      .thick = 9999});
  m.add(md::SlabHole{.stdFlr = sf,
                     .slab = withHole,
                     .jt = p.jt(0, 0),
                     .sect = s.hole,
                     .eccX = 1000,
                     .eccY = 2000});

  // Cantilever slabs: a balcony off the south edge (thickness of the slab behind it) and a
  // band along the arc.
  m.add(md::CantiSlab{.stdFlr = sf,
                      .grid = p.grid(0, 0, 3000, 0),
                      .ecc = 500,
                      .side = -1,
                      .length = 2000,
                      .width = 1200,
                      .thick = 0});
  m.add(md::CantiSlab{.stdFlr = sf, .grid = arcGrid, .side = 1, .width = 1000, .thick = 9999});
}

void writeSample(const std::filesystem::path& path) {
  md::ModelDb m;
  m.setProject({.name = "示例工程", .mat = 6});
  Sections s;
  s.beam = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,300,600", .mat = 6});
  s.edgeBeam = m.add(md::BeamSect{.kind = 1, .shapeVal = "1,250,500", .mat = 6});
  s.subBeam = m.add(md::BeamSect{.kind = 2, .shapeVal = "2,8,400,200,13", .mat = 5});
  s.column = m.add(md::ColSect{.kind = 1, .shapeVal = "1,600,600", .mat = 6});
  s.roundColumn = m.add(md::ColSect{.kind = 3, .shapeVal = "3,600", .mat = 6});
  // Steel encased in concrete: built as an element assembly of its two parts.
  s.compositeColumn =
      m.add(md::ColSect{.kind = 13, .shapeVal = "13,600,600,10,400,300,16", .mat = 6});
  s.brace = m.add(md::BraceSect{.kind = 8, .shapeVal = "8,168,150", .mat = 5});
  s.wall = m.add(md::WallSect{.b = 200, .kind = 1, .mat = 6});
  s.door = m.add(md::WallHoleDef{.b = 900, .h = 2100});
  s.window = m.add(md::WallHoleDef{.b = 1200, .h = 1500});
  s.hole = m.add(md::SlabHoleDef{.kind = 1, .shapeVal = "1,600,600"});

  const Value ground = m.add(md::StdFloor{.no = 1, .height = 4200, .para = "0,120"});
  const Value typical = m.add(md::StdFloor{.no = 2, .height = 3300, .para = "0,120"});
  const Value roof = m.add(md::StdFloor{.no = 3, .height = 3300, .para = "0,150"});
  standardFloor(m, ground, Kind::Ground, s);
  standardFloor(m, typical, Kind::Typical, s);
  standardFloor(m, roof, Kind::Roof, s);

  // Six real floors of two heights: the ground standard floor also serves the second floor at
  // the typical height; the typical one serves three floors.
  const struct {
    Value stdFlr;
    const char* name;
    int levelB, height;
  } floors[] = {{ground, "首层", 0, 4200},      {ground, "二层", 4200, 3300},
                {typical, "三层", 7500, 3300},  {typical, "四层", 10800, 3300},
                {typical, "五层", 14100, 3300}, {roof, "屋面层", 17400, 3300}};
  int no = 1;
  for (const auto& f : floors) {
    m.add(md::Floor{
        .stdFlr = f.stdFlr, .no = no++, .name = f.name, .levelB = f.levelB, .height = f.height});
  }
  m.write(path);
}

void writeTaperedSample(const std::filesystem::path& path) {
  md::ModelDb m;
  m.setProject({.name = "变截面示例", .mat = 5});
  const Value sf = m.add(md::StdFloor{.no = 1, .height = 4500, .para = "0,120"});
  m.add(md::Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0, .height = 4500});
  const Value plain = m.add(md::BeamSect{.kind = 2, .shapeVal = "2,10,500,200,16", .mat = 5});
  const Value tapered = m.add(md::BeamSect{.kind = 21, .shapeVal = "21,300,800,500", .mat = 5});
  const Value column = m.add(md::ColSect{.kind = 2, .shapeVal = "2,12,400,400,20", .mat = 5});
  const Value a = m.joint(sf, 0, 0), b = m.joint(sf, 9000, 0), c = m.joint(sf, 9000, 6000),
              d = m.joint(sf, 0, 6000);
  for (const Value& j : {a, b, c, d}) m.add(md::ColSeg{.stdFlr = sf, .jt = j, .sect = column});
  m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(a, b), .sect = tapered});
  m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(d, c), .sect = tapered});
  m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(b, c), .sect = plain});
  m.add(md::BeamSeg{.stdFlr = sf, .grid = m.line(a, d), .sect = plain});
  m.write(path);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir = argc > 1 ? argv[1] : "examples";
  try {
    std::filesystem::create_directories(dir);
    writeSample(dir / "sample.sdb");
    writeTaperedSample(dir / "sample_tapered.sdb");
    md::writeWallSample(dir / "sample_walls.sdb");
    md::writeSlabSample(dir / "sample_slabs.sdb");
    md::writeLinearSample(dir / "sample_linear.sdb");
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  std::cout << "wrote " << (dir / "sample.sdb").string() << ", "
            << (dir / "sample_tapered.sdb").string() << ", " << (dir / "sample_walls.sdb").string()
            << ", " << (dir / "sample_slabs.sdb").string() << " and "
            << (dir / "sample_linear.sdb").string() << '\n';
  return 0;
}
