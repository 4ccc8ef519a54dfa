#include "alignmath.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "buildconfig.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"
#include "rxbank.h"

int StepOfByte(int byte) { return std::clamp(byte & 0xFF, 0, kModBalMaxStep); }

std::string DecibelText(int step) {
  char text[16];
  std::snprintf(text, sizeof text, "%2.1f", (12 - step) * 0.5);
  return text;
}

int StepOfDecibels(double decibels) {
  const double x = std::clamp(decibels, -6.0, 6.0);
  return static_cast<int>(std::floor(12.5 - 2 * x));
}

std::optional<double> ParseDecibels(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const size_t last = text.find_last_not_of(' ');
  const std::string trimmed = text.substr(first, last - first + 1);
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

int TrackedBalance(int m, int modRef, int balRef) {
  if (modRef <= 0) return balRef;
  const double tracked = std::trunc(static_cast<double>(m) * balRef / modRef);
  return static_cast<int>(std::clamp(tracked, 0.0, 255.0));
}

namespace {

constexpr uint32_t kFirstCbHz = 476400000;
constexpr uint32_t kSecondCbHz = 476412500;
constexpr uint32_t kCbSpacingHz = 25000;
constexpr int kLastCbChannel = 80;
constexpr int kLastRxChannel = 180;
constexpr int kBankSize = 20;

std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

ChannelView ViewOfChannel(int n, const ChannelView& before, const EEPROM& image,
                          const TradioInfo& info, const BuildConfig& build) {
  ChannelView view = before;
  if (n >= 1 && n <= kLastCbChannel) {
    view.bank = "CB";
    view.number = TwoDigits(n);
  } else {
    int k = n - kLastCbChannel;
    char letter = 'A';
    while (k > kBankSize) {
      k -= kBankSize;
      ++letter;
    }
    view.bank = std::string("RX-") + letter;
    view.number = TwoDigits(k + kLastCbChannel);
  }
  if (n >= 1 && n <= 40) {
    view.frequencyHz = kFirstCbHz + kCbSpacingHz * static_cast<uint32_t>(n);
    view.text = "CB-" + TwoDigits(n);
  } else if (n >= 41 && n <= kLastCbChannel) {
    view.frequencyHz = kSecondCbHz + kCbSpacingHz * static_cast<uint32_t>(n - 40);
    view.text = "CB-" + TwoDigits(n);
  } else if (n > kLastCbChannel && n <= kLastRxChannel) {
    const int base = info.GetParamAddress(kParamRxOnlyChannels);
    const int record = (n - 81) + kBankSize * CurrentRxBank(image, info, build);
    const int a = base + kRxChannelRecordSize * record;
    if (base >= 0 && a + kRxChannelRecordSize <= image.GetLength()) {
      // An erased record shows its raw word too: 0xFFFF is 819.1875 MHz.
      view.frequencyHz = static_cast<uint32_t>(image.GetWord(a)) * kRxChannelStepHz;
      view.text = image.GetAlphaTag(a + 2);
    }
  }
  return view;
}

std::string MegahertzText(uint32_t hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%03u.%04u", hz / 1000000, (hz % 1000000) / 100);
  return text;
}

namespace {

// Digits only reach the boxes, but a pasted or overlong text may still not
// be a whole number.
std::optional<long long> WholeNumber(const std::string& text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

TrimEntry Entry(const std::string& text, long long low, long long high) {
  TrimEntry entry;
  if (text.empty()) {
    entry = {true, 0, "0"};
  } else if (const auto value = WholeNumber(text)) {
    entry.writes = true;
    entry.value = static_cast<int>(std::clamp(*value, low, high));
    entry.text = entry.value == *value ? text : std::to_string(entry.value);
  } else {
    entry.text = text;
  }
  return entry;
}

}  // namespace

TrimEntry ParseTrimEntry(const std::string& text) { return Entry(text, LLONG_MIN, 255); }

TrimEntry ParseMicGainEntry(const std::string& text) {
  return Entry(text, kMicGainLow, kMicGainHigh);
}

int MicGainOfByte(int byte) {
  const int v = SignedByte(byte);
  return v < kMicGainLow || v > kMicGainHigh ? 0 : v;
}

int SqlSensitivityOfByte(int byte) {
  const int v = SignedByte(byte);
  return v < -80 || v > 80 ? 0 : v;
}

int AverageOf(const std::vector<int>& samples, int count) {
  long long sum = 0;
  for (int s : samples) sum += s;
  return static_cast<int>(sum / count);  // C++ division truncates toward zero
}

int AdjustedRxOffset(int oldOffset, int averageHz) {
  return std::clamp(oldOffset - averageHz / kHzPerOffsetStep, -128, 127);
}

int SMeterAverage(int sum) { return sum / kSMeterReads; }
