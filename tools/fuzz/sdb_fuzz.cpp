// Fuzzing tool (the long run of the fuzzing test): damages the given model databases again and
// again, converts each with the converter program and checks the outcome (see
// convert_check.h). Every failure is printed with its seed and mutations and its damaged model
// kept, so that `sdb_fuzz --seed N --cases 1 model.sdb` repeats it.
//
//   sdb_fuzz --converter PATH [--seconds N] [--cases N] [--seed N] [--keep DIR]
//            [--limit-ms N] [--verbose] model.sdb...

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz/convert_check.h"
#include "fuzz/model_mutator.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  fs::path converter;
  double seconds = 600;
  std::uint64_t cases = 0;  // 0: until the time is up
  std::uint64_t seed = 1;
  fs::path keep = "fuzz-failures";
  bool verbose = false;  // also print the line of every refused model
  std::chrono::milliseconds limit{60000};
  std::vector<fs::path> models;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--converter") {
      o.converter = next();
    } else if (arg == "--seconds") {
      o.seconds = std::stod(next());
    } else if (arg == "--cases") {
      o.cases = std::stoull(next());
    } else if (arg == "--seed") {
      o.seed = std::stoull(next());
    } else if (arg == "--keep") {
      o.keep = next();
    } else if (arg == "--verbose") {
      o.verbose = true;
    } else if (arg == "--limit-ms") {
      o.limit = std::chrono::milliseconds(std::stoll(next()));
    } else {
      o.models.emplace_back(arg);
    }
  }
  if (o.converter.empty() || o.models.empty()) {
    throw std::invalid_argument(
        "usage: sdb_fuzz --converter PATH [--seconds N] [--cases N] [--seed N] [--keep DIR] "
        "[--limit-ms N] [--verbose] model.sdb...");
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
    const fs::path work = fs::temp_directory_path() / ("sdb_fuzz_" + std::to_string(getpid()));
    fs::create_directories(work);
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t cases = 0, converted = 0, failures = 0;
    for (std::uint64_t seed = o.seed;; ++seed) {
      const double elapsed =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (o.cases ? cases >= o.cases : elapsed >= o.seconds) break;
      const fs::path& model = o.models[seed % o.models.size()];
      const fs::path damaged = work / "model.sdb";
      const auto mutations =
          fuzz::mutateModel(model, damaged, seed, 1 + static_cast<int>(seed % 3));
      const fuzz::Verdict v =
          fuzz::convertAndCheck(o.converter, damaged, work / "model.ifc", o.limit);
      ++cases;
      if (v.converted) ++converted;
      if (v.passed) {
        if (o.verbose && !v.converted)
          std::cout << "seed " << seed << " refused: " << v.why << '\n';
        continue;
      }
      ++failures;
      fs::create_directories(o.keep);
      const fs::path kept = o.keep / ("seed" + std::to_string(seed) + ".sdb");
      fs::copy_file(damaged, kept, fs::copy_options::overwrite_existing);
      std::cout << "FAILED seed " << seed << " on " << model.string() << " (kept as "
                << kept.string() << "): " << v.why << '\n';
      for (const std::string& m : mutations) std::cout << "  " << m << '\n';
      std::cout.flush();
    }
    fs::remove_all(work);
    std::cout << cases << " cases: " << converted << " converted, " << cases - converted - failures
              << " refused with one line, " << failures << " failed\n";
    return failures == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "sdb_fuzz: " << e.what() << '\n';
    return 2;
  }
}
