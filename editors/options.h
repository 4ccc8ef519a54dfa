#pragma once
// The radio options window's values: read from the memory image on each
// showing and written back on OK. The option bytes are copied whole when
// loaded; OK changes only this window's bits in the copies and writes each
// copy back whole.

#include <cstdint>

#include "optionbytes.h"

class EEPROM;
class TradioInfo;

// Which parts of the window a model has. A field whose control is hidden
// or disabled is not written on OK: its stored value is kept.
struct OptionsFeatures {
  bool rearMic = false;        // the second microphone gain is editable
  bool intExtMic = false;      // the microphones are internal/external, not front/rear
  bool zeroMinVolume = false;  // zero minimum volume and receive audio mute
  bool displayMode = false;    // the numeric/alpha display choice
  bool rxOnlyDisplay = false;
  bool lcdContrast = false;
  bool narrowband = false;     // narrow-band receive on CB 1-40 (all but the Pinto)
  bool scrambler = false;
  bool wirelessRemote = false;

  static OptionsFeatures For(uint32_t productId);
};

inline constexpr int kRadioOptionBytes = 8;  // "Options-1" .. "Options-8"
inline constexpr int kTxTimeoutMax = 180;
inline constexpr int kMicGainMin = -12;
inline constexpr int kMicGainMax = 30;
inline constexpr int kVolumeMax = 9;
inline constexpr int kContrastMin = 1;  // shown; the radio stores 9 - shown
inline constexpr int kContrastMax = 9;

enum DisplayEntry { kDispSMeter = 0, kDispSLinear = 1, kDispBatt = 2, kDispAlpha = 3 };
enum PttMicEntry { kPttMicFront = 0, kPttMicRear = 1 };
enum KeyFunctionEntry { kKeysDownUp = 0, kKeysScanPri = 1 };

struct OptionsValues {
  // The copies, -1 where the model lacks the byte.
  int status = -1;
  OptionBytes options;

  int txTimeout = 0;                 // s, 0..180
  int cbDisplay = kDispSMeter;       // 0..2
  int rxOnlyDisplay = kDispSMeter;   // 0..3
  bool alphaMode = false;            // "Status" bit 6
  int lcdContrast = kContrastMin;    // shown, 1..9 (higher is darker)
  int micGain = 0;                   // dB
  int micGainRear = 0;               // dB
  int beepVol = 0;                   // 0..9
  int minVolume = 1;                 // shown, MinVolumeFloor()..9
  bool ptt22_23 = false;
  bool allowRxAudioMute = false;
  bool allowZeroMinVol = false;
  bool dvc = false;
  bool narrowband = false;
  bool busyLockout = false;
  bool scrambler = false;
  bool sqlTailMute = false;
  int wpttMicSel = kPttMicFront;
  int wpttMicGain = 0;               // dB
  int keyFunctions = kKeysDownUp;
};

OptionsValues LoadOptions(const EEPROM& image, const TradioInfo& info, const OptionsFeatures& f);
void StoreOptions(const OptionsValues& values, EEPROM& image, const TradioInfo& info,
                  const OptionsFeatures& f);

// The lowest minimum volume the window offers: 0 only on a model that may
// turn the volume off and while that is allowed.
int MinVolumeFloor(const OptionsFeatures& f, bool zeroAllowed);
// The "LCD Contrast" byte for a shown contrast.
inline int ContrastByte(int shown) { return 9 - shown; }
// Where the model keeps its "LCD Contrast" byte; -1 when it has none.
int LcdContrastAddress(const TradioInfo& info);
// The write that sets the radio's contrast at once: the byte's address (-1
// when the model has none) and the byte for a shown contrast, held to 1..9.
struct ContrastWrite {
  int address = -1;
  int value = 0;
};
ContrastWrite ContrastWriteOf(const TradioInfo& info, int shown);
