#include "localsocket.h"

#include <sys/time.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// False when the path does not fit a socket address (the kernel would
// otherwise bind a shortened name).
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

}  // namespace

int ListenLocal(const std::string& path) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return -1;
  Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return -1;
  unlink(path.c_str());
  // Made without group or other access from the start, not narrowed after.
  const mode_t old = umask(0077);
  const int bound = bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(old);
  if (bound != 0 || listen(fd.get(), 8) != 0) return -1;
  return fd.release();
}

int AcceptLocal(int listener) {
  int fd;
  do fd = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  return fd;
}

bool SendLocal(const std::string& path, const std::string& bytes, int timeoutMs) {
  sockaddr_un address;
  if (!MakeAddress(path, address)) return false;
  Descriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return false;
  // Bounds both the connect (a listener whose queue is full) and the
  // writes (one that does not read).
  const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) return false;
  int connected;
  do connected = connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  while (connected != 0 && errno == EINTR);
  if (connected != 0) return false;
  size_t sent = 0;
  while (sent < bytes.size()) {
    // No SIGPIPE for a listener that went away meanwhile: the send fails.
    const ssize_t n = send(fd.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0)
      sent += static_cast<size_t>(n);
    else if (n < 0 && errno == EINTR)
      continue;
    else
      return false;
  }
  return true;
}

LocalRead ReadLocal(int connection, char* buffer, int size, int& got) {
  for (;;) {
    const ssize_t n = read(connection, buffer, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return LocalRead::kNothingYet;
    if (n <= 0) return LocalRead::kEnded;
    got = static_cast<int>(n);
    return LocalRead::kData;
  }
}

void CloseLocal(int connection) { close(connection); }

std::string CurrentUserTag() { return std::to_string(getuid()); }
