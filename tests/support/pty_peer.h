#pragma once
// The far end of a real pseudo-terminal, for tests that drive the
// program's serial code: the program opens SlavePath() like any serial
// device; the test reads and writes the master side.

#include <cstdint>
#include <string>
#include <vector>

class PtyPeer {
 public:
  PtyPeer();
  ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }

  bool Write(const std::vector<uint8_t>& bytes);
  // Reads until `count` bytes arrived or timeoutMs passed.
  std::vector<uint8_t> Read(size_t count, int timeoutMs = 1000);
  // Reads whatever arrives until the line has been quiet for quietMs.
  std::vector<uint8_t> ReadUntilQuiet(int quietMs = 50, int timeoutMs = 1000);
  // Closes the master: the slave side sees a hang-up.
  void HangUp();

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Waits until pred() holds or timeoutMs passes; returns pred(). The time
// is only a bound for a wait that should succeed, generous for a loaded
// machine.
template <class Pred>
bool WaitUntil(Pred pred, int timeoutMs = 10000);

#include <chrono>
#include <thread>
template <class Pred>
bool WaitUntil(Pred pred, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
