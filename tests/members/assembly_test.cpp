// GlobalIds, element assemblies and the concrete material, through the written file read back.
#include "members/assembly.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ifc/guid.h"
#include "members/solid_builders.h"
#include "run_model.h"

namespace {

using members_test::in;
using members_test::RunModel;

class Assemblies : public ::testing::TestWithParam<const char*> {
 protected:
  RunModel run{GetParam()};

  ifc::Entity part(const char* name) {
    return Utils::CreateStraightStructure(run.ctx, Utils::StructureType::Column, name,
                                          run.rectangle(400, 400), 3000.0, {0, 0, 0}, {0, 0, 1},
                                          {1, 0, 0});
  }
};

TEST_P(Assemblies, GroupThePartsInOrderUnderAnAssemblyWithoutPlacement) {
  const ifc::Entity steel = part("Column_9_1");
  const ifc::Entity concrete = part("Columm_9_2");
  const ifc::Value steelPlacement = steel.get("ObjectPlacement");
  const ifc::Entity assembly = Utils::CreateAssembly(run.ctx, "Column_9", {steel, concrete});

  const auto back = run.readBack();
  const ifc::Entity read = in(*back, assembly);
  EXPECT_EQ(read.type(), "IfcElementAssembly");
  EXPECT_EQ(read.get("Name").asString(), "Column_9");
  EXPECT_EQ(read.get("GlobalId").asString().size(), 22U);
  EXPECT_TRUE(read.get("ObjectPlacement").isUnset());
  EXPECT_TRUE(read.get("Representation").isUnset());
  EXPECT_TRUE(read.get("AssemblyPlace").isUnset());
  // Mandatory under IFC2X3, left unset under IFC4.
  if (back->schemaName() == "IFC2X3") {
    EXPECT_EQ(read.get("PredefinedType").asEnum(), "NOTDEFINED");
  } else {
    EXPECT_TRUE(read.get("PredefinedType").isUnset());
  }
  const std::vector<ifc::Entity> rels = read.inverse("IsDecomposedBy");
  ASSERT_EQ(rels.size(), 1U);
  EXPECT_EQ(rels[0].get("Name").asString(), "Assembly");
  EXPECT_TRUE(rels[0].get("Description").isUnset());
  EXPECT_EQ(rels[0].get("RelatedObjects"),
            ifc::Value(ifc::List{in(*back, steel), in(*back, concrete)}));
  EXPECT_EQ(in(*back, steel).get("ObjectPlacement").asEntity().id(),
            steelPlacement.asEntity().id());
}

TEST_P(Assemblies, EachMaterialIsANewConcreteForExactlyOneElement) {
  const ifc::Entity first = part("Beam_1");
  const ifc::Entity second = part("Beam_2");
  Utils::AddMaterial(run.ctx, first);
  Utils::AddMaterial(run.ctx, second);

  const auto back = run.readBack();
  const std::vector<ifc::Entity> materials = back->by_type("IfcMaterial");
  ASSERT_EQ(materials.size(), 2U);
  const std::vector<ifc::Entity> rels = back->by_type("IfcRelAssociatesMaterial");
  ASSERT_EQ(rels.size(), 2U);
  const ifc::Entity elements[] = {first, second};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(materials[i].get("Name").asString(), "Concrete");
    EXPECT_TRUE(rels[i].get("Name").isUnset());
    EXPECT_EQ(rels[i].get("RelatedObjects"), ifc::Value(ifc::List{in(*back, elements[i])}));
    EXPECT_EQ(rels[i].get("RelatingMaterial").asEntity(), materials[i]);
  }
}

TEST_P(Assemblies, GlobalIdsAreWellFormedAndNeverRepeat) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string id = Utils::create_guid();
    EXPECT_EQ(id.size(), 22U);
    EXPECT_NO_THROW((void)ifc::expandGuid(id));
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 1000U);
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, Assemblies, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
