#include "host/unlocked_calls.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "ifc/temporary_files.h"

namespace py = pybind11;

namespace host {

namespace {

// How long the shutdown waits for the calls in progress: runs stop at their next member.
constexpr auto kShutdownWait = std::chrono::seconds(10);

struct Calls {
  std::mutex mutex;
  std::condition_variable changed;
  int unlocked = 0;  // calls between releaseLock() and the end of retakeLock()
  std::vector<std::atomic<bool>*> stops;
  bool shuttingDown = false;
  std::atomic<bool> gone{false};
  bool watching = false;  // with the lock held
  unsigned long mainThread = 0;
};

// Never destroyed: parked threads and the exit's own clean-up may look at it late.
Calls& calls() {
  static auto* c = new Calls;
  return *c;
}

[[noreturn]] void park() {
  for (;;) ::pause();
}

void onShutdown() {
  Calls& c = calls();
  {
    const std::scoped_lock lock(c.mutex);
    c.shuttingDown = true;
    for (std::atomic<bool>* stop : c.stops) *stop = true;
  }
  {
    const py::gil_scoped_release unlocked;
    std::unique_lock lock(c.mutex);
    c.changed.wait_for(lock, kShutdownWait, [&] { return c.unlocked == 0; });
  }
  ifc::temporary_files::closeForExit();
  c.gone = true;
}

// Registers onShutdown with atexit once; with the lock held.
void watchShutdown(Calls& c) {
  if (c.watching) return;
  c.mainThread =
      py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
  py::module_::import("atexit").attr("register")(py::cpp_function(&onShutdown));
  c.watching = true;
}

}  // namespace

bool onMainThread() {
  Calls& c = calls();
  watchShutdown(c);
  return PyThread_get_thread_ident() == c.mainThread;
}

PyThreadState* releaseLock(std::atomic<bool>* stop) {
  Calls& c = calls();
  watchShutdown(c);
  const bool main = PyThread_get_thread_ident() == c.mainThread;
  {
    const std::scoped_lock lock(c.mutex);
    if (!c.shuttingDown || main) {
      ++c.unlocked;
      if (stop != nullptr) c.stops.push_back(stop);
      return PyEval_SaveThread();
    }
  }
  // Another atexit function's thread, or one that ran Python after ours: never started.
  static_cast<void>(PyEval_SaveThread());
  park();
}

void retakeLock(PyThreadState* state, std::atomic<bool>* stop) {
  Calls& c = calls();
  std::unique_lock lock(c.mutex);
  if (stop != nullptr) std::erase(c.stops, stop);
  if (c.shuttingDown && PyThread_get_thread_ident() != c.mainThread) {
    --c.unlocked;
    c.changed.notify_all();
    lock.unlock();
    park();
  }
  // The lock is taken back before the call stops counting: the shutdown, waiting for the count
  // with the lock released, cannot go on into the interpreter's end before this thread has it.
  lock.unlock();
  PyEval_RestoreThread(state);
  lock.lock();
  --c.unlocked;
  c.changed.notify_all();
}

bool mayRetakeLock() {
  Calls& c = calls();
  const std::scoped_lock lock(c.mutex);
  if (c.gone) return false;
  return !c.shuttingDown || PyThread_get_thread_ident() == c.mainThread;
}

bool hostGone() { return calls().gone; }

}  // namespace host
