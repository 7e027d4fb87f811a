#include "driver/verdamo.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iostream>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "db/database.h"
#include "driver/floor_list.h"
#include "driver/header_template.h"
#include "driver/mapped_copies.h"
#include "driver/member_lists.h"
#include "driver/storeys.h"
#include "ifc/guid.h"
#include "ifc/model.h"
#include "ifc/output_file.h"
#include "members/floor_members.h"
#include "members/run_context.h"
#include "members/run_stop.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "readers/brace.h"
#include "readers/column.h"
#include "readers/floor.h"
#include "readers/project.h"
#include "readers/property.h"
#include "readers/slab.h"
#include "readers/sub_beam.h"
#include "sections/make_profiles.h"
#include "sections/taper_sects.h"
#include "text/number_text.h"

namespace Verdamo {

namespace {

namespace fs = std::filesystem;

// Storeys go up by floor number; a floor without a finite number goes last.
double storeyOrderKey(const db::Value& floorNo) {
  if (floorNo.isNumber() && !std::isnan(floorNo.asDouble())) return floorNo.asDouble();
  if (floorNo.isText()) {
    try {
      return text::parseFloat(floorNo.asText());
    } catch (const text::ParseError&) {
      // Not a number: ordered with the floors that have none.
    }
  }
  return std::numeric_limits<double>::infinity();
}

// The elevation of a real floor, which orders the floors of one standard floor.
double elevationOf(const Floor::FloorRow& floor) {
  return floorMeasure(floor.levelB, "elevation", floor.no);
}

// A real floor whose standard floor is not in the model gets no storey; say so, since it
// is still in the floor list.
void reportFloorsWithoutStandardFloor(const std::vector<Floor::FloorRow>& floors,
                                      const std::vector<Floor::StdFloorRow>& stdFlrs) {
  for (const Floor::FloorRow& f : floors) {
    const bool known = std::any_of(stdFlrs.begin(), stdFlrs.end(),
                                   [&](const Floor::StdFloorRow& s) { return s.id == f.stdFlrId; });
    if (!known) {
      std::cout << "实际楼层" << f.no.str() << "对应的标准层" << f.stdFlrId.str()
                << "不存在，未生成楼层！" << std::endl;
    }
  }
}

// The IFC file and the floor list are files the run creates or replaces. An output that
// names no file (empty, a folder) or names something else (a device such as /dev/null, beside
// which the floor list would be created) is refused before anything is written.
void checkOutputPath(const fs::path& output) {
  if (output.empty()) throw RunError("no output file: the output path is empty");
  const fs::path name = output.filename();
  if (name.empty() || name == "." || name == "..") {
    throw RunError("output " + output.string() + " names a folder, not a file");
  }
  for (const fs::path& written : {output, floorListPath(output)}) {
    std::error_code error;
    const fs::file_status status = fs::status(written, error);
    if (fs::is_directory(status)) {
      throw RunError("output " + written.string() + " is a folder, not a file");
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
      throw RunError("output " + written.string() + " is not a regular file");
    }
  }
}

// The floor list and the IFC file are written while the database is open: neither may be the
// model database itself nor one of the side files SQLite keeps beside it (in WAL mode the
// commits not yet copied into the database are in its -wal file), which would be lost. Side
// files are beside the file a link leads to, compared on the resolved paths.
void checkOutputIsNotTheModel(const fs::path& input, const fs::path& output) {
  std::error_code error;
  // Made absolute first: a relative path that names nothing yet would come back as it is.
  const fs::path model = fs::weakly_canonical(fs::absolute(input, error), error);
  for (const fs::path& written : {output, floorListPath(output)}) {
    if (fs::equivalent(input, written, error)) {
      throw RunError("output " + written.string() + " would overwrite the model database " +
                     input.string());
    }
    if (model.empty()) continue;
    const fs::path target = fs::weakly_canonical(fs::absolute(written, error), error);
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
      fs::path side = model;
      side += suffix;
      if (target == side || fs::equivalent(side, written, error)) {
        throw RunError("output " + written.string() + " would overwrite " + side.string() +
                       ", a side file of the model database " + input.string());
      }
    }
  }
}

struct PlacedStorey {
  ifc::Entity storey;
  double orderKey;
};

// The state of one conversion: what every step after opening the database reads.
class Run {
 public:
  Run(fs::path input, fs::path output, const RunOptions& options)
      : input_(std::move(input)), output_(std::move(output)), options_(options), mt_(options.mt) {}

  void execute();

  // Appended to the message of a fault that ended the run: which files it left, so that
  // neither passes for a finished conversion.
  [[nodiscard]] std::string leftBehind() const;

 private:
  // The floor list is of this run from now on; an IFC file of an earlier run beside it
  // would not belong to it, so it goes first.
  void removeEarlierIfcFile();

  // Every member of one standard floor built at the height of stdFlr, in the order the
  // storeys hold them.
  std::vector<ifc::Entity> createObjsByStdFlr(const Floor::StdFloorRow& stdFlr);
  void placeStandardFloor(const Floor::StdFloorRow& stdFlr);
  void addStorey(const std::vector<ifc::Entity>& objectlists, const Floor::FloorRow& floor,
                 const Floor::StdFloorRow& stdFlr);
  void createSpatialStructure();
  void enter(Stage stage) const {
    Utils::throwIfStopped(options_.stop);
    if (options_.onStage) options_.onStage(stage);
  }

  fs::path input_;
  fs::path output_;
  const RunOptions& options_;
  bool mt_;
  std::unique_ptr<db::Database> conn_;
  std::shared_ptr<ifc::Model> ifcfile_;
  std::unique_ptr<Sect::ProfileCache> profiles_;
  std::unique_ptr<Utils::RunContext> ctx_;
  std::unique_ptr<Palvek::WallHoleQuery> wallHoles_;
  std::unique_ptr<Slab::SlabDetailReader> slabDetails_;
  std::unique_ptr<Slab::SlabsByGrid> slabsByGrid_;

  std::vector<Floor::FloorRow> floors_;
  std::vector<Beam::BeamRow> beams_;
  std::vector<SubBeam::SubBeamRow> subBeams_;
  std::vector<Column::ColumnRow> columns_;
  std::vector<Palvek::WallRow> walls_;
  std::vector<Slab::SlabRow> slabs_;
  std::vector<Slab::CantiSlabRow> cantiSlabs_;
  std::vector<Brace::BraceRow> braces_;
  std::unique_ptr<Utils::FloorRowsIndex> floorRows_;  // of the rows above, once read
  ObjItemMap objItemMap_;
  std::vector<PlacedStorey> stories_;

  bool removedEarlierIfcFile_ = false;
  bool wroteFloorList_ = false;
};

void Run::execute() {
  const Utils::StopScope stopScope(options_.stop);
  enter(Stage::reading);
  std::error_code error;
  const std::uintmax_t size = fs::file_size(input_, error);
  if (error) {
    throw RunError("cannot read model database " + input_.string() + ": " + error.message());
  }
  checkOutputPath(output_);
  checkOutputIsNotTheModel(input_, output_);
  if (size > multithreadSize && !options_.neverThreaded) mt_ = true;
  if (mt_) std::cout << "use multithread" << std::endl;

  conn_ = std::make_unique<db::Database>(db::Database::openReadOnly(input_));
  conn_->stopWhen(options_.stop);
  const char* schema = Sect::hasTaperSects(*conn_) ? "IFC4" : "IFC2X3";

  const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
  ifcfile_ = ifc::Model::parse(fillTemplate(schema, output_.filename().string(), now));
  profiles_ = std::make_unique<Sect::ProfileCache>();
  ctx_ = std::make_unique<Utils::RunContext>(Utils::makeRunContext(*ifcfile_, *profiles_));
  if (options_.onRunContext) options_.onRunContext(ifcfile_, *ctx_);

  if (!Project::IsConcrete(*conn_)) std::cout << "工程设置里材料非钢筋混凝土！" << std::endl;
  const auto excludeIds = Property::getExcludeIds(*conn_);
  const std::vector<Floor::StdFloorRow> stdFlrs = Floor::getStdFlrs(*conn_);
  floors_ = Floor::getFloors(*conn_);

  std::vector<FloorListEntry> floorList;
  floorList.reserve(floors_.size());
  for (const Floor::FloorRow& f : floors_) {
    floorList.push_back({f.name, f.no, f.levelB, f.height, f.stdFlrNo});
  }
  // What killed runs to this output left goes now, even should this run fail before its end.
  ifc::OutputFile::removeOrphans(output_);
  removeEarlierIfcFile();
  writeFloorList(floorListPath(output_), floorList);
  wroteFloorList_ = true;

  MemberLists lists = readMemberLists(*conn_, excludeIds, mt_);
  beams_ = std::move(lists.beams);
  subBeams_ = std::move(lists.subBeams);
  columns_ = std::move(lists.columns);
  walls_ = std::move(lists.walls);
  slabDetails_ = std::move(lists.slabDetails);
  slabs_ = std::move(lists.slabs);
  cantiSlabs_ = std::move(lists.cantiSlabs);
  braces_ = std::move(lists.braces);
  wallHoles_ = std::move(lists.wallHoles);
  slabsByGrid_ = std::make_unique<Slab::SlabsByGrid>(slabs_);

  reportFloorsWithoutStandardFloor(floors_, stdFlrs);
  for (const Floor::StdFloorRow& stdFlr : stdFlrs) placeStandardFloor(stdFlr);

  enter(Stage::copies);
  std::stable_sort(
      stories_.begin(), stories_.end(),
      [](const PlacedStorey& a, const PlacedStorey& b) { return a.orderKey < b.orderKey; });
  createSpatialStructure();
  conn_->checkUnchanged();
  enter(Stage::writing);
  // Threaded, the text is made on every processor; the file is the same.
  ifcfile_->writeFile(output_, mt_ ? std::max(1U, std::thread::hardware_concurrency()) : 1U,
                      options_.stop);
}

void Run::removeEarlierIfcFile() {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(output_, error))) return;
  removedEarlierIfcFile_ = fs::remove(output_, error);
  if (error) {
    throw RunError("cannot remove " + output_.string() +
                   ", the IFC file of an earlier run, before writing the floor list beside it: " +
                   error.message());
  }
}

std::string Run::leftBehind() const {
  std::string note;
  if (removedEarlierIfcFile_) {
    note = output_.string() + " of an earlier run was removed";
  } else if (wroteFloorList_) {
    note = output_.string() + " not written";
  }
  if (wroteFloorList_) note += "; " + floorListPath(output_).string() + " is of this failed run";
  return note.empty() ? note : " (" + note + ")";
}

std::vector<ifc::Entity> Run::createObjsByStdFlr(const Floor::StdFloorRow& stdFlr) {
  enter(Stage::building);
  const Utils::ModelRows rows{*conn_, *wallHoles_, *slabDetails_, *slabsByGrid_,
                              beams_, subBeams_,   columns_,      walls_,
                              slabs_, cantiSlabs_, braces_};
  if (!floorRows_) floorRows_ = std::make_unique<Utils::FloorRowsIndex>(rows);
  return Utils::createObjsByStdFlr(*ctx_, rows, floorRows_->rowsOf(stdFlr.id), stdFlr, mt_);
}

void Run::placeStandardFloor(const Floor::StdFloorRow& stdFlr) {
  std::vector<Floor::FloorRow> sameFloors;
  std::vector<Floor::FloorRow> otherFloors;
  for (const Floor::FloorRow& f : floors_) {
    if (f.stdFlrId != stdFlr.id) continue;
    (f.height == stdFlr.height ? sameFloors : otherFloors).push_back(f);
  }
  if (sameFloors.empty() && otherFloors.empty()) return;
  auto byElevation = [](const Floor::FloorRow& a, const Floor::FloorRow& b) {
    return elevationOf(a) < elevationOf(b);
  };
  std::stable_sort(sameFloors.begin(), sameFloors.end(), byElevation);
  std::stable_sort(otherFloors.begin(), otherFloors.end(), byElevation);

  // Members at the standard height are built only for floors that will hold them, so that
  // no product is left without a storey; floors of other heights are built all the same.
  if (sameFloors.empty()) {
    std::cout << "标准层" << stdFlr.id.str() << "与其对应的实际楼层层高均不一致！" << std::endl;
  } else {
    const std::vector<ifc::Entity> objectlists = createObjsByStdFlr(stdFlr);
    enter(Stage::copies);
    if (sameFloors.size() > 1) mapObjects(*ctx_, objItemMap_, objectlists, mt_);
    addStorey(objectlists, sameFloors.front(), stdFlr);
    for (std::size_t i = 1; i < sameFloors.size(); ++i) {
      addStorey(cloneObjects(*ctx_, objItemMap_, objectlists, mt_), sameFloors[i], stdFlr);
    }
  }
  for (const Floor::FloorRow& flr : otherFloors) {
    Floor::StdFloorRow stdFlrUpdate = stdFlr;
    stdFlrUpdate.height = flr.height;
    const std::vector<ifc::Entity> rebuilt = createObjsByStdFlr(stdFlrUpdate);
    enter(Stage::copies);
    addStorey(rebuilt, flr, stdFlrUpdate);
  }
}

void Run::addStorey(const std::vector<ifc::Entity>& objectlists, const Floor::FloorRow& floor,
                    const Floor::StdFloorRow& stdFlr) {
  const StoreyFloor storeyFloor{floor.levelB, floor.height, floor.no, floor.name, stdFlr.no};
  stories_.push_back(
      {createFloorObj(*ctx_, objectlists, storeyFloor, mt_), storeyOrderKey(floor.no)});
}

void Run::createSpatialStructure() {
  ifc::Model& model = *ifcfile_;
  const ifc::Entity ownerHistory = ctx_->ownerHistory;

  const ifc::Entity building =
      model.create("IfcBuilding", {ifc::createGuid(), ownerHistory, "Building"});
  building.set("CompositionType", ifc::Enum{"ELEMENT"});
  // The relation needs at least one storey; a model without floors has none.
  if (!stories_.empty()) {
    ifc::List storeys;
    for (const PlacedStorey& s : stories_) storeys.emplace_back(s.storey);
    model.create("IfcRelAggregates", {ifc::createGuid(), ownerHistory, "buildingLinke",
                                      ifc::Unset{}, building, std::move(storeys)});
  }
  const ifc::Entity site = model.create("IfcSite", {ifc::createGuid(), ownerHistory, "Site"});
  site.set("CompositionType", ifc::Enum{"ELEMENT"});
  model.create("IfcRelAggregates", {ifc::createGuid(), ownerHistory, "siteLink", ifc::Unset{}, site,
                                    ifc::List{building}});

  const ifc::Entity project =
      model.create("IfcProject", {ifc::createGuid(), ownerHistory, "Project"});
  // The contexts themselves: a project may not list sub-contexts.
  ifc::List contexts;
  for (const ifc::Entity& c : model.by_type("IfcGeometricRepresentationContext")) {
    if (!c.is_a("IfcGeometricRepresentationSubContext")) contexts.emplace_back(c);
  }
  project.set("RepresentationContexts", std::move(contexts));
  project.set("UnitsInContext", model.by_type("IfcUnitAssignment").front());
  model.create("IfcRelAggregates", {ifc::createGuid(), ownerHistory, "projectLink", ifc::Unset{},
                                    project, ifc::List{site}});
}

}  // namespace

void Create(const std::filesystem::path& input, const std::filesystem::path& output, bool mt) {
  RunOptions options;
  options.mt = mt;
  Create(input, output, options);
}

void Create(const std::filesystem::path& input, const std::filesystem::path& output,
            const RunOptions& options) {
  Run run(input, output, options);
  try {
    run.execute();
  } catch (const std::exception& e) {
    const std::string note = run.leftBehind();
    // Whatever failed once the flag was raised failed because of it (a write cut short).
    if (options.stop != nullptr && options.stop->load()) {
      throw RunError("the run was interrupted" + note);
    }
    if (note.empty()) throw;
    throw RunError(e.what() + note);
  }
}

}  // namespace Verdamo
