#include "host/rows.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "host/numbers.h"

namespace py = pybind11;

namespace host {

namespace {

template <class Row>
struct Layout;

#define SDB2IFC_LAYOUT(Row, ...)                                 \
  template <>                                                    \
  struct Layout<Row> {                                           \
    static constexpr const char* name = #Row;                    \
    static constexpr auto fields = std::make_tuple(__VA_ARGS__); \
  };

using Beam::BeamRow;
SDB2IFC_LAYOUT(BeamRow, &BeamRow::floorId, &BeamRow::beamId, &BeamRow::ecc, &BeamRow::jt1Id,
               &BeamRow::jt2Id, &BeamRow::x1, &BeamRow::y1, &BeamRow::x2, &BeamRow::y2,
               &BeamRow::shapeVal, &BeamRow::mat, &BeamRow::kind, &BeamRow::hDiff1,
               &BeamRow::hDiff2, &BeamRow::zDiff1, &BeamRow::zDiff2, &BeamRow::axisJt1Id,
               &BeamRow::x0, &BeamRow::y0)
using Palvek::WallRow;
SDB2IFC_LAYOUT(WallRow, &WallRow::floorId, &WallRow::wallId, &WallRow::ecc, &WallRow::gridId,
               &WallRow::jt1Id, &WallRow::jt2Id, &WallRow::x1, &WallRow::y1, &WallRow::x2,
               &WallRow::y2, &WallRow::b, &WallRow::kind, &WallRow::mat, &WallRow::hDiff1,
               &WallRow::hDiff2, &WallRow::hDiffB, &WallRow::zDiff1, &WallRow::zDiff2,
               &WallRow::axisJt1Id, &WallRow::x0, &WallRow::y0)
using Palvek::WallHoleRow;
SDB2IFC_LAYOUT(WallHoleRow, &WallHoleRow::ecc, &WallHoleRow::hDiff, &WallHoleRow::b,
               &WallHoleRow::h)
using Column::ColumnRow;
SDB2IFC_LAYOUT(ColumnRow, &ColumnRow::stdFlrId, &ColumnRow::id, &ColumnRow::eccX, &ColumnRow::eccY,
               &ColumnRow::jtId, &ColumnRow::x, &ColumnRow::y, &ColumnRow::shapeVal,
               &ColumnRow::rotation, &ColumnRow::hDiffB, &ColumnRow::kind, &ColumnRow::mat,
               &ColumnRow::hDiff)
using Floor::StdFloorRow;
SDB2IFC_LAYOUT(StdFloorRow, &StdFloorRow::id, &StdFloorRow::height, &StdFloorRow::para,
               &StdFloorRow::no)
using SubBeam::SubBeamRow;
SDB2IFC_LAYOUT(SubBeamRow, &SubBeamRow::stdFlrId, &SubBeamRow::id, &SubBeamRow::x1, &SubBeamRow::y1,
               &SubBeamRow::z1, &SubBeamRow::x2, &SubBeamRow::y2, &SubBeamRow::z2,
               &SubBeamRow::jt1Id, &SubBeamRow::jt2Id, &SubBeamRow::shapeVal, &SubBeamRow::mat,
               &SubBeamRow::kind)
using Brace::BraceRow;
SDB2IFC_LAYOUT(BraceRow, &BraceRow::stdFlrId, &BraceRow::id, &BraceRow::jt1Id, &BraceRow::jt2Id,
               &BraceRow::eccX1, &BraceRow::eccY1, &BraceRow::eccX2, &BraceRow::eccY2,
               &BraceRow::hDiff1, &BraceRow::hDiff2, &BraceRow::rotation, &BraceRow::x1,
               &BraceRow::y1, &BraceRow::x2, &BraceRow::y2, &BraceRow::shapeVal, &BraceRow::mat,
               &BraceRow::kind, &BraceRow::zDiff1, &BraceRow::zDiff2)
using Slab::SlabRow;
SDB2IFC_LAYOUT(SlabRow, &SlabRow::stdFlrId, &SlabRow::vertX, &SlabRow::vertY, &SlabRow::vertZ,
               &SlabRow::thick, &SlabRow::mat, &SlabRow::id, &SlabRow::gridIds)
using Slab::CantiSlabRow;
SDB2IFC_LAYOUT(CantiSlabRow, &CantiSlabRow::stdFlrId, &CantiSlabRow::id, &CantiSlabRow::hDrop,
               &CantiSlabRow::ecc, &CantiSlabRow::side, &CantiSlabRow::length, &CantiSlabRow::width,
               &CantiSlabRow::thick, &CantiSlabRow::x1, &CantiSlabRow::y1, &CantiSlabRow::x2,
               &CantiSlabRow::y2, &CantiSlabRow::gridId, &CantiSlabRow::axisJt1Id,
               &CantiSlabRow::x0, &CantiSlabRow::y0, &CantiSlabRow::zDiff1, &CantiSlabRow::zDiff2)
using Slab::AdjacentBeamRow;
SDB2IFC_LAYOUT(AdjacentBeamRow, &AdjacentBeamRow::slabId, &AdjacentBeamRow::beamId,
               &AdjacentBeamRow::gridId, &AdjacentBeamRow::hDiff)
using Slab::SlabHoleRow;
SDB2IFC_LAYOUT(SlabHoleRow, &SlabHoleRow::id, &SlabHoleRow::slabId, &SlabHoleRow::eccX,
               &SlabHoleRow::eccY, &SlabHoleRow::rotation, &SlabHoleRow::kind,
               &SlabHoleRow::shapeVal, &SlabHoleRow::jtId, &SlabHoleRow::x0, &SlabHoleRow::y0)
using Property::SlabFoldPropRow;
SDB2IFC_LAYOUT(SlabFoldPropRow, &SlabFoldPropRow::objId, &SlabFoldPropRow::name,
               &SlabFoldPropRow::value)
using Grid::OutlinePoint;
SDB2IFC_LAYOUT(OutlinePoint, &OutlinePoint::x, &OutlinePoint::y, &OutlinePoint::z)
#undef SDB2IFC_LAYOUT

std::string typeName(py::handle value) {
  return py::str(py::type::of(value).attr("__name__")).cast<std::string>();
}

[[noreturn]] void wrongKind(const std::string& what, const char* expected, py::handle value) {
  throw py::type_error(what + ": expected " + expected + ", got " + typeName(value));
}

double toDouble(py::handle value, const std::string& what) {
  if (value.is_none() || py::isinstance<py::str>(value) || !PyNumber_Check(value.ptr())) {
    wrongKind(what, "a number", value);
  }
  return asFloat(value);
}

// One field each way, by the field's C++ type.
void read(py::handle v, const std::string& what, db::Value& out) {
  out = toDbValue(v, what.c_str());
}
void read(py::handle v, const std::string& what, double& out) { out = toDouble(v, what); }
void read(py::handle v, const std::string& what, std::optional<double>& out) {
  out = v.is_none() ? std::nullopt : std::optional<double>(toDouble(v, what));
}
void read(py::handle v, const std::string& what, std::string& out) {
  if (!py::isinstance<py::str>(v)) wrongKind(what, "text", v);
  out = v.cast<std::string>();
}
void read(py::handle v, const std::string& what, std::vector<db::Value>& out) {
  if (py::isinstance<py::str>(v) || !py::hasattr(v, "__iter__")) wrongKind(what, "a list", v);
  out.clear();
  for (py::handle item : v) out.push_back(toDbValue(item, what.c_str()));
}

py::object write(const db::Value& v) { return toPython(v); }
py::object write(double v) { return py::float_(v); }
py::object write(const std::optional<double>& v) {
  return v ? py::object(py::float_(*v)) : py::object(py::none());
}
py::object write(const std::string& v) { return py::str(v); }
py::object write(const std::vector<db::Value>& v) {
  py::list items;
  for (const db::Value& item : v) items.append(toPython(item));
  return items;
}

template <class Row>
constexpr std::size_t fieldCount =
    std::tuple_size_v<std::remove_const_t<decltype(Layout<Row>::fields)>>;

}  // namespace

db::Value toDbValue(py::handle value, const char* what) {
  if (value.is_none()) return {};
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (PyIndex_Check(value.ptr())) return asInt(value, what);
  if (PyNumber_Check(value.ptr())) return asFloat(value);
  wrongKind(what, "None, a number or text", value);
}

py::object toPython(const db::Value& value) {
  if (value.isNull()) return py::none();
  if (value.isInteger()) return py::int_(value.asInteger());
  if (value.isReal()) return py::float_(value.asDouble());
  return py::str(value.asText());
}

template <class Row>
py::tuple rowToPython(const Row& row) {
  constexpr std::size_t n = fieldCount<Row>;
  py::tuple result(n);
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((result[I] = write(row.*std::get<I>(Layout<Row>::fields))), ...);
  }
  (std::make_index_sequence<n>{});
  return result;
}

template <class Row>
Row rowFromPython(py::handle sequence) {
  constexpr std::size_t n = fieldCount<Row>;
  const std::string name = Layout<Row>::name;
  if (py::isinstance<py::str>(sequence) || !PySequence_Check(sequence.ptr())) {
    wrongKind(name, "a row (a tuple or list)", sequence);
  }
  const py::sequence items = py::reinterpret_borrow<py::sequence>(sequence);
  if (items.size() < n) {
    throw py::index_error(name + ": " + std::to_string(n) + " fields needed, " +
                          std::to_string(items.size()) + " given");
  }
  Row row;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (read(items[I], name + " field " + std::to_string(I), row.*std::get<I>(Layout<Row>::fields)),
     ...);
  }
  (std::make_index_sequence<n>{});
  return row;
}

#define SDB2IFC_HOST_ROW(Row)                          \
  template py::tuple rowToPython<Row>(const Row& row); \
  template Row rowFromPython<Row>(py::handle sequence);
SDB2IFC_HOST_ROWS(SDB2IFC_HOST_ROW)
#undef SDB2IFC_HOST_ROW

py::list segmentToPython(const Grid::OutlineSegment& segment) {
  py::list points;
  for (const Grid::OutlinePoint& p : segment.points) points.append(rowToPython(p));
  return points;
}

Grid::OutlineSegment segmentFromPython(py::handle sequence) {
  if (py::isinstance<py::str>(sequence) || !py::hasattr(sequence, "__iter__")) {
    wrongKind("OutlineSegment", "a list of points", sequence);
  }
  Grid::OutlineSegment segment;
  for (py::handle point : sequence)
    segment.points.push_back(rowFromPython<Grid::OutlinePoint>(point));
  return segment;
}

}  // namespace host
