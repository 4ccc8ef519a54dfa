#include "eebuff.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t kErased = 0xFF;
}  // namespace

EEbuffer::EEbuffer(int length) : data_(static_cast<size_t>(std::max(length, 0)), kErased) {}

int EEbuffer::GetByte(int address) const {
  if (address < 0 || address >= GetLength()) return -1;
  return data_[static_cast<size_t>(address)];
}

int EEbuffer::SetByte(int address, int value) {
  if (address < 0 || address >= GetLength()) return -1;
  data_[static_cast<size_t>(address)] = static_cast<uint8_t>(value);
  return 0;
}

// The address is checked as given, then rounded down to even. An odd-length
// buffer has no low byte for its last even address, so that word is refused
// rather than read past the end.
int EEbuffer::GetWord(int address) const {
  if (address < 0 || address >= GetLength()) return -1;
  const int a = address & ~1;
  if (a + 1 >= GetLength()) return -1;
  return data_[static_cast<size_t>(a)] * 256 + data_[static_cast<size_t>(a) + 1];
}

int EEbuffer::SetWord(int address, int value) {
  if (address < 0 || address >= GetLength()) return -1;
  const int a = address & ~1;
  if (a + 1 >= GetLength()) return -1;
  data_[static_cast<size_t>(a)] = static_cast<uint8_t>(value >> 8);
  data_[static_cast<size_t>(a) + 1] = static_cast<uint8_t>(value);
  return 0;
}

namespace {
// How many bytes of a count-byte copy starting at address lie inside the
// buffer; 0 for anything starting outside it.
int CopyableCount(int address, int count, int length) {
  if (address < 0 || address >= length || count <= 0) return 0;
  return std::min(count, length - address);
}
}  // namespace

int EEbuffer::ReadBlock(int address, uint8_t* destination, int count) const {
  if (destination == nullptr) return 0;
  const int n = CopyableCount(address, count, GetLength());
  if (n > 0) std::memcpy(destination, data_.data() + address, static_cast<size_t>(n));
  return n;
}

int EEbuffer::WriteBlock(int address, const uint8_t* source, int count) {
  if (source == nullptr) return 0;
  const int n = CopyableCount(address, count, GetLength());
  if (n > 0) std::memcpy(data_.data() + address, source, static_cast<size_t>(n));
  return n;
}

int EEbuffer::Fill(int value) {
  std::fill(data_.begin(), data_.end(), static_cast<uint8_t>(value));
  return GetLength();
}
