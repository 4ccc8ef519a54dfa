#include "monitorframes.h"

#include <algorithm>
#include <cstring>

intptr_t MonitorFrames::Keep(const uint8_t* bytes, int count) {
  Frame frame;
  if (bytes && count > 0) frame.bytes.assign(bytes, bytes + count);
  std::lock_guard<std::mutex> g(lock_);
  frame.ticket = next_++;
  frames_.push_back(std::move(frame));
  if (frames_.size() > kMaxFrames) frames_.pop_front();
  return frames_.back().ticket;
}

namespace {
int CopyOut(const std::vector<uint8_t>& bytes, size_t from, uint8_t* destination, int maximum) {
  if (!destination || maximum <= 0 || from >= bytes.size()) return 0;
  const size_t n = std::min(bytes.size() - from, static_cast<size_t>(maximum));
  std::memcpy(destination, bytes.data() + from, n);
  return static_cast<int>(n);
}
}  // namespace

int MonitorFrames::Take(intptr_t ticket, uint8_t* destination, int maximum) {
  std::lock_guard<std::mutex> g(lock_);
  while (!frames_.empty() && frames_.front().ticket < ticket) frames_.pop_front();
  if (frames_.empty() || frames_.front().ticket != ticket) return -1;
  const int n = CopyOut(frames_.front().bytes, 0, destination, maximum);
  frames_.pop_front();
  return n;
}

int MonitorFrames::TakeOldest(uint8_t* destination, int maximum) {
  std::lock_guard<std::mutex> g(lock_);
  if (frames_.empty()) return 0;
  Frame& front = frames_.front();
  const int n = CopyOut(front.bytes, front.taken, destination, maximum);
  front.taken += static_cast<size_t>(n);
  if (front.taken >= front.bytes.size()) frames_.pop_front();
  return n;
}

void MonitorFrames::Clear() {
  std::lock_guard<std::mutex> g(lock_);
  frames_.clear();
}

size_t MonitorFrames::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return frames_.size();
}
