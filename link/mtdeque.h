#pragma once
// A locked fixed ring of bytes. Every queue of the serial link is one; the
// capacity is fixed so that nothing allocates on the data path.

#include <cstdint>
#include <mutex>

class MTdeque {
 public:
  static constexpr int kCapacity = 1024;

  // requestedSize is accepted for the callers' sake; the ring stays 1024.
  explicit MTdeque(int requestedSize = kCapacity);

  int Push(const uint8_t* bytes, int count);  // bytes accepted
  int Pop(uint8_t* destination, int maximum);  // bytes taken
  bool IsEmpty() const;
  int Count() const;
  void Clear();

 private:
  mutable std::mutex lock_;
  uint8_t ring_[kCapacity];
  int writePos_ = 0;
  int readPos_ = 0;
  int count_ = 0;
};
