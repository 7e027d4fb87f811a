// Member building benchmark (not a test): builds the members of every standard floor of a
// model database once sequentially and once threaded, and prints per member kind the time and
// members per second of each mode and the threaded speed-up; then checks that both modes wrote
// the same file (GlobalIds aside).
//
//   member_build_bench [model.sdb]   (default: the large synthetic preset, written to a
//                                     temporary file first)

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "db/database.h"
#include "driver/header_template.h"
#include "ifc/model.h"
#include "members/floor_members.h"
#include "members/run_context.h"
#include "modeldb/modeldb.h"
#include "modeldb/synthetic.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"
#include "sections/make_profiles.h"
#include "sections/taper_sects.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of the whole process (every thread), seconds.
double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

struct Rows {
  std::vector<Floor::StdFloorRow> stdFlrs;
  std::vector<Beam::BeamRow> beams;
  std::vector<SubBeam::SubBeamRow> subBeams;
  std::vector<Column::ColumnRow> columns;
  std::vector<Palvek::WallRow> walls;
  std::vector<Slab::SlabRow> slabs;
  std::vector<Slab::CantiSlabRow> cantiSlabs;
  std::vector<Brace::BraceRow> braces;
};

// Members of one kind on one floor, for the per-second figures.
std::size_t countOf(const std::string& kind, const Utils::FloorRows& f, const Rows& rows,
                    const db::Value& stdFlrId) {
  if (kind == "beams") return f.beams.size();
  if (kind == "secondary beams") return f.subBeams.size();
  if (kind == "columns") return f.columns.size();
  if (kind == "cantilever slabs") return f.cantiSlabs.size();
  if (kind == "braces") return f.braces.size();
  if (kind == "walls") return f.walls.size();
  std::size_t n = 0;
  for (const Slab::SlabRow& s : rows.slabs) n += s.stdFlrId == stdFlrId ? 1 : 0;
  return n;
}

struct Timing {
  std::vector<double> seconds;
  std::vector<double> cpu;  // processor seconds over all threads
  std::vector<std::size_t> members;
  std::string file;  // GlobalIds blanked
};

Timing buildAll(const db::Database& conn, const Rows& rows, bool mt) {
  const struct {
    const char* name;
    void (*build)(const Utils::FloorBuild&, std::vector<ifc::Entity>&);
  } passes[] = {{"beams", Utils::buildBeams},     {"secondary beams", Utils::buildSubBeams},
                {"columns", Utils::buildColumns}, {"cantilever slabs", Utils::buildCantiSlabs},
                {"braces", Utils::buildBraces},   {"walls", Utils::buildWalls},
                {"slabs", Utils::buildSlabs}};
  const char* schema = Sect::hasTaperSects(conn) ? "IFC4" : "IFC2X3";
  auto model = ifc::Model::parse(Verdamo::fillTemplate(schema, "bench.ifc", 0));
  Sect::ProfileCache profiles;
  const Utils::RunContext ctx = Utils::makeRunContext(*model, profiles);
  const Palvek::WallHoleQuery wallHoles(conn);
  const Slab::SlabDetailReader slabDetails(conn);
  const Slab::SlabsByGrid slabsByGrid(rows.slabs);
  const Utils::ModelRows modelRows{conn,       wallHoles,       slabDetails,  slabsByGrid,
                                   rows.beams, rows.subBeams,   rows.columns, rows.walls,
                                   rows.slabs, rows.cantiSlabs, rows.braces};
  Timing t;
  t.seconds.assign(std::size(passes), 0.0);
  t.cpu.assign(std::size(passes), 0.0);
  t.members.assign(std::size(passes), 0);
  for (const Floor::StdFloorRow& stdFlr : rows.stdFlrs) {
    const Utils::FloorRows floor = Utils::filterFloor(modelRows, stdFlr.id);
    const Utils::FloorBuild build{ctx, modelRows, floor, stdFlr, 120.0, mt};
    std::vector<ifc::Entity> objectlists;
    for (std::size_t p = 0; p < std::size(passes); ++p) {
      const auto start = Clock::now();
      const double cpuStart = cpuSeconds();
      passes[p].build(build, objectlists);
      t.seconds[p] += std::chrono::duration<double>(Clock::now() - start).count();
      t.cpu[p] += cpuSeconds() - cpuStart;
      t.members[p] += countOf(passes[p].name, floor, rows, stdFlr.id);
    }
  }
  std::printf("%s: %zu entities\n", mt ? "threaded" : "sequential", model->size());
  static const std::regex globalId("'[0-9A-Za-z_$]{22}'");
  t.file = std::regex_replace(model->toString(), globalId, "''");
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::filesystem::path input;
    std::unique_ptr<modeldb::TempPath> temp;
    if (argc > 1) {
      input = argv[1];
    } else {
      temp = std::make_unique<modeldb::TempPath>("member_build_bench");
      modeldb::writeSynthetic(modeldb::syntheticPreset("large"), *temp);
      input = *temp;
    }
    const db::Database conn = db::Database::openReadOnly(input);
    std::ostringstream skipped;
    Rows rows;
    rows.stdFlrs = Floor::getStdFlrs(conn);
    rows.beams = Beam::getBeams(conn, skipped);
    rows.subBeams = SubBeam::getBeams(conn, skipped);
    rows.columns = Column::getColumns(conn, skipped);
    rows.walls = Palvek::getPalveks(conn, skipped);
    rows.slabs = Slab::getSlabs(conn, skipped);
    rows.cantiSlabs = Slab::getCantiSlabs(conn, skipped);
    rows.braces = Brace::getBraces(conn, skipped);

    std::printf("%s, %zu standard floors, %u threads\n", input.filename().string().c_str(),
                rows.stdFlrs.size(), std::thread::hardware_concurrency());
    if (argc > 2) {  // one mode only, for profiling
      (void)buildAll(conn, rows, std::string(argv[2]) == "threaded");
      return 0;
    }
    const Timing sequential = buildAll(conn, rows, false);
    const Timing threaded = buildAll(conn, rows, true);
    const char* kinds[] = {"beams",  "secondary beams", "columns", "cantilever slabs",
                           "braces", "walls",           "slabs"};
    // "cores": processor time over elapsed time of the threaded run, how many processors the
    // threads had on average.
    std::printf("%-17s %9s %10s %12s %10s %12s %8s %6s\n", "kind", "members", "seq s", "seq /s",
                "thr s", "thr /s", "speed-up", "cores");
    double seqLinear = 0, thrLinear = 0, cpuLinear = 0;
    std::size_t linear = 0;
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
      const std::size_t n = sequential.members[k];
      const double s = sequential.seconds[k], t = threaded.seconds[k];
      std::printf("%-17s %9zu %10.3f %12.0f %10.3f %12.0f %8.2f %6.2f\n", kinds[k], n, s,
                  s > 0 ? n / s : 0.0, t, t > 0 ? n / t : 0.0, t > 0 ? s / t : 0.0,
                  t > 0 ? threaded.cpu[k] / t : 0.0);
      if (k != 3 && k < 5) {
        seqLinear += s;
        thrLinear += t;
        cpuLinear += threaded.cpu[k];
        linear += n;
      }
    }
    std::printf("%-17s %9zu %10.3f %12.0f %10.3f %12.0f %8.2f %6.2f\n", "linear members", linear,
                seqLinear, linear / seqLinear, thrLinear, linear / thrLinear, seqLinear / thrLinear,
                cpuLinear / thrLinear);
    const bool same = sequential.file == threaded.file;
    std::printf("threaded file %s the sequential one (%zu bytes)\n",
                same ? "equals" : "DIFFERS FROM", sequential.file.size());
    return same ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "member_build_bench: " << e.what() << '\n';
    return 1;
  }
}
