#include "ifc/schema/schema.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "express_gen.h"

namespace {

namespace sc = ifc::schema;

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The EXPRESS inputs live beside the project; SDB2IFC_SCHEMA_DIR points elsewhere.
std::filesystem::path schemaDir() {
  const char* env = std::getenv("SDB2IFC_SCHEMA_DIR");
  return env != nullptr && *env != '\0' ? env : SDB2IFC_DEFAULT_SCHEMA_DIR;
}

struct Generated {
  const char* express;
  const char* table;
};

void PrintTo(const Generated& g, std::ostream* out) { *out << g.express; }

class RegeneratedSchema : public ::testing::TestWithParam<Generated> {};

TEST_P(RegeneratedSchema, MatchesTheCommittedTables) {
  const std::filesystem::path input = schemaDir() / GetParam().express;
  if (!std::filesystem::exists(input)) {
    GTEST_SKIP() << "EXPRESS input " << input
                 << " is absent (set SDB2IFC_SCHEMA_DIR to its folder)";
  }
  const std::string text = ifc_schema_gen::generate(
      readAll(input), GetParam().express,
      std::string("ifc_schema_gen ") + GetParam().express + " " + GetParam().table);
  EXPECT_TRUE(text == readAll(std::filesystem::path(SDB2IFC_GENERATED_DIR) / GetParam().table))
      << "the table generated from " << input << " differs from the committed " << GetParam().table
      << "; run the generator (cmake --build <build> --target "
      << "ifc_schema_regenerate) and commit the result";
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, RegeneratedSchema,
                         ::testing::Values(Generated{"IFC2X3_TC1.exp", "ifc2x3.cpp"},
                                           Generated{"IFC4_ADD2_TC1.exp", "ifc4.cpp"}),
                         [](const auto& info) {
                           std::string name = info.param.table;
                           return name.substr(0, name.find('.'));
                         });

std::vector<std::string> attributeNames(const sc::SchemaDef& s, const char* entity) {
  std::vector<std::string> names;
  for (const auto& a : sc::attributesOf(s, *sc::findEntity(s, entity))) names.emplace_back(a.name);
  return names;
}

TEST(SchemaTables, ListInheritedAttributesFirstWithTypesAndFlags) {
  const sc::SchemaDef& s = sc::kIfc2x3;
  EXPECT_EQ(attributeNames(s, "IfcBeam"),
            (std::vector<std::string>{"GlobalId", "OwnerHistory", "Name", "Description",
                                      "ObjectType", "ObjectPlacement", "Representation", "Tag"}));
  EXPECT_EQ(attributeNames(sc::kIfc4, "IfcBeam").back(), "PredefinedType");
  const auto beam = *sc::findEntity(s, "ifcbeam");
  EXPECT_STREQ(s.entities[static_cast<std::size_t>(s.entities[beam].supertype)].name,
               "IfcBuildingElement");
  EXPECT_TRUE(s.entities[*sc::findEntity(s, "IfcRoot")].abstract);
  EXPECT_FALSE(s.entities[beam].abstract);

  const auto unit = sc::attributesOf(s, *sc::findEntity(s, "IfcSIUnit"));
  EXPECT_TRUE(unit[0].derived) << "Dimensions is derived in IfcSIUnit";
  EXPECT_FALSE(sc::attributesOf(s, *sc::findEntity(s, "IfcNamedUnit"))[0].derived);
  EXPECT_TRUE(unit[2].optional);
  EXPECT_FALSE(unit[3].optional);

  const auto points = sc::attributesOf(s, *sc::findEntity(s, "IfcPolyline"))[0];
  const sc::TypeNode& list = s.nodes[points.node];
  EXPECT_EQ(list.kind, sc::NodeKind::List);
  EXPECT_EQ(list.lower, 2);
  EXPECT_EQ(list.upper, sc::kUnbounded);
  EXPECT_EQ(s.nodes[list.ref].kind, sc::NodeKind::Entity);

  const auto label = *sc::findNamedType(s, "IfcLabel");
  EXPECT_EQ(s.nodes[s.definedTypes[label.index].node].kind, sc::NodeKind::Simple);
}

TEST(SchemaTables, DescribeInversesEnumerationsAndSelects) {
  for (const sc::SchemaDef* s : {&sc::kIfc2x3, &sc::kIfc4}) {
    const auto beam = *sc::findEntity(*s, "IfcBeam");
    const sc::InverseDef* decomposed = nullptr;
    for (const auto& inv : sc::inversesOf(*s, beam)) {
      if (std::string_view(inv.name) == "IsDecomposedBy") decomposed = &inv;
    }
    ASSERT_NE(decomposed, nullptr) << s->name;
    EXPECT_TRUE(sc::isSubtype(*s, *sc::findEntity(*s, "IfcRelAggregates"), decomposed->entity));
    EXPECT_STREQ(sc::attributesOf(*s, decomposed->entity)[decomposed->attribute].name,
                 "RelatingObject");

    const auto profileType = *sc::findNamedType(*s, "IfcProfileTypeEnum");
    EXPECT_EQ(profileType.kind, sc::NodeKind::Enumeration);
    const auto area = sc::findItem(*s, profileType.index, "area");
    ASSERT_TRUE(area);
    EXPECT_STREQ(s->items[s->enumerations[profileType.index].firstItem + *area], "AREA");
    EXPECT_FALSE(sc::findItem(*s, profileType.index, "AREAS"));

    const sc::TypeNode& value =
        s->nodes[sc::attributesOf(*s, *sc::findEntity(*s, "IfcMeasureWithUnit"))[0].node];
    ASSERT_EQ(value.kind, sc::NodeKind::Select);
    EXPECT_TRUE(
        sc::selectAdmitsNamed(*s, value.ref, *sc::findNamedType(*s, "IfcPlaneAngleMeasure")));
    EXPECT_FALSE(sc::selectAdmitsNamed(*s, value.ref, profileType));
  }
}

TEST(SchemaGenerator, FlattensAttributesMarksDerivedOnesAndSortsByName) {
  const std::string text = ifc_schema_gen::generate(R"(
SCHEMA TINY;
TYPE TLength = REAL; END_TYPE;
TYPE TPair = LIST [2:2] OF TLength; END_TYPE;
TYPE TKind = ENUMERATION OF (ONE, TWO); END_TYPE;
TYPE TSelect = SELECT (TLength, Base); END_TYPE;
ENTITY Sub SUBTYPE OF (Base);
  Extra : OPTIONAL SET [1:?] OF TSelect;
 DERIVE
  SELF\Base.Size : TLength := 1.0;
 INVERSE
  Users : SET [0:?] OF Base FOR Link;
 WHERE
  WR1 : EXISTS(Extra);
END_ENTITY;
ENTITY Base ABSTRACT SUPERTYPE OF (Sub);
  Size : TLength; (* a comment *)
  Kind : TKind;
  Link : OPTIONAL Base;
END_ENTITY;
FUNCTION F (a : INTEGER) : INTEGER; RETURN (a); END_FUNCTION;
END_SCHEMA;
)",
                                                    "tiny.exp", "ifc_schema_gen tiny.exp tiny.cpp");
  auto has = [&](std::string_view line) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  };
  has("// Generated by tools/ifc_schema_gen from tiny.exp. Do not edit.\n"
      "// Command: ifc_schema_gen tiny.exp tiny.cpp\n");
  has("    {\"Base\", \"BASE\", -1, true, 0, 3, 0, 0},\n"
      "    {\"Sub\", \"SUB\", 0, false, 3, 4, 0, 1},\n");
  has("    // Sub\n    {\"Size\", 1, false, true},\n    {\"Kind\", 3, false, false},\n"
      "    {\"Link\", 4, true, false},\n    {\"Extra\", 6, true, false},\n");
  has("    {\"Users\", 0, 2},\n");
  has("{K::List, 1, 2, 2},  // 2 LIST [2:2] OF TLength");
  has("{K::Set, 5, 1, kUnbounded},  // 6 SET [1:?] OF TSelect");
  has("    {K::Defined, 0},  // TSelect: TLength\n    {K::Entity, 0},  // TSelect: Base\n");
  has("    \"ONE\",\n    \"TWO\",\n");
  has("const SchemaDef kTiny = {");
}

TEST(SchemaGenerator, ReportsAnUnknownTypeWithItsName) {
  EXPECT_THROW((void)ifc_schema_gen::generate(
                   "SCHEMA X; ENTITY A; b : Missing; END_ENTITY; END_SCHEMA;", "x.exp", "cmd"),
               ifc_schema_gen::GenError);
  EXPECT_THROW((void)ifc_schema_gen::generate("SCHEMA X; ENTITY A; b : ", "x.exp", "cmd"),
               ifc_schema_gen::GenError);
}

}  // namespace
