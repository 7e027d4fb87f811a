#pragma once
// Faults of the libraries reach the host as Python exceptions whose text is the one line the
// command-line program prints after "sdb2ifc: ". No C++ exception crosses into the host.

#include <pybind11/pybind11.h>

namespace host {

// Maps the faults shared by several modules: db::Error to sqlite3.DatabaseError, db::TypeError
// to TypeError, text::ParseError to ValueError, a run context that is not in place
// (Utils::RunContextError) to RuntimeError, and anything that is not a std::exception to
// RuntimeError("unknown failure"). Every module calls it first; it registers once.
void registerCommonErrors();

}  // namespace host
