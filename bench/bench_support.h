#pragma once
// What the benchmarks share: wall-clock and peak-memory measurement, the IFC layer's bare
// create-and-write of typical entities, and the comparison of two written files.

#include <chrono>
#include <cstddef>
#include <filesystem>

#include "ifc/model.h"

namespace bench {

class Stopwatch {
 public:
  [[nodiscard]] double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The process's peak resident memory in bytes since it started or since the last reset.
[[nodiscard]] std::size_t peakBytes();
// Starts the peak over from the memory in use now (Linux; elsewhere a no-op).
void resetPeak();

// Creates typical geometry entities in `model` (a point, directions, placements, a profile, an
// extruded solid, a representation and a beam per member, all from ready numbers: no geometry
// is computed) until it holds at least `count` entities.
void createTypicalEntities(ifc::Model& model, std::size_t count);

// Creates `count` typical entities in a new IFC2X3 model and writes it to `path`; returns the
// seconds both took.
double bareCreateAndWrite(std::size_t count, const std::filesystem::path& path);

// The number of entity instances in a written IFC file.
[[nodiscard]] std::size_t countEntities(const std::filesystem::path& path);

// Whether two written IFC files are the same but for GlobalIds, the header's time stamp and
// the owner history's creation date; `difference` receives the first line that differs.
[[nodiscard]] bool sameUpToGuidsAndTime(const std::filesystem::path& a,
                                        const std::filesystem::path& b, std::string& difference);

}  // namespace bench
