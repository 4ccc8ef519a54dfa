#pragma once
// The memory image with the encodings several windows share.

#include <cstdint>
#include <string>

#include "eebuff.h"
#include "params.h"

class TradioInfo;

inline constexpr int kImageSize = 2048;
inline constexpr int kRxOnlyChannelCount = 100;
inline constexpr int kRxChannelRecordSize = 6;
inline constexpr int kChannelBitArraySize = 24;
inline constexpr int kRxChannelStepHz = 12500;

struct RX_CH_DATA_STRUCT {
  uint32_t frequency = 0;  // Hz, 0 = none
  std::string alphaTag;    // at most 5 characters
  uint32_t flags = 0;      // bit 3 Scan Mem 0, bit 2 Scan Mem 1, bit 1 Quiet, bit 0 Silent
};

uint32_t PackAlphaTag(const char* text);
std::string UnpackAlphaTag(uint32_t value);

class EEPROM : public EEbuffer {
 public:
  explicit EEPROM(int length = kImageSize) : EEbuffer(length) {}

  std::string GetAlphaTag(int address) const;
  void SetAlphaTag(int address, const char* text);

  // Decodes receive-only channel m through the current model's table.
  // -1 when the record lies outside the image (or the model has none).
  int GetRxChannel(const TradioInfo& info, int m, RX_CH_DATA_STRUCT& record) const;

  // Reads/writes a parameter through the current model's table; a
  // parameter the model lacks reads -1 and writes nothing.
  int GetParamByte(const TradioInfo& info, Param param) const;
  int SetParamByte(const TradioInfo& info, Param param, int value);
  int GetParamWord(const TradioInfo& info, Param param) const;
  int SetParamWord(const TradioInfo& info, Param param, int value);

  // buffer receives 2 * count digits and a NUL.
  void ToHexText(char* buffer, int address, int count) const;
  void FromHexText(const char* text, int address, int count);
  int GetNibbles(int* digits, int address, int count) const;
  int SetNibbles(int address, const int* digits, int count);
};
