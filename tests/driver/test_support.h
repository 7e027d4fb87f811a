#pragma once
// Scratch folders, file reading and runs of the command-line program for the driver's
// end-to-end tests.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "modeldb/modeldb.h"

namespace driver_test {

// A fresh folder per test, removed afterwards.
class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps apart runs of the same test from two build trees at once.
    dir = std::filesystem::temp_directory_path() /
          (std::string("sdb2ifc_") + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
};

inline std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs the converter in the scratch folder with the given (already quoted) arguments; setup
// is shell text run first in the same shell (a file size limit, say).
class CommandLine : public ScratchDir {
 protected:
  Outcome run(const std::string& arguments, const std::string& setup = "") const {
    const std::string command = "cd '" + dir.string() + "' && " + setup +
                                " '" SDB2IFC_EXECUTABLE "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(dir / "stdout.txt"),
            readText(dir / "stderr.txt")};
  }

  // A model of one floor in the scratch folder.
  void writeModel(const std::string& name, const std::string& floorName = "1F") const {
    modeldb::ModelDb m;
    const auto sf = m.add(modeldb::StdFloor{.height = 3000});
    m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .name = floorName});
    m.write(dir / name);
  }
};

}  // namespace driver_test
