#include "members/joint_neighbours.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>

namespace Utils {

namespace {

// Values equal as db::Value compares them share a key: numbers by value (5 and 5.0, -0.0 and
// 0.0), text by its characters, NULL with NULL. A NaN equals nothing: no key. Unequal values
// may share a key too (the index then holds rows of other joints, which the queries leave).
std::optional<std::uint64_t> keyOf(const db::Value& v) {
  if (v.isNull()) return 0x9E3779B97F4A7C15ULL;
  if (v.isText()) return std::hash<std::string_view>{}(v.asText()) ^ 0xC2B2AE3D27D4EB4FULL;
  const double d = v.asDouble();
  if (std::isnan(d)) return std::nullopt;
  return std::bit_cast<std::uint64_t>(d == 0 ? 0.0 : d);
}

void add(JointNeighbours::Index& index, const db::Value& jt, std::size_t row) {
  if (const auto key = keyOf(jt)) {
    auto& rows = index[*key];
    if (rows.empty() || rows.back() != row) rows.push_back(static_cast<std::uint32_t>(row));
  }
}

template <typename Row>
std::vector<Row> rowsAt(const JointNeighbours::Index& index, const std::vector<Row>& all,
                        const db::Value& jt1, const db::Value& jt2) {
  std::vector<std::uint32_t> positions;
  for (const db::Value* jt : {&jt1, &jt2}) {
    const auto key = keyOf(*jt);
    if (!key) continue;
    if (const auto it = index.find(*key); it != index.end()) {
      positions.insert(positions.end(), it->second.begin(), it->second.end());
    }
  }
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  std::vector<Row> rows;
  rows.reserve(positions.size());
  for (const std::uint32_t p : positions) rows.push_back(all[p]);
  return rows;
}

}  // namespace

JointNeighbours::JointNeighbours(const FloorRows& floor) : floor_(floor) {
  for (std::size_t i = 0; i < floor.beams.size(); ++i) {
    add(beams_, floor.beams[i].jt1Id, i);
    add(beams_, floor.beams[i].jt2Id, i);
  }
  for (std::size_t i = 0; i < floor.columns.size(); ++i) add(columns_, floor.columns[i].jtId, i);
  for (std::size_t i = 0; i < floor.walls.size(); ++i) {
    add(walls_, floor.walls[i].jt1Id, i);
    add(walls_, floor.walls[i].jt2Id, i);
  }
}

JointNeighbours::Rows JointNeighbours::at(const db::Value& jt1, const db::Value& jt2) const {
  return Rows{rowsAt(beams_, floor_.beams, jt1, jt2), rowsAt(columns_, floor_.columns, jt1, jt2),
              rowsAt(walls_, floor_.walls, jt1, jt2)};
}

}  // namespace Utils
