#pragma once
// The host's own numeric conversions, int() and float(), for any object that has them
// (ints, floats, NumPy scalars, and for float() decimal text).

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace host {

[[nodiscard]] inline double asFloat(pybind11::handle value) {
  return pybind11::float_(pybind11::reinterpret_borrow<pybind11::object>(value));
}

// Throws OverflowError naming `what` and the value beyond 64 bits.
[[nodiscard]] inline std::int64_t asInt(pybind11::handle value, const std::string& what) {
  const auto number = pybind11::reinterpret_steal<pybind11::object>(PyNumber_Index(value.ptr()));
  if (!number) throw pybind11::error_already_set();
  int overflow = 0;
  const long long i = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
  if (overflow != 0) {
    std::string text = pybind11::repr(value).cast<std::string>();
    if (text.size() > 60) text = text.substr(0, 60) + "...";
    const std::string message = what + ": " + text + " does not fit a 64-bit integer";
    PyErr_SetString(PyExc_OverflowError, message.c_str());
    throw pybind11::error_already_set();
  }
  if (i == -1 && PyErr_Occurred()) throw pybind11::error_already_set();
  return i;
}

}  // namespace host
