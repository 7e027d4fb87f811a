#pragma once
// The floor list written beside the IFC file: one JSON object per real floor with its name,
// number, elevation, height and standard-floor number, so that a consumer can relate the
// storeys to the model's floors without reading the IFC file.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace Verdamo {

// One floor as the list holds it; values keep their stored class (integer, real, text, NULL).
struct FloorListEntry {
  db::Value name;
  db::Value no;
  db::Value elevation;
  db::Value height;
  db::Value stdFlrNo;
};

// JSON text on one line: ", " between items, ": " between key and value, keys in the order
// Name, No, Elevation, Height, StdFlrNo; strings ASCII only with \u escapes (lowercase hex,
// surrogate pairs beyond the basic plane); reals in shortest round-trip form with ".0" when
// whole; NULL and non-finite reals as null. No final line break.
[[nodiscard]] std::string floorListJson(const std::vector<FloorListEntry>& floors);

// The output path with ".json" appended (model.ifc gives model.ifc.json).
[[nodiscard]] std::filesystem::path floorListPath(const std::filesystem::path& output);

// Creates or replaces the file, whole or not at all; throws RunError naming the path
// and the system's reason when it cannot.
void writeFloorList(const std::filesystem::path& path, const std::vector<FloorListEntry>& floors);

}  // namespace Verdamo
