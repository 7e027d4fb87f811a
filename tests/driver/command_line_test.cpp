#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "modeldb/modeldb.h"
#include "test_support.h"
#include "text/number_text.h"

namespace {

using driver_test::Outcome;
using driver_test::readText;

class CommandLine : public driver_test::CommandLine {};

// "总耗时为：" followed by a number of seconds and a line break.
bool isElapsedLine(const std::string& text) {
  const std::string prefix = "总耗时为：";
  if (text.rfind(prefix, 0) != 0 || text.empty() || text.back() != '\n') return false;
  try {
    return text::parseFloat(text.substr(prefix.size(), text.size() - prefix.size() - 1)) >= 0;
  } catch (const text::ParseError&) {
    return false;
  }
}

TEST_F(CommandLine, ConvertsInputToOutputAndPrintsNameAndElapsedTime) {
  writeModel("tower.main.sdb");
  const Outcome o = run("tower.main.sdb out.ifc");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  ASSERT_EQ(o.out.rfind("tower.main\n", 0), 0U) << o.out;
  EXPECT_TRUE(isElapsedLine(o.out.substr(11))) << o.out;
  EXPECT_TRUE(std::filesystem::exists(dir / "out.ifc"));
  EXPECT_TRUE(std::filesystem::exists(dir / "out.ifc.json"));
}

TEST_F(CommandLine, LoneArgumentIsTheInputConvertedIntoTheDefaultOutput) {
  writeModel("lone.sdb");
  const Outcome o = run("lone.sdb");
  EXPECT_EQ(o.status, 0) << o.err;
  const std::string usage = "usage: " SDB2IFC_EXECUTABLE " input_path output_path\nlone\n";
  ASSERT_EQ(o.out.rfind(usage, 0), 0U) << o.out;
  EXPECT_TRUE(isElapsedLine(o.out.substr(usage.size()))) << o.out;
  EXPECT_TRUE(std::filesystem::exists(dir / "1.ifc"));
}

TEST_F(CommandLine, WithoutArgumentsTheSampleIsConvertedIntoTheDefaultOutput) {
  const char* source = std::getenv("SDB2IFC_SOURCE_DIR");
  if (source == nullptr ||
      !std::filesystem::exists(std::filesystem::path(source) / "examples" / "sample.sdb")) {
    GTEST_SKIP() << "the sample model database is not in the source tree";
  }
  const Outcome o = run("");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out.rfind("usage: " SDB2IFC_EXECUTABLE " input_path output_path\nsample\n", 0), 0U)
      << o.out;
  EXPECT_TRUE(std::filesystem::exists(dir / "1.ifc"));
  EXPECT_TRUE(std::filesystem::exists(dir / "1.ifc.json"));
}

TEST_F(CommandLine, FailureIsOneLineOnStandardErrorAndStatusOne) {
  const Outcome missing = run("missing.sdb out.ifc");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "missing\n");
  EXPECT_NE(missing.err.find("missing.sdb"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1) << missing.err;

  writeModel("model.sdb");
  const Outcome unwritable = run("model.sdb no-such-folder/out.ifc");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("no-such-folder/out.ifc"), std::string::npos) << unwritable.err;
  EXPECT_EQ(unwritable.err.find('\n'), unwritable.err.size() - 1) << unwritable.err;
  EXPECT_EQ(unwritable.out.find("总耗时为"), std::string::npos);
}

TEST_F(CommandLine, BrokenDatabaseIsOneLineNamingTheFaultAndStatusOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"UPDATE tblFloor SET LevelB = NULL", "floor 1: elevation NULL is not a finite number"},
      {"UPDATE tblFloor SET Height = '3000'", "floor 1: height text '3000' is not a finite number"},
      {"DROP TABLE tblStdFlr", "no such table: tblStdFlr"},
  };
  for (const auto& [sql, message] : cases) {
    writeModel("model.sdb");
    modeldb::ModelDb::exec(dir / "model.sdb", sql);
    const Outcome o = run("model.sdb out.ifc");
    EXPECT_EQ(o.status, 1) << sql;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
  }
  std::ofstream(dir / "empty.sdb").close();
  const Outcome empty = run("empty.sdb out.ifc");
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("empty.sdb"), std::string::npos) << empty.err;
}

TEST_F(CommandLine, OutputOrFloorListOnTheInputIsRefusedAndTheModelDatabaseKept) {
  for (const auto& [input, arguments] :
       {std::pair{"model.sdb", "model.sdb ./model.sdb"}, {"m.ifc.json", "m.ifc.json m.ifc"}}) {
    writeModel(input);
    const std::string before = readText(dir / input);
    const Outcome o = run(arguments);
    EXPECT_EQ(o.status, 1) << arguments;
    EXPECT_NE(o.err.find("would overwrite the model database"), std::string::npos) << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
    EXPECT_TRUE(readText(dir / input) == before) << arguments << " changed the database";
  }
}

}  // namespace
