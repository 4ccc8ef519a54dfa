// The settings INI reader and editor under arbitrary text, as the recent
// mem-files list and the settings keys use them: every entry read is at
// most 199 characters of one line, what is written back reads again as it
// was written, writing it twice changes nothing, and setting one key
// leaves every other entry as it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini_file.h"
#include "settings_rules.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

size_t Utf8Chars(const std::string& text) {
  size_t chars = 0;
  for (char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return chars;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxSettingsFileBytes) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);

  const RecentFileNames files = RecentFilesFromIni(text);
  for (const std::string& f : files)
    Check(Utf8Chars(f) <= static_cast<size_t>(kRecentFileMaxChars) && f.find('\n') == std::string::npos);

  const std::string written = RecentFilesIntoIni(text, files);
  Check(RecentFilesFromIni(written) == files);
  Check(RecentFilesIntoIni(written, files) == written);

  // Other names, in another order, go in and come back.
  const RecentFileNames turned = {files[3], files[0], files[1], files[2]};
  Check(RecentFilesFromIni(RecentFilesIntoIni(text, turned)) == turned);

  // A settings key set beside them leaves the list as it was.
  const std::string value = ReadIniValue(text, "General", "DefaultFile", "defkestal.mem");
  const std::string withKey = WriteIniValue(written, "General", "DefaultFile", value);
  Check(ReadIniValue(withKey, "General", "DefaultFile") == value);
  Check(RecentFilesFromIni(withKey) == files);
  return 0;
}
