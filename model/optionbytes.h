#pragma once
// The option bytes "Options-1" .. "Options-10": bytes of single-bit
// settings that several windows share, each window owning some bits.
// A window reads the copies it needs when it shows, changes only its own
// bits and writes every copy back whole, so the bits it does not own are
// kept. Every window names a copy by the number in its parameter's name.

#include <array>

#include "params.h"

class EEPROM;
class TradioInfo;

inline constexpr int kOptionByteCount = 10;

// The parameter "Options-<number>", number 1..10.
inline constexpr std::array<Param, kOptionByteCount> kOptionByteParams = {
    Param("Options-1"), Param("Options-2"), Param("Options-3"), Param("Options-4"),
    Param("Options-5"), Param("Options-6"), Param("Options-7"), Param("Options-8"),
    Param("Options-9"), Param("Options-10")};

class OptionBytes {
 public:
  // Nothing read: every copy is absent.
  OptionBytes() { copies_.fill(kAbsent); }

  // Copies "Options-1" .. "Options-<count>" (count limited to 0..10).
  static OptionBytes Read(const EEPROM& image, const TradioInfo& info, int count);
  // Writes every copy back; one the model lacks is not written.
  void Write(EEPROM& image, const TradioInfo& info) const;

  int Count() const { return count_; }
  // The copy of "Options-<number>"; -1 when the model lacks the byte or it
  // was not read.
  int Byte(int number) const;
  // Whether bit `bit` of the copy is set; never for an absent copy.
  bool Bit(int number, int bit) const;
  // Sets or clears the bits of `mask` in the copy; an absent copy stays
  // absent, so it is never written.
  void SetBits(int number, int mask, bool on);
  // Replaces a present copy with the low 8 bits of `value`.
  void SetByte(int number, int value);

 private:
  static constexpr int kAbsent = -1;
  static bool Valid(int number) { return number >= 1 && number <= kOptionByteCount; }

  std::array<int, kOptionByteCount> copies_{};
  int count_ = 0;
};
