#pragma once
// The engineering options window's values: transmit deviations, repeater
// key timings, three option bits (shown inverted: checked means clear)
// and the squelch noise thresholds. Loaded from the image on each
// showing; OK rewrites all six option bytes, only these bits changed.

#include <array>
#include <cstdint>
#include <string>

#include "optionbytes.h"

class EEPROM;
class TradioInfo;

inline constexpr int kEngOptionBytes = 6;  // "Options-1" .. "Options-6"
inline constexpr int kSquelchThresholds = 10;
inline constexpr int kRpkDelayMax = 30;        // cycles
inline constexpr int kSilentTailMax = 100;     // cycles
inline constexpr int kDeviationMaxSteps = 255;

inline constexpr uint8_t kTxOnRxOnlyBit = 0x10;  // "Options-2": set = no transmit
inline constexpr uint8_t kCtcss535Bit = 0x02;    // "Options-5": set = off on 5/35
inline constexpr uint8_t kCtcss38ExtBit = 0x80;  // "Options-5": set = standard set

// A deviation byte in hertz (about 4.1 Hz a step), rounded.
int DeviationHz(int steps);
// Typed hertz to the nearest step, 0..255; a text that is not a number is 0.
int DeviationSteps(const std::string& hertzText);

struct EngOptionsFeatures {
  bool txOnRxOnly = false;   // engineering build only
  bool ctcss38Ext = false;   // shown where the extended tone set is not standard
  bool thresholds = false;   // programmable squelch

  static EngOptionsFeatures For(uint32_t productId, bool engineering, int majorVersion);
};

struct EngOptionsValues {
  // Copies of "Options-1" .. "Options-6", absent where the model lacks one.
  OptionBytes options;
  bool enableTxOnRxOnly = false;
  bool ctcss535 = false;
  bool ctcss38Ext = false;
  int rpkDelay = 0;
  int silentTail = 0;
  int ctcssDev = 0;  // steps
  int dcsDev = 0;    // steps
  std::array<int, kSquelchThresholds> sql{};
  // As loaded, so that an up-down that cannot show a stored value out of
  // its range does not rewrite it unless the user moved it.
  int loadedRpkDelay = 0;
  int loadedSilentTail = 0;
};

EngOptionsValues LoadEngOptions(const EEPROM& image, const TradioInfo& info,
                                const EngOptionsFeatures& f);
void StoreEngOptions(const EngOptionsValues& values, EEPROM& image, const TradioInfo& info,
                     const EngOptionsFeatures& f);

// What an up-down limited to [0, high] shows for a stored byte.
inline int ShownInRange(int stored, int high) { return stored < 0 ? 0 : stored > high ? high : stored; }
