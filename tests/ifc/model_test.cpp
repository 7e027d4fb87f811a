#include "ifc/model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "ifc/guid.h"
#include "template_text.h"

namespace {

using ifc::Entity;
using ifc::List;
using ifc::Value;

class ModelTest : public ::testing::TestWithParam<const char*> {
 protected:
  std::unique_ptr<ifc::Model> model = ifc::Model::parse(ifc_test::templateText(GetParam()));
  Entity owner = model->entity(5);

  Entity point(double x, double y, double z) {
    return model->create("IfcCartesianPoint", {List{x, y, z}});
  }
  Entity beam(const std::string& name) {
    return model->create("IfcBeam", {ifc::createGuid(), owner, name});
  }
  Entity rel(const char* type, Value a, Value b) {
    return model->create(type,
                         {ifc::createGuid(), owner, Value(), Value(), std::move(a), std::move(b)});
  }
};

// Expects a SchemaError whose message names all the given parts.
template <typename F>
void expectSchemaError(F&& f, std::initializer_list<std::string_view> parts) {
  try {
    f();
    ADD_FAILURE() << "no SchemaError";
  } catch (const ifc::SchemaError& e) {
    for (std::string_view p : parts)
      EXPECT_NE(std::string(e.what()).find(p), std::string::npos) << e.what();
  }
}

TEST_P(ModelTest, CreatesEntitiesNumberedAfterTheTemplateAndReadsTheirAttributesBack) {
  const Entity p = model->create("IFCCARTESIANPOINT", {List{0.0, 1.5}});
  const Entity placement = model->create("IfcAxis2Placement2D", {p});
  const Entity profile =
      model->create("IfcRectangleProfileDef", {"AREA", "Rec_300*500", placement, 300, 500.0});
  EXPECT_EQ(p.id(), 22u);
  EXPECT_EQ(profile.id(), 24u);
  EXPECT_EQ(model->size(), 23u);
  EXPECT_EQ(p.type(), "IfcCartesianPoint");
  EXPECT_TRUE(profile.is_a("IfcProfileDef"));
  EXPECT_TRUE(profile.is_a("IFCRECTANGLEPROFILEDEF"));
  EXPECT_FALSE(profile.is_a("IfcCartesianPoint"));
  EXPECT_EQ(profile.get("ProfileType").asEnum(), "AREA");
  EXPECT_EQ(profile.get("ProfileName").asString(), "Rec_300*500");
  EXPECT_EQ(profile.get("Position").asEntity(), placement);
  // An integer given for a REAL is stored as a REAL.
  EXPECT_EQ(profile.get("XDim").kind(), Value::Kind::Real);
  EXPECT_EQ(profile.get(4).asDouble(), 500.0);
  EXPECT_EQ(p.get("Coordinates"), Value(List{0.0, 1.5}));
  EXPECT_TRUE(placement.get("RefDirection").isUnset());
  EXPECT_EQ(model->entity(13).get("Dimensions").kind(), Value::Kind::Derived);
  EXPECT_THROW((void)p.get("Nothing"), ifc::Error);
  EXPECT_THROW((void)model->entity(11), ifc::Error);
}

TEST_P(ModelTest, RefusesCreationsTheSchemaForbidsNamingTypeAttributeAndValue) {
  const Entity p = point(0, 0, 0);
  const Entity placement = model->create("IfcAxis2Placement3D", {p});
  expectSchemaError(
      [&] {
        model->create("IfcCartesianPoint", {List{0.0}, 1});
      },
      {"IfcCartesianPoint", "takes 1 attributes, 2 given"});
  expectSchemaError([&] { model->create("IfcRectangleProfileDef", {"AREAS"}); },
                    {"IfcRectangleProfileDef.ProfileType", "'AREAS'", "IfcProfileTypeEnum"});
  expectSchemaError(
      [&] { model->create("IfcAxis2Placement3D", {placement}); },
      {"IfcAxis2Placement3D.Location", "#" + std::to_string(placement.id()), "IfcCartesianPoint"});
  expectSchemaError(
      [&] {
        model->create("IfcCartesianPoint", {List{"1", 2.0}});
      },
      {"IfcCartesianPoint.Coordinates", "'1'"});
  expectSchemaError(
      [&] {
        model->create("IfcPolyline", {List{p, placement}});
      },
      {"IfcPolyline.Points", "IfcAxis2Placement3D"});
  expectSchemaError(
      [&] {
        model->create("IfcPropertySingleValue", {"N", Value(), "3"});
      },
      {"IfcPropertySingleValue.NominalValue", "typed value"});
  expectSchemaError(
      [&] {
        model->create("IfcPropertySingleValue",
                      {"N", Value(), Value::typed("IfcBeamTypeEnum", "BEAM")});
      },
      {"IfcPropertySingleValue.NominalValue", "not a member"});
  expectSchemaError([&] { model->create("IfcProduct", {}); }, {"IfcProduct", "abstract"});
  expectSchemaError([&] { model->create("IfcNoSuchThing", {}); }, {"IfcNoSuchThing"});
  expectSchemaError([&] { point(std::numeric_limits<double>::quiet_NaN(), 0, 0); },
                    {"IfcCartesianPoint.Coordinates", "finite"});
  expectSchemaError([&] { beam("\xff\xfe"); }, {"IfcBeam.Name", "UTF-8"});
  expectSchemaError(
      [&] {
        model->create("IfcSIUnit", {1, "LENGTHUNIT", Value(), "METRE"});
      },
      {"IfcSIUnit.Dimensions", "derived"});
  expectSchemaError([&] { model->create("IfcBeam", {ifc::Derived{}}); }, {"IfcBeam.GlobalId", "*"});
  ifc::Model other(GetParam());
  const Entity foreign = other.create("IfcCartesianPoint", {List{0.0, 0.0}});
  expectSchemaError([&] { model->create("IfcAxis2Placement2D", {Entity()}); },
                    {"IfcAxis2Placement2D.Location", "empty entity handle"});
  expectSchemaError([&] { model->create("IfcAxis2Placement2D", {foreign}); },
                    {"IfcAxis2Placement2D.Location", "another model"});
  EXPECT_EQ(model->size(), 22u) << "refused creations leave no entity behind";
}

TEST_P(ModelTest, SetChecksLikeCreateAndKeepsTheOldValueOnRefusal) {
  const Entity b = beam("B1");
  b.set("Name", Value("B2"));
  b.set(3, Value("description"));
  EXPECT_EQ(b.get("Name").asString(), "B2");
  EXPECT_EQ(b.get("Description").asString(), "description");
  expectSchemaError([&] { b.set("Name", Value(3.0)); }, {"IfcBeam.Name", "3."});
  expectSchemaError([&] { b.set("ObjectPlacement", Value(point(0, 0, 0))); },
                    {"IfcBeam.ObjectPlacement", "IfcCartesianPoint"});
  EXPECT_THROW(b.set(40, Value()), ifc::SchemaError);
  EXPECT_THROW(b.set("Nothing", Value()), ifc::Error);
  EXPECT_EQ(b.get("Name").asString(), "B2");
  b.set("Name", Value());
  EXPECT_TRUE(b.get("Name").isUnset());
}

TEST_P(ModelTest, TypedValuesInSelectsComeBackWithTheirCanonicalTypeName) {
  const Entity label =
      model->create("IfcPropertySingleValue", {"Floor", Value(), Value::typed("IFCLABEL", "3")});
  const Entity length = model->create("IfcPropertySingleValue",
                                      {"Height", Value(), Value::typed("IfcLengthMeasure", 3600)});
  EXPECT_EQ(label.get("NominalValue").typeName(), "IfcLabel");
  EXPECT_EQ(label.get("NominalValue").inner().asString(), "3");
  EXPECT_EQ(length.get("NominalValue").typeName(), "IfcLengthMeasure");
  EXPECT_EQ(length.get("NominalValue").inner().kind(), Value::Kind::Real);
  const Value angle = model->entity(17).get("ValueComponent");
  EXPECT_EQ(angle.typeName(), "IfcPlaneAngleMeasure");
  EXPECT_DOUBLE_EQ(angle.inner().asDouble(), 0.017453292519943295);
}

TEST_P(ModelTest, TypedValuesAreRefusedOutsideSelects) {
  expectSchemaError(
      [&] {
        model->create("IfcBeam", {ifc::createGuid(), owner, Value::typed("IfcLabel", "B")});
      },
      {"IfcBeam.Name", "IfcLabel('B')", "only for select"});
  expectSchemaError(
      [&] {
        model->create("IfcCartesianPoint", {List{1.0, Value::typed("IfcLengthMeasure", 2.0)}});
      },
      {"IfcCartesianPoint.Coordinates", "only for select"});
  // A select member whose type is an aggregate keeps its name and its elements.
  const Entity complex = model->create(
      "IfcPropertySingleValue", {"C", Value(), Value::typed("IfcComplexNumber", List{1.0, 2.0})});
  EXPECT_EQ(complex.get("NominalValue"), Value::typed("IfcComplexNumber", List{1.0, 2.0}));
  EXPECT_NE(model->toString().find("IFCCOMPLEXNUMBER((1.,2.))"), std::string::npos);
}

TEST_P(ModelTest, ValidateCountsArrayElementsExactlyAndFindsRepeatsInSets) {
  const Entity b = beam("B");
  const Entity storey = model->create(
      "IfcBuildingStorey",
      {ifc::createGuid(), owner, "1", Value(), Value(), Value(), Value(), Value(), "ELEMENT"});
  const Entity twice = rel("IfcRelAggregates", storey, List{b, beam("C"), b});
  const Entity half = model->create("IfcPropertySingleValue",
                                    {"C", Value(), Value::typed("IfcComplexNumber", List{1.0})});
  const std::vector<std::string> problems = model->validate();
  ASSERT_EQ(problems.size(), 2u) << ::testing::PrintToString(problems);
  EXPECT_EQ(problems[0], "#" + std::to_string(twice.id()) +
                             " IfcRelAggregates.RelatedObjects: SET holds #" +
                             std::to_string(b.id()) + " more than once");
  EXPECT_EQ(problems[1], "#" + std::to_string(half.id()) +
                             " IfcPropertySingleValue.NominalValue: aggregate of 1 elements "
                             "outside the bounds of ARRAY [1:2]");
}

TEST_P(ModelTest, BooleansLogicalsAndSelectsInsideAggregatesAreCheckedAndWritten) {
  const Entity p1 = point(0, 0, 0), p2 = point(1000, 0, 0);
  const Entity line = model->create("IfcPolyline", {List{p1, p2}});
  const Entity segment = model->create("IfcCompositeCurveSegment", {"CONTINUOUS", true, line});
  const Entity curve = model->create("IfcCompositeCurve", {List{segment}, ifc::Logical::Unknown});
  const Entity trimmed = model->create(
      "IfcTrimmedCurve",
      {line, List{Value::typed("IfcParameterValue", 0)}, List{p2}, false, "PARAMETER"});
  const std::string text = model->toString();
  for (const std::string& expected :
       {"=IFCCOMPOSITECURVESEGMENT(.CONTINUOUS.,.T.,#" + std::to_string(line.id()) + ");",
        "=IFCCOMPOSITECURVE((#" + std::to_string(segment.id()) + "),.U.);",
        "=IFCTRIMMEDCURVE(#" + std::to_string(line.id()) + ",(IFCPARAMETERVALUE(0.)),(#" +
            std::to_string(p2.id()) + "),.F.,.PARAMETER.);"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(curve.get("SelfIntersect").asLogical(), ifc::Logical::Unknown);
  EXPECT_FALSE(trimmed.get("SenseAgreement").asBool());
  expectSchemaError(
      [&] {
        model->create("IfcCompositeCurveSegment", {"CONTINUOUS", ifc::Logical::Unknown, line});
      },
      {"IfcCompositeCurveSegment.SameSense", ".U."});
  expectSchemaError([&] { trimmed.set("Trim1", Value(List{Value::typed("IfcLabel", "x")})); },
                    {"IfcTrimmedCurve.Trim1", "IfcLabel('x')", "IfcTrimmingSelect"});
  expectSchemaError([&] { trimmed.set("Trim2", Value(List{line})); },
                    {"IfcTrimmedCurve.Trim2", "IfcPolyline"});
}

TEST_P(ModelTest, ByTypeIncludesSubtypesInNumberOrder) {
  const Entity b = beam("B");
  const Entity c = model->create("IfcColumn", {ifc::createGuid(), owner, "C"});
  point(1, 2, 3);
  const std::vector<Entity> products = model->by_type("IfcProduct");
  EXPECT_EQ(products, (std::vector<Entity>{b, c}));
  EXPECT_EQ(model->by_type("ifcbeam"), std::vector<Entity>{b});
  EXPECT_EQ(model->by_type("IfcGeometricRepresentationContext"),
            (std::vector<Entity>{model->entity(20), model->entity(21)}));
  EXPECT_EQ(model->by_type("IfcCartesianPoint").size(), 2u);
  EXPECT_TRUE(model->by_type("IfcWall").empty());
  EXPECT_THROW((void)model->by_type("IfcNoSuchThing"), ifc::Error);
}

TEST_P(ModelTest, InverseAttributesFollowTheForwardReferences) {
  const Entity storey = model->create("IfcBuildingStorey", {ifc::createGuid(), owner, "1"});
  const Entity wall = model->create("IfcWall", {ifc::createGuid(), owner, "W"});
  const Entity opening = model->create("IfcOpeningElement", {ifc::createGuid(), owner, "O"});
  EXPECT_TRUE(storey.inverse("IsDecomposedBy").empty());

  const Entity agg = rel("IfcRelAggregates", storey, List{wall});
  const Entity contained =
      model->create("IfcRelContainedInSpatialStructure",
                    {ifc::createGuid(), owner, Value(), Value(), List{wall, opening}, storey});
  const Entity voids = rel("IfcRelVoidsElement", wall, opening);
  const Entity pset = model->create(
      "IfcPropertySet", {ifc::createGuid(), owner, "P", Value(),
                         List{model->create("IfcPropertySingleValue",
                                            {"A", Value(), Value::typed("IfcLabel", "x")})}});
  const Entity defines = rel("IfcRelDefinesByProperties", List{wall}, pset);

  EXPECT_EQ(storey.inverse("IsDecomposedBy"), std::vector<Entity>{agg});
  EXPECT_EQ(wall.inverse("ContainedInStructure"), std::vector<Entity>{contained});
  EXPECT_EQ(opening.inverse("ContainedInStructure"), std::vector<Entity>{contained});
  EXPECT_EQ(wall.inverse("HasOpenings"), std::vector<Entity>{voids});
  EXPECT_EQ(opening.inverse("VoidsElements"), std::vector<Entity>{voids});
  EXPECT_EQ(wall.inverse("IsDefinedBy"), std::vector<Entity>{defines});
  EXPECT_TRUE(wall.inverse("IsDecomposedBy").empty()) << "RelatedObjects is not RelatingObject";

  // Changes after the index was first used are seen: a new relation and a changed attribute.
  const Entity agg2 = rel("IfcRelAggregates", storey, List{opening});
  EXPECT_EQ(storey.inverse("IsDecomposedBy"), (std::vector<Entity>{agg, agg2}));
  agg.set("RelatingObject", Value(wall));
  EXPECT_EQ(storey.inverse("IsDecomposedBy"), std::vector<Entity>{agg2});
  EXPECT_EQ(wall.inverse("IsDecomposedBy"), std::vector<Entity>{agg});
  EXPECT_THROW((void)wall.inverse("NoSuchInverse"), ifc::Error);
}

TEST_P(ModelTest, ValidateAcceptsACompleteModelAndReportsEachProblem) {
  const Entity b = beam("B");
  rel("IfcRelAggregates",
      model->create("IfcBuildingStorey", {ifc::createGuid(), owner, "1", Value(), Value(), Value(),
                                          Value(), Value(), "ELEMENT"}),
      List{b});
  EXPECT_EQ(model->validate(), std::vector<std::string>{});

  const Entity noGuid = model->create("IfcColumn", {Value(), owner, "C"});
  const Entity badGuid = model->create("IfcColumn", {"not-a-guid", owner, "C"});
  const std::string guid = ifc::createGuid();
  model->create("IfcColumn", {guid, owner, "C1"});
  const Entity twin = model->create("IfcColumn", {guid, owner, "C2"});
  const Entity line = model->create("IfcPolyline", {List{point(0, 0, 0)}});
  const std::vector<std::string> problems = model->validate();
  ASSERT_EQ(problems.size(), 4u) << ::testing::PrintToString(problems);
  EXPECT_EQ(problems[0], "#" + std::to_string(noGuid.id()) +
                             " IfcColumn.GlobalId: mandatory attribute is unset");
  EXPECT_NE(problems[1].find("#" + std::to_string(badGuid.id()) +
                             " IfcColumn.GlobalId: 'not-a-guid' is not a well-formed"),
            std::string::npos);
  EXPECT_NE(problems[2].find("#" + std::to_string(twin.id()) + " IfcColumn.GlobalId"),
            std::string::npos);
  EXPECT_NE(problems[2].find("also used by"), std::string::npos);
  EXPECT_NE(
      problems[3].find("#" + std::to_string(line.id()) +
                       " IfcPolyline.Points: aggregate of 1 elements outside the bounds [2:?]"),
      std::string::npos);
}

TEST_P(ModelTest, ThreadsCreateAndSetAtOnceWithUniqueNumbersAndGlobalIds) {
  const Entity storey = model->create(
      "IfcBuildingStorey",
      {ifc::createGuid(), owner, "1", Value(), Value(), Value(), Value(), Value(), "ELEMENT"});
  constexpr int kThreads = 8, kPerThread = 400;
  std::vector<std::vector<std::uint32_t>> ids(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      List beams;
      for (int i = 0; i < kPerThread; ++i) {
        const Entity p = point(t, i, 0);
        const Entity placement = model->create(
            "IfcLocalPlacement", {Value(), model->create("IfcAxis2Placement3D", {p})});
        const Entity b = beam("B");
        b.set("ObjectPlacement", Value(placement));
        b.set("Name", Value("B_" + std::to_string(t) + "_" + std::to_string(i)));
        ids[static_cast<std::size_t>(t)].insert(ids[static_cast<std::size_t>(t)].end(),
                                                {p.id(), placement.id(), b.id()});
        beams.emplace_back(b);
        if (i % 50 == 0) (void)storey.inverse("ContainsElements");
      }
      model->create("IfcRelContainedInSpatialStructure",
                    {ifc::createGuid(), owner, Value(), Value(), std::move(beams), storey});
    });
  }
  for (std::thread& th : threads) th.join();
  std::set<std::uint32_t> all;
  for (const auto& v : ids) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(),
            std::size_t{kThreads} * kPerThread * 4 - std::size_t{kThreads} * kPerThread);
  EXPECT_EQ(model->by_type("IfcBeam").size(), std::size_t{kThreads} * kPerThread);
  EXPECT_EQ(storey.inverse("ContainsElements").size(), std::size_t{kThreads});
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
  const Entity last = model->by_type("IfcBeam").back();
  EXPECT_TRUE(last.get("ObjectPlacement").asEntity().is_a("IfcLocalPlacement"));
}

// Tasks that make entities and share groups the way the member builders share cached
// profiles: task t makes a point per step and, at some steps, uses group g, which the first
// thread to reach it builds (a polyline of two new points).
struct Task {
  std::vector<int> groupsUsed;  // -1: a plain point at that step
};

std::string buildTasks(const char* schema, const std::vector<Task>& tasks, bool threaded) {
  auto model = ifc::Model::parse(ifc_test::templateText(schema));
  std::mutex groupsMutex;
  std::map<int, std::pair<std::uint32_t, bool>> groups;  // g -> (group, built)
  auto run = [&](std::size_t t) {
    for (std::size_t step = 0; step < tasks[t].groupsUsed.size(); ++step) {
      const int g = tasks[t].groupsUsed[step];
      if (g < 0) {
        model->create("IfcCartesianPoint", {List{double(t), double(step), 0.0}});
        continue;
      }
      const ifc::WritePosition at = model->takePosition();
      std::scoped_lock lock(groupsMutex);  // a test: one lock is enough
      auto& [group, built] = groups[g];
      if (!built) {
        group = model->createGroup();
        const ifc::Model::GroupScope scope(*model, group);
        const Entity a = model->create("IfcCartesianPoint", {List{double(g), 0.0}});
        const Entity b = model->create("IfcCartesianPoint", {List{double(g), 1.0}});
        model->create("IfcPolyline", {List{a, b}});
        built = true;
      }
      model->placeGroup(group, at);
    }
  };
  model->create("IfcCartesianPoint", {List{-1.0, -1.0, -1.0}});
  if (threaded) {
    const std::uint32_t first = model->reserveSlots(static_cast<std::uint32_t>(tasks.size()));
    std::vector<std::thread> threads;
    // Started last task first, so that later tasks tend to build the shared groups.
    for (std::size_t t = tasks.size(); t-- > 0;) {
      threads.emplace_back([&, t] {
        const ifc::Model::SlotScope scope(*model, first + static_cast<std::uint32_t>(t));
        run(t);
      });
    }
    for (std::thread& th : threads) th.join();
  } else {
    for (std::size_t t = 0; t < tasks.size(); ++t) run(t);
  }
  model->create("IfcCartesianPoint", {List{-2.0, -2.0, -2.0}});
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
  return model->toString();
}

TEST_P(ModelTest, TasksInReservedSlotsAreWrittenAsOneThreadRunningThemInOrderWritesThem) {
  const std::vector<Task> tasks = {
      {{-1, 0, -1, 1}}, {{1, -1, 2}}, {{}}, {{2, 2, -1, 0}}, {{3, -1, -1}}, {{-1, 3, 1, 4}},
  };
  const std::string sequential = buildTasks(GetParam(), tasks, false);
  for (int attempt = 0; attempt < 20; ++attempt) {
    ASSERT_EQ(buildTasks(GetParam(), tasks, true), sequential) << "attempt " << attempt;
  }
  // Group 0 is written at its first use, in task 0 after its first point, numbered on.
  EXPECT_NE(sequential.find("#23=IFCCARTESIANPOINT((0.,0.,0.));\n#24=IFCCARTESIANPOINT((0.,0.));\n"
                            "#25=IFCCARTESIANPOINT((0.,1.));\n#26=IFCPOLYLINE((#24,#25));\n"
                            "#27=IFCCARTESIANPOINT((0.,2.,0.));"),
            std::string::npos)
      << sequential;
}

TEST_P(ModelTest, SlotsAreWrittenInOrderWhetherFewOrFarMoreThanTheRecords) {
  for (const std::uint32_t reserved : {4U, 100000U}) {
    auto m = ifc::Model::parse(ifc_test::templateText(GetParam()));
    const std::uint32_t first = m->reserveSlots(reserved);
    auto pointIn = [&](std::uint32_t slot, double x) {
      const ifc::Model::SlotScope scope(*m, first + slot);
      m->create("IfcCartesianPoint", {List{x, 0.0}});
    };
    pointIn(reserved - 1, 3.0);
    pointIn(1, 2.0);
    pointIn(0, 1.0);
    m->create("IfcCartesianPoint", {List{4.0, 0.0}});
    const std::string text = m->toString();
    std::vector<std::size_t> at;
    for (const char* x : {"((1.,0.))", "((2.,0.))", "((3.,0.))", "((4.,0.))"})
      at.push_back(text.find(x));
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << reserved << " slots:\n" << text;
    EXPECT_EQ(std::count(at.begin(), at.end(), std::string::npos), 0);
  }
}

TEST_P(ModelTest, TextMadeOnSeveralThreadsIsTheTextOfOne) {
  // Pieces of many entities, in creation order and, with slots and shared groups, in another
  // order (its plan made on several threads too).
  for (const bool slots : {false, true}) {
    auto m = ifc::Model::parse(ifc_test::templateText(GetParam()));
    const std::uint32_t first = m->reserveSlots(2);
    for (int k = 0; k < 40000; ++k) {
      std::optional<ifc::Model::SlotScope> scope;
      if (slots) scope.emplace(*m, first + static_cast<std::uint32_t>(1 - k % 2));
      const Entity p = m->create("IfcCartesianPoint", {List{double(k), 0.5}});
      if (slots && k % 10000 == 1) {
        // A shared group used here, at a later phase of the slot than its other entities.
        const ifc::WritePosition at = m->takePosition();
        const std::uint32_t group = m->createGroup();
        {
          const ifc::Model::GroupScope g(*m, group);
          m->create("IfcCartesianPoint", {List{double(k), 1.5}});
        }
        m->placeGroup(group, at);
      }
      m->create("IfcPolyline", {List{p, p}});
    }
    const std::string one = m->toString();
    for (const unsigned threads : {2U, 5U}) {
      std::ostringstream out;
      m->write(out, threads);
      EXPECT_TRUE(out.str() == one) << threads << " threads, slots " << slots;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, ModelTest, ::testing::Values("IFC2X3", "IFC4"),
                         [](const auto& info) { return std::string(info.param); });

TEST(Model, RefusesAnUnknownSchema) {
  EXPECT_THROW(ifc::Model("IFC5"), ifc::Error);
  EXPECT_EQ(ifc::Model("ifc4").schemaName(), "IFC4");
}

}  // namespace
