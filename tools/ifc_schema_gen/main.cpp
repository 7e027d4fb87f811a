// ifc_schema_gen INPUT.exp OUTPUT.cpp: writes the schema tables generated from INPUT.exp.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "express_gen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ifc_schema_gen INPUT.exp OUTPUT.cpp\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw ifc_schema_gen::GenError(std::string("cannot read ") + argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    const std::filesystem::path input(argv[1]), output(argv[2]);
    const std::string inputName = input.filename().string();
    const std::string command = "ifc_schema_gen " + inputName + " " + output.filename().string();
    const std::string generated = ifc_schema_gen::generate(text.str(), inputName, command);
    std::ofstream out(output, std::ios::binary);
    out << generated;
    if (!out.flush()) throw ifc_schema_gen::GenError("cannot write " + output.string());
  } catch (const std::exception& e) {
    std::cerr << "ifc_schema_gen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
