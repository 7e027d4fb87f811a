#pragma once
// How a Utils function runs its C++ builder: without the interpreter lock, so builders called
// from several host threads build at once, and with what it reports on the way captured on
// its thread and written to the host's sys.stdout when it returns or throws.

#include <pybind11/pybind11.h>

#include <memory>
#include <utility>
#include <vector>

#include "host/host_model.h"
#include "host/host_stdout.h"
#include "host/unlocked_calls.h"
#include "members/messages.h"

namespace host {

// While alive, what this thread reports is captured; at the end it goes to the host's
// sys.stdout (the interpreter lock held then).
class ReportsToHost {
 public:
  ReportsToHost() = default;
  ReportsToHost(const ReportsToHost&) = delete;
  ReportsToHost& operator=(const ReportsToHost&) = delete;
  ~ReportsToHost() {
    try {
      writeToHost(reports_.take());
    } catch (const pybind11::error_already_set&) {
      // A sys.stdout that refuses text loses the lines, not the builder's result.
    }
  }

 private:
  Utils::MessageCapture reports_;
};

// The arguments must be converted before the call: build() runs unlocked.
template <class Build>
auto unlocked(Build&& build) {
  ReportsToHost reports;
  return withoutLock(std::forward<Build>(build));
}

// For functions that call back into the host (face and edge objects): reports captured the
// same way, the interpreter lock kept.
template <class Call>
auto reporting(Call&& call) {
  ReportsToHost reports;
  return call();
}

[[nodiscard]] inline pybind11::list products(const std::shared_ptr<HostModel>& model,
                                             const std::vector<ifc::Entity>& entities) {
  pybind11::list result;
  for (const ifc::Entity& e : entities) result.append(wrap(model, e));
  return result;
}

}  // namespace host
