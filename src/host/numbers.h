#pragma once
// The host's own numeric conversions, int() and float(), for any object that has them
// (ints, floats, NumPy scalars, and for float() decimal text).

#include <pybind11/pybind11.h>

#include <cstdint>

namespace host {

[[nodiscard]] inline double asFloat(pybind11::handle value) {
  return pybind11::float_(pybind11::reinterpret_borrow<pybind11::object>(value));
}

// Throws OverflowError beyond 64 bits.
[[nodiscard]] inline std::int64_t asInt(pybind11::handle value) {
  return pybind11::int_(pybind11::reinterpret_borrow<pybind11::object>(value)).cast<std::int64_t>();
}

}  // namespace host
