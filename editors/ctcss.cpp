#include "ctcss.h"

#include "array.h"
#include "bits.h"
#include "params.h"
#include "radioinfo.h"

namespace {

// Bits of "Options-5" and "Options-9".
constexpr int kOptions5 = 5;
constexpr int kOptions9 = 9;
enum : uint8_t {
  kEnableBit = 1 << 0,
  kLock5And35Bit = 1 << 1,
  kNotOnDuplexBit = 1 << 2,
  kNarrowBandBit = 1 << 3,
  kBusyOverrideBit = 1 << 4,
  kBusyLockoutBit = 1 << 5,
  kSet38Bit = 1 << 6,
  kNotExtendedBit = 1 << 7,
  kNoReversePhaseBit = 1 << 0,  // "Options-9"
  kNoSilentTailBit = 1 << 1,    // "Options-9"
};

// The option bits the window edits, each with its box; inverted ones are
// ticked while the bit is clear.
struct OptionBit {
  int byte;  // the number of its option byte: 5 = "Options-5"
  uint8_t mask;
  bool inverted;
  bool CtcssSettings::*box;
};
constexpr OptionBit kOptionBits[] = {
    {kOptions5, kEnableBit, false, &CtcssSettings::enabled},
    {kOptions5, kNotOnDuplexBit, true, &CtcssSettings::ctcssOnDuplex},
    {kOptions5, kNarrowBandBit, false, &CtcssSettings::narrowBand},
    {kOptions5, kBusyLockoutBit, false, &CtcssSettings::busyLockout},
    {kOptions5, kBusyOverrideBit, false, &CtcssSettings::busyLockoutOverride},
    {kOptions9, kNoReversePhaseBit, true, &CtcssSettings::reversePhaseKey},
    {kOptions9, kNoSilentTailBit, true, &CtcssSettings::silentTail},
};

// An option byte as the window reads it: one the model lacks reads as
// erased (0xFF).
uint8_t OptionByte(const OptionBytes& options, int number) {
  return static_cast<uint8_t>(options.Byte(number));
}

// Channels 1..8 and 41..48 are the duplex channels.
bool IsDuplexChannel(int channel) {
  return (channel >= 1 && channel <= 8) || (channel >= 41 && channel <= 48);
}

}  // namespace

CtcssModel CtcssModel::Of(uint32_t productId, int majorVersion) {
  CtcssModel m;
  m.alwaysEnabled = productId == kProductPinto;
  m.hasExtendedCtcss = TradioInfo::HasExtendedCtcss(productId, majorVersion);
  m.hasNetScan = TradioInfo::HasNetScan(productId, majorVersion);
  return m;
}

ToneChoice ToneChoice::OfCode(int code, ToneOrder order) {
  ToneChoice c;
  c.entry = EntryOfCode(code, order);
  c.keptCode = c.entry == kNoEntry ? code : 0;
  return c;
}

int ToneChoice::Code(ToneOrder order) const {
  return entry == kNoEntry ? keptCode : CodeOfEntry(entry, order);
}

ToneChoice ToneChoice::InOrder(ToneOrder from, ToneOrder to) const {
  // A kept code is one the 38 tones lack; the other orders read it as the
  // tone of that number.
  const int tone50 = entry == kNoEntry ? keptCode : Tone50OfEntry(entry, from);
  ToneChoice c;
  c.entry = EntryOfTone50(tone50, to);
  return c;
}

ToneOrder CtcssSettings::ListOrder() const {
  if (extendedOrder) return ToneOrder::Extended;
  return set38 ? ToneOrder::ThirtyEight : ToneOrder::Fifty;
}

bool CtcssSettings::Channels5And35Locked() const {
  return OptionByte(options, kOptions5) & kLock5And35Bit;
}

CtcssSettings LoadCtcss(const EEPROM& image, const TradioInfo& info, const CtcssModel& model) {
  CtcssSettings s;
  s.options = OptionBytes::Read(image, info, kCtcssOptionBytes);
  const uint8_t options5 = OptionByte(s.options, kOptions5);
  s.extendedOrder = ToneOrderInForce(options5, model.hasExtendedCtcss) == ToneOrder::Extended;
  for (const OptionBit& bit : kOptionBits)
    s.*bit.box = ((OptionByte(s.options, bit.byte) & bit.mask) != 0) != bit.inverted;
  if (model.alwaysEnabled) s.enabled = true;
  s.set38 = options5 & kSet38Bit;

  const int silentMem = info.GetParamAddress(kParamSilentMem);
  if (silentMem >= 0) image.ReadBlock(silentMem, s.silentMem.data(), kChannelBitArraySize);
  for (int k = 0; k < kSilentChannels; ++k) s.silent[k] = TestBit(k, s.silentMem.data());

  s.tx = ToneChoice::OfCode(image.GetParamByte(info, "Tx CTCSS Tone"), s.ListOrder());
  if (model.hasNetScan)
    s.netScan =
        ToneChoice::OfCode(image.GetParamByte(info, "Netscan Ctcss Tone"), s.ListOrder());
  return s;
}

void StoreCtcss(EEPROM& image, const TradioInfo& info, const CtcssModel& model,
                const CtcssSettings& settings) {
  CtcssSettings s = settings;
  // The silent memory: the CB channels' bits; the receive-only channels'
  // bytes 10..23 go back as they were read.
  for (int k = 0; k < kSilentChannels; ++k) {
    if (s.silent[k])
      SetBit(k, s.silentMem.data());
    else
      ClearBit(k, s.silentMem.data());
  }
  const int silentMem = info.GetParamAddress(kParamSilentMem);
  if (silentMem >= 0) image.WriteBlock(silentMem, s.silentMem.data(), kChannelBitArraySize);

  // Where the tone-set choice is hidden its bit means nothing to the
  // window, so it stays as the radio had it.
  if (!s.extendedOrder) s.options.SetBits(kOptions5, kSet38Bit, s.set38);

  const int code = s.tx.Code(s.ListOrder());
  image.SetParamByte(info, "Tx CTCSS Tone", code);
  image.SetParamByte(info, "Rx CTCSS Tone", code);
  if (model.hasNetScan)
    image.SetParamByte(info, "Netscan Ctcss Tone", s.netScan.Code(s.ListOrder()));

  if (model.alwaysEnabled) s.enabled = true;
  for (const OptionBit& bit : kOptionBits)
    s.options.SetBits(bit.byte, bit.mask, s.*bit.box != bit.inverted);
  s.options.SetBits(kOptions5, kNotExtendedBit, !s.extendedOrder);

  s.options.Write(image, info);
}

bool SilentChannelEditable(int channel, bool enabled, bool ctcssOnDuplex, bool locked5And35) {
  if (!enabled) return false;
  if (!ctcssOnDuplex && IsDuplexChannel(channel)) return false;
  if (locked5And35 && (channel == 5 || channel == 35)) return false;
  return true;
}
