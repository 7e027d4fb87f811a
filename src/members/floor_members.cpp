#include "members/floor_members.h"

#include <stdexcept>
#include <string>

#include "text/number_text.h"
#include "text/split.h"

namespace Utils {

namespace {

template <typename Row>
std::vector<Row> onFloor(std::span<const Row> rows, const db::Value& stdFlrId) {
  std::vector<Row> kept;
  for (const Row& row : rows) {
    if (row.stdFlrId == stdFlrId) kept.push_back(row);
  }
  return kept;
}

// Cuts rows into runs of one floor id. Ids equal as stored values are alike in every
// comparison (numbers by exact value, text by text), so a run's first row stands for it.
template <typename Row, typename Id>
void cutRuns(std::span<const Row> rows, Id id, std::vector<FloorRowsIndex::Run>& runs) {
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (runs.empty() || !(id(rows[k]) == id(rows[runs.back().begin]))) runs.push_back({k, k});
    runs.back().end = k + 1;
  }
}

template <typename Row, typename Id>
std::vector<Row> inRuns(std::span<const Row> rows, Id id,
                        const std::vector<FloorRowsIndex::Run>& runs, const db::Value& stdFlrId) {
  std::vector<Row> kept;
  for (const FloorRowsIndex::Run& run : runs) {
    if (id(rows[run.begin]) == stdFlrId) {
      kept.insert(kept.end(), rows.begin() + static_cast<std::ptrdiff_t>(run.begin),
                  rows.begin() + static_cast<std::ptrdiff_t>(run.end));
    }
  }
  return kept;
}

const auto kStdFlrId = [](const auto& row) -> const db::Value& { return row.stdFlrId; };
const auto kFloorId = [](const auto& row) -> const db::Value& { return row.floorId; };

// Item 1 of the standard floor's parameter text: the default slab thickness.
double defaultSlabThickness(const Floor::StdFloorRow& stdFlr) {
  const std::string para = stdFlr.para.isText() ? stdFlr.para.asText() : stdFlr.para.str();
  const std::vector<std::string> items = text::split(para, ',');
  if (items.size() < 2) {
    throw std::runtime_error("standard floor " + stdFlr.id.str() +
                             ": parameters without a default slab thickness: " + para);
  }
  try {
    return text::parseFloat(items[1]);
  } catch (const text::ParseError&) {
    throw std::runtime_error("standard floor " + stdFlr.id.str() +
                             ": default slab thickness is not a number: " + items[1]);
  }
}

}  // namespace

FloorRows filterFloor(const ModelRows& model, const db::Value& stdFlrId) {
  FloorRows floor;
  floor.beams.reserve(model.beams.size());
  for (const Beam::BeamRow& row : model.beams) {
    if (row.floorId == stdFlrId) floor.beams.push_back(row);
  }
  floor.subBeams = onFloor(model.subBeams, stdFlrId);
  floor.columns = onFloor(model.columns, stdFlrId);
  for (const Palvek::WallRow& row : model.walls) {
    if (row.floorId == stdFlrId) floor.walls.push_back(row);
  }
  floor.braces = onFloor(model.braces, stdFlrId);
  floor.cantiSlabs = onFloor(model.cantiSlabs, stdFlrId);
  for (const Slab::SlabRow& row : model.slabs) {
    if (row.stdFlrId == stdFlrId) floor.slabs.push_back(&row);
  }
  return floor;
}

FloorRowsIndex::FloorRowsIndex(const ModelRows& model) : model_(model) {
  cutRuns(model.beams, kFloorId, beams_);
  cutRuns(model.subBeams, kStdFlrId, subBeams_);
  cutRuns(model.columns, kStdFlrId, columns_);
  cutRuns(model.walls, kFloorId, walls_);
  cutRuns(model.braces, kStdFlrId, braces_);
  cutRuns(model.cantiSlabs, kStdFlrId, cantiSlabs_);
  cutRuns(model.slabs, kStdFlrId, slabs_);
}

FloorRows FloorRowsIndex::rowsOf(const db::Value& stdFlrId) const {
  FloorRows floor;
  floor.beams = inRuns(model_.beams, kFloorId, beams_, stdFlrId);
  floor.subBeams = inRuns(model_.subBeams, kStdFlrId, subBeams_, stdFlrId);
  floor.columns = inRuns(model_.columns, kStdFlrId, columns_, stdFlrId);
  floor.walls = inRuns(model_.walls, kFloorId, walls_, stdFlrId);
  floor.braces = inRuns(model_.braces, kStdFlrId, braces_, stdFlrId);
  floor.cantiSlabs = inRuns(model_.cantiSlabs, kStdFlrId, cantiSlabs_, stdFlrId);
  for (const Run& run : slabs_) {
    if (!(model_.slabs[run.begin].stdFlrId == stdFlrId)) continue;
    for (std::size_t k = run.begin; k < run.end; ++k) floor.slabs.push_back(&model_.slabs[k]);
  }
  return floor;
}

std::vector<ifc::Entity> createObjsByStdFlr(const RunContext& ctx, const ModelRows& model,
                                            const Floor::StdFloorRow& stdFlr, bool mt) {
  return createObjsByStdFlr(ctx, model, filterFloor(model, stdFlr.id), stdFlr, mt);
}

std::vector<ifc::Entity> createObjsByStdFlr(const RunContext& ctx, const ModelRows& model,
                                            const FloorRows& floor,
                                            const Floor::StdFloorRow& stdFlr, bool mt) {
  const double flr_tk = defaultSlabThickness(stdFlr);
  const FloorBuild build{ctx, model, floor, stdFlr, flr_tk, mt};

  std::vector<ifc::Entity> objectlists;
  buildBeams(build, objectlists);
  buildSubBeams(build, objectlists);
  buildColumns(build, objectlists);
  buildCantiSlabs(build, objectlists);
  buildBraces(build, objectlists);
  buildWalls(build, objectlists);
  buildSlabs(build, objectlists);
  return objectlists;
}

}  // namespace Utils
