#pragma once
// Taking the interpreter lock back from inside a call that released it: a builder reading
// config.dict_profile, a run assigning config. Once the interpreter has begun to shut down a
// thread must not ask for the lock (the interpreter would end the thread from inside these
// C++ frames), so the call fails instead, as a fault of the call.

#include <pybind11/pybind11.h>

#include <stdexcept>

#include "host/unlocked_calls.h"

namespace host {

[[nodiscard]] inline bool pythonFinalizing() {
#if PY_VERSION_HEX >= 0x030D0000
  return Py_IsFinalizing() != 0;
#else
  return _Py_IsFinalizing() != 0;
#endif
}

template <class Call>
auto withPythonLock(Call&& call) {
  if (pythonFinalizing() || !mayRetakeLock()) {
    throw std::runtime_error("the interpreter is shutting down");
  }
  const pybind11::gil_scoped_acquire locked;
  return call();
}

}  // namespace host
