#include "modeldb/linear_sample.h"

#include <cmath>
#include <numbers>

#include "modeldb/modeldb.h"

namespace modeldb {

void writeLinearSample(const std::filesystem::path& path) {
  ModelDb m;
  m.setProject({.name = "梁柱示例", .mat = 6});
  const Value sf = m.add(StdFloor{.no = 1, .height = 3000, .para = "0,120"});
  m.add(Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0, .height = 3000});
  const Value narrow = m.add(BeamSect{.kind = 1, .shapeVal = "1,300,600"});
  const Value wide = m.add(BeamSect{.kind = 1, .shapeVal = "1,400,600"});
  const Value tapered = m.add(BeamSect{.kind = 21, .shapeVal = "21,300,800,500", .mat = 5});
  const Value box = m.add(BeamSect{.kind = 23, .shapeVal = "23,400,800,600,10,20", .mat = 5});
  const Value ishape = m.add(BeamSect{.kind = 2, .shapeVal = "2,8,400,200,13", .mat = 5});
  const Value square = m.add(ColSect{.kind = 1, .shapeVal = "1,500,500"});
  const Value oblong = m.add(ColSect{.kind = 1, .shapeVal = "1,600,400"});
  const Value composite = m.add(ColSect{.kind = 13, .shapeVal = "13,400,600,8,300,200,12"});
  const Value plate = m.add(BraceSect{.kind = 1, .shapeVal = "1,200,100"});

  // The skew joint: columns at the far ends only, so that both beams rest on each other.
  const double a = std::numbers::pi / 3;
  const Value joint = m.joint(sf, 0, 0);
  const Value end = m.joint(sf, 6000, 0);
  const Value far = m.joint(sf, 6000 * std::cos(a), 6000 * std::sin(a));
  m.add(BeamSeg{.id = 1001, .stdFlr = sf, .grid = m.line(joint, end), .sect = narrow});
  m.add(BeamSeg{.id = 1002, .stdFlr = sf, .grid = m.line(joint, far), .sect = wide});
  m.add(ColSeg{.id = 1201, .stdFlr = sf, .jt = end, .sect = square});
  m.add(ColSeg{.id = 1202, .stdFlr = sf, .jt = far, .sect = square});

  // The outline forms, on columns.
  int column = 1203;
  auto onColumns = [&](int id, double x, const Value& sect) {
    const Value j1 = m.joint(sf, x, 0), j2 = m.joint(sf, x + 6000, 0);
    m.add(BeamSeg{.id = id, .stdFlr = sf, .grid = m.line(j1, j2), .sect = sect});
    m.add(ColSeg{.id = column++, .stdFlr = sf, .jt = j1, .sect = square});
    m.add(ColSeg{.id = column++, .stdFlr = sf, .jt = j2, .sect = square});
  };
  onColumns(1003, 10000, tapered);
  onColumns(1004, 20000, box);
  // A tapered rectangle whose top falls 200 to end 2, and a box whose plates meet at end 2.
  const Value solidBox = m.add(BeamSect{.kind = 23, .shapeVal = "23,400,800,600,20,300", .mat = 5});
  {
    const Value j1 = m.joint(sf, 70000, 0), j2 = m.joint(sf, 76000, 0);
    m.add(
        BeamSeg{.id = 1005, .stdFlr = sf, .grid = m.line(j1, j2), .sect = tapered, .hDiff2 = -200});
    m.add(ColSeg{.id = 1209, .stdFlr = sf, .jt = j1, .sect = square});
    m.add(ColSeg{.id = 1210, .stdFlr = sf, .jt = j2, .sect = square});
  }
  column = 1211;
  onColumns(1006, 80000, solidBox);

  // A beam resting at its end 2 on a beam that leaves that joint square, a column at each far
  // end.
  const Value bearing = m.joint(sf, 96000, 0);
  const Value west = m.joint(sf, 90000, 0), north = m.joint(sf, 96000, 4000);
  m.add(BeamSeg{.id = 1007, .stdFlr = sf, .grid = m.line(west, bearing), .sect = narrow});
  m.add(BeamSeg{.id = 1008, .stdFlr = sf, .grid = m.line(bearing, north), .sect = wide});
  m.add(ColSeg{.id = 1213, .stdFlr = sf, .jt = west, .sect = square});
  m.add(ColSeg{.id = 1214, .stdFlr = sf, .jt = north, .sect = square});

  m.add(BraceSeg{.id = 1101,
                 .stdFlr = sf,
                 .jt1 = m.joint(sf, 30000, 0),
                 .jt2 = m.joint(sf, 30000, 4000),
                 .sect = plate,
                 .hDiff1 = 0,
                 .hDiff2 = 1});
  m.add(ColSeg{.id = 1207,
               .stdFlr = sf,
               .jt = m.joint(sf, 40000, 0),
               .sect = oblong,
               .eccX = 100,
               .rotation = 30});
  m.add(ColSeg{.id = 1208, .stdFlr = sf, .jt = m.joint(sf, 50000, 0), .sect = composite});
  m.add(SubBeam{.id = 1301,
                .stdFlr = sf,
                .grid = m.line(m.joint(sf, 60000, 0), m.joint(sf, 66000, 0)),
                .sect = ishape,
                .hDiff1 = 0,
                .hDiff2 = -600});
  m.write(path);
}

}  // namespace modeldb
