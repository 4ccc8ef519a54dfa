#include "pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

PtyPeer::PtyPeer() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return;
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    close(master_);
    master_ = -1;
    return;
  }
  // Raw on the master side too, so no byte is translated on its way back.
  termios t{};
  if (tcgetattr(master_, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
  }
  slavePath_ = ptsname(master_);
}

PtyPeer::~PtyPeer() { HangUp(); }

void PtyPeer::HangUp() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

bool PtyPeer::Write(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::vector<uint8_t> PtyPeer::Read(size_t count, int timeoutMs) {
  std::vector<uint8_t> out;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (out.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
    uint8_t buf[512];
    const ssize_t n = read(master_, buf, std::min(sizeof buf, count - out.size()));
    if (n <= 0) break;
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}

std::vector<uint8_t> PtyPeer::ReadUntilQuiet(int quietMs, int timeoutMs) {
  std::vector<uint8_t> out;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, quietMs) <= 0) break;
    uint8_t buf[512];
    const ssize_t n = read(master_, buf, sizeof buf);
    if (n <= 0) break;
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}
