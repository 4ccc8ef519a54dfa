#include "program_end.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {
using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}
}  // namespace

ProgramEnd::ProgramEnd(const std::string& path, speed_t speed) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return;
  termios t{};
  tcgetattr(fd_, &t);
  cfmakeraw(&t);
  cfsetspeed(&t, speed);
  tcsetattr(fd_, TCSANOW, &t);
  tcflush(fd_, TCIOFLUSH);
}

ProgramEnd::~ProgramEnd() { Close(); }

void ProgramEnd::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool ProgramEnd::SetSpeed(speed_t speed) {
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return false;
  cfsetspeed(&t, speed);
  return tcsetattr(fd_, TCSANOW, &t) == 0;
}

bool ProgramEnd::SendRaw(const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{fd_, POLLOUT, 0};
      if (poll(&p, 1, 1000) <= 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool ProgramEnd::SendRequest(Bytes payload) {
  payload[0] |= 0x80;
  Bytes frame(kVornIIMaxFrame);
  frame.resize(static_cast<size_t>(EncodeVornIIFrame(payload.data(), static_cast<int>(payload.size()), frame.data())));
  return !frame.empty() && SendRaw(frame);
}

bool ProgramEnd::Pump(int timeoutMs) {
  if (fd_ < 0 || dropped_) return false;
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return false;
  uint8_t buffer[512];
  const ssize_t n = read(fd_, buffer, sizeof buffer);
  if (n <= 0) {
    if (n == 0 || errno != EAGAIN) dropped_ = true;
    return false;
  }
  for (ssize_t i = 0; i < n; ++i) {
    raw_.push_back(buffer[i]);
    // The two engines of the programmer: each completed frame makes the
    // other start over.
    if (parser_.Feed(buffer[i])) {
      replies_.emplace_back(parser_.Payload(), parser_.Payload() + parser_.Length());
      recogniser_.Reset();
    }
    if (recogniser_.Feed(buffer[i])) {
      PanelFrame f;
      f.marker = recogniser_.Marker();
      f.command = recogniser_.Command();
      for (int k = 1; k <= recogniser_.PayloadLength(); ++k) f.payload.push_back(recogniser_.P(k));
      panel_.push_back(f);
      parser_.Reset();
    }
  }
  return true;
}

std::optional<Bytes> ProgramEnd::NextReply(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (replies_.empty()) {
    if (MsLeft(end) == 0 && !Pump(0)) return std::nullopt;
    Pump(MsLeft(end));
  }
  Bytes reply = replies_.front();
  replies_.pop_front();
  return reply;
}

std::optional<Bytes> ProgramEnd::Transact(const Bytes& payload, int timeoutMs) {
  if (!SendRequest(payload)) return std::nullopt;
  return NextReply(timeoutMs);
}

std::optional<PanelFrame> ProgramEnd::NextPanelFrame(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (panel_.empty()) {
    if (MsLeft(end) == 0 && !Pump(0)) return std::nullopt;
    Pump(MsLeft(end));
  }
  PanelFrame f = panel_.front();
  panel_.pop_front();
  return f;
}

std::optional<PanelFrame> ProgramEnd::NextPanelFrame(uint8_t command, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto f = NextPanelFrame(MsLeft(end));
    if (!f || f->command == command) return f;
  }
}

Bytes ProgramEnd::RawUntilQuiet(int quietMs) {
  while (Pump(quietMs)) {
  }
  return raw_;
}

bool ProgramEnd::LineDropped(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!dropped_ && MsLeft(end) > 0) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, MsLeft(end)) > 0 && (p.revents & (POLLHUP | POLLERR))) dropped_ = true;
    if (!dropped_) Pump(0);
  }
  return dropped_;
}
