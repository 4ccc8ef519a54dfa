#include "vorniiframe.h"

namespace {
constexpr uint8_t kStart = 0x7E;
constexpr uint8_t kType = 0x02;
constexpr uint8_t kEscape = 0x7D;
constexpr uint8_t kEnd = 0x7F;

bool NeedsEscape(uint8_t b) { return b == kEscape || b == kStart || b == kEnd; }
}  // namespace

uint8_t VornIIChecksum(const uint8_t* payload, int length) {
  uint8_t x = 0;
  for (int i = 0; i < length; ++i) x ^= payload[i];
  return static_cast<uint8_t>(~x);
}

int EncodeVornIIFrame(const uint8_t* payload, int length, uint8_t* out) {
  if (length < 1 || length > kVornIIMaxPayload) return 0;
  int n = 0;
  out[n++] = kStart;
  out[n++] = kType;
  out[n++] = static_cast<uint8_t>(length);
  for (int i = 0; i < length; ++i) {
    if (NeedsEscape(payload[i])) {
      out[n++] = kEscape;
      out[n++] = payload[i] ^ 0x20;
    } else {
      out[n++] = payload[i];
    }
  }
  out[n++] = VornIIChecksum(payload, length);
  out[n++] = kEnd;
  return n;
}

bool VornIIParser::Feed(uint8_t byte) {
  badChecksum_ = false;
  switch (state_) {
    case 0:
      received_ = 0;
      expected_ = 0;
      state_ = byte == kStart ? 1 : 0;
      return false;
    case 1:
      state_ = byte == kType ? 2 : 0;
      return false;
    case 2:
      escapePending_ = false;
      expected_ = byte;
      received_ = 0;
      // A zero length can never be reached by counting payload bytes; the
      // radio never sends one, so treat it as line noise and resynchronise
      // on the next start byte rather than swallowing the stream.
      state_ = expected_ == 0 ? 0 : 3;
      return false;
    case 3:
      if (byte == kEscape) {
        escapePending_ = true;
        return false;
      }
      if (escapePending_) {
        byte ^= 0x20;
        escapePending_ = false;
      }
      buffer_[received_++] = byte;  // expected_ <= 255 < kBufferSize
      if (received_ == expected_) state_ = 4;
      return false;
    case 4:
      checksum_ = byte;
      state_ = 5;
      return false;
    case 5:
      state_ = 0;
      if (byte != kEnd) return false;
      if (checksum_ == VornIIChecksum(buffer_, expected_)) return true;
      badChecksum_ = true;
      return false;
    default:
      state_ = 0;
      return false;
  }
}
