#pragma once
// What the wall and wall-opening builders share: the fault that leaves one wall out, the
// line that reports it, the wall's thickness read as a number, and the tolerances of wall
// geometry.

#include <stdexcept>
#include <string>
#include <string_view>

#include "db/value.h"
#include "queries/rows.h"

namespace Utils {

// Plan lengths below this (mm) count as zero: a wall or opening host without length.
inline constexpr double kWallZeroLength = 1e-05;
// Below this sine (of the angle between two wall axes) the axes count as parallel: they do
// not cross, and an end cannot be carried to the other wall.
inline constexpr double kWallParallelSine = 1e-09;

// Faulty data of one wall or opening: the member is reported with this reason and left out.
class WallFault : public std::runtime_error {
 public:
  explicit WallFault(const std::string& reason) : std::runtime_error(reason) {}
};

// "Wall_12, B为空，已跳过": the member's kind and id, the reason, and that it was left out.
[[nodiscard]] std::string skippedLine(std::string_view kind, const db::Value& id,
                                      std::string_view reason);

// The wall's thickness B in mm. Throws WallFault when it is NULL, not a finite number, or
// not positive.
[[nodiscard]] double wallThickness(const Palvek::WallRow& wall);

}  // namespace Utils
