#pragma once
// A byte buffer with bounds-checked access: the radio's memory image and
// any private copy of it. New buffers read as erased memory (0xFF).

#include <cstdint>
#include <vector>

class EEbuffer {
 public:
  explicit EEbuffer(int length);
  virtual ~EEbuffer() = default;

  int GetByte(int address) const;
  int SetByte(int address, int value);
  int GetWord(int address) const;  // big-endian, address rounded down to even
  int SetWord(int address, int value);
  int ReadBlock(int address, uint8_t* destination, int count) const;
  int WriteBlock(int address, const uint8_t* source, int count);
  int Fill(int value);
  int GetLength() const { return static_cast<int>(data_.size()); }

  const uint8_t* Data() const { return data_.data(); }

 private:
  std::vector<uint8_t> data_;
};
