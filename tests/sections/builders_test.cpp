// The profile builders: outlines, operators, names and the sizes they refuse.
#include "sections/builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

#include "profile_geometry.h"

namespace {

using sections_test::expectPoints;
using sections_test::listOf;
using sections_test::outline;
using sections_test::placedOutline;
using sections_test::Point2;

class Builders : public ::testing::TestWithParam<std::string> {
 protected:
  ifc::Model m{GetParam()};
  void TearDown() override { sections_test::expectValidAndConforming(m); }
  bool ifc2x3() const { return GetParam() == "IFC2X3"; }
};

std::string nameOf(const ifc::Entity& e) { return e.get("ProfileName").asString(); }

std::vector<double> coords(const ifc::Entity& point) {
  std::vector<double> out;
  for (const ifc::Value& v : listOf(point, "Coordinates")) out.push_back(v.asDouble());
  return out;
}

std::vector<double> ratios(const ifc::Entity& direction) {
  std::vector<double> out;
  for (const ifc::Value& v : listOf(direction, "DirectionRatios")) out.push_back(v.asDouble());
  return out;
}

struct Box {
  double minX, minY, maxX, maxY;
};
Box boxOf(const std::vector<Point2>& points) {
  Box b{1e300, 1e300, -1e300, -1e300};
  for (const auto& p : points) {
    b = {std::min(b.minX, p[0]), std::min(b.minY, p[1]), std::max(b.maxX, p[0]),
         std::max(b.maxY, p[1])};
  }
  return b;
}

TEST_P(Builders, NamesRoundHalvesToEvenAndKeepTheGeometryUnrounded) {
  const ifc::Entity rect = Sect::Rect_Section(m, 12.5, 13.5);
  EXPECT_EQ(nameOf(rect), "Rec_12*14");
  EXPECT_EQ(rect.get("XDim").asDouble(), 12.5);
  const ifc::Entity placement = rect.get("Position").asEntity();
  EXPECT_EQ(coords(placement.get("Location").asEntity()), (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(nameOf(Sect::Circle_Section(m, 300)), "Circle_300");
  EXPECT_EQ(Sect::CH_Section(m, 219, 199).get("WallThickness").asDouble(), 10.0);
  const ifc::Entity trap = Sect::Trap_Section(m, 200, 300, 50, 50);
  EXPECT_EQ(trap.get("TopXDim").asDouble(), 300.0);
  EXPECT_EQ(trap.get("TopXOffset").asDouble(), -50.0);
}

TEST_P(Builders, LeaveZeroRadiiUnsetUnderIfc2x3Only) {
  const ifc::Entity i = Sect::I_Section(m, 200, 400, 8, 13, 0.0);
  const ifc::Entity u = Sect::U_Section(m, 100, 200, 8, 10, 0.0).get("ParentProfile").asEntity();
  EXPECT_EQ(i.get("FilletRadius").isUnset(), ifc2x3());
  EXPECT_EQ(u.get("EdgeRadius").isUnset(), ifc2x3());
  const ifc::Entity rounded =
      Sect::U_Section(m, 100, 200, 8, 10, 12.0).get("ParentProfile").asEntity();
  EXPECT_EQ(rounded.get("FilletRadius").asDouble(), 12.0);
  EXPECT_EQ(rounded.get("EdgeRadius").asDouble(), 6.0);
}

TEST_P(Builders, ChannelIsMirroredWithItsWebCentredOnTheYAxis) {
  const ifc::Entity u = Sect::U_Section(m, 100, 200, 8, 10, 0.0);
  EXPECT_EQ(u.type(), "IfcDerivedProfileDef");
  EXPECT_EQ(nameOf(u), "U_100*200*8*10");
  EXPECT_EQ(u.get("ProfileType").asEnum(), "AREA");
  EXPECT_TRUE(u.get("ParentProfile").asEntity().get("ProfileName").isUnset());
  const ifc::Entity op = u.get("Operator").asEntity();
  EXPECT_EQ(coords(op.get("LocalOrigin").asEntity()), (std::vector<double>{-46.0, 0.0}));
  EXPECT_EQ(ratios(op.get("Axis1").asEntity()), (std::vector<double>{-1.0, 0.0}));
  EXPECT_EQ(ratios(op.get("Axis2").asEntity()), (std::vector<double>{0.0, 1.0}));
}

TEST_P(Builders, TShapeHasItsFlangeAtTheBottom) {
  const ifc::Entity t = Sect::T_Section(m, 200, 300, 10, 20, 0.0);
  EXPECT_EQ(nameOf(t), "T_200*300*10*20");
  const auto frame = sections_test::operatorFrame(t.get("Operator").asEntity());
  // The parent's flange lies along its top edge, y = 150.
  EXPECT_NEAR(frame.apply({100, 150})[1], -150, 1e-12);
}

TEST_P(Builders, AngleLegPointsWhereTheSignsOfItsLegsSay) {
  // The far bottom corner of the parent's horizontal leg is (W/2, -D/2).
  const ifc::Entity plain = Sect::L_Section(m, 90, 100, 10, 0.0);
  EXPECT_EQ(nameOf(plain), "L_100*100*10");
  auto frame = sections_test::operatorFrame(plain.get("Operator").asEntity());
  EXPECT_NEAR(frame.apply({50, -50})[0], -95, 1e-12);
  EXPECT_NEAR(frame.apply({50, -50})[1], -50, 1e-12);

  const ifc::Entity flipped = Sect::L_Section(m, -90, -100, 10, 0.0);
  EXPECT_EQ(nameOf(flipped), "L_100*100*10");
  frame = sections_test::operatorFrame(flipped.get("Operator").asEntity());
  EXPECT_NEAR(frame.apply({50, -50})[0], 95, 1e-12);
  EXPECT_NEAR(frame.apply({50, -50})[1], 50, 1e-12);
}

TEST_P(Builders, ChannelWithUnequalFlangesKeepsItsWebFace) {
  const ifc::Entity u = Sect::U_Section_Ex(m, 10, 300, 100, 12, 80, 15);
  EXPECT_EQ(nameOf(u), "U_10*300*100*12*80*15");
  // clang-format off
  expectPoints(outline(u), {{-75, -150}, {5, -150}, {5, 150}, {-95, 150}, {-95, 138}, {-5, 138},
                            {-5, -135}, {-75, -135}});
  // clang-format on
}

TEST_P(Builders, IShapeWithUnequalFlangesFollowsItsOutline) {
  const ifc::Entity i = Sect::I_Section_Ex(m, 8, 400, 200, 150, 14, 12);
  EXPECT_EQ(nameOf(i), "I_8*400*200*150*14*12");
  // clang-format off
  expectPoints(outline(i), {{-100, -200}, {100, -200}, {100, -186}, {4, -186}, {4, 188}, {75, 188},
                            {75, 200}, {-75, 200}, {-75, 188}, {-4, 188}, {-4, -186}, {-100, -186}});
  // clang-format on
}

TEST_P(Builders, TubeWithFourWallsHasOneClosedInnerCurve) {
  const ifc::Entity rh = Sect::RH_Section_Ex(m, 200, 300, 10, 12, 14, 16);
  EXPECT_EQ(nameOf(rh), "RH_200*300*10*12*14*16");
  expectPoints(outline(rh), {{-100, -150}, {100, -150}, {100, 150}, {-100, 150}});
  const ifc::List inner = listOf(rh, "InnerCurves");
  ASSERT_EQ(inner.size(), 1u);
  expectPoints(sections_test::polylinePoints(inner[0].asEntity()),
               {{-88, -136}, {84, -136}, {84, 140}, {-88, 140}, {-88, -136}});
}

TEST_P(Builders, AngleWithTwoThicknessesIsMirroredByTheSignOfItsLeg) {
  const ifc::Entity l = Sect::L_Section_Ex(m, -75, 100, 8, 10);
  EXPECT_EQ(nameOf(l), "I_83*100*8*10");
  const ifc::Entity parent = l.get("ParentProfile").asEntity();
  EXPECT_TRUE(parent.get("ProfileName").isUnset());
  expectPoints(outline(parent), {{-79, -50}, {4, -50}, {4, 50}, {-4, 50}, {-4, -40}, {-79, -40}});
  const Box placed = boxOf(placedOutline(l));
  EXPECT_NEAR(placed.maxX, 79, 1e-12);
  EXPECT_NEAR(placed.minY, -50, 1e-12);
  EXPECT_NEAR(boxOf(placedOutline(Sect::L_Section_Ex(m, 75, -100, 8, 10))).minX, -79, 1e-12);
}

TEST_P(Builders, CrossOfEqualIShapesMatchesTheExtendedCross) {
  const ifc::Entity plain = Sect::Double_I_Section(m, 300, 500, 12.5, 13.5);
  const ifc::Entity ex = Sect::Double_I_Section_Ex(m, 12.5, 500, 13.5, 300, 12.5, 500, 13.5, 300);
  EXPECT_EQ(nameOf(plain), "I_300*500*12*14");
  EXPECT_EQ(nameOf(ex), "DI_12*500*14*300*12*500*14*300");
  const auto a = outline(plain), b = outline(ex);
  ASSERT_EQ(a.size(), 28u);
  EXPECT_EQ(a, b);
  const Box box = boxOf(outline(Sect::Double_I_Section_Ex(m, 10, 500, 16, 300, 8, 400, 12, 250)));
  EXPECT_EQ(box.minX, -200);
  EXPECT_EQ(box.maxY, 250);
}

TEST_P(Builders, TOnIAndPlateCrossFollowTheirOutlines) {
  const ifc::Entity hv = Sect::HV_Section(m, 20, 400, 100, 10, 150, 100);
  EXPECT_EQ(nameOf(hv), "HV_20*400*100*10*150*100");
  // clang-format off
  expectPoints(outline(hv), {{-10, -200}, {10, -200}, {10, 90}, {110, 90}, {110, 100}, {10, 100},
                             {10, 200}, {-10, 200}, {-10, 100}, {-160, 100}, {-160, 90}, {-10, 90}});
  // clang-format on
  const ifc::Entity ti = Sect::TI_Section(m, 400, 600, 50, 100, 20, 300, 30, 200);
  EXPECT_EQ(nameOf(ti), "TI_400*600*50*100*20*300*30*200");
  expectPoints(outline(ti), {{-100, -500}, {100, -500},  {100, -470}, {10, -470},  {10, -200},
                             {250, -200},  {250, -50},   {300, -50},  {300, 50},   {250, 50},
                             {250, 200},   {-250, 200},  {-250, 50},  {-300, 50},  {-300, -50},
                             {-250, -50},  {-250, -200}, {-10, -200}, {-10, -470}, {-100, -470}});
}

TEST_P(Builders, RegularPolygonFloorsItsEdgeCount) {
  const ifc::Entity square = Sect::NGon_Section(m, 200, 4);
  EXPECT_EQ(nameOf(square), "NGon_200*4");
  expectPoints(outline(square), {{100, 0}, {0, 100}, {-100, 0}, {0, -100}});
  const ifc::Entity odd = Sect::NGon_Section(m, 200, 6.7);
  EXPECT_EQ(nameOf(odd), "NGon_200*7");
  EXPECT_EQ(outline(odd).size(), 6u);
}

TEST_P(Builders, CompositesPlaceTheirPartsAndLeaveOutPlatesOfNoThickness) {
  const ifc::Entity comp1 = Sect::Comp1_Section(m, 300, 500, 20, 10, 20, 12);
  EXPECT_EQ(nameOf(comp1), "Comp1_300*500*20*10*20*12");
  const ifc::List parts = listOf(comp1, "Profiles");
  ASSERT_EQ(parts.size(), 6u);
  const auto cover = sections_test::operatorFrame(parts[4].asEntity().get("Operator").asEntity());
  EXPECT_EQ(cover.origin, (Point2{0, 256}));
  const auto web = sections_test::operatorFrame(parts[3].asEntity().get("Operator").asEntity());
  EXPECT_EQ(web.origin, (Point2{-125, 0}));

  EXPECT_EQ(Sect::Comp1_Section(m, 300, 500, 20, 10, 20, 0).get("Profiles").asList().size(), 4u);
  EXPECT_EQ(Sect::Comp2_Section(m, 300, 500, 20, 10, 20, 0).get("Profiles").asList().size(), 4u);
  EXPECT_EQ(Sect::Comp2_Section(m, 300, 500, 20, 10, 20, 50).get("Profiles").asList().size(), 8u);
}

TEST_P(Builders, DoubleChannelSetsItsWebsBackToBackAcrossTheGap) {
  const ifc::Entity du = Sect::Double_U_Section(m, 10, 300, 100, 12, 80, 15, 6);
  EXPECT_EQ(nameOf(du), "DU_10*300*100*12*80*15*6");
  const ifc::List parts = listOf(du, "Profiles");
  ASSERT_EQ(parts.size(), 2u);
  const auto left = placedOutline(parts[0].asEntity());
  const auto right = placedOutline(parts[1].asEntity());
  EXPECT_NEAR(boxOf(left).maxX, -3, 1e-12);
  EXPECT_NEAR(boxOf(left).minX, -103, 1e-12);
  EXPECT_NEAR(boxOf(right).minX, 3, 1e-12);
  EXPECT_NEAR(boxOf(right).maxX, 103, 1e-12);
  // Mirrored, not turned: the wider top flange stays at the top.
  for (const auto& p : right) {
    if (p[0] > 90) {
      EXPECT_GT(p[1], 100);
    }
  }
}

TEST_P(Builders, RefuseSizesThatMakeNoValidProfileBeforeCreatingAnything) {
  const std::size_t before = m.size();
  EXPECT_THROW(Sect::Rect_Section(m, 0, 500), Sect::SectionError);
  EXPECT_THROW(Sect::Circle_Section(m, -1), Sect::SectionError);
  EXPECT_THROW(Sect::RH_Section(m, 200, 300, 100), Sect::SectionError);
  EXPECT_THROW(Sect::CH_Section(m, 200, -1), Sect::SectionError);
  EXPECT_THROW(Sect::I_Section(m, 200, 400, 8, 200, 0), Sect::SectionError);
  EXPECT_THROW(Sect::U_Section(m, 8, 200, 8, 10, 0), Sect::SectionError);
  EXPECT_THROW(Sect::T_Section(m, 200, 20, 10, 20, 0), Sect::SectionError);
  EXPECT_THROW(Sect::L_Section(m, 0, 10, 10, 0), Sect::SectionError);
  EXPECT_THROW(Sect::Trap_Section(m, 200, 300, -150, -50), Sect::SectionError);
  EXPECT_THROW(Sect::RH_Section_Ex(m, 200, 300, 10, 100, 14, 100), Sect::SectionError);
  EXPECT_THROW(Sect::NGon_Section(m, 200, 2.9), Sect::SectionError);
  EXPECT_THROW(Sect::NGon_Section(m, 200, 0), Sect::SectionError);
  EXPECT_THROW(Sect::NGon_Section(m, 200, 1e12), Sect::SectionError);
  EXPECT_THROW(Sect::Comp1_Section(m, 300, 40, 20, 10, 20, 12), Sect::SectionError);
  EXPECT_EQ(m.size(), before);
  try {
    (void)Sect::I_Section(m, 200, 400, 0, 13, 0);
  } catch (const Sect::SectionError& e) {
    EXPECT_STREQ(e.what(), "I_200*400*0*13: the web thickness must be positive (0.0)");
  }
}

TEST_P(Builders, RefuseSizesThatOverflowOrRoundIntoAnInvalidProfile) {
  const std::size_t before = m.size();
  // Sums of finite sizes that overflow to infinity.
  EXPECT_THROW(Sect::Trap_Section(m, 1e308, 300, 1e308, 0), Sect::SectionError);
  EXPECT_THROW(Sect::L_Section(m, 1.7e308, 1.7e308, 1e308, 0), Sect::SectionError);
  // A fillet wider than the room between the web and the flange tips.
  EXPECT_THROW(Sect::I_Section(m, 200, 400, 8, 13, 97), Sect::SectionError);
  EXPECT_EQ(m.size(), before);
  EXPECT_EQ(Sect::I_Section(m, 200, 400, 8, 13, 96).get("FilletRadius").asDouble(), 96.0);
}

TEST_P(Builders, FlatAnglesAndFilledTubesAreWrittenAsTheBarsTheyAre) {
  // Shapes the angle and hollow-circle types cannot hold (their thickness rules), also where a
  // leg or a bore is too small to change the written size, keep their name and shape: centred
  // on the vertical leg's or the tube's centre.
  const struct {
    ifc::Entity profile;
    const char* name;
    double area;
  } cases[] = {
      {Sect::L_Section(m, 0, 100, 10, 0), "L_10*100*10", 1000},
      {Sect::L_Section(m, 0, -100, 10, 0), "L_10*100*10", 1000},
      {Sect::L_Section(m, 1e-300, 100, 10, 0), "L_10*100*10", 1000},
      {Sect::CH_Section(m, 200, 0), "CH_200*0", std::numbers::pi * 100 * 100},
      {Sect::CH_Section(m, 1000, 1e-14), "CH_1000*0", std::numbers::pi * 500 * 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.profile.type(),
              c.name[0] == 'L' ? "IfcRectangleProfileDef" : "IfcCircleProfileDef");
    EXPECT_EQ(nameOf(c.profile), c.name);
    const ifc::Entity centre = c.profile.get("Position").asEntity().get("Location").asEntity();
    EXPECT_EQ(listOf(centre, "Coordinates"), (ifc::List{0.0, 0.0}));
    EXPECT_NEAR(sections_test::sectionArea(c.profile), c.area, 1e-6);
  }
}

INSTANTIATE_TEST_SUITE_P(Schemas, Builders, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
