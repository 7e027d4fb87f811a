// The rows of each standard floor found through FloorRowsIndex are those filterFloor finds,
// whatever the order of the rows and however their floor ids are stored.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "db/database.h"
#include "members/floor_members.h"
#include "modeldb/modeldb.h"
#include "modeldb/synthetic.h"

namespace {

// The ids of the rows of one kind, to compare the two ways of filtering.
template <typename Row, typename Id>
std::vector<std::string> idsOf(const std::vector<Row>& rows, Id id) {
  std::vector<std::string> out;
  for (const Row& r : rows) out.push_back(id(r).str());
  return out;
}

TEST(FloorRowsIndex, FindsTheRowsFilterFloorFindsForEveryStoredFormOfAFloorId) {
  // Floor ids as the model may store them: a number as integer or double (one id), text
  // (another), NULL and NaN (no floor of a number), in runs and interleaved.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<db::Value> floorIds = {1,   1,   1.0, 2, 2, "1", 1,    db::Value(), db::Value(),
                                           nan, nan, 2.0, 3, 1, "1", -0.0, 0,           2};
  std::vector<Beam::BeamRow> beams(floorIds.size());
  std::vector<SubBeam::SubBeamRow> subBeams(floorIds.size());
  std::vector<Column::ColumnRow> columns(floorIds.size());
  std::vector<Palvek::WallRow> walls(floorIds.size());
  std::vector<Brace::BraceRow> braces(floorIds.size());
  std::vector<Slab::CantiSlabRow> cantiSlabs(floorIds.size());
  std::vector<Slab::SlabRow> slabs(floorIds.size());
  for (std::size_t k = 0; k < floorIds.size(); ++k) {
    const auto id = static_cast<std::int64_t>(k);
    beams[k].floorId = floorIds[k];
    beams[k].beamId = id;
    subBeams[k].stdFlrId = floorIds[k];
    subBeams[k].id = id;
    // Walls, braces and slabs in the reverse order: other runs.
    const std::size_t r = floorIds.size() - 1 - k;
    columns[k].stdFlrId = floorIds[k];
    columns[k].id = id;
    walls[k].floorId = floorIds[r];
    walls[k].wallId = id;
    braces[k].stdFlrId = floorIds[r];
    braces[k].id = id;
    cantiSlabs[k].stdFlrId = floorIds[k];
    cantiSlabs[k].id = id;
    slabs[k].stdFlrId = floorIds[r];
    slabs[k].id = id;
  }

  const modeldb::TempPath path("floor_rows");
  modeldb::writeSynthetic(modeldb::syntheticPreset("small"), path);
  const db::Database conn = db::Database::openReadOnly(path);
  const Palvek::WallHoleQuery wallHoles(conn);
  const Slab::SlabDetailReader slabDetails(conn);
  const Slab::SlabsByGrid slabsByGrid({});
  const Utils::ModelRows model{conn,    wallHoles, slabDetails, slabsByGrid, beams, subBeams,
                               columns, walls,     slabs,       cantiSlabs,  braces};
  const Utils::FloorRowsIndex index(model);

  const auto id = [](const auto& r) -> const db::Value& { return r.id; };
  for (const db::Value& floor : {db::Value(1), db::Value(1.0), db::Value(2), db::Value("1"),
                                 db::Value(), db::Value(nan), db::Value(0), db::Value(4)}) {
    SCOPED_TRACE("floor " + floor.str());
    const Utils::FloorRows expected = Utils::filterFloor(model, floor);
    const Utils::FloorRows found = index.rowsOf(floor);
    EXPECT_EQ(idsOf(found.beams, [](const auto& r) -> const db::Value& { return r.beamId; }),
              idsOf(expected.beams, [](const auto& r) -> const db::Value& { return r.beamId; }));
    EXPECT_EQ(idsOf(found.subBeams, id), idsOf(expected.subBeams, id));
    EXPECT_EQ(idsOf(found.columns, id), idsOf(expected.columns, id));
    EXPECT_EQ(idsOf(found.walls, [](const auto& r) -> const db::Value& { return r.wallId; }),
              idsOf(expected.walls, [](const auto& r) -> const db::Value& { return r.wallId; }));
    EXPECT_EQ(idsOf(found.braces, id), idsOf(expected.braces, id));
    EXPECT_EQ(idsOf(found.cantiSlabs, id), idsOf(expected.cantiSlabs, id));
    const auto slabId = [](const Slab::SlabRow* r) -> const db::Value& { return r->id; };
    EXPECT_EQ(idsOf(found.slabs, slabId), idsOf(expected.slabs, slabId));
  }
  // The integer and double forms of one number are one floor: five rows of floor 1.
  EXPECT_EQ(index.rowsOf(1).beams.size(), 5u);
}

}  // namespace
