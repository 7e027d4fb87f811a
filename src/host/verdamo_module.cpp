// Module Verdamo: Create, the conversion that the command-line program runs.

#include <pybind11/pybind11.h>

#include <atomic>
#include <filesystem>

#include "driver/verdamo.h"
#include "host/connection.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "host/host_stdout.h"
#include "host/interruptible_run.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

void create(const py::object& input, const py::object& output, bool mt) {
  // The driver's collaborators load when a conversion runs, not with the driver.
  for (const char* name : {"Sect", "Beam", "Palvek", "Utils"}) {
    static_cast<void>(importModule(name));
  }
  const std::filesystem::path in = pathArgument(input, "input");
  const std::filesystem::path out = pathArgument(output, "output");
  // Messages reach the script's sys.stdout; the host's other threads run meanwhile.
  StdoutToHost messages;
  // Ctrl-C or the host's shutdown stops the run at its next member.
  runInterruptibly([&](const std::atomic<bool>& stop) {
    Verdamo::RunOptions options;
    options.mt = mt;
    options.stop = &stop;
    Verdamo::Create(in, out, options);
  });
}

}  // namespace

void initVerdamo(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() = "The conversion driver.";
  py::register_exception<Verdamo::RunError>(m, "RunError", PyExc_RuntimeError);
  m.def("Create", &create, "input"_a, "output"_a, "mt"_a = false,
        "Converts the model database at input into the IFC file at output and writes the floor "
        "list beside it (output + '.json'). mt asks for threaded member building; a large "
        "input turns it on too.");
}

}  // namespace host
