#include "eng.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <limits>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int FreqStepHz(int index) {
  static constexpr int kSizes[] = {12500, 25000, 100000, 1000000, 10000000};
  if (index < 0 || index >= static_cast<int>(std::size(kSizes))) return 0;
  return kSizes[index];
}

std::string FrequencyText(int64_t hz) {
  const bool negative = hz < 0;
  const uint64_t magnitude = negative ? static_cast<uint64_t>(-hz) : static_cast<uint64_t>(hz);
  char text[40];
  std::snprintf(text, sizeof text, "%s%03llu.%06llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 1000000),
                static_cast<unsigned long long>(magnitude % 1000000));
  return text;
}

std::optional<int> PllSteps(int64_t hz) {
  if (hz < 0 || hz > kPllMaxHz) return std::nullopt;
  return static_cast<int>(hz / kPllStepHz);
}

std::optional<int> StrictInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = HexDigit(text[i]);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * base + d;
    // Hexadecimal may name the full 32-bit pattern; decimal must fit the sign.
    if (value > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{0x80000000})) return std::nullopt;
  }
  if (base == 16 && value > std::numeric_limits<int32_t>::max())
    value = static_cast<int32_t>(static_cast<uint32_t>(value));
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
    return std::nullopt;
  return static_cast<int>(value);
}

std::string HexFieldText(const std::string& text) { return "0x" + text; }

std::string NotIntegerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

int AutoAlignFlags(const std::array<bool, 4>& checked) {
  int flags = 0;
  for (int i = 0; i < 4; ++i)
    if (checked[static_cast<size_t>(i)]) flags |= 1 << i;
  return flags;
}

int IconsWord(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  int value = 0;
  for (int n = 0; n < 4 && i < text.size() && HexDigit(text[i]) >= 0; ++n, ++i)
    value = value * 16 + HexDigit(text[i]);
  return value;
}

std::optional<std::vector<uint8_t>> ParseRawRequest(const std::string& text) {
  const int count = std::min(static_cast<int>((text.size() + 1) / 3), kRawRequestMaxBytes);
  if (count < 1) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (int k = 0; k < count; ++k) {
    const size_t at = static_cast<size_t>(3 * k);
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  return bytes;
}

std::string RadioIdText(const RadioId& id) {
  std::string text;
  for (uint8_t b : id) text += HexByte(b);
  return text;
}

std::optional<RadioId> ParseRadioId(const std::string& text) {
  if (text.size() != 16) return std::nullopt;
  RadioId id{};
  for (size_t k = 0; k < id.size(); ++k) {
    const int high = HexDigit(text[2 * k]);
    const int low = HexDigit(text[2 * k + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    id[k] = static_cast<uint8_t>(high << 4 | low);
  }
  return id;
}

std::vector<uint8_t> ArrayTestPattern() {
  std::vector<uint8_t> bytes(kArrayWriteBytes);
  for (int i = 0; i < kArrayWriteBytes; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  return bytes;
}

std::string ArrayReadText(const std::vector<uint8_t>& bytes) {
  std::string text = "Got " + std::to_string(bytes.size()) + " bytes\n";
  for (uint8_t b : bytes) text += " " + HexByte(b);
  return text;
}

std::string ArrayWriteText(int count) { return "Wrote " + std::to_string(count) + " bytes\n"; }

std::string SamplesLine(const std::vector<int16_t>& samples) {
  std::string line;
  for (size_t i = 0; i < samples.size(); ++i)
    line += std::to_string(i) + ":" + std::to_string(samples[i]) + " ";
  return line;
}

std::string HexByte(int value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}
