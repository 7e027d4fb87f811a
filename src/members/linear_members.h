#pragma once
// The builders of the linear members of a standard floor: beams, secondary beams, columns and
// braces, placed in the standard floor's frame (z = 0 at the storey base, the storey height at
// its top). Each returns the member's products: none (a rigid link, or a member whose data is
// faulty, reported on one line), one body, a kind-23 beam followed by its void, or the element
// assembly of a composite section. Only a fault of the run (a standard floor without a usable
// height, a model refusing an entity) is thrown.

#include <span>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "queries/beam.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/sub_beam.h"

namespace Utils {

// A beam hanging from its top: revolved about its arc's centre, a side-view outline extruded
// across its width (kinds 21 and 23, kind 23 voided inside), or its section swept along its
// axis with its ends cut at skew joints. connectBeams are its supporting beams, end 1 first.
[[nodiscard]] std::vector<ifc::Entity> CreateBeam(
    const RunContext& ctx, const Beam::BeamRow& beam, const Floor::StdFloorRow& stdFlr,
    std::span<const Beam::SupportingBeamPair> connectBeams);

// A secondary beam: its section swept from end 1 to end 2, its top at the ends' heights.
[[nodiscard]] std::vector<ifc::Entity> CreateSubBeam(const RunContext& ctx,
                                                     const SubBeam::SubBeamRow& beam,
                                                     const Floor::StdFloorRow& stdFlr);

// A column: its section turned by the row's rotation, moved by its eccentricities and extruded
// up from HDiffB above the storey base to HDiff above the storey top.
[[nodiscard]] std::vector<ifc::Entity> CreateColumn(const RunContext& ctx,
                                                    const Column::ColumnRow& column,
                                                    const Floor::StdFloorRow& stdFlr);

// A brace: its section swept between its two ends, turned about its axis by the row's
// rotation.
[[nodiscard]] std::vector<ifc::Entity> CreateBrace(const RunContext& ctx,
                                                   const Brace::BraceRow& brace,
                                                   const Floor::StdFloorRow& stdFlr);

}  // namespace Utils
