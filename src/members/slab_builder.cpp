#include "members/slab_builder.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "members/arc_slab_outline.h"
#include "members/fold_solids.h"
#include "members/member_fault.h"
#include "members/messages.h"
#include "members/slab_fault.h"
#include "members/slab_outline.h"
#include "members/slab_thickness.h"
#include "members/solid_builders.h"
#include "sections/polygon_section.h"
#include "vector/vector.h"

namespace Utils {

namespace {

// Regions smaller than this (mm²) have no outline to build.
constexpr double kNoArea = 1.0;

double area(const std::vector<PlanPoint>& outline) {
  double twice = 0;
  for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    twice += outline[j][0] * outline[i][1] - outline[i][0] * outline[j][1];
  }
  return std::abs(twice) / 2;
}

// What one call shares with the panels it builds.
class SlabCall {
 public:
  SlabCall(const RunContext& ctx, const Slab::SlabRow& slab, double tk, double flr_height)
      : ctx_(ctx), slab_(slab), tk_(tk), flr_height_(flr_height) {}

  [[nodiscard]] double flrHeight() const { return flr_height_; }
  [[nodiscard]] double tk() const { return tk_; }
  [[nodiscard]] std::string id() const { return slab_.id.str(); }

  // Reads the dropped region; one that cannot be built is reported and left out.
  void planFold(const std::vector<Property::SlabFoldPropRow>& slabProps) {
    fold_ = readFoldRegion(slabProps);
    if (!fold_) return;
    if (fold_->verts.size() < 3 || area(fold_->verts) < kNoArea) {
      report("Slab_" + id() + ", 降板区域不足三个顶点或面积为零，未生成降板");
      fold_.reset();
      return;
    }
    try {
      widened_ = offsetEdges(*fold_);
    } catch (const SlabFault& fault) {
      report("Slab_" + id() + ", " + fault.what() + "，未生成降板加厚部分");
    }
  }

  // One product from a planar outline whose top face is `points_`; v_ is its upward normal.
  ifc::Entity createPolygonSlab(App::Vector v_, const std::vector<App::Vector>& points_,
                                int no = 0) {
    std::string name = "Slab_" + id();
    if (no != 0) {
      name += '_';
      name += std::to_string(no);
    }
    const ifc::Entity profile = Sect::Polygon_Section(ctx_.model, v_, points_);
    v_.normalize();
    const App::Vector pos = points_[0] - v_ * tk_;
    StraightOptions options;
    if (fold_) {
      const std::optional<FoldFrame> frame = FoldFrame::panel(points_[0], points_[1], v_);
      if (frame) {
        addFold(options, *frame);
      } else {
        report("Slab_" + id() + ", 竖直板面上无法放置降板，未生成降板");
      }
    }
    return CreateStraightStructure(ctx_, kind(), name, profile, tk_, pos, v_,
                                   points_[1] - points_[0], options);
  }

  // One flat product over an outline with arcs, its top at the storey top plus z0.
  ifc::Entity createArcSlab(const ifc::Entity& profile, double z0) {
    const App::Vector pos(0, 0, flr_height_ + z0 - tk_);
    StraightOptions options;
    // The product's frame is the floor's, raised: plan points of the region are its own.
    if (fold_) addFold(options, FoldFrame::plan());
    return CreateStraightStructure(ctx_, kind(), "Slab_" + id(), profile, tk_, pos,
                                   App::Vector(0, 0, 1), App::Vector(1, 0, 0), options);
  }

 private:
  [[nodiscard]] StructureType kind() const {
    return tk_ == kZeroSlabThickness ? StructureType::VirtualElement : StructureType::Slab;
  }
  void addFold(StraightOptions& options, const FoldFrame& frame) {
    const FoldSolids solids = createBooleanSolids(ctx_, *fold_, widened_, tk_, frame);
    options.cut = solids.cut;
    options.unionSolid = solids.unionSolid;
  }

  const RunContext& ctx_;
  const Slab::SlabRow& slab_;
  double tk_;
  double flr_height_;
  std::optional<FoldRegion> fold_;
  std::optional<std::vector<PlanPoint>> widened_;
};

std::string pointList(const std::vector<App::Vector>& points) {
  std::string text = "[";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i != 0) text += ", ";
    text += points[i].str();
  }
  return text + "]";
}

std::vector<ifc::Entity> straightOutline(SlabCall& call, const Slab::SlabRow& slab,
                                         const std::vector<double>& vz,
                                         const std::vector<Grid::OutlineSegment>& cords,
                                         const std::vector<Slab::AdjacentBeamRow>& adj_beams,
                                         const std::vector<Property::SlabFoldPropRow>& slabProps) {
  const std::vector<double> xs = parseVertexList(slab.vertX, "VertX");
  const std::vector<double> ys = parseVertexList(slab.vertY, "VertY");
  const std::size_t n = xs.size();
  const std::string notBuilt = "楼板" + call.id() + "未生成";
  if (n < 3 || ys.size() < n) {
    report(notBuilt);
    return {};
  }
  // An outline whose grid lines do not close has no nodes: only equal vertex heights place it.
  const std::vector<Grid::OutlinePoint> nodes =
      Grid::sortGrids(cords).value_or(std::vector<Grid::OutlinePoint>{});
  const auto heights = vertexHeights(vz, n, nodes, adj_beams, call.flrHeight());
  if (!heights) {
    // A short Z list that a level grid does not make up for.
    report(vz.size() < n ? notBuilt : "楼板" + call.id() + "轮廓线顶点坐标与网格坐标冲突！");
    return {};
  }
  std::vector<App::Vector> points;
  points.reserve(n);
  for (std::size_t i = 0; i < n; ++i) points.emplace_back(xs[i], ys[i], (*heights)[i]);

  const std::optional<App::Vector> v = outlineNormal(points);
  if (!v) throw SlabFault("轮廓顶点都在一条直线上");
  if (flattenOntoPlane(points, *v)) {
    call.planFold(slabProps);
    return {call.createPolygonSlab(*v, points)};
  }
  report(notBuilt);
  report(pointList(points));
  if (n != 4) return {};
  report("按三角形生成");
  call.planFold(slabProps);
  const auto [na, ta] = adjustPoints({points[0], points[1], points[2]});
  const auto [nb, tb] = adjustPoints({points[0], points[2], points[3]});
  std::vector<ifc::Entity> panels;
  panels.push_back(call.createPolygonSlab(na, ta, 1));
  panels.push_back(call.createPolygonSlab(nb, tb, 2));
  return panels;
}

std::vector<ifc::Entity> arcOutline(const RunContext& ctx, SlabCall& call,
                                    const std::vector<double>& vz,
                                    const std::vector<Grid::OutlineSegment>& cords,
                                    const std::vector<Property::SlabFoldPropRow>& slabProps) {
  const auto chain = Grid::sortCords(cords);
  if (!chain) throw SlabFault("轮廓网格不能连成闭合轮廓");
  for (const Grid::OutlineSegment& segment : *chain) {
    if (segment.isArc()) static_cast<void>(arcTrim(segment));
  }
  if (vz.empty()) throw SlabFault("VertZ为空");
  call.planFold(slabProps);
  const ifc::Entity profile = arcOutlineProfile(ctx.model, *chain);
  return {call.createArcSlab(profile, vz.front())};
}

}  // namespace

std::vector<ifc::Entity> CreateSlab(const RunContext& ctx, const Slab::SlabRow& slab,
                                    const Floor::StdFloorRow& stdFlr, double flr_tk,
                                    const std::vector<Grid::OutlineSegment>& cords,
                                    const std::vector<Slab::AdjacentBeamRow>& adj_beams,
                                    const std::vector<Property::SlabFoldPropRow>& slabProps) {
  if (slab.vertX.empty() && slab.vertY.empty() && slab.vertZ.empty()) return {};
  try {
    const double flr_height = storeyHeight(stdFlr.id, stdFlr.height);
    const double tk = getSlabThick(slab, flr_tk).asDouble();
    if (!(tk > 0)) throw SlabFault("板厚" + slab.thick.str() + "不是正数");
    const std::vector<double> vz = parseVertexList(slab.vertZ, "VertZ");
    SlabCall call(ctx, slab, tk, flr_height);
    const bool straight = std::all_of(cords.begin(), cords.end(),
                                      [](const Grid::OutlineSegment& s) { return !s.isArc(); });
    if (straight) return straightOutline(call, slab, vz, cords, adj_beams, slabProps);
    return arcOutline(ctx, call, vz, cords, slabProps);
  } catch (const SlabFault& fault) {
    reportSkipped("Slab", slab.id, fault.what());
  } catch (const Sect::SectionError& fault) {
    reportSkipped("Slab", slab.id, fault.what());
  } catch (const App::GeometryError& fault) {
    reportSkipped("Slab", slab.id, fault.what());
  }
  return {};
}

}  // namespace Utils
