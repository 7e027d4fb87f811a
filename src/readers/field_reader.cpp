#include "readers/field_reader.h"

#include <cmath>

namespace readers {

FieldReader::FieldReader(const db::Row& row, std::string_view kind, std::size_t idPos,
                         std::size_t width)
    : row_(row), kind_(kind), idPos_(idPos) {
  if (row.size() < width) {
    throw db::Error(std::string(kind) + " rows have " + std::to_string(row.size()) +
                    " fields, expected " + std::to_string(width));
  }
}

double FieldReader::number(std::size_t pos, std::string_view name) {
  const db::Value& v = row_[pos];
  if (v.isNull()) {
    fail(std::string(name) + "为空");
    return 0.0;
  }
  if (!v.isNumber() || !std::isfinite(v.asDouble())) {
    fail(std::string(name) + "不是有限数值");
    return 0.0;
  }
  return v.asDouble();
}

db::Value FieldReader::numberValue(std::size_t pos, std::string_view name) {
  number(pos, name);
  return ok() ? row_[pos] : db::Value(0);
}

std::optional<double> FieldReader::optionalNumber(std::size_t pos, std::string_view name) {
  if (row_[pos].isNull()) return std::nullopt;
  return number(pos, name);
}

std::string FieldReader::text(std::size_t pos) const {
  const db::Value& v = row_[pos];
  if (v.isNull()) return {};
  return v.isText() ? v.asText() : v.str();
}

void FieldReader::fail(std::string reason) {
  if (fault_.empty()) fault_ = std::move(reason);
}

std::string FieldReader::faultLine() const {
  return std::string(kind_) + "_" + row_[idPos_].str() + ", " + fault_ + "，已跳过";
}

bool FieldReader::reportTo(std::ostream& report) const {
  if (ok()) return true;
  report << faultLine() << '\n';
  return false;
}

}  // namespace readers
