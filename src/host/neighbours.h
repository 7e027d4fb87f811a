#pragma once
// A list of neighbour rows given by the host, converted once: the connectivity answers with
// pointers into the converted rows, and the host gets back its own row objects for them.

#include <pybind11/pybind11.h>

#include <cstddef>
#include <vector>

#include "host/rows.h"

namespace host {

template <class Row>
struct Neighbours {
  explicit Neighbours(const pybind11::handle sequence)
      : originals(pybind11::list(pybind11::reinterpret_borrow<pybind11::iterable>(sequence))),
        rows(rowsFromPython<Row>(originals)) {}

  // The host's object for a row of `rows`.
  [[nodiscard]] pybind11::object original(const Row* row) const {
    return originals[static_cast<std::size_t>(row - rows.data())];
  }

  pybind11::list originals;
  std::vector<Row> rows;
};

}  // namespace host
