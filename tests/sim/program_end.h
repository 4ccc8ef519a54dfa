#pragma once
// The programmer's end of the simulated radio's line, reduced to raw
// frames: opens the pseudo-terminal slave like a serial port and sorts
// what arrives into protocol II replies and protocol I frames, the way
// the programmer's two engines do.

#include <termios.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "vorniframe.h"
#include "vorniiframe.h"

using Bytes = std::vector<uint8_t>;

struct PanelFrame {
  uint8_t marker = 0;
  uint8_t command = 0;
  Bytes payload;  // wire order
};

class ProgramEnd {
 public:
  explicit ProgramEnd(const std::string& path, speed_t speed = B9600);
  ~ProgramEnd();
  ProgramEnd(const ProgramEnd&) = delete;
  ProgramEnd& operator=(const ProgramEnd&) = delete;

  bool ok() const { return fd_ >= 0; }
  bool SetSpeed(speed_t speed);
  void Close();

  bool SendRaw(const Bytes& bytes);
  // Frames the payload with the request flag set on its opcode byte.
  bool SendRequest(Bytes payload);
  std::optional<Bytes> NextReply(int timeoutMs = 1000);
  std::optional<Bytes> Transact(const Bytes& payload, int timeoutMs = 1000);
  std::optional<PanelFrame> NextPanelFrame(int timeoutMs = 1000);
  // The next protocol I frame with this command, skipping others.
  std::optional<PanelFrame> NextPanelFrame(uint8_t command, int timeoutMs);
  // Every byte received so far and until the line is quiet for quietMs.
  Bytes RawUntilQuiet(int quietMs = 100);
  // True when the line dropped (the radio hung up) within timeoutMs.
  bool LineDropped(int timeoutMs = 1000);

 private:
  // Reads what is there within timeoutMs; false when nothing came.
  bool Pump(int timeoutMs);

  int fd_ = -1;
  bool dropped_ = false;
  VornIIParser parser_;
  VornIRecogniser recogniser_;
  std::deque<Bytes> replies_;
  std::deque<PanelFrame> panel_;
  Bytes raw_;
};
