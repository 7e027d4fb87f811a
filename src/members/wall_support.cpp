#include "members/wall_support.h"

#include <cmath>

#include "text/number_text.h"

namespace Utils {

std::string skippedLine(std::string_view kind, const db::Value& id, std::string_view reason) {
  std::string line(kind);
  line += '_';
  line += id.str();
  line += ", ";
  line += reason;
  line += "，已跳过";
  return line;
}

double wallThickness(const Palvek::WallRow& wall) {
  if (wall.b.isNull()) throw WallFault("B为空");
  if (!wall.b.isNumber() || !std::isfinite(wall.b.asDouble())) {
    throw WallFault("B不是有限数值");
  }
  const double b = wall.b.asDouble();
  if (b <= 0.0) throw WallFault("B为" + text::repr(b) + "，不为正");
  return b;
}

}  // namespace Utils
