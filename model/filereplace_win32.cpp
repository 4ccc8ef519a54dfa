#include "filereplace.h"

#include <windows.h>
#include <io.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "userfile_win32.h"

namespace {

// Creates a new file beside `target` with a name nobody else holds.
HANDLE CreateTempBeside(const std::string& target, std::string& tempName) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%lu-%u-%lx.tmp", GetCurrentProcessId(),
                  counter.fetch_add(1), GetTickCount() & 0xffffffUL);
    tempName = target + suffix;
    const HANDLE file = CreateFileA(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteHandle(HANDLE file, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    const DWORD step = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, bytes, step, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

// ReplaceFile wants a path in the system's own spelling: "/tmp/a.mem" is
// refused where "Z:\\tmp\\a.mem" (what it names) is taken.
std::string FullPath(const char* path) {
  char full[MAX_PATH * 4];
  const DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : std::string(path);
}

}  // namespace

// The new contents take the old file's place in one step (ReplaceFile keeps
// its attributes and security), so a failure leaves it as it was.
bool ReplaceFileContents(const char* path, const uint8_t* bytes, size_t size) {
  const std::string target = FullPath(path);
  const DWORD attributes = GetFileAttributesA(path);
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && !NoSuchFile(GetLastError())) {
    errno = ErrnoOfWin32(GetLastError());
    return false;
  }
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    errno = EISDIR;
    return false;
  }
  if (IsDeviceName(target)) {
    errno = EINVAL;
    return false;
  }
  // A file the user marked read-only stays protected.
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
    errno = EACCES;
    return false;
  }

  std::string tempName;
  const HANDLE file = CreateTempBeside(target, tempName);
  if (file == INVALID_HANDLE_VALUE) {
    errno = ErrnoOfWin32(GetLastError());
    return false;
  }
  bool ok = WriteHandle(file, bytes, size) && FlushFileBuffers(file);
  DWORD error = ok ? 0 : GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok) {
    ok = exists ? ReplaceFileA(target.c_str(), tempName.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                : MoveFileExA(tempName.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) error = GetLastError();
  }
  if (!ok) {
    DeleteFileA(tempName.c_str());
    errno = ErrnoOfWin32(error);
    return false;
  }
  return true;
}

bool WriteWhole(int fd, const void* bytes, size_t size) {
  const auto* next = static_cast<const uint8_t*>(bytes);
  while (size > 0) {
    const unsigned step = size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
    const int n = _write(fd, next, step);
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    next += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
