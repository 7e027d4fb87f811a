#include "ifc/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <streambuf>
#include <string>
#include <string_view>

#include "ifc/model.h"
#include "ifc/temporary_files.h"

namespace ifc {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
  throw Error("cannot write " + path.string() + ": " + std::strerror(error));
}

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
}

// Hidden, in the target's folder, the target's name cut short so that the whole name fits the
// file system's limit, then the process id and a serial number.
std::string prefixOf(const std::filesystem::path& path) {
  return std::string(".").append(path.filename().string().substr(0, 200)).append(".");
}

// The new files of `prefix` (".name.") in folder whose process no longer runs: left by a
// process that was killed. Those of live processes, this one's included, stay.
void removeOrphansOf(const std::filesystem::path& folder, const std::string& prefix) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    // prefix, process id, ".", serial number, ".tmp"
    if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
        !name.ends_with(".tmp")) {
      continue;
    }
    const std::string_view rest =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - 4);
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || !allDigits(rest.substr(0, dot)) ||
        !allDigits(rest.substr(dot + 1)) || dot > 9) {
      continue;
    }
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dot))));
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(entries->path().c_str());
  }
}

}  // namespace

// Unbuffered: the STEP writer hands over large blocks already. Keeps the first error's errno,
// which the stream itself would lose.
class OutputFile::Buffer : public std::streambuf {
 public:
  Buffer(int fd, const std::atomic<bool>* stop) : fd_(fd), stop_(stop) {}
  ~Buffer() override { closeFile(); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  [[nodiscard]] int error() const { return error_; }

  // Syncs and closes; the first failure, also one of an earlier write, is in error().
  void finish() {
    if (error_ == 0 && ::fsync(fd_) != 0) error_ = errno;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error_ == 0) error_ = errno;
  }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    if (error_ == 0 && stop_ != nullptr && stop_->load(std::memory_order_relaxed)) {
      error_ = ECANCELED;
    }
    std::streamsize done = 0;
    while (error_ == 0 && done < size) {
      const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(size - done));
      if (n > 0) {
        done += n;
      } else if (n < 0 && errno != EINTR) {
        error_ = errno;
      } else if (n == 0) {
        error_ = EIO;
      }
    }
    written_ += static_cast<std::uint64_t>(done);
    startWriteBack();
    return done;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }

 private:
  void closeFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // Asks the system to start writing what is written so far to disk, without waiting for
  // it, every few megabytes: the disk then works while the rest of the text is made, and
  // the fsync at the end has little left to wait for. A failure here is seen by fsync.
  void startWriteBack() {
    constexpr std::uint64_t kEvery = std::uint64_t{8} << 20;
    if (written_ - startedUpTo_ < kEvery) return;
    (void)::sync_file_range(fd_, static_cast<off_t>(startedUpTo_),
                            static_cast<off_t>(written_ - startedUpTo_), SYNC_FILE_RANGE_WRITE);
    startedUpTo_ = written_;
  }
  int fd_;
  const std::atomic<bool>* stop_;
  int error_ = 0;
  std::uint64_t written_ = 0;      // bytes written to the file
  std::uint64_t startedUpTo_ = 0;  // bytes whose write-back was started
};

OutputFile::OutputFile(std::filesystem::path path, const std::atomic<bool>* stop)
    : path_(std::move(path)), stop_(stop) {
  // A hidden name of its own in the same folder, so that the rename replaces the target in
  // one step; created exclusively, with the permissions a new file gets. The target's name is
  // cut short so that the new one fits the file system's limit.
  static std::atomic<unsigned> serial{0};
  const std::string prefix = prefixOf(path_);
  const std::string pid = std::to_string(::getpid());
  removeOrphansOf(path_.parent_path(), prefix);
  for (;;) {
    const std::string number = std::to_string(serial++);
    temporary_ = path_.parent_path() / std::string(prefix).append(pid);
    temporary_ += std::string(".").append(number).append(".tmp");
    const int fd = temporary_files::create(temporary_);
    if (fd >= 0) {
      buffer_ = std::make_unique<Buffer>(fd, stop);
      stream_ = std::make_unique<std::ostream>(buffer_.get());
      return;
    }
    if (errno != EEXIST) fail(path_, errno);
  }
}

OutputFile::~OutputFile() {
  stream_.reset();
  buffer_.reset();
  if (!committed_) temporary_files::remove(temporary_);
}

std::ostream& OutputFile::stream() { return *stream_; }

void OutputFile::removeOrphans(const std::filesystem::path& path) {
  removeOrphansOf(path.parent_path(), prefixOf(path));
}

void OutputFile::commit() {
  stream_->flush();
  buffer_->finish();
  int error = buffer_->error();
  if (error == 0 && !*stream_) error = EIO;
  // Stopped while the file went to disk: the target stays as it was.
  if (error == 0 && stop_ != nullptr && stop_->load()) error = ECANCELED;
  if (error == 0 && ::rename(temporary_.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) fail(path_, error);
  committed_ = true;
  temporary_files::forget(temporary_);
}

}  // namespace ifc
