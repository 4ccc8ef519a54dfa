#include "optionbytes.h"

#include <algorithm>

#include "bits.h"
#include "eeprom.h"
#include "radioinfo.h"

OptionBytes OptionBytes::Read(const EEPROM& image, const TradioInfo& info, int count) {
  OptionBytes bytes;
  bytes.count_ = std::clamp(count, 0, kOptionByteCount);
  for (int i = 0; i < bytes.count_; ++i)
    bytes.copies_[static_cast<size_t>(i)] = image.GetParamByte(info, kOptionByteParams[static_cast<size_t>(i)]);
  return bytes;
}

void OptionBytes::Write(EEPROM& image, const TradioInfo& info) const {
  for (int i = 0; i < count_; ++i) {
    const int copy = copies_[static_cast<size_t>(i)];
    if (copy != kAbsent) image.SetParamByte(info, kOptionByteParams[static_cast<size_t>(i)], copy);
  }
}

int OptionBytes::Byte(int number) const {
  return Valid(number) ? copies_[static_cast<size_t>(number - 1)] : kAbsent;
}

bool OptionBytes::Bit(int number, int bit) const { return BitIsSet(Byte(number), bit); }

void OptionBytes::SetBits(int number, int mask, bool on) {
  if (Valid(number)) ::SetBits(copies_[static_cast<size_t>(number - 1)], mask, on);
}

void OptionBytes::SetByte(int number, int value) {
  if (Valid(number) && copies_[static_cast<size_t>(number - 1)] != kAbsent)
    copies_[static_cast<size_t>(number - 1)] = value & 0xFF;
}
