#include "filereplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Creates a new file beside `target` with a name nobody else holds. The mode
// goes through the umask like any new file's.
int CreateTempBeside(const std::string& target, std::string& tempName) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%d-%u-%llx.tmp", static_cast<int>(getpid()),
                  counter.fetch_add(1), static_cast<unsigned long long>(tick) & 0xffffffu);
    tempName = target + suffix;
    const int fd = open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Saving through a symbolic link updates the file it points to instead of
// replacing the link with a plain file.
bool ResolveTarget(const char* path, std::string& target) {
  struct stat st;
  target = path;
  if (lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return true;
  char* real = realpath(path, nullptr);
  if (real == nullptr) return false;
  target = real;
  std::free(real);
  return true;
}

void SyncFolderOf(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (fsync(fd) != 0) {
    // The data itself is already on disk; only the rename may be lost.
  }
  close(fd);
}

}  // namespace

// An existing file keeps its permission bits (and owner, where allowed).
bool ReplaceFileContents(const char* path, const uint8_t* bytes, size_t size) {
  std::string target;
  if (!ResolveTarget(path, target)) return false;
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if (!exists && errno != ENOENT) return false;
  // A file the user cannot write stays protected: replacing it through the
  // folder would get round its permissions.
  if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;

  std::string tempName;
  const int fd = CreateTempBeside(target, tempName);
  if (fd < 0) return false;
  bool ok = true;
  if (exists) {
    ok = fchmod(fd, old.st_mode & 07777) == 0;
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the owner's own groups are allowed; the file stays ours.
    }
  }
  ok = ok && WriteWhole(fd, bytes, size) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(tempName.c_str(), target.c_str()) == 0;
  if (!ok) {
    const int reason = errno;  // the clean-up must not hide why it failed
    unlink(tempName.c_str());
    errno = reason;
    return false;
  }
  SyncFolderOf(target);
  return true;
}

bool WriteWhole(int fd, const void* bytes, size_t size) {
  const auto* next = static_cast<const uint8_t*>(bytes);
  while (size > 0) {
    const ssize_t n = write(fd, next, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    next += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
