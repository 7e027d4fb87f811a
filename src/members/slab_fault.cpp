#include "members/slab_fault.h"

#include <cmath>

#include "members/messages.h"

namespace Utils {

void reportSkipped(std::string_view kind, const db::Value& id, std::string_view reason) {
  std::string line(kind);
  line += '_';
  line += id.str();
  line += ", ";
  line += reason;
  line += "，已跳过";
  report(line);
}

double finiteNumber(const db::Value& value, std::string_view what) {
  if (value.isNumber() && std::isfinite(value.asDouble())) return value.asDouble();
  if (value.isNull()) throw SlabFault(std::string(what) + "为空");
  const std::string stored = value.isText() ? "'" + value.asText() + "'" : value.str();
  throw SlabFault(std::string(what) + stored + "不是有限数值");
}

}  // namespace Utils
