#pragma once
// SIGINT and SIGTERM end a run of the command-line program cleanly. The first raises the
// run's stop flag, so that the run ends at its next member or block of the IFC file through
// its usual failure path (one line, status 1, its temporary files removed). Should it not
// have ended a few seconds later, or on a second signal, the temporary files are removed and
// the program ends at once with one line on standard error and status 1.

#include <atomic>

namespace Verdamo {

class StopSignals {
 public:
  // Blocks both signals in this thread and in every thread it starts later, and starts the
  // thread that waits for them: made first thing in main, before any other thread.
  StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  [[nodiscard]] const std::atomic<bool>& flag() const;
  // The name of the signal that raised the flag ("SIGINT", "SIGTERM"); null before.
  [[nodiscard]] const char* received() const;

  // The run has ended and main speaks its last line: from now on a late grace period ends
  // nothing and says nothing. Never returns when the signals' thread has taken the last word
  // already: it is ending the program.
  void settle();
};

}  // namespace Verdamo
