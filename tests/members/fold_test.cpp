// The dropped regions of folded slabs through the written file: the cut and added solids,
// their outlines in the slab's frame, and the regions that cannot be built.
#include <gtest/gtest.h>

#include "slab_model.h"

namespace members_test {
namespace {

using FoldedSlabs = SlabModel;

struct FoldParts {
  ifc::Entity swept;  // the slab's own extruded solid
  ifc::Entity cut;
  ifc::Entity unionSolid;
};

// The body is ((slab + union) - cut), either operation left out when its solid is.
FoldParts foldParts(const ifc::Entity& body) {
  FoldParts parts;
  ifc::Entity item = body;
  if (item.is_a("IfcBooleanResult") && item.get("Operator").asEnum() == "DIFFERENCE") {
    parts.cut = item.get("SecondOperand").asEntity();
    item = item.get("FirstOperand").asEntity();
  }
  if (item.is_a("IfcBooleanResult") && item.get("Operator").asEnum() == "UNION") {
    parts.unionSolid = item.get("SecondOperand").asEntity();
    item = item.get("FirstOperand").asEntity();
  }
  parts.swept = item;
  return parts;
}

double baseOf(const ifc::Entity& solid) {
  return frameOf(solid.get("Position").asEntity()).origin[2];
}

// The outline of a fold solid, whose polyline must close on its first point.
std::vector<Point2> outlineOf(const ifc::Entity& solid) {
  const ifc::Entity profile = solid.get("SweptArea").asEntity();
  const ifc::Value points = profile.get("OuterCurve").asEntity().get("Points");
  EXPECT_EQ(points.asList().front(), points.asList().back());
  return profilePoints(profile);
}

std::vector<std::pair<double, double>> shifted(std::vector<std::pair<double, double>> points,
                                               double dx, double dy) {
  for (auto& [x, y] : points) x += dx, y += dy;
  return points;
}

TEST_F(FoldedSlabs, CutAndAddedSolidsLowerTheRegionAndWidenItsOffsetEdges) {
  const std::vector<std::pair<double, double>> region{{0, 0}, {600, 0}, {600, 400}, {0, 400}};
  const struct Case {
    double dx;
    std::vector<std::pair<double, double>> region;
    std::vector<double> offsets;
    std::vector<Point2> widened;
  } cases[] = {
      {0, region, {100, 0, 0, 0}, {{0, -100}, {600, -100}, {600, 400}, {0, 400}}},
      // Listed clockwise, the moves come out the same.
      {10000,
       {{0, 0}, {0, 400}, {600, 400}, {600, 0}},
       {0, 0, 0, 100},
       {{0, -100}, {0, 400}, {600, 400}, {600, -100}}},
  };
  std::vector<Value> ids;
  for (const Case& c : cases) {
    ids.push_back(slab({{c.dx, 0}, {c.dx + 3000, 0}, {c.dx + 3000, 3000}, {c.dx, 3000}}, 120));
    m.fold(ids.back(), shifted(c.region, c.dx, 0), c.offsets, 50, 200);
  }
  EXPECT_EQ(convert(), "");
  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(i);
    const FoldParts parts = foldParts(bodyItem(product(*model, "Slab_" + ids[i].str())));
    ASSERT_TRUE(parts.cut && parts.unionSolid);
    std::vector<Point2> unmoved;
    for (const auto& [x, y] : cases[i].region) unmoved.push_back({x, y});
    EXPECT_EQ(baseOf(parts.cut), 70.0);
    EXPECT_EQ(parts.cut.get("Depth").asDouble(), 50.0);
    expectPoints(outlineOf(parts.cut), unmoved);
    EXPECT_EQ(baseOf(parts.unionSolid), -130.0);
    EXPECT_EQ(parts.unionSolid.get("Depth").asDouble(), 130.0);
    expectPoints(outlineOf(parts.unionSolid), cases[i].widened);
    EXPECT_EQ(parts.swept.get("Depth").asDouble(), 120.0);
  }
}

// The region's plan points land on the panel's top face right above (below) themselves, on
// a sloped panel as on the floor's own frame of an arc-edged slab.
TEST_F(FoldedSlabs, RegionsLandVerticallyOnSlopedAndArcEdgedSlabs) {
  const Value sloped = slab({{0, 0}, {6000, 0, 600}, {6000, 3000, 600}, {0, 3000}}, 120);
  const std::vector<std::pair<double, double>> onSlope{
      {1000, 1000}, {3000, 1000}, {3000, 2000}, {1000, 2000}};
  m.fold(sloped, onSlope, {}, 50, 200);
  const Value arc = m.arc(jt(20000, 0), jt(26000, 0), jt(20000, 6000));
  const Value arcEdged = m.add(modeldb::Slab{
      .stdFlr = sf, .grids = {arc, grid({20000, 6000}, {20000, 0}), grid({20000, 0}, {26000, 0})}});
  const std::vector<std::pair<double, double>> onArc{{21000, 1000}, {22000, 1000}, {22000, 2000}};
  m.fold(arcEdged, onArc, {}, 50, 200);
  EXPECT_EQ(convert(), "");

  const struct {
    Value id;
    std::vector<std::pair<double, double>> region;
    double slope;  // rise of the top face per mm of x
  } cases[] = {{sloped, onSlope, 0.1}, {arcEdged, onArc, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id.str());
    const ifc::Entity p = product(*model, "Slab_" + c.id.str());
    const FoldParts parts = foldParts(bodyItem(p));
    ASSERT_TRUE(parts.cut);
    const Frame cut = frameOf(p.get("ObjectPlacement").asEntity())
                          .compose(frameOf(parts.cut.get("Position").asEntity()));
    const std::vector<Point2> local = outlineOf(parts.cut);
    ASSERT_EQ(local.size(), c.region.size());
    for (std::size_t i = 0; i < local.size(); ++i) {
      const Point3 top = cut.apply({local[i][0], local[i][1], 50});
      EXPECT_NEAR(top[0], c.region[i].first, 1e-6);
      EXPECT_NEAR(top[1], c.region[i].second, 1e-6);
      EXPECT_NEAR(top[2], 3000 + c.slope * c.region[i].first, 1e-6);
    }
  }
}

TEST_F(FoldedSlabs, RegionsThatCannotBeBuiltAreReportedAndTheSlabBuiltWithoutThem) {
  auto square = [&](double dx) {
    return slab({{dx, 0}, {dx + 3000, 0}, {dx + 3000, 3000}, {dx, 3000}}, 120);
  };
  const std::vector<std::pair<double, double>> region{{0, 0}, {600, 0}, {600, 400}, {0, 400}};
  // An offset edge whose ends meet no other edge: no added solid.
  const Value loose = square(0);
  m.fold(loose, region, {100}, 50, 200);
  // Two vertices: no region.
  const Value line = square(10000);
  m.fold(line, {{10000, 0}, {10600, 0}}, {}, 50, 200);
  // No drop: nothing to cut; a region not below the slab: nothing to add.
  const Value noDrop = square(20000);
  m.fold(noDrop, shifted(region, 20000, 0), {}, 0, 200);
  const Value shallow = square(30000);
  m.fold(shallow, shifted(region, 30000, 0), {}, 50, 70);
  // Counts without the region's numbers: faulty data, the slab is left out.
  const Value unread = square(40000);
  m.add(modeldb::Property{.objId = unread, .name = "FoldedSlab_nPt", .val = "4,4"});
  // Other properties only: an ordinary slab.
  const Value plain = square(50000);
  m.add(modeldb::Property{.objId = plain, .name = "Remark", .val = "x"});

  EXPECT_EQ(convert(), "Slab_" + loose.str() +
                           ", 降板边(0.0, 0.0)-(600.0, 0.0)的端点(0.0, 0.0)未与其他边相连，"
                           "未生成降板加厚部分\nSlab_" +
                           line.str() + ", 降板区域不足三个顶点或面积为零，未生成降板\nSlab_" +
                           unread.str() + ", 有FoldedSlab_nPt但缺少FoldedSlab_PosWid，已跳过\n");
  const struct {
    Value id;
    bool cut, added;
  } cases[] = {{loose, true, false},
               {line, false, false},
               {noDrop, false, true},
               {shallow, true, false},
               {plain, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id.str());
    const FoldParts parts = foldParts(bodyItem(product(*model, "Slab_" + c.id.str())));
    EXPECT_EQ(static_cast<bool>(parts.cut), c.cut);
    EXPECT_EQ(static_cast<bool>(parts.unionSolid), c.added);
    EXPECT_TRUE(parts.swept.is_a("IfcExtrudedAreaSolid"));
  }
  EXPECT_TRUE(productsNamed(*model, "Slab_" + unread.str()).empty());
}

}  // namespace
}  // namespace members_test
