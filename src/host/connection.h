#pragma once
// The `conn` argument of the query functions: the model database as a path (str, bytes or
// os.PathLike), opened read-only, or an open sqlite3 connection, read through itself so that
// the rows are what that connection sees (its uncommitted changes, temporary and attached
// tables). Text is decoded from GBK either way.

#include <pybind11/pybind11.h>

#include <filesystem>

#include "db/database.h"

namespace host {

// A file path given as str, bytes or os.PathLike, in the file system's own bytes. Throws
// TypeError naming the argument for anything else, ValueError("embedded null byte") for a
// path with a NUL byte.
[[nodiscard]] std::filesystem::path pathArgument(pybind11::handle value, const char* name);

// Throws TypeError for anything that is neither a path nor a connection. A connection is read
// with the interpreter lock held, its text_factory set to bytes meanwhile.
[[nodiscard]] db::Database openConnection(pybind11::handle conn);

}  // namespace host
