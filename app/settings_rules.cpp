#include "settings_rules.h"

#include <cctype>

#include "buildconfig.h"

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
