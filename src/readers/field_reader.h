#pragma once
// Turns one database row, read by position, into the fields of a typed member row, and keeps
// the first fault found (a NULL or a non-number where the member's geometry needs a number).

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "db/database.h"

namespace readers {

class FieldReader {
 public:
  // `kind` and the value at `idPos` name the member in the fault line ("Beam_12, ..."); the
  // reader keeps `row` and `kind` by reference.
  // Throws db::Error when the row has fewer than `width` fields (a query of ours gone wrong).
  FieldReader(const db::Row& row, std::string_view kind, std::size_t idPos, std::size_t width);

  // The value as stored: NULL, integer, real or text.
  [[nodiscard]] const db::Value& value(std::size_t pos) const { return row_[pos]; }
  // A finite number the member cannot do without; anything else records a fault naming
  // `name` and gives 0.
  double number(std::size_t pos, std::string_view name);
  // Like number(), but a stored number is returned as stored (integer or real).
  db::Value numberValue(std::size_t pos, std::string_view name);
  // NULL gives no value; a finite number gives it; text or a non-finite number is a fault.
  std::optional<double> optionalNumber(std::size_t pos, std::string_view name);
  // Text as stored; NULL gives the empty text, a number its text form.
  [[nodiscard]] std::string text(std::size_t pos) const;
  // Records a fault found by the caller.
  void fail(std::string reason);

  [[nodiscard]] bool ok() const { return fault_.empty(); }
  // "Beam_12, X1为空，已跳过": member kind and id, the first fault, and that it was left out.
  [[nodiscard]] std::string faultLine() const;
  // Writes faultLine() as one line to `report` when there is a fault; returns ok().
  bool reportTo(std::ostream& report) const;

 private:
  const db::Row& row_;
  std::string_view kind_;  // a name the caller keeps, such as a literal
  std::size_t idPos_;
  std::string fault_;
};

}  // namespace readers
