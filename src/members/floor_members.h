#pragma once
// Every member of one standard floor built as IFC products, in the order the storeys hold
// them: beams, secondary beams, columns, cantilever slabs, braces, then each wall with its
// openings, then each slab's panels with their openings.

#include <span>
#include <vector>

#include "db/database.h"
#include "ifc/value.h"
#include "members/run_context.h"
#include "queries/palvek.h"
#include "queries/rows.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"

namespace Utils {

// The model's member rows after the exclusion filter, read once per run, the readers of the
// per-member lists (wall openings, slab outlines, ...), made once per run, and the database.
struct ModelRows {
  const db::Database& conn;
  const Palvek::WallHoleQuery& wallHoles;
  const Slab::SlabDetailReader& slabDetails;
  const Slab::SlabsByGrid& slabsByGrid;  // of `slabs`, for the cantilever slabs
  std::span<const Beam::BeamRow> beams;
  std::span<const SubBeam::SubBeamRow> subBeams;
  std::span<const Column::ColumnRow> columns;
  std::span<const Palvek::WallRow> walls;
  std::span<const Slab::SlabRow> slabs;
  std::span<const Slab::CantiSlabRow> cantiSlabs;
  std::span<const Brace::BraceRow> braces;
};

// The rows of one standard floor (field 0 equal to its id), in model order.
struct FloorRows {
  std::vector<Beam::BeamRow> beams;
  std::vector<SubBeam::SubBeamRow> subBeams;
  std::vector<Column::ColumnRow> columns;
  std::vector<Palvek::WallRow> walls;
  std::vector<Brace::BraceRow> braces;
  std::vector<Slab::CantiSlabRow> cantiSlabs;
  std::vector<const Slab::SlabRow*> slabs;  // into ModelRows::slabs
};

[[nodiscard]] FloorRows filterFloor(const ModelRows& model, const db::Value& stdFlrId);

// The rows of each standard floor as filterFloor gives them, without comparing every row's
// floor id for every floor: the rows of each kind are cut once into runs of one floor id (a
// floor's rows are mostly stored together), and a floor takes the runs of its id.
class FloorRowsIndex {
 public:
  explicit FloorRowsIndex(const ModelRows& model);
  [[nodiscard]] FloorRows rowsOf(const db::Value& stdFlrId) const;

  struct Run {  // rows [begin, end) of one kind
    std::size_t begin;
    std::size_t end;
  };

 private:
  ModelRows model_;
  std::vector<Run> beams_, subBeams_, columns_, walls_, braces_, cantiSlabs_, slabs_;
};

// What every pass of one standard floor reads.
struct FloorBuild {
  const RunContext& ctx;
  const ModelRows& model;
  const FloorRows& floor;
  const Floor::StdFloorRow& stdFlr;  // its height may be a real floor's other height
  double flr_tk;                     // default slab thickness: item 1 of the floor's Para, mm
  bool mt;                           // threaded mode
};

// Builds the members of stdFlr. Faulty data of one member is reported on one line and the
// member left out; anything else (a Para without a thickness, a database fault) throws.
[[nodiscard]] std::vector<ifc::Entity> createObjsByStdFlr(const RunContext& ctx,
                                                          const ModelRows& model,
                                                          const Floor::StdFloorRow& stdFlr,
                                                          bool mt);
// The same with the floor's rows found already (filterFloor or FloorRowsIndex).
[[nodiscard]] std::vector<ifc::Entity> createObjsByStdFlr(const RunContext& ctx,
                                                          const ModelRows& model,
                                                          const FloorRows& floor,
                                                          const Floor::StdFloorRow& stdFlr,
                                                          bool mt);

// The passes, in the order createObjsByStdFlr runs them; each appends its products.
void buildBeams(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildSubBeams(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildColumns(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildCantiSlabs(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildBraces(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildWalls(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);
void buildSlabs(const FloorBuild& build, std::vector<ifc::Entity>& objectlists);

}  // namespace Utils
