#include "bytetrace.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include <unistd.h>

#include "excerpt.h"
#include "messages.h"
#include "monitorlines.h"
#include "platform.h"
#include "userfile.h"

namespace {

std::tm LocalTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

std::string TraceFailureText(const std::string& path, int errorNumber) {
  return "Unable to write the trace file " + ShownPath(path) + ": " + std::strerror(errorNumber) +
         ". The trace stops here; the radio work goes on.";
}

ByteTrace::~ByteTrace() { Close(); }

bool ByteTrace::Open(const std::string& path, const std::string& program, std::string& error) {
  Close();
  // A FIFO or a device named as the trace is refused before it could
  // hold the program up.
  UserFileError why;
  const int fd = OpenUserFileForAppend(path, why);
  std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "a");
  if (!file) {
    if (fd >= 0) {
      why.reason = ErrnoText(errno);
      close(fd);
    }
    error = why.reason;
    return false;
  }
  {
    std::lock_guard<std::mutex> g(lock_);
    file_ = file;
    path_ = path;
    failedErrno_ = 0;
    reported_ = false;
  }
  const std::tm t = LocalTime(std::chrono::system_clock::now());
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &t);
  Line("------ " + program + " " + date + " ------");
  return true;
}

bool ByteTrace::IsOpen() const {
  std::lock_guard<std::mutex> g(lock_);
  return file_ != nullptr;
}

void ByteTrace::Close() {
  std::lock_guard<std::mutex> g(lock_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void ByteTrace::Block(bool received, const uint8_t* bytes, int count) {
  if (count <= 0) return;
  Put(ByteMonitorDataLine(MonitorClock(std::chrono::system_clock::now()), received, count, count,
                          bytes));
}

void ByteTrace::Line(const std::string& text) { Put(text); }

void ByteTrace::SetFailureReceiver(MessageReceiver* receiver) {
  std::lock_guard<std::mutex> g(lock_);
  receiver_ = receiver;
  ReportFailure();
}

// Posted under the lock, so a receiver taken away by SetFailureReceiver
// is never posted to afterwards; a receiver never blocks the poster.
void ByteTrace::ReportFailure() {
  if (!failedErrno_ || reported_ || !receiver_) return;
  reported_ = true;
  receiver_->PostMessage(WM_TRACE_FAILED, 0, failedErrno_);
}

void ByteTrace::Put(const std::string& line) {
  std::lock_guard<std::mutex> g(lock_);
  // After a failure the file is left alone: a full disk would fail every
  // line again, and a gap in the middle would mislead.
  if (!file_ || failedErrno_) return;
  errno = 0;
  const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
                       std::fputc('\n', file_) != EOF && std::fflush(file_) == 0;
  if (written) return;
  failedErrno_ = errno ? errno : EIO;
  ReportFailure();
}
