// The sample model databases in examples/: every reader and query returns its rows, the
// connectivity finds what the sample was built to show, and the committed files match what
// the sample program writes today.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "modeldb/synthetic.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/axis.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/grid.h"
#include "readers/project.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"

namespace {

namespace fs = std::filesystem;
using db::Value;

fs::path examples() {
  const char* root = std::getenv("SDB2IFC_SOURCE_DIR");
  return fs::path(root ? root : ".") / "examples";
}

TEST(SampleDatabase, EveryReaderReturnsTheSampleBuildingWithoutComplaint) {
  const auto conn = db::Database::openReadOnly(examples() / "sample.sdb");
  std::ostringstream report;
  EXPECT_TRUE(Project::IsConcrete(conn));
  EXPECT_EQ(Property::getExcludeIds(conn).size(), 0u);
  const auto stdFlrs = Floor::getStdFlrs(conn);
  const auto floors = Floor::getFloors(conn);
  ASSERT_EQ(stdFlrs.size(), 3u);
  ASSERT_EQ(floors.size(), 6u);
  EXPECT_EQ(floors[0].name.asText(), "首层");
  EXPECT_EQ(floors[5].name.asText(), "屋面层");
  EXPECT_FALSE(Axis::getAxes(conn).empty());
  const auto beams = Beam::getBeams(conn, report);
  const auto subBeams = SubBeam::getBeams(conn, report);
  const auto columns = Column::getColumns(conn, report);
  const auto braces = Brace::getBraces(conn, report);
  const auto walls = Palvek::getPalveks(conn, report);
  const auto slabs = Slab::getSlabs(conn, report);
  const auto cantiSlabs = Slab::getCantiSlabs(conn, report);
  EXPECT_EQ(beams.size(), 3u * 19);
  EXPECT_EQ(subBeams.size(), 2u * 2);
  EXPECT_EQ(columns.size(), 3u * 11);
  EXPECT_EQ(braces.size(), 2u * 2);
  EXPECT_EQ(walls.size(), 2u * 2);
  EXPECT_EQ(slabs.size(), 3u * 7);
  EXPECT_EQ(cantiSlabs.size(), 3u * 2);
  int arcBeams = 0;
  for (const auto& b : beams) arcBeams += b.isArc() ? 1 : 0;
  EXPECT_EQ(arcBeams, 3);

  int holes = 0, arcOutlines = 0, sloped = 0, foldProps = 0;
  for (const auto& s : slabs) {
    const auto cords = Grid::getCordByGrids(conn, s.gridIds);
    ASSERT_EQ(cords.size(), s.gridIds.size());
    ASSERT_TRUE(Grid::sortCords(cords)) << "slab " << s.id.str() << " outline closes";
    bool arc = false;
    for (const auto& c : cords) arc = arc || c.isArc();
    if (arc) {
      ++arcOutlines;
    } else {
      const auto nodes = Grid::sortGrids(cords);
      ASSERT_TRUE(nodes);
      for (const auto& n : *nodes) {
        if (n.z != 0) {
          ++sloped;
          break;
        }
      }
    }
    (void)Slab::getAdjacentBeams(conn, s.id);
    foldProps += static_cast<int>(Property::getSlabFoldProps(conn, s.id).size());
    holes += static_cast<int>(Slab::getSlabHoles(conn, s.stdFlrId, s.id, report).size());
  }
  EXPECT_EQ(arcOutlines, 3);
  EXPECT_EQ(sloped, 2);
  EXPECT_EQ(holes, 3);
  EXPECT_EQ(foldProps, 2) << "one dropped region on the ground floor";
  int wallHoles = 0;
  for (const auto& w : walls) {
    wallHoles += static_cast<int>(Palvek::getWallHoles(conn, w.floorId, w.gridId).size());
  }
  EXPECT_EQ(wallHoles, 2 * 2);
  EXPECT_TRUE(report.str().empty()) << report.str();
}

// The members of one standard floor, as the driver hands them to the connectivity.
struct FloorLists {
  std::vector<Beam::BeamRow> beams;
  std::vector<Column::ColumnRow> columns;
  std::vector<Palvek::WallRow> walls;
};

FloorLists floorLists(const db::Database& conn, const Value& floor) {
  FloorLists f;
  for (auto& b : Beam::getBeams(conn))
    if (b.floorId == floor) f.beams.push_back(b);
  for (auto& c : Column::getColumns(conn))
    if (c.stdFlrId == floor) f.columns.push_back(c);
  for (auto& w : Palvek::getPalveks(conn))
    if (w.floorId == floor) f.walls.push_back(w);
  return f;
}

TEST(SampleDatabase, TheCrossBeamRestsOnTheBeamsItMeetsButNotOnAWallEnd) {
  const auto conn = db::Database::openReadOnly(examples() / "sample.sdb");
  const auto stdFlrs = Floor::getStdFlrs(conn);
  for (const auto& [floor, pairs] : {std::pair{stdFlrs[0].id, 1u}, {stdFlrs[2].id, 2u}}) {
    const FloorLists f = floorLists(conn, floor);
    int crossBeams = 0;
    for (const auto& b : f.beams) {
      if (b.x1 != 3000 || b.x2 != 3000) continue;
      ++crossBeams;
      const auto supports = Beam::getConnectBeams(b, f.beams, f.columns, f.walls);
      ASSERT_EQ(supports.size(), pairs) << "standard floor " << floor.str();
      EXPECT_EQ(supports[0].beam->y1, 0) << "the first of the two segments at y = 0";
    }
    EXPECT_EQ(crossBeams, 1);
  }
}

TEST(SampleDatabase, TheInnerWallMeetsTheNorthWallAndTheBeamsAtBothEnds) {
  const auto conn = db::Database::openReadOnly(examples() / "sample.sdb");
  const FloorLists f = floorLists(conn, Floor::getStdFlrs(conn)[0].id);
  ASSERT_EQ(f.walls.size(), 2u);
  const auto& inner = f.walls[1];
  const auto connectWalls = Palvek::getConnectWalls(inner, f.beams, f.columns, f.walls);
  ASSERT_EQ(connectWalls.size(), 1u);
  EXPECT_EQ(connectWalls[0].wall->wallId, f.walls[0].wallId);
  const auto connectBeams = Palvek::getConnectBeams(inner, f.beams, f.columns, f.walls);
  ASSERT_EQ(connectBeams.size(), 2u);
  EXPECT_EQ(connectBeams[0].beams.size(), 2u);
  EXPECT_EQ(connectBeams[1].beams.size(), 2u);
}

TEST(SampleDatabase, TheTaperedSampleHoldsATaperedBeamSection) {
  const auto conn = db::Database::openReadOnly(examples() / "sample_tapered.sdb");
  EXPECT_FALSE(conn.query("select ID from tblBeamSect where Kind = 21").empty());
  EXPECT_EQ(Beam::getBeams(conn).size(), 4u);
  EXPECT_EQ(Floor::getFloors(conn).size(), 1u);
}

TEST(SampleDatabase, TheCommittedSamplesAreWhatTheSampleProgramWrites) {
  const std::string program = SDB2IFC_SAMPLES_PROGRAM;
  const fs::path dir = fs::temp_directory_path() / ("samples_" + std::to_string(::getpid()));
  ASSERT_EQ(std::system((program + " " + dir.string() + " > /dev/null").c_str()), 0);
  for (const char* name :
       {"sample.sdb", "sample_tapered.sdb", "sample_walls.sdb", "sample_slabs.sdb"}) {
    const auto committed = db::Database::openReadOnly(examples() / name);
    const auto fresh = db::Database::openReadOnly(dir / name);
    const auto tables =
        committed.query("select name from sqlite_master where type = 'table' order by name");
    EXPECT_EQ(tables,
              fresh.query("select name from sqlite_master where type = 'table' order by name"));
    for (const auto& t : tables) {
      const std::string sql = "select * from " + t[0].asText() + " order by rowid";
      EXPECT_EQ(committed.query(sql), fresh.query(sql)) << name << " " << t[0].asText();
    }
  }
  fs::remove_all(dir);
}

}  // namespace

namespace {

TEST(SyntheticDatabase, TheSmallPresetReadsWithoutComplaintAndItsOutlinesClose) {
  modeldb::TempPath path("synthetic");
  modeldb::writeSynthetic(modeldb::syntheticPreset("small"), path);
  const auto conn = db::Database::openReadOnly(path);
  std::ostringstream report;
  const auto beams = Beam::getBeams(conn, report);
  const auto walls = Palvek::getPalveks(conn, report);
  const auto slabs = Slab::getSlabs(conn, report);
  EXPECT_FALSE(beams.empty());
  EXPECT_FALSE(walls.empty());
  EXPECT_FALSE(SubBeam::getBeams(conn, report).empty());
  EXPECT_FALSE(Column::getColumns(conn, report).empty());
  EXPECT_FALSE(Brace::getBraces(conn, report).empty());
  EXPECT_FALSE(Slab::getCantiSlabs(conn, report).empty());
  Slab::SlabDetailReader details(conn);
  std::size_t holes = 0, props = 0;
  for (const auto& s : slabs) {
    const auto cords = details.cords(s.gridIds);
    EXPECT_EQ(cords, Grid::getCordByGrids(conn, s.gridIds));
    EXPECT_TRUE(Grid::sortCords(cords)) << "slab " << s.id.str();
    EXPECT_EQ(details.adjacentBeams(s.id), Slab::getAdjacentBeams(conn, s.id));
    const auto h = details.holes(s.stdFlrId, s.id, report);
    EXPECT_EQ(h, Slab::getSlabHoles(conn, s.stdFlrId, s.id, report));
    holes += h.size();
    props += details.foldProps(s.id).size();
  }
  EXPECT_GT(holes, 0u);
  EXPECT_GT(props, 0u);
  EXPECT_TRUE(report.str().empty()) << report.str();
}

}  // namespace
