#include "rxchannels.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "array.h"
#include "params.h"
#include "radioinfo.h"

namespace {

constexpr int kErasedWord = 0xFFFF;
constexpr Param kBitSetParams[kRxBitSetCount] = {kParamScanMem0, kParamScanMem1, kParamQuietMem,
                                               kParamSilentMem};

using RxBits = std::array<uint8_t, kRxBitSetBytes>;

int RecordAddress(int base, int record) { return base + kRxChannelRecordSize * record; }

}  // namespace

RxChannelList LoadChannels(const EEPROM& image, const TradioInfo& info) {
  RxChannelList list;
  std::array<RxBits, kRxBitSetCount> bits{};
  for (int s = 0; s < kRxBitSetCount; ++s) {
    const int a = info.GetParamAddress(kBitSetParams[s]);
    if (a < 0) continue;
    for (int i = 0; i < kRxBitSetBytes; ++i)
      bits[s][i] = static_cast<uint8_t>(std::max(0, image.GetByte(a + kRxBitSetOffset + i)));
  }
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0) return list;
  for (int n = 0; n < kRxOnlyChannelCount; ++n) {
    const int a = RecordAddress(base, n);
    image.ReadBlock(a, list.raw[n].data(), kRxChannelRecordSize);
    RX_CH_DATA_STRUCT& r = list.records[n];
    const int word = image.GetWord(a);
    r.frequency =
        word < 0 || word == kErasedWord ? 0u : static_cast<uint32_t>(word) * kRxChannelStepHz;
    r.alphaTag = image.GetAlphaTag(a + 2);
    r.flags = 0;
    for (int s = 0; s < kRxBitSetCount; ++s)
      if (TestBit(n, bits[s].data())) r.flags |= kRxFlagOfBitSet[s];
  }
  return list;
}

void StoreChannels(EEPROM& image, const TradioInfo& info, const RxChannelList& list,
                   bool banksEnabled) {
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0) return;  // a model without the records has nothing of theirs to write
  std::array<RxBits, kRxBitSetCount> bits{};
  for (int n = 0; n < kRxOnlyChannelCount; ++n) {
    const RX_CH_DATA_STRUCT& r = list.records[n];
    for (int s = 0; s < kRxBitSetCount; ++s)
      if (r.flags & kRxFlagOfBitSet[s]) SetBit(n, bits[s].data());
    const int a = RecordAddress(base, n);
    if (IsReservedRxSlot(n)) {
      image.WriteBlock(a, list.raw[n].data(), kRxChannelRecordSize);
      continue;
    }
    image.SetWord(a, static_cast<int>(r.frequency / kRxChannelStepHz));
    image.SetAlphaTag(a + 2, r.alphaTag.c_str());
  }
  for (int s = 0; s < kRxBitSetCount; ++s) {
    const int a = info.GetParamAddress(kBitSetParams[s]);
    if (a < 0) continue;
    for (int i = 0; i < kRxBitSetBytes; ++i) image.SetByte(a + kRxBitSetOffset + i, bits[s][i]);
  }
  if (!banksEnabled) image.SetParamByte(info, "Rx Bank", 0xFF);
}

std::vector<int> ListedSlots(const RxChannelList& list, int bank) {
  std::vector<int> slots;
  for (int s = 0; s < kRxListedSlots; ++s)
    if (list.records[bank * kRxSlotsPerBank + s].frequency != 0) slots.push_back(s);
  return slots;
}

std::vector<int> SpareChannels(const RxChannelList& list, int bank) {
  std::vector<int> channels;
  for (int s = 0; s < kRxListedSlots; ++s)
    if (list.records[bank * kRxSlotsPerBank + s].frequency == 0)
      channels.push_back(kFirstRxChannel + s);
  return channels;
}

void ClearRecord(RX_CH_DATA_STRUCT& record) {
  record.frequency = 0;
  record.alphaTag.clear();
  record.flags = 0;
}

void ClearBank(RxChannelList& list, int bank) {
  for (int s = 0; s < kRxListedSlots; ++s) ClearRecord(list.records[bank * kRxSlotsPerBank + s]);
}

char BankLetter(int bank) { return static_cast<char>('A' + bank); }

std::string DeletePromptText(bool banksEnabled, int bank, int channel) {
  std::string text = "Delete ";
  if (banksEnabled) text += std::string("bank RX-") + BankLetter(bank) + ", ";
  return text + "channel " + std::to_string(channel) + "?";
}

std::string FlagCellText(uint32_t flags, uint32_t flag, const char* mark) {
  return (flags & flag) ? mark : "-";
}

std::string ShowFrequency(int64_t hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%3.4f", static_cast<double>(hz) * 1e-6);
  return text;
}

std::optional<int64_t> ParseFrequency(const std::string& text) {
  if (text.empty()) return 0;
  double mhz = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, mhz);
  if (error != std::errc() || rest != end || !std::isfinite(mhz)) return std::nullopt;
  const double hz = std::clamp(mhz * 1e6, 0.0, 2e9);
  return static_cast<int64_t>(hz);  // toward zero
}

int64_t RoundAndLimitFrequency(int64_t hz) {
  const int64_t rounded = (hz + kRxChannelStepHz / 2) / kRxChannelStepHz * kRxChannelStepHz;
  return std::clamp<int64_t>(rounded, 0, kRxMaxFrequencyHz);
}

int64_t StepFrequency(int64_t hz, bool up) {
  const int64_t rounded = (hz + kRxChannelStepHz / 2) / kRxChannelStepHz * kRxChannelStepHz;
  return std::clamp<int64_t>(rounded + (up ? kRxChannelStepHz : -kRxChannelStepHz), 0,
                             kRxMaxFrequencyHz);
}

char AlphaTagKey(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c >= ' ' && c <= '_' && c != '@' ? c : 0;
}

namespace {

bool SameChannel(const RX_CH_DATA_STRUCT& a, const RX_CH_DATA_STRUCT& b) {
  if (a.frequency == 0 && b.frequency == 0) return true;
  return a.frequency == b.frequency && a.alphaTag == b.alphaTag && a.flags == b.flags;
}

}  // namespace

void StoreChangedChannels(EEPROM& image, const TradioInfo& info, const RxChannelList& before,
                          const RxChannelList& after) {
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0) return;
  for (int n = 0; n < kRxOnlyChannelCount; ++n) {
    const RX_CH_DATA_STRUCT& r = after.records[n];
    if (SameChannel(before.records[n], r)) continue;
    const int a = RecordAddress(base, n);
    image.SetWord(a, static_cast<int>(r.frequency / kRxChannelStepHz));
    image.SetAlphaTag(a + 2, r.alphaTag.c_str());
    for (int s = 0; s < kRxBitSetCount; ++s) {
      const int set = info.GetParamAddress(kBitSetParams[s]);
      if (set < 0) continue;
      const int byteAddress = set + kRxBitSetOffset + n / 8;
      uint8_t byte = static_cast<uint8_t>(std::max(0, image.GetByte(byteAddress)));
      if (r.flags & kRxFlagOfBitSet[s])
        SetBit(n % 8, &byte);
      else
        ClearBit(n % 8, &byte);
      image.SetByte(byteAddress, byte);
    }
  }
}
