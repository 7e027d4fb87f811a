// Creates and writes about 1 000 000 typical geometry entities (points, directions,
// placements, profiles, extrusions, representations, products) and prints creation and
// writing speed and peak memory per entity, then reads the file back.
//
//   ifc_write_bench [entity count] [output path]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "bench/bench_support.h"
#include "ifc/model.h"

namespace {

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t wanted = argc > 1 ? std::stoul(argv[1]) : 1000000;
  const std::filesystem::path output =
      argc > 2 ? std::filesystem::path(argv[2])
               : std::filesystem::temp_directory_path() / "ifc_write_bench.ifc";
  const long baseKilobytes = peakKilobytes();

  ifc::Model model("IFC2X3");
  const auto start = std::chrono::steady_clock::now();
  bench::createTypicalEntities(model, wanted);
  const double createSeconds = secondsSince(start);
  const std::size_t count = model.size();
  const long createdKilobytes = peakKilobytes();

  const auto writeStart = std::chrono::steady_clock::now();
  model.writeFile(output);
  const double writeSeconds = secondsSince(writeStart);
  const double megabytes = static_cast<double>(std::filesystem::file_size(output)) / 1e6;
  const long writtenKilobytes = peakKilobytes();

  const auto readStart = std::chrono::steady_clock::now();
  const std::size_t readCount = ifc::Model::readFile(output)->size();
  const double readSeconds = secondsSince(readStart);
  std::filesystem::remove(output);

  std::printf("entities:          %zu\n", count);
  std::printf("created:           %.0f entities/s (%.3f s)\n",
              static_cast<double>(count) / createSeconds, createSeconds);
  std::printf("written:           %.0f entities/s (%.3f s), %.1f MB at %.0f MB/s\n",
              static_cast<double>(count) / writeSeconds, writeSeconds, megabytes,
              megabytes / writeSeconds);
  std::printf("read back:         %.0f entities/s (%.3f s)\n",
              static_cast<double>(readCount) / readSeconds, readSeconds);
  std::printf(
      "peak memory:       %.0f bytes/entity after creation, %.0f after writing\n",
      static_cast<double>(createdKilobytes - baseKilobytes) * 1024.0 / static_cast<double>(count),
      static_cast<double>(writtenKilobytes - baseKilobytes) * 1024.0 / static_cast<double>(count));
  return 0;
}
