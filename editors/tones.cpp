#include "tones.h"

#include <cstdio>

#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

const float kToneFrequencies[kToneCount + 1] = {
    0.0f,   67.0f,  69.4f,  71.9f,  74.4f,  77.0f,  79.7f,  82.5f,  85.4f,  88.5f,  91.5f,
    94.8f,  97.4f,  100.0f, 103.5f, 107.2f, 110.9f, 114.8f, 118.8f, 123.0f, 127.3f, 131.8f,
    136.5f, 141.3f, 146.2f, 151.4f, 156.7f, 159.8f, 162.2f, 165.5f, 167.9f, 171.3f, 173.8f,
    177.3f, 179.9f, 183.5f, 186.2f, 189.9f, 192.8f, 196.6f, 199.5f, 203.5f, 206.5f, 210.7f,
    218.1f, 225.7f, 229.1f, 233.6f, 241.8f, 250.3f, 254.1f};

const uint8_t kOrder38[kOrder38Count + 1] = {0,  1,  3,  4,  5,  6,  7,  8,  9,  10,
                                             11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                             21, 22, 23, 24, 25, 26, 28, 30, 32, 34,
                                             36, 38, 41, 43, 44, 45, 47, 48, 49};

// The 38-tone codes first, then the twelve tones that set leaves out.
const uint8_t kExtendedOrder[kToneCount + 1] = {
    0,  1,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
    18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 30, 32, 34, 36, 38, 41, 43,
    44, 45, 47, 48, 49, 2,  27, 29, 31, 33, 35, 37, 39, 40, 42, 46, 50};

const uint16_t kDcsCodes[kDcsCount + 1] = {
    0,
    023, 025, 026, 031, 032, 036, 043, 047, 051, 053, 054, 065, 071, 072, 073, 074,
    0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162, 0165, 0172,
    0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255, 0261, 0263, 0265,
    0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351, 0356, 0364, 0365, 0371,
    0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455, 0462, 0464, 0465, 0466, 0503,
    0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624, 0627, 0631, 0632, 0654, 0662, 0664,
    0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};

namespace {

constexpr int kOptions5Set38 = 1 << 6;
constexpr int kOptions5NotExtended = 1 << 7;
// In the 38-tone order the DCS codes keep 51..154 while their entries
// follow the 38 tones straight on.
constexpr int kDcsEntryShift = kToneCount - kOrder38Count;

bool IsDcsCode(int code) { return code >= kFirstDcsCode && code <= kLastToneCode; }

int TonesInList(ToneOrder order) {
  return order == ToneOrder::ThirtyEight ? kOrder38Count : kToneCount;
}

std::string ToneLine(int number, float frequency) {
  char text[32];
  std::snprintf(text, sizeof text, "CTC%02d - %3.1fHz", number, static_cast<double>(frequency));
  return text;
}

std::string DcsLine(int code) {
  const int number = code - kFirstDcsCode + 1;
  char text[32];
  std::snprintf(text, sizeof text, "DT%03d - %03o", number, kDcsCodes[number]);
  return text;
}

}  // namespace

ToneOrder ToneOrderInForce(int options5, bool hasExtendedCtcss) {
  if (hasExtendedCtcss || !(options5 & kOptions5NotExtended)) return ToneOrder::Extended;
  return (options5 & kOptions5Set38) ? ToneOrder::ThirtyEight : ToneOrder::Fifty;
}

ToneOrder ToneOrderOfImage(const EEPROM& image, const TradioInfo& info, uint32_t productId,
                           int majorVersion) {
  // An image without the byte reads it as -1, all bits set: the model's
  // own set, else 38 tones.
  return ToneOrderInForce(image.GetParamByte(info, "Options-5"),
                          TradioInfo::HasExtendedCtcss(productId, majorVersion));
}

int ToneNumberOfCode(int code, ToneOrder order) {
  if (code < 1 || code > kToneCount) return 0;
  switch (order) {
    case ToneOrder::Extended:
      return kExtendedOrder[code];
    case ToneOrder::Fifty:
      return code;
    case ToneOrder::ThirtyEight:
      return code <= kOrder38Count ? kOrder38[code] : 0;
  }
  return 0;
}

std::string ToneText(int code, ToneOrder order) {
  if (code == 0) return "OFF";
  if (code >= 1 && code <= kToneCount) {
    const int tone = ToneNumberOfCode(code, order);
    // The 38 tones have no codes 39..50: such a byte names no tone.
    if (tone == 0) return "???";
    return ToneLine(tone, kToneFrequencies[tone]);
  }
  if (IsDcsCode(code)) return DcsLine(code);
  return "???";
}

int ToneEntryCount(ToneOrder order) { return 1 + TonesInList(order) + kDcsCount; }

std::string ToneEntryText(int entry, ToneOrder order) {
  if (entry <= 0 || entry >= ToneEntryCount(order)) return "OFF";
  if (entry <= TonesInList(order))
    return ToneLine(entry, kToneFrequencies[ToneNumberOfCode(entry, order)]);
  return DcsLine(CodeOfEntry(entry, order));
}

int EntryOfCode(int code, ToneOrder order) {
  if (code < 0 || code > kLastToneCode) return 0;
  if (order != ToneOrder::ThirtyEight || code <= kOrder38Count) return code;
  if (IsDcsCode(code)) return code - kDcsEntryShift;
  return kNoEntry;
}

int CodeOfEntry(int entry, ToneOrder order) {
  if (order == ToneOrder::ThirtyEight && entry > kOrder38Count) return entry + kDcsEntryShift;
  return entry;
}

int Tone50OfEntry(int entry, ToneOrder order) {
  if (order != ToneOrder::ThirtyEight) return entry;
  if (entry > kOrder38Count) return entry + kDcsEntryShift;
  return entry >= 0 ? kOrder38[entry] : 0;
}

int EntryOfTone50(int tone50, ToneOrder order) {
  if (order != ToneOrder::ThirtyEight) return tone50;
  if (tone50 > kToneCount) return tone50 - kDcsEntryShift;
  for (int a = 0; a <= kOrder38Count; ++a)
    if (kOrder38[a] == tone50) return a;
  return 0;  // the 38 tones lack it: off
}
