#pragma once
// The conversion run: from a model database to the IFC file and the floor list beside it.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

namespace ifc {
class Model;
}
namespace Utils {
struct RunContext;
}

namespace Verdamo {

// A fault of the run itself (unreadable input, unwritable output); the message names what
// failed. Faults of the layers below (db::Error, ifc::Error, ...) reach the caller as they are
// until the floor list is written; after that, as a RunError whose message also says what
// the run left behind.
class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Input files larger than this switch the member builders to threaded mode.
inline constexpr std::uintmax_t multithreadSize = 20971520;

// Converts the model database at input into the IFC file at output (IFC4 when the model holds
// tapered sections, else IFC2X3) and writes the floor list to output + ".json". mt asks for
// threaded member building; a large input turns it on too. Progress and warnings go to
// standard output. Throws on any fault of the run. The floor list is written early, once the
// floors are read, and an IFC file of an earlier run at output is removed just before; the
// IFC file is written last and appears only whole. So after a fault either both files of an
// earlier run are as they were, or there is no IFC file beside the floor list.
void Create(const std::filesystem::path& input, const std::filesystem::path& output,
            bool mt = false);

// The stages of a run, in the order they first begin: opening and reading the database,
// building the members of a standard floor, placing them into storeys (mapping, copies,
// storeys and the spatial structure), writing the IFC file. Building and placing alternate
// once per standard floor.
enum class Stage { reading, building, copies, writing };

struct RunOptions {
  bool mt = false;  // as Create's mt
  // Raised from another thread, ends the run at the next member, stage or block of the IFC
  // file with RunError "the run was interrupted" and what it left (no IFC file, no temporary
  // file; the floor list rule above stands).
  const std::atomic<bool>* stop = nullptr;
  // Keeps every member on the calling thread, however large the input (to compare the modes).
  bool neverThreaded = false;
  // Called as each stage begins, on the calling thread (for benchmarks).
  std::function<void(Stage)> onStage;
  // Called on the calling thread once the run's model and its run context are made, before
  // anything is read into them (a host hands them to its scripts, which may keep the model).
  std::function<void(const std::shared_ptr<ifc::Model>&, const Utils::RunContext&)> onRunContext;
};

// Create with the options above.
void Create(const std::filesystem::path& input, const std::filesystem::path& output,
            const RunOptions& options);

}  // namespace Verdamo
