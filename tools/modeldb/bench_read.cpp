// Read benchmark (not a test): reads every list the converter reads from a model database,
// the per-slab and per-wall lists included, and prints the time and rows per second of each.
//
//   sdb_read_bench [model.sdb [runs]]   (default: the large synthetic preset, written to a
//                                        temporary file first; one run)
//
// With several runs each line gives the shortest time of that reader over the runs, which is
// what a busy machine lets through unchanged.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "db/database.h"
#include "modeldb/modeldb.h"
#include "modeldb/plain_pass.h"
#include "modeldb/synthetic.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/axis.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/grid.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Total {
  std::size_t rows = 0;
  double seconds = 0;
};

// The shortest time of each line over the runs so far, in the order first measured.
struct Lines {
  std::vector<std::pair<std::string, Total>> best;
  std::size_t next = 0;  // the line the next measure() of this run fills

  void add(const char* what, std::size_t rows, double s) {
    if (next == best.size()) best.push_back({what, {rows, s}});
    Total& line = best[next++].second;
    line.seconds = std::min(line.seconds, s);
  }
  void print(const char* what, const Total& t) const {
    std::printf("%-34s %9zu rows %9.3f s %12.0f rows/s\n", what, t.rows, t.seconds,
                t.seconds > 0 ? t.rows / t.seconds : 0.0);
  }
};

// Runs `read`, which returns the number of rows it read, and keeps its time.
template <class F>
void measure(const char* what, Lines& lines, F&& read) {
  const auto start = Clock::now();
  const std::size_t rows = read();
  lines.add(what, rows, std::chrono::duration<double>(Clock::now() - start).count());
}

// Reads every list once; returns the lines of members skipped, if any.
std::string readAll(const db::Database& conn, Lines& total) {
  std::ostringstream report;  // skipped members: none in a synthetic model
  measure("Floor::getStdFlrs + getFloors", total,
          [&] { return Floor::getStdFlrs(conn).size() + Floor::getFloors(conn).size(); });
  measure("Property::getExcludeIds", total, [&] { return Property::getExcludeIds(conn).size(); });
  measure("Axis::getAxes", total, [&] { return Axis::getAxes(conn).size(); });
  std::vector<Beam::BeamRow> beams;
  measure("Beam::getBeams", total, [&] { return (beams = Beam::getBeams(conn, report)).size(); });
  measure("SubBeam::getBeams", total, [&] { return SubBeam::getBeams(conn, report).size(); });
  measure("Column::getColumns", total, [&] { return Column::getColumns(conn, report).size(); });
  std::vector<Palvek::WallRow> walls;
  measure("Palvek::getPalveks", total,
          [&] { return (walls = Palvek::getPalveks(conn, report)).size(); });
  std::unique_ptr<Slab::SlabDetailReader> details;
  measure("Slab::SlabDetailReader (tables)", total, [&] {
    details = std::make_unique<Slab::SlabDetailReader>(conn);
    return std::size_t{0};
  });
  std::vector<Slab::SlabRow> slabs;
  measure("Slab::getSlabs", total,
          [&] { return (slabs = Slab::getSlabs(conn, *details, report)).size(); });
  measure("Slab::getCantiSlabs", total, [&] { return Slab::getCantiSlabs(conn, report).size(); });
  measure("Brace::getBraces", total, [&] { return Brace::getBraces(conn, report).size(); });
  measure("Palvek::WallHoleQuery (per wall)", total, [&] {
    const Palvek::WallHoleQuery holes(conn);
    std::size_t n = 0;
    for (const auto& w : walls) n += holes(w.floorId, w.gridId, report).size();
    return n;
  });
  measure("per slab: cords, beams, props, holes", total, [&] {
    std::size_t n = 0;
    for (const auto& s : slabs) {
      n += details->cords(s.gridIds).size();
      n += details->adjacentBeams(s.id).size();
      n += details->foldProps(s.id).size();
      n += details->holes(s.stdFlrId, s.id, report).size();
    }
    return n;
  });
  measure("plain SELECT * of every table read", total, [&] { return modeldb::plainPass(conn); });
  total.next = 0;
  return report.str();
}

void printAll(const Lines& lines) {
  Total readers;
  for (std::size_t i = 0; i + 1 < lines.best.size(); ++i) {
    lines.print(lines.best[i].first.c_str(), lines.best[i].second);
    readers.rows += lines.best[i].second.rows;
    readers.seconds += lines.best[i].second.seconds;
  }
  lines.print("total", readers);
  const Total& plain = lines.best.back().second;
  lines.print(lines.best.back().first.c_str(), plain);
  std::printf("readers / plain pass: %.2f\n",
              plain.seconds > 0 ? readers.seconds / plain.seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::filesystem::path path;
    std::unique_ptr<modeldb::TempPath> temp;
    if (argc > 1) {
      path = argv[1];
    } else {
      temp = std::make_unique<modeldb::TempPath>("bench_read");
      path = temp->path();
      const auto start = Clock::now();
      modeldb::writeSynthetic(modeldb::syntheticPreset("large"), path);
      std::printf("wrote the large synthetic preset in %.2f s\n",
                  std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("%s: %.1f MiB\n", path.string().c_str(),
                static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0));
    std::printf("\n");
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    const auto conn = db::Database::openReadOnly(path);
    Lines lines;
    std::string skipped;
    for (int run = 0; run < runs; ++run) skipped = readAll(conn, lines);
    if (runs > 1) std::printf("shortest of %d runs\n", runs);
    printAll(lines);
    if (!skipped.empty()) std::cout << "skipped:\n" << skipped;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
