#pragma once
// The members of one standard floor that meet at each joint. The connectivity queries look
// only at the beams, columns and walls at a member's two end joints; handing them just those
// rows, in model order, gives the same answer as the whole floor without scanning it for every
// member.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "db/value.h"
#include "members/floor_members.h"

namespace Utils {

class JointNeighbours {
 public:
  explicit JointNeighbours(const FloorRows& floor);

  // The floor's rows with an end joint (a column: its joint) equal to jt1 or jt2, each once,
  // in the floor's order.
  struct Rows {
    std::vector<Beam::BeamRow> beams;
    std::vector<Column::ColumnRow> columns;
    std::vector<Palvek::WallRow> walls;
  };
  [[nodiscard]] Rows at(const db::Value& jt1, const db::Value& jt2) const;

  // Row positions by joint key; a key may hold rows of other joints too (the queries compare
  // joints themselves), never miss one.
  using Index = std::unordered_map<std::uint64_t, std::vector<std::uint32_t>>;

 private:
  const FloorRows& floor_;
  Index beams_, columns_, walls_;
};

}  // namespace Utils
