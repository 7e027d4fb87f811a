#pragma once
// The `conn` argument of the query functions: the model database as a path (str, bytes or
// os.PathLike) or as an open sqlite3 connection, whose main database file is opened again,
// read-only, with text decoded from GBK.

#include <pybind11/pybind11.h>

#include <filesystem>

#include "db/database.h"

namespace host {

// A file path given as str, bytes or os.PathLike, in the file system's own bytes. Throws
// TypeError naming the argument for anything else.
[[nodiscard]] std::filesystem::path pathArgument(pybind11::handle value, const char* name);

// Throws ValueError for a connection without a database file (":memory:") and TypeError for
// anything else that is neither a path nor a connection.
[[nodiscard]] db::Database openConnection(pybind11::handle conn);

}  // namespace host
