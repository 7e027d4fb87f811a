#include "host/connection.h"

#include <cstdint>
#include <string>
#include <utility>

#include "host/rows.h"

namespace py = pybind11;

namespace host {

namespace {

bool isPath(py::handle value) {
  return py::isinstance<py::str>(value) || py::isinstance<py::bytes>(value) ||
         py::hasattr(value, "__fspath__");
}

std::string typeName(py::handle value) {
  return py::str(py::type::of(value).attr("__name__")).cast<std::string>();
}

// The script's connection, read with a cursor of our own: rows as plain tuples whatever the
// connection's row_factory, text as its stored bytes for the database layer to decode.
class ScriptConnection : public db::RowSource {
 public:
  explicit ScriptConnection(py::object conn) : conn_(std::move(conn)) {}
  ScriptConnection(const ScriptConnection&) = delete;
  ScriptConnection& operator=(const ScriptConnection&) = delete;
  ~ScriptConnection() override {
    const py::gil_scoped_acquire locked;
    conn_ = py::object();
  }

  void forEach(std::string_view sql, const std::vector<db::Value>& params,
               const std::function<void(db::Row&)>& visit) const override {
    const py::gil_scoped_acquire locked;
    py::tuple arguments(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) arguments[i] = toPython(params[i]);
    const py::object cursor = conn_.attr("cursor")();
    cursor.attr("row_factory") = py::none();
    // text_factory belongs to the connection and is read as each row is fetched; the script's
    // own setting is back as soon as the last row is read (or the reading fails).
    struct Restore {
      py::object conn;
      py::object cursor;
      py::object textFactory;
      ~Restore() {
        PyObject *type = nullptr, *value = nullptr, *trace = nullptr;
        PyErr_Fetch(&type, &value, &trace);
        if (PyObject_SetAttrString(conn.ptr(), "text_factory", textFactory.ptr()) != 0 ||
            !PyObject_CallMethod(cursor.ptr(), "close", nullptr)) {
          PyErr_Clear();
        }
        PyErr_Restore(type, value, trace);
      }
    } restore{conn_, cursor, conn_.attr("text_factory")};
    conn_.attr("text_factory") =
        py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(&PyBytes_Type));
    cursor.attr("execute")(py::str(sql.data(), sql.size()), arguments);
    db::Row row;
    for (py::handle fetched : cursor) {
      const py::tuple fields = py::reinterpret_borrow<py::tuple>(fetched);
      row.resize(fields.size());
      for (std::size_t c = 0; c < fields.size(); ++c) row[c] = valueOf(fields[c], c, sql);
      visit(row);
    }
  }

 private:
  static db::Value valueOf(py::handle field, std::size_t column, std::string_view sql) {
    if (field.is_none()) return {};
    if (PyLong_CheckExact(field.ptr())) return field.cast<std::int64_t>();
    if (PyFloat_CheckExact(field.ptr())) return field.cast<double>();
    if (PyBytes_Check(field.ptr())) return field.cast<std::string>();
    // A converter of the connection (detect_types) made something else of the stored value.
    throw py::type_error("column " + std::to_string(column) + " came back as a " + typeName(field) +
                         ", not a stored value, in: " + std::string(sql));
  }

  py::object conn_;
};

}  // namespace

std::filesystem::path pathArgument(py::handle value, const char* name) {
  if (!isPath(value)) {
    throw py::type_error(std::string(name) + ": expected a path, got " + typeName(value));
  }
  std::string bytes = py::bytes(py::module_::import("os").attr("fsencode")(value));
  if (bytes.find('\0') != std::string::npos) throw py::value_error("embedded null byte");
  return bytes;
}

db::Database openConnection(py::handle conn) {
  if (py::isinstance(conn, py::module_::import("sqlite3").attr("Connection"))) {
    return db::Database::reading(
        std::make_shared<ScriptConnection>(py::reinterpret_borrow<py::object>(conn)),
        "the script's sqlite3 connection");
  }
  if (!isPath(conn)) {
    throw py::type_error("conn: expected a model database path or an sqlite3 connection, got " +
                         typeName(conn));
  }
  return db::Database::openReadOnly(pathArgument(conn, "conn"));
}

}  // namespace host
