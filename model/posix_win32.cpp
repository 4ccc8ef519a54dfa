#include "posix_win32.h"

#include <windows.h>

#include <cerrno>

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

int FailWith(int error) {
  errno = error;
  return -1;
}

}  // namespace

int fsync(int fd) {
  const HANDLE file = HandleOf(fd);
  if (file == INVALID_HANDLE_VALUE) return FailWith(EBADF);
  return FlushFileBuffers(file) ? 0 : FailWith(EIO);
}

int fdatasync(int fd) { return fsync(fd); }

ptrdiff_t pread(int fd, void* buffer, size_t count, int64_t offset) {
  const HANDLE file = HandleOf(fd);
  if (file == INVALID_HANDLE_VALUE) return FailWith(EBADF);
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  DWORD got = 0;
  const DWORD step = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
  if (ReadFile(file, buffer, step, &got, &at)) return static_cast<ptrdiff_t>(got);
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : FailWith(EIO);
}

int flock(int fd, int operation) {
  const HANDLE file = HandleOf(fd);
  if (file == INVALID_HANDLE_VALUE) return FailWith(EBADF);
  OVERLAPPED whole{};
  if (operation & LOCK_UN) return UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole) ? 0 : FailWith(EINVAL);
  DWORD flags = (operation & LOCK_EX) ? LOCKFILE_EXCLUSIVE_LOCK : 0;
  if (operation & LOCK_NB) flags |= LOCKFILE_FAIL_IMMEDIATELY;
  if (LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &whole)) return 0;
  const DWORD error = GetLastError();
  return FailWith(error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : EIO);
}
