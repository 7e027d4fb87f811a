// Planar outlines in space drawn as profiles in their own frame.
#include "sections/polygon_section.h"

#include <gtest/gtest.h>

#include <cmath>

#include "profile_geometry.h"

namespace {

using App::Vector;
using sections_test::expectPoints;
using sections_test::outline;
using sections_test::Point2;

class PolygonSection : public ::testing::TestWithParam<std::string> {
 protected:
  ifc::Model m{GetParam()};
  void TearDown() override { sections_test::expectValidAndConforming(m); }
};

TEST_P(PolygonSection, DrawsASquareInItsOwnFrameClosedByItsFirstPoint) {
  const ifc::Entity p = Sect::Polygon_Section(
      m, Vector(0, 0, 1), {Vector(0, 0, 0), Vector(10, 0, 0), Vector(10, 10, 0), Vector(0, 10, 0)});
  EXPECT_EQ(p.type(), "IfcArbitraryClosedProfileDef");
  EXPECT_EQ(p.get("ProfileType").asEnum(), "AREA");
  EXPECT_TRUE(p.get("ProfileName").isUnset());
  expectPoints(outline(p), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
}

TEST_P(PolygonSection, KeepsTheSideOfAClockwiseOutline) {
  const ifc::Entity p = Sect::Polygon_Section(
      m, Vector(0, 0, 1),
      {Vector(0, 0, 0), Vector(10, 0, 0), Vector(10, -10, 0), Vector(0, -10, 0)});
  expectPoints(outline(p), {{0, 0}, {10, 0}, {10, -10}, {0, -10}});
}

TEST_P(PolygonSection, KeepsTrueLengthsOnAnInclinedFace) {
  const ifc::Entity p = Sect::Polygon_Section(
      m, Vector(0, -1, 1), {Vector(0, 0, 0), Vector(10, 0, 0), Vector(0, 10, 10)});
  expectPoints(outline(p), {{0, 0}, {10, 0}, {0, 10 * std::sqrt(2.0)}});
}

TEST_P(PolygonSection, MapsARepeatedFirstPointToTheOrigin) {
  const ifc::Entity p = Sect::Polygon_Section(
      m, Vector(0, 0, 1), {Vector(5, 5, 3), Vector(15, 5, 3), Vector(15, 15, 3), Vector(5, 5, 3)});
  expectPoints(outline(p), {{0, 0}, {10, 0}, {10, 10}, {0, 0}});
}

TEST_P(PolygonSection, RefusesAnOutlineOfOnePoint) {
  EXPECT_THROW(Sect::Polygon_Section(m, Vector(0, 0, 1), {Vector(0, 0, 0)}), Sect::SectionError);
}

INSTANTIATE_TEST_SUITE_P(Schemas, PolygonSection, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
