// What the serial link costs on top of the line itself.
//
//   link_bench [round-trips] [idle-seconds]
//
// (a) The round trip of one ReadMemoryBlock through SerialPort, both
//     protocol engines and TRadio, against a minimal responder on a
//     pseudo-terminal, as a ratio to a plain synchronous write-then-read of
//     the same request and reply bytes over the same pseudo-terminal.
// (b) The CPU time the process uses while the port is open and idle, as a
//     percentage of one core.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "median.h"
#include "radio.h"
#include "radioinfo.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "vorniiframe.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every protocol II request with a 16-byte block reply, as fast
// as it can, on the master side of a pseudo-terminal.
class MinimalResponder {
 public:
  MinimalResponder() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
    slave_ = ptsname(master_);
    pipe(stop_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~MinimalResponder() {
    [[maybe_unused]] ssize_t n = write(stop_[1], "x", 1);
    thread_.join();
    close(master_);
  }
  const std::string& SlavePath() const { return slave_; }

 private:
  void Serve() {
    VornIIParser parser;
    uint8_t buffer[512];
    for (;;) {
      pollfd fds[2] = {{master_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) return;
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) {
        usleep(1000);  // slave not open yet
        continue;
      }
      for (ssize_t i = 0; i < n; ++i) {
        if (!parser.Feed(buffer[i])) continue;
        uint8_t reply[19] = {static_cast<uint8_t>(parser.Payload()[0] & 0x3F), parser.Payload()[1],
                             parser.Payload()[2]};
        for (int k = 0; k < 16; ++k) reply[3 + k] = static_cast<uint8_t>(k);
        uint8_t frame[kVornIIMaxFrame];
        const int len = EncodeVornIIFrame(reply, sizeof reply, frame);
        [[maybe_unused]] ssize_t w = write(master_, frame, static_cast<size_t>(len));
      }
    }
  }

  int master_ = -1;
  int stop_[2] = {-1, -1};
  std::string slave_;
  std::thread thread_;
};

// The floor: the same bytes, written and read back synchronously by the
// caller itself.
double PlainRoundTripUs(const std::string& path, int count) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  const uint8_t request[] = {0x83, 0x01, 0x00};
  uint8_t frame[kVornIIMaxFrame];
  const int len = EncodeVornIIFrame(request, sizeof request, frame);
  const uint8_t sample[19] = {3, 1, 0};
  uint8_t replyFrame[kVornIIMaxFrame];
  const int replyLen = EncodeVornIIFrame(sample, sizeof sample, replyFrame);
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const auto start = Clock::now();
    [[maybe_unused]] ssize_t w = write(fd, frame, static_cast<size_t>(len));
    int got = 0;
    uint8_t in[512];
    while (got < replyLen) {
      const ssize_t n = read(fd, in, sizeof in);
      if (n <= 0) break;
      got += static_cast<int>(n);
    }
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  close(fd);
  return Median(times);
}

double RadioRoundTripUs(TRadio& radio, int count, int& failures) {
  std::vector<double> times;
  uint8_t block[16];
  for (int i = 0; i < count; ++i) {
    const auto start = Clock::now();
    if (!radio.ReadMemoryBlock(0x100, block)) ++failures;
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return Median(times);
}

double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int roundTrips = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;

  MinimalResponder responder;
  const double plainUs = PlainRoundTripUs(responder.SlavePath(), roundTrips);

  SharedObjects shared(kProductKestal);
  shared.info.SelectModel(kProductKestal);
  SerialPort& port = shared.port;
  TRadio& radio = shared.radio;
  if (!port.Open(responder.SlavePath(), 9600)) {
    std::fprintf(stderr, "cannot open %s: %s\n", responder.SlavePath().c_str(),
                 port.LastOpenError().c_str());
    return 1;
  }
  int failures = 0;
  const double radioUs = RadioRoundTripUs(radio, roundTrips, failures);

  std::printf("(a) ReadMemoryBlock round trip, median of %d\n", roundTrips);
  std::printf("    plain write-then-read : %8.1f us\n", plainUs);
  std::printf("    SerialPort + TRadio   : %8.1f us  (%d failed)\n", radioUs, failures);
  std::printf("    ratio                 : %8.2f\n", radioUs / plainUs);

  const double cpuBefore = ProcessCpuSeconds();
  const auto wallBefore = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
  std::printf("(b) idle with the port open for %.1f s\n", wall);
  std::printf("    CPU time              : %8.4f s = %.3f %% of one core (target < 1 %%)\n", cpu,
              100.0 * cpu / wall);
  port.Close();
  return failures == 0 ? 0 : 1;
}
