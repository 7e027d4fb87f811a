#include "driver/floor_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace {

using Verdamo::FloorListEntry;
using Verdamo::floorListJson;

TEST(FloorList, WritesOneFloorAsTheHostEncoderDoes) {
  EXPECT_EQ(floorListJson({{"1F", 1, 0.0, 3600.0, 1}}),
            R"([{"Name": "1F", "No": 1, "Elevation": 0.0, "Height": 3600.0, "StdFlrNo": 1}])");
}

TEST(FloorList, IsAnEmptyArrayWithoutFloors) { EXPECT_EQ(floorListJson({}), "[]"); }

TEST(FloorList, SeparatesFloorsAndKeepsTheirOrderAndValueClasses) {
  EXPECT_EQ(floorListJson({{"B1", -1, -4500.5, 4500, "2"}, {"", 2, 1e-05, 1e16, db::Value()}}),
            R"([{"Name": "B1", "No": -1, "Elevation": -4500.5, "Height": 4500, "StdFlrNo": "2"}, )"
            R"({"Name": "", "No": 2, "Elevation": 1e-05, "Height": 1e+16, "StdFlrNo": null}])");
}

TEST(FloorList, EscapesEveryCharacterOutsidePrintableAscii) {
  auto nameOf = [](const char* name) {
    const std::string json = floorListJson({{name, 1, 0.0, 0.0, 1}});
    return json.substr(10, json.find(", \"No\"") - 10);
  };
  EXPECT_EQ(nameOf("一层"), R"("\u4e00\u5c42")");
  EXPECT_EQ(nameOf("\"\\\n\r\t\b\f\x01\x7f"), R"("\"\\\n\r\t\b\f\u0001\u007f")");
  EXPECT_EQ(nameOf("\xF0\x9F\x8F\xA2"), R"("\ud83c\udfe2")");
}

TEST(FloorList, WritesNonFiniteNumbersAsNull) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(floorListJson({{"F", std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1}}),
            R"([{"Name": "F", "No": null, "Elevation": null, "Height": null, "StdFlrNo": 1}])");
}

TEST(FloorList, FileIsNamedAfterTheOutputAndHasNoFinalLineBreak) {
  const auto dir = std::filesystem::temp_directory_path() / "sdb2ifc_floor_list_test";
  std::filesystem::create_directories(dir);
  const auto path = Verdamo::floorListPath(dir / "model.ifc");
  EXPECT_EQ(path, dir / "model.ifc.json");
  EXPECT_EQ(Verdamo::floorListPath("model.ifc"), std::filesystem::path("model.ifc.json"));
  Verdamo::writeFloorList(path, {{"1F", 1, 0.0, 3600.0, 1}});
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), floorListJson({{"1F", 1, 0.0, 3600.0, 1}}));
  std::filesystem::remove_all(dir);
}

TEST(FloorList, UnwritablePathIsAnErrorNamingIt) {
  try {
    Verdamo::writeFloorList("/nonexistent-folder/model.ifc.json", {});
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/model.ifc.json"), std::string::npos);
  }
}

}  // namespace
