#include "members/messages.h"

#include <iostream>
#include <sstream>

namespace Utils {

namespace {
thread_local std::ostream* current = nullptr;
}  // namespace

struct MessageCapture::Impl {
  std::ostringstream buffer;
  std::ostream* previous = nullptr;
};

std::ostream& messages() { return current != nullptr ? *current : std::cout; }

void report(std::string_view line) {
  std::string text(line);
  text += '\n';
  std::ostream& out = messages();
  out << text;
  out.flush();
}

MessageCapture::MessageCapture() : impl_(new Impl) {
  impl_->previous = current;
  current = &impl_->buffer;
}

MessageCapture::~MessageCapture() {
  current = impl_->previous;
  delete impl_;
}

std::string MessageCapture::take() {
  std::string text = impl_->buffer.str();
  impl_->buffer.str({});
  return text;
}

}  // namespace Utils
