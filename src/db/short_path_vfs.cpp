#include "db/short_path_vfs.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>

namespace db {

namespace {

// The default VFS, kept in pAppData. Every call goes to it with its own pointer, so that its
// limits (such as the size of its buffers for file names) stay the ones it was built with.
sqlite3_vfs* baseOf(sqlite3_vfs* self) { return static_cast<sqlite3_vfs*>(self->pAppData); }

int xOpen(sqlite3_vfs* self, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  return baseOf(self)->xOpen(baseOf(self), name, file, flags, outFlags);
}
int xDelete(sqlite3_vfs* self, const char* name, int syncDir) {
  return baseOf(self)->xDelete(baseOf(self), name, syncDir);
}
int xAccess(sqlite3_vfs* self, const char* name, int flags, int* result) {
  return baseOf(self)->xAccess(baseOf(self), name, flags, result);
}
// The alias is already absolute; resolving its links would give back the long path.
int xFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  const std::size_t length = std::strlen(name);
  if (name[0] != '/' || length >= static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
  std::memcpy(out, name, length + 1);
  return SQLITE_OK;
}
void* xDlOpen(sqlite3_vfs* self, const char* name) {
  return baseOf(self)->xDlOpen(baseOf(self), name);
}
void xDlError(sqlite3_vfs* self, int size, char* message) {
  baseOf(self)->xDlError(baseOf(self), size, message);
}
void (*xDlSym(sqlite3_vfs* self, void* library, const char* symbol))() {
  return baseOf(self)->xDlSym(baseOf(self), library, symbol);
}
void xDlClose(sqlite3_vfs* self, void* library) { baseOf(self)->xDlClose(baseOf(self), library); }
int xRandomness(sqlite3_vfs* self, int size, char* out) {
  return baseOf(self)->xRandomness(baseOf(self), size, out);
}
int xSleep(sqlite3_vfs* self, int microseconds) {
  return baseOf(self)->xSleep(baseOf(self), microseconds);
}
int xCurrentTime(sqlite3_vfs* self, double* now) {
  return baseOf(self)->xCurrentTime(baseOf(self), now);
}
int xGetLastError(sqlite3_vfs* self, int size, char* out) {
  return baseOf(self)->xGetLastError(baseOf(self), size, out);
}
int xCurrentTimeInt64(sqlite3_vfs* self, sqlite3_int64* now) {
  return baseOf(self)->xCurrentTimeInt64(baseOf(self), now);
}

constexpr const char* kName = "sdb2ifc-short-path";

// Registers the VFS on first use; returns the default VFS it forwards to.
sqlite3_vfs* registered() {
  static std::once_flag once;
  static sqlite3_vfs vfs{};
  std::call_once(once, [] {
    sqlite3_vfs* base = sqlite3_vfs_find(nullptr);
    vfs.iVersion = 2;
    vfs.szOsFile = base->szOsFile;
    vfs.mxPathname = base->mxPathname;
    vfs.pAppData = base;
    vfs.zName = kName;
    vfs.xOpen = xOpen;
    vfs.xDelete = xDelete;
    vfs.xAccess = xAccess;
    vfs.xFullPathname = xFullPathname;
    vfs.xDlOpen = xDlOpen;
    vfs.xDlError = xDlError;
    vfs.xDlSym = xDlSym;
    vfs.xDlClose = xDlClose;
    vfs.xRandomness = xRandomness;
    vfs.xSleep = xSleep;
    vfs.xCurrentTime = xCurrentTime;
    vfs.xGetLastError = xGetLastError;
    vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
  });
  return baseOf(&vfs);
}

}  // namespace

const char* shortPathVfs() {
  static_cast<void>(registered());
  return kName;
}

std::size_t longestDirectPath() {
  // SQLite refuses a full path when it and 8 more bytes exceed the VFS's limit.
  return static_cast<std::size_t>(registered()->mxPathname) - 8;
}

}  // namespace db
