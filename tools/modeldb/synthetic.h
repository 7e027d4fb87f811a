#pragma once
// Synthetic model databases of large regular buildings, for benchmarks and reliability tests.
//
// Every standard floor is a frame of baysX by baysY bays of 6 m with columns at the frame
// joints, a cross beam in every bay resting on the split beams at its ends, secondary beams,
// perimeter walls with windows and doors, two slabs per bay (some with an opening, some
// folded), an arc beam and an arc-edged slab along each bay of the east edge, cantilever
// slabs along the south edge and braces in the west frame. Real floors are spread evenly over
// the standard floors, every fourth one of another storey height.

#include <filesystem>
#include <string_view>

namespace modeldb {

struct SyntheticParams {
  int stdFloors = 3;
  int floors = 6;
  int baysX = 4;
  int baysY = 3;
};

// "small", "medium" or "large" (the large one writes more than 20 MiB, enough to switch the
// converter to its threaded mode). Throws std::invalid_argument for another name.
[[nodiscard]] SyntheticParams syntheticPreset(std::string_view name);

// Writes the building, replacing any file at `path`.
void writeSynthetic(const SyntheticParams& params, const std::filesystem::path& path);

}  // namespace modeldb
