#include "driver/header_template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "ifc/model.h"

namespace {

// 2026-12-08T05:49:00 UTC
constexpr std::int64_t kNow = 1796708940;

std::string lineOf(const std::string& text, std::string_view start) {
  std::string key = "\n";
  key += start;
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

TEST(HeaderTemplate, HasTwentyNineLinesAndNoEntityEleven) {
  EXPECT_EQ(Verdamo::ifcTemplate.size(), 1161U);
  EXPECT_EQ(std::count(Verdamo::ifcTemplate.begin(), Verdamo::ifcTemplate.end(), '\n'), 29);
  EXPECT_EQ(Verdamo::ifcTemplate.find("#11="), std::string_view::npos);
}

TEST(HeaderTemplate, FillsNameTimeSchemaAndCreationDate) {
  const std::string text = Verdamo::fillTemplate("IFC2X3", "model.ifc", kNow);
  EXPECT_EQ(lineOf(text, "FILE_NAME"),
            "FILE_NAME('model.ifc','2026-12-08T05:49:00',(),(),'IfcOpenShell','IfcOpenShell','');");
  EXPECT_EQ(lineOf(text, "FILE_SCHEMA"), "FILE_SCHEMA(('IFC2X3'));");
  EXPECT_EQ(lineOf(text, "#5="), "#5=IFCOWNERHISTORY(#3,#4,$,.ADDED.,$,#3,#4,1796708940);");
  EXPECT_EQ(lineOf(text, "#1="), "#1=IFCPERSON($,$,'',$,$,$,$,$);");
  EXPECT_EQ(lineOf(text, "#2="), "#2=IFCORGANIZATION($,'',$,$,$);");
  EXPECT_EQ(lineOf(text, "#4="),
            "#4=IFCAPPLICATION(#2,'$version','Brelonix','118df2cf_ed21_438e_a41');");
  EXPECT_EQ(lineOf(Verdamo::fillTemplate("IFC4", "a.ifc", kNow), "FILE_SCHEMA"),
            "FILE_SCHEMA(('IFC4'));");
}

TEST(HeaderTemplate, EscapesTheFileNameAsAStepString) {
  EXPECT_EQ(Verdamo::stepString("it's a\\b.ifc"), "it''s a\\\\b.ifc");
  EXPECT_EQ(Verdamo::stepString("楼层.ifc"), "\\X2\\697C5C42\\X0\\.ifc");
  EXPECT_EQ(Verdamo::stepString("\xF0\x9F\x8F\xA2"), "\\X4\\0001F3E2\\X0\\");
  // A file name that is not UTF-8 still gives a valid string: each bad byte becomes U+FFFD.
  EXPECT_EQ(Verdamo::stepString("a\xFF.ifc"), "a\\X2\\FFFD\\X0\\.ifc");
  const std::string text = Verdamo::fillTemplate("IFC2X3", "O'Brien.ifc", kNow);
  EXPECT_NE(lineOf(text, "FILE_NAME").find("FILE_NAME('O''Brien.ifc',"), std::string::npos);
}

TEST(HeaderTemplate, LeavesPlaceholderTextInsideTheFileNameAlone) {
  const std::string text = Verdamo::fillTemplate("IFC2X3", "$timestamp$now.ifc", kNow);
  EXPECT_NE(text.find("FILE_NAME('$timestamp$now.ifc','2026-12-08T05:49:00'"), std::string::npos);
}

TEST(HeaderTemplate, ParsesIntoAModelThatContinuesAfterTheTemplateEntities) {
  for (const char* schema : {"IFC2X3", "IFC4"}) {
    auto model = ifc::Model::parse(Verdamo::fillTemplate(schema, "it's.ifc", kNow));
    EXPECT_EQ(model->schemaName(), schema);
    EXPECT_EQ(model->by_type("IfcOwnerHistory").size(), 1U);
    EXPECT_EQ(model->by_type("IfcGeometricRepresentationContext").size(), 2U);
    EXPECT_EQ(model->create("IfcCartesianPoint", {ifc::List{0.0, 0.0, 0.0}}).id(), 22U);
    EXPECT_TRUE(model->validate().empty());
    EXPECT_NE(model->toString().find("FILE_NAME('it''s.ifc',"), std::string::npos);
  }
}

}  // namespace
