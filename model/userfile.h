#pragma once
// A user's files, opened so that nothing a user names can hang or swamp the
// programs: a directory, a FIFO, a socket or a device is refused before
// anything waits on it, a file is read only up to a bound fit for what it
// should hold, and every refusal says why in words. The programmer and
// vornprog both read and save through here, so they give the same reasons.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct UserFileError {
  int error = 0;       // errno, or 0 when refused for what the file is
  std::string reason;  // "No such file or directory", "it is a FIFO (named pipe), not a regular file"
  bool Missing() const;
};

// The system's words for an errno value: "No space left on device".
std::string ErrnoText(int error);

// "Unable to open file " + path, and ": " + the reason unless the file is
// simply not there.
std::string UnableToOpenText(const std::string& path, const UserFileError& why);

// "it holds 3145728 bytes, more than a channel list ever needs (512 KiB)".
std::string TooLargeReason(const std::string& size, size_t limit, const std::string& holds);

// Opens a regular file for reading without ever waiting on it. -1, with
// why set, when it cannot be opened or is anything but a regular file.
int OpenUserFileForReading(const std::string& path, UserFileError& why);
// The same for appending; a missing file is made (0644 through the umask).
int OpenUserFileForAppend(const std::string& path, UserFileError& why);
// The same, also for reading back what was appended (a log kept open).
int OpenUserFileForReadAppend(const std::string& path, UserFileError& why);

// The whole of a file that should hold at most `limit` bytes; a larger one
// is refused unread, its reason naming `holds` ("a channel list").
bool ReadUserFile(const std::string& path, size_t limit, const std::string& holds,
                  std::string& text, UserFileError& why);
// The first `count` bytes of a file (fewer when it is shorter), and the
// file's size.
bool ReadUserFileHead(const std::string& path, size_t count, std::vector<uint8_t>& bytes,
                      uint64_t& size, UserFileError& why);

// Finds out before any work whether a file could be saved at path: its
// folder is there and can be written, and the path names nothing or a
// regular file the user may replace. False with why set otherwise.
bool CheckSaveTarget(const std::string& path, std::string& why);
// Replaces path's contents in one step (an existing file is kept whole on
// any failure) or says why not: "No space left on device".
bool SaveUserFile(const std::string& path, const void* bytes, size_t size, std::string& why);

// Whether two paths name one file, by device and inode; false when either
// is missing.
bool SameFile(const std::string& a, const std::string& b);
// SameFile, or, while one is not there yet, the same place once both are
// spelt out in full: a file about to be made for one is the other.
bool NamesSameFile(const std::string& a, const std::string& b);

// A file-size limit (ulimit -f) ends a write past it with SIGXFSZ, which
// kills the program in the middle of its work. Ignored, the write fails
// with EFBIG ("File too large") and is handled as any failed write.
void IgnoreFileSizeLimitSignal();
