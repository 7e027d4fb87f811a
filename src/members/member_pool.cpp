#include "members/member_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <stdexcept>
#include <string>
#include <thread>

#include "members/messages.h"

namespace Utils {

namespace {

std::size_t workerCount(std::size_t tasks) {
  const std::size_t processors = std::max(1U, std::thread::hardware_concurrency());
  return std::min(processors, tasks);
}

}  // namespace

void runMemberTasks(ifc::Model& model, bool threaded, std::size_t count,
                    const std::function<void(std::size_t)>& task) {
  if (!threaded || count < 2) {
    for (std::size_t i = 0; i < count; ++i) task(i);
    return;
  }
  if (count > std::numeric_limits<std::uint32_t>::max() / 2) {
    throw std::length_error("too many members for one pool: " + std::to_string(count));
  }
  const std::uint32_t firstSlot = model.reserveSlots(static_cast<std::uint32_t>(count));
  std::vector<std::string> reports(count);
  std::vector<std::exception_ptr> faults(count);
  std::atomic<std::size_t> next{0};
  // The first task that failed: the tasks after it are not started.
  std::atomic<std::size_t> firstFault{count};

  auto work = [&] {
    for (std::size_t i = next++; i < count && i < firstFault; i = next++) {
      const ifc::Model::SlotScope slot(model, firstSlot + static_cast<std::uint32_t>(i));
      MessageCapture capture;
      try {
        task(i);
      } catch (...) {
        faults[i] = std::current_exception();
        std::size_t seen = firstFault;
        while (i < seen && !firstFault.compare_exchange_weak(seen, i)) {
        }
      }
      reports[i] = capture.take();
    }
  };
  std::vector<std::thread> workers;
  const std::size_t n = workerCount(count);
  workers.reserve(n);
  try {
    for (std::size_t w = 0; w < n; ++w) workers.emplace_back(work);
  } catch (...) {
    // No thread to be had: stop handing out tasks and let the started workers end.
    firstFault = 0;
    for (std::thread& t : workers) t.join();
    throw;
  }
  for (std::thread& t : workers) t.join();

  const std::size_t end = std::min(firstFault.load(), count - 1);
  std::ostream& out = messages();
  for (std::size_t i = 0; i <= end; ++i) out << reports[i];
  out.flush();
  if (firstFault < count) std::rethrow_exception(faults[firstFault]);
}

}  // namespace Utils
