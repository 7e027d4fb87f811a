// Beams, secondary beams, columns and braces as a user sees them in the written file, and the
// one line with which each faulty member is left out.
#include "members/linear_members.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "body_geometry.h"
#include "member_rows.h"
#include "members/messages.h"
#include "product_view.h"
#include "run_model.h"

namespace {

using App::Vector;
using members_test::in;
using members_test::near;
using members_test::ProductView;
using members_test::unit;
using members_test::vectorOf;
using members_test::viewOf;

constexpr double pi = std::numbers::pi;

// The outline of a profile as 2-D points, the closing point included.
std::vector<Vector> outlineOf(const ifc::Entity& profile) {
  std::vector<Vector> points;
  const ifc::Value list = profile.get("OuterCurve").asEntity().get("Points");
  for (const ifc::Value& p : list.asList()) {
    EXPECT_EQ(p.asEntity().get("Coordinates").asList().size(), 2U) << "a 2-D profile";
    points.push_back(vectorOf(p));
  }
  return points;
}

void expectOutline(const ifc::Entity& profile, const std::vector<Vector>& corners) {
  const std::vector<Vector> points = outlineOf(profile);
  ASSERT_EQ(points.size(), corners.size() + 1) << "closed by its first point";
  for (std::size_t i = 0; i < corners.size(); ++i) EXPECT_TRUE(near(points[i], corners[i], 1e-9));
  EXPECT_TRUE(near(points.back(), corners.front(), 0));
}

// A member built into a run of the given schema, the products read back from the file.
class Members : public ::testing::Test {
 protected:
  members_test::RunModel run{"IFC4"};
  Utils::MessageCapture capture;

  std::vector<ProductView> readBack(const std::vector<ifc::Entity>& products) {
    back_ = run.readBack();
    std::vector<ProductView> views;
    for (const ifc::Entity& p : products) {
      // An assembly has no placement or body of its own; its parts are viewed by partsOf.
      if (!p.is_a("IfcElementAssembly")) views.push_back(viewOf(in(*back_, p)));
    }
    return views;
  }
  ifc::Entity inFile(const ifc::Entity& e) const { return in(*back_, e); }
  // The parts of an element assembly, in their order.
  std::vector<ProductView> partsOf(const ifc::Entity& assembly) const {
    const auto rels = inFile(assembly).inverse("IsDecomposedBy");
    EXPECT_EQ(rels.size(), 1U);
    EXPECT_EQ(rels.at(0).get("Name").asString(), "Assembly");
    std::vector<ProductView> parts;
    const ifc::Value related = rels.at(0).get("RelatedObjects");
    for (const ifc::Value& part : related.asList()) {
      parts.push_back(viewOf(part.asEntity()));
    }
    return parts;
  }

  std::unique_ptr<ifc::Model> back_;
};

// A beam of the sample's east edge: a quarter circle about (12000, 6000) from (18000, 0) to
// (18000, 12000).
TEST_F(Members, AnArcBeamIsRevolvedAboutItsCentreTheShorterWay) {
  Beam::BeamRow arc = members_test::beamRow(1, 1, 2, 18000, 0, 18000, 12000);
  arc.axisJt1Id = -5;
  arc.x0 = 12000;
  arc.y0 = 6000;
  const auto products = Utils::CreateBeam(run.ctx, arc, members_test::storey(), {});
  ASSERT_EQ(products.size(), 1U);
  const ProductView beam = readBack(products)[0];
  EXPECT_EQ(beam.solid.type(), "IfcRevolvedAreaSolid");
  EXPECT_DOUBLE_EQ(beam.solid.get("Angle").asDouble(), 90.0);
  const ifc::Entity axis = beam.solid.get("Axis").asEntity();
  EXPECT_TRUE(near(vectorOf(axis.get("Location")), {6000 * std::sqrt(2.0), 0, 0}));
  EXPECT_TRUE(near(vectorOf(axis.get("Axis")), {0, 1, 0}));
  EXPECT_TRUE(near(beam.location, {18000, 0, 2700}));
  EXPECT_TRUE(near(unit(beam.axis), {std::sqrt(0.5), std::sqrt(0.5), 0}));  // towards end 2
  EXPECT_TRUE(near(unit(beam.refDirection), {-std::sqrt(0.5), std::sqrt(0.5), 0}));
}

// Its world box: the same arc clockwise, which turns the tangent, and with an eccentricity,
// which moves the whole arc out from its centre; a half circle runs counter-clockwise
// whatever rounding makes of its ends.
TEST_F(Members, ArcBeamsRunTheShorterWayAtTheirEccentricityConcentrically) {
  const double R = 6000 * std::sqrt(2.0), s = std::sqrt(0.5);
  const struct Case {
    double x1, y1, x2, y2, x0, y0, ecc;
    members_test::Box box;  // 300 wide, top at 3000, 600 deep
  } cases[] = {
      {18000,
       0,
       18000,
       12000,
       12000,
       6000,
       0,
       {{12000 + (R - 150) * s, 6000 - (R + 150) * s, 2400},
        {12000 + R + 150, 6000 + (R + 150) * s, 3000}}},
      {18000,
       12000,
       18000,
       0,
       12000,
       6000,
       100,
       {{12000 + (R - 50) * s, 6000 - (R + 250) * s, 2400},
        {12000 + R + 250, 6000 + (R + 250) * s, 3000}}},
      {5000, 20000, -5000, 20000, 0, 20000, 0, {{-5150, 20000, 2400}, {5150, 25150, 3000}}},
  };
  std::vector<ifc::Entity> built;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Beam::BeamRow arc =
        members_test::beamRow(static_cast<int>(i) + 1, 1, 2, c.x1, c.y1, c.x2, c.y2);
    arc.axisJt1Id = -5;
    arc.x0 = c.x0;
    arc.y0 = c.y0;
    arc.ecc = c.ecc;
    const auto products = Utils::CreateBeam(run.ctx, arc, members_test::storey(), {});
    ASSERT_EQ(products.size(), 1U);
    built.push_back(products[0]);
  }
  back_ = run.readBack();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    members_test::expectBox(members_test::productBox(inFile(built[i])), cases[i].box, 1e-6);
  }
  EXPECT_EQ(capture.take(), "");
}

// The tapered rectangle: its side view extruded across its width from the right face, the
// top falling from end 1's height to end 2's along the axis.
TEST_F(Members, AKind21BeamIsItsSideViewExtrudedAcrossItsWidth) {
  Beam::BeamRow b = members_test::withSection(members_test::beamRow(1, 1, 2, 0, 0, 6000, 0), 21,
                                              "21,300.4,800,500");
  b.hDiff2 = -100;
  const auto products = Utils::CreateBeam(run.ctx, b, members_test::storey(), {});
  ASSERT_EQ(products.size(), 1U);
  const ProductView beam = readBack(products)[0];
  EXPECT_TRUE(near(beam.location, {0, -150.2, 3000}));
  EXPECT_TRUE(near(unit(beam.axis), {0, 1, 0}));
  EXPECT_TRUE(near(unit(beam.refDirection), unit({6000, 0, -100})));
  EXPECT_DOUBLE_EQ(beam.depth, 300.4);
  const ifc::Entity profile = beam.solid.get("SweptArea").asEntity();
  EXPECT_EQ(profile.type(), "IfcArbitraryClosedProfileDef");
  EXPECT_EQ(profile.get("ProfileName").asString(), "21,300,800,500");
  const double length = std::hypot(6000, 100);
  expectOutline(profile, {{0, 0, 0}, {length, 0, 0}, {length, 500, 0}, {0, 800, 0}});
}

// A sloped box is tilted with its void, which stays one plate below its top across the axis;
// a box whose plates meet at an end has no inside to void there and is built solid.
TEST_F(Members, ASlopedBoxIsTiltedWithItsVoidAndABoxWithoutInsideIsBuiltSolid) {
  Beam::BeamRow sloped = members_test::withSection(members_test::beamRow(1, 1, 2, 0, 0, 6000, 0),
                                                   23, "23,400,800,600,10,20");
  sloped.hDiff2 = -200;
  const Beam::BeamRow solid = members_test::withSection(
      members_test::beamRow(2, 3, 4, 0, 5000, 6000, 5000), 23, "23,400,800,600,20,300");
  const auto tilted = Utils::CreateBeam(run.ctx, sloped, members_test::storey(), {});
  ASSERT_EQ(tilted.size(), 2U);
  EXPECT_EQ(capture.take(), "");
  const auto plain = Utils::CreateBeam(run.ctx, solid, members_test::storey(), {});
  ASSERT_EQ(plain.size(), 1U);
  EXPECT_EQ(capture.take(), "Hole_2, 端2内腔高度0.0不是正数，已跳过\n");

  std::vector<ifc::Entity> products = tilted;
  products.push_back(plain[0]);
  const auto views = readBack(products);
  const double length = std::hypot(6000, 200);
  const Vector along = unit({6000, 0, -200});
  const Vector down = unit({-200, 0, -6000});  // across the axis, away from the top
  EXPECT_TRUE(near(unit(views[0].refDirection), along));
  expectOutline(views[0].solid.get("SweptArea").asEntity(),
                {{0, 0, 0}, {length, 0, 0}, {length, 600, 0}, {0, 800, 0}});
  EXPECT_TRUE(near(unit(views[1].refDirection), along));
  EXPECT_TRUE(near(views[1].location, Vector(0, -190, 3000) + along * -20 + down * 20, 1e-9));
  expectOutline(views[1].solid.get("SweptArea").asEntity(),
                {{0, 0, 0}, {length + 40, 0, 0}, {length + 40, 560, 0}, {0, 760, 0}});

  EXPECT_EQ(views[2].name, "Beam_2");
  EXPECT_TRUE(near(views[2].location, {0, 4800, 3000}));
  EXPECT_TRUE(inFile(plain[0]).inverse("HasOpenings").empty());
  EXPECT_EQ(back_->by_type("IfcOpeningElement").size(), 1U) << "the sloped box's only";
}

// At a skew joint the outline forms are cut where the swept form is, by planes given in
// their own frame; the kind-23 void overruns both ends and is not cut. Its top and bottom
// plates are item 5 thick, its sides item 4, as the kind's profile has them.
TEST_F(Members, OutlineFormsAreCutAtTheSupportersFaceAndTheBoxIsVoidedInside) {
  const Beam::BeamRow s = members_test::beamRow(2, 1, 3, 0, 0, 3000, 3000 * std::sqrt(3.0), 400);
  const std::vector<Beam::SupportingBeamPair> pairs = {{1, &s}};
  const Beam::BeamRow b = members_test::withSection(members_test::beamRow(1, 1, 2, 0, 0, 6000, 0),
                                                    23, "23,400,800,600,10,20");
  const auto products = Utils::CreateBeam(run.ctx, b, members_test::storey(), pairs);
  ASSERT_EQ(products.size(), 2U);
  const auto views = readBack(products);
  const ProductView& beam = views[0];
  const ProductView& hole = views[1];

  const double tail = 200 / std::tan(pi / 3);
  const double reach = 200 / std::sin(pi / 3) + tail;
  EXPECT_TRUE(near(beam.location, {-reach, -200, 3000}));
  ASSERT_EQ(beam.planes.size(), 1U);
  EXPECT_TRUE(near(beam.planes[0].point, {tail, 0, 200}));
  EXPECT_TRUE(near(unit(beam.planes[0].normal), {std::sqrt(0.75), 0, -0.5}));
  EXPECT_TRUE(beam.solid.get("SweptArea").asEntity().get("ProfileName").isUnset());

  EXPECT_EQ(hole.type, "IfcOpeningElement");
  EXPECT_EQ(hole.name, "Hole_1");
  EXPECT_TRUE(hole.planes.empty());
  EXPECT_DOUBLE_EQ(hole.depth, 400 - 2 * 10);
  EXPECT_TRUE(near(hole.location, {-reach - 20, -190, 2980}));
  const double length = 6000 + reach;
  expectOutline(hole.solid.get("SweptArea").asEntity(),
                {{0, 0, 0}, {length + 40, 0, 0}, {length + 40, 600 - 40, 0}, {0, 800 - 40, 0}});
  const auto voids = inFile(products[0]).inverse("HasOpenings");
  ASSERT_EQ(voids.size(), 1U);
  EXPECT_EQ(voids[0].get("RelatedOpeningElement").asEntity().id(), products[1].id());
}

// A tapered I beam: one tapered solid along the axis tilted so that its top stays level.
TEST_F(Members, ATaperedBeamIsOneTaperedSolidAlongItsRevisedAxis) {
  const Beam::BeamRow b = members_test::withSection(members_test::beamRow(1, 1, 2, 0, 0, 6000, 0),
                                                    22, "22,200,200,800,400,10,16,16");
  const auto products = Utils::CreateBeam(run.ctx, b, members_test::storey(), {});
  ASSERT_EQ(products.size(), 1U);
  const ProductView beam = readBack(products)[0];
  EXPECT_EQ(beam.solid.type(), "IfcExtrudedAreaSolidTapered");
  EXPECT_TRUE(near(beam.location, {0, 0, 2600}));
  EXPECT_TRUE(near(unit(beam.axis), unit({6000, 0, 200})));
  EXPECT_NEAR(beam.depth, std::hypot(6000, 200), 1e-9);
}

// A composite section: an assembly of two bodies of the full length, both cut at the joint.
TEST_F(Members, ACompositeBeamIsAnAssemblyOfTwoFullLengthBodies) {
  const Beam::BeamRow s = members_test::beamRow(2, 1, 3, 0, 0, 3000, 3000 * std::sqrt(3.0), 400);
  const std::vector<Beam::SupportingBeamPair> pairs = {{1, &s}};
  const Beam::BeamRow b = members_test::withSection(members_test::beamRow(1, 1, 2, 0, 0, 6000, 0),
                                                    13, "13,400,600,8,300,200,12");
  const auto products = Utils::CreateBeam(run.ctx, b, members_test::storey(), pairs);
  ASSERT_EQ(products.size(), 1U);
  readBack(products);
  EXPECT_EQ(inFile(products[0]).type(), "IfcElementAssembly");
  EXPECT_EQ(inFile(products[0]).get("Name").asString(), "Beam_1");
  const auto parts = partsOf(products[0]);
  ASSERT_EQ(parts.size(), 2U);
  EXPECT_EQ(parts[0].name, "Beam_1_1");
  EXPECT_EQ(parts[1].name, "Beam_1_2");
  for (const ProductView& part : parts) {
    EXPECT_NEAR(part.depth, 6000 + 200 / std::sin(pi / 3) + 200 / std::tan(pi / 3), 1e-6);
    EXPECT_EQ(part.planes.size(), 1U);
    EXPECT_TRUE(near(part.location, parts[0].location));
  }
  EXPECT_EQ(parts[1].solid.get("SweptArea").asEntity().type(), "IfcIShapeProfileDef");
}

// Descriptions name the offsets as stored; rigid links are not built, silently.
TEST_F(Members, SlopedBeamsAreDescribedAndRigidLinksLeftOut) {
  struct Case {
    const char* name;
    std::function<void(Beam::BeamRow&)> edit;
    std::size_t products;
    const char* description;  // null: none
  };
  const Case cases[] = {
      {"end 1 lower", [](Beam::BeamRow& b) { b.hDiff1 = -50; }, 1, "(0,-50), (0,0)"},
      {"stored as reals", [](Beam::BeamRow& b) { b.hDiff1 = -50.0; }, 1, "(0,-50.0), (0,0)"},
      {"offsets that cancel",
       [](Beam::BeamRow& b) {
         b.hDiff1 = -50;
         b.zDiff1 = 50;
       },
       1, nullptr},
      {"Mat 10", [](Beam::BeamRow& b) { b.mat = 10; }, 0, nullptr},
      {"a 100 x 100 section", [](Beam::BeamRow& b) { b.shapeVal = "1,100,100"; }, 0, nullptr},
      {"100.0 is no rigid link", [](Beam::BeamRow& b) { b.shapeVal = "1,100.0,100"; }, 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Beam::BeamRow b = members_test::beamRow(1, 1, 2, 0, 0, 6000, 0);
    c.edit(b);
    const auto products = Utils::CreateBeam(run.ctx, b, members_test::storey(), {});
    ASSERT_EQ(products.size(), c.products);
    if (products.empty()) continue;
    const ifc::Value description = in(*run.readBack(), products[0]).get("Description");
    if (c.description == nullptr) {
      EXPECT_TRUE(description.isUnset());
    } else {
      EXPECT_EQ(description.asString(), c.description);
    }
  }
  EXPECT_EQ(capture.take(), "");
}

// Columns stand on their joint, turned by their rotation and moved by their eccentricities
// along the turned axes.
TEST_F(Members, ColumnsAreTurnedAndMovedInTheirTurnedFrame) {
  struct Case {
    const char* name;
    double rotation, eccX, eccY, hDiffB, hDiff;
    Vector location, refDirection;
    double depth;
  };
  const Case cases[] = {
      {"eccentric along X", 0, 100, 0, 0, 0, {1100, 2000, 0}, {1, 0, 0}, 3000},
      {"turned 90 degrees", 90, 100, 100, 0, 0, {900, 2100, 0}, {0, 1, 0}, 3000},
      {"raised base, lowered top",
       30,
       0,
       0,
       200,
       -50,
       {1000, 2000, 200},
       {std::cos(pi / 6), 0.5, 0},
       2750},
  };
  std::vector<ifc::Entity> made;
  for (const Case& c : cases) {
    Column::ColumnRow col = members_test::columnRow(9, 1000, 2000, c.rotation);
    col.eccX = c.eccX;
    col.eccY = c.eccY;
    col.hDiffB = c.hDiffB;
    col.hDiff = c.hDiff;
    const auto products = Utils::CreateColumn(run.ctx, col, members_test::storey());
    ASSERT_EQ(products.size(), 1U);
    made.push_back(products[0]);
  }
  const auto views = readBack(made);
  for (std::size_t i = 0; i < views.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(views[i].type, "IfcColumn");
    EXPECT_EQ(views[i].name, "Columm_9");
    EXPECT_TRUE(near(views[i].location, cases[i].location));
    EXPECT_TRUE(near(unit(views[i].axis), {0, 0, 1}));
    EXPECT_TRUE(near(unit(views[i].refDirection), cases[i].refDirection));
    EXPECT_DOUBLE_EQ(views[i].depth, cases[i].depth);
  }
}

TEST_F(Members, TaperedAndCompositeColumns) {
  Column::ColumnRow tapered = members_test::columnRow(8, 0, 0);
  tapered.kind = 30;
  tapered.shapeVal = "30,500,400,300,200";
  Column::ColumnRow composite = members_test::columnRow(9, 1000, 2000, 90);
  composite.kind = 13;
  composite.shapeVal = "13,400,600,8,300,200,12";
  composite.eccX = 100;
  const auto taper = Utils::CreateColumn(run.ctx, tapered, members_test::storey());
  const auto assembly = Utils::CreateColumn(run.ctx, composite, members_test::storey());
  ASSERT_EQ(taper.size(), 1U);
  ASSERT_EQ(assembly.size(), 1U);
  const ProductView body = readBack(taper)[0];
  EXPECT_EQ(body.name, "Columm_8");
  EXPECT_EQ(body.solid.type(), "IfcExtrudedAreaSolidTapered");

  EXPECT_EQ(inFile(assembly[0]).get("Name").asString(), "Column_9");
  const auto parts = partsOf(assembly[0]);
  ASSERT_EQ(parts.size(), 2U);
  EXPECT_EQ(parts[0].name, "Column_9_1");
  EXPECT_EQ(parts[1].name, "Columm_9_2");
  // Both bodies in one place: the first moved by its placement, the second by its solid's.
  EXPECT_TRUE(near(parts[0].location, {1000, 2100, 0}));
  EXPECT_TRUE(near(unit(parts[0].refDirection), {0, 1, 0}));
  EXPECT_TRUE(near(parts[1].location, {1000, 2000, 0}));
  EXPECT_TRUE(near(parts[1].solidLocation, {0, 100, 0}));
  EXPECT_TRUE(near(unit(parts[1].solidRefDirection), {0, 1, 0}));
}

// A secondary beam is swept along its sloped axis, its section kept upright.
TEST_F(Members, ASlopedSecondaryBeamRunsAlongItsAxisWithItsSectionUpright) {
  const auto plain = Utils::CreateSubBeam(
      run.ctx, members_test::subBeamRow(5, 0, 0, 0, 6000, 0, -300), members_test::storey());
  SubBeam::SubBeamRow row = members_test::subBeamRow(6, 0, 1000, 0, 6000, 1000, 0);
  row.kind = 13;
  row.shapeVal = "13,400,600,8,300,200,12";
  const auto composite = Utils::CreateSubBeam(run.ctx, row, members_test::storey());
  ASSERT_EQ(plain.size(), 1U);
  ASSERT_EQ(composite.size(), 1U);
  const ProductView beam = readBack(plain)[0];
  EXPECT_EQ(beam.name, "SubBeam_5");
  EXPECT_TRUE(near(beam.location, {0, 0, 2800}));
  EXPECT_TRUE(near(unit(beam.axis), unit({6000, 0, -300})));
  EXPECT_TRUE(near(unit(beam.refDirection), {0, -1, 0}));
  EXPECT_NEAR(beam.depth, std::hypot(6000, 300), 1e-9);

  EXPECT_EQ(inFile(composite[0]).get("Name").asString(), "SubBeam_6");
  const auto parts = partsOf(composite[0]);
  ASSERT_EQ(parts.size(), 2U);
  EXPECT_EQ(parts[0].name, "SubBeam_6_1");
  EXPECT_EQ(parts[1].name, "SubBeam_6_2");
  EXPECT_DOUBLE_EQ(parts[1].depth, 6000);
}

// Braces are swept between their ends; the section's x axis is world X seen across the axis,
// turned by the rotation, and world Y for a brace along X.
TEST_F(Members, BracesRunBetweenTheirEndsWithTheirSectionTurnedAboutTheAxis) {
  struct Case {
    const char* name;
    Brace::BraceRow row;
    Vector location, axis, sectionX;
    double depth;
  };
  Brace::BraceRow turned = members_test::braceRow(3, 0, 0, 0, 0, 0, 1);
  turned.rotation = 90;
  Brace::BraceRow eccentric = members_test::braceRow(3, 0, 0, 0, 0, 6000, 1.0);
  eccentric.eccX1 = 50;
  Brace::BraceRow oneJoint = members_test::braceRow(3, 0, 0, 0, 0, 0, 2000);
  oneJoint.jt2Id = 1;
  oneJoint.zDiff1 = 200;
  oneJoint.zDiff2 = 200;
  Brace::BraceRow twoJoints = oneJoint;
  twoJoints.jt2Id = 2;
  const Case cases[] = {
      {"vertical",
       members_test::braceRow(3, 0, 0, 0, 0, 0, 1),
       {0, 0, 0},
       {0, 0, 1},
       {1, 0, 0},
       3000},
      {"vertical turned 90", turned, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 3000},
      {"inclined to the storey top, end 1 moved",
       eccentric,
       {50, 0, 0},
       unit({-50, 6000, 3000}),
       {1, 0, 0},
       std::sqrt(50.0 * 50 + 6000.0 * 6000 + 3000.0 * 3000)},
      {"along X",
       members_test::braceRow(3, 0, 0, 1500, 6000, 0, 1500),
       {0, 0, 1500},
       {1, 0, 0},
       {0, 1, 0},
       6000},
      {"on one joint ignores its offset", oneJoint, {0, 0, 0}, {0, 0, 1}, {1, 0, 0}, 2000},
      {"on two joints", twoJoints, {0, 0, 200}, {0, 0, 1}, {1, 0, 0}, 2000},
  };
  std::vector<ifc::Entity> made;
  for (const Case& c : cases) {
    const auto products = Utils::CreateBrace(run.ctx, c.row, members_test::storey());
    ASSERT_EQ(products.size(), 1U) << c.name;
    made.push_back(products[0]);
  }
  const auto views = readBack(made);
  for (std::size_t i = 0; i < views.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(views[i].type, "IfcMember");
    EXPECT_EQ(views[i].name, "Brace_3");
    EXPECT_TRUE(near(views[i].location, cases[i].location));
    EXPECT_TRUE(near(unit(views[i].solidAxis), cases[i].axis));
    EXPECT_TRUE(near(unit(views[i].solidRefDirection), cases[i].sectionX, 1e-12));
    EXPECT_NEAR(views[i].depth, cases[i].depth, 1e-9);
  }
}

// A tapered brace is one tapered solid; two profiles of a composite kind are an assembly; a
// brace without length is left out, silently.
TEST_F(Members, TaperedCompositeAndPointBraces) {
  Brace::BraceRow tapered = members_test::braceRow(3, 0, 0, 0, 3000, 0, 1);
  tapered.kind = 30;
  tapered.shapeVal = "30,500,400,300,200";
  Brace::BraceRow composite = members_test::braceRow(4, 0, 0, 0, 3000, 0, 1);
  composite.kind = 13;
  composite.shapeVal = "13,400,600,8,300,200,12";
  const auto taper = Utils::CreateBrace(run.ctx, tapered, members_test::storey());
  const auto assembly = Utils::CreateBrace(run.ctx, composite, members_test::storey());
  EXPECT_TRUE(Utils::CreateBrace(run.ctx, members_test::braceRow(5, 0, 0, 100, 0, 0, 100),
                                 members_test::storey())
                  .empty());
  ASSERT_EQ(taper.size(), 1U);
  ASSERT_EQ(assembly.size(), 1U);
  const ProductView body = readBack(taper)[0];
  EXPECT_EQ(body.name, "Brace_3");
  EXPECT_EQ(body.solid.type(), "IfcExtrudedAreaSolidTapered");
  const auto parts = partsOf(assembly[0]);
  ASSERT_EQ(parts.size(), 2U);
  EXPECT_EQ(parts[0].name, "Brace_4_1");
  EXPECT_EQ(parts[1].name, "Brace_4_2");
  EXPECT_TRUE(near(unit(parts[1].axis), unit({3000, 0, 3000})));
  EXPECT_EQ(capture.take(), "");
}

// Each faulty member: one line naming it, no product, nothing of it in the file.
TEST(MemberFaults, AreReportedOnOneLineAndLeaveNoProduct) {
  using members_test::beamRow;
  using members_test::withSection;
  const Beam::BeamRow straight = beamRow(1, 1, 2, 0, 0, 6000, 0);
  Column::ColumnRow inverted = members_test::columnRow(9, 0, 0);
  inverted.hDiffB = 3000;
  Column::ColumnRow columnKind = members_test::columnRow(9, 0, 0);
  columnKind.kind = 99;
  SubBeam::SubBeamRow subKind = members_test::subBeamRow(5, 0, 0, 0, 6000, 0, 0);
  subKind.kind = 99;
  Brace::BraceRow braceKind = members_test::braceRow(3, 0, 0, 0, 0, 0, 1);
  braceKind.kind = 99;
  Beam::BeamRow arcOnCentre = beamRow(1, 1, 2, 0, 0, 6000, 0);
  arcOnCentre.axisJt1Id = -1;
  arcOnCentre.x0 = 0;
  arcOnCentre.y0 = 0;

  struct Case {
    const char* name;
    std::function<std::vector<ifc::Entity>(const Utils::RunContext&)> build;
    std::string line;
  };
  auto beam = [](Beam::BeamRow b) {
    return [b](const Utils::RunContext& ctx) {
      return Utils::CreateBeam(ctx, b, members_test::storey(), {});
    };
  };
  const Case cases[] = {
      {"no section kind", beam(withSection(straight, db::Value(), "1,300,600")),
       "Beam_1, 截面类型为空，已跳过"},
      {"a kind stored as text", beam(withSection(straight, "21", "21,300,800,500")),
       "Beam_1, 截面类型'21'未定义"},
      {"a kind without profiles, as stored", beam(withSection(straight, 99, "1,300,600")),
       "Beam_1, 截面类型99未定义"},
      {"no dimension text", beam(withSection(straight, 1, db::Value())),
       "Beam_1, 截面参数为空，已跳过"},
      {"an item that is no number", beam(withSection(straight, 1, "1,3OO,600")),
       "Beam_1, item 1 \"3OO\" of dimension text \"1,3OO,600\" is not a number，已跳过"},
      {"a vertical beam", beam(beamRow(1, 1, 2, 500, 500, 500, 500)),
       "Beam_1, 轴线水平投影长度为零，已跳过"},
      {"an arc beam ending at its centre", beam(arcOnCentre),
       "Beam_1, 圆弧梁的端点与圆心重合，已跳过"},
      {"box plates wider than the box", beam(withSection(straight, 23, "23,400,800,600,250,20")),
       "Beam_1, section kind 23: inner width must be positive (-100.0)，已跳过"},
      {"a secondary beam of an undefined kind, named as a beam",
       [&](const Utils::RunContext& ctx) {
         return Utils::CreateSubBeam(ctx, subKind, members_test::storey());
       },
       "Beam_5, 截面类型99未定义"},
      {"a vertical secondary beam",
       [](const Utils::RunContext& ctx) {
         return Utils::CreateSubBeam(ctx, members_test::subBeamRow(5, 7, 7, 0, 7, 7, -300),
                                     members_test::storey());
       },
       "SubBeam_5, 轴线水平投影长度为零，已跳过"},
      {"a column whose base is at its top",
       [&](const Utils::RunContext& ctx) {
         return Utils::CreateColumn(ctx, inverted, members_test::storey());
       },
       "Column_9, 柱长度0.0不为正，已跳过"},
      {"a column of an undefined kind",
       [&](const Utils::RunContext& ctx) {
         return Utils::CreateColumn(ctx, columnKind, members_test::storey());
       },
       "Column_9, 截面类型99未定义"},
      {"a brace of an undefined kind",
       [&](const Utils::RunContext& ctx) {
         return Utils::CreateBrace(ctx, braceKind, members_test::storey());
       },
       "Brace_3, 截面类型99未定义"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    members_test::RunModel run("IFC4");
    Utils::MessageCapture capture;
    EXPECT_TRUE(c.build(run.ctx).empty());
    EXPECT_EQ(capture.take(), c.line + "\n");
    const auto back = run.readBack();
    EXPECT_TRUE(back->by_type("IfcProduct").empty());
  }
}

}  // namespace
