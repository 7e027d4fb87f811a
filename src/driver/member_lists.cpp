#include "driver/member_lists.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "driver/exclusions.h"
#include "readers/axis.h"
#include "readers/id_map.h"

namespace Verdamo {

namespace {

// One reader: what it prints goes to the stream it is given.
using Reader = std::function<void(const db::Database&, std::ostream&)>;

struct Outcome {
  std::ostringstream report;
  std::exception_ptr fault;
};

}  // namespace

MemberLists readMemberLists(const db::Database& conn, const Property::ExcludeIds& excludeIds,
                            bool concurrently, std::ostream& report) {
  MemberLists lists;
  // The walls left out by excludeIds: their openings are not read either. Read by the
  // wall-opening reader, which runs after the wall reader, on the same connection.
  std::vector<Palvek::WallRow> notExported;
  const auto memberId = [](const auto& row) { return row.id; };
  // In the order a sequential run reads them.
  const std::array<Reader, 10> readers{
      [](const db::Database& c, std::ostream&) { static_cast<void>(Axis::getAxes(c)); },
      [&](const db::Database& c, std::ostream& out) {
        lists.beams = ExcludeNoIFC(Beam::getBeams(c, out), excludeIds,
                                   [](const auto& r) { return r.beamId; });
      },
      [&](const db::Database& c, std::ostream& out) {
        lists.subBeams = ExcludeNoIFC(SubBeam::getBeams(c, out), excludeIds, memberId);
      },
      [&](const db::Database& c, std::ostream& out) {
        lists.columns = ExcludeNoIFC(Column::getColumns(c, out), excludeIds, memberId);
      },
      [&](const db::Database& c, std::ostream& out) {
        const auto wallId = [](const auto& r) { return r.wallId; };
        std::vector<Palvek::WallRow> walls = Palvek::getPalveks(c, out);
        for (const Palvek::WallRow& w : walls) {
          if (excludeIds.contains(wallId(w))) notExported.push_back(w);
        }
        lists.walls = ExcludeNoIFC(std::move(walls), excludeIds, wallId);
      },
      [&](const db::Database& c, std::ostream&) {
        lists.slabDetails = std::make_unique<Slab::SlabDetailReader>(c);
      },
      [&](const db::Database& c, std::ostream& out) {
        lists.slabs =
            ExcludeNoIFC(Slab::getSlabs(c, *lists.slabDetails, out), excludeIds, memberId);
      },
      [&](const db::Database& c, std::ostream& out) {
        lists.cantiSlabs = ExcludeNoIFC(Slab::getCantiSlabs(c, out), excludeIds, memberId);
      },
      [&](const db::Database& c, std::ostream& out) {
        lists.braces = ExcludeNoIFC(Brace::getBraces(c, out), excludeIds, memberId);
      },
      [&](const db::Database& c, std::ostream&) {
        lists.wallHoles = std::make_unique<Palvek::WallHoleQuery>(c);
        for (const Palvek::WallRow& w : notExported) {
          // A grid line that keeps an exported wall keeps its openings.
          const bool carried =
              std::any_of(lists.walls.begin(), lists.walls.end(), [&](const Palvek::WallRow& kept) {
                return readers::sameId(kept.floorId, w.floorId) &&
                       readers::sameId(kept.gridId, w.gridId);
              });
          if (!carried) lists.wallHoles->leaveOut(w.floorId, w.gridId);
        }
      },
  };

  std::optional<db::Database> second;
  std::optional<db::Database> third;
  if (concurrently) second = conn.openSibling();
  if (second) third = conn.openSibling();
  if (!third) {
    for (const Reader& read : readers) read(conn, report);
    return lists;
  }

  // The beam query takes about as long as the rest together; the slab details and slabs
  // (which need the details) take about as long as the readers left on `conn`. Each group
  // runs its readers in order and stops at its first fault.
  std::array<Outcome, readers.size()> outcomes;
  const auto runGroup = [&](const db::Database& c, std::initializer_list<std::size_t> group) {
    for (const std::size_t i : group) {
      try {
        readers[i](c, outcomes[i].report);
      } catch (...) {
        outcomes[i].fault = std::current_exception();
        return;
      }
    }
  };
  {
    std::jthread beams([&] { runGroup(*second, {1}); });
    std::jthread slabs([&] { runGroup(*third, {5, 6}); });
    runGroup(conn, {0, 2, 3, 4, 7, 8, 9});
  }
  // What the readers in order would have printed, up to the fault that would have ended them.
  for (Outcome& outcome : outcomes) {
    report << outcome.report.str();
    if (outcome.fault) std::rethrow_exception(outcome.fault);
  }
  return lists;
}

}  // namespace Verdamo
