// What a run reads and what it leaves behind, through the command-line program: model
// databases in the states a design program leaves them in (WAL mode with or without side
// files, locked while it saves, with the journal of an interrupted write, at a long path, in
// a folder the user cannot write), failed writes, failed and interrupted runs, what a killed
// run left, and output paths that name no file or a side file of the model.
// The input's bytes are the same after every run.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "modeldb/modeldb.h"
#include "modeldb/synthetic.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using driver_test::Outcome;
using driver_test::readText;

// A connection of another program to a model database, as the design program holds one.
class Writer {
 public:
  explicit Writer(const fs::path& path) {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK) << path;
  }
  ~Writer() { sqlite3_close(db_); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void exec(const std::string& sql) const {
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK)
        << (err ? err : "") << " in: " << sql;
    sqlite3_free(err);
  }

 private:
  sqlite3* db_ = nullptr;
};

// Turns the model into WAL mode and renames its floor in a commit that stays in the -wal file:
// only a reader of the WAL sees the new name.
constexpr const char* kCommitToTheWal =
    "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
    "UPDATE tblFloor SET Name = 'in the WAL'";

// The file size limit (ulimit -f, in blocks of 512 or 1024 bytes) that stands in for a full
// disk: the floor list of a one-floor model fits under it, no IFC file does.
constexpr const char* kFullDisk = "ulimit -f 2 &&";

class RunFiles : public driver_test::CommandLine {
 protected:
  // The bytes of the named files of the scratch folder.
  std::map<std::string, std::string> contents(const std::vector<std::string>& names) const {
    std::map<std::string, std::string> bytes;
    for (const std::string& name : names) bytes[name] = readText(dir / name);
    return bytes;
  }

  // As run(), with shell text `watch` run beside the program, which it may signal as $$.
  Outcome runWatched(const std::string& arguments, const std::string& watch) const {
    // The program replaces the shell, so $$ is its process id.
    const std::string command = "cd '" + dir.string() + "' && { (" + watch + " $$) & exec '" +
                                SDB2IFC_EXECUTABLE "' " + arguments +
                                " >stdout.txt 2>stderr.txt; }";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(dir / "stdout.txt"),
            readText(dir / "stderr.txt")};
  }

  // The files of a folder of the scratch folder, but for the runs' own output streams.
  std::set<std::string> listing(const fs::path& folder = {}) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir / folder)) {
      const std::string name = entry.path().filename().string();
      if (name != "stdout.txt" && name != "stderr.txt") names.insert(name);
    }
    return names;
  }
};

// A failure is one line on standard error holding every part, exit status 1 and no elapsed time.
void expectOneLineFailure(const Outcome& o, std::initializer_list<std::string> parts) {
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
  for (const std::string& part : parts) {
    EXPECT_NE(o.err.find(part), std::string::npos) << "'" << part << "' not in: " << o.err;
  }
  EXPECT_EQ(o.out.find("总耗时为"), std::string::npos) << o.out;
}

TEST_F(RunFiles, WalDatabaseConvertsWithOrWithoutItsSideFilesAndCreatesNoneWhenItHasNone) {
  struct Prepared {
    std::vector<std::string> unchanged;  // the input first
    std::unique_ptr<Writer> writer;      // kept open during the run
  };
  struct Case {
    const char* what;
    std::function<Prepared()> prepare;
    std::set<std::string> created;  // beside the input, but for the outputs
  };
  const Case cases[] = {
      {"no side files",
       [&] {
         writeModel("alone.sdb");
         modeldb::ModelDb::exec(dir / "alone.sdb", kCommitToTheWal);  // checkpointed on close
         return Prepared{{"alone.sdb"}, nullptr};
       },
       {}},
      {"a writer with the files open",
       [&] {
         writeModel("open.sdb");
         auto writer = std::make_unique<Writer>(dir / "open.sdb");
         writer->exec(kCommitToTheWal);
         return Prepared{{"open.sdb", "open.sdb-wal"}, std::move(writer)};
       },
       {}},
      {"the -wal file of a stopped writer, no -shm file",
       [&] {
         writeModel("live.sdb");
         const Writer writer(dir / "live.sdb");
         writer.exec(kCommitToTheWal);
         fs::copy_file(dir / "live.sdb", dir / "stopped.sdb");
         fs::copy_file(dir / "live.sdb-wal", dir / "stopped.sdb-wal");
         return Prepared{{"stopped.sdb", "stopped.sdb-wal"}, nullptr};
       },
       // The WAL cannot be read without its index.
       {"stopped.sdb-shm"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Prepared prepared = c.prepare();
    const std::string& input = prepared.unchanged.front();
    const auto before = contents(prepared.unchanged);
    const auto filesBefore = listing();
    const Outcome o = run(input + " " + input + ".ifc");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(readText(dir / (input + ".ifc.json")).find("\"Name\": \"in the WAL\""),
              std::string::npos);
    EXPECT_EQ(contents(prepared.unchanged), before);
    std::set<std::string> expected = filesBefore;
    expected.insert({input + ".ifc", input + ".ifc.json"});
    expected.insert(c.created.begin(), c.created.end());
    EXPECT_EQ(listing(), expected);
  }
}

TEST_F(RunFiles, AWriterHoldingTheLockIsWaitedForAndEndsTheRunOnlyWhenItKeepsIt) {
  using namespace std::chrono_literals;
  for (const bool releasedAfterASecond : {true, false}) {
    SCOPED_TRACE(releasedAfterASecond ? "released after a second" : "held on");
    writeModel("model.sdb");
    const auto before = contents({"model.sdb"});
    const std::string output = releasedAfterASecond ? "waited.ifc" : "locked.ifc";
    Writer writer(dir / "model.sdb");
    writer.exec("BEGIN EXCLUSIVE");
    std::thread release;
    if (releasedAfterASecond) {
      release = std::thread([&] {
        std::this_thread::sleep_for(1s);
        writer.exec("ROLLBACK");
      });
    }
    const Outcome o = run("model.sdb " + output);
    if (release.joinable()) {
      release.join();
      EXPECT_EQ(o.status, 0) << o.err;
      EXPECT_TRUE(fs::exists(dir / output));
    } else {
      writer.exec("ROLLBACK");
      expectOneLineFailure(o, {"model.sdb", "database is locked", "another program is writing"});
      EXPECT_FALSE(fs::exists(dir / (output + ".json")));
    }
    EXPECT_EQ(contents({"model.sdb"}), before);
  }
}

TEST_F(RunFiles, AHotJournalIsExplainedAndNeverRolledBack) {
  writeModel("model.sdb");
  {
    // A write too large for the cache goes to the file before its commit, the old pages
    // safe in the journal; copied now, the pair is a model whose program stopped mid-write.
    const Writer writer(dir / "model.sdb");
    writer.exec(
        "PRAGMA cache_size = 1; BEGIN; CREATE TABLE padding(x);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
        "INSERT INTO padding SELECT randomblob(100) FROM n");
    fs::copy_file(dir / "model.sdb", dir / "stopped.sdb");
    fs::copy_file(dir / "model.sdb-journal", dir / "stopped.sdb-journal");
    writer.exec("ROLLBACK");
  }
  const auto before = contents({"stopped.sdb", "stopped.sdb-journal"});
  const Outcome o = run("stopped.sdb out.ifc");
  expectOneLineFailure(o, {"'stopped.sdb'", "was being written when its program stopped",
                           "'stopped.sdb-journal'", "roll the journal back"});
  EXPECT_EQ(contents({"stopped.sdb", "stopped.sdb-journal"}), before);
  EXPECT_FALSE(fs::exists(dir / "out.ifc"));
  EXPECT_FALSE(fs::exists(dir / "out.ifc.json"));
}

TEST_F(RunFiles, AModelDatabaseAtAPathLongerThanSqliteTakesConverts) {
  fs::path folder;
  for (int i = 0; i < 9; ++i) folder /= "结构设计模型文件夹结构设计模型文件夹";
  fs::create_directories(dir / folder);
  ASSERT_GT(fs::absolute(dir / folder / "model.sdb").native().size(), 512U);
  // Quoted for the shell, up to the file name.
  const std::string quotedFolder = std::string("'").append(folder.string()).append("/");

  struct Case {
    const char* what;
    std::vector<std::string> files;  // written beside the scratch folder, moved into the long one
    const char* floorName;
  };
  const Case cases[] = {
      {"rollback journal", {"plain.sdb"}, "1F"},
      {"WAL left by a stopped writer", {"wal.sdb", "wal.sdb-wal"}, "in the WAL"},
  };
  writeModel("plain.sdb");
  {
    writeModel("live.sdb");
    const Writer writer(dir / "live.sdb");
    writer.exec(kCommitToTheWal);
    fs::copy_file(dir / "live.sdb", dir / "wal.sdb");
    fs::copy_file(dir / "live.sdb-wal", dir / "wal.sdb-wal");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> moved;
    for (const std::string& file : c.files) {
      fs::rename(dir / file, dir / folder / file);
      moved.push_back((folder / file).string());
    }
    const auto before = contents(moved);
    const Outcome o = run(quotedFolder + c.files[0] + "' " + quotedFolder + "out.ifc'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(readText(dir / folder / "out.ifc.json")
                  .find("\"Name\": \"" + std::string(c.floorName) + "\""),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dir / folder / "out.ifc"));
    EXPECT_EQ(contents(moved), before);
  }
}

TEST_F(RunFiles, AFullDiskLeavesNoIfcFileAndNamesTheFileAndTheReason) {
  writeModel("model.sdb");
  const auto before = contents({"model.sdb"});
  const Outcome o = run("model.sdb out.ifc", kFullDisk);
  expectOneLineFailure(o, {"cannot write out.ifc: " + std::string(std::strerror(EFBIG)) +
                           " (out.ifc not written; out.ifc.json is of this failed run)"});
  EXPECT_EQ(contents({"model.sdb"}), before);
  // Neither the IFC file nor the file it was written to first.
  EXPECT_EQ(listing(), (std::set<std::string>{"model.sdb", "out.ifc.json"}));
}

TEST_F(RunFiles, AFailedRunLeavesNoIfcFileOfAnEarlierRunBesideANewFloorList) {
  struct Case {
    const char* what;
    const char* sql;    // makes the new model fail
    const char* setup;  // shell text before the run
    const char* message;
    bool failsBeforeTheFloorList;
  };
  const Case cases[] = {
      {"a missing table", "DROP TABLE tblStdFlr", "", "no such table: tblStdFlr", true},
      {"a floor without elevation", "UPDATE tblFloor SET LevelB = NULL", "",
       "elevation NULL is not a finite number", false},
      {"a full disk", "", kFullDisk, std::strerror(EFBIG), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeModel("earlier.sdb", "earlier");
    ASSERT_EQ(run("earlier.sdb out.ifc").status, 0);
    const auto earlier = contents({"out.ifc", "out.ifc.json"});

    writeModel("model.sdb", "new");
    if (*c.sql != '\0') modeldb::ModelDb::exec(dir / "model.sdb", c.sql);
    const auto before = contents({"model.sdb"});
    const Outcome o = run("model.sdb out.ifc", c.setup);
    EXPECT_EQ(contents({"model.sdb"}), before);
    if (c.failsBeforeTheFloorList) {
      expectOneLineFailure(o, {c.message});
      EXPECT_EQ(contents({"out.ifc", "out.ifc.json"}), earlier) << "the earlier pair changed";
    } else {
      expectOneLineFailure(
          o, {c.message,
              "(out.ifc of an earlier run was removed; out.ifc.json is of this failed run)"});
      EXPECT_FALSE(fs::exists(dir / "out.ifc"));
      EXPECT_NE(readText(dir / "out.ifc.json").find("\"new\""), std::string::npos);
    }
  }
}

TEST_F(RunFiles, AnOutputPathThatNamesNoFileIsRefusedBeforeAnythingIsWritten) {
  writeModel("model.sdb");
  fs::create_directory(dir / "folder");
  fs::create_directory(dir / "taken.ifc.json");
  const auto before = contents({"model.sdb"});
  const bool devNullJsonExisted = fs::exists("/dev/null.json");
  const std::pair<const char*, const char*> cases[] = {
      {"''", "the output path is empty"},
      {"folder/", "output folder/ names a folder, not a file"},
      {"folder/.", "output folder/. names a folder, not a file"},
      {"folder", "output folder is a folder, not a file"},
      {"taken.ifc", "output taken.ifc.json is a folder, not a file"},
      {"/dev/null", "output /dev/null is not a regular file"},
  };
  for (const auto& [output, message] : cases) {
    SCOPED_TRACE(output);
    const auto files = listing();
    const auto inFolder = listing("folder");
    expectOneLineFailure(run("model.sdb " + std::string(output)), {message});
    EXPECT_EQ(listing(), files);
    EXPECT_EQ(listing("folder"), inFolder);
    EXPECT_EQ(contents({"model.sdb"}), before);
  }
  if (!devNullJsonExisted) {
    EXPECT_FALSE(fs::exists("/dev/null.json"));
  }
}

}  // namespace

TEST_F(RunFiles, TheModelsSideFilesAreRefusedAsOutputBeforeAnythingIsWritten) {
  // A commit that is only in the -wal file: replacing it would lose the change.
  writeModel("model.sdb");
  const Writer writer(dir / "model.sdb");
  writer.exec(kCommitToTheWal);
  fs::create_directory(dir / "sub");
  fs::create_symlink("../model.sdb-wal", dir / "sub" / "link.ifc.json");
  const std::vector<std::string> model = {"model.sdb", "model.sdb-wal", "model.sdb-shm"};
  const std::pair<const char*, const char*> cases[] = {
      {"model.sdb-wal", "output model.sdb-wal would overwrite"},
      {"./sub/../model.sdb-shm", "output ./sub/../model.sdb-shm would overwrite"},
      {"model.sdb-journal", "output model.sdb-journal would overwrite"},
      {"sub/link.ifc", "output sub/link.ifc.json would overwrite"},
  };
  for (const auto& [output, message] : cases) {
    SCOPED_TRACE(output);
    const auto before = contents(model);
    const auto files = listing();
    const auto inSub = listing("sub");
    expectOneLineFailure(run("model.sdb " + std::string(output)),
                         {message, "a side file of the model database model.sdb"});
    EXPECT_TRUE(contents(model) == before) << "the model's files changed";
    EXPECT_EQ(listing(), files);
    EXPECT_EQ(listing("sub"), inSub);
  }
}

TEST_F(RunFiles, ASignalEndsTheRunWithOneLineAndLeavesNoTemporaryFile) {
  // Large enough that the run is still going when the signal comes.
  modeldb::writeSynthetic({.stdFloors = 8, .floors = 8, .baysX = 30, .baysY = 24},
                          dir / "model.sdb");
  for (const char* signal : {"TERM", "INT"}) {
    SCOPED_TRACE(signal);
    fs::remove(dir / "out.ifc.json");
    // The signal comes once the floor list is there.
    const std::string watch = std::string("i=0; while [ ! -e out.ifc.json ] && [ $i -lt 6000 ];"
                                          " do sleep 0.01; i=$((i+1)); done; kill -") +
                              signal;
    const Outcome o = runWatched("model.sdb out.ifc", watch);
    expectOneLineFailure(o, {std::string("SIG") + signal + ": the run was interrupted (out.ifc not "
                             "written; out.ifc.json is of this failed run)"});
    EXPECT_EQ(listing(), (std::set<std::string>{"model.sdb", "out.ifc.json"}));
  }
}

TEST_F(RunFiles, TemporaryFilesOfAKilledRunAreRemovedByTheNextRunToTheSameOutput) {
  writeModel("model.sdb");
  // The process id of a process that has ended.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getpid());
  const std::pair<std::string, bool> cases[] = {
      {".out.ifc." + dead + ".0.tmp", true},
      {".out.ifc.json." + dead + ".3.tmp", true},
      {".out.ifc." + alive + ".0.tmp", false},   // a run still going
      {".other.ifc." + dead + ".0.tmp", false},  // of another output
      {".out.ifc." + dead + ".tmp", false},      // not a name the program gives
  };
  for (const auto& [name, removed] : cases) std::ofstream(dir / name) << "left";
  // Also by a run that fails before it writes the IFC file.
  modeldb::ModelDb::exec(dir / "model.sdb", "UPDATE tblFloor SET LevelB = NULL");
  expectOneLineFailure(run("model.sdb out.ifc"), {"elevation NULL is not a finite number"});
  for (const auto& [name, removed] : cases) {
    EXPECT_EQ(fs::exists(dir / name), !removed) << name;
  }
}

TEST_F(RunFiles, AWalModelWithoutItsIndexInAFolderTheUserCannotWriteIsExplained) {
  // Root may write anywhere: the program runs as root without the capabilities that pass by
  // file permissions then. Still the owner of the scratch folder, it reaches it whatever the
  // temporary folder's mode, where another user could not.
  std::string withoutOverride;
  if (::geteuid() == 0) {
    withoutOverride = "setpriv --bounding-set=-dac_override,-dac_read_search ";
    const int probe =
        std::system(("cd '" + dir.string() + "' && mkdir probe && chmod 555 probe && " +
                     withoutOverride + "sh -c '! touch probe/x' 2>/dev/null")
                        .c_str());
    fs::permissions(dir / "probe", fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir / "probe");
    if (probe != 0) GTEST_SKIP() << "cannot drop the file-permission capabilities with setpriv";
  }
  {
    writeModel("live.sdb");
    const Writer writer(dir / "live.sdb");
    writer.exec(kCommitToTheWal);
    fs::create_directory(dir / "models");
    fs::copy_file(dir / "live.sdb", dir / "models" / "stopped.sdb");
    fs::copy_file(dir / "live.sdb-wal", dir / "models" / "stopped.sdb-wal");
  }
  fs::create_directory(dir / "out");
  fs::permissions(dir / "models", fs::perms::owner_write, fs::perm_options::remove);
  const auto before = contents({"models/stopped.sdb", "models/stopped.sdb-wal"});
  const Outcome o = run("models/stopped.sdb out/out.ifc", withoutOverride);
  fs::permissions(dir / "models", fs::perms::owner_all, fs::perm_options::add);
  expectOneLineFailure(o, {"'models/stopped.sdb'", "unable to open database file",
                           "changes in its -wal file 'models/stopped.sdb-wal'",
                           "copy the model to a writable folder or open it in its program once"});
  EXPECT_EQ(contents({"models/stopped.sdb", "models/stopped.sdb-wal"}), before);
  EXPECT_EQ(listing("models"), (std::set<std::string>{"stopped.sdb", "stopped.sdb-wal"}));
  EXPECT_EQ(listing("out"), std::set<std::string>{});
}
