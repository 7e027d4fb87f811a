// Areas of profile definitions as get_Area measures them.
#include "sections/area.h"

#include <gtest/gtest.h>

#include "sections/builders.h"

namespace {

class Areas : public ::testing::TestWithParam<std::string> {
 protected:
  ifc::Model m{GetParam()};

  ifc::Entity polyline(std::initializer_list<std::array<double, 2>> points) {
    ifc::List list;
    for (const auto& [x, y] : points)
      list.emplace_back(m.create("IfcCartesianPoint", {ifc::List{x, y}}));
    return m.create("IfcPolyline", {std::move(list)});
  }
  ifc::Entity closedProfile(const ifc::Entity& curve) {
    return m.create("IfcArbitraryClosedProfileDef", {ifc::Enum{"AREA"}, ifc::Value(), curve});
  }
  ifc::Entity segment(const ifc::Entity& curve) {
    return m.create("IfcCompositeCurveSegment", {ifc::Enum{"CONTINUOUS"}, true, curve});
  }
};

TEST_P(Areas, OfParameterizedShapesAreThoseOfTheirSharpCorneredForms) {
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::Rect_Section(m, 300, 500)), 150000.0);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::I_Section(m, 200, 400, 8, 13, 16)), 8192.0);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::U_Section(m, 100, 200, 8, 10, 12)), 3440.0);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::T_Section(m, 200, 300, 10, 20, 0)), 6800.0);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::L_Section(m, 90, 100, 10, 0)), 1900.0);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::RH_Section(m, 200, 300, 10)), 9600.0);
  EXPECT_NEAR(Sect::get_Area(Sect::CH_Section(m, 200, 180)), 5969.026, 1e-3);
  EXPECT_NEAR(Sect::get_Area(Sect::Circle_Section(m, 300)), 70685.835, 1e-3);
  EXPECT_DOUBLE_EQ(Sect::get_Area(Sect::Trap_Section(m, 200, 300, 50, 50)), 75000.0);
}

TEST_P(Areas, OfAnOutlineDoNotDependOnItsDirection) {
  EXPECT_DOUBLE_EQ(
      Sect::get_Area(closedProfile(polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}))), 10000.0);
  EXPECT_DOUBLE_EQ(
      Sect::get_Area(closedProfile(polyline({{0, 0}, {0, 100}, {100, 100}, {100, 0}}))), 10000.0);
}

TEST_P(Areas, OfACompositeCurveOfPolylinesIsThatOfTheRegionTheyBound) {
  const ifc::Entity curve =
      m.create("IfcCompositeCurve", {ifc::List{segment(polyline({{0, 0}, {100, 0}, {100, 100}})),
                                               segment(polyline({{100, 100}, {0, 100}, {0, 0}}))},
                                     ifc::Logical::False});
  EXPECT_DOUBLE_EQ(Sect::get_Area(closedProfile(curve)), 10000.0);
}

TEST_P(Areas, RefuseAnArcSegmentAsNotImplemented) {
  const ifc::Entity centre =
      m.create("IfcAxis2Placement2D", {m.create("IfcCartesianPoint", {ifc::List{0.0, 0.0}})});
  const ifc::Entity circle = m.create("IfcCircle", {centre, 50.0});
  const ifc::Entity arc =
      m.create("IfcTrimmedCurve", {circle, ifc::List{ifc::Value::typed("IfcParameterValue", 0.0)},
                                   ifc::List{ifc::Value::typed("IfcParameterValue", 180.0)}, true,
                                   ifc::Enum{"PARAMETER"}});
  const ifc::Entity curve = m.create(
      "IfcCompositeCurve",
      {ifc::List{segment(polyline({{-50, 0}, {50, 0}})), segment(arc)}, ifc::Logical::False});
  try {
    (void)Sect::get_Area(closedProfile(curve));
    ADD_FAILURE() << "no error";
  } catch (const Sect::AreaError& e) {
    EXPECT_STREQ(e.what(), "Not Implemented");
  }
}

TEST_P(Areas, OfADerivedProfileIsThatOfItsInnermostParent) {
  const ifc::Entity inner = Sect::U_Section(m, 100, 200, 8, 10, 0);
  const ifc::Entity outer = m.create(
      "IfcDerivedProfileDef", {ifc::Enum{"AREA"}, ifc::Value(), inner, inner.get("Operator")});
  EXPECT_DOUBLE_EQ(Sect::get_Area(outer), 3440.0);
}

TEST_P(Areas, AreNotGivenForProfilesWithVoidsOrComposites) {
  try {
    (void)Sect::get_Area(Sect::RH_Section_Ex(m, 200, 300, 10, 12, 14, 16));
    ADD_FAILURE() << "no error";
  } catch (const Sect::AreaError& e) {
    EXPECT_STREQ(e.what(), "IfcArbitraryProfileDefWithVoids");
  }
  EXPECT_THROW((void)Sect::get_Area(Sect::Comp1_Section(m, 300, 500, 20, 10, 20, 12)),
               Sect::AreaError);
}

TEST_P(Areas, RefuseAnOutlineOfTwoPoints) {
  EXPECT_THROW((void)Sect::get_Area(closedProfile(polyline({{0, 0}, {100, 0}}))), Sect::AreaError);
}

INSTANTIATE_TEST_SUITE_P(Schemas, Areas, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
