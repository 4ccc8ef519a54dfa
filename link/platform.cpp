#include "platform.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

Event::Event() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

Event::~Event() {
  if (fd_ >= 0) close(fd_);
}

void Event::Set() {
  const uint64_t one = 1;
  // The counter only has to be non-zero; a full counter is still set.
  [[maybe_unused]] ssize_t n = write(fd_, &one, sizeof one);
}

void Event::Reset() {
  uint64_t value;
  [[maybe_unused]] ssize_t n = read(fd_, &value, sizeof value);
}

bool Event::IsSet() const { return Wait(0); }

bool Event::Wait(int timeoutMs) const { return WaitAny({this}, timeoutMs) == 0; }

int WaitAny(std::initializer_list<const Event*> events, int timeoutMs) {
  pollfd fds[8];
  int n = 0;
  for (const Event* e : events) {
    if (n == 8) return -2;
    fds[n++] = pollfd{e->Fd(), POLLIN, 0};
  }
  for (;;) {
    const int r = poll(fds, static_cast<nfds_t>(n), timeoutMs);
    if (r == 0) return -1;
    if (r < 0) {
      if (errno == EINTR) continue;  // a signal is not a reason to give up
      return -2;
    }
    for (int i = 0; i < n; ++i)
      if (fds[i].revents & POLLIN) return i;
    return -2;
  }
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
