// The receive-only channels as a CSV list, out and back in. The import
// is held to the channel editor's rules, row by row; a list is taken only
// whole, with its header line, so an empty or foreign file never passes
// for "no channels".

#include <algorithm>
#include <cctype>
#include <charconv>

#include "csvline.h"
#include "excerpt.h"
#include "rxchannels.h"
#include "userfile.h"

namespace {

constexpr const char* kCsvHeader = "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent";
constexpr int kCsvFields = 9;
constexpr const char* kFlagNames[kRxBitSetCount] = {"Scan0", "Scan1", "Quiet", "Silent"};
// Spreadsheet programs often start a UTF-8 file with a byte-order mark.
constexpr const char kUtf8Bom[] = "\xEF\xBB\xBF";


std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ToInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && rest == end;
}

// The header's nine names, in any case and quoted or not.
bool IsHeader(const std::vector<std::string>& fields) {
  std::vector<std::string> names;
  SplitCsvLine(kCsvHeader, names);
  if (fields.size() != names.size()) return false;
  for (size_t i = 0; i < names.size(); ++i)
    if (Lower(Trimmed(fields[i])) != Lower(names[i])) return false;
  return true;
}

struct CsvRow {
  int record = 0;
  RX_CH_DATA_STRUCT channel;
};

// One row by the channel editor's rules; an empty text when it passes.
// Bad values are quoted short: a field may be megabytes long.
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
  if (bank < 0 || bank >= kRxBankCount)
    return "bank must be A to E, not " + QuotedExcerpt(Trimmed(f[0]));
  if (!banksEnabled && bank != 0) return "this model has no banks: bank must be A";
  int slot = 0;
  if (!ToInt(Trimmed(f[1]), slot) || slot < 0 || slot >= kRxSlotsPerBank)
    return "slot must be 0 to 18, not " + QuotedExcerpt(Trimmed(f[1]));
  if (slot == kRxListedSlots)
    return "slot 19 (channel 100) is the radio's own and cannot be set";
  const std::string channelText = Trimmed(f[2]);
  int channel = 0;
  if (!channelText.empty() && (!ToInt(channelText, channel) || channel != kFirstRxChannel + slot))
    return "channel must be " + std::to_string(kFirstRxChannel + slot) + " for slot " +
           std::to_string(slot) + ", not " + QuotedExcerpt(channelText);
  const std::string frequencyText = Trimmed(f[3]);
  const std::optional<int64_t> hz = ParseFrequency(frequencyText);
  if (!hz) return "frequency " + QuotedExcerpt(frequencyText) + " is not a number of MHz";
  if (*hz <= 0) return "no frequency";
  if (*hz > kRxMaxFrequencyHz) return "frequency above " + ShowFrequency(kRxMaxFrequencyHz) + " MHz";
  // The text is decimal MHz and may land a hertz below the step it names.
  const int64_t stepped = RoundAndLimitFrequency(*hz);
  if (stepped - *hz > 1 || *hz - stepped > 1)
    return "frequency " + QuotedExcerpt(frequencyText) + " MHz is not on a 12.5 kHz step";
  // A hertz or so above nothing is still no channel.
  if (stepped == 0) return "no frequency";
  const std::string& tagText = f[4];
  if (static_cast<int>(tagText.size()) > kAlphaTagLength)
    return "alpha tag " + QuotedExcerpt(tagText) + " is longer than " +
           std::to_string(kAlphaTagLength) + " characters";
  std::string tag = tagText;
  for (char& c : tag) {
    const char key = AlphaTagKey(c);
    if (key == 0) return "alpha tag " + QuotedExcerpt(tagText) + " holds a character the radio cannot show";
    c = key;
  }
  uint32_t flags = 0;
  for (int s = 0; s < kRxBitSetCount; ++s) {
    const std::string v = Trimmed(f[5 + s]);
    if (v == "1")
      flags |= kRxFlagOfBitSet[s];
    else if (v != "0" && !v.empty())
      return std::string(kFlagNames[s]) + " must be 1, 0 or empty, not " + QuotedExcerpt(v);
  }
  row.record = bank * kRxSlotsPerBank + slot;
  row.channel.frequency = static_cast<uint32_t>(stepped);
  row.channel.alphaTag = tag;
  row.channel.flags = flags;
  return "";
}

// The list's lines, numbered from 1, without their line ends (LF or CRLF).
class CsvLines {
 public:
  explicit CsvLines(const std::string& text) : text_(text) {
    if (text_.compare(0, sizeof kUtf8Bom - 1, kUtf8Bom) == 0) start_ = sizeof kUtf8Bom - 1;
  }
  bool Next(std::string& line, int& number) {
    if (start_ >= text_.size()) return false;
    size_t end = text_.find('\n', start_);
    if (end == std::string::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    number = ++number_;
    return true;
  }

 private:
  const std::string& text_;
  size_t start_ = 0;
  int number_ = 0;
};

int ChannelCount(const RxChannelList& list, int banks) {
  int count = 0;
  for (int bank = 0; bank < banks; ++bank)
    count += static_cast<int>(ListedSlots(list, bank).size());
  return count;
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
             "," + CsvField(r.alphaTag, true);
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
  bool headerSeen = false;
  CsvLines lines(text);
  std::string line;
  int number = 0;
  while (lines.Next(line, number)) {
    if (Trimmed(line).empty()) continue;
    std::vector<std::string> fields;
    const bool split = SplitCsvLine(line, fields);
    if (!headerSeen) {
      // Without its header a file is no channel list, and its rows are not read.
      if (!split || !IsHeader(fields))
        return {{number, std::string("the first line is not the header ") + kCsvHeader}};
      headerSeen = true;
      continue;
    }
    if (!split) {
      faults.push_back({number, "a quoted field is not closed"});
      continue;
    }
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
  if (!headerSeen)
    return {{0, std::string("the list is empty, without even its header line ") + kCsvHeader}};
  if (faults.empty()) list = result;
  return faults;
}

ChannelImport ImportChannelsCsv(const std::string& path, bool banksEnabled, RxChannelList& list) {
  ChannelImport result;
  std::string text;
  UserFileError why;
  if (!ReadUserFile(path, kMaxChannelListBytes, "a channel list", text, why)) {
    result.refused = UnableToOpenText(path, why);
    return result;
  }
  RxChannelList after = list;
  result.faults = ChannelsFromCsv(text, banksEnabled, after);
  if (!result.faults.empty()) return result;
  const int banks = banksEnabled ? kRxBankCount : 1;
  result.channels = ChannelCount(after, banks);
  for (int bank = 0; bank < banks; ++bank)
    for (int slot : ListedSlots(list, bank))
      result.removed += after.records[bank * kRxSlotsPerBank + slot].frequency == 0;
  list = after;
  return result;
}

std::vector<std::string> CsvFaultLines(const std::string& listName,
                                       const std::vector<CsvFault>& faults, size_t maxLines) {
  std::vector<std::string> lines;
  for (const CsvFault& f : faults) {
    if (lines.size() == maxLines) {
      lines.push_back("... and " + std::to_string(faults.size() - maxLines) + " more faulty lines");
      break;
    }
    lines.push_back(listName + (f.line > 0 ? " line " + std::to_string(f.line) : std::string()) +
                    ": " + f.reason);
  }
  return lines;
}
