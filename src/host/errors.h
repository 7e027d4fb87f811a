#pragma once
// Faults of the libraries reach the host as Python exceptions whose text is the one line the
// command-line program prints after "sdb2ifc: ". No C++ exception crosses into the host.

#include <pybind11/pybind11.h>

#include <stdexcept>

namespace host {

// Maps the faults shared by several modules: db::Error to sqlite3.DatabaseError, db::TypeError
// to TypeError, text::ParseError to ValueError, and anything that is not a std::exception to
// RuntimeError("unknown failure"). Every module calls it first; it registers once.
void registerCommonErrors();

// A call of a builder whose run context is not (or not for this model) in place: a
// RuntimeError naming what is missing.
class RunContextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace host
