#pragma once
// Protocol II framing, free of threads and ports so that the engine, the
// simulated radio and the fuzzer share one implementation.
//
// Frame: 7E 02 len payload(escaped) checksum 7F. Bytes 7D/7E/7F inside
// the payload travel as 7D, byte ^ 0x20. The checksum is the complement
// of the XOR of the unescaped payload and is never escaped.

#include <cstdint>

inline constexpr int kVornIIMaxPayload = 255;
// Worst case: every payload byte escaped, plus start, type, length,
// checksum and end.
inline constexpr int kVornIIMaxFrame = 2 * kVornIIMaxPayload + 5;

// Writes the frame for `payload` into `out` (at least kVornIIMaxFrame
// bytes). Returns the frame length, or 0 when length is outside 1..255.
int EncodeVornIIFrame(const uint8_t* payload, int length, uint8_t* out);

uint8_t VornIIChecksum(const uint8_t* payload, int length);

// The receive state machine. Feed() one byte at a time; it returns true
// when that byte completed a frame whose checksum holds, whose payload is
// then Payload()[0 .. Length()-1] until the next Feed(). A frame whose
// checksum does not hold is dropped like line noise: a damaged byte in a
// reply must never pass for the radio's data.
class VornIIParser {
 public:
  static constexpr int kBufferSize = 1024;

  bool Feed(uint8_t byte);
  void Reset() { state_ = 0; }
  // True when the last byte fed ended a frame that was dropped for its
  // checksum, so a monitor can say why nothing arrived.
  bool BadChecksum() const { return badChecksum_; }
  int State() const { return state_; }

  const uint8_t* Payload() const { return buffer_; }
  int Length() const { return expected_; }

 private:
  uint8_t buffer_[kBufferSize] = {};
  int state_ = 0;
  int expected_ = 0;
  int received_ = 0;
  bool escapePending_ = false;
  uint8_t checksum_ = 0;
  bool badChecksum_ = false;
};
