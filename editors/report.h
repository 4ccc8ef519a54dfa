#pragma once
// The configuration report: plain-text lines describing the image (the
// model, where the data came from, the alignment values, the
// receive-only channels, the subtones and the squelch), as the report
// window shows, saves and prints them and as vornprog prints them.
// Reads the image only.

#include <cstdint>
#include <string>
#include <vector>

class EEPROM;
class TradioInfo;
struct BuildConfig;

// What the image holds, as the main window keeps it.
struct ReportSource {
  int state = 0;             // 0 nothing loaded, 1 a file, 2 radio data
  std::string fileName;      // state 1
  std::string versionText;   // state 2; empty when no version was read
  int majorVersion = -1;     // the radio's firmware major version, -1 unknown
};

struct ReportOptions {
  bool calibration = false;
  bool rxChannels = false;
  bool selcallMemories = false;
};

// The option boxes the build shows; a box it hides is never ticked.
struct ReportOptionsShown {
  bool rxChannels = false;
  bool selcallMemories = false;
  static ReportOptionsShown For(uint32_t productId);
  ReportOptions Limit(ReportOptions options) const;
};

// "09-Dec-2026": two-digit day, the locale's short month name as given,
// four-digit year.
std::string ReportDateText(int day, const std::string& shortMonth, int year);

// The report, one string per line (no newlines). `info` is the current
// model row; `build` gives the heading's model name, the bank the radio
// shows and the tone numbering; `date` is the date line's text.
std::vector<std::string> ReportLines(const EEPROM& image, const TradioInfo& info,
                                     const BuildConfig& build, const ReportSource& source,
                                     const ReportOptions& options, const std::string& date);

// The lines as a text file: UTF-8, each line ended by a newline.
std::string ReportFileText(const std::vector<std::string>& lines);

// Writes the text file, replacing `path` in one step. On failure `reason`
// holds the system's reason and the old file is untouched.
bool SaveReport(const std::string& path, const std::vector<std::string>& lines,
                std::string& reason);
