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
constexpr int kBitSetParams[kRxBitSetCount] = {kParamScanMem0, kParamScanMem1, kParamQuietMem,
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

// ---- the channel list as CSV ----

namespace {

constexpr const char* kCsvHeader = "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent";
constexpr int kCsvFields = 9;
constexpr const char* kFlagNames[kRxBitSetCount] = {"Scan0", "Scan1", "Quiet", "Silent"};

// Tags may hold commas, quotes and blanks at either end: always quoted.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// Splits one line into fields; false for an unterminated quote.
bool SplitCsvLine(const std::string& line, std::vector<std::string>& fields) {
  fields.assign(1, "");
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return !quoted;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ToInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && rest == end;
}

bool IsHeader(const std::vector<std::string>& fields) {
  std::string first = Trimmed(fields[0]);
  for (char& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return first == "bank";
}

struct CsvRow {
  int record = 0;
  RX_CH_DATA_STRUCT channel;
};

// One row by the channel editor's rules; an empty text when it passes.
std::string ParseRow(const std::vector<std::string>& f, bool banksEnabled, CsvRow& row) {
  if (static_cast<int>(f.size()) != kCsvFields)
    return std::to_string(kCsvFields) + " fields expected, " + std::to_string(f.size()) +
           " found";
  std::string bankText = Trimmed(f[0]);
  if (bankText.rfind("RX-", 0) == 0 || bankText.rfind("rx-", 0) == 0) bankText.erase(0, 3);
  const char letter = bankText.size() == 1 ? static_cast<char>(std::toupper(
                                                 static_cast<unsigned char>(bankText[0])))
                                           : 0;
  const int bank = letter - 'A';
  if (bank < 0 || bank >= kRxBankCount) return "bank must be A to E, not \"" + Trimmed(f[0]) + "\"";
  if (!banksEnabled && bank != 0) return "this model has no banks: bank must be A";
  int slot = 0;
  if (!ToInt(Trimmed(f[1]), slot) || slot < 0 || slot >= kRxSlotsPerBank)
    return "slot must be 0 to 18, not \"" + Trimmed(f[1]) + "\"";
  if (slot == kRxListedSlots)
    return "slot 19 (channel 100) is the radio's own and cannot be set";
  const std::string channelText = Trimmed(f[2]);
  int channel = 0;
  if (!channelText.empty() && (!ToInt(channelText, channel) || channel != kFirstRxChannel + slot))
    return "channel must be " + std::to_string(kFirstRxChannel + slot) + " for slot " +
           std::to_string(slot) + ", not \"" + channelText + "\"";
  const std::string frequencyText = Trimmed(f[3]);
  const std::optional<int64_t> hz = ParseFrequency(frequencyText);
  if (!hz) return "frequency \"" + frequencyText + "\" is not a number of MHz";
  if (*hz <= 0) return "no frequency";
  if (*hz > kRxMaxFrequencyHz) return "frequency above " + ShowFrequency(kRxMaxFrequencyHz) + " MHz";
  // The text is decimal MHz and may land a hertz below the step it names.
  const int64_t stepped = RoundAndLimitFrequency(*hz);
  if (stepped - *hz > 1 || *hz - stepped > 1)
    return "frequency " + frequencyText + " MHz is not on a 12.5 kHz step";
  std::string tag = f[4];
  if (static_cast<int>(tag.size()) > kAlphaTagLength)
    return "alpha tag \"" + tag + "\" is longer than " + std::to_string(kAlphaTagLength) +
           " characters";
  for (char& c : tag) {
    const char key = AlphaTagKey(c);
    if (key == 0) return std::string("alpha tag \"") + tag + "\" holds a character the radio cannot show";
    c = key;
  }
  uint32_t flags = 0;
  for (int s = 0; s < kRxBitSetCount; ++s) {
    const std::string v = Trimmed(f[5 + s]);
    if (v == "1")
      flags |= kRxFlagOfBitSet[s];
    else if (v != "0" && !v.empty())
      return std::string(kFlagNames[s]) + " must be 1, 0 or empty, not \"" + v + "\"";
  }
  row.record = bank * kRxSlotsPerBank + slot;
  row.channel.frequency = static_cast<uint32_t>(stepped);
  row.channel.alphaTag = tag;
  row.channel.flags = flags;
  return "";
}

}  // namespace

std::string ChannelsCsv(const RxChannelList& list, bool banksEnabled) {
  std::string csv = std::string(kCsvHeader) + "\n";
  const int banks = banksEnabled ? kRxBankCount : 1;
  for (int bank = 0; bank < banks; ++bank) {
    for (int slot : ListedSlots(list, bank)) {
      const RX_CH_DATA_STRUCT& r = list.records[bank * kRxSlotsPerBank + slot];
      csv += std::string(1, BankLetter(bank)) + "," + std::to_string(slot) + "," +
             std::to_string(kFirstRxChannel + slot) + "," + Trimmed(ShowFrequency(r.frequency)) +
             "," + Quoted(r.alphaTag);
      for (uint32_t flag : kRxFlagOfBitSet) csv += (r.flags & flag) ? ",1" : ",0";
      csv += "\n";
    }
  }
  return csv;
}

std::vector<CsvFault> ChannelsFromCsv(const std::string& text, bool banksEnabled,
                                      RxChannelList& list) {
  std::vector<CsvFault> faults;
  RxChannelList result = list;
  const int banks = banksEnabled ? kRxBankCount : 1;
  for (int bank = 0; bank < banks; ++bank) ClearBank(result, bank);
  std::array<int, kRxOnlyChannelCount> givenOn{};
  bool firstRow = true;
  size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trimmed(line).empty()) continue;
    std::vector<std::string> fields;
    if (!SplitCsvLine(line, fields)) {
      faults.push_back({number, "a quoted field is not closed"});
      continue;
    }
    const bool header = firstRow && IsHeader(fields);
    firstRow = false;
    if (header) continue;
    CsvRow row;
    const std::string reason = ParseRow(fields, banksEnabled, row);
    if (!reason.empty()) {
      faults.push_back({number, reason});
      continue;
    }
    if (givenOn[row.record] != 0) {
      faults.push_back({number, std::string("bank ") + BankLetter(row.record / kRxSlotsPerBank) +
                                    " slot " + std::to_string(row.record % kRxSlotsPerBank) +
                                    " is already given on line " +
                                    std::to_string(givenOn[row.record])});
      continue;
    }
    givenOn[row.record] = number;
    result.records[row.record] = row.channel;
  }
  if (faults.empty()) list = result;
  return faults;
}
