#include "mtdeque.h"

#include <cstring>

MTdeque::MTdeque(int /*requestedSize*/) { std::memset(ring_, 0, sizeof ring_); }

int MTdeque::Push(const uint8_t* bytes, int count) {
  if (count <= 0 || bytes == nullptr) return 0;
  std::lock_guard<std::mutex> g(lock_);
  int taken = 0;
  while (taken < count && count_ < kCapacity) {
    ring_[writePos_] = bytes[taken++];
    writePos_ = (writePos_ + 1) % kCapacity;
    ++count_;
  }
  return taken;
}

int MTdeque::Pop(uint8_t* destination, int maximum) {
  if (maximum <= 0 || destination == nullptr) return 0;
  std::lock_guard<std::mutex> g(lock_);
  int taken = 0;
  while (taken < maximum && count_ > 0) {
    destination[taken++] = ring_[readPos_];
    readPos_ = (readPos_ + 1) % kCapacity;
    --count_;
  }
  if (count_ <= 0) count_ = 0;
  return taken;
}

bool MTdeque::IsEmpty() const {
  std::lock_guard<std::mutex> g(lock_);
  return count_ <= 0;
}

int MTdeque::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return count_;
}

void MTdeque::Clear() {
  std::lock_guard<std::mutex> g(lock_);
  std::memset(ring_, 0, sizeof ring_);
  writePos_ = 0;
  readPos_ = 0;
  count_ = 0;
}
