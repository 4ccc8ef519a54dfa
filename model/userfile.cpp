#include "userfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "excerpt.h"
#include "filereplace.h"

namespace {

struct KindName {
  mode_t type;
  const char* name;
};

constexpr KindName kKinds[] = {
    {S_IFDIR, "a directory"},      {S_IFIFO, "a FIFO (named pipe)"},
    {S_IFSOCK, "a socket"},        {S_IFCHR, "a character device"},
    {S_IFBLK, "a block device"},
};

std::string KindReason(mode_t mode) {
  for (const KindName& k : kKinds)
    if ((mode & S_IFMT) == k.type) return std::string("it is ") + k.name + ", not a regular file";
  return "it is not a regular file";
}

void Fail(UserFileError& why, int error) {
  why.error = error;
  why.reason = ErrnoText(error);
}

void Refuse(UserFileError& why, mode_t mode) {
  why.error = 0;
  why.reason = KindReason(mode);
}

std::string KiB(size_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KiB"; }

void RefuseSize(UserFileError& why, const std::string& size, size_t limit,
                const std::string& holds) {
  why.error = 0;
  why.reason = TooLargeReason(size, limit, holds);
}

// Once the descriptor is known to be a regular file it may block like any.
bool ClearNonBlocking(int fd, UserFileError& why) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) return true;
  Fail(why, errno);
  close(fd);
  return false;
}

// Opens with O_NONBLOCK (a FIFO or a device never holds the open up) and
// keeps the descriptor only when it is a regular file.
int OpenRegular(const std::string& path, int flags, UserFileError& why) {
  // stat first: a device is not even opened, so opening has no side effect
  // on it (a serial port would raise its control lines).
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      Refuse(why, st.st_mode);
      return -1;
    }
  } else if (errno != ENOENT || (flags & O_CREAT) == 0) {
    Fail(why, errno);
    return -1;
  }
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    Fail(why, errno);
    return -1;
  }
  // The path may have been swapped for something else since the stat.
  if (fstat(fd, &st) != 0) {
    Fail(why, errno);
    close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    Refuse(why, st.st_mode);
    close(fd);
    return -1;
  }
  return ClearNonBlocking(fd, why) ? fd : -1;
}

// Reads up to `count` bytes; false on a read error. The buffer grows with
// what arrives, so a short file under a large bound costs only its size.
bool ReadUpTo(int fd, size_t count, std::string& bytes, UserFileError& why) {
  constexpr size_t kStep = 64 * 1024;
  bytes.clear();
  size_t got = 0;
  while (got < count) {
    if (got == bytes.size()) bytes.resize(std::min(count, got + kStep));
    const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(why, errno);
      return false;
    }
    if (n == 0) break;  // the end, or the file shrank meanwhile
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return true;
}

std::string FolderOf(const std::string& target) {
  const size_t slash = target.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : target.substr(0, slash);
}

}  // namespace

std::string TooLargeReason(const std::string& size, size_t limit, const std::string& holds) {
  return "it holds " + size + ", more than " + holds + " ever needs (" + KiB(limit) + ")";
}

bool UserFileError::Missing() const { return error == ENOENT; }

std::string ErrnoText(int error) {
  char buffer[256];
  // The GNU strerror_r: it may return a static text instead of filling the buffer.
  return strerror_r(error, buffer, sizeof buffer);
}

std::string UnableToOpenText(const std::string& path, const UserFileError& why) {
  std::string text = "Unable to open file " + ShownPath(path);
  if (!why.Missing() && !why.reason.empty()) text += ": " + why.reason;
  return text;
}

int OpenUserFileForReading(const std::string& path, UserFileError& why) {
  return OpenRegular(path, O_RDONLY, why);
}

int OpenUserFileForAppend(const std::string& path, UserFileError& why) {
  return OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, why);
}

int OpenUserFileForReadAppend(const std::string& path, UserFileError& why) {
  return OpenRegular(path, O_RDWR | O_APPEND | O_CREAT, why);
}

bool ReadUserFile(const std::string& path, size_t limit, const std::string& holds,
                  std::string& text, UserFileError& why) {
  const int fd = OpenUserFileForReading(path, why);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0;
  if (!ok) Fail(why, errno);
  if (ok && static_cast<uint64_t>(st.st_size) > limit) {
    RefuseSize(why, std::to_string(st.st_size) + " bytes", limit, holds);
    ok = false;
  }
  // One byte past the bound tells a file that grew meanwhile.
  if (ok) ok = ReadUpTo(fd, limit + 1, text, why);
  if (ok && text.size() > limit) {
    RefuseSize(why, "more than " + KiB(limit), limit, holds);
    ok = false;
  }
  close(fd);
  if (!ok) text.clear();
  return ok;
}

bool ReadUserFileHead(const std::string& path, size_t count, std::vector<uint8_t>& bytes,
                      uint64_t& size, UserFileError& why) {
  const int fd = OpenUserFileForReading(path, why);
  if (fd < 0) return false;
  struct stat st;
  std::string head;
  const bool ok = fstat(fd, &st) == 0 ? ReadUpTo(fd, count, head, why) : (Fail(why, errno), false);
  close(fd);
  if (!ok) return false;
  bytes.assign(head.begin(), head.end());
  size = std::max<uint64_t>(static_cast<uint64_t>(st.st_size), head.size());
  return true;
}

bool CheckSaveTarget(const std::string& path, std::string& why) {
  if (path.empty()) {
    why = "no file name";
    return false;
  }
  // A symbolic link is saved through, into the folder of the file it names.
  std::string target = path;
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
      why = ErrnoText(errno);
      return false;
    }
    target = real;
    std::free(real);
  }
  if (stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      why = KindReason(st.st_mode);
      return false;
    }
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      why = ErrnoText(errno);
      return false;
    }
  } else if (errno != ENOENT) {
    why = ErrnoText(errno);
    return false;
  }
  const std::string folder = FolderOf(target);
  if (stat(folder.c_str(), &st) != 0) {
    why = "no folder " + folder + " (" + ErrnoText(errno) + ")";
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    why = folder + " is not a directory";
    return false;
  }
  // The new contents go to a fresh file beside the old one first.
  if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    why = "cannot write into the folder " + folder + " (" + ErrnoText(errno) + ")";
    return false;
  }
  return true;
}

bool SaveUserFile(const std::string& path, const void* bytes, size_t size, std::string& why) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    why = KindReason(st.st_mode);
    return false;
  }
  errno = 0;
  if (ReplaceFileContents(path.c_str(), static_cast<const uint8_t*>(bytes), size)) return true;
  why = ErrnoText(errno != 0 ? errno : EIO);
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool NamesSameFile(const std::string& a, const std::string& b) {
  if (SameFile(a, b)) return true;
  std::error_code errorA, errorB;
  const std::filesystem::path fullA = std::filesystem::weakly_canonical(a, errorA);
  const std::filesystem::path fullB = std::filesystem::weakly_canonical(b, errorB);
  return !errorA && !errorB && fullA == fullB;
}

void IgnoreFileSizeLimitSignal() { signal(SIGXFSZ, SIG_IGN); }
