#pragma once
// Grid lines as outline segments of slabs, and their ordering into a closed outline.

#include <optional>
#include <vector>

#include "db/database.h"
#include "readers/id_map.h"

namespace Grid {

// A joint's plan position and height offset (tblJoint X, Y, HDiff), mm.
struct OutlinePoint {
  double x = 0;  // 0
  double y = 0;  // 1
  double z = 0;  // 2 height offset of the joint from the storey top
  [[nodiscard]] double operator[](std::size_t i) const { return i == 0 ? x : i == 1 ? y : z; }
  bool operator==(const OutlinePoint&) const = default;
};

// A straight edge holds its two end points; an arc edge holds its centre, start and end.
struct OutlineSegment {
  std::vector<OutlinePoint> points;
  [[nodiscard]] bool isArc() const { return points.size() != 2; }
  [[nodiscard]] std::size_t size() const { return points.size(); }
  [[nodiscard]] const OutlinePoint& operator[](std::size_t i) const { return points.at(i); }
  bool operator==(const OutlineSegment&) const = default;
};

// The segments of the given grid lines, in the order of `gridIds`. A grid line on an arc axis
// (tblAxis.Jt1ID < 0) gives [centre, joint 1, joint 2], any other [joint 1, joint 2]. A grid
// id without a grid row or with a missing joint gives no segment (Slab::getSlabs has already
// left out the slabs whose outline grids do not resolve).
[[nodiscard]] std::vector<OutlineSegment> getCordByGrids(const db::Database& conn,
                                                         const std::vector<db::Value>& gridIds);

// The statement behind getCordByGrids (one grid id bound), and the reading of the segments
// with it prepared, for readers that fetch outlines of many slabs.
extern const char* const kCordSql;
[[nodiscard]] std::vector<OutlineSegment> readCords(db::Statement& statement,
                                                    const std::vector<db::Value>& gridIds);

// The plan geometry of every grid line, read once (joints, axes and grid lines, joined in
// memory) for readers that look up the outlines of many slabs. Grid lines and joints are
// found by id as SQL compares the stored values (readers::IdMap).
class GridIndex {
 public:
  explicit GridIndex(const db::Database& conn);

  // What keeps a grid line from being an outline segment.
  enum class Fault {
    none,
    noGrid,     // no grid row with that id
    badJoint,   // a joint missing or without finite X, Y and HDiff
    badCentre,  // an arc axis whose centre joint is missing or without finite coordinates
  };
  [[nodiscard]] Fault fault(const db::Value& gridId) const;
  // The segments of the given grid lines, as getCordByGrids gives them.
  [[nodiscard]] std::vector<OutlineSegment> cords(const std::vector<db::Value>& gridIds) const;
  // HDiff of the grid line's joint 1, when the line and the joint exist and it is a finite
  // number.
  [[nodiscard]] std::optional<double> joint1HDiff(const db::Value& gridId) const;

 private:
  struct Line {
    Fault fault = Fault::none;
    bool arc = false;
    OutlinePoint points[3];  // [joint 1, joint 2] or [centre, joint 1, joint 2]
    double joint1HDiff = 0;  // NaN when not a finite number
  };
  [[nodiscard]] const Line* find(const db::Value& gridId) const;
  readers::IdMap<Line> lines_;
};

// Points closer than this (mm) are one outline node.
inline constexpr double kNodeTolerance = 1e-3;

// The nodes of a closed outline of straight segments, in chain order starting at the first
// segment's first point, one node per segment. No value when the segments do not form one
// closed chain; an empty list gives an empty list.
[[nodiscard]] std::optional<std::vector<OutlinePoint>> sortGrids(
    const std::vector<OutlineSegment>& cords);

// The segments as one closed chain starting with the first segment, each oriented along the
// chain (a straight segment's points swapped, an arc's start and end swapped). No value when
// the segments do not form one closed chain.
[[nodiscard]] std::optional<std::vector<OutlineSegment>> sortCords(
    const std::vector<OutlineSegment>& cords);

}  // namespace Grid
