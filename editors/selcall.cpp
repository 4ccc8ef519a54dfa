#include "selcall.h"

#include <algorithm>

#include "array.h"
#include "bits.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "selcallidents.h"

namespace {

// Option bytes by the number in their name: 3 = "Options-3".
constexpr int kOptions3 = 3;
constexpr int kOptions4 = 4;
constexpr int kOptions6 = 6;
constexpr int kNameOffset = 4;  // the radio name follows the 4 ident bytes
constexpr int kIdentBytes = 4;
constexpr int kLeadToneStepMs = 10;

struct FlagBit {
  SelcallFlag flag;
  int option;  // the number of its option byte
  int bit;
};

constexpr FlagBit kFlagBits[] = {
    {SelcallFlag::kAppendAni, kOptions3, 6},
    {SelcallFlag::kLeadInTone, kOptions4, 1},
    {SelcallFlag::kAlertSlowBeeps, kOptions4, 2},
    {SelcallFlag::kBeepAcknowledge, kOptions4, 3},
    {SelcallFlag::kReenterQuiet, kOptions4, 4},
    {SelcallFlag::kUnmuteOnSelcall, kOptions4, 5},
    {SelcallFlag::kAlertIndividualCall, kOptions4, 6},
    {SelcallFlag::kAlertGroupCall, kOptions4, 7},
    {SelcallFlag::kUserModifyIdent, kOptions6, 1},
    {SelcallFlag::kUserModifyMemory, kOptions6, 2},
    {SelcallFlag::kLeadInDelay, kOptions6, 5},
};

const FlagBit& BitOf(SelcallFlag flag) {
  return *std::find_if(std::begin(kFlagBits), std::end(kFlagBits),
                       [flag](const FlagBit& f) { return f.flag == flag; });
}

// Thermometer codes of the three group sizes, lowest bit first.
constexpr uint8_t kGroupCodes[] = {0b001, 0b011, 0b111};
constexpr uint8_t kGroupMask = 0b111;

int GroupShift(GroupDirection direction) { return direction == GroupDirection::kReceive ? 3 : 0; }

}  // namespace

bool GetSelcallFlag(const SelcallForm& form, SelcallFlag flag) {
  const FlagBit& f = BitOf(flag);
  return form.options.Bit(f.option, f.bit);
}

void SetSelcallFlag(SelcallForm& form, SelcallFlag flag, bool on) {
  const FlagBit& f = BitOf(flag);
  form.options.SetBits(f.option, 1 << f.bit, on);
}

int GetGroupSize(uint8_t options3, GroupDirection direction) {
  const int bits = (options3 >> GroupShift(direction)) & kGroupMask;
  for (int size = kGroupOf1000; size >= kGroupOf10; --size) {
    if (bits & (1 << size)) return size;
  }
  return kNoGroupSize;
}

uint8_t SetGroupSize(uint8_t options3, GroupDirection direction, bool on, int size) {
  const int shift = GroupShift(direction);
  if (on && (size < kGroupOf10 || size > kGroupOf1000)) return options3;
  uint8_t byte = static_cast<uint8_t>(options3 & ~(kGroupMask << shift));
  if (on) byte = static_cast<uint8_t>(byte | (kGroupCodes[size] << shift));
  return byte;
}

int TonePeriodFromByte(int toneLength) {
  const bool listed = std::find(kTonePeriodsMs.begin(), kTonePeriodsMs.end(), toneLength) !=
                      kTonePeriodsMs.end();
  return listed ? toneLength : kDefaultTonePeriodMs;
}

std::string StoredIdentText(const std::string& fieldText) {
  std::string text = fieldText.substr(0, kSelcallIdentDigits);
  return std::string(kSelcallIdentDigits - text.size(), '0') + text;
}

int EmptyIdentPositions(const std::string& fieldText) {
  return static_cast<int>(std::count(fieldText.begin(), fieldText.end(), ' '));
}

std::string IdentWithEmptyAsF(const std::string& fieldText) {
  std::string text = fieldText;
  std::replace(text.begin(), text.end(), ' ', 'F');
  return text;
}

std::string EmptyIdentNotice(const std::string& fieldText) {
  const int empty = EmptyIdentPositions(fieldText);
  if (empty == 0) return "";
  return "The Radio Ident has " + std::to_string(empty) + " empty position" +
         (empty == 1 ? "" : "s") + " of " + std::to_string(fieldText.size()) +
         "; each is stored as digit F, so the radio's ident becomes " +
         IdentWithEmptyAsF(fieldText) + ".";
}

bool IdentKeepsStoredDigits(const std::string& fieldText, const std::string& storedDigits) {
  return IdentWithEmptyAsF(fieldText) == storedDigits;
}

std::string RadioIdentPositions(const std::string& typed) {
  return RightAlignedEntry(RightAlignedInMask(typed, kRadioIdentLength));
}

bool IsRadioIdentText(const std::string& typed) {
  return typed.size() <= static_cast<size_t>(kRadioIdentLength) &&
         std::all_of(typed.begin(), typed.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == ' '; });
}

bool StoreRadioIdent(EEPROM& image, const TradioInfo& info, const std::string& typed) {
  const int ident = info.GetParamAddress("Selcall Ident");
  if (ident < 0 || !IsRadioIdentText(typed)) return false;
  image.FromHexText(StoredIdentText(RadioIdentPositions(typed)).c_str(), ident, kIdentBytes);
  return true;
}

std::string LoadRadioIdent(const EEPROM& image, const TradioInfo& info) {
  if (info.GetParamAddress("Selcall Ident") < 0) return std::string();
  return LoadSelcallForm(image, info, kRadioIdentLength).ident;
}

SelcallForm LoadSelcallForm(const EEPROM& image, const TradioInfo& info, int identLength) {
  SelcallForm form;
  form.options = OptionBytes::Read(image, info, kSelcallOptionBytes);
  const uint8_t options3 = static_cast<uint8_t>(std::max(0, form.options.Byte(kOptions3)));
  form.rxGroupSize = GetGroupSize(options3, GroupDirection::kReceive);
  form.acceptGroupCalls = form.rxGroupSize != kNoGroupSize;
  form.txGroupSize = GetGroupSize(options3, GroupDirection::kTransmit);
  form.sendGroupCalls = form.txGroupSize != kNoGroupSize;

  const int ident = info.GetParamAddress("Selcall Ident");
  if (ident >= 0) {
    char hex[2 * kIdentBytes + 1];
    image.ToHexText(hex, ident, kIdentBytes);
    const int n = std::clamp(identLength, 0, kSelcallIdentDigits);
    form.identDigits = std::string(hex + kSelcallIdentDigits - n);
    form.ident = form.identDigits;
    for (char& c : form.ident) {
      if (c < '0' || c > '9') c = ' ';
    }
    form.radioName = image.GetAlphaTag(ident + kNameOffset);
  }

  const int alert = info.GetParamAddress("Selcall Alert Time");
  if (alert >= 0) form.alertDuration = std::clamp(image.GetByte(alert), 0, kAlertDurationMax);

  const int lead = info.GetParamAddress("Lead Tone Length");
  if (lead >= 0) {
    form.leadInDelayMs =
        std::clamp(image.GetByte(lead), kLeadToneLengthMin, kLeadToneLengthMax) * kLeadToneStepMs;
  }

  const int tone = info.GetParamAddress("Tone Length");
  if (tone >= 0) form.tonePeriodMs = TonePeriodFromByte(image.GetByte(tone));

  const int quiet = info.GetParamAddress("Quiet Mem");
  if (quiet >= 0) {
    uint8_t bits[kChannelBitArraySize] = {};
    image.ReadBlock(quiet, bits, kChannelBitArraySize);
    for (int k = 0; k < kQuietMemChannels; ++k) form.quiet[k] = TestBit(k, bits);
  }
  return form;
}

void StoreSelcallForm(EEPROM& image, const TradioInfo& info, const SelcallForm& form,
                      bool engineering) {
  const int ident = info.GetParamAddress("Selcall Ident");
  if (ident >= 0) {
    image.FromHexText(StoredIdentText(form.ident).c_str(), ident, kIdentBytes);
    image.SetAlphaTag(ident + kNameOffset, form.radioName.c_str());
  }

  const int alert = info.GetParamAddress("Selcall Alert Time");
  if (alert >= 0) image.SetByte(alert, std::clamp(form.alertDuration, 0, kAlertDurationMax));

  const int lead = info.GetParamAddress("Lead Tone Length");
  if (lead >= 0) image.SetByte(lead, form.leadInDelayMs / kLeadToneStepMs);

  const int tone = info.GetParamAddress("Tone Length");
  if (engineering && tone >= 0) image.SetByte(tone, TonePeriodFromByte(form.tonePeriodMs));

  const int quiet = info.GetParamAddress("Quiet Mem");
  if (quiet >= 0) {
    uint8_t bits[kChannelBitArraySize];
    if (image.ReadBlock(quiet, bits, kChannelBitArraySize) == kChannelBitArraySize) {
      for (int k = 0; k < kQuietMemChannels; ++k) {
        form.quiet[k] ? SetBit(k, bits) : ClearBit(k, bits);
      }
      image.WriteBlock(quiet, bits, kChannelBitArraySize);
    }
  }

  OptionBytes copies = form.options;
  uint8_t options3 = static_cast<uint8_t>(std::max(0, copies.Byte(kOptions3)));
  options3 = SetGroupSize(options3, GroupDirection::kReceive, form.acceptGroupCalls,
                          form.rxGroupSize);
  options3 = SetGroupSize(options3, GroupDirection::kTransmit, form.sendGroupCalls,
                          form.txGroupSize);
  copies.SetByte(kOptions3, options3);
  copies.Write(image, info);
}

char RadioNameKey(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  const bool accepted = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '-' || c == ' ';
  return accepted ? c : 0;
}
