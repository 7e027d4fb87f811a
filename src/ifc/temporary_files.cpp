#include "ifc/temporary_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

namespace ifc::temporary_files {

namespace {

struct Registry {
  std::mutex mutex;
  std::vector<std::string> paths;
  bool closed = false;
};

// Never destroyed: a signal or the host's shutdown may come while static objects go.
Registry& registry() {
  static auto* r = new Registry;
  return *r;
}

void erase(Registry& r, const std::filesystem::path& path) {
  const auto at = std::find(r.paths.begin(), r.paths.end(), path.native());
  if (at != r.paths.end()) r.paths.erase(at);
}

}  // namespace

int create(const std::filesystem::path& path) {
  Registry& r = registry();
  // Created under the lock, so that closeForExit() never misses a file that exists.
  const std::scoped_lock lock(r.mutex);
  if (r.closed) {
    errno = ECANCELED;
    return -1;
  }
  r.paths.reserve(r.paths.size() + 1);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) r.paths.push_back(path.native());
  return fd;
}

void remove(const std::filesystem::path& path) noexcept {
  Registry& r = registry();
  const std::scoped_lock lock(r.mutex);
  ::unlink(path.c_str());
  erase(r, path);
}

void forget(const std::filesystem::path& path) noexcept {
  Registry& r = registry();
  const std::scoped_lock lock(r.mutex);
  erase(r, path);
}

void closeForExit() noexcept {
  Registry& r = registry();
  const std::scoped_lock lock(r.mutex);
  for (const std::string& path : r.paths) ::unlink(path.c_str());
  r.paths.clear();
  r.closed = true;
}

}  // namespace ifc::temporary_files
