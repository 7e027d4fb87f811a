#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ifc/guid.h"
#include "ifc/model.h"
#include "ifc/step_text.h"
#include "template_text.h"

namespace {

using ifc::Entity;
using ifc::List;
using ifc::Value;

std::string real(double d) {
  char buf[ifc::step::kMaxRealChars];
  return std::string(buf, ifc::step::formatReal(d, buf));
}

TEST(StepReal, IsWrittenWithShortestDigitsAndAlwaysADecimalPoint) {
  EXPECT_EQ(real(0.0), "0.");
  EXPECT_EQ(real(-0.0), "-0.");
  EXPECT_EQ(real(3600.0), "3600.");
  EXPECT_EQ(real(-2.5), "-2.5");
  EXPECT_EQ(real(0.017453292519943295), "0.017453292519943295");
  EXPECT_EQ(real(1e-5), "1.E-05");
  EXPECT_EQ(real(0.0001), "0.0001");
  EXPECT_EQ(real(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(real(123456789012345.0), "123456789012345.");
  EXPECT_EQ(real(1e16), "1.E+16");
  EXPECT_EQ(real(-1.5e300), "-1.5E+300");
  EXPECT_EQ(real(5e-324), "5.E-324");
  EXPECT_EQ(real(1.7976931348623157e308), "1.7976931348623157E+308");
}

TEST(StepReal, ReadsBackToTheSameDouble) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int k = 0; k < 20000; ++k) {
    const double d = unit(rng) * std::pow(10.0, static_cast<int>(rng() % 40) - 20);
    const std::string text = real(d);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(back, d) << text;
    ASSERT_NE(text.find('.'), std::string::npos) << text;
  }
}

TEST(StepString, EscapesApostrophesBackslashesAndNonAsciiCharacters) {
  auto encode = [](std::string_view s) {
    std::string out;
    ifc::step::appendString(out, s);
    return out;
  };
  EXPECT_EQ(encode("it's a\\b"), "'it''s a\\\\b'");
  EXPECT_EQ(encode("梁_1"), "'\\X2\\6881\\X0\\_1'");
  EXPECT_EQ(encode("标准层"), "'\\X2\\680751C65C42\\X0\\'");
  EXPECT_EQ(encode("a\xF0\x9F\x98\x80\xE4\xB8\xAD"), "'a\\X4\\0001F600\\X0\\\\X2\\4E2D\\X0\\'");
  EXPECT_EQ(encode("line\nbreak"), "'line\\X2\\000A\\X0\\break'");
  EXPECT_THROW(encode("\xC3"), std::invalid_argument);
}

TEST(StepString, DecodesEveryEscapeForm) {
  using ifc::step::decodeString;
  EXPECT_EQ(decodeString("it''s a\\\\b"), "it's a\\b");
  EXPECT_EQ(decodeString("\\X2\\6881\\X0\\_1"), "梁_1");
  EXPECT_EQ(decodeString("\\X2\\D83DDE00\\X0\\"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(decodeString("\\X4\\0001F600\\X0\\"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(decodeString("caf\\X\\E9"), "café");
  EXPECT_EQ(decodeString("caf\\S\\i"), "café");
  EXPECT_EQ(decodeString("\\S\\''"), "§");
  EXPECT_THROW((void)decodeString("\\S\\\xC3\xA9"), std::invalid_argument);
  EXPECT_EQ(decodeString("\\PA\\x"), "x");
  EXPECT_THROW((void)decodeString("\\X2\\12"), std::invalid_argument);
  EXPECT_THROW((void)decodeString("\\Q\\"), std::invalid_argument);
  EXPECT_THROW((void)decodeString("\\X2\\D83D\\X0\\"), std::invalid_argument);
}

// An owner history and what it refers to, the person (#1 in a new model) named with an
// apostrophe, a backslash and characters beyond ASCII and beyond the basic plane.
Entity ownerHistory(ifc::Model& model) {
  const Entity person = model.create("IfcPerson", {Value(), "Family", "张三 'the' \\ 🙂"});
  const Entity org = model.create("IfcOrganization", {Value(), "Org"});
  const Entity po = model.create("IfcPersonAndOrganization", {person, org});
  const Entity app = model.create("IfcApplication", {org, "1", "App", "id"});
  const Entity owner =
      model.create("IfcOwnerHistory", {po, app, Value(), "ADDED", Value(), po, app, 1765173000});
  return owner;
}

class StepFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StepFileTest, TheHeaderTemplateIsReadWithItsNumbersAndNewEntitiesStartAt22) {
  const std::string text = ifc_test::templateText(GetParam());
  const auto model = ifc::Model::parse(text);
  EXPECT_EQ(model->schemaName(), GetParam());
  EXPECT_EQ(model->size(), 20u);
  EXPECT_EQ(model->by_type("IfcOwnerHistory"), std::vector<Entity>{model->entity(5)});
  EXPECT_EQ(model->entity(20).get("Precision").asDouble(), 1e-5);
  EXPECT_EQ(model->entity(4).get("Version").asString(), "$version");
  EXPECT_EQ(model->entity(1).get(2).asString(), "");
  EXPECT_EQ(model->create("IfcCartesianPoint", {List{1.0, 2.0}}).id(), 22u);
  EXPECT_EQ(model->validate(), std::vector<std::string>{});

  // Written back: header records unchanged, reals in the writer's form.
  std::string expected = text;
  for (std::size_t at; (at = expected.find("1.E-005")) != std::string::npos;)
    expected.replace(at, 7, "1.E-05");
  expected.insert(expected.find("ENDSEC;\nEND"), "#22=IFCCARTESIANPOINT((1.,2.));\n");
  EXPECT_EQ(model->toString(), expected);
}

TEST_P(StepFileTest, ReadingWhatWasWrittenWritesIdenticalText) {
  ifc::Model model(GetParam());
  const Entity owner = ownerHistory(model);
  const Entity person = model.entity(1);
  const Entity p = model.create("IfcCartesianPoint", {List{0.1 + 0.2, -1e-7, 1e22}});
  model.create("IfcPolyline",
               {List{p, model.create("IfcCartesianPoint", {List{3600.0, 0.0, 0.0}})}});
  model.create("IfcBeam", {ifc::createGuid(), owner, "Beam_1", Value(), Value()});
  model.create("IfcPropertySingleValue", {"Floor", Value(), Value::typed("IfcLabel", "3")});
  model.create("IfcPropertySingleValue", {"Flag", Value(), Value::typed("IfcBoolean", true)});
  model.create("IfcSIUnit", {Value(), "LENGTHUNIT", "MILLI", "METRE"});
  const std::string first = model.toString();
  const auto read = ifc::Model::parse(first);
  EXPECT_EQ(read->toString(), first);
  EXPECT_EQ(read->entity(person.id()).get("GivenName").asString(), "张三 'the' \\ 🙂");
  EXPECT_EQ(read->entity(p.id()).get("Coordinates"), p.get("Coordinates"));
  EXPECT_EQ(read->validate(), std::vector<std::string>{});

  const auto path = std::filesystem::temp_directory_path() /
                    ("ifc_step_test_" + std::string(GetParam()) + ".ifc");
  read->writeFile(path);
  EXPECT_EQ(ifc::Model::readFile(path)->toString(), first);
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(BothSchemas, StepFileTest, ::testing::Values("IFC2X3", "IFC4"),
                         [](const auto& info) { return std::string(info.param); });

TEST(StepReader, KeepsNumbersOfEntitiesWrittenOutOfOrderAndContinuesAfterTheLargest) {
  const auto model = ifc::Model::parse(
      "ISO-10303-21;HEADER;FILE_SCHEMA(('IFC4'));ENDSEC;DATA;\n"
      "/* a comment */ #40=IFCAXIS2PLACEMENT2D(#7,$);\n#7 = IFCCARTESIANPOINT ( ( 1 , 2.5 ) ) ;\n"
      "ENDSEC;END-ISO-10303-21;");
  EXPECT_EQ(model->by_type("IfcRepresentationItem"),
            (std::vector<Entity>{model->entity(7), model->entity(40)}));
  EXPECT_EQ(model->entity(7).get("Coordinates"), Value(List{1.0, 2.5}));
  EXPECT_EQ(model->create("IfcCartesianPoint", {List{0.0, 0.0}}).id(), 41u);
}

TEST(StepReader, KeepsHeaderRecordsVerbatimEvenWhenTheySpanLines) {
  const std::string text =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('a;b'),\n  "
      "'2;1');\nFILE_NAME('x.ifc','t',(''),(),'','','');\n"
      "FILE_SCHEMA(('IFC4'));\nENDSEC;\nDATA;\nENDSEC;\nEND-ISO-10303-21;\n";
  EXPECT_EQ(ifc::Model::parse(text)->toString(), text);
}

TEST(StepReader, ReportsMalformedInputWithItsLineNumber) {
  const std::string head = "ISO-10303-21;\nHEADER;\nFILE_SCHEMA(('IFC2X3'));\nENDSEC;\nDATA;\n";
  const std::string tail = "ENDSEC;\nEND-ISO-10303-21;\n";
  const std::pair<std::string, std::string> cases[] = {
      {"#1=IFCCARTESIANPOINT((0.,0.))\n", "line 7: expected ';'"},
      {"#1=IFCNOTATHING(1);\n", "line 6: unknown entity type IFCNOTATHING"},
      {"#4294967295=IFCCARTESIANPOINT((0.,0.));\n", "line 6: expected an entity number"},
      {"#1=IFCCARTESIANPOINT((1.2.3,0.));\n", "line 6: malformed number '1.2.3'"},
      {"\n#1=IFCCARTESIANPOINT((0.,0.));\n#1=IFCCARTESIANPOINT((0.,0.));\n",
       "line 8: #1 is defined twice"},
      {"#1=IFCCARTESIANPOINT((0.,0.));\n#2=IFCAXIS2PLACEMENT2D(#3,$);\n#3=IFCDIRECTION((1.,0.));\n",
       "line 7: IfcAxis2Placement2D.Location = #3: is a IfcDirection"},
      {"#1=IFCRECTANGLEPROFILEDEF(.NOPE.,$,$,1.,1.);\n",
       "line 6: IfcRectangleProfileDef.ProfileType"},
      {"#1=IFCPERSON($,$,'unterminated);\n", "unterminated string"},
      {"#1=IFCPERSON($,$,'\\X2\\4E\\X0\\',$,$,$,$,$);\n", "line 6: bad hexadecimal digit"},
      {"#1=IFCPERSON($,$,'caf\\S\\\xC3\xA9',$,$,$,$,$);\n", "line 6: unknown escape"},
      {"#1=IFCROOT('0Q1SR$Ffr8QOSv2gm$4sX0',$,$,$);\n", "line 6: IfcRoot is abstract"},
      {"\n#1=IFCPERSON($,$,'Given');\n", "line 7: IfcPerson takes 8 attributes, 3 given"},
      {"#1=IFCPERSON($,$,IFCLABEL('Given'),$,$,$,$,$);\n",
       "line 6: IfcPerson.GivenName = IFCLABEL('Given'): a typed value is only for select"},
      {"#1=IFCCARTESIANPOINT(" + std::string(100000, '(') + ");\n",
       "line 6: values nested too deeply"},
      {"#1=IFCPROPERTYSINGLEVALUE('a',$,IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL("
       "IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL("
       "IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL("
       "IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(IFCLABEL(",
       "values nested too deeply"},
  };
  for (const auto& [body, message] : cases) {
    try {
      (void)ifc::Model::parse(head + body + tail);
      ADD_FAILURE() << "accepted: " << body;
    } catch (const ifc::ParseError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW((void)ifc::Model::parse(
                   "ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\nENDSEC;\nEND-ISO-10303-21;\n"),
               ifc::ParseError);
  EXPECT_THROW((void)ifc::Model::parse(head), ifc::ParseError);
  try {
    (void)ifc::Model::parse(head + "#1=IFCCARTESIANPOINT((0.,\n");
    ADD_FAILURE() << "accepted a truncated file";
  } catch (const ifc::ParseError& e) {
    EXPECT_STREQ(e.what(), "line 7: unexpected end of file");
  }
}

// Each input made by damaging a valid file either reads (and then writes a text that reads back
// to itself) or is refused with an ifc::Error; nothing else escapes, and nothing crashes or hangs
// (the sanitizer build runs this too).
TEST(StepReader, ReadsOrRefusesEveryDamagedVersionOfAValidFile) {
  ifc::Model model("IFC4");
  const Entity owner = ownerHistory(model);
  const Entity list =
      model.create("IfcCartesianPointList2D", {List{List{0.0, 0.0}, List{1.0, 2.5}}});
  model.create("IfcIndexedPolyCurve",
               {list, List{Value::typed("IfcLineIndex", List{1, 2})}, false});
  model.create("IfcBeam", {ifc::createGuid(), owner, "Beam_1", Value(), Value()});
  model.create("IfcPropertySingleValue", {"H", Value(), Value::typed("IfcLengthMeasure", -1e-7)});
  model.create("IfcSIUnit", {Value(), "LENGTHUNIT", "MILLI", "METRE"});
  const std::string valid = "/* made by the test */\n" + model.toString();

  std::mt19937 rng(7);
  const std::string significant = "#=(),;'.$*\\/E-+0123456789 \nX2S";
  int read = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = valid;
    const int edits = 1 + static_cast<int>(rng() % 3);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = rng() % text.size();
      switch (rng() % 5) {
        case 0:
          text.erase(at, 1 + rng() % 4);
          break;
        case 1:
          text.insert(at, 1, significant[rng() % significant.size()]);
          break;
        case 2:
          text[at] = significant[rng() % significant.size()];
          break;
        case 3:
          text.insert(at, text.substr(rng() % text.size(), 1 + rng() % 12));
          break;
        default:
          text.resize(at);
          break;
      }
    }
    try {
      const auto m = ifc::Model::parse(text);
      const std::string written = m->toString();
      ASSERT_EQ(ifc::Model::parse(written)->toString(), written) << text;
      ++read;
    } catch (const ifc::Error&) {
      ++refused;
    }
  }
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

TEST(StepReader, SkipsCommentsInsideHeaderRecords) {
  const auto model = ifc::Model::parse(
      "ISO-10303-21;HEADER;FILE_DESCRIPTION(/* it's; */('a'),'2;1');\n"
      "FILE_SCHEMA(('IFC4'));ENDSEC;DATA;ENDSEC;END-ISO-10303-21;");
  EXPECT_EQ(model->schemaName(), "IFC4");
}

TEST(StepReader, LeavesUnresolvedReferencesToValidate) {
  const auto model = ifc::Model::parse(
      "ISO-10303-21;HEADER;FILE_SCHEMA(('IFC2X3'));ENDSEC;DATA;#1=IFCAXIS2PLACEMENT2D(#9,$);ENDSEC;"
      "END-ISO-10303-21;");
  EXPECT_EQ(model->validate(),
            std::vector<std::string>{
                "#1 IfcAxis2Placement2D.Location: refers to #9, which does not exist"});
}

TEST(StepWriter, WritesAConformingHeaderForAModelNotReadFromATemplate) {
  const std::string text = ifc::Model("IFC4").toString();
  EXPECT_EQ(text,
            "ISO-10303-21;\nHEADER;\n"
            "FILE_DESCRIPTION(('ViewDefinition [CoordinationView]'),'2;1');\n"
            "FILE_NAME('','',(''),(''),'','','');\nFILE_SCHEMA(('IFC4'));\nENDSEC;\n"
            "DATA;\nENDSEC;\nEND-ISO-10303-21;\n");
}

TEST(StepWriter, AStoppedWriteFailsAndLeavesTheTargetAsItWas) {
  ifc::Model model("IFC2X3");
  for (int i = 0; i < 100000; ++i) model.create("IfcCartesianPoint", {ifc::List{1.0 * i, 2.0}});
  const auto folder = std::filesystem::temp_directory_path() / "ifc_step_test_stopped";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::atomic<bool> stop{true};
  for (const unsigned threads : {1U, 4U}) {
    SCOPED_TRACE(threads);
    std::ofstream(folder / "x.ifc") << "earlier";
    try {
      model.writeFile(folder / "x.ifc", threads, &stop);
      ADD_FAILURE() << "written";
    } catch (const ifc::Error& e) {
      EXPECT_NE(std::string(e.what()).find(std::strerror(ECANCELED)), std::string::npos);
    }
    std::ifstream in(folder / "x.ifc");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  }
  std::filesystem::remove_all(folder);
}

TEST(StepWriter, ReportsAFileItCannotWrite) {
  ifc::Model model("IFC2X3");
  EXPECT_THROW(model.writeFile("/nonexistent-folder/x.ifc"), ifc::Error);
  EXPECT_THROW((void)ifc::Model::readFile("/nonexistent-folder/x.ifc"), ifc::Error);
}

}  // namespace
