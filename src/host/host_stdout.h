#pragma once
// The converter prints its messages on std::cout; a host script expects them on its own
// sys.stdout, in order with what it prints itself and caught by contextlib.redirect_stdout.

#include <string_view>

namespace host {

// While one is alive, std::cout goes to the host's sys.stdout (the one current when a line is
// flushed). Safe for lines written from several threads; made and destroyed with the
// interpreter lock held. Nested or concurrent scopes share one redirection.
class StdoutToHost {
 public:
  StdoutToHost();
  ~StdoutToHost();
  StdoutToHost(const StdoutToHost&) = delete;
  StdoutToHost& operator=(const StdoutToHost&) = delete;
};

// Writes text to the host's sys.stdout; the interpreter lock must be held.
void writeToHost(std::string_view text);

}  // namespace host
