#include "members/messages.h"

#include <iostream>
#include <optional>
#include <sstream>
#include <utility>

namespace Utils {

// Most captures see no report at all, and a pool makes one per member: the text is gathered
// in a plain string, and a stream is made only for a caller that asks for one.
struct MessageCapture::Impl {
  std::string text;
  std::optional<std::ostringstream> stream;  // holds everything once made
  Impl* previous = nullptr;
};

namespace {
thread_local MessageCapture::Impl* current = nullptr;
}  // namespace

std::ostream& messages() {
  if (current == nullptr) return std::cout;
  if (!current->stream) {
    current->stream.emplace();
    *current->stream << current->text;
    current->text.clear();
  }
  return *current->stream;
}

void report(std::string_view line) {
  if (current != nullptr && !current->stream) {
    current->text.append(line);
    current->text += '\n';
    return;
  }
  std::string text(line);
  text += '\n';
  std::ostream& out = messages();
  out << text;
  out.flush();
}

MessageCapture::MessageCapture() : impl_(new Impl) {
  impl_->previous = current;
  current = impl_;
}

MessageCapture::~MessageCapture() {
  current = impl_->previous;
  delete impl_;
}

std::string MessageCapture::take() {
  if (impl_->stream) {
    std::string text = impl_->stream->str();
    impl_->stream->str({});
    return text;
  }
  return std::exchange(impl_->text, {});
}

}  // namespace Utils
