#pragma once
// Stopping a run between members: a flag that another thread raises (Ctrl-C in a host, a
// host shutting down, a signal) and that the member pools look at before each task, so that a
// stopped run ends within one member's time rather than at its end.

#include <atomic>
#include <stdexcept>

namespace Utils {

// Thrown by a member task that finds the run's flag raised; a fault of the run.
class RunStopped : public std::runtime_error {
 public:
  RunStopped() : std::runtime_error("the run was stopped") {}
};

// While alive, the member pools run on this thread look at *flag before each task.
class StopScope {
 public:
  explicit StopScope(const std::atomic<bool>* flag);
  ~StopScope();
  StopScope(const StopScope&) = delete;
  StopScope& operator=(const StopScope&) = delete;

 private:
  const std::atomic<bool>* previous_;
};

// The flag of the innermost StopScope of this thread; null outside any.
[[nodiscard]] const std::atomic<bool>* currentStopFlag();

// Throws RunStopped when flag is raised (a null flag is never raised).
inline void throwIfStopped(const std::atomic<bool>* flag) {
  if (flag != nullptr && flag->load(std::memory_order_relaxed)) throw RunStopped();
}

}  // namespace Utils
