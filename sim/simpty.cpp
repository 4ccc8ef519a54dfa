#include "simpty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
constexpr int kWriteStallMs = 1000;
constexpr int kPacedChunk = 4;

struct SpeedRow {
  speed_t code;
  uint32_t baud;
};
constexpr SpeedRow kSpeeds[] = {
    {B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},
    {B19200, 19200}, {B38400, 38400}, {B57600, 57600},   {B115200, 115200},
};

// Waits for fd to become ready for `events` or stopFd readable.
// 1 ready, 0 time-out, -1 stop or failure.
int WaitFd(int fd, short events, int stopFd, int timeoutMs) {
  pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    const int n = poll(fds, 2, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || (fds[0].revents & POLLIN)) return -1;
    if (n == 0) return 0;
    return (fds[1].revents & (events | POLLERR | POLLHUP)) ? 1 : 0;
  }
}
}  // namespace

bool SimPty::Open() {
  Close();
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return false;
  const char* name = nullptr;
  if (grantpt(master_) == 0 && unlockpt(master_) == 0) name = ptsname(master_);
  if (name) {
    slavePath_ = name;
    ownSlave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  }
  termios t{};
  if (ownSlave_ < 0 || tcgetattr(master_, &t) != 0) {
    Close();
    return false;
  }
  // Raw, so no byte is translated or echoed before the programmer sets
  // its own line settings.
  cfmakeraw(&t);
  cfsetspeed(&t, B9600);
  tcsetattr(master_, TCSANOW, &t);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  lineFreeAt_ = Clock::now();
  return true;
}

void SimPty::Close() {
  if (ownSlave_ >= 0) close(ownSlave_);
  if (master_ >= 0) close(master_);
  ownSlave_ = master_ = -1;
}

bool SimPty::Write(const uint8_t* bytes, int count, int stopFd, uint32_t paceBaud) {
  int done = 0;
  // The line may have been idle; from then on the bytes of this write
  // follow one another on a fixed schedule, so a late wake-up for one
  // chunk does not push back every later one.
  if (paceBaud > 0) lineFreeAt_ = std::max(lineFreeAt_, Clock::now());
  while (done < count && master_ >= 0) {
    int chunk = count - done;
    if (paceBaud > 0) {
      chunk = std::min(chunk, kPacedChunk);
      lineFreeAt_ += SimWireTime(chunk, paceBaud);
      if (SimSleepUntil(lineFreeAt_, stopFd)) return false;
    }
    const ssize_t n = write(master_, bytes + done, static_cast<size_t>(chunk));
    if (n > 0) {
      done += static_cast<int>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (WaitFd(master_, POLLOUT, stopFd, kWriteStallMs) <= 0) return false;
    } else {
      return false;
    }
  }
  return done == count;
}

int SimPty::UnreadByProgram() const {
  int n = 0;
  if (ownSlave_ < 0 || ioctl(ownSlave_, FIONREAD, &n) != 0) return 0;
  return n;
}

uint32_t SimPty::ProgramSpeed() const {
  termios t{};
  if (master_ < 0 || tcgetattr(master_, &t) != 0) return 0;
  const speed_t code = cfgetospeed(&t);
  for (const SpeedRow& row : kSpeeds) {
    if (row.code == code) return row.baud;
  }
  return 0;
}

bool SimSleepUntil(SimPty::Clock::time_point deadline, int stopFd) {
  for (;;) {
    const auto left = deadline - SimPty::Clock::now();
    if (left <= SimPty::Clock::duration::zero()) return false;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    pollfd fd{stopFd, POLLIN, 0};
    const int n = ppoll(&fd, 1, &ts, nullptr);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return true;
  }
}

SimPty::Clock::duration SimWireTime(int count, uint32_t baud) {
  if (baud == 0) return SimPty::Clock::duration::zero();
  return std::chrono::duration_cast<SimPty::Clock::duration>(
      std::chrono::nanoseconds(static_cast<int64_t>(count) * 10 * 1000000000LL / baud));
}
