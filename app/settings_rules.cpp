#include "settings_rules.h"

#include <cctype>

#include "buildconfig.h"
#include "ini_file.h"

namespace {
const char* const kRecentSection = "RecentMemFiles";
std::string RecentKey(int i) { return "File" + std::to_string(i); }
}  // namespace

RecentFileNames RecentFilesFromIni(const std::string& text) {
  RecentFileNames files;
  for (int i = 0; i < kRecentFileCount; ++i) {
    files[i] = Utf8Prefix(ReadIniValue(text, kRecentSection, RecentKey(i)), kRecentFileMaxChars);
    // Blanks the cut leaves at the end would be lost on the next reading;
    // dropping them now keeps what is written back what is read again.
    while (!files[i].empty() && std::string(" \t\r").find(files[i].back()) != std::string::npos)
      files[i].pop_back();
  }
  return files;
}

std::string RecentFilesIntoIni(const std::string& text, const RecentFileNames& files) {
  std::string out = text;
  for (int i = 0; i < kRecentFileCount; ++i)
    out = WriteIniValue(out, kRecentSection, RecentKey(i), files[i]);
  return out;
}

int BoundComPort(int stored) {
  return (stored <= 0 || stored > kMaxComPort) ? kDefaultComPort : stored;
}

int BoundMaxBdRate(int stored) {
  return (stored < kBaudRates.front() || stored > kBaudRates.back()) ? kBaudRates.front() : stored;
}

std::string BoundDefaultFile(const std::string& stored, const BuildConfig& build) {
  if (!stored.empty() || build.AllModels()) return stored;
  return DefaultMemFileName(build);
}

bool IsAdvancedSwitch(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  const std::string& first = arguments.front();
  return first.size() == 2 && first[0] == '/' &&
         std::tolower(static_cast<unsigned char>(first[1])) == 'a';
}
