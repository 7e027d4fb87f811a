#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "db/database.h"
#include "driver/exclusions.h"
#include "driver/verdamo.h"
#include "ifc/model.h"
#include "modeldb/modeldb.h"
#include "queries/beam.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "test_support.h"

namespace {

using driver_test::readText;
using modeldb::ModelDb;
using modeldb::Value;

struct Storey {
  std::string name;
  std::string description;
  double elevation;
  ifc::Value height;    // property "Height"
  ifc::Value stdFlrNo;  // property "StdFlrNo"
};

class Conversion : public driver_test::ScratchDir {
 protected:
  // Writes the model database, converts it, reads the IFC file back and checks it against
  // its schema. Returns what the run printed.
  std::string convert(const ModelDb& m, bool mt = false) {
    m.write(input());
    ::testing::internal::CaptureStdout();
    try {
      Verdamo::Create(input(), output(), mt);
    } catch (...) {
      static_cast<void>(::testing::internal::GetCapturedStdout());
      throw;
    }
    const std::string printed = ::testing::internal::GetCapturedStdout();
    model = ifc::Model::readFile(output());
    EXPECT_EQ(model->validate(), std::vector<std::string>{});
    return printed;
  }

  std::filesystem::path input() const { return dir / "model.sdb"; }
  std::filesystem::path output() const { return dir / "model.ifc"; }

  // The storeys in the building's order, with their properties.
  std::vector<Storey> storeys() const {
    std::vector<Storey> out;
    for (const ifc::Entity& rel : model->by_type("IfcRelAggregates")) {
      if (rel.get("Name").asString() != "buildingLinke") continue;
      const ifc::Value related = rel.get("RelatedObjects");
      for (const ifc::Value& v : related.asList()) {
        const ifc::Entity s = v.asEntity();
        Storey storey{s.get("Name").asString(),
                      s.get("Description").asString(),
                      s.get("Elevation").asDouble(),
                      {},
                      {}};
        const ifc::Entity pset =
            s.inverse("IsDefinedBy").at(0).get("RelatingPropertyDefinition").asEntity();
        const ifc::Value properties = pset.get("HasProperties");
        for (const ifc::Value& p : properties.asList()) {
          const std::string name = p.asEntity().get("Name").asString();
          if (name == "Height") storey.height = p.asEntity().get("NominalValue");
          if (name == "StdFlrNo") storey.stdFlrNo = p.asEntity().get("NominalValue");
        }
        out.push_back(storey);
      }
    }
    return out;
  }

  std::unique_ptr<ifc::Model> model;
};

std::vector<std::string> namesOf(const std::vector<Storey>& storeys) {
  std::vector<std::string> names;
  for (const Storey& s : storeys) names.push_back(s.name);
  return names;
}

TEST_F(Conversion, FloorsOfTheStandardHeightAndOfOtherHeightsEachGetAStorey) {
  ModelDb m;
  const Value sf = m.add(modeldb::StdFloor{.no = 1, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .name = "1F", .levelB = 0, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 2, .name = "", .levelB = 3000, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 3, .name = "3F", .levelB = 6000, .height = 3600.0});
  // A column as high as its storey: floors of another height get their own, rebuilt.
  m.add(modeldb::ColSeg{.stdFlr = sf, .jt = m.joint(sf, 0, 0), .sect = m.add(modeldb::ColSect{})});
  const std::string printed = convert(m);
  EXPECT_EQ(printed, "");

  const std::vector<Storey> s = storeys();
  ASSERT_EQ(s.size(), 3U);
  EXPECT_EQ(namesOf(s), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(s[0].description, "1F");
  EXPECT_EQ(s[1].description, "Floor_2");
  EXPECT_EQ(s[2].elevation, 6000.0);
  EXPECT_EQ(s[1].height, ifc::Value::typed("IfcLengthMeasure", 3000.0));
  EXPECT_EQ(s[2].height, ifc::Value::typed("IfcLengthMeasure", 3600.0));
  EXPECT_EQ(s[2].stdFlrNo, ifc::Value::typed("IfcLabel", "1"));
  EXPECT_EQ(model->by_type("IfcBuildingStorey").size(), 3U);
  // The third storey's column is swept through its own 3600, not the standard floor's 3000.
  std::vector<double> depths;
  for (const ifc::Entity& solid : model->by_type("IfcExtrudedAreaSolid")) {
    depths.push_back(solid.get("Depth").asDouble());
  }
  EXPECT_EQ(depths, (std::vector<double>{3000, 3600}));
}

TEST_F(Conversion, StandardFloorWithoutFloorsOfItsHeightIsReportedAndItsFloorsStillPlaced) {
  ModelDb m;
  const Value lonely = m.add(modeldb::StdFloor{.id = 5, .no = 2, .height = 3000});
  const Value unused = m.add(modeldb::StdFloor{.id = 6, .no = 3, .height = 3000});
  static_cast<void>(unused);
  m.add(modeldb::Floor{.stdFlr = lonely, .no = 1, .levelB = 0, .height = 3300});
  m.add(modeldb::Floor{.stdFlr = lonely, .no = 2, .levelB = 3300, .height = 3600});
  const std::string printed = convert(m);
  // Only the standard floor whose floors are all of other heights is named (by its id).
  EXPECT_EQ(printed, "标准层5与其对应的实际楼层层高均不一致！\n");
  const std::vector<Storey> s = storeys();
  ASSERT_EQ(s.size(), 2U);
  EXPECT_EQ(s[0].height, ifc::Value::typed("IfcLengthMeasure", 3300.0));
  EXPECT_EQ(s[1].elevation, 3300.0);
  EXPECT_EQ(s[1].stdFlrNo, ifc::Value::typed("IfcLabel", "2"));
}

TEST_F(Conversion, FloorOfAMissingStandardFloorIsReportedAndStaysInTheFloorList) {
  ModelDb m;
  const Value sf = m.add(modeldb::StdFloor{.id = 1, .no = 1, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .levelB = 0, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = 9, .no = 2, .levelB = 3000, .height = 3000});
  const std::string printed = convert(m);
  EXPECT_EQ(printed, "实际楼层2对应的标准层9不存在，未生成楼层！\n");
  EXPECT_EQ(namesOf(storeys()), (std::vector<std::string>{"1"}));
  EXPECT_NE(readText(dir / "model.ifc.json").find("\"No\": 2"), std::string::npos);
}

TEST_F(Conversion, ModelWithoutFloorsHasNoStoreysButAValidSpatialStructure) {
  ModelDb m;
  m.add(modeldb::StdFloor{.height = 3000});
  convert(m);
  EXPECT_TRUE(model->by_type("IfcBuildingStorey").empty());
  EXPECT_EQ(model->by_type("IfcBuilding").size(), 1U);
  EXPECT_EQ(readText(dir / "model.ifc.json"), "[]");
}

TEST_F(Conversion, StoreysAreOrderedByTheValueOfTheFloorNumber) {
  ModelDb m;
  const Value upper = m.add(modeldb::StdFloor{.no = 1, .height = 3000});
  const Value lower = m.add(modeldb::StdFloor{.no = 2, .height = 3000});
  m.add(modeldb::Floor{.stdFlr = upper, .no = 10, .levelB = 27000});
  m.add(modeldb::Floor{.stdFlr = upper, .no = 2.5, .levelB = 4500});
  m.add(modeldb::Floor{.stdFlr = upper, .no = "4", .levelB = 9000});
  m.add(modeldb::Floor{.id = 7, .stdFlr = lower, .no = 2, .levelB = 3000});
  m.add(modeldb::Floor{.stdFlr = lower, .no = 1, .levelB = 0});
  m.add(modeldb::Floor{.id = 9, .stdFlr = lower, .no = 3, .levelB = 6000});
  m.write(input());
  // A floor without a number goes last instead of ending the run.
  ModelDb::exec(input(), "UPDATE tblFloor SET No = NULL WHERE ID = 9");
  ::testing::internal::CaptureStdout();
  Verdamo::Create(input(), output());
  static_cast<void>(::testing::internal::GetCapturedStdout());
  model = ifc::Model::readFile(output());
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
  EXPECT_EQ(namesOf(storeys()), (std::vector<std::string>{"1", "2", "2.5", "4", "10", "None"}));
}

TEST_F(Conversion, FloorListIsWrittenBesideTheOutputExactly) {
  ModelDb m;
  const Value sf = m.add(modeldb::StdFloor{.no = 1, .height = 3600.0});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .name = "首层", .levelB = 0.0, .height = 3600.0});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 2, .name = "2F", .levelB = 3600, .height = 3600});
  convert(m);
  EXPECT_EQ(
      readText(dir / "model.ifc.json"),
      R"([{"Name": "\u9996\u5c42", "No": 1, "Elevation": 0.0, "Height": 3600.0, "StdFlrNo": 1}, )"
      R"({"Name": "2F", "No": 2, "Elevation": 3600, "Height": 3600, "StdFlrNo": 1}])");
}

TEST_F(Conversion, HeaderNamesTheFileAndTheSchemaChosenBySections) {
  ModelDb plain;
  plain.add(modeldb::StdFloor{.height = 3000});
  convert(plain);
  std::string text = readText(output());
  EXPECT_NE(text.find("\nFILE_NAME('model.ifc','"), std::string::npos);
  EXPECT_NE(text.find("\nFILE_SCHEMA(('IFC2X3'));\n"), std::string::npos);
  EXPECT_NE(text.find("IFCAPPLICATION(#2,'$version','Brelonix','118df2cf_ed21_438e_a41');"),
            std::string::npos);

  ModelDb tapered;
  tapered.add(modeldb::StdFloor{.height = 3000});
  tapered.add(modeldb::BeamSect{.kind = 21, .shapeVal = "21,300,600,300,400"});
  convert(tapered);
  text = readText(output());
  EXPECT_NE(text.find("\nFILE_SCHEMA(('IFC4'));\n"), std::string::npos);
  EXPECT_EQ(model->schemaName(), "IFC4");
}

TEST_F(Conversion, SpatialStructureLinksProjectSiteBuildingAndStoreys) {
  ModelDb m;
  const Value sf = m.add(modeldb::StdFloor{.height = 3000});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 1});
  convert(m);
  const ifc::Entity building = model->by_type("IfcBuilding").at(0);
  const ifc::Entity site = model->by_type("IfcSite").at(0);
  const ifc::Entity project = model->by_type("IfcProject").at(0);
  EXPECT_EQ(building.get("Name").asString(), "Building");
  EXPECT_EQ(building.get("CompositionType").asEnum(), "ELEMENT");
  EXPECT_EQ(site.get("CompositionType").asEnum(), "ELEMENT");
  EXPECT_TRUE(building.get("ObjectPlacement").isUnset());
  EXPECT_EQ(site.inverse("IsDecomposedBy").at(0).get("Name").asString(), "siteLink");
  EXPECT_EQ(project.inverse("IsDecomposedBy").at(0).get("Name").asString(), "projectLink");
  EXPECT_EQ(project.get("RepresentationContexts").asList().size(), 2U);
  EXPECT_EQ(project.get("UnitsInContext").asEntity().id(), 19U);
}

TEST_F(Conversion, ExcludedMembersAreDroppedByTheirIds) {
  ModelDb m;
  const Value sf = m.add(modeldb::StdFloor{.height = 3000});
  const Value a = m.joint(sf, 0, 0), b = m.joint(sf, 6000, 0), c = m.joint(sf, 6000, 6000),
              d = m.joint(sf, 0, 6000);
  const Value ab = m.line(a, b), bc = m.line(b, c), cd = m.line(c, d), da = m.line(d, a);
  const Value sect = m.add(modeldb::BeamSect{});
  const Value kept = m.add(modeldb::BeamSeg{.stdFlr = sf, .grid = ab, .sect = sect});
  const Value dropped = m.add(modeldb::BeamSeg{.stdFlr = sf, .grid = cd, .sect = sect});
  const Value slab1 = m.add(modeldb::Slab{.stdFlr = sf, .grids = {ab, bc, cd, da}});
  const Value slab2 = m.add(modeldb::Slab{.stdFlr = sf, .grids = {ab, bc, cd, da}});
  m.exclude(dropped);
  m.exclude(slab1);
  m.write(input());

  const db::Database conn = db::Database::openReadOnly(input());
  const auto excludeIds = Property::getExcludeIds(conn);
  const auto beams = Verdamo::ExcludeNoIFC(Beam::getBeams(conn), excludeIds,
                                           [](const auto& r) { return r.beamId; });
  ASSERT_EQ(beams.size(), 1U);
  EXPECT_EQ(beams[0].beamId, kept);
  const auto slabs =
      Verdamo::ExcludeNoIFC(Slab::getSlabs(conn), excludeIds, [](const auto& r) { return r.id; });
  ASSERT_EQ(slabs.size(), 1U);
  EXPECT_EQ(slabs[0].id, slab2);
}

TEST_F(Conversion, ThreadedModeIsAnnouncedWhenAskedForOrForALargeInput) {
  ModelDb m;
  m.add(modeldb::StdFloor{.height = 3000});
  EXPECT_EQ(convert(m, true), "use multithread\n");
  EXPECT_EQ(convert(m, false), "");

  m.write(input());
  ModelDb::exec(input(),
                "CREATE TABLE padding(x); INSERT INTO padding VALUES (zeroblob(20971520))");
  ASSERT_GT(std::filesystem::file_size(input()), Verdamo::multithreadSize);
  ::testing::internal::CaptureStdout();
  Verdamo::Create(input(), output());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "use multithread\n");
}

TEST_F(Conversion, FaultsOfTheRunNameWhatFailedAndWriteNoIfcFile) {
  EXPECT_THROW(
      {
        try {
          Verdamo::Create(dir / "missing.sdb", output());
        } catch (const std::exception& e) {
          EXPECT_NE(std::string(e.what()).find("missing.sdb"), std::string::npos) << e.what();
          throw;
        }
      },
      Verdamo::RunError);

  ModelDb noFloors;
  noFloors.add(modeldb::StdFloor{.height = 3000});
  noFloors.omitTable("tblFloor");
  noFloors.write(input());
  try {
    Verdamo::Create(input(), output());
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("tblFloor"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(output()));

  ModelDb fine;
  fine.add(modeldb::StdFloor{.height = 3000});
  fine.write(input());
  EXPECT_THROW(Verdamo::Create(input(), dir / "no-such-folder" / "model.ifc"), std::exception);
}

}  // namespace
