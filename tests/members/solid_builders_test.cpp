// The straight and revolved solid builders, through the written file read back.
#include "members/solid_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "run_model.h"

namespace {

using App::Vector;
using members_test::in;
using members_test::RunModel;
using members_test::triple;
using Utils::StructureType;

// The body as nested operations: "CLIP(IfcExtrudedAreaSolid,HALF)", "UNION(...,IfcBlock)".
std::string nesting(const ifc::Entity& item) {
  if (item.is_a("IfcBooleanResult")) {
    const std::string op =
        item.is_a("IfcBooleanClippingResult") ? std::string("CLIP") : item.get("Operator").asEnum();
    return op + "(" + nesting(item.get("FirstOperand").asEntity()) + "," +
           nesting(item.get("SecondOperand").asEntity()) + ")";
  }
  if (item.is_a("IfcHalfSpaceSolid")) return "HALF";
  return item.type();
}

ifc::Entity bodyOf(const ifc::Entity& product, std::string* representationType = nullptr) {
  const ifc::List reps = product.get("Representation").asEntity().get("Representations").asList();
  EXPECT_EQ(reps.size(), 1U);
  const ifc::Entity rep = reps.front().asEntity();
  EXPECT_EQ(rep.get("RepresentationIdentifier").asString(), "Body");
  if (representationType) *representationType = rep.get("RepresentationType").asString();
  const ifc::List items = rep.get("Items").asList();
  EXPECT_EQ(items.size(), 1U);
  return items.front().asEntity();
}

// The innermost swept solid of a body.
ifc::Entity sweptOf(ifc::Entity item) {
  while (item.is_a("IfcBooleanResult")) item = item.get("FirstOperand").asEntity();
  return item;
}

ifc::Entity axisPlacementOf(const ifc::Entity& product) {
  const ifc::Entity local = product.get("ObjectPlacement").asEntity();
  EXPECT_TRUE(local.get("PlacementRelTo").isUnset());
  return local.get("RelativePlacement").asEntity();
}

class SolidBuilders : public ::testing::TestWithParam<const char*> {
 protected:
  RunModel run{GetParam()};
  Utils::RunContext& ctx = run.ctx;

  // A 200 x 400 beam 3000 long along +X at (1000, 0, 3000), profile's +Y down.
  ifc::Entity beam(const Utils::StraightOptions& options = {},
                   StructureType type = StructureType::Beam) {
    return Utils::CreateStraightStructure(ctx, type, "Beam_7", run.rectangle(200, 400), 3000.0,
                                          {1000, 0, 3000}, {1, 0, 0}, {0, -1, 0}, options);
  }
  // A solid for union and cut.
  ifc::Entity block() { return run.model->create("IfcBlock", {ctx.placement, 10.0, 10.0, 10.0}); }
};

TEST_P(SolidBuilders, EachStraightKindIsItsProductWithAnAbsolutePlacementAndOneBody) {
  const struct {
    StructureType type;
    const char* entity;
  } kinds[] = {{StructureType::Beam, "IfcBeam"},
               {StructureType::Column, "IfcColumn"},
               {StructureType::Wall, "IfcWall"},
               {StructureType::Slab, "IfcSlab"},
               {StructureType::VirtualElement, "IfcVirtualElement"},
               {StructureType::Opening, "IfcOpeningElement"},
               {StructureType::Brace, "IfcMember"}};
  std::vector<ifc::Entity> made;
  for (const auto& kind : kinds) made.push_back(beam({}, kind.type));

  const auto back = run.readBack();
  for (std::size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(kinds[i].entity);
    const ifc::Entity product = in(*back, made[i]);
    EXPECT_EQ(product.type(), kinds[i].entity);
    EXPECT_EQ(product.get("GlobalId").asString().size(), 22U);
    EXPECT_EQ(product.get("OwnerHistory").asEntity().id(), ctx.ownerHistory.id());
    EXPECT_EQ(product.get("Name").asString(), "Beam_7");
    const ifc::Entity placement = axisPlacementOf(product);
    EXPECT_EQ(triple(placement.get("Location").asEntity()), (std::vector<double>{1000, 0, 3000}));
    EXPECT_EQ(placement.get("Axis").asEntity().id(), ctx.directionX.id());
    EXPECT_EQ(triple(placement.get("RefDirection").asEntity()), (std::vector<double>{0, -1, 0}));
    std::string type;
    const ifc::Entity solid = bodyOf(product, &type);
    EXPECT_EQ(type, "SweptSolid");
    EXPECT_EQ(solid.type(), "IfcExtrudedAreaSolid");
    EXPECT_EQ(solid.get("Depth").asDouble(), 3000.0);
    EXPECT_EQ(solid.get("SweptArea").asEntity().get("ProfileName").asString(), "Rec_200*400");
  }
}

TEST_P(SolidBuilders, ClipPlanesUnionAndCutNestInOrderAndNameTheRepresentationType) {
  const Utils::ClipPlane end{{0, 0, 3000}, {0, 0, -2}};
  const Utils::ClipPlane skew{{0, 0, 0}, {1, 0, 1}};
  struct Case {
    const char* name;
    std::vector<Utils::ClipPlane> clips;
    bool withUnion;
    bool withCut;
    const char* nesting;
    const char* type;
  };
  const Case cases[] = {
      {"plain", {}, false, false, "IfcExtrudedAreaSolid", "SweptSolid"},
      {"one plane", {end}, false, false, "CLIP(IfcExtrudedAreaSolid,HALF)", "Clipping"},
      {"two planes",
       {end, skew},
       false,
       false,
       "CLIP(CLIP(IfcExtrudedAreaSolid,HALF),HALF)",
       "Clipping"},
      {"union", {}, true, false, "UNION(IfcExtrudedAreaSolid,IfcBlock)", "CSG"},
      {"cut", {}, false, true, "DIFFERENCE(IfcExtrudedAreaSolid,IfcBlock)", "CSG"},
      {"union and cut",
       {},
       true,
       true,
       "DIFFERENCE(UNION(IfcExtrudedAreaSolid,IfcBlock),IfcBlock)",
       "CSG"},
      {"plane, union and cut",
       {end},
       true,
       true,
       "DIFFERENCE(UNION(CLIP(IfcExtrudedAreaSolid,HALF),IfcBlock),IfcBlock)",
       "CSG"},
  };
  std::vector<ifc::Entity> made;
  for (const Case& c : cases) {
    Utils::StraightOptions options;
    options.clipPlanes = c.clips;
    if (c.withUnion) options.unionSolid = block();
    if (c.withCut) options.cut = block();
    made.push_back(beam(options));
  }

  const auto back = run.readBack();
  for (std::size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    std::string type;
    const ifc::Entity body = bodyOf(in(*back, made[i]), &type);
    EXPECT_EQ(nesting(body), cases[i].nesting);
    EXPECT_EQ(type, cases[i].type);
  }

  // The planes of the two-plane case, innermost first: the normal as given, a unit
  // RefDirection square to it, the kept side where the normal points.
  ifc::Entity item = bodyOf(in(*back, made[2]));
  const Utils::ClipPlane* planes[] = {&skew, &end};
  for (const Utils::ClipPlane* plane : planes) {
    const ifc::Entity halfSpace = item.get("SecondOperand").asEntity();
    EXPECT_TRUE(halfSpace.get("AgreementFlag").asBool());
    const ifc::Entity position = halfSpace.get("BaseSurface").asEntity().get("Position").asEntity();
    EXPECT_EQ(triple(position.get("Location").asEntity()),
              (std::vector<double>(plane->point.begin(), plane->point.end())));
    const ifc::Entity axis = position.get("Axis").asEntity();
    EXPECT_NE(axis.id(), ctx.directionZ.id());
    EXPECT_EQ(triple(axis), (std::vector<double>(plane->normal.begin(), plane->normal.end())));
    const Vector ref = Vector::from_np(triple(position.get("RefDirection").asEntity()));
    EXPECT_NEAR(ref.Length(), 1.0, 1e-12);
    EXPECT_NEAR(ref.dot(plane->normal), 0.0, 1e-12);
    item = item.get("FirstOperand").asEntity();
  }
}

TEST_P(SolidBuilders, OnlyThePositiveUnitAxesAndTheDefaultSolidFrameAreShared) {
  struct Case {
    const char* name;
    Vector direction;
    std::vector<double> axis;  // empty: the shared directionZ / directionY
    Utils::SolidFrame solid;
    bool sharedPlacement;
  };
  const Case cases[] = {
      {"unit Z, default frame", {0, 0, 1}, {}, {}, true},
      {"Z of length 2 is scaled to the shared axis", {0, 0, 2}, {}, {}, true},
      {"just short of unit length is written as given",
       {0, 0, 0.999995},
       {0, 0, 0.999995},
       {},
       true},
      {"negative Z", {0, 0, -1}, {0, 0, -1}, {}, true},
      {"oblique", {0, 3, 4}, {0, 0.6, 0.8}, {}, true},
      {"solid within 0.003 mm of the origin", {0, 0, 1}, {}, {{0.001, 0.001, 0.001}}, true},
      {"solid off the origin", {0, 0, 1}, {}, {{0, 0, 0.01}}, false},
      {"solid at the origin along X", {0, 0, 1}, {}, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, false},
  };
  std::vector<ifc::Entity> made;
  for (const Case& c : cases) {
    Utils::StraightOptions options;
    options.solid = c.solid;
    made.push_back(Utils::CreateStraightStructure(ctx, StructureType::Column, "Columm_1",
                                                  run.rectangle(300, 300), 3000.0, {0, 0, 0},
                                                  c.direction, {1, 0, 0}, options));
  }

  const auto back = run.readBack();
  for (std::size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    const ifc::Entity product = in(*back, made[i]);
    const ifc::Entity axis = axisPlacementOf(product).get("Axis").asEntity();
    if (cases[i].axis.empty()) {
      EXPECT_EQ(axis.id(), ctx.directionZ.id());
    } else {
      EXPECT_NE(axis.id(), ctx.directionZ.id());
      const std::vector<double> ratios = triple(axis);
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(ratios[k], cases[i].axis[k], 1e-15);
    }
    EXPECT_EQ(axisPlacementOf(product).get("RefDirection").asEntity().id(), ctx.directionX.id());

    // Always swept along the solid placement's own Z.
    const ifc::Entity solid = bodyOf(product);
    EXPECT_EQ(solid.get("ExtrudedDirection").asEntity().id(), ctx.directionZ.id());
    const ifc::Entity position = solid.get("Position").asEntity();
    if (cases[i].sharedPlacement) {
      EXPECT_EQ(position.id(), ctx.placement.id());
    } else {
      EXPECT_NE(position.id(), ctx.placement.id());
      EXPECT_EQ(
          triple(position.get("Location").asEntity()),
          (std::vector<double>(cases[i].solid.position.begin(), cases[i].solid.position.end())));
      EXPECT_EQ(
          triple(position.get("Axis").asEntity()),
          (std::vector<double>(cases[i].solid.direction.begin(), cases[i].solid.direction.end())));
    }
  }
  // The shared placement keeps the axes it was made with.
  const ifc::Entity shared = in(*back, ctx.placement);
  EXPECT_EQ(shared.get("Location").asEntity().id(), ctx.origin.id());
  EXPECT_EQ(shared.get("Axis").asEntity().id(), ctx.directionZ.id());
  EXPECT_EQ(shared.get("RefDirection").asEntity().id(), ctx.directionX.id());
}

TEST_P(SolidBuilders, ASecondSectionTapersTheBodyUnderIfc4Only) {
  const ifc::Entity start = run.rectangle(200, 600);
  const ifc::Entity end = run.rectangle(200, 300);
  Utils::StraightOptions options;
  options.section2 = end;
  if (run.model->schemaName() == "IFC2X3") {
    (void)run.rectangle(200, 400);  // the section of beam(), from the cache from now on
    const std::size_t before = run.model->size();
    EXPECT_THROW(beam(options), std::invalid_argument);
    EXPECT_EQ(run.model->size(), before);
    return;
  }
  options.clipPlanes = {{{0, 0, 10}, {0, 0, 1}}};
  const ifc::Entity product = Utils::CreateStraightStructure(
      ctx, StructureType::Beam, "Beam_2", start, 6000.0, {0, 0, 0}, {1, 0, 0}, {0, -1, 0}, options);
  const auto back = run.readBack();
  const ifc::Entity solid = sweptOf(bodyOf(in(*back, product)));
  EXPECT_EQ(solid.type(), "IfcExtrudedAreaSolidTapered");
  EXPECT_EQ(solid.get("SweptArea").asEntity().id(), start.id());
  EXPECT_EQ(solid.get("EndSweptArea").asEntity().id(), end.id());
  EXPECT_EQ(solid.get("Depth").asDouble(), 6000.0);
}

TEST_P(SolidBuilders, EachArcKindIsARevolvedSolidAtTheSharedPlacement) {
  const struct {
    Utils::ArcStructureType type;
    const char* entity;
  } kinds[] = {{Utils::ArcStructureType::Beam, "IfcBeam"},
               {Utils::ArcStructureType::Wall, "IfcWall"},
               {Utils::ArcStructureType::Slab, "IfcSlab"}};
  ifc::Model& m = *run.model;
  std::vector<ifc::Entity> made;
  std::vector<ifc::Entity> axes;
  for (const auto& kind : kinds) {
    const ifc::Entity axis =
        m.create("IfcAxis1Placement",
                 {m.create("IfcCartesianPoint", {ifc::List{-5000.0, 0.0, 0.0}}), ctx.directionY});
    axes.push_back(axis);
    made.push_back(Utils::CreateArcStructure(ctx, kind.type, "Wall_3", run.rectangle(200, 3000),
                                             axis, 90.0, {5000, 0, 0}, {0, 0, 1}, {1, 0, 0}));
  }
  const auto back = run.readBack();
  for (std::size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(kinds[i].entity);
    const ifc::Entity product = in(*back, made[i]);
    EXPECT_EQ(product.type(), kinds[i].entity);
    const ifc::Entity placement = axisPlacementOf(product);
    // Written as given: new directions even for the unit axes.
    EXPECT_NE(placement.get("Axis").asEntity().id(), ctx.directionZ.id());
    EXPECT_EQ(triple(placement.get("Axis").asEntity()), (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(triple(placement.get("RefDirection").asEntity()), (std::vector<double>{1, 0, 0}));
    std::string type;
    const ifc::Entity solid = bodyOf(product, &type);
    EXPECT_EQ(type, "SweptSolid");
    EXPECT_EQ(solid.type(), "IfcRevolvedAreaSolid");
    EXPECT_EQ(solid.get("Position").asEntity().id(), ctx.placement.id());
    EXPECT_EQ(solid.get("Axis").asEntity().id(), axes[i].id());
    EXPECT_EQ(solid.get("Angle").asDouble(), 90.0);
  }
}

TEST_P(SolidBuilders, DegenerateGeometryIsAGeometryFaultThatCreatesNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const ifc::Entity section = run.rectangle(200, 400);
  const Utils::StraightOptions plain;
  struct Case {
    const char* name;
    double L;
    Vector position, direction, refDirection;
    Utils::StraightOptions options;
  };
  auto with = [](auto change) {
    Utils::StraightOptions o;
    change(o);
    return o;
  };
  const Case cases[] = {
      {"zero length", 0.0, {}, {0, 0, 1}, {1, 0, 0}, plain},
      {"negative length", -5.0, {}, {0, 0, 1}, {1, 0, 0}, plain},
      {"length not a number", nan, {}, {0, 0, 1}, {1, 0, 0}, plain},
      {"position not a number", 100.0, {nan, 0, 0}, {0, 0, 1}, {1, 0, 0}, plain},
      {"zero axis", 100.0, {}, {0, 0, 0}, {1, 0, 0}, plain},
      {"axis along its reference", 100.0, {}, {2, 0, 0}, {-1, 0, 0}, plain},
      {"zero solid axis", 100.0, {}, {0, 0, 1}, {1, 0, 0}, with([](auto& o) {
         o.solid.direction = {0, 0, 0};
       })},
      {"solid axis along its reference", 100.0, {}, {0, 0, 1}, {1, 0, 0}, with([](auto& o) {
         o.solid.direction = {1, 0, 0};
       })},
      {"zero clip normal", 100.0, {}, {0, 0, 1}, {1, 0, 0}, with([](auto& o) {
         o.clipPlanes = {{{0, 0, 10}, {0, 0, 1}}, {{0, 0, 50}, {0, 0, 0}}};
       })},
  };
  const std::size_t before = run.model->size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(Utils::CreateStraightStructure(ctx, StructureType::Beam, "Beam_1", section, c.L,
                                                c.position, c.direction, c.refDirection, c.options),
                 App::GeometryError);
  }
  const ifc::Entity axis = run.model->create(
      "IfcAxis1Placement",
      {run.model->create("IfcCartesianPoint", {ifc::List{0.0, 0.0, 0.0}}), ctx.directionY});
  for (const double angle : {0.0, nan}) {
    EXPECT_THROW(Utils::CreateArcStructure(ctx, Utils::ArcStructureType::Wall, "Wall_1", section,
                                           axis, angle, {}, {0, 0, 1}, {1, 0, 0}),
                 App::GeometryError);
  }
  EXPECT_EQ(run.model->size(), before + 2);  // the test's own axis
}

TEST_P(SolidBuilders, ProfilesAndSolidsMustBeGivenAndOfTheRunsModel) {
  ifc::Model other(GetParam());
  const ifc::Entity foreign = other.create("IfcRectangleProfileDef", {ifc::Enum{"AREA"}});
  const ifc::Entity section = run.rectangle(200, 400);
  const std::size_t before = run.model->size();
  const struct {
    ifc::Entity section;
    ifc::Entity cut;
    const char* message;
  } cases[] = {{{}, {}, "no swept profile given"},
               {foreign, {}, "the swept profile belongs to another model"},
               {section, foreign, "the solid to subtract belongs to another model"}};
  for (const auto& c : cases) {
    Utils::StraightOptions options;
    options.cut = c.cut;
    try {
      (void)Utils::CreateStraightStructure(ctx, StructureType::Beam, "Beam_1", c.section, 10.0, {},
                                           {0, 0, 1}, {1, 0, 0}, options);
      ADD_FAILURE() << "no fault for " << c.message;
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_THROW(Utils::CreateArcStructure(ctx, Utils::ArcStructureType::Beam, "Beam_1", section, {},
                                         90.0, {}, {0, 0, 1}, {1, 0, 0}),
               std::invalid_argument);
  EXPECT_EQ(run.model->size(), before);
}

TEST_P(SolidBuilders, AnIncompleteRunContextIsARunFaultNamingWhatIsMissing) {
  const ifc::Entity section = run.rectangle(200, 400);
  Utils::RunContext noHistory = ctx;
  noHistory.ownerHistory = {};
  Utils::RunContext noPlacement = ctx;
  noPlacement.placement = {};
  ifc::Model other(GetParam());
  Utils::RunContext foreign = ctx;
  foreign.directionZ = other.create("IfcDirection", {ifc::List{0.0, 0.0, 1.0}});
  const struct {
    const Utils::RunContext* ctx;
    const char* message;
  } cases[] = {{&noHistory, "the run context has no owner history (IfcOwnerHistory)"},
               {&noPlacement, "the run context has no shared placement"},
               {&foreign, "the run context's direction Z belongs to another model"}};
  for (const auto& c : cases) {
    try {
      (void)Utils::CreateStraightStructure(*c.ctx, StructureType::Beam, "Beam_1", section, 10.0, {},
                                           {0, 0, 1}, {1, 0, 0});
      ADD_FAILURE() << "no fault for " << c.message;
    } catch (const Utils::RunContextError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST_P(SolidBuilders, BuildersOnManyThreadsLeaveTheSharedEntitiesAsTheyWere) {
  const ifc::Entity section = run.rectangle(200, 400);
  constexpr int threads = 8;
  constexpr int perThread = 50;
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      for (int i = 0; i < perThread; ++i) {
        Utils::StraightOptions options;
        if (i % 2) options.clipPlanes = {{{0, 0, 100}, {0, 0, 1}}};
        (void)Utils::CreateStraightStructure(
            ctx, StructureType::Beam, "Beam_" + std::to_string(t * perThread + i), section, 1000.0,
            {double(i), double(t), 0}, {1, 0, 0}, {0, -1, 0}, options);
      }
    });
  }
  for (std::thread& t : pool) t.join();
  const auto back = run.readBack();
  EXPECT_EQ(back->by_type("IfcBeam").size(), std::size_t{threads * perThread});
  const ifc::Entity shared = in(*back, ctx.placement);
  EXPECT_EQ(shared.get("Axis").asEntity().id(), ctx.directionZ.id());
  EXPECT_EQ(shared.get("RefDirection").asEntity().id(), ctx.directionX.id());
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, SolidBuilders, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
