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
  ifc::temporary_files::closeForExit();
  const std::string line = std::string("sdb2ifc: interrupted by ") +
                           nameOf(again > 0 ? again : signal) + " (temporary files removed)\n";
  (void)::write(STDERR_FILENO, line.data(), line.size());
  ::_exit(1);
}

}  // namespace

StopSignals::StopSignals() {
  const sigset_t set = stopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(waitForSignals).detach();
}

const std::atomic<bool>& StopSignals::flag() const { return stopFlag; }

const char* StopSignals::received() const { return signalName; }

}  // namespace Verdamo
