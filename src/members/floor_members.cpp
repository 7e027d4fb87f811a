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
  return floor;
}

std::vector<ifc::Entity> createObjsByStdFlr(const RunContext& ctx, const ModelRows& model,
                                            const Floor::StdFloorRow& stdFlr, bool mt) {
  const double flr_tk = defaultSlabThickness(stdFlr);
  const FloorRows floor = filterFloor(model, stdFlr.id);
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
