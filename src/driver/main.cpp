// Command-line program: converts one model database into an IFC file and its floor list and
// prints how long the conversion took.

#include <chrono>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "driver/stop_signals.h"
#include "driver/verdamo.h"
#include "text/number_text.h"

namespace {

// The sample model database of the source tree; from another folder the sample is looked
// for relative to the current folder.
std::filesystem::path defaultInput() {
  const std::filesystem::path inSourceTree = SDB2IFC_DEFAULT_INPUT;
  if (std::filesystem::exists(inSourceTree)) return inSourceTree;
  return "examples/sample.sdb";
}

double secondsSinceEpoch() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  // Beyond a file size limit (ulimit -f) a write fails with "File too large" and the run ends
  // with that line, instead of the signal killing the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  Verdamo::StopSignals signals;
  try {
    std::filesystem::path input = defaultInput();
    std::filesystem::path output = "1.ifc";
    if (argc > 2) {
      input = argv[1];
      output = argv[2];
    } else {
      std::cout << "usage: " << (argc > 0 ? argv[0] : "sdb2ifc") << " input_path output_path"
                << std::endl;
      // A lone argument is the input; converting the default instead would surprise.
      if (argc == 2) input = argv[1];
    }
    std::cout << input.stem().string() << std::endl;

    const double start = secondsSinceEpoch();
    Verdamo::RunOptions options;
    options.stop = &signals.flag();
    Verdamo::Create(input, output, options);
    signals.settle();
    const double end = secondsSinceEpoch();
    std::cout << "总耗时为：" << text::repr(end - start) << std::endl;
    return 0;
  } catch (const std::exception& e) {
    signals.settle();
    std::cout.flush();
    std::cerr << "sdb2ifc: ";
    if (signals.received() != nullptr) std::cerr << signals.received() << ": ";
    std::cerr << e.what() << std::endl;
  } catch (...) {
    signals.settle();
    std::cout.flush();
    std::cerr << "sdb2ifc: unknown failure" << std::endl;
  }
  return 1;
}
