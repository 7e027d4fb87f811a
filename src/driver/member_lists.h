#pragma once
// The member lists a run builds from, read from the model database in one go, on several
// connections at once when the run is threaded.

#include <iostream>
#include <memory>
#include <vector>

#include "db/database.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"

namespace Verdamo {

struct MemberLists {
  std::vector<Beam::BeamRow> beams;
  std::vector<SubBeam::SubBeamRow> subBeams;
  std::vector<Column::ColumnRow> columns;
  std::vector<Palvek::WallRow> walls;
  std::unique_ptr<Slab::SlabDetailReader> slabDetails;
  std::vector<Slab::SlabRow> slabs;
  std::vector<Slab::CantiSlabRow> cantiSlabs;
  std::vector<Brace::BraceRow> braces;
  std::unique_ptr<Palvek::WallHoleQuery> wallHoles;
};

// Reads the axes (read only to check the table), beams, secondary beams, columns, walls, slab
// details, slabs, cantilever slabs, braces and wall openings, in this order, without the
// members in excludeIds. With `concurrently` the readers run on threads of their own, on
// connections that read what `conn` reads (db::Database::openSibling; without one, they run
// one after the other on `conn`). Either way the lists, the lines on `report` and the fault
// that ends the reading are those of the readers run in order.
[[nodiscard]] MemberLists readMemberLists(const db::Database& conn,
                                          const Property::ExcludeIds& excludeIds, bool concurrently,
                                          std::ostream& report = std::cout);

}  // namespace Verdamo
