#pragma once
// Host calls that run without the interpreter lock, and the interpreter's shutdown.
//
// A script may end while threads of its own (daemon threads, the workers of a
// multiprocessing.dummy pool) are inside a builder or Create. CPython ends such a thread
// when it asks for the lock back once the shutdown has begun, by unwinding it through the C++
// frames it is in, which aborts the process. So the first call registers an atexit function
// that, as the shutdown begins, raises the stop flag of every run in progress, waits (ten
// seconds at most) until every call without the lock has either taken it back or given up,
// and removes the temporary files still open. A call that finds the shutdown begun never asks
// for the lock again: its thread stays parked until the process ends.

#include <pybind11/pybind11.h>

#include <atomic>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace host {

// With the lock held: releases it and counts the call. `stop` (may be null) is raised when
// the host shuts down meanwhile. Parks the thread if the shutdown has begun already.
[[nodiscard]] PyThreadState* releaseLock(std::atomic<bool>* stop);

// Takes the lock back after releaseLock(), or parks the thread if the shutdown has begun.
void retakeLock(PyThreadState* state, std::atomic<bool>* stop);

// With the lock held: whether this is the interpreter's main thread, which signals reach.
[[nodiscard]] bool onMainThread();

// Runs work() without the lock (it must not touch Python objects) and returns its result, or
// throws its exception, with the lock held again.
template <class Work>
auto withoutLock(Work&& work, std::atomic<bool>* stop = nullptr) {
  using Result = decltype(work());
  std::exception_ptr fault;
  PyThreadState* state = releaseLock(stop);
  if constexpr (std::is_void_v<Result>) {
    try {
      work();
    } catch (...) {
      fault = std::current_exception();
    }
    retakeLock(state, stop);
    if (fault) std::rethrow_exception(fault);
  } else {
    std::optional<Result> result;
    try {
      result.emplace(work());
    } catch (...) {
      fault = std::current_exception();
    }
    retakeLock(state, stop);
    if (fault) std::rethrow_exception(fault);
    return std::move(*result);
  }
}

// Whether a thread inside a call without the lock may still take it for a moment: not once
// the shutdown has begun (the main thread aside, until it has finished). Without the lock.
[[nodiscard]] bool mayRetakeLock();

// Whether the shutdown's atexit function has finished: from then on nothing may ask for the
// lock from a thread other than the main one, nor from the main one once the interpreter is
// gone.
[[nodiscard]] bool hostGone();

}  // namespace host
