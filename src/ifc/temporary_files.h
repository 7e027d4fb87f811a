#pragma once
// The hidden files that output files are written to before they replace their targets, known
// process-wide so that a process about to end (on a signal, or when its host shuts down) can
// remove those still open instead of leaving them beside the outputs.

#include <filesystem>

namespace ifc::temporary_files {

// Creates path exclusively for writing and records it; the file descriptor, or -1 with errno
// set. Once closeForExit() has run, fails with ECANCELED and creates nothing.
[[nodiscard]] int create(const std::filesystem::path& path);

// Removes the file and its record.
void remove(const std::filesystem::path& path) noexcept;

// The file was renamed to its target: only its record goes.
void forget(const std::filesystem::path& path) noexcept;

// Removes every recorded file and refuses new ones from now on: the process is ending.
void closeForExit() noexcept;

}  // namespace ifc::temporary_files
