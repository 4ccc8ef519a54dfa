#pragma once
// Copies of the frames a traffic monitor has been told about and has not
// shown yet. A monitor that falls behind the link must still show each
// frame's own bytes, so every posted message names a copy of its own (by
// ticket) that no later frame can touch. Bounded, so that a window that
// stops draining cannot make it grow without end: the oldest copies go
// first, and their late messages then show nothing.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

class MonitorFrames {
 public:
  static constexpr size_t kMaxFrames = 4096;

  // Keeps a copy of count bytes; the ticket its message carries. Tickets
  // only grow, so a message left over from an earlier showing never names
  // a frame of this one.
  intptr_t Keep(const uint8_t* bytes, int count);
  // Copies up to maximum bytes of the frame the ticket names and lets it
  // go, together with any older copy whose message never came. -1 when
  // the frame is no longer kept.
  int Take(intptr_t ticket, uint8_t* destination, int maximum);
  // Up to maximum bytes of the oldest copy; what is left of it stays for
  // the next call, so callers that read in small pieces see one stream.
  int TakeOldest(uint8_t* destination, int maximum);
  // Lets every copy go (tickets go on counting).
  void Clear();
  size_t Count() const;

 private:
  struct Frame {
    intptr_t ticket;
    std::vector<uint8_t> bytes;
    size_t taken = 0;
  };
  mutable std::mutex lock_;
  std::deque<Frame> frames_;
  intptr_t next_ = 0;
};
