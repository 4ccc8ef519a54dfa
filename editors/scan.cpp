#include "scan.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "array.h"
#include "bits.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"
#include "rxchannels.h"

namespace {

// The option bytes the window copies: "Options-1" .. "Options-6".
constexpr int kScanOptionBytes = 6;

// "Options-2"
constexpr int kThreeBeepBit = 0x01;
constexpr int kGroupScan1Bit = 0x20;
constexpr int kGroupScan2Bit = 0x40;
constexpr int kGsPttExitBit = 0x80;
// "Options-6"
constexpr int kUserModNetScanBit = 0x08;
constexpr int kUserModScanModeBit = 0x10;
// "Status", on models that keep the scan memory in flag bits
constexpr int kScanMem2InUseBit = 0x08;
constexpr int kNetScanInUseBit = 0x20;

constexpr Param kScanMemParams[kScanPageCount] = {kParamScanMem0, kParamScanMem1, kParamScanMem2};
constexpr int kMaxStoredPriority = 180;
constexpr int kErasedSkipTime = 0xFF;
constexpr int kErasedSkipTimeAs = 3;


bool PageUsed(const ScanFeatures& f, int page) { return page < 2 || f.netScan; }

std::string Entry(const char* prefix, int channel) {
  char text[16];
  std::snprintf(text, sizeof text, "%s %02d", prefix, channel);
  return text;
}

int DuplexByte(const ScanSettings& s, int first) {
  int byte = 0;
  for (int i = 0; i < 8; ++i)
    if (s.duplex[first + i]) byte |= 1 << i;
  return byte;
}

// A whole number made of digits only, no sign.
bool WholeNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  const char* end = text.data() + text.size();
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  return std::from_chars(text.data(), end, value).ptr == end;
}

}  // namespace

ScanFeatures ScanFeaturesFor(uint32_t productId, int majorVersion) {
  return {TradioInfo::HasNetScan(productId, majorVersion), TradioInfo::HasScanSkipTime(productId),
          TradioInfo::HasUserScanOptions(productId), TradioInfo::HasScanMemorySelect(productId)};
}

bool RxChannelExists(const EEPROM& image, const TradioInfo& info, int bank, int channel) {
  const int record = RxRecordIndex(bank, channel);
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0 || record < 0 || record >= kRxOnlyChannelCount) return false;
  const int word = image.GetWord(base + kRxChannelRecordSize * record);
  return word > 0 && word != 0xFFFF;
}

void FillPriorityChannels(const EEPROM& image, const TradioInfo& info, int rxBank, int stored,
                          ScanSettings& s) {
  s.priorityEntries.clear();
  for (int c = 1; c <= kCbChannelCount; ++c) s.priorityEntries.push_back({Entry("CB", c), c});
  for (int c = kFirstRxChannel; c < kFirstRxChannel + kRxListedSlots; ++c)
    if (RxChannelExists(image, info, rxBank, c)) s.priorityEntries.push_back({Entry("RX", c), c});

  int v = stored < 1 || stored > kMaxStoredPriority ? 1 : stored;
  if (v > kCbChannelCount && !RxChannelExists(image, info, rxBank, v)) v = 1;
  s.priorityValue = v;
  s.priorityIndex = -1;
  for (size_t i = 0; i < s.priorityEntries.size(); ++i)
    if (s.priorityEntries[i].value == v) s.priorityIndex = static_cast<int>(i);
}

ScanSettings LoadScan(const EEPROM& image, const TradioInfo& info, const ScanFeatures& f,
                      int rxBank) {
  ScanSettings s;
  s.status = image.GetParamByte(info, kParamStatus);
  s.options = OptionBytes::Read(image, info, kScanOptionBytes);

  FillPriorityChannels(image, info, rxBank, image.GetParamByte(info, "Pri Channel"), s);
  s.priCheckRate = std::clamp(image.GetParamByte(info, "Pri Chk Rate"), 1, kMaxPriCheckRate);

  const int duplex = image.GetParamByte(info, "Duplex");
  const int duplex80 = image.GetParamByte(info, "Duplex-80");
  for (int i = 0; i < 8; ++i) {
    s.duplex[i] = duplex >= 0 && (duplex >> i) & 1;
    s.duplex[8 + i] = duplex80 >= 0 && (duplex80 >> i) & 1;
  }

  for (int p = 0; p < kScanPageCount; ++p) {
    const int a = info.GetParamAddress(kScanMemParams[p]);
    if (!PageUsed(f, p) || a < 0) continue;
    image.ReadBlock(a, s.scanMem[p].data(), 24);
    for (int n = 0; n < kCbChannelCount; ++n) s.members[p][n] = TestBit(n, s.scanMem[p].data());
  }

  const int options2 = s.options.Byte(2);
  s.groupScan1 = options2 >= 0 && (options2 & kGroupScan1Bit);
  s.groupScan2 = options2 >= 0 && (options2 & kGroupScan2Bit);
  s.threeBeep = options2 >= 0 && (options2 & kThreeBeepBit);
  s.gsPttExit = options2 >= 0 && (options2 & kGsPttExitBit);

  if (f.userScanOptions) {
    const int options6 = s.options.Byte(6);
    s.userModNetScan = options6 >= 0 && (options6 & kUserModNetScanBit);
    s.userModScanMode = options6 >= 0 && (options6 & kUserModScanModeBit);
    if (f.scanMemorySelect) {
      const int stored = image.GetParamByte(info, "Scan Memory");
      s.scanMemory = stored >= 0 && stored < kScanPageCount ? stored : -1;
    } else {
      const int status = std::max(0, s.status);
      s.scanMemory = (status & kScanMem2InUseBit) ? 1 : (status & kNetScanInUseBit) ? 2 : 0;
    }
  }

  if (f.scanSkipTime) {
    int stored = image.GetParamByte(info, "Scan Skip Time");
    if (stored < 0 || stored == kErasedSkipTime) stored = kErasedSkipTimeAs;
    s.scanSkipSeconds = stored * kScanSkipStepSeconds;
  }
  return s;
}

void StoreScan(EEPROM& image, const TradioInfo& info, const ScanFeatures& f,
               const ScanSettings& s) {
  OptionBytes options = s.options;
  int status = s.status;
  options.SetBits(2, kGroupScan1Bit, s.groupScan1);
  options.SetBits(2, kGroupScan2Bit, s.groupScan2);

  image.SetParamByte(info, "Duplex", DuplexByte(s, 0));
  image.SetParamByte(info, "Duplex-80", DuplexByte(s, 8));

  for (int p = 0; p < kScanPageCount; ++p) {
    const int a = info.GetParamAddress(kScanMemParams[p]);
    if (!PageUsed(f, p) || a < 0) continue;
    std::array<uint8_t, 24> bits = s.scanMem[p];
    for (int n = 0; n < kCbChannelCount; ++n) {
      if (s.members[p][n])
        SetBit(n, bits.data());
      else
        ClearBit(n, bits.data());
    }
    image.WriteBlock(a, bits.data(), 24);
  }

  const int priority = s.priorityIndex >= 0 && s.priorityIndex < int(s.priorityEntries.size())
                           ? s.priorityEntries[s.priorityIndex].value
                           : s.priorityValue;
  image.SetParamByte(info, "Pri Channel", priority);
  image.SetParamByte(info, "Pri Chk Rate", std::clamp(s.priCheckRate, 1, kMaxPriCheckRate));

  if (f.userScanOptions) {
    options.SetBits(6, kUserModNetScanBit, s.userModNetScan);
    options.SetBits(6, kUserModScanModeBit, s.userModScanMode);
    if (f.scanMemorySelect) {
      image.SetParamByte(info, "Scan Memory",
                         s.scanMemory >= 0 && s.scanMemory < kScanPageCount ? s.scanMemory : 0xFF);
    } else {
      SetBits(status, kScanMem2InUseBit, s.scanMemory == 1);
      SetBits(status, kNetScanInUseBit, s.scanMemory == 2);
    }
  }

  if (f.scanSkipTime) {
    const int seconds = std::clamp(s.scanSkipSeconds, 0, kMaxScanSkipSeconds);
    image.SetParamByte(info, "Scan Skip Time", seconds / kScanSkipStepSeconds);
  }

  options.SetBits(2, kThreeBeepBit, s.threeBeep);
  options.SetBits(2, kGsPttExitBit, s.gsPttExit);

  // A byte that could not be read (absent on the model) is not written.
  if (status >= 0) image.SetParamByte(info, kParamStatus, status & 0xFF);
  options.Write(image, info);
}

bool EnterScanSkipText(const std::string& text, int& seconds) {
  int v = 0;
  if (!text.empty() && !WholeNumber(text, v)) return false;
  v = std::min(v, kMaxScanSkipSeconds);
  seconds = (v + kScanSkipStepSeconds / 2) / kScanSkipStepSeconds * kScanSkipStepSeconds;
  return true;
}

bool ScanSkipPositionFromText(const std::string& text, int& seconds) {
  int v = 0;
  if (!WholeNumber(text, v) || v > kMaxScanSkipSeconds) return false;
  seconds = v;
  return true;
}
