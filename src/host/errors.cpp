#include "host/errors.h"

#include <exception>
#include <mutex>

#include "db/database.h"
#include "db/value.h"
#include "members/run_context.h"
#include "text/number_text.h"

namespace py = pybind11;

namespace host {

void registerCommonErrors() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Registered before every module's own exception types, so tried after them: pybind11
    // tries the translators registered last first.
    py::register_exception_translator([](std::exception_ptr p) {
      try {
        std::rethrow_exception(p);
      } catch (const db::Error& e) {
        py::object error = py::module_::import("sqlite3").attr("DatabaseError");
        PyErr_SetString(error.ptr(), e.what());
      } catch (const db::TypeError& e) {
        PyErr_SetString(PyExc_TypeError, e.what());
      } catch (const text::ParseError& e) {
        PyErr_SetString(PyExc_ValueError, e.what());
      } catch (const Utils::RunContextError& e) {
        PyErr_SetString(PyExc_RuntimeError, e.what());
      } catch (const py::error_already_set&) {
        throw;
      } catch (const py::builtin_exception&) {
        throw;
      } catch (const std::exception&) {
        throw;  // pybind11's own translation: ValueError, IndexError, RuntimeError, ...
      } catch (...) {
        PyErr_SetString(PyExc_RuntimeError, "unknown failure");
      }
    });
  });
}

}  // namespace host
