#pragma once
// The section kinds whose members taper: they have a start and a different end profile and
// need the tapered extrusion of IFC4. The one list of them; the dispatcher, the schema choice
// and the member builders all ask here.

#include <array>

namespace Sect {

inline constexpr std::array<long, 6> taperedKinds{21, 22, 23, 30, 50, 51};

// True when kind is one of taperedKinds (compared by value, so 22.0 is kind 22).
[[nodiscard]] constexpr bool isTaperedKind(double kind) {
  for (const long k : taperedKinds) {
    if (kind == static_cast<double>(k)) return true;
  }
  return false;
}

}  // namespace Sect
