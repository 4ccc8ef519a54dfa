#pragma once
// The squelch window's values: the squelch level and the two mute
// timings, read from and written to the memory image.

#include <cstdint>

class EEPROM;
class TradioInfo;

inline constexpr int kSqlLevelMin = 1;
inline constexpr int kSqlLevelMax = 9;
inline constexpr int kMuteDebounceMax = 255;  // ms
inline constexpr int kMuteOpenStepMs = 10;    // "Sql Min Open" counts in 10 ms
inline constexpr int kMuteOpenMaxMs = 255 * kMuteOpenStepMs;

struct SquelchValues {
  // False on models with a fixed squelch: the level is neither shown nor
  // written, so the stored byte survives OK whatever it holds.
  bool levelShown = true;
  int level = kSqlLevelMin;  // 1..9
  int muteDebounceMs = 0;    // 0..255
  int muteOpenMs = 0;        // 0..2550
};

SquelchValues LoadSquelch(const EEPROM& image, const TradioInfo& info, uint32_t productId);
// Values outside their ranges are clamped, never wrapped into the byte.
void StoreSquelch(const SquelchValues& values, EEPROM& image, const TradioInfo& info);
