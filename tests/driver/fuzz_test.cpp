// Damaged model databases converted by the program, as a user would run it: each sample is
// mutated many times (numbers, NULLs, texts, deleted rows, swapped ids, dimension texts, bytes
// that are not GBK) and every run must convert with a valid file or end with one line on
// standard error and status 1, never crash, hang or trip a sanitizer. Seeded, so a failure
// repeats; tools/fuzz/sdb_fuzz runs the same for longer.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/convert_check.h"
#include "fuzz/model_mutator.h"
#include "modeldb/modeldb.h"

namespace {

namespace fs = std::filesystem;

// Cases per sample and test; the tests of one sample split its seeds in blocks, so that
// ctest runs them side by side.
constexpr std::uint64_t kCasesPerBlock = 100;
constexpr std::uint64_t kBlocks = 4;

struct Block {
  const char* sample;
  std::uint64_t block;
};

class Fuzzing : public ::testing::TestWithParam<Block> {};

TEST_P(Fuzzing, DamagedModelsConvertOrEndWithOneLine) {
  const char* root = std::getenv("SDB2IFC_SOURCE_DIR");
  const fs::path sample = fs::path(root ? root : ".") / "examples" / GetParam().sample;
  const modeldb::TempPath damaged("fuzz");
  const modeldb::TempPath output("fuzz", ".ifc");
  int converted = 0;
  for (std::uint64_t k = 0; k < kCasesPerBlock; ++k) {
    const std::uint64_t seed = GetParam().block * kCasesPerBlock + k + 1;
    const auto mutations = fuzz::mutateModel(sample, damaged, seed, 1 + static_cast<int>(seed % 3));
    const fuzz::Verdict v =
        fuzz::convertAndCheck(SDB2IFC_EXECUTABLE, damaged, output, std::chrono::seconds(120));
    std::string what;
    for (const std::string& m : mutations) what += "\n  " + m;
    EXPECT_TRUE(v.passed) << GetParam().sample << " seed " << seed << ": " << v.why << what;
    converted += v.converted ? 1 : 0;
  }
  // Most damage hits one member, which is reported and left out: the rest converts.
  EXPECT_GT(converted, static_cast<int>(kCasesPerBlock / 2));
}

std::vector<Block> blocks() {
  std::vector<Block> all;
  for (const char* s :
       {"sample.sdb", "sample_tapered.sdb", "sample_walls.sdb", "sample_slabs.sdb"}) {
    for (std::uint64_t b = 0; b < kBlocks; ++b) all.push_back({s, b});
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(Samples, Fuzzing, ::testing::ValuesIn(blocks()), [](const auto& info) {
  std::string name = info.param.sample;
  name = name.substr(0, name.find('.'));
  return name + "_" + std::to_string(info.param.block);
});

}  // namespace
