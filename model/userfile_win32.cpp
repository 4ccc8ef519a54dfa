#include "userfile.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "excerpt.h"
#include "filereplace.h"
#include "userfile_win32.h"

namespace {

struct ErrorEntry {
  DWORD error;
  int number;
};

constexpr ErrorEntry kErrors[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT},      {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_INVALID_DRIVE, ENOENT},       {ERROR_BAD_NETPATH, ENOENT},
    {ERROR_BAD_PATHNAME, ENOENT},        {ERROR_ACCESS_DENIED, EACCES},
    {ERROR_SHARING_VIOLATION, EACCES},   {ERROR_LOCK_VIOLATION, EACCES},
    {ERROR_WRITE_PROTECT, EROFS},        {ERROR_DISK_FULL, ENOSPC},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},    {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_ALREADY_EXISTS, EEXIST},      {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_INVALID_NAME, EINVAL},        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},   {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    {ERROR_NOT_SAME_DEVICE, EXDEV},      {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
};

// What a path is when it is not a file. Directories and devices are told
// apart as on POSIX; a pipe is the FIFO's Windows kin.
const char* KindName(DWORD fileType, bool directory) {
  if (directory) return "a directory";
  if (fileType == FILE_TYPE_PIPE) return "a FIFO (named pipe)";
  if (fileType == FILE_TYPE_CHAR) return "a character device";
  return nullptr;
}

std::string KindReason(DWORD fileType, bool directory) {
  const char* name = KindName(fileType, directory);
  return name ? std::string("it is ") + name + ", not a regular file" : "it is not a regular file";
}

void Fail(UserFileError& why, int error) {
  why.error = error;
  why.reason = ErrnoText(error);
}

void FailWin32(UserFileError& why, DWORD error) { Fail(why, ErrnoOfWin32(error)); }

void Refuse(UserFileError& why, DWORD fileType, bool directory) {
  why.error = 0;
  why.reason = KindReason(fileType, directory);
}

std::string KiB(size_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KiB"; }

void RefuseSize(UserFileError& why, const std::string& size, size_t limit,
                const std::string& holds) {
  why.error = 0;
  why.reason = TooLargeReason(size, limit, holds);
}

enum class Access { kRead, kAppend, kReadAppend };

// A device name is refused before it is opened (opening a serial port
// would raise its control lines, opening CON would wait on the console);
// a directory too. What is opened is kept only when it is a file on disk.
int OpenRegular(const std::string& path, Access access, UserFileError& why) {
  if (IsDeviceName(path)) {
    Refuse(why, FILE_TYPE_CHAR, false);
    return -1;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Refuse(why, FILE_TYPE_DISK, true);
    return -1;
  }
  if (attributes == INVALID_FILE_ATTRIBUTES &&
      (access == Access::kRead || !NoSuchFile(GetLastError()))) {
    FailWin32(why, GetLastError());
    return -1;
  }
  const DWORD rights = access == Access::kRead     ? GENERIC_READ
                       : access == Access::kAppend ? GENERIC_WRITE
                                                   : GENERIC_READ | GENERIC_WRITE;
  const DWORD disposition = access == Access::kRead ? OPEN_EXISTING : OPEN_ALWAYS;
  // Others may go on reading and writing, as they may on POSIX.
  const HANDLE file = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    FailWin32(why, GetLastError());
    return -1;
  }
  // The path may have been swapped for something else since the check.
  const DWORD type = GetFileType(file);
  if (type != FILE_TYPE_DISK) {
    Refuse(why, type, false);
    CloseHandle(file);
    return -1;
  }
  const int flags = _O_BINARY | (access == Access::kRead     ? _O_RDONLY
                                 : access == Access::kAppend ? _O_WRONLY | _O_APPEND
                                                             : _O_RDWR | _O_APPEND);
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags);
  if (fd < 0) {
    Fail(why, EMFILE);
    CloseHandle(file);
  }
  return fd;
}

// Reads up to `count` bytes; false on a read error. The buffer grows with
// what arrives, so a short file under a large bound costs only its size.
bool ReadUpTo(int fd, size_t count, std::string& bytes, UserFileError& why) {
  constexpr size_t kStep = 64 * 1024;
  bytes.clear();
  size_t got = 0;
  while (got < count) {
    if (got == bytes.size()) bytes.resize(std::min(count, got + kStep));
    const int n = _read(fd, bytes.data() + got, static_cast<unsigned>(std::min<size_t>(bytes.size() - got, kStep)));
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

bool FileSize(int fd, uint64_t& size, UserFileError& why) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &value)) {
    FailWin32(why, GetLastError());
    return false;
  }
  size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

std::string FolderOf(const std::string& target) {
  const size_t slash = target.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  if (slash == 0 || (slash == 2 && target[1] == ':')) return target.substr(0, slash + 1);
  return target.substr(0, slash);
}

// Windows has no access() that tells whether a folder takes new files:
// making (and at once dropping) one there is the only sure answer.
DWORD ProbeFolder(const std::string& folder) {
  const std::string probe =
      folder + "\\.vorn-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return ERROR_SUCCESS;
}

bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  if (IsDeviceName(path)) return false;
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool got = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return got;
}

}  // namespace

int ErrnoOfWin32(DWORD error) {
  for (const ErrorEntry& e : kErrors)
    if (e.error == error) return e.number;
  return EIO;
}

bool NoSuchFile(DWORD error) { return ErrnoOfWin32(error) == ENOENT; }

bool IsDeviceName(const std::string& path) {
  if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0) return true;
  const size_t slash = path.find_last_of("/\\:");
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  // "NUL.txt" and "nul " are the device too.
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* name : kNames)
    if (base == name) return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

std::string TooLargeReason(const std::string& size, size_t limit, const std::string& holds) {
  return "it holds " + size + ", more than " + holds + " ever needs (" + KiB(limit) + ")";
}

bool UserFileError::Missing() const { return error == ENOENT; }

// The C library's words, as on POSIX: "No such file or directory".
std::string ErrnoText(int error) { return std::generic_category().message(error); }

std::string UnableToOpenText(const std::string& path, const UserFileError& why) {
  std::string text = "Unable to open file " + ShownPath(path);
  if (!why.Missing() && !why.reason.empty()) text += ": " + why.reason;
  return text;
}

int OpenUserFileForReading(const std::string& path, UserFileError& why) {
  return OpenRegular(path, Access::kRead, why);
}

int OpenUserFileForAppend(const std::string& path, UserFileError& why) {
  return OpenRegular(path, Access::kAppend, why);
}

int OpenUserFileForReadAppend(const std::string& path, UserFileError& why) {
  return OpenRegular(path, Access::kReadAppend, why);
}

bool ReadUserFile(const std::string& path, size_t limit, const std::string& holds,
                  std::string& text, UserFileError& why) {
  const int fd = OpenUserFileForReading(path, why);
  if (fd < 0) return false;
  uint64_t size = 0;
  bool ok = FileSize(fd, size, why);
  if (ok && size > limit) {
    RefuseSize(why, std::to_string(size) + " bytes", limit, holds);
    ok = false;
  }
  // One byte past the bound tells a file that grew meanwhile.
  if (ok) ok = ReadUpTo(fd, limit + 1, text, why);
  if (ok && text.size() > limit) {
    RefuseSize(why, "more than " + KiB(limit), limit, holds);
    ok = false;
  }
  _close(fd);
  if (!ok) text.clear();
  return ok;
}

bool ReadUserFileHead(const std::string& path, size_t count, std::vector<uint8_t>& bytes,
                      uint64_t& size, UserFileError& why) {
  const int fd = OpenUserFileForReading(path, why);
  if (fd < 0) return false;
  std::string head;
  const bool ok = FileSize(fd, size, why) && ReadUpTo(fd, count, head, why);
  _close(fd);
  if (!ok) return false;
  bytes.assign(head.begin(), head.end());
  size = std::max<uint64_t>(size, head.size());
  return true;
}

bool CheckSaveTarget(const std::string& path, std::string& why) {
  if (path.empty()) {
    why = "no file name";
    return false;
  }
  if (IsDeviceName(path)) {
    why = KindReason(FILE_TYPE_CHAR, false);
    return false;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      why = KindReason(FILE_TYPE_DISK, true);
      return false;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      why = ErrnoText(EACCES);
      return false;
    }
  } else if (!NoSuchFile(GetLastError())) {
    why = ErrnoText(ErrnoOfWin32(GetLastError()));
    return false;
  }
  const std::string folder = FolderOf(path);
  const DWORD folderAttributes = GetFileAttributesA(folder.c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES) {
    why = "no folder " + folder + " (" + ErrnoText(ErrnoOfWin32(GetLastError())) + ")";
    return false;
  }
  if (!(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    why = folder + " is not a directory";
    return false;
  }
  // The new contents go to a fresh file beside the old one first.
  if (const DWORD error = ProbeFolder(folder); error != ERROR_SUCCESS) {
    why = "cannot write into the folder " + folder + " (" + ErrnoText(ErrnoOfWin32(error)) + ")";
    return false;
  }
  return true;
}

bool SaveUserFile(const std::string& path, const void* bytes, size_t size, std::string& why) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (IsDeviceName(path) ||
      (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))) {
    why = KindReason(IsDeviceName(path) ? FILE_TYPE_CHAR : FILE_TYPE_DISK, !IsDeviceName(path));
    return false;
  }
  errno = 0;
  if (ReplaceFileContents(path.c_str(), static_cast<const uint8_t*>(bytes), size)) return true;
  why = ErrnoText(errno != 0 ? errno : EIO);
  return false;
}

// One file: the same volume and the same file index.
bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  return FileIdentity(a, ia) && FileIdentity(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool NamesSameFile(const std::string& a, const std::string& b) {
  if (SameFile(a, b)) return true;
  std::error_code errorA, errorB;
  const std::filesystem::path fullA = std::filesystem::weakly_canonical(a, errorA);
  const std::filesystem::path fullB = std::filesystem::weakly_canonical(b, errorB);
  return !errorA && !errorB && fullA == fullB;
}

// Windows has no file-size-limit signal: a write past a quota just fails.
void IgnoreFileSizeLimitSignal() {}
