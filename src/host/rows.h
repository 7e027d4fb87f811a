#pragma once
// Model rows between the host and the libraries. The host reads a row by position, as a tuple
// (any sequence of at least the row's length is taken, extra items are ignored); the
// libraries read named fields of a struct. Each row type lists its fields in position order
// once, in rows.cpp, and both directions follow from that list.

#include <pybind11/pybind11.h>

#include <vector>

#include "db/value.h"
#include "queries/rows.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/grid.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"

namespace host {

// A stored value: None, int, float or str.
[[nodiscard]] db::Value toDbValue(pybind11::handle value, const char* what);
[[nodiscard]] pybind11::object toPython(const db::Value& value);

// The row as a tuple, and back. A sequence that is too short raises IndexError, a field of
// the wrong kind TypeError; both name the row type and the position.
template <class Row>
[[nodiscard]] pybind11::tuple rowToPython(const Row& row);
template <class Row>
[[nodiscard]] Row rowFromPython(pybind11::handle sequence);

// Lists of rows.
template <class Row>
[[nodiscard]] pybind11::list rowsToPython(const std::vector<Row>& rows) {
  pybind11::list result;
  for (const Row& row : rows) result.append(rowToPython(row));
  return result;
}
template <class Row>
[[nodiscard]] std::vector<Row> rowsFromPython(pybind11::handle sequence) {
  std::vector<Row> rows;
  for (pybind11::handle item : pybind11::reinterpret_borrow<pybind11::iterable>(sequence)) {
    rows.push_back(rowFromPython<Row>(item));
  }
  return rows;
}

// The row types of the host functions: X(Row) for each.
#define SDB2IFC_HOST_ROWS(X)   \
  X(Beam::BeamRow)             \
  X(Palvek::WallRow)           \
  X(Palvek::WallHoleRow)       \
  X(Column::ColumnRow)         \
  X(Floor::StdFloorRow)        \
  X(SubBeam::SubBeamRow)       \
  X(Brace::BraceRow)           \
  X(Slab::SlabRow)             \
  X(Slab::CantiSlabRow)        \
  X(Slab::AdjacentBeamRow)     \
  X(Slab::SlabHoleRow)         \
  X(Property::SlabFoldPropRow) \
  X(Grid::OutlinePoint)

#define SDB2IFC_HOST_ROW(Row)                                       \
  extern template pybind11::tuple rowToPython<Row>(const Row& row); \
  extern template Row rowFromPython<Row>(pybind11::handle sequence);
SDB2IFC_HOST_ROWS(SDB2IFC_HOST_ROW)
#undef SDB2IFC_HOST_ROW

// An outline segment is a list of its points, each an (x, y, z) tuple.
[[nodiscard]] pybind11::list segmentToPython(const Grid::OutlineSegment& segment);
[[nodiscard]] Grid::OutlineSegment segmentFromPython(pybind11::handle sequence);

}  // namespace host
