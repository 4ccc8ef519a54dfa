#include "readarchive.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "eeprom.h"
#include "filereplace.h"

namespace fs = std::filesystem;

namespace {

// Enough for the reads of one second from several radios at once.
constexpr int kMaxAttempts = 1000;

bool FileNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '-';
}

// The number a name ends in, "_10" of "..._0x5A02_10.mem"; 1 without one
// (the product ID before it is never all digits).
long AttemptOf(const std::string& name) {
  const std::string stem = name.substr(0, name.size() - std::min<size_t>(name.size(), 4));
  const size_t underscore = stem.rfind('_');
  if (underscore == std::string::npos || underscore + 1 == stem.size() ||
      stem.size() - underscore > 10)
    return 1;
  long attempt = 0;
  for (size_t i = underscore + 1; i < stem.size(); ++i) {
    if (stem[i] < '0' || stem[i] > '9') return 1;
    attempt = attempt * 10 + (stem[i] - '0');
  }
  return attempt;
}

// The names start with the time of the read to the second; the reads of
// one second follow their number, which text order would put _10 before _2.
std::tuple<std::string, long, std::string> ArchiveOrderKey(const std::string& name) {
  return {name.substr(0, std::min<size_t>(name.size(), 19)), AttemptOf(name), name};
}

}  // namespace

#ifdef _WIN32
// Per user and per machine, where Windows programs keep what they make
// for themselves: %LOCALAPPDATA%\Vorn\<model>\reads.
std::string DefaultReadArchiveFolder(const std::string& programName) {
  const char* local = std::getenv("LOCALAPPDATA");
  if (local == nullptr || local[0] == '\0') return "";
  return std::string(local) + "\\Vorn\\" + programName + "\\reads";
}

static const char kNoArchiveFolder[] = "no folder for it (LOCALAPPDATA is not set)";
#else
static const char kNoArchiveFolder[] = "no folder for it (neither XDG_DATA_HOME nor HOME is set)";

std::string DefaultReadArchiveFolder(const std::string& programName) {
  std::string data;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // Relative paths in XDG_DATA_HOME are to be ignored: they would follow
  // whatever folder the program happens to be started in.
  if (xdg != nullptr && xdg[0] == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    data = std::string(home) + "/.local/share";
  } else {
    return "";
  }
  return data + "/Vorn/" + programName + "/reads";
}
#endif

std::string ArchiveFileName(const std::tm& t, const std::string& modelName, uint32_t productId,
                            int attempt) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  std::string model = modelName.empty() ? "Unknown" : modelName;
  std::replace_if(model.begin(), model.end(), [](char c) { return !FileNameChar(c); }, '-');
  char id[16];
  std::snprintf(id, sizeof id, "0x%04X", static_cast<unsigned>(productId & 0xFFFF));
  std::string name = std::string(stamp) + "_" + model + "_" + id;
  if (attempt > 1) name += "_" + std::to_string(attempt);
  return name + ".mem";
}

bool ReadArchive::Save(const EEPROM& image, uint32_t productId, const std::string& modelName,
                       std::time_t when, std::string& path, std::string& error) const {
  if (folder_.empty()) {
    error = kNoArchiveFolder;
    return false;
  }
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec) {
    error = "cannot create " + folder_ + ": " + ec.message();
    return false;
  }
  std::tm local{};
  localtime_r(&when, &local);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    const std::string candidate =
        folder_ + "/" + ArchiveFileName(local, modelName, productId, attempt);
    // O_EXCL: a file of the same second, from this or another program
    // running at the same time, is never replaced.
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      error = "cannot create " + candidate + ": " + std::strerror(errno);
      return false;
    }
    const bool written =
        WriteWhole(fd, image.Data(), static_cast<size_t>(image.GetLength())) && fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = close(fd) == 0;
    if (!written || !closed) {
      unlink(candidate.c_str());
      error = "cannot write " + candidate + ": " + std::strerror(written ? errno : writeErrno);
      return false;
    }
    path = candidate;
    return true;
  }
  error = "too many reads in one second in " + folder_;
  return false;
}

std::vector<ArchivedRead> ReadArchive::List() const {
  std::vector<ArchivedRead> reads;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->path().extension() != ".mem") continue;
    ArchivedRead read;
    read.path = it->path().string();
    read.name = it->path().filename().string();
    read.size = it->file_size(ec);
    reads.push_back(read);
  }
  std::sort(reads.begin(), reads.end(), [](const ArchivedRead& a, const ArchivedRead& b) {
    return ArchiveOrderKey(a.name) < ArchiveOrderKey(b.name);
  });
  return reads;
}
