#pragma once
// Slab openings: one IfcOpeningElement "Slab_Hole" per opening row, a rectangular prism
// 10000 mm long from the storey base along the slab's extrusion direction (on a taller storey,
// long enough to pass 20 mm above the slab's top), over the opening's rectangle turned by its
// rotation about its reference point.

#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "readers/slab.h"
#include "vector/vector.h"

namespace Utils {

// The rows whose shape can be built: rectangles (kind 1) whose dimension text gives a
// positive width (item 1) and height (item 2). Each other row is reported on one line,
// "SlabHole_{id}, <fault>，已跳过", and left out.
[[nodiscard]] std::vector<Slab::SlabHoleRow> usableSlabHoles(
    const std::vector<Slab::SlabHoleRow>& slabHoles);

// The extrusion direction of a slab product's body: that of the swept solid under any
// boolean results (a folded slab's body), in the solid's own frame; (0, 0, 1) when there is
// none.
[[nodiscard]] App::Vector slabExtrusionDirection(const ifc::Entity& s);

// The openings of slab product `s`, one per row in row order. Rows that usableSlabHoles
// would leave out are reported and left out here too.
[[nodiscard]] std::vector<ifc::Entity> CreateHolesInSlab(
    const RunContext& ctx, const ifc::Entity& s, const std::vector<Slab::SlabHoleRow>& slabHoles);

}  // namespace Utils
