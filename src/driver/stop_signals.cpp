#include "driver/stop_signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <thread>

#include "ifc/temporary_files.h"

namespace Verdamo {

namespace {

// How long a stopped run may take to reach its next member before the program ends anyway.
constexpr std::time_t kGraceSeconds = 3;

std::atomic<bool> stopFlag{false};
std::atomic<const char*> signalName{nullptr};

const char* nameOf(int signal) { return signal == SIGINT ? "SIGINT" : "SIGTERM"; }

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Set by whoever speaks last: the run's own failure path (settle()) or this thread.
std::atomic<bool> lastWordTaken{false};

[[noreturn]] void endNow(const char* signal, bool withLine) {
  ifc::temporary_files::closeForExit();
  if (withLine) {
    const std::string line =
        std::string("sdb2ifc: interrupted by ") + signal + " (temporary files removed)\n";
    (void)::write(STDERR_FILENO, line.data(), line.size());
  }
  ::_exit(1);
}

[[noreturn]] void waitForSignals() {
  const sigset_t set = stopSignals();
  int signal = 0;
  while (sigwait(&set, &signal) != 0) {
  }
  signalName = nameOf(signal);
  stopFlag = true;
  const timespec grace{kGraceSeconds, 0};
  siginfo_t info{};
  const int again = sigtimedwait(&set, &info, &grace);
  if (again > 0) signal = again;
  if (!lastWordTaken.exchange(true)) endNow(nameOf(signal), true);
  // The run has said its line and the process is ending (freeing a large model, a leak
  // check): only a further signal cuts that short, silently.
  if (again <= 0) {
    while (sigwait(&set, &signal) != 0) {
    }
  }
  endNow(nameOf(signal), false);
}
}  // namespace

StopSignals::StopSignals() {
  const sigset_t set = stopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(waitForSignals).detach();
}

const std::atomic<bool>& StopSignals::flag() const { return stopFlag; }

const char* StopSignals::received() const { return signalName; }

void StopSignals::settle() {
  if (!lastWordTaken.exchange(true)) return;
  for (;;) ::pause();  // the signals' thread is ending the program
}

}  // namespace Verdamo
