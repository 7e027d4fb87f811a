#pragma once
// Damages a copy of a model database the way real files get damaged, for the fuzzing test and
// the fuzzing tool: changed numbers, NULLs, texts where numbers belong, deleted rows, swapped
// and dangling ids, dimension texts with items missing or not numbers, and text whose bytes
// are not GBK. The same seed always makes the same mutations of the same source.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

// Copies `source` to `target` (replacing it) and applies `count` mutations chosen by `seed`.
// Returns one line per mutation saying what was changed ("tblBeamSeg row 3 HDiff1 = NULL").
std::vector<std::string> mutateModel(const std::filesystem::path& source,
                                     const std::filesystem::path& target, std::uint64_t seed,
                                     int count);

}  // namespace fuzz
