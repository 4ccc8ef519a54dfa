#include "vorniframe.h"

#include <algorithm>
#include <cstring>

namespace {
struct FrameShape {
  uint8_t marker;
  uint8_t command;
  int length;  // payload bytes; 0 = counted text frame
};

constexpr FrameShape kShapes[] = {
    {kVornIMarkerA, 2, 10}, {kVornIMarkerA, 3, 4},  {kVornIMarkerA, 5, 4},
    {kVornIMarkerA, 9, 4},  {kVornIMarkerA, 36, 6}, {kVornIMarkerA, 73, 4},
    {kVornIMarkerC, 1, 4},  {kVornIMarkerC, 5, 4},  {kVornIMarkerC, 6, 4},
    {kVornIMarkerC, 10, 4}, {kVornIMarkerC, 70, 4}, {kVornIMarkerC, 71, 4},
    {kVornIMarkerC, 2, 0},  {kVornIMarkerC, 4, 18},
};
}  // namespace

int VornIPayloadLength(uint8_t marker, uint8_t command, uint8_t countByte) {
  for (const auto& s : kShapes) {
    if (s.marker == marker && s.command == command) return s.length ? s.length : countByte + 1;
  }
  return -1;
}

int EncodeVornIFrame(uint8_t marker, uint8_t command, const uint8_t* payload, int n, uint8_t* out) {
  uint8_t sum = 0;
  for (int i = 0; i < n; ++i) {
    out[i] = payload[i];
    sum = static_cast<uint8_t>(sum + payload[i]);
  }
  out[n] = static_cast<uint8_t>(0xFF - sum);
  out[n + 1] = command;
  out[n + 2] = marker;
  return n + 3;
}

void VornIRecogniser::Reset() { std::memset(window_, 0, sizeof window_); }

int VornIRecogniser::Feed(uint8_t byte) {
  std::memmove(window_ + 1, window_, kVornIWindow - 1);
  window_[0] = byte;

  const int n = VornIPayloadLength(window_[0], window_[1], window_[3]);
  // A frame must fit the window with its three trailing bytes; a text
  // frame whose count claims more can never be complete, so it is simply
  // not a frame (its bytes age out like any other noise).
  if (n < 0 || n + 3 > kVornIWindow) return 0;

  uint8_t sum = 0;
  for (int i = 3; i < 3 + n; ++i) sum = static_cast<uint8_t>(sum + window_[i]);
  if (static_cast<uint8_t>(0xFF - sum) != window_[2]) return 0;

  std::memcpy(frame_, window_, static_cast<size_t>(n + 3));
  lastN_ = n;
  Reset();
  return n + 3;
}

int VornIRecogniser::CopyWireOrder(uint8_t* out, int max) const {
  const int len = std::min(lastN_ + 3, max);
  for (int i = 0; i < len; ++i) out[i] = frame_[lastN_ + 2 - i];
  return len;
}
