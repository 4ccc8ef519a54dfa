// Protocol I recogniser under arbitrary input: every reported frame must
// be exactly the bytes just received, of a known shape, with a valid
// checksum, and fit the 64-byte window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "vorniframe.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VornIRecogniser r;
  size_t sinceClear = 0;  // bytes in the window since it was last zeroed
  for (size_t i = 0; i < size; ++i) {
    ++sinceClear;
    const int length = r.Feed(data[i]);
    if (length == 0) continue;

    const int n = r.PayloadLength();
    Check(length == n + 3 && length >= 4 && length <= kVornIWindow);
    const uint8_t* f = r.FrameCopy();
    Check(VornIPayloadLength(f[0], f[1], f[3]) == n);
    uint8_t sum = 0;
    for (int k = 1; k <= n; ++k) sum = static_cast<uint8_t>(sum + r.P(k));
    Check(static_cast<uint8_t>(0xFF - sum) == f[2]);
    // Newest first: the frame is the bytes just fed, zero beyond the clear.
    for (int k = 0; k < length; ++k) {
      const uint8_t expected = static_cast<size_t>(k) < sinceClear ? data[i - static_cast<size_t>(k)] : 0;
      Check(f[k] == expected);
    }
    uint8_t wire[kVornIWindow];
    Check(r.CopyWireOrder(wire, kVornIWindow) == length);
    for (int k = 0; k < length; ++k) Check(wire[k] == f[length - 1 - k]);
    sinceClear = 0;
  }
  return 0;
}
