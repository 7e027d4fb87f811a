#pragma once
// Thickness codes of slab and cantilever-slab rows turned into millimetres: 9999 is the
// standard floor's default thickness, 0 a zero-thickness slab (built 10 mm thick) or, for a
// cantilever slab, the thickness of the slab behind its edge. The result keeps the class it
// was stored in (integer or real), because the cantilever's profile text writes it as held.

#include <span>

#include "db/value.h"
#include "readers/slab.h"

namespace Utils {

// The thickness a zero-thickness slab is built with; the slab builder makes a slab of this
// thickness an IfcVirtualElement.
inline constexpr int kZeroSlabThickness = 10;

// flr_tk for 9999, the integer 10 for 0, the stored value otherwise (negative ones too).
// Throws SlabFault when the code is not a finite number.
[[nodiscard]] db::Value getSlabThick(const Slab::SlabRow& slab, double flr_tk);

// flr_tk for 9999; for 0 the thickness of the first slab of `slabs` (every standard floor)
// whose outline grid lines hold the cantilever's grid line, or flr_tk after the report
// "CantiSlab_{id}, 板厚为0但无邻接板" when there is none; the stored value otherwise.
// Throws SlabFault when that slab's own code is not a finite number.
[[nodiscard]] db::Value getCantiSlabThick(const Slab::CantiSlabRow& cs, double flr_tk,
                                          const Slab::SlabsByGrid& slabs);
// The same with the slab list itself (indexed for this one call).
[[nodiscard]] db::Value getCantiSlabThick(const Slab::CantiSlabRow& cs, double flr_tk,
                                          std::span<const Slab::SlabRow> slabs);

}  // namespace Utils
