// Protocol II receive state machine under arbitrary input (frames taken
// exactly when their checksum holds), a round trip of the input as a
// payload through the encoder and a fresh parser, and the same payload
// with one byte damaged, which must never pass.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "vorniiframe.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}

bool NeedsEscape(uint8_t b) { return b == 0x7D || b == 0x7E || b == 0x7F; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VornIIParser parser;
  for (size_t i = 0; i < size; ++i) {
    const bool done = parser.Feed(data[i]);
    Check(parser.State() >= 0 && parser.State() <= 5);
    Check(!(done && parser.BadChecksum()));
    if (done || parser.BadChecksum()) {
      Check(i >= 1 && data[i] == 0x7F && parser.State() == 0);
      Check(parser.Length() >= 1 && parser.Length() <= kVornIIMaxPayload);
      // The checksum byte came just before the end byte, never escaped.
      const bool holds = data[i - 1] == VornIIChecksum(parser.Payload(), parser.Length());
      Check(holds == done);
    }
  }

  if (size == 0) return 0;
  const int length = size > static_cast<size_t>(kVornIIMaxPayload) ? kVornIIMaxPayload : static_cast<int>(size);
  uint8_t frame[kVornIIMaxFrame];
  const int frameLength = EncodeVornIIFrame(data, length, frame);
  Check(frameLength >= length + 5 && frameLength <= kVornIIMaxFrame);
  Check(frame[0] == 0x7E && frame[1] == 0x02 && frame[2] == length && frame[frameLength - 1] == 0x7F);
  for (int k = 3; k < frameLength - 2; ++k) {
    // Only escape sequences may carry the special bytes.
    if (frame[k] == 0x7D) {
      ++k;
      Check(k < frameLength - 2 && NeedsEscape(static_cast<uint8_t>(frame[k] ^ 0x20)));
    } else {
      Check(!NeedsEscape(frame[k]));
    }
  }
  Check(frame[frameLength - 2] == VornIIChecksum(data, length));

  // Whatever state the garbage left behind, a reset parser decodes it.
  parser.Reset();
  int frames = 0;
  for (int k = 0; k < frameLength; ++k) {
    if (parser.Feed(frame[k])) {
      ++frames;
      Check(k == frameLength - 1);
      Check(parser.Length() == length && std::memcmp(parser.Payload(), data, static_cast<size_t>(length)) == 0);
    }
  }
  Check(frames == 1);

  // One payload byte damaged on the line under the original checksum:
  // never a frame, always reported as a bad checksum at its end byte.
  uint8_t damaged[kVornIIMaxPayload];
  std::memcpy(damaged, data, static_cast<size_t>(length));
  damaged[length / 2] ^= static_cast<uint8_t>(1u << (data[0] % 8));
  uint8_t damagedFrame[kVornIIMaxFrame];
  const int damagedLength = EncodeVornIIFrame(damaged, length, damagedFrame);
  damagedFrame[damagedLength - 2] = frame[frameLength - 2];
  parser.Reset();
  int badChecksums = 0;
  for (int k = 0; k < damagedLength; ++k) {
    Check(!parser.Feed(damagedFrame[k]));
    if (parser.BadChecksum()) {
      ++badChecksums;
      Check(k == damagedLength - 1);
    }
  }
  Check(badChecksums == 1);
  return 0;
}
