#pragma once
// The subtone settings as the CTCSS window shows them, read from and
// written to the memory image.

#include <array>
#include <cstdint>

#include "eeprom.h"
#include "optionbytes.h"
#include "tones.h"

class TradioInfo;

inline constexpr int kCtcssOptionBytes = 9;        // "Options-1" .. "Options-9"
inline constexpr int kSilentChannels = 80;    // CB channels 1..80

// What the window asks of the model and the radio.
struct CtcssModel {
  bool alwaysEnabled = false;  // Pinto: CTCSS is always on, its box hidden
  bool hasExtendedCtcss = false;
  bool hasNetScan = false;
  // Both feature queries for the build's model and the radio's firmware
  // major version (-1 while none has been read).
  static CtcssModel Of(uint32_t productId, int majorVersion);
};

// A stored tone as the window holds it: the list entry, or kNoEntry with
// the stored code kept when the list in force has no entry for it.
struct ToneChoice {
  int entry = 0;
  int keptCode = 0;  // written back unchanged while entry is kNoEntry

  static ToneChoice OfCode(int code, ToneOrder order);
  int Code(ToneOrder order) const;
  // The same tone or DCS code in the list of another tone set.
  ToneChoice InOrder(ToneOrder from, ToneOrder to) const;
};

struct CtcssSettings {
  // Copies taken on showing; OK changes only the bits below.
  OptionBytes options;
  std::array<uint8_t, kChannelBitArraySize> silentMem{};

  // Decided on showing and kept until OK: the model's own set is in force,
  // or "Options-5" bit 7 is clear.
  bool extendedOrder = true;
  bool enabled = false;
  bool ctcssOnDuplex = false;
  bool narrowBand = false;
  bool busyLockout = false;
  bool busyLockoutOverride = false;
  bool reversePhaseKey = false;
  bool silentTail = false;
  bool set38 = false;  // the tone set chosen (not in the extended order)
  ToneChoice tx;
  ToneChoice netScan;
  std::array<bool, kSilentChannels> silent{};

  // The order the tone lists follow now: the extended order, or the set.
  ToneOrder ListOrder() const;
  // "Options-5" bit 1: the boxes of channels 5 and 35 stay disabled.
  bool Channels5And35Locked() const;
};

CtcssSettings LoadCtcss(const EEPROM& image, const TradioInfo& info, const CtcssModel& model);
void StoreCtcss(EEPROM& image, const TradioInfo& info, const CtcssModel& model,
                const CtcssSettings& settings);

// Whether silent-memory box `channel` (1..80) can be changed: only with
// CTCSS on; channels 1..8 and 41..48 only with CTCSS on duplex channels;
// 5 and 35 not when the radio locks them.
bool SilentChannelEditable(int channel, bool enabled, bool ctcssOnDuplex, bool locked5And35);
