#include "eebuff.h"

#include "filereplace.h"
#include "userfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint8_t kErased = 0xFF;

bool WriteAll(int fd, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

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
  ok = ok && WriteAll(fd, bytes, size) && fsync(fd) == 0;
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

EEbuffer::EEbuffer(int length) : data_(static_cast<size_t>(std::max(length, 0)), kErased) {}

int EEbuffer::GetByte(int address) const {
  if (address < 0 || address >= GetLength()) return -1;
  return data_[static_cast<size_t>(address)];
}

int EEbuffer::SetByte(int address, int value) {
  if (address < 0 || address >= GetLength()) return -1;
  data_[static_cast<size_t>(address)] = static_cast<uint8_t>(value);
  return 0;
}

// The address is checked as given, then rounded down to even. An odd-length
// buffer has no low byte for its last even address, so that word is refused
// rather than read past the end.
int EEbuffer::GetWord(int address) const {
  if (address < 0 || address >= GetLength()) return -1;
  const int a = address & ~1;
  if (a + 1 >= GetLength()) return -1;
  return data_[static_cast<size_t>(a)] * 256 + data_[static_cast<size_t>(a) + 1];
}

int EEbuffer::SetWord(int address, int value) {
  if (address < 0 || address >= GetLength()) return -1;
  const int a = address & ~1;
  if (a + 1 >= GetLength()) return -1;
  data_[static_cast<size_t>(a)] = static_cast<uint8_t>(value >> 8);
  data_[static_cast<size_t>(a) + 1] = static_cast<uint8_t>(value);
  return 0;
}

namespace {
// How many bytes of a count-byte copy starting at address lie inside the
// buffer; 0 for anything starting outside it.
int CopyableCount(int address, int count, int length) {
  if (address < 0 || address >= length || count <= 0) return 0;
  return std::min(count, length - address);
}
}  // namespace

int EEbuffer::ReadBlock(int address, uint8_t* destination, int count) const {
  if (destination == nullptr) return 0;
  const int n = CopyableCount(address, count, GetLength());
  if (n > 0) std::memcpy(destination, data_.data() + address, static_cast<size_t>(n));
  return n;
}

int EEbuffer::WriteBlock(int address, const uint8_t* source, int count) {
  if (source == nullptr) return 0;
  const int n = CopyableCount(address, count, GetLength());
  if (n > 0) std::memcpy(data_.data() + address, source, static_cast<size_t>(n));
  return n;
}

int EEbuffer::Fill(int value) {
  std::fill(data_.begin(), data_.end(), static_cast<uint8_t>(value));
  return GetLength();
}

int EEbuffer::SaveToFile(const char* path) const {
  if (path == nullptr || !ReplaceFileContents(path, data_.data(), data_.size())) return -1;
  return GetLength();
}

int EEbuffer::LoadFromFile(const char* path) {
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  UserFileError why;
  if (path == nullptr || !ReadUserFileHead(path, data_.size(), bytes, size, why)) return -1;
  Fill(kErased);
  std::copy(bytes.begin(), bytes.end(), data_.begin());
  return static_cast<int>(bytes.size());
}
