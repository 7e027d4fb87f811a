#include "driver/storeys.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

#include "driver/header_template.h"
#include "ifc/guid.h"
#include "ifc/model.h"
#include "sections/make_profiles.h"

namespace {

using Verdamo::StoreyFloor;

class Storeys : public ::testing::TestWithParam<const char*> {
 protected:
  Storeys()
      : model(ifc::Model::parse(Verdamo::fillTemplate(GetParam(), "t.ifc", 0))),
        ctx(Utils::makeRunContext(*model, profiles)) {}

  // A product at (x, 0, 0) with its own absolute placement, as the member builders make them.
  ifc::Entity product(const char* type, const char* name, double x) {
    const ifc::Entity point = model->create("IfcCartesianPoint", {ifc::List{x, 0.0, 0.0}});
    const ifc::Entity placement = model->create(
        "IfcLocalPlacement", {ifc::Unset{}, model->create("IfcAxis2Placement3D", {point})});
    return model->create(
        type, {ifc::createGuid(), ctx.ownerHistory, name, ifc::Unset{}, ifc::Unset{}, placement});
  }

  std::unique_ptr<ifc::Model> model;
  Sect::ProfileCache profiles;
  Utils::RunContext ctx;
};

TEST_P(Storeys, StoreyStandsAtTheFloorElevationWithNumberNameAndProperties) {
  const ifc::Entity storey =
      Verdamo::createFloorObj(ctx, {}, StoreyFloor{3600.0, 3000.0, 2, "二层", 1});
  EXPECT_EQ(storey.get("Name").asString(), "2");
  EXPECT_EQ(storey.get("Description").asString(), "二层");
  EXPECT_EQ(storey.get("CompositionType").asEnum(), "ELEMENT");
  EXPECT_EQ(storey.get("Elevation").asDouble(), 3600.0);
  const ifc::Entity pl = storey.get("ObjectPlacement").asEntity();
  EXPECT_TRUE(pl.get("PlacementRelTo").isUnset());
  const ifc::Entity location = pl.get("RelativePlacement").asEntity().get("Location").asEntity();
  EXPECT_EQ(location.get("Coordinates"), ifc::Value(ifc::List{0.0, 0.0, 3600.0}));

  const auto definedBy = storey.inverse("IsDefinedBy");
  ASSERT_EQ(definedBy.size(), 1U);
  const ifc::Entity pset = definedBy[0].get("RelatingPropertyDefinition").asEntity();
  EXPECT_EQ(pset.get("Name").asString(), "Custom");
  const ifc::List props = pset.get("HasProperties").asList();
  ASSERT_EQ(props.size(), 3U);
  const char* names[] = {"StdFlrNo", "FloorNo", "Height"};
  const ifc::Value values[] = {ifc::Value::typed("IfcLabel", "1"),
                               ifc::Value::typed("IfcLabel", "2"),
                               ifc::Value::typed("IfcLengthMeasure", 3000.0)};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(props[i].asEntity().get("Name").asString(), names[i]);
    EXPECT_EQ(props[i].asEntity().get("NominalValue"), values[i]);
  }
  // An empty floor has nothing to contain: the relation would need one element.
  EXPECT_TRUE(model->by_type("IfcRelContainedInSpatialStructure").empty());
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
}

TEST_P(Storeys, UnnamedFloorIsDescribedByItsNumberInTheStoredForm) {
  const ifc::Entity unnamed = Verdamo::createFloorObj(ctx, {}, StoreyFloor{0.0, 3000.0, 3, "", 1});
  EXPECT_EQ(unnamed.get("Description").asString(), "Floor_3");
  const ifc::Entity real =
      Verdamo::createFloorObj(ctx, {}, StoreyFloor{0, 3000, 3.0, db::Value(), 2});
  EXPECT_EQ(real.get("Name").asString(), "3.0");
  EXPECT_EQ(real.get("Description").asString(), "Floor_3.0");
}

TEST_P(Storeys, ProductsAreReHungUnderTheStoreyAndContainedInIt) {
  const ifc::Entity beam = product("IfcBeam", "Beam_1", 100.0);
  const ifc::Entity part1 = product("IfcColumn", "Column_2_1", 0.0);
  const ifc::Entity part2 = product("IfcColumn", "Column_2_2", 0.0);
  const ifc::Entity assembly =
      model->create("IfcElementAssembly", {ifc::createGuid(), ctx.ownerHistory, "Column_2"});
  if (model->schemaName() == "IFC2X3") {
    assembly.set("AssemblyPlace", ifc::Enum{"NOTDEFINED"});
    assembly.set("PredefinedType", ifc::Enum{"NOTDEFINED"});
  }
  model->create("IfcRelAggregates", {ifc::createGuid(), ctx.ownerHistory, "Assembly", ifc::Unset{},
                                     assembly, ifc::List{part1, part2}});
  const ifc::Entity beamRelative =
      beam.get("ObjectPlacement").asEntity().get("RelativePlacement").asEntity();

  const ifc::Entity storey =
      Verdamo::createFloorObj(ctx, {beam, assembly}, StoreyFloor{3000.0, 3000.0, 2, "2F", 1});
  const ifc::Entity pl = storey.get("ObjectPlacement").asEntity();
  for (const ifc::Entity& e : {beam, part1, part2}) {
    const ifc::Entity placement = e.get("ObjectPlacement").asEntity();
    EXPECT_EQ(placement.get("PlacementRelTo").asEntity(), pl);
  }
  EXPECT_EQ(beam.get("ObjectPlacement").asEntity().get("RelativePlacement").asEntity(),
            beamRelative);
  EXPECT_TRUE(assembly.get("ObjectPlacement").isUnset());
  const auto contained = model->by_type("IfcRelContainedInSpatialStructure");
  ASSERT_EQ(contained.size(), 1U);
  EXPECT_EQ(contained[0].get("Name").asString(), "storeyLink");
  EXPECT_EQ(contained[0].get("RelatedElements"), ifc::Value(ifc::List{beam, assembly}));
  EXPECT_EQ(contained[0].get("RelatingStructure").asEntity(), storey);
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
}

TEST_P(Storeys, FloorWithoutAFiniteElevationIsAnErrorNamingIt) {
  EXPECT_THROW(
      {
        try {
          static_cast<void>(
              Verdamo::createFloorObj(ctx, {}, StoreyFloor{db::Value(), 3000.0, 7, "", 1}));
        } catch (const std::runtime_error& e) {
          EXPECT_NE(std::string(e.what()).find("floor 7"), std::string::npos) << e.what();
          throw;
        }
      },
      std::runtime_error);
  EXPECT_THROW(static_cast<void>(Verdamo::createFloorObj(
                   ctx, {}, StoreyFloor{0.0, std::numeric_limits<double>::infinity(), 7, "", 1})),
               std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, Storeys, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
