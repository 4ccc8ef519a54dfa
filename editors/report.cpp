#include "report.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "buildconfig.h"
#include "eeprom.h"
#include "userfile.h"
#include "params.h"
#include "radioinfo.h"
#include "rxbank.h"
#include "rxchannels.h"
#include "tones.h"

namespace {

const char* const kSeparator = "________________________________________________";
const char* const kIndent = "     ";
// A value the current model does not keep.
const char* const kAbsent = "n/a";

struct NamedValue {
  const char* label;
  Param param;
};

const NamedValue kAlignmentLines[] = {
    {"Modulation", "Mod"},
    {"Balance", "Bal"},
    {"Centre Frequency", "PLL FRef"},
    {"S-Meter S1", "S1 Cal"},
    {"S-Meter S9+", "S10 Cal"},
    {"RF Power (5W)", "RF Power Hi"},
    {"RF Power (1W)", "RF Power Lo"},
};

// The squelch bytes are printed as stored: "Sql Min Open" stays in its
// units of 10 ms.
const NamedValue kSquelchLines[] = {
    {"Squelch level", "Sql Level"},
    {"Mute Open Debounce Time", "Sql Open Debounce"},
    {"Minimum Mute Open Time", "Sql Min Open"},
};

class Report {
 public:
  Report(const EEPROM& image, const TradioInfo& info) : image_(image), info_(info) {}

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  // A separator line and an empty line close each section.
  void EndSection() {
    Add(kSeparator);
    Add("");
  }
  int Byte(Param param) const { return image_.GetParamByte(info_, param); }
  std::string ByteText(Param param) const {
    const int value = Byte(param);
    return value < 0 ? kAbsent : std::to_string(value);
  }
  void AddValue(const NamedValue& v) { Add(std::string(kIndent) + v.label + " = " + ByteText(v.param)); }

  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  const EEPROM& image_;
  const TradioInfo& info_;
  std::vector<std::string> lines_;
};

// "476.4250MHz": at least three digits before the point, four after,
// rounded to the nearest 100 Hz.
std::string FrequencyText(uint32_t hz) {
  const uint64_t tenths = (static_cast<uint64_t>(hz) + 50) / 100;
  char text[32];
  std::snprintf(text, sizeof text, "%03" PRIu64 ".%04" PRIu64 "MHz", tenths / 10000,
                tenths % 10000);
  return text;
}

// The channel lines of records first .. first + 18; false when none holds
// a channel.
bool AddChannelLines(Report& report, const EEPROM& image, const TradioInfo& info, int first) {
  bool any = false;
  for (int slot = 0; slot < kRxListedSlots; ++slot) {
    RX_CH_DATA_STRUCT record;
    if (image.GetRxChannel(info, first + slot, record) < 0 || record.frequency == 0) continue;
    report.Add("CH" + std::to_string(kFirstRxChannel + slot) + kIndent +
               FrequencyText(record.frequency) + kIndent + record.alphaTag);
    any = true;
  }
  return any;
}

void AddRxChannelSection(Report& report, const EEPROM& image, const TradioInfo& info,
                         const BuildConfig& build) {
  report.Add("Receive Only Channels:");
  report.Add(std::string("Active bank: RX-") + BankLetter(CurrentRxBank(image, info, build)));
  report.Add("");
  // Whether the channels sit in banks is the image's own model's matter.
  const int imageProduct = image.GetParamWord(info, "Product ID");
  bool any = false;
  if (imageProduct >= 0 && TradioInfo::HasRxBanks(static_cast<uint32_t>(imageProduct))) {
    for (int bank = 0; bank < kRxBankCount; ++bank) {
      report.Add(std::string("---- Bank RX-") + BankLetter(bank) + " ----");
      any = AddChannelLines(report, image, info, bank * kRxSlotsPerBank) || any;
      report.Add("");
    }
  } else {
    any = AddChannelLines(report, image, info, 0);
  }
  if (!any) report.Add(std::string(kIndent) + "No receive-only channels");
  report.Add("");
}

}  // namespace

ReportOptionsShown ReportOptionsShown::For(uint32_t productId) {
  return {TradioInfo::HasRxOnlyChannels(productId), TradioInfo::HasSelcall(productId)};
}

ReportOptions ReportOptionsShown::Limit(ReportOptions options) const {
  options.rxChannels = options.rxChannels && rxChannels;
  options.selcallMemories = options.selcallMemories && selcallMemories;
  return options;
}

std::string ReportDateText(int day, const std::string& shortMonth, int year) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d-", day);
  char yearText[16];
  std::snprintf(yearText, sizeof yearText, "-%04d", year);
  return text + shortMonth + yearText;
}

std::vector<std::string> ReportLines(const EEPROM& image, const TradioInfo& info,
                                     const BuildConfig& build, const ReportSource& source,
                                     const ReportOptions& options, const std::string& date) {
  Report report(image, info);
  report.Add("Vorn " + build.modelName + " Report");
  report.EndSection();
  report.Add("Radio type: ");
  report.Add(info.ModelName());
  report.Add(std::string(" (") + info.ModelDescription() + ")");
  report.Add("Date: " + date);
  if (source.state == 1) report.Add("File: " + source.fileName);
  if (source.state == 2)
    report.Add("Radio: " + (source.versionText.empty() ? std::string(kAbsent) : source.versionText));
  report.EndSection();

  if (options.calibration) {
    report.Add("Alignment calibration settings:");
    for (const NamedValue& v : kAlignmentLines) report.AddValue(v);
    report.Add("");
    report.EndSection();
  }
  if (options.rxChannels) {
    AddRxChannelSection(report, image, info, build);
    report.EndSection();
  }

  const ToneOrder order = ToneOrderOfImage(image, info, build.productId, source.majorVersion);
  const auto tone = [&](Param param) {
    const int code = report.Byte(param);
    return code < 0 ? std::string(kAbsent) : ToneText(code, order);
  };
  report.Add("Subtone:");
  report.Add(std::string(kIndent) + "Rx tone = " + tone("Rx CTCSS Tone"));
  report.Add(std::string(kIndent) + "Tx tone = " + tone("Tx CTCSS Tone"));
  report.Add("");
  report.EndSection();

  report.Add("Squelch:");
  report.Add("");
  for (const NamedValue& v : kSquelchLines) report.AddValue(v);
  report.Add("");
  report.EndSection();

  // A heading only: the memories themselves are not listed.
  if (options.selcallMemories) {
    report.Add("Selcall Memories:");
    report.Add("");
    report.EndSection();
  }
  return report.Take();
}

std::string ReportFileText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool SaveReport(const std::string& path, const std::vector<std::string>& lines,
                std::string& reason) {
  const std::string text = ReportFileText(lines);
  return SaveUserFile(path, text.data(), text.size(), reason);
}
