#pragma once
// A started simulated radio with the programmer's end of its line open.

#include <gtest/gtest.h>

#include <memory>

#include "program_end.h"
#include "radioinfo.h"
#include "simradio.h"

struct SimOnLine {
  explicit SimOnLine(uint32_t productId, SimVersion version = {}) : radio(productId) {
    if (version.major) radio.SetVersion(version);
    started = radio.Start();
    end = std::make_unique<ProgramEnd>(radio.DevicePath());
  }
  bool ready() const { return started && end->ok(); }

  SimulatedRadio radio;
  bool started = false;
  std::unique_ptr<ProgramEnd> end;
};

// Reply payloads as the radio sends them, for readable failures.
inline std::string Hex(const Bytes& bytes) {
  std::string s;
  char b[4];
  for (uint8_t v : bytes) {
    snprintf(b, sizeof b, "%02X ", v);
    s += b;
  }
  return s;
}
