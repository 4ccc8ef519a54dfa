#pragma once
// Protocol I framing, free of threads and ports. Frames carry no start
// byte: they are recognised by their last three bytes (marker, command,
// checksum), looking back over the most recent received bytes.
//
// Wire order: P1..Pn, checksum (0xFF - 8-bit sum of P), command, marker.

#include <cstdint>

inline constexpr uint8_t kVornIMarkerA = 0xAA;
inline constexpr uint8_t kVornIMarkerC = 0xCC;
inline constexpr int kVornIWindow = 64;

// Payload length for a marker/command pair; `countByte` is the byte just
// before the checksum (the text frame's character count). -1 = not a frame.
int VornIPayloadLength(uint8_t marker, uint8_t command, uint8_t countByte);

// Writes payload, checksum, command, marker into out (n + 3 bytes).
int EncodeVornIFrame(uint8_t marker, uint8_t command, const uint8_t* payload, int n, uint8_t* out);

class VornIRecogniser {
 public:
  // Returns the length (n + 3) of a frame completed by this byte, else 0.
  // After a frame the window is cleared.
  int Feed(uint8_t byte);
  void Reset();

  // The recognised frame, newest byte first: marker, command, checksum,
  // Pn .. P1. Valid after Feed() returned non-zero.
  const uint8_t* FrameCopy() const { return frame_; }
  uint8_t Marker() const { return frame_[0]; }
  uint8_t Command() const { return frame_[1]; }
  // Payload byte Pk in wire order (k = 1..n) of the last frame.
  uint8_t P(int k) const { return frame_[2 + lastN_ - k + 1]; }
  int PayloadLength() const { return lastN_; }
  // The last frame in wire order into out (n + 3 bytes); returns length.
  int CopyWireOrder(uint8_t* out, int max) const;

 private:
  uint8_t window_[kVornIWindow] = {};
  uint8_t frame_[kVornIWindow] = {};
  int lastN_ = 0;
};
