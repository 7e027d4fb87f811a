#include "readers/grid.h"

#include <cmath>
#include <cstddef>

namespace Grid {

namespace {

constexpr const char* kGridSql =
    "select j1.X, j1.Y, j1.HDiff, j2.X, j2.Y, j2.HDiff, a.Jt1ID, c.X, c.Y, c.HDiff "
    "from tblGrid g left join tblJoint j1 on j1.ID = g.Jt1ID "
    "left join tblJoint j2 on j2.ID = g.Jt2ID left join tblAxis a on a.ID = g.AxisID "
    "left join tblJoint c on c.ID = -a.Jt1ID where g.ID = ?";

bool allNumbers(const db::Row& r, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (!r[i].isNumber() || !std::isfinite(r[i].asDouble())) return false;
  }
  return true;
}

OutlinePoint point(const db::Row& r, std::size_t at) {
  return {r[at].asDouble(), r[at + 1].asDouble(), r[at + 2].asDouble()};
}

bool near(const OutlinePoint& a, const OutlinePoint& b) {
  return std::hypot(a.x - b.x, a.y - b.y) < kNodeTolerance;
}

// The two ends of a segment: points 0 and 1 of a straight one, start and end of an arc.
std::size_t firstEnd(const OutlineSegment& s) { return s.isArc() ? 1 : 0; }
std::size_t secondEnd(const OutlineSegment& s) { return s.isArc() ? 2 : 1; }

struct Step {
  std::size_t index;
  bool reversed;
};

// Walks the segments from the first one, each next segment being one that starts or ends
// where the chain stands; the chain must use every segment and come back to its start.
std::optional<std::vector<Step>> chain(const std::vector<OutlineSegment>& cords) {
  std::vector<Step> steps;
  if (cords.empty()) return steps;
  for (const OutlineSegment& s : cords) {
    if (s.points.size() < 2 || (s.isArc() && s.points.size() < 3)) return std::nullopt;
  }
  std::vector<bool> used(cords.size(), false);
  steps.push_back({0, false});
  used[0] = true;
  const OutlinePoint start = cords[0][firstEnd(cords[0])];
  OutlinePoint at = cords[0][secondEnd(cords[0])];
  for (std::size_t n = 1; n < cords.size(); ++n) {
    bool found = false;
    for (std::size_t i = 0; i < cords.size() && !found; ++i) {
      if (used[i]) continue;
      const OutlineSegment& s = cords[i];
      if (near(s[firstEnd(s)], at)) {
        steps.push_back({i, false});
        at = s[secondEnd(s)];
        found = true;
      } else if (near(s[secondEnd(s)], at)) {
        steps.push_back({i, true});
        at = s[firstEnd(s)];
        found = true;
      }
      if (found) used[i] = true;
    }
    if (!found) return std::nullopt;
  }
  if (!near(at, start)) return std::nullopt;
  return steps;
}

// A joint's X, Y and HDiff; NaN where the stored value is not a finite number.
struct JointPoint {
  double x, y, z;
  [[nodiscard]] bool complete() const { return !std::isnan(x) && !std::isnan(y) && !std::isnan(z); }
};

double finiteOrNaN(const db::Value& v) {
  if (!v.isNumber() || !std::isfinite(v.asDouble())) return std::nan("");
  return v.asDouble();
}

}  // namespace

const char* const kCordSql = kGridSql;

GridIndex::GridIndex(const db::Database& conn) {
  readers::IdMap<JointPoint> joints;
  conn.forEach("select ID, X, Y, HDiff from tblJoint", [&](db::Row& r) {
    joints.insertFirst(r[0], {finiteOrNaN(r[1]), finiteOrNaN(r[2]), finiteOrNaN(r[3])});
  });
  // An axis is an arc when its code is a number below 0; its centre is the joint -code.
  readers::IdMap<double> arcCentres;
  conn.forEach("select ID, Jt1ID from tblAxis", [&](db::Row& r) {
    if (!r[1].isNumber() || !(r[1].asDouble() < 0)) return;
    arcCentres.insertFirst(r[0], -r[1].asDouble());
  });
  conn.forEach("select ID, Jt1ID, Jt2ID, AxisID from tblGrid", [&](db::Row& r) {
    if (r[0].isNull() || lines_.find(r[0])) return;
    Line line;
    const JointPoint* j1 = joints.find(readers::asRowid(r[1]));
    const JointPoint* j2 = joints.find(readers::asRowid(r[2]));
    line.joint1HDiff = j1 ? j1->z : std::nan("");
    const double* centreId = arcCentres.find(readers::asRowid(r[3]));
    if (!j1 || !j2 || !j1->complete() || !j2->complete()) {
      line.fault = Fault::badJoint;
    } else if (centreId) {
      const JointPoint* c = joints.find(db::Value(*centreId));
      if (!c || !c->complete()) {
        line.fault = Fault::badCentre;
      } else {
        line.arc = true;
        line.points[0] = {c->x, c->y, c->z};
        line.points[1] = {j1->x, j1->y, j1->z};
        line.points[2] = {j2->x, j2->y, j2->z};
      }
    } else {
      line.points[0] = {j1->x, j1->y, j1->z};
      line.points[1] = {j2->x, j2->y, j2->z};
    }
    *lines_.insert(r[0]) = line;
  });
}

const GridIndex::Line* GridIndex::find(const db::Value& gridId) const {
  return lines_.find(readers::asRowid(gridId));
}

GridIndex::Fault GridIndex::fault(const db::Value& gridId) const {
  const Line* line = find(gridId);
  return line ? line->fault : Fault::noGrid;
}

std::vector<OutlineSegment> GridIndex::cords(const std::vector<db::Value>& gridIds) const {
  std::vector<OutlineSegment> segments;
  segments.reserve(gridIds.size());
  for (const db::Value& id : gridIds) {
    const Line* line = find(id);
    if (!line || line->fault != Fault::none) continue;
    segments.push_back({{line->points, line->points + (line->arc ? 3 : 2)}});
  }
  return segments;
}

std::optional<double> GridIndex::joint1HDiff(const db::Value& gridId) const {
  const Line* line = find(gridId);
  if (!line || std::isnan(line->joint1HDiff)) return std::nullopt;
  return line->joint1HDiff;
}

std::vector<OutlineSegment> getCordByGrids(const db::Database& conn,
                                           const std::vector<db::Value>& gridIds) {
  db::Statement statement = conn.prepare(kGridSql);
  return readCords(statement, gridIds);
}

std::vector<OutlineSegment> readCords(db::Statement& statement,
                                      const std::vector<db::Value>& gridIds) {
  std::vector<OutlineSegment> segments;
  for (const db::Value& id : gridIds) {
    const std::vector<db::Row> rows = statement.query({id});
    if (rows.empty() || !allNumbers(rows[0], 0, 6)) continue;
    const db::Row& r = rows[0];
    const bool arc = r[6].isNumber() && r[6].asDouble() < 0;
    if (arc) {
      if (!allNumbers(r, 7, 10)) continue;
      segments.push_back({{point(r, 7), point(r, 0), point(r, 3)}});
    } else {
      segments.push_back({{point(r, 0), point(r, 3)}});
    }
  }
  return segments;
}

std::optional<std::vector<OutlinePoint>> sortGrids(const std::vector<OutlineSegment>& cords) {
  const auto steps = chain(cords);
  if (!steps) return std::nullopt;
  std::vector<OutlinePoint> nodes;
  nodes.reserve(steps->size());
  for (const Step& step : *steps) {
    const OutlineSegment& s = cords[step.index];
    nodes.push_back(step.reversed ? s[secondEnd(s)] : s[firstEnd(s)]);
  }
  return nodes;
}

std::optional<std::vector<OutlineSegment>> sortCords(const std::vector<OutlineSegment>& cords) {
  const auto steps = chain(cords);
  if (!steps) return std::nullopt;
  std::vector<OutlineSegment> sorted;
  sorted.reserve(steps->size());
  for (const Step& step : *steps) {
    OutlineSegment s = cords[step.index];
    if (step.reversed) std::swap(s.points[firstEnd(s)], s.points[secondEnd(s)]);
    sorted.push_back(std::move(s));
  }
  return sorted;
}

}  // namespace Grid
