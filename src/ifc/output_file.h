#pragma once
// A file that is either whole or not there: the text goes to a new file in the target's
// folder, which replaces the target by a rename only once all of it is written and on disk.
// A failed write (a full disk, a file size limit) removes the new file and leaves the target
// as it was. Used for the IFC file and for the floor list beside it.
//
// The new file is recorded in temporary_files while it lives, and removed by a process that
// ends on a signal or with its host. One left by a process that was killed is removed by the
// next OutputFile for the same target.

#include <atomic>
#include <filesystem>
#include <memory>
#include <ostream>

namespace ifc {

class OutputFile {
 public:
  // Creates the new file beside path; throws Error naming path and the system's reason.
  // Once *stop is raised (from any thread), writing fails with ECANCELED.
  explicit OutputFile(std::filesystem::path path, const std::atomic<bool>* stop = nullptr);
  ~OutputFile();  // removes the new file unless committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  [[nodiscard]] std::ostream& stream();

  // Removes the new files for path that processes which no longer run left behind.
  static void removeOrphans(const std::filesystem::path& path);

  // Writes the file to disk and renames it to path. Throws Error naming path and the
  // system's reason for the first write that failed; the new file is then removed.
  void commit();

 private:
  class Buffer;
  std::filesystem::path path_;
  std::filesystem::path temporary_;
  const std::atomic<bool>* stop_;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool committed_ = false;
};

}  // namespace ifc
