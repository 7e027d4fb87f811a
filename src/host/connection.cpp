#include "host/connection.h"

#include <filesystem>
#include <string>

namespace py = pybind11;

namespace host {

namespace {

std::filesystem::path databaseFileOf(py::handle connection) {
  py::list rows = connection.attr("execute")("PRAGMA database_list").attr("fetchall")();
  for (py::handle row : rows) {
    py::sequence fields = py::reinterpret_borrow<py::sequence>(row);
    if (py::str(fields[1]).cast<std::string>() != "main") continue;
    const py::object file = fields[2];
    if (file.is_none() || py::str(file).cast<std::string>().empty()) break;
    return py::bytes(py::module_::import("os").attr("fsencode")(file)).cast<std::string>();
  }
  throw py::value_error("the sqlite3 connection has no database file (an in-memory database)");
}

bool isPath(py::handle value) {
  return py::isinstance<py::str>(value) || py::isinstance<py::bytes>(value) ||
         py::hasattr(value, "__fspath__");
}

std::string typeName(py::handle value) {
  return py::str(py::type::of(value).attr("__name__")).cast<std::string>();
}

}  // namespace

std::filesystem::path pathArgument(py::handle value, const char* name) {
  if (!isPath(value)) {
    throw py::type_error(std::string(name) + ": expected a path, got " + typeName(value));
  }
  return py::bytes(py::module_::import("os").attr("fsencode")(value)).cast<std::string>();
}

db::Database openConnection(py::handle conn) {
  if (py::isinstance(conn, py::module_::import("sqlite3").attr("Connection"))) {
    return db::Database::openReadOnly(databaseFileOf(conn));
  }
  if (!isPath(conn)) {
    throw py::type_error("conn: expected a model database path or an sqlite3 connection, got " +
                         typeName(conn));
  }
  return db::Database::openReadOnly(pathArgument(conn, "conn"));
}

}  // namespace host
