// Module Verdamo: Create, the conversion that the command-line program runs.

#include <pybind11/pybind11.h>

#include <atomic>
#include <exception>
#include <filesystem>

#include "db/database.h"
#include "driver/verdamo.h"
#include "host/connection.h"
#include "host/entry_points.h"
#include "host/errors.h"
#include "host/host_imports.h"
#include "host/host_stdout.h"
#include "host/interruptible_run.h"
#include "host/python_lock.h"
#include "host/run_context.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace host {

namespace {

// Verdamo.RunError, and Verdamo.DatabaseError, both a RunError and an sqlite3.DatabaseError.
PyObject* runErrorType = nullptr;
PyObject* databaseErrorType = nullptr;

// Every fault of the run as one of the two, with its message; Python's own exceptions (a
// KeyboardInterrupt, a fault of the script's config) pass as they are.
[[noreturn]] void raiseRunFault(const std::exception_ptr& fault) {
  try {
    std::rethrow_exception(fault);
  } catch (const py::error_already_set&) {
    throw;
  } catch (const py::builtin_exception&) {
    throw;
  } catch (const db::Error& e) {
    PyErr_SetString(databaseErrorType, e.what());
  } catch (const std::exception& e) {
    PyErr_SetString(runErrorType, e.what());
  } catch (...) {
    PyErr_SetString(runErrorType, "unknown failure");
  }
  throw py::error_already_set();
}

void create(const py::object& input, const py::object& output, bool mt) {
  // The driver's collaborators load when a conversion runs, not with the driver.
  for (const char* name : {"Sect", "Beam", "Palvek", "Utils"}) {
    static_cast<void>(importModule(name));
  }
  const std::filesystem::path in = pathArgument(input, "input");
  const std::filesystem::path out = pathArgument(output, "output");
  Verdamo::RunOptions options;
  options.mt = mt;
  // config holds the run's context from the start of the run on, and its profiles once its
  // members are built.
  std::shared_ptr<HostModel> runModel;
  const Utils::RunContext* runContext = nullptr;
  options.onRunContext = [&](const std::shared_ptr<ifc::Model>& model,
                             const Utils::RunContext& context) {
    runModel = withPythonLock([&] { return assignRunContext(model, context); });
    runContext = &context;
  };
  options.onStage = [&](Verdamo::Stage stage) {
    if (stage != Verdamo::Stage::writing || runContext == nullptr) return;
    withPythonLock([&] { storeRunProfiles(runModel, runContext->profiles); });
  };
  // Messages reach the script's sys.stdout; the host's other threads run meanwhile.
  StdoutToHost messages;
  try {
    // Ctrl-C or the host's shutdown stops the run at its next member.
    runInterruptibly([&](const std::atomic<bool>& stop) {
      options.stop = &stop;
      Verdamo::Create(in, out, options);
    });
  } catch (...) {
    raiseRunFault(std::current_exception());  // with the lock held again
  }
}

}  // namespace

void initVerdamo(PyObject* module) {
  registerCommonErrors();
  py::module_ m = py::reinterpret_borrow<py::module_>(module);
  m.doc() =
      "The conversion driver.\n\n"
      "Create raises Verdamo.RunError (a RuntimeError) for every fault of the run; a fault of\n"
      "the model database is a Verdamo.DatabaseError, which is both a RunError and an\n"
      "sqlite3.DatabaseError. Arguments of the wrong kind raise TypeError, a path with a NUL\n"
      "byte ValueError; KeyboardInterrupt passes as it is.";
  runErrorType = py::register_exception<Verdamo::RunError>(m, "RunError", PyExc_RuntimeError).ptr();
  const py::tuple bases = py::make_tuple(py::reinterpret_borrow<py::object>(runErrorType),
                                         py::module_::import("sqlite3").attr("DatabaseError"));
  databaseErrorType = PyErr_NewException("Verdamo.DatabaseError", bases.ptr(), nullptr);
  if (databaseErrorType == nullptr) throw py::error_already_set();
  m.add_object("DatabaseError", py::handle(databaseErrorType));
  m.def("Create", &create, "input"_a, "output"_a, "mt"_a = false,
        "Converts the model database at input into the IFC file at output and writes the floor "
        "list beside it (output + '.json'). mt asks for threaded member building; a large "
        "input turns it on too. config receives the run's context (origin, directions, "
        "placement and dict_profile) for builders called afterwards.");
}

}  // namespace host
