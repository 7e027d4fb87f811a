#include "driver/mapped_copies.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/header_template.h"
#include "driver/storeys.h"
#include "ifc/guid.h"
#include "ifc/model.h"
#include "sections/make_profiles.h"

namespace {

class MappedCopies : public ::testing::TestWithParam<const char*> {
 protected:
  MappedCopies()
      : model(ifc::Model::parse(Verdamo::fillTemplate(GetParam(), "t.ifc", 0))),
        ctx(Utils::makeRunContext(*model, profiles)) {}

  // A product with an absolute placement and a "Body" of one extruded rectangle.
  ifc::Entity product(const char* type, const std::string& name) {
    ifc::Model& m = *model;
    const ifc::Entity placement = m.create(
        "IfcLocalPlacement",
        {ifc::Unset{}, m.create("IfcAxis2Placement3D",
                                {m.create("IfcCartesianPoint", {ifc::List{1000.0, 0.0, 0.0}})})});
    const ifc::Entity profile = m.create(
        "IfcRectangleProfileDef",
        {ifc::Enum{"AREA"}, "Rec_200*400",
         m.create("IfcAxis2Placement2D", {m.create("IfcCartesianPoint", {ifc::List{0.0, 0.0}})}),
         200.0, 400.0});
    const ifc::Entity solid =
        m.create("IfcExtrudedAreaSolid", {profile, ctx.placement, ctx.directionZ, 3000.0});
    const ifc::Entity body =
        m.create("IfcShapeRepresentation", {ctx.context, "Body", "SweptSolid", ifc::List{solid}});
    const ifc::Entity shape =
        m.create("IfcProductDefinitionShape", {ifc::Unset{}, ifc::Unset{}, ifc::List{body}});
    return m.create(type, {ifc::createGuid(), ctx.ownerHistory, name, ifc::Unset{}, ifc::Unset{},
                           placement, shape});
  }

  ifc::Entity assembly(const std::string& name, ifc::List parts) {
    const ifc::Entity a =
        model->create("IfcElementAssembly", {ifc::createGuid(), ctx.ownerHistory, name});
    if (model->schemaName() == "IFC2X3") {
      a.set("AssemblyPlace", ifc::Enum{"NOTDEFINED"});
      a.set("PredefinedType", ifc::Enum{"NOTDEFINED"});
    }
    model->create("IfcRelAggregates", {ifc::createGuid(), ctx.ownerHistory, "Assembly",
                                       ifc::Unset{}, a, std::move(parts)});
    return a;
  }

  static ifc::Entity bodyItem(const ifc::Entity& product) {
    const ifc::List reps = product.get("Representation").asEntity().get("Representations").asList();
    EXPECT_EQ(reps.size(), 1U);
    return reps.front().asEntity().get("Items").asList().front().asEntity();
  }

  std::unique_ptr<ifc::Model> model;
  Sect::ProfileCache profiles;
  Utils::RunContext ctx;
  Verdamo::ObjItemMap items;
};

TEST_P(MappedCopies, MappingMovesTheBodyIntoARepresentationMapAtTheSharedPlacement) {
  const ifc::Entity beam = product("IfcBeam", "Beam_12");
  const ifc::Entity body =
      beam.get("Representation").asEntity().get("Representations").asList()[0].asEntity();
  Verdamo::mapObjects(ctx, items, {beam});

  const ifc::Entity item = bodyItem(beam);
  EXPECT_EQ(item.type(), "IfcMappedItem");
  const ifc::Entity source = item.get("MappingSource").asEntity();
  EXPECT_EQ(source.get("MappingOrigin").asEntity(), ctx.placement);
  EXPECT_EQ(source.get("MappedRepresentation").asEntity(), body);
  const ifc::Entity target = item.get("MappingTarget").asEntity();
  EXPECT_EQ(target.get("LocalOrigin").asEntity(), ctx.origin);
  EXPECT_EQ(target.get("Axis3").asEntity(), ctx.directionZ);
  EXPECT_EQ(target.get("Scale").asDouble(), 1.0);
  const ifc::Entity rep =
      beam.get("Representation").asEntity().get("Representations").asList()[0].asEntity();
  EXPECT_EQ(rep.get("RepresentationIdentifier").asString(), "Body");
  EXPECT_EQ(rep.get("RepresentationType").asString(), "MappedRepresentation");
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
}

TEST_P(MappedCopies, CopiesShareTheMappedItemsAndCarryTheirOpeningsAlong) {
  const ifc::Entity wall = product("IfcWall", "Wall_3");
  const ifc::Entity hole1 = product("IfcOpeningElement", "Wall_Hole");
  const ifc::Entity hole2 = product("IfcOpeningElement", "Wall_Hole");
  for (const ifc::Entity& hole : {hole1, hole2}) {
    model->create("IfcRelVoidsElement",
                  {ifc::createGuid(), ctx.ownerHistory, ifc::Unset{}, ifc::Unset{}, wall, hole});
  }
  const ifc::Entity part1 = product("IfcColumn", "Column_7_1");
  const ifc::Entity part2 = product("IfcColumn", "Columm_7_2");
  const ifc::Entity column = assembly("Column_7", ifc::List{part1, part2});
  const std::vector<ifc::Entity> objectlists{wall, hole1, hole2, column};
  Verdamo::mapObjects(ctx, items, objectlists);
  EXPECT_EQ(items.size(), 5U);
  static_cast<void>(Verdamo::createFloorObj(ctx, objectlists, {0.0, 3000.0, 1, "1F", 1}));

  const std::vector<ifc::Entity> copies = Verdamo::cloneObjects(ctx, items, objectlists);
  ASSERT_EQ(copies.size(), 4U);
  EXPECT_EQ(copies[0].get("Name").asString(), "Wall_3_cloned");
  EXPECT_EQ(copies[1].get("Name").asString(), "Wall_Hole_cloned");
  EXPECT_EQ(copies[2].get("Name").asString(), "Wall_Hole_cloned");
  EXPECT_EQ(copies[3].get("Name").asString(), "Column_7_cloned");
  EXPECT_EQ(copies[3].type(), "IfcElementAssembly");
  EXPECT_EQ(bodyItem(copies[0]), bodyItem(wall));
  EXPECT_EQ(bodyItem(copies[1]), bodyItem(hole1));
  EXPECT_EQ(copies[0].get("ObjectPlacement"), wall.get("ObjectPlacement"));
  const auto voids = copies[0].inverse("HasOpenings");
  ASSERT_EQ(voids.size(), 2U);
  EXPECT_EQ(voids[1].get("RelatedOpeningElement").asEntity(), copies[2]);

  const ifc::List newParts =
      copies[3].inverse("IsDecomposedBy").front().get("RelatedObjects").asList();
  ASSERT_EQ(newParts.size(), 2U);
  EXPECT_EQ(newParts[0].asEntity().get("Name").asString(), "Column_7_1_cloned");
  EXPECT_EQ(newParts[1].asEntity().get("Name").asString(), "Columm_7_2_cloned");
  EXPECT_EQ(bodyItem(newParts[1].asEntity()), bodyItem(part2));

  static_cast<void>(Verdamo::createFloorObj(ctx, copies, {3000.0, 3000.0, 2, "2F", 1}));
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
}

TEST_P(MappedCopies, ProductWithoutABodyOrMappedItemIsAnErrorNamingIt) {
  const ifc::Entity bare =
      model->create("IfcBeam", {ifc::createGuid(), ctx.ownerHistory, "Beam_9"});
  EXPECT_THROW(Verdamo::createItemForObj(ctx, items, bare), std::runtime_error);
  try {
    static_cast<void>(Verdamo::createNewObj(ctx, items, bare));
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(std::to_string(bare.id()) + " IfcBeam"),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, MappedCopies, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
