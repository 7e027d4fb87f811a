#pragma once
// Slabs with their outlines, adjacent beams and openings, and cantilever slabs.

#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "db/database.h"
#include "readers/grid.h"
#include "readers/id_map.h"
#include "readers/property.h"

namespace Slab {

// One slab (tblSlab, outline grid lines from tblSlabGrid).
struct SlabRow {
  db::Value stdFlrId;  // 0 tblSlab.StdFlrID
  std::string vertX;   // 1 tblSlab.VertX: x of each outline vertex followed by ","
  std::string vertY;   // 2 tblSlab.VertY: y of each vertex, same form
  std::string vertZ;   // 3 tblSlab.VertZ: height offset of each vertex from the storey top
  db::Value thick;     // 4 tblSlab.Thick: mm; 9999 = floor default, 0 = zero thickness
  db::Value mat;       // 5 tblSlab.Mat (not used by the builder)
  db::Value id;        // 6 tblSlab.ID
  std::vector<db::Value> gridIds;  // 7 tblSlabGrid.GridID of the slab, by tblSlabGrid.No
  bool operator==(const SlabRow&) const = default;
  // Membership of a grid id, by value (the cantilever thickness looks up its edge's slab).
  [[nodiscard]] bool hasGrid(const db::Value& gridId) const;
};

// The slabs of a list by the grid lines of their outlines, for finding the slab behind many
// edges: first(gridId) is the first slab of the list whose outline holds the grid line
// (SlabRow::hasGrid), as a pass over the list finds it. The list must outlive it.
class SlabsByGrid {
 public:
  explicit SlabsByGrid(std::span<const SlabRow> slabs);
  [[nodiscard]] const SlabRow* first(const db::Value& gridId) const;

 private:
  std::span<const SlabRow> slabs_;
  readers::IdMap<std::size_t> first_;     // grid id -> index of the first slab holding it
  std::optional<std::size_t> firstNull_;  // the first slab with a NULL grid id
};

// One cantilever slab (tblCantiSlab along a grid line).
struct CantiSlabRow {
  db::Value stdFlrId;        // 0 tblCantiSlab.StdFlrID
  db::Value id;              // 1 tblCantiSlab.ID
  double hDrop = 0;          // 2 tblCantiSlab.HDrop: top below the storey top, mm
  double ecc = 0;            // 3 tblCantiSlab.Ecc: start offset along a straight edge, mm
  double side = 0;           // 4 tblCantiSlab.Side: sign only; > 0 left of the edge / away from
                             //   the arc centre, < 0 right / towards it
  double length = 0;         // 5 tblCantiSlab.Length: along a straight edge, mm; 0 = whole edge
  db::Value width;           // 6 tblCantiSlab.Width: across the edge, mm
  db::Value thick;           // 7 tblCantiSlab.Thick: mm; 0 = adjacent slab's, 9999 = floor default
  double x1 = 0;             // 8 X of the edge's joint 1, mm
  double y1 = 0;             // 9 Y of joint 1
  double x2 = 0;             // 10 X of joint 2
  double y2 = 0;             // 11 Y of joint 2
  db::Value gridId;          // 12 tblCantiSlab.GridID: the supporting edge
  double axisJt1Id = 0;      // 13 tblAxis.Jt1ID of the edge: < 0 an arc edge
  std::optional<double> x0;  // 14 X of the arc centre (joint -Jt1ID); none for straight edges
  std::optional<double> y0;  // 15 Y of the arc centre
  double zDiff1 = 0;         // 16 HDiff of joint 1, mm
  double zDiff2 = 0;         // 17 HDiff of joint 2, mm
  bool operator==(const CantiSlabRow&) const = default;
};

// One beam along a slab's edge.
struct AdjacentBeamRow {
  db::Value slabId;             // 0 tblSlabGrid.SlabID
  db::Value beamId;             // 1 tblBeamSeg.ID
  db::Value gridId;             // 2 tblBeamSeg.GridID
  std::optional<double> hDiff;  // 3 top of the beam at its end 1 relative to the storey
                                //   top: tblBeamSeg.HDiff1 + joint HDiff, mm
  bool operator==(const AdjacentBeamRow&) const = default;
};

// One opening of a slab (tblSlabHole positioned from a joint, shape from tblSlabHoleDef).
struct SlabHoleRow {
  db::Value id;         // 0 tblSlabHole.ID
  db::Value slabId;     // 1 tblSlabHole.SlabID
  double eccX = 0;      // 2 tblSlabHole.EccX: corner offset along the opening's x axis, mm
  double eccY = 0;      // 3 tblSlabHole.EccY: corner offset along its y axis, mm
  double rotation = 0;  // 4 tblSlabHole.Rotation: degrees, counter-clockwise
  db::Value kind;       // 5 tblSlabHoleDef.Kind: 1 = rectangle
  db::Value shapeVal;   // 6 tblSlabHoleDef.ShapeVal: "1,width,height" for a rectangle
  db::Value jtId;       // 7 tblSlabHole.JtID: the reference joint
  double x0 = 0;        // 8 X of the reference joint, mm
  double y0 = 0;        // 9 Y of the reference joint, mm
  bool operator==(const SlabHoleRow&) const = default;
};

// Every slab, by standard floor and ID. A slab whose outline grid lines do not all resolve
// to two joints with coordinates, or whose grid ids are not numbers, is reported on `report`
// and left out.
[[nodiscard]] std::vector<SlabRow> getSlabs(const db::Database& conn,
                                            std::ostream& report = std::cout);
// Every cantilever slab, by standard floor and ID; one without its edge geometry (or an arc
// edge without its centre) is reported and left out.
[[nodiscard]] std::vector<CantiSlabRow> getCantiSlabs(const db::Database& conn,
                                                      std::ostream& report = std::cout);
// The beams of the slab's standard floor that lie on the slab's outline grid lines.
[[nodiscard]] std::vector<AdjacentBeamRow> getAdjacentBeams(const db::Database& conn,
                                                            const db::Value& slabID);
// The openings of one slab on one standard floor, by ID; one whose reference joint is missing
// is reported and left out.
[[nodiscard]] std::vector<SlabHoleRow> getSlabHoles(const db::Database& conn,
                                                    const db::Value& stdFlrID,
                                                    const db::Value& slabID,
                                                    std::ostream& report = std::cout);

// The per-slab lists (outline segments, adjacent beams, fold properties, openings) of every
// slab, each table read once when the reader is made and looked up in memory per slab, for a
// caller that reads them for many slabs: the free functions give the same rows. Ids are
// found as SQL compares the stored values (readers::IdMap). Make one per run: it holds the
// model's grid lines, slab outlines, beams on them, slab properties and openings. Its lookups
// only read, so threads may share it.
class SlabDetailReader {
 public:
  explicit SlabDetailReader(const db::Database& conn);
  ~SlabDetailReader();
  SlabDetailReader(SlabDetailReader&&) noexcept;
  SlabDetailReader& operator=(SlabDetailReader&&) noexcept;

  [[nodiscard]] std::vector<Grid::OutlineSegment> cords(
      const std::vector<db::Value>& gridIds) const;
  [[nodiscard]] std::vector<AdjacentBeamRow> adjacentBeams(const db::Value& slabID) const;
  [[nodiscard]] std::vector<Property::SlabFoldPropRow> foldProps(const db::Value& slabID) const;
  // An opening whose reference joint is missing is reported on `report` at this call.
  [[nodiscard]] std::vector<SlabHoleRow> holes(const db::Value& stdFlrID, const db::Value& slabID,
                                               std::ostream& report = std::cout) const;

 private:
  friend std::vector<SlabRow> getSlabs(const db::Database&, const SlabDetailReader&, std::ostream&);
  struct Tables;
  std::unique_ptr<Tables> tables_;
};

// getSlabs with the outlines and grid lines that `details` has read already.
[[nodiscard]] std::vector<SlabRow> getSlabs(const db::Database& conn,
                                            const SlabDetailReader& details,
                                            std::ostream& report = std::cout);

}  // namespace Slab
