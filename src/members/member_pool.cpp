#include "members/member_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "members/messages.h"
#include "members/run_stop.h"

namespace Utils {

namespace {

// One call's tasks, handed out one at a time to whichever thread asks next.
struct Job {
  std::size_t count = 0;
  std::function<void(std::size_t)> runOne;
  std::atomic<std::size_t> next{0};
  // The first task that failed: the tasks after it are not started.
  std::atomic<std::size_t> firstFault{0};
  int inside = 0;  // threads working on the job, under the workers' mutex
  std::condition_variable left;

  // Runs tasks until none is left; returns when this thread has no more to take.
  void work() {
    for (std::size_t i = next++; i < count && i < firstFault; i = next++) runOne(i);
  }
};

// Worker threads started at the first threaded pool and kept for the process: a pool per
// member kind and floor would otherwise start and join threads thousands of times in a large
// model. The calling thread works on its own job too, so a job never waits for a free worker.
class Workers {
 public:
  static Workers& instance() {
    static Workers workers;
    return workers;
  }

  void run(Job& job) {
    {
      const std::scoped_lock lock(mutex_);
      jobs_.push_back(&job);
      ++job.inside;
    }
    wake_.notify_all();
    job.work();
    std::unique_lock lock(mutex_);
    std::erase(jobs_, &job);
    --job.inside;
    job.left.wait(lock, [&] { return job.inside == 0; });
  }

  ~Workers() {
    {
      const std::scoped_lock lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

 private:
  Workers() {
    const unsigned processors = std::max(1U, std::thread::hardware_concurrency());
    for (unsigned k = 1; k < processors; ++k) threads_.emplace_back([this] { loop(); });
  }

  void loop() {
    std::unique_lock lock(mutex_);
    while (true) {
      wake_.wait(lock, [&] { return stop_ || !jobs_.empty(); });
      if (stop_) return;
      Job& job = *jobs_.front();
      ++job.inside;
      lock.unlock();
      job.work();
      lock.lock();
      // Nothing is left to hand out: no other thread need look at the job again.
      std::erase(jobs_, &job);
      if (--job.inside == 0) job.left.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job*> jobs_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

void runMemberTasks(ifc::Model& model, bool threaded, std::size_t count,
                    const std::function<void(std::size_t)>& task) {
  const std::atomic<bool>* stop = currentStopFlag();
  if (!threaded || count < 2) {
    for (std::size_t i = 0; i < count; ++i) {
      throwIfStopped(stop);
      task(i);
    }
    return;
  }
  if (count > std::numeric_limits<std::uint32_t>::max() / 2) {
    throw std::length_error("too many members for one pool: " + std::to_string(count));
  }
  const std::uint32_t firstSlot = model.reserveSlots(static_cast<std::uint32_t>(count));
  std::vector<std::string> reports(count);
  std::vector<std::exception_ptr> faults(count);
  Job job;
  job.count = count;
  job.firstFault = count;
  job.runOne = [&](std::size_t i) {
    const ifc::Model::SlotScope slot(model, firstSlot + static_cast<std::uint32_t>(i));
    MessageCapture capture;
    try {
      throwIfStopped(stop);
      task(i);
    } catch (...) {
      faults[i] = std::current_exception();
      std::size_t seen = job.firstFault;
      while (i < seen && !job.firstFault.compare_exchange_weak(seen, i)) {
      }
    }
    reports[i] = capture.take();
  };
  Workers::instance().run(job);

  const std::size_t fault = job.firstFault;
  std::ostream& out = messages();
  for (std::size_t i = 0; i <= fault && i < count; ++i) out << reports[i];
  out.flush();
  if (fault < count) std::rethrow_exception(faults[fault]);
}

}  // namespace Utils
