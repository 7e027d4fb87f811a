// The readers made once per run (slab details, wall openings, slabs by grid line) read each
// table once and look rows up in memory; they must give exactly the rows, in the order, and the report lines of
// the queries they stand in for, on every model: the samples, a synthetic building and a
// model whose ids are stored in each form that SQL still matches.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "modeldb/synthetic.h"
#include "queries/palvek.h"
#include "readers/grid.h"
#include "readers/property.h"
#include "readers/slab.h"

namespace {

namespace fs = std::filesystem;
namespace md = modeldb;
using db::Value;

fs::path examples() {
  const char* root = std::getenv("SDB2IFC_SOURCE_DIR");
  return fs::path(root ? root : ".") / "examples";
}

// Slabs, beams, openings and properties whose ids are stored as reals, texts and NULL, ids far
// beyond the others, a grid line listed twice and one that is missing.
void writeOddIds(const fs::path& path) {
  md::ModelDb m;
  const Value sf = m.add(md::StdFloor{});
  const Value other = m.add(md::StdFloor{});
  const Value a = m.joint(sf, 0, 0), b = m.joint(sf, 6000, 0);
  const Value c = m.joint(sf, 6000, 4000, 300), d = m.joint(sf, 0, 4000);
  const Value centre = m.joint(sf, 3000, 4000);
  const Value ab = m.line(a, b), bc = m.line(b, c), cd = m.line(c, d), da = m.line(d, a);
  const Value arc = m.arc(centre, c, d);
  const Value far = m.add(md::Grid{.id = std::int64_t{3000000000}, .jt1 = a, .jt2 = c});
  const Value sect = m.add(md::BeamSect{});
  for (const Value& g : {ab, bc, cd, da, arc})
    m.add(md::BeamSeg{.stdFlr = sf, .grid = g, .sect = sect});
  m.add(md::BeamSeg{.stdFlr = other, .grid = ab, .sect = sect});
  m.add(md::BeamSeg{.stdFlr = sf, .grid = bc, .sect = sect, .hDiff1 = Value()});
  const Value plain = m.add(md::Slab{.stdFlr = sf, .grids = {ab, bc, cd, da}});
  const Value real = m.add(md::Slab{.stdFlr = sf, .grids = {ab, bc, arc, da}});
  const Value twice = m.add(md::Slab{.stdFlr = sf, .grids = {ab, bc, bc, cd, da}});
  const Value text = m.add(md::Slab{.stdFlr = sf, .grids = {ab, far, cd}});
  m.add(md::Slab{.stdFlr = sf, .grids = {ab, 777, cd}});
  const Value def = m.add(md::SlabHoleDef{});
  m.add(md::SlabHole{.stdFlr = sf, .slab = plain, .jt = b, .sect = def, .eccX = 100});
  m.add(md::SlabHole{.stdFlr = sf, .slab = plain, .jt = 999, .sect = def});
  m.add(md::SlabHole{.stdFlr = other, .slab = plain, .jt = a, .sect = def});
  m.add(md::SlabHole{.stdFlr = sf, .slab = real, .jt = c, .sect = 404});
  m.fold(plain, {{500, 500}, {1500, 500}, {1500, 1500}}, {100, 0, 0}, 50, 200);
  m.exclude(plain);
  m.add(md::Property{.objId = plain, .name = Value(), .val = "1"});
  m.add(md::Property{.objId = plain, .name = 7, .val = "2"});
  m.add(md::Property{.objId = real, .name = "FoldedSlab_nPt", .val = "3"});
  const Value window = m.add(md::WallHoleDef{});
  for (const Value& g : {ab, cd}) m.add(md::WallSeg{.stdFlr = sf, .grid = g});
  m.add(md::WallHole{.stdFlr = sf, .grid = ab, .sect = window, .ecc = 0});
  m.add(md::WallHole{.stdFlr = sf, .grid = ab, .sect = 404, .ecc = Value()});
  m.add(md::WallHole{.stdFlr = other, .grid = ab, .sect = window});
  m.add(md::WallHole{.stdFlr = sf, .grid = cd, .sect = window, .ecc = 1});
  m.write(path);
  const std::string r = real.str(), t = text.str(), tw = twice.str();
  md::ModelDb::exec(
      path, "update tblSlabGrid set SlabID = SlabID + 0.0 where SlabID = " + r +
                "; update tblSlabGrid set GridID = ' ' || GridID || ' ' where SlabID = " + t +
                "; update tblSlabHole set SlabID = SlabID + 0.0, StdFlrID = "
                "StdFlrID + 0.0 where SlabID = " +
                r + "; update tblProperty set ObjID = ObjID + 0.0 where ObjID = " + r +
                "; update tblWallHole set StdFlrID = StdFlrID + 0.0 where GridID = " + cd.str() +
                "; update tblSlabGrid set No = 9 - No where SlabID = " + tw +
                "; insert into tblSlabHole (StdFlrID, SlabID, JtID) values (NULL, NULL, 1)");
}

struct Model {
  const char* name;
  std::function<void(const fs::path&)> write;
};

class PerRunReaders : public ::testing::TestWithParam<Model> {};

// Every value of one column, and ids that are nowhere: the lookups asked of the readers.
std::vector<Value> valuesOf(const db::Database& conn, const std::string& sql) {
  std::vector<Value> values{Value(), Value(987654), Value("x"), Value(2.5)};
  for (db::Row& r : conn.query(sql)) values.push_back(std::move(r[0]));
  return values;
}

TEST_P(PerRunReaders, GiveTheRowsAndReportsOfThePerMemberQueries) {
  md::TempPath path("per_run");
  GetParam().write(path);
  const auto conn = db::Database::openReadOnly(path);
  const Slab::SlabDetailReader details(conn);

  std::ostringstream perQuery, perRun;
  const std::vector<Slab::SlabRow> slabRows = Slab::getSlabs(conn, details, perRun);
  EXPECT_EQ(slabRows, Slab::getSlabs(conn, perQuery));
  const Slab::SlabsByGrid byGrid(slabRows);
  for (const Value& grid : valuesOf(conn, "select GridID from tblSlabGrid")) {
    const Slab::SlabRow* first = nullptr;
    for (const Slab::SlabRow& s : slabRows) {
      if (!first && s.hasGrid(grid)) first = &s;
    }
    EXPECT_EQ(byGrid.first(grid), first) << "grid " << grid.str();
  }
  std::vector<std::vector<Value>> outlines;
  for (db::Row& r : conn.query("select distinct SlabID from tblSlabGrid")) {
    std::vector<Value> grids;
    for (db::Row& g :
         conn.query("select GridID from tblSlabGrid where SlabID = ? order by No", {r[0]})) {
      grids.push_back(std::move(g[0]));
    }
    outlines.push_back(grids);
  }
  outlines.push_back(valuesOf(conn, "select ID from tblGrid"));
  for (const auto& grids : outlines) {
    EXPECT_EQ(details.cords(grids), Grid::getCordByGrids(conn, grids));
  }
  const std::vector<Value> floors = valuesOf(conn, "select ID from tblStdFlr");
  const std::vector<Value> slabs = valuesOf(conn,
                                            "select distinct SlabID from tblSlabGrid "
                                            "union all select ObjID from tblProperty "
                                            "union all select SlabID from tblSlabHole");
  for (const Value& slab : slabs) {
    SCOPED_TRACE("slab " + slab.str());
    EXPECT_EQ(details.adjacentBeams(slab), Slab::getAdjacentBeams(conn, slab));
    EXPECT_EQ(details.foldProps(slab), Property::getSlabFoldProps(conn, slab));
    for (const Value& floor : floors) {
      EXPECT_EQ(details.holes(floor, slab, perRun),
                Slab::getSlabHoles(conn, floor, slab, perQuery));
    }
  }
  const Palvek::WallHoleQuery wallHoles(conn);
  for (const Value& grid : valuesOf(conn, "select GridID from tblWallHole")) {
    for (const Value& floor : floors) {
      EXPECT_EQ(wallHoles(floor, grid, perRun), Palvek::getWallHoles(conn, floor, grid, perQuery));
    }
  }
  EXPECT_EQ(perRun.str(), perQuery.str());
}

INSTANTIATE_TEST_SUITE_P(
    Models, PerRunReaders,
    ::testing::Values(
        Model{"sample", [](const fs::path& p) { fs::copy_file(examples() / "sample.sdb", p); }},
        Model{"tapered",
              [](const fs::path& p) { fs::copy_file(examples() / "sample_tapered.sdb", p); }},
        Model{"synthetic",
              [](const fs::path& p) { md::writeSynthetic(md::syntheticPreset("small"), p); }},
        Model{"oddIds", writeOddIds}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
