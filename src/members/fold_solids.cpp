#include "members/fold_solids.h"

#include <cmath>
#include <string>
#include <string_view>

#include "members/slab_fault.h"
#include "text/number_text.h"
#include "text/split.h"

namespace Utils {

namespace {

// Vertices nearer than this to an earlier one (squared distance, mm²) are dropped.
constexpr double kDuplicateSquared = 1.0;
// A lifted frame needs a normal with at least this vertical share.
constexpr double kVerticalPanel = 1e-9;

const Property::SlabFoldPropRow* firstNamed(const std::vector<Property::SlabFoldPropRow>& rows,
                                            std::string_view name) {
  for (const Property::SlabFoldPropRow& row : rows) {
    if (row.name.isText() && row.name.asText() == name) return &row;
  }
  return nullptr;
}

std::string textOf(const db::Value& value) { return value.isText() ? value.asText() : value.str(); }

// The items of a property's value, each read as a number when it is needed.
class NumberList {
 public:
  NumberList(const Property::SlabFoldPropRow& row)
      : name_(textOf(row.name)), items_(text::split(textOf(row.value), ',')) {}

  [[nodiscard]] std::size_t size() const { return items_.size(); }
  [[nodiscard]] double at(std::size_t i) const {
    if (i >= items_.size()) {
      throw SlabFault(name_ + "只有" + std::to_string(items_.size()) + "项，缺少第" +
                      std::to_string(i + 1) + "项");
    }
    try {
      return text::parseFloat(items_[i]);
    } catch (const text::ParseError&) {
      throw SlabFault(name_ + "第" + std::to_string(i + 1) + "项'" + items_[i] + "'不是有限数值");
    }
  }
  // A count: the number truncated toward zero; a negative count is no item.
  [[nodiscard]] std::size_t count(std::size_t i, std::size_t limit) const {
    const double v = std::trunc(at(i));
    if (v <= 0) return 0;
    if (v > static_cast<double>(limit)) {
      throw SlabFault(name_ + "第" + std::to_string(i + 1) + "项的个数" + items_[i] + "超出数据");
    }
    return static_cast<std::size_t>(v);
  }

 private:
  std::string name_;
  std::vector<std::string> items_;
};

std::vector<PlanPoint> removeDuplicate(const std::vector<PlanPoint>& verts) {
  std::vector<bool> marked(verts.size(), false);
  for (std::size_t i = 1; i < verts.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const double dx = verts[i][0] - verts[j][0];
      const double dy = verts[i][1] - verts[j][1];
      if (dx * dx + dy * dy < kDuplicateSquared) marked[i] = true;
    }
  }
  std::vector<PlanPoint> kept;
  for (std::size_t i = 0; i < verts.size(); ++i) {
    if (!marked[i]) kept.push_back(verts[i]);
  }
  return kept;
}

std::optional<std::size_t> findIndex(const PlanPoint& p, const std::vector<PlanPoint>& verts) {
  for (std::size_t i = 0; i < verts.size(); ++i) {
    if (verts[i] == p) return i;
  }
  return std::nullopt;
}

// The far end of another edge that meets p, on the outline as it stands.
std::optional<PlanPoint> getPoint(const PlanPoint& p, const FoldEdge& edge,
                                  const std::vector<FoldEdge>& edges,
                                  const std::vector<PlanPoint>& verts) {
  for (const FoldEdge& other : edges) {
    if (other == edge) continue;
    if (verts[other.first] == p) return verts[other.second];
    if (verts[other.second] == p) return verts[other.first];
  }
  return std::nullopt;
}

// Strictly inside the polygon (even-odd rule); a point on its boundary is not.
bool strictlyInside(const std::vector<PlanPoint>& polygon, const PlanPoint& p) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const PlanPoint& a = polygon[j];
    const PlanPoint& b = polygon[i];
    const double cross = (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
    const double scale = std::hypot(b[0] - a[0], b[1] - a[1]);
    const bool withinX = std::min(a[0], b[0]) <= p[0] && p[0] <= std::max(a[0], b[0]);
    const bool withinY = std::min(a[1], b[1]) <= p[1] && p[1] <= std::max(a[1], b[1]);
    if (std::abs(cross) <= 1e-9 * scale && withinX && withinY) return false;
    if ((a[1] > p[1]) != (b[1] > p[1]) &&
        p[0] < a[0] + (p[1] - a[1]) * (b[0] - a[0]) / (b[1] - a[1])) {
      inside = !inside;
    }
  }
  return inside;
}

std::string pointText(const PlanPoint& p) {
  return "(" + text::repr(p[0]) + ", " + text::repr(p[1]) + ")";
}

ifc::Entity closedPolyline(ifc::Model& model, const std::vector<PlanPoint>& points) {
  ifc::List entities;
  for (const PlanPoint& p : points) {
    entities.emplace_back(model.create("IfcCartesianPoint", {ifc::List{p[0], p[1]}}));
  }
  entities.push_back(entities.front());
  return model.create("IfcPolyline", {std::move(entities)});
}

// Checked before any entity is made, so that no infinite coordinate reaches the model.
ifc::Entity createSolid(const RunContext& ctx, const std::vector<PlanPoint>& verts, double base,
                        double depth, const FoldFrame& frame) {
  std::vector<PlanPoint> mapped;
  for (const PlanPoint& v : verts) {
    mapped.push_back(frame.map(v));
    if (!std::isfinite(mapped.back()[0]) || !std::isfinite(mapped.back()[1])) {
      throw App::GeometryError("降板顶点" + pointText(v) + "无法放到板面上");
    }
  }
  if (!std::isfinite(base) || !std::isfinite(depth)) {
    throw App::GeometryError("降板高度" + text::repr(base) + "或厚度" + text::repr(depth) +
                             "不是有限数值");
  }
  ifc::Model& model = ctx.model;
  const ifc::Entity location = model.create("IfcCartesianPoint", {ifc::List{0.0, 0.0, base}});
  const ifc::Entity position =
      model.create("IfcAxis2Placement3D", {location, ctx.directionZ, ctx.directionX});
  const ifc::Entity profile = model.create("IfcArbitraryClosedProfileDef", {ifc::Enum{"AREA"}});
  profile.set("OuterCurve", closedPolyline(model, mapped));
  return model.create("IfcExtrudedAreaSolid", {profile, position, ctx.directionZ, depth});
}

}  // namespace

std::optional<FoldRegion> readFoldRegion(const std::vector<Property::SlabFoldPropRow>& slabProps) {
  const Property::SlabFoldPropRow* counts = firstNamed(slabProps, "FoldedSlab_nPt");
  const Property::SlabFoldPropRow* posWid = firstNamed(slabProps, "FoldedSlab_PosWid");
  if (counts == nullptr && posWid == nullptr) return std::nullopt;
  if (counts == nullptr) throw SlabFault("有FoldedSlab_PosWid但缺少FoldedSlab_nPt");
  if (posWid == nullptr) throw SlabFault("有FoldedSlab_nPt但缺少FoldedSlab_PosWid");

  const NumberList countList(*counts);
  const NumberList numbers(*posWid);
  const std::size_t nVert = countList.count(0, numbers.size());
  const std::size_t nEdge = countList.count(1, numbers.size());

  std::size_t at = 0;
  std::vector<PlanPoint> verts;
  for (std::size_t i = 0; i < nVert; ++i, at += 2) {
    verts.push_back({numbers.at(at), numbers.at(at + 1)});
  }
  FoldRegion region;
  region.verts = removeDuplicate(verts);
  for (std::size_t i = 0; i < nEdge; ++i, at += 5) {
    const PlanPoint a{numbers.at(at), numbers.at(at + 1)};
    const PlanPoint b{numbers.at(at + 2), numbers.at(at + 3)};
    const double offset = numbers.at(at + 4);
    const auto first = findIndex(a, region.verts);
    const auto second = findIndex(b, region.verts);
    if (first && second && *first != *second) region.edges.push_back({*first, *second, offset});
  }
  region.z_diff = numbers.at(at);
  region.tk_fd = numbers.at(at + 1);
  return region;
}

std::vector<PlanPoint> offsetEdges(const FoldRegion& region) {
  std::vector<PlanPoint> verts = region.verts;
  for (const FoldEdge& edge : region.edges) {
    if (!(edge.offset > 0)) continue;
    const PlanPoint a = verts[edge.first];
    const PlanPoint b = verts[edge.second];
    auto moved = [&](const PlanPoint& end) {
      const std::optional<PlanPoint> neighbour = getPoint(end, edge, region.edges, verts);
      if (!neighbour) {
        throw SlabFault("降板边" + pointText(a) + "-" + pointText(b) + "的端点" + pointText(end) +
                        "未与其他边相连");
      }
      App::Vector d(end[0] - (*neighbour)[0], end[1] - (*neighbour)[1], 0.0);
      d.normalize();
      PlanPoint candidate{end[0] + d.x * edge.offset, end[1] + d.y * edge.offset};
      if (strictlyInside(verts, candidate)) {
        candidate = {end[0] - d.x * edge.offset, end[1] - d.y * edge.offset};
      }
      return candidate;
    };
    const PlanPoint movedA = moved(a);
    const PlanPoint movedB = moved(b);
    verts[edge.first] = movedA;
    verts[edge.second] = movedB;
  }
  return verts;
}

FoldFrame::FoldFrame(const App::Vector& origin, const App::Vector& xAxis, const App::Vector& normal)
    : origin_(origin), xAxis_(xAxis), yAxis_(normal.cross(xAxis)), normal_(normal) {}

FoldFrame FoldFrame::plan() {
  return FoldFrame(App::Vector(0, 0, 0), App::Vector(1, 0, 0), App::Vector(0, 0, 1));
}

std::optional<FoldFrame> FoldFrame::panel(const App::Vector& first, const App::Vector& second,
                                          const App::Vector& normal) {
  const double length = normal.Length();
  const double edge = (second - first).Length();
  if (length == 0.0 || edge == 0.0) return std::nullopt;
  const App::Vector n = normal / length;
  if (std::abs(n.z) < kVerticalPanel) return std::nullopt;
  return FoldFrame(first, (second - first) / edge, n);
}

PlanPoint FoldFrame::map(const PlanPoint& p) const {
  const double dx = p[0] - origin_.x;
  const double dy = p[1] - origin_.y;
  // Lifted vertically onto the plane through the origin; horizontal frames need no lift.
  const double dz =
      normal_.x == 0.0 && normal_.y == 0.0 ? 0.0 : -(normal_.x * dx + normal_.y * dy) / normal_.z;
  const App::Vector d(dx, dy, dz);
  return {d.dot(xAxis_), d.dot(yAxis_)};
}

FoldSolids createBooleanSolids(const RunContext& ctx, const FoldRegion& region,
                               const std::optional<std::vector<PlanPoint>>& widened, double tk,
                               const FoldFrame& frame) {
  const double diff = region.z_diff - tk;
  FoldSolids solids;
  // A prism of no positive depth is no solid: the region does not reach that face.
  const double cutDepth = tk + diff;
  if (cutDepth > 0) solids.cut = createSolid(ctx, region.verts, -diff, cutDepth, frame);
  const double unionDepth = region.tk_fd + diff;
  if (widened && unionDepth > 0) {
    solids.unionSolid = createSolid(ctx, *widened, -(region.tk_fd + diff), unionDepth, frame);
  }
  return solids;
}

}  // namespace Utils
