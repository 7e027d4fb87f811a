#pragma once
// Opening a database whose path is longer than SQLite accepts (about 500 bytes).
//
// SQLite turns every database name into an absolute path with its symbolic links resolved,
// refuses one longer than its limit, and names the journal and WAL files after it. A long
// path is given to SQLite as /proc/self/fd/N/name instead, N an open descriptor of the
// database's folder: short, and naming the same files, side files included, for the kernel.
// The VFS below hands SQLite that alias as the full path, unresolved; everything else is
// SQLite's own default VFS.

#include <cstddef>

namespace db {

// The name under which the VFS is registered (on first use) for sqlite3_open_v2.
[[nodiscard]] const char* shortPathVfs();

// The longest database path SQLite opens through its default VFS, room for the "-journal"
// suffix taken off.
[[nodiscard]] std::size_t longestDirectPath();

}  // namespace db
