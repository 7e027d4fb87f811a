#pragma once
// Cantilever slabs: a slab projecting to one side of a supporting edge. Along a straight edge
// it is a rectangle extruded upward; along an arc edge a band of the given width swept about
// the vertical through the arc's centre from the edge's first end to its second.

#include <optional>
#include <span>

#include "ifc/value.h"
#include "members/run_context.h"
#include "readers/floor.h"
#include "readers/slab.h"

namespace Utils {

// The IfcSlab "CantiSlab_{id}" with its top at the storey top - HDrop + ZDiff1. No value after
// the report "CantiSlab_{id}, <fault>，已跳过": side code 0, an edge of length zero (an arc
// whose ends lie on one radius or on its centre), a width or thickness that is not positive,
// a band reaching past the arc's centre. A negative start offset on a straight edge measures
// from the edge's far end: the slab then ends that far before it. A storey height that is not a
// finite number is a fault of the floor: std::runtime_error.
[[nodiscard]] std::optional<ifc::Entity> CreateCantiSlab(const RunContext& ctx,
                                                         const Slab::CantiSlabRow& cs,
                                                         const Floor::StdFloorRow& stdFlr,
                                                         double flr_tk,
                                                         const Slab::SlabsByGrid& slabs);
// The same with the slab list itself (indexed for this one call).
[[nodiscard]] std::optional<ifc::Entity> CreateCantiSlab(const RunContext& ctx,
                                                         const Slab::CantiSlabRow& cs,
                                                         const Floor::StdFloorRow& stdFlr,
                                                         double flr_tk,
                                                         std::span<const Slab::SlabRow> slabs);

}  // namespace Utils
