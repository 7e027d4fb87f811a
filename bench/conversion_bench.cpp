// Benchmark of the whole conversion (not a test): a model database converted sequentially and
// threaded, with the time and peak memory of each stage (reading, member building, copies,
// writing), entities per second end to end, and two limits measured in the same run on the
// same file: one plain SELECT * pass over the tables the converter reads, and the IFC layer
// creating and writing as many entities as the conversion wrote, without geometry work.
//
//   conversion_bench [model.sdb] [--mode sequential|threaded|both]
//
// Without a model the large synthetic preset is written to a temporary file first.

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "db/database.h"
#include "driver/verdamo.h"
#include "modeldb/modeldb.h"
#include "modeldb/plain_pass.h"
#include "modeldb/synthetic.h"

namespace {

namespace fs = std::filesystem;
using Verdamo::Stage;

constexpr std::array<const char*, 4> kStageNames = {"reading", "building", "copies", "writing"};

struct StageFigures {
  double seconds = 0;
  std::size_t peak = 0;
};

struct Conversion {
  std::array<StageFigures, 4> stages{};
  double seconds = 0;
  std::size_t peak = 0;
  std::size_t entities = 0;
  std::size_t reportLines = 0;
};

// Counts the lines written to it (the converter's reports), keeping none of them.
class LineCounter : public std::streambuf {
 public:
  std::size_t lines = 0;

 protected:
  int overflow(int c) override {
    if (c == '\n') ++lines;
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    lines += static_cast<std::size_t>(std::count(s, s + n, '\n'));
    return n;
  }
};

// Converts `input` into `output` and measures each stage; the peak of a stage is the highest
// resident memory of the process while it ran, the run's own model included.
Conversion convert(const fs::path& input, const fs::path& output, bool threaded) {
  Conversion c;
  malloc_trim(0);
  bench::resetPeak();
  int current = -1;
  bench::Stopwatch stageWatch;
  auto close = [&] {
    if (current < 0) return;
    StageFigures& s = c.stages[static_cast<std::size_t>(current)];
    s.seconds += stageWatch.seconds();
    s.peak = std::max(s.peak, bench::peakBytes());
  };
  Verdamo::RunOptions options;
  options.mt = threaded;
  options.neverThreaded = !threaded;
  options.onStage = [&](Stage stage) {
    close();
    current = static_cast<int>(stage);
    bench::resetPeak();
    stageWatch = bench::Stopwatch();
  };
  LineCounter counter;
  std::streambuf* saved = std::cout.rdbuf(&counter);
  const bench::Stopwatch watch;
  try {
    Verdamo::Create(input, output, options);
  } catch (...) {
    std::cout.rdbuf(saved);
    throw;
  }
  close();
  c.seconds = watch.seconds();
  std::cout.rdbuf(saved);
  c.reportLines = counter.lines;
  for (const StageFigures& s : c.stages) c.peak = std::max(c.peak, s.peak);
  c.entities = bench::countEntities(output);
  return c;
}

double mib(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void print(const char* mode, const Conversion& c) {
  for (std::size_t i = 0; i < kStageNames.size(); ++i) {
    std::printf("%-11s %-9s %9.2f s %9.0f MiB\n", i == 0 ? mode : "", kStageNames[i],
                c.stages[i].seconds, mib(c.stages[i].peak));
  }
  std::printf(
      "%-11s %-9s %9.2f s %9.0f MiB   %zu entities, %.0f entities/s, %.0f bytes/entity"
      " at the peak, %zu report lines\n",
      "", "total", c.seconds, mib(c.peak), c.entities, static_cast<double>(c.entities) / c.seconds,
      static_cast<double>(c.peak) / static_cast<double>(c.entities), c.reportLines);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    fs::path input;
    std::string mode = "both";
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "--mode" && i + 1 < argc) {
        mode = argv[++i];
      } else {
        input = arg;
      }
    }
    if (mode != "both" && mode != "sequential" && mode != "threaded") {
      std::cerr << "usage: conversion_bench [model.sdb] [--mode sequential|threaded|both]\n";
      return 2;
    }
    std::unique_ptr<modeldb::TempPath> temp;
    if (input.empty()) {
      temp = std::make_unique<modeldb::TempPath>("conversion_bench");
      input = temp->path();
      const bench::Stopwatch watch;
      modeldb::writeSynthetic(modeldb::syntheticPreset("large"), input);
      std::printf("wrote the large synthetic preset in %.2f s\n", watch.seconds());
    }
    std::printf("%s: %.1f MiB\n\n", input.string().c_str(), mib(fs::file_size(input)));

    std::size_t plainRows = 0;
    const bench::Stopwatch plainWatch;
    {
      const auto conn = db::Database::openReadOnly(input);
      plainRows = modeldb::plainPass(conn);
    }
    const double plainSeconds = plainWatch.seconds();

    const modeldb::TempPath sequentialOut("conversion_bench_sequential", ".ifc");
    const modeldb::TempPath threadedOut("conversion_bench_threaded", ".ifc");
    std::vector<std::pair<const char*, Conversion>> runs;
    if (mode != "threaded") runs.emplace_back("sequential", convert(input, sequentialOut, false));
    if (mode != "sequential") runs.emplace_back("threaded", convert(input, threadedOut, true));

    const std::size_t entities = runs.front().second.entities;
    const modeldb::TempPath bareOut("conversion_bench_bare", ".ifc");
    malloc_trim(0);
    const double bareSeconds = bench::bareCreateAndWrite(entities, bareOut);

    std::printf("%-21s %9.2f s   %zu rows\n", "plain SELECT * pass", plainSeconds, plainRows);
    std::printf("%-21s %9.2f s   %zu entities without geometry work\n\n", "bare create + write",
                bareSeconds, entities);
    std::printf("%-11s %-9s %11s %13s\n", "mode", "stage", "time", "peak memory");
    for (const auto& [name, c] : runs) print(name, c);

    std::printf("\ntargets\n");
    for (const auto& [name, c] : runs) {
      const double reading = c.stages[0].seconds;
      const double rest = c.seconds - reading;
      std::printf(
          "  %-10s reading / plain pass %.2f (<= 2), building to writing / bare %.2f%s,"
          " %.0f bytes per entity (<= 200)\n",
          name, reading / plainSeconds, rest / bareSeconds,
          std::string(name) == "sequential" ? " (<= 3)" : "",
          static_cast<double>(c.peak) / static_cast<double>(c.entities));
    }
    if (runs.size() == 2) {
      std::string difference;
      const bool same = bench::sameUpToGuidsAndTime(sequentialOut, threadedOut, difference);
      std::printf("  threaded speed-up %.2f (>= 3); the same file up to GlobalIds and time: %s\n",
                  runs[0].second.seconds / runs[1].second.seconds, same ? "yes" : "NO");
      if (!same) std::printf("first difference:\n%s\n", difference.c_str());
    }
  } catch (const std::exception& e) {
    std::cerr << "conversion_bench: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
