#pragma once
// The simulator's end of a pseudo-terminal. The programmer opens the
// slave like any serial device; the simulator reads and writes the
// master. The simulator keeps a slave descriptor of its own, so the master
// never hangs up while the programmer closes and reopens the port.

#include <chrono>
#include <cstdint>
#include <string>

class SimPty {
 public:
  using Clock = std::chrono::steady_clock;

  SimPty() = default;
  ~SimPty() { Close(); }
  SimPty(const SimPty&) = delete;
  SimPty& operator=(const SimPty&) = delete;

  bool Open();
  void Close();
  bool IsOpen() const { return master_ >= 0; }
  int Master() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

  // Writes every byte unless stopFd becomes readable or the programmer
  // stops reading for a second. With paceBaud > 0 each byte leaves when a
  // real line at that rate would have finished sending it (10 bits).
  bool Write(const uint8_t* bytes, int count, int stopFd, uint32_t paceBaud);
  // Bytes sent but not yet read by the programmer.
  int UnreadByProgram() const;
  // The speed the programmer set on its end, in baud; 0 when unknown.
  uint32_t ProgramSpeed() const;

 private:
  int master_ = -1;
  int ownSlave_ = -1;
  std::string slavePath_;
  Clock::time_point lineFreeAt_{};
};

// Sleeps until the deadline; true when stopFd became readable first.
bool SimSleepUntil(SimPty::Clock::time_point deadline, int stopFd);
// The wire time of count bytes at baud (10 bits each).
SimPty::Clock::duration SimWireTime(int count, uint32_t baud);
