#include "options.h"

#include <algorithm>

#include "bits.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

constexpr int kStatusAlphaBit = 6;

// The check boxes that are single bits of the option bytes. Inverted bits
// are set when the option is off.
struct OptionBit {
  bool OptionsValues::*value;
  int byte;  // the number of its option byte: 1 = "Options-1"
  int bit;
  bool inverted;
  bool OptionsFeatures::*feature;  // nullptr: every model
};

constexpr OptionBit kOptionBits[] = {
    {&OptionsValues::ptt22_23, 2, 2, true, nullptr},
    {&OptionsValues::allowRxAudioMute, 6, 6, false, &OptionsFeatures::zeroMinVolume},
    {&OptionsValues::allowZeroMinVol, 6, 7, false, &OptionsFeatures::zeroMinVolume},
    {&OptionsValues::dvc, 1, 2, true, nullptr},
    {&OptionsValues::narrowband, 1, 5, false, &OptionsFeatures::narrowband},
    {&OptionsValues::busyLockout, 5, 5, false, nullptr},
    {&OptionsValues::scrambler, 1, 4, true, &OptionsFeatures::scrambler},
    {&OptionsValues::sqlTailMute, 2, 3, true, nullptr},
};

// The wireless remote's key function byte pairs.
struct KeyPair {
  int func1, func2;
};
constexpr KeyPair kDownUpKeys{16, 15};
constexpr KeyPair kScanPriKeys{5, 4};

bool Has(const OptionsFeatures& f, bool OptionsFeatures::*feature) {
  return feature == nullptr || f.*feature;
}

// A gain byte in dB as a signed byte; outside the window's range (or
// absent) it shows 0 dB.
int SignedGain(int byte) {
  if (byte < 0) return 0;
  const int dB = byte >= 128 ? byte - 256 : byte;
  return dB >= kMicGainMin && dB <= kMicGainMax ? dB : 0;
}

// A stored entry index; out of range selects the first entry.
int Entry(int byte, int last) { return byte >= 0 && byte <= last ? byte : 0; }

int LoadMinVolume(const EEPROM& image, const TradioInfo& info, const OptionsFeatures& f,
                  bool zeroAllowed) {
  int v = image.GetParamByte(info, "ADC Vol Min");
  if (v > kVolumeMax) v = 3;
  int shown = v + 1;
  if (f.zeroMinVolume) shown = (!zeroAllowed && v == 0) ? 1 : v;
  return std::clamp(shown, MinVolumeFloor(f, zeroAllowed), kVolumeMax);
}

}  // namespace

OptionsFeatures OptionsFeatures::For(uint32_t id) {
  OptionsFeatures f;
  f.rearMic = TradioInfo::HasRearMic(id) || TradioInfo::HasMicSelect(id);
  f.intExtMic = TradioInfo::HasIntExtMic(id);
  f.zeroMinVolume = TradioInfo::HasZeroMinVolume(id);
  f.displayMode = TradioInfo::HasAlphaDisplay(id) && TradioInfo::HasSelcall(id);
  f.rxOnlyDisplay = TradioInfo::HasRxOnlyChannels(id);
  f.lcdContrast = TradioInfo::HasLcdContrast(id);
  f.narrowband = id != kProductPinto;
  f.scrambler = TradioInfo::HasScrambler(id);
  f.wirelessRemote = TradioInfo::HasWirelessRemote(id);
  return f;
}

int MinVolumeFloor(const OptionsFeatures& f, bool zeroAllowed) {
  return f.zeroMinVolume && zeroAllowed ? 0 : 1;
}

int LcdContrastAddress(const TradioInfo& info) { return info.GetParamAddress(kParamLcdContrast); }

ContrastWrite ContrastWriteOf(const TradioInfo& info, int shown) {
  return {LcdContrastAddress(info), ContrastByte(std::clamp(shown, kContrastMin, kContrastMax))};
}

OptionsValues LoadOptions(const EEPROM& image, const TradioInfo& info, const OptionsFeatures& f) {
  OptionsValues v;
  v.status = image.GetParamByte(info, "Status");
  v.options = OptionBytes::Read(image, info, kRadioOptionBytes);

  for (const OptionBit& b : kOptionBits)
    if (Has(f, b.feature)) v.*b.value = v.options.Bit(b.byte, b.bit) != b.inverted;

  v.micGain = SignedGain(image.GetParamByte(info, "Mic Gain"));
  // Shown even where it cannot be edited, so the disabled control tells
  // what is kept.
  v.micGainRear = SignedGain(image.GetParamByte(info, "Mic Gain Rear"));
  v.minVolume = LoadMinVolume(image, info, f, v.allowZeroMinVol);
  v.beepVol = std::clamp(image.GetParamByte(info, "Beep Vol"), 0, kVolumeMax);
  v.cbDisplay = Entry(image.GetParamByte(info, "CB Disp Options"), kDispBatt);
  if (f.displayMode) v.alphaMode = BitIsSet(v.status, kStatusAlphaBit);
  if (f.rxOnlyDisplay) v.rxOnlyDisplay = Entry(image.GetParamByte(info, "Rx-only Disp Options"), kDispAlpha);
  if (f.lcdContrast) {
    const int contrast = image.GetParamByte(info, "LCD Contrast");
    v.lcdContrast = contrast >= 0 && contrast <= 8 ? 9 - contrast : 4;
  }
  v.txTimeout = std::clamp(image.GetParamByte(info, "Tx Timeout"), 0, kTxTimeoutMax);
  if (f.wirelessRemote) {
    v.wpttMicSel = image.GetParamByte(info, "Wireless PTT Mic Sel") == 1 ? kPttMicFront : kPttMicRear;
    v.wpttMicGain = SignedGain(image.GetParamByte(info, "Wireless Mic Gain"));
    const int k1 = image.GetParamByte(info, "Wireless Remote Key Func1");
    const int k2 = image.GetParamByte(info, "Wireless Remote Key Func2");
    v.keyFunctions = k1 == kScanPriKeys.func1 && k2 == kScanPriKeys.func2 ? kKeysScanPri : kKeysDownUp;
  }
  return v;
}

void StoreOptions(const OptionsValues& in, EEPROM& image, const TradioInfo& info,
                  const OptionsFeatures& f) {
  OptionsValues v = in;
  // The option bits go into the copies, which are written whole at the end.
  for (const OptionBit& b : kOptionBits)
    if (Has(f, b.feature)) v.options.SetBits(b.byte, 1 << b.bit, v.*b.value != b.inverted);

  const auto gain = [](int dB) { return std::clamp(dB, kMicGainMin, kMicGainMax) & 0xFF; };
  image.SetParamByte(info, "Mic Gain", gain(v.micGain));
  if (f.rearMic) image.SetParamByte(info, "Mic Gain Rear", gain(v.micGainRear));

  const int minVolume = std::clamp(v.minVolume, MinVolumeFloor(f, v.allowZeroMinVol), kVolumeMax);
  image.SetParamByte(info, "ADC Vol Min", f.zeroMinVolume ? minVolume : minVolume - 1);

  image.SetParamByte(info, "Beep Vol", std::clamp(v.beepVol, 0, kVolumeMax));
  image.SetParamByte(info, "CB Disp Options", std::clamp(v.cbDisplay, 0, int{kDispBatt}));
  if (f.rxOnlyDisplay)
    image.SetParamByte(info, "Rx-only Disp Options", std::clamp(v.rxOnlyDisplay, 0, int{kDispAlpha}));
  if (f.displayMode) SetBits(v.status, 1 << kStatusAlphaBit, v.alphaMode);
  if (f.lcdContrast)
    image.SetParamByte(info, "LCD Contrast",
             ContrastByte(std::clamp(v.lcdContrast, kContrastMin, kContrastMax)));
  if (f.wirelessRemote) {
    image.SetParamByte(info, "Wireless PTT Mic Sel", v.wpttMicSel == kPttMicFront ? 1 : 2);
    image.SetParamByte(info, "Wireless Mic Gain", gain(v.wpttMicGain));
    const KeyPair keys = v.keyFunctions == kKeysScanPri ? kScanPriKeys : kDownUpKeys;
    image.SetParamByte(info, "Wireless Remote Key Func1", keys.func1);
    image.SetParamByte(info, "Wireless Remote Key Func2", keys.func2);
  }
  image.SetParamByte(info, "Tx Timeout", std::clamp(v.txTimeout, 0, kTxTimeoutMax));

  image.SetParamByte(info, "Status", v.status);  // absent (-1): nothing is written
  v.options.Write(image, info);
}
