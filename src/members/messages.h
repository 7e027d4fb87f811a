#pragma once
// Where the member builders print their one-line reports (a member skipped for faulty data,
// an end left untrimmed, ...). On the driver's thread that is standard output; a threaded
// pool gives each task a buffer of its own and prints the buffers in input order, so lines
// never interleave and come in the order of a sequential run.

#include <ostream>
#include <string>
#include <string_view>

namespace Utils {

// The current thread's report stream: standard output unless a MessageCapture is active.
[[nodiscard]] std::ostream& messages();

// Prints one whole line (the newline is added) on the current report stream.
void report(std::string_view line);

// While alive, the reports of this thread go to a buffer instead of the stream before it.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  // What was reported so far; the buffer is emptied.
  [[nodiscard]] std::string take();

  struct Impl;  // the buffer, known to messages() and report()

 private:
  Impl* impl_;
};

}  // namespace Utils
