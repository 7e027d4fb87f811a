#include "host/host_stdout.h"

#include <pybind11/pybind11.h>

#include <iostream>
#include <mutex>
#include <streambuf>
#include <string>

#include "host/unlocked_calls.h"

namespace py = pybind11;

namespace host {

namespace {

// Collects what std::cout receives and hands it to sys.stdout at each flush. The text is
// taken out under the buffer's own lock and written after it is released, so a thread that
// holds the interpreter lock and writes here never waits for one that waits for the
// interpreter lock.
class HostBuffer : public std::streambuf {
 public:
  void flushToHost() {
    std::string text;
    {
      std::lock_guard lock(mutex_);
      text.swap(pending_);
    }
    // Once the host is gone (a thread parked by its shutdown, the process's exit flushing
    // std::cout) there is no sys.stdout to write to.
    if (text.empty() || hostGone()) return;
    py::gil_scoped_acquire gil;
    try {
      writeToHost(text);
    } catch (const py::error_already_set&) {
      // A sys.stdout that refuses text loses these lines, not the run; an exception must not
      // leave an output operator, which would put std::cout into a failed state.
      PyErr_Clear();
    }
  }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      std::lock_guard lock(mutex_);
      pending_.push_back(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::lock_guard lock(mutex_);
    pending_.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int sync() override {
    flushToHost();
    return 0;
  }

 private:
  std::mutex mutex_;
  std::string pending_;
};

std::mutex installMutex;
int installed = 0;
std::streambuf* original = nullptr;
HostBuffer* buffer = nullptr;

}  // namespace

void writeToHost(std::string_view text) {
  if (text.empty()) return;
  // Undecodable bytes become U+FFFD rather than an exception inside an output operator.
  py::object line = py::reinterpret_steal<py::object>(
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
  if (!line) throw py::error_already_set();
  py::module_::import("sys").attr("stdout").attr("write")(line);
}

StdoutToHost::StdoutToHost() {
  std::lock_guard lock(installMutex);
  if (installed++ == 0) {
    std::cout.flush();
    buffer = new HostBuffer;
    original = std::cout.rdbuf(buffer);
  }
}

StdoutToHost::~StdoutToHost() {
  std::lock_guard lock(installMutex);
  if (--installed == 0) {
    std::cout.rdbuf(original);
    buffer->flushToHost();
    delete buffer;
    buffer = nullptr;
  }
}

}  // namespace host
