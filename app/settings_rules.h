#pragma once
// The rules the stored settings obey: bounds, defaults and the "/a"
// switch. Plain C++ so they can be checked without any settings store.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "portlist.h"  // kBaudRates

struct BuildConfig;

inline constexpr int kDefaultComPort = 1;
inline constexpr int kMaxComPort = 256;
inline constexpr int kRecentFileCount = 4;
inline constexpr int kRecentFileMaxChars = 199;

// The recent-files INI and the settings store are a few lines; a file far
// larger is no settings file and is left alone.
inline constexpr size_t kMaxSettingsFileBytes = 256 * 1024;

using RecentFileNames = std::array<std::string, kRecentFileCount>;
// "File0".."File3" of [RecentMemFiles] in INI text, each cut to 199
// characters; a missing one is empty.
RecentFileNames RecentFilesFromIni(const std::string& text);
// The INI text with the four entries set and every other line kept.
std::string RecentFilesIntoIni(const std::string& text, const RecentFileNames& files);

// A port outside 1..256 becomes port 1.
int BoundComPort(int stored);
// A rate outside 9600..57600 (an unset one counts as 0) becomes 9600; a rate
// inside the range is kept even when it is not one of kBaudRates.
int BoundMaxBdRate(int stored);
// An empty default file becomes the build's "def<model>.mem", except in the
// all-models build, which has no default file.
std::string BoundDefaultFile(const std::string& stored, const BuildConfig& build);
// Advanced mode: the first argument (and only the first), in any case, is "/a".
bool IsAdvancedSwitch(const std::vector<std::string>& arguments);

// What the programmer keeps between runs.
struct StoredSettings {
  int comPort = kDefaultComPort;
  int maxBdRate = kBaudRates.front();
  std::string defaultFile;
};
