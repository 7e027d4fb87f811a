// Slabs through the written file: shapes, vertex heights, split and skipped outlines, arc
// edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>

#include "driver/verdamo.h"
#include "slab_model.h"

namespace members_test {
namespace {

using Slabs = SlabModel;

const std::vector<Corner> kRectangle{{0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}};

TEST_F(Slabs, PlanarOutlinesBecomeOneProductWhoseTopIsTheOutline) {
  const double slope = std::hypot(6000.0, 600.0);
  const double dx = 120 * 600 / slope, dz = 120 * 6000 / slope;  // the normal's share of tk
  const struct Case {
    std::vector<Corner> corners;
    Value thick;
    const char* type;
    Box box;
    double volume;
    // A polygon profile's point on its x axis may land 1.5e-8 rad off it (an arc cosine
    // next to 1): 0.15 um at 10 m, which is 10 ppm of the volume of a sliver 15 mm wide.
    double tolerance = 1e-6;
    double volumeShare = 1e-9;
  } cases[] = {
      // Default thickness.
      {kRectangle, 9999, "IfcSlab", {{0, 0, 2880}, {6000, 3000, 3000}}, 6000.0 * 3000 * 120},
      // L-shaped, its own thickness, given clockwise.
      {{{0, 10000}, {0, 16000}, {3000, 16000}, {3000, 13000}, {6000, 13000}, {6000, 10000}},
       150,
       "IfcSlab",
       {{0, 10000, 2850}, {6000, 16000, 3000}},
       27e6 * 150},
      // Zero thickness: a virtual element 10 mm thick.
      {{{0, 20000}, {6000, 20000}, {6000, 23000}, {0, 23000}},
       0,
       "IfcVirtualElement",
       {{0, 20000, 2990}, {6000, 23000, 3000}},
       6000.0 * 3000 * 10},
      // Sloped 600 mm up to the east: the body hangs one thickness below along the normal.
      {{{0, 30000}, {6000, 30000, 600}, {6000, 33000, 600}, {0, 33000}},
       120,
       "IfcSlab",
       {{0, 30000, 3000 - dz}, {6000 + dx, 33000, 3600}},
       slope * 3000 * 120},
      // A triangle with a corner of 0.29 degrees, listed from each of its vertices: the sharp
      // corner between the first two edges does not decide whether it is built.
      {{{10000, 40050}, {0, 40000}, {10000, 40000}},
       120,
       "IfcSlab",
       {{0, 40000, 2880}, {10000, 40050, 3000}},
       10000.0 * 50 / 2 * 120,
       1e-3},
      {{{0, 41000}, {10000, 41000}, {10000, 41050}},
       120,
       "IfcSlab",
       {{0, 41000, 2880}, {10000, 41050, 3000}},
       10000.0 * 50 / 2 * 120,
       1e-3},
      {{{10000, 42000}, {10000, 42050}, {0, 42000}},
       120,
       "IfcSlab",
       {{0, 42000, 2880}, {10000, 42050, 3000}},
       10000.0 * 50 / 2 * 120,
       1e-3},
      // A sliver whose every corner is within 0.01 rad of straight or of folding back, from
      // each of its vertices: laid flat all the same.
      {{{0, 43000}, {6000, 43015}, {12000, 43000}},
       120,
       "IfcSlab",
       {{0, 43000, 2880}, {12000, 43015, 3000}},
       12000.0 * 15 / 2 * 120,
       1e-3,
       1e-5},
      {{{6000, 44015}, {12000, 44000}, {0, 44000}},
       120,
       "IfcSlab",
       {{0, 44000, 2880}, {12000, 44015, 3000}},
       12000.0 * 15 / 2 * 120,
       1e-3,
       1e-5},
      {{{12000, 45000}, {0, 45000}, {6000, 45015}},
       120,
       "IfcSlab",
       {{0, 45000, 2880}, {12000, 45015, 3000}},
       12000.0 * 15 / 2 * 120,
       1e-3,
       1e-5},
  };
  std::vector<Value> ids;
  for (const Case& c : cases) ids.push_back(slab(c.corners, c.thick));
  EXPECT_EQ(convert(), "");
  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(i);
    const ifc::Entity p = product(*model, "Slab_" + ids[i].str());
    EXPECT_EQ(p.type(), cases[i].type);
    expectBox(productBox(p), cases[i].box, cases[i].tolerance);
    EXPECT_NEAR(extrudedVolume(bodyItem(p)), cases[i].volume,
                cases[i].volumeShare * cases[i].volume);
  }
}

TEST_F(Slabs, VertexHeightsComeFromTheListsTheGridOrTheAdjacentBeams) {
  const Value beam = m.add(modeldb::BeamSect{});
  auto withLists = [&](const std::vector<Corner>& corners, const char* z) {
    return m.add(modeldb::Slab{.stdFlr = sf, .grids = outline(corners), .vertZ = Value(z)});
  };
  // Varying heights over a level grid: laid flat at the grid, raised to the beam 200 above,
  // then lowered to the beam 150 below.
  const std::vector<Corner> levelled{{0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}};
  const Value flat = withLists(levelled, "0,50,50,0,");
  m.add(modeldb::BeamSeg{
      .stdFlr = sf, .grid = grid(levelled[0], levelled[1]), .sect = beam, .hDiff1 = 200});
  m.add(modeldb::BeamSeg{
      .stdFlr = sf, .grid = grid(levelled[2], levelled[3]), .sect = beam, .hDiff1 = -150});
  const Value raised =
      withLists({{0, 10000}, {6000, 10000}, {6000, 13000}, {0, 13000}}, "0,50,50,0,");
  m.add(modeldb::BeamSeg{
      .stdFlr = sf, .grid = grid({0, 10000}, {6000, 10000}), .sect = beam, .hDiff1 = 200});
  // A raised grid and as many raised items: the list holds, wherever its raised items are.
  const Value listed =
      withLists({{0, 20000}, {6000, 20000, 300}, {6000, 23000, 300}, {0, 23000}}, "0,0,300,300,");
  // Two raised nodes against one raised item: the outline contradicts its grid.
  const Value conflict =
      withLists({{0, 30000}, {6000, 30000, 300}, {6000, 33000, 300}, {0, 33000}}, "0,0,0,300,");
  // A level grid places the slab without its Z list, which is then not read even when short.
  const Value shortList =
      withLists({{0, 50000}, {6000, 50000}, {6000, 53000}, {0, 53000}}, "0,50,");
  // Grid lines that do not close give no nodes: varying heights contradict them too.
  const std::vector<Value> open = outline({{0, 40000}, {6000, 40000}, {6000, 43000}, {0, 43000}});
  const Value unclosed = m.add(modeldb::Slab{.stdFlr = sf,
                                             .grids = {open[0], open[1], open[2]},
                                             .vertX = Value("0,6000,6000,0,"),
                                             .vertY = Value("40000,40000,43000,43000,"),
                                             .vertZ = Value("0,0,10,10,")});

  EXPECT_EQ(convert(), "楼板" + conflict.str() + "轮廓线顶点坐标与网格坐标冲突！\n楼板" +
                           unclosed.str() + "轮廓线顶点坐标与网格坐标冲突！\n");
  expectBox(box("Slab_" + flat.str()), {{0, 0, 2730}, {6000, 3000, 2850}});
  expectBox(box("Slab_" + raised.str()), {{0, 10000, 3080}, {6000, 13000, 3200}});
  expectBox(box("Slab_" + shortList.str()), {{0, 50000, 2880}, {6000, 53000, 3000}});
  const Box sloped = box("Slab_" + listed.str());
  EXPECT_NEAR(sloped.max[2], 3300, 1e-6);
  EXPECT_NEAR(sloped.min[1], 20000, 1e-6);  // raised along y, as listed, not along x
  EXPECT_NEAR(sloped.max[1], 23000 + 120 * 300 / std::hypot(3000.0, 300.0), 1e-6);
  EXPECT_TRUE(productsNamed(*model, "Slab_" + conflict.str()).empty());
  EXPECT_TRUE(productsNamed(*model, "Slab_" + unclosed.str()).empty());
}

TEST_F(Slabs, NonPlanarQuadrilateralIsSplitAndOtherFaultyOutlinesAreReportedAndLeftOut) {
  const Value quad = slab({{0, 0}, {6000, 0}, {6000, 3000, 300}, {0, 3000}});
  const Value pentagon =
      slab({{0, 10000}, {6000, 10000}, {6000, 13000, 300}, {3000, 14000}, {0, 13000}});
  auto lists = [&](const char* x, const char* y, const char* z, const Value& thick = 9999) {
    return m.add(modeldb::Slab{.stdFlr = sf,
                               .grids = outline(kRectangle),
                               .thick = thick,
                               .vertX = Value(x),
                               .vertY = Value(y),
                               .vertZ = Value(z)});
  };
  // Lists without their trailing comma keep their last value.
  const Value noComma = lists("0,6000,6000,0", "20000,20000,23000,23000", "0,0,0,0");
  const Value collinear = lists("0,3000,6000,", "0,0,0,", "0,0,0,");
  const Value twoVertices = lists("0,6000,", "0,0,", "0,0,");
  const Value shortY = lists("0,6000,6000,0,", "0,0,3000,", "0,0,0,0,");
  const Value shortZ = lists("0,6000,6000,0,", "0,0,3000,3000,", "0,0,0,");
  const Value notNumber = lists("0,abc,6000,0,", "0,0,3000,3000,", "0,0,0,0,");
  const Value negative = lists("0,6000,6000,0,", "0,0,3000,3000,", "0,0,0,0,", -100);
  const Value empty = lists("", "", "");

  const std::string printed = convert();
  const auto id = [](const Value& v) { return v.str(); };
  EXPECT_EQ(printed,
            "楼板" + id(quad) +
                "未生成\n[(0.0, 0.0, 3000.0), (6000.0, 0.0, 3000.0), (6000.0, 3000.0, 3300.0), "
                "(0.0, 3000.0, 3000.0)]\n按三角形生成\n"
                "楼板" +
                id(pentagon) +
                "未生成\n[(0.0, 10000.0, 3000.0), (6000.0, 10000.0, "
                "3000.0), (6000.0, 13000.0, 3300.0), (3000.0, 14000.0, 3000.0), (0.0, 13000.0, "
                "3000.0)]\nSlab_" +
                id(collinear) + ", 轮廓顶点都在一条直线上，已跳过\n楼板" + id(twoVertices) +
                "未生成\n楼板" + id(shortY) + "未生成\n楼板" + id(shortZ) + "未生成\nSlab_" +
                id(notNumber) + ", VertX第2项'abc'不是有限数值，已跳过\nSlab_" + id(negative) +
                ", 板厚-100不是正数，已跳过\n");

  // The triangles (0, 1, 2) and (0, 2, 3), each with its own upward normal.
  const ifc::Entity first = product(*model, "Slab_" + id(quad) + "_1");
  const ifc::Entity second = product(*model, "Slab_" + id(quad) + "_2");
  EXPECT_NEAR(profileArea(bodyItem(first).get("SweptArea").asEntity()),
              std::hypot(6000.0 * 3000, 6000.0 * 300) / 2, 1.0);
  EXPECT_NEAR(profileArea(bodyItem(second).get("SweptArea").asEntity()),
              std::hypot(6000.0 * 3000, 3000.0 * 300) / 2, 1.0);
  for (const ifc::Entity& triangle : {first, second}) {
    EXPECT_NEAR(productBox(triangle).max[2], 3300, 1e-5);
    EXPECT_NEAR(productBox(triangle).min[1], 0, 1e-5);
  }
  expectBox(box("Slab_" + id(noComma)), {{0, 20000, 2880}, {6000, 23000, 3000}});
  for (const Value& skipped :
       {pentagon, collinear, twoVertices, shortY, shortZ, notNumber, negative, empty}) {
    EXPECT_TRUE(productsNamed(*model, "Slab_" + id(skipped)).empty()) << id(skipped);
  }
}

// The arc outlines are drawn in plan as 2-D composite curves: straight segments and trimmed
// circles, each along the chain of the outline.
TEST_F(Slabs, ArcEdgedOutlinesAreCompositeCurvesTrimmedByPolarAngles) {
  const double r = 6000;
  const struct Case {
    Corner centre, start, end, other;
    double a1, a2;
    bool sense;
    Box box;
  } cases[] = {
      {{0, 0}, {r, 0}, {0, r}, {0, 0}, 0, 90, true, {{0, 0, 2880}, {r, r, 3000}}},
      {{0, 0}, {0, r}, {r, 0}, {0, 0}, 90, 0, false, {{0, 0, 2880}, {r, r, 3000}}},
      {{0, 0}, {0, -r}, {r, 0}, {0, 0}, 270, 0, true, {{0, -r, 2880}, {r, 0, 3000}}},
  };
  std::vector<Value> ids;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    // Each case on a floor of its own plan offset, so that joints are not shared.
    const double off = 20000.0 * static_cast<double>(i);
    const Case& c = cases[i];
    auto at = [&](const Corner& p) { return Corner{p.x + off, p.y}; };
    const Value arc = m.arc(jt(at(c.centre).x, c.centre.y), jt(at(c.start).x, c.start.y),
                            jt(at(c.end).x, c.end.y));
    ids.push_back(m.add(modeldb::Slab{
        .stdFlr = sf,
        .grids = {arc, grid(at(c.end), at(c.other)), grid(at(c.other), at(c.start))}}));
  }
  // The level is the first vertex's, whatever the others' and the grid's.
  const Value level = m.arc(jt(100000, 0), jt(100000 + r, 0), jt(100000, r));
  const Value levelled = m.add(modeldb::Slab{
      .stdFlr = sf,
      .grids = {level, grid({100000, r}, {100000, 0}), grid({100000, 0}, {100000 + r, 0})},
      .vertZ = Value("100,250,250,")});
  // A half circle whose cross product of radii rounds below 0 runs counter-clockwise all the
  // same: from its start at 160 degrees down through 270, closed along its diameter.
  const Corner centre{76228.0, 210.6}, start{70577.788, 2229.288}, end{81878.212, -1808.088};
  const Value halfDisc = m.add(
      modeldb::Slab{.stdFlr = sf,
                    .grids = {m.arc(jt(centre.x, centre.y), jt(start.x, start.y), jt(end.x, end.y)),
                              grid(end, centre), grid(centre, start)}});
  EXPECT_EQ(convert(), "");

  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(i);
    const Case& c = cases[i];
    const double off = 20000.0 * static_cast<double>(i);
    const ifc::Entity p = product(*model, "Slab_" + ids[i].str());
    const ifc::Entity profile = bodyItem(p).get("SweptArea").asEntity();
    const ifc::Entity curve = profile.get("OuterCurve").asEntity();
    ASSERT_TRUE(curve.is_a("IfcCompositeCurve"));
    const ifc::List segments = curve.get("Segments").asList();
    ASSERT_EQ(segments.size(), 3U);
    const ifc::Entity trimmed = segments[0].asEntity().get("ParentCurve").asEntity();
    ASSERT_TRUE(trimmed.is_a("IfcTrimmedCurve"));
    EXPECT_EQ(trimmed.get("Trim1").asList().at(0), ifc::Value::typed("IfcParameterValue", c.a1));
    EXPECT_EQ(trimmed.get("Trim2").asList().at(0), ifc::Value::typed("IfcParameterValue", c.a2));
    EXPECT_EQ(trimmed.get("SenseAgreement").asBool(), c.sense);
    const ifc::Entity circle = trimmed.get("BasisCurve").asEntity();
    EXPECT_TRUE(circle.get("Position").asEntity().is_a("IfcAxis2Placement2D"));
    EXPECT_EQ(circle.get("Radius").asDouble(), r);
    for (const ifc::Value& s : segments) {
      EXPECT_EQ(s.asEntity().get("Transition").asEnum(), "CONTINUOUS");
      EXPECT_TRUE(s.asEntity().get("SameSense").asBool());
    }
    const ifc::Entity line = segments[1].asEntity().get("ParentCurve").asEntity();
    EXPECT_EQ(line.get("Points").asList().at(0).asEntity().get("Coordinates").asList().size(), 2U);
    Box want = c.box;
    want.min[0] += off;
    want.max[0] += off;
    expectBox(productBox(p), want, 1e-6);
    // The reader's half-degree chords cut off about 13 ppm of the quarter disc.
    EXPECT_NEAR(profileArea(profile), std::numbers::pi * r * r / 4, 1e-4 * r * r);
  }
  expectBox(box("Slab_" + levelled.str()), {{100000, 0, 2980}, {100000 + r, r, 3100}});
  const double rHalf = std::hypot(start.x - centre.x, start.y - centre.y);
  // Sampled every half degree: within 0.1 mm of the lowest and leftmost points.
  expectBox(box("Slab_" + halfDisc.str()),
            {{centre.x - rHalf, centre.y - rHalf, 2880}, {end.x, start.y, 3000}}, 0.1);
}

// The written file without what differs from run to run: GlobalIds and time stamps.
std::string withoutRunStamps(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string out, line;
  while (std::getline(in, line)) {
    if (line.starts_with("FILE_NAME(") || line.find("IFCOWNERHISTORY(") != std::string::npos) {
      line = "*";
    }
    // A quoted text of 22 characters is a GlobalId.
    for (std::size_t at = line.find('\''); at != std::string::npos; at = line.find('\'', at + 1)) {
      if (at + 23 < line.size() && line[at + 23] == '\'' &&
          line.find_first_of("', ", at + 1) == at + 23) {
        line.replace(at, 24, "*");
      }
    }
    out += line + '\n';
  }
  return out;
}

TEST(SlabSamples, ConvertToTheSameFileInEitherRunMode) {
  const char* source = std::getenv("SDB2IFC_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const modeldb::TempPath sequential("sequential", ".ifc"), threaded("threaded", ".ifc");
  for (const char* sample : {"sample.sdb", "sample_slabs.sdb"}) {
    SCOPED_TRACE(sample);
    const std::filesystem::path input = std::filesystem::path(source) / "examples" / sample;
    ::testing::internal::CaptureStdout();
    Verdamo::Create(input, sequential.path(), false);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    ::testing::internal::CaptureStdout();
    Verdamo::Create(input, threaded.path(), true);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "use multithread\n" + printed);
    EXPECT_EQ(withoutRunStamps(threaded.path()), withoutRunStamps(sequential.path()));
    std::filesystem::remove(sequential.path().string() + ".json");
    std::filesystem::remove(threaded.path().string() + ".json");
  }
}

}  // namespace
}  // namespace members_test
