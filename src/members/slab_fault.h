#pragma once
// The fault of one slab's or cantilever slab's data (a vertex list item that is not a number,
// a thickness that is not positive, an edge of length zero, ...). The slab builders throw it
// inside and catch it at their boundary, where the member is reported on one line and left
// out; the run goes on.

#include <stdexcept>
#include <string>
#include <string_view>

#include "db/value.h"

namespace Utils {

class SlabFault : public std::runtime_error {
 public:
  explicit SlabFault(const std::string& reason) : std::runtime_error(reason) {}
};

// Reports "<kind>_<id>, <reason>，已跳过" on the current report stream.
void reportSkipped(std::string_view kind, const db::Value& id, std::string_view reason);

// A stored value that must be a finite number; anything else throws SlabFault naming `what`
// ("Thick为空", "Thick'abc'不是有限数值").
[[nodiscard]] double finiteNumber(const db::Value& value, std::string_view what);

}  // namespace Utils
