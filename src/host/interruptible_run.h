#pragma once
// A conversion run from a script that Ctrl-C stops within a moment instead of after the run.

#include <atomic>
#include <functional>

namespace host {

// With the lock held: runs run(stop) without it, the run expected to end soon once stop is
// raised. On the main thread the run goes on another thread while this one looks for signals
// every few hundredths of a second; an exception a signal handler raises (KeyboardInterrupt)
// raises stop and, once the run has ended, is raised here instead of whatever the run threw.
// On another thread the run runs on that thread. Either way the host's shutdown raises stop.
void runInterruptibly(const std::function<void(const std::atomic<bool>&)>& run);

}  // namespace host
