#pragma once
// Runs the converter program on one model database, as a user would, and judges the outcome:
// it must end by itself within a time limit, with status 0 and a file that reads back and
// passes validate(), or with status 1, exactly one line on standard error and no IFC file.
// A crash, a hang, a sanitizer report or any other outcome is a failure. The floor list the
// program writes beside the output is removed; the output is left to the caller.

#include <chrono>
#include <filesystem>
#include <string>

namespace fuzz {

struct Verdict {
  bool passed = false;
  bool converted = false;  // status 0 with a valid file
  std::string why;         // what failed, or the error line of a refused model
};

[[nodiscard]] Verdict convertAndCheck(const std::filesystem::path& converter,
                                      const std::filesystem::path& input,
                                      const std::filesystem::path& output,
                                      std::chrono::milliseconds limit);

}  // namespace fuzz
