// Writes a synthetic model database of a large regular building, for benchmarks and
// reliability tests (see modeldb/synthetic.h).
//
//   sdb_synthetic [--preset small|medium|large] [--std-floors N] [--floors N]
//                 [--bays-x N] [--bays-y N] output.sdb

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "modeldb/synthetic.h"

namespace {

int positive(const char* text, const char* option) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (*end != '\0' || v < 1 || v > 100000) {
    throw std::invalid_argument(std::string(option) + " needs a positive whole number, not " +
                                text);
  }
  return static_cast<int>(v);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    modeldb::SyntheticParams p;
    std::filesystem::path out;
    for (int i = 1; i < argc; ++i) {
      const std::string_view a = argv[i];
      auto value = [&]() -> const char* {
        if (i + 1 >= argc) throw std::invalid_argument(std::string(a) + " needs a value");
        return argv[++i];
      };
      if (a == "--preset") {
        p = modeldb::syntheticPreset(value());
      } else if (a == "--std-floors") {
        p.stdFloors = positive(value(), "--std-floors");
      } else if (a == "--floors") {
        p.floors = positive(value(), "--floors");
      } else if (a == "--bays-x") {
        p.baysX = positive(value(), "--bays-x");
      } else if (a == "--bays-y") {
        p.baysY = positive(value(), "--bays-y");
      } else if (!a.empty() && a[0] != '-' && out.empty()) {
        out = a;
      } else {
        throw std::invalid_argument("unknown argument " + std::string(a));
      }
    }
    if (out.empty()) {
      std::cerr << "usage: sdb_synthetic [--preset small|medium|large] [--std-floors N] "
                   "[--floors N] [--bays-x N] [--bays-y N] output.sdb\n";
      return 2;
    }
    modeldb::writeSynthetic(p, out);
    std::cout << "wrote " << out.string() << " (" << std::filesystem::file_size(out) << " bytes)\n";
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
