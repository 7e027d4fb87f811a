#include "host/interruptible_run.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "host/unlocked_calls.h"

namespace py = pybind11;

namespace host {

namespace {

constexpr auto kSignalPoll = std::chrono::milliseconds(50);

}  // namespace

void runInterruptibly(const std::function<void(const std::atomic<bool>&)>& run) {
  std::atomic<bool> stop{false};
  if (!onMainThread()) {
    withoutLock([&] { run(stop); }, &stop);
    return;
  }
  std::exception_ptr fault;
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::thread worker([&] {
    try {
      run(stop);
    } catch (...) {
      fault = std::current_exception();
    }
    const std::scoped_lock lock(mutex);
    done = true;
    ended.notify_all();
  });
  std::optional<py::error_already_set> interrupt;
  for (;;) {
    const bool finished = withoutLock([&] {
      std::unique_lock lock(mutex);
      return ended.wait_for(lock, kSignalPoll, [&] { return done; });
    });
    if (finished) break;
    if (!interrupt && PyErr_CheckSignals() != 0) {
      interrupt.emplace();  // takes the exception the handler raised
      stop = true;
    }
  }
  worker.join();
  if (interrupt) throw std::move(*interrupt);
  if (fault) std::rethrow_exception(fault);
}

}  // namespace host
