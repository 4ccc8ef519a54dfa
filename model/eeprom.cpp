#include "eeprom.h"

#include <cstring>

#include "params.h"
#include "radioinfo.h"

namespace {

constexpr int kTagChars = 5;
constexpr int kTagBits = 6;
constexpr char kEndOfTag = '@';  // its code, 32, ends the text
constexpr int kErasedWord = 0xFFFF;

// Words outside the image read as erased memory.
uint32_t WordOrErased(int word) { return static_cast<uint32_t>(word < 0 ? kErasedWord : word); }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 15;  // anything else, lower case included
}

}  // namespace

uint32_t PackAlphaTag(const char* text) {
  char buffer[kTagChars + 1] = {};
  if (text != nullptr) {
    for (int i = 0; i < kTagChars + 1 && text[i] != '\0'; ++i) buffer[i] = text[i];
  }
  uint32_t value = 0;
  for (int k = 0; k < kTagChars; ++k) {
    // Taken as signed so that bytes of 128 and up fall outside 32..95.
    int ch = static_cast<signed char>(buffer[k]);
    if (ch == 0) ch = kEndOfTag;
    const uint32_t code = (ch >= 32 && ch <= 95) ? static_cast<uint32_t>(ch - 32) : 0u;
    value |= (code & 0x3F) << (kTagBits * (kTagChars - 1 - k));
  }
  return value;
}

std::string UnpackAlphaTag(uint32_t value) {
  char buffer[kTagChars + 1] = {};
  for (int i = 0; i < kTagChars; ++i) {
    const char c = static_cast<char>((value & 0x3F) + 32);
    buffer[kTagChars - 1 - i] = c == kEndOfTag ? '\0' : c;
    value >>= kTagBits;
  }
  return std::string(buffer);  // up to the first end code
}

std::string EEPROM::GetAlphaTag(int address) const {
  return UnpackAlphaTag((WordOrErased(GetWord(address)) << 16) |
                        WordOrErased(GetWord(address + 2)));
}

void EEPROM::SetAlphaTag(int address, const char* text) {
  const uint32_t v = PackAlphaTag(text);
  SetWord(address, static_cast<int>(v >> 16));
  SetWord(address + 2, static_cast<int>(v & 0xFFFF));
}

// A model without receive-only channels has no base address; treating -1 as
// a base would decode bytes from before the image, so it is refused, as is a
// channel number outside the 100 records or a record not wholly in the image.
int EEPROM::GetRxChannel(const TradioInfo& info, int m, RX_CH_DATA_STRUCT& record) const {
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0 || m < 0 || m >= kRxOnlyChannelCount) return -1;
  const int a = base + kRxChannelRecordSize * m;
  if (a + kRxChannelRecordSize > GetLength()) return -1;
  const int steps = GetWord(a);
  record.frequency = steps == kErasedWord ? 0u : static_cast<uint32_t>(steps) * kRxChannelStepHz;
  record.alphaTag = GetAlphaTag(a + 2);
  return 0;
}

int EEPROM::GetParamByte(const TradioInfo& info, Param param) const {
  const int a = info.GetParamAddress(param);
  return a < 0 ? -1 : GetByte(a);
}

int EEPROM::SetParamByte(const TradioInfo& info, Param param, int value) {
  const int a = info.GetParamAddress(param);
  return a < 0 ? -1 : SetByte(a, value);
}

int EEPROM::GetParamWord(const TradioInfo& info, Param param) const {
  const int a = info.GetParamAddress(param);
  return a < 0 ? -1 : GetWord(a);
}

int EEPROM::SetParamWord(const TradioInfo& info, Param param, int value) {
  const int a = info.GetParamAddress(param);
  return a < 0 ? -1 : SetWord(a, value);
}

void EEPROM::ToHexText(char* buffer, int address, int count) const {
  if (buffer == nullptr) return;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char* out = buffer;
  for (int i = 0; i < count; ++i) {
    const int b = GetByte(address + i) & 0xFF;  // outside the image: -1, shown as FF
    *out++ = kDigits[b >> 4];
    *out++ = kDigits[b & 0x0F];
  }
  *out = '\0';
}

// A text shorter than 2 * count digits is read as if padded with characters
// that are not digits (value 15), never past its end.
void EEPROM::FromHexText(const char* text, int address, int count) {
  const size_t length = text == nullptr ? 0 : std::strlen(text);
  auto digitAt = [&](size_t i) { return i < length ? HexDigitValue(text[i]) : 15; };
  for (int i = 0; i < count; ++i) {
    const size_t at = 2 * static_cast<size_t>(i);
    SetByte(address + i, digitAt(at) * 16 + digitAt(at + 1));
  }
}

int EEPROM::GetNibbles(int* digits, int address, int count) const {
  if (digits == nullptr || count <= 0) return 0;
  for (int i = 0; i < count; ++i) {
    const int b = GetByte(address + i / 2) & 0xFF;  // outside the image reads as erased
    digits[i] = (i % 2 == 0) ? b >> 4 : b & 0x0F;
  }
  return count;
}

int EEPROM::SetNibbles(int address, const int* digits, int count) {
  if (digits == nullptr || count <= 0) return 0;
  for (int i = 0; i < count; ++i) {
    const int a = address + i / 2;
    const int b = GetByte(a);
    if (b < 0) continue;
    const int d = digits[i] & 0x0F;
    SetByte(a, (i % 2 == 0) ? (b & 0x0F) | (d << 4) : (b & 0xF0) | d);
  }
  return count;
}
