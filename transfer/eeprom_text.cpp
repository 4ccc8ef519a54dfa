#include "eeprom_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "eebuff.h"
#include "params.h"
#include "radioinfo.h"

namespace {

int Digits(int size) { return size == kEeData16Bit ? 16 : 8; }

std::string Trimmed(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

}  // namespace

EeCell EeCellOf(int index, int size) {
  if (size == kEeData16Bit) return {1 + index, kEeFirstDataColumn};
  return {1 + index / 2, kEeFirstDataColumn + index % 2};
}

int EeCellAddress(int row, int column, int size) {
  if (row < 1 || column < kEeFirstDataColumn || column >= EeColumnCount(size)) return -1;
  const int even = 2 * (row - 1);
  return size == kEeData16Bit ? even : even + (column - kEeFirstDataColumn);
}

std::string BinaryText(uint32_t value, int digits) {
  const int n = std::min(digits, 32);
  if (n <= 0) return std::string();
  std::string text(static_cast<size_t>(n), '0');
  for (int i = 0; i < n; ++i)
    if (value >> (n - 1 - i) & 1u) text[static_cast<size_t>(i)] = '1';
  return text;
}

std::string EeCellText(int value, int base, int size) {
  if (base == kEeBaseBin) return BinaryText(static_cast<uint32_t>(value), Digits(size));
  if (base == kEeBaseDec) return std::to_string(value);
  char text[12];
  std::snprintf(text, sizeof text, size == kEeData16Bit ? "%04X" : "%02X",
                static_cast<unsigned>(value));
  return text;
}

int BinaryValue(const std::string& text, int digits) {
  uint32_t value = 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(std::max(digits, 0)));
  for (size_t i = 0; i < n; ++i) value = value << 1 | (text[i] == '1' ? 1u : 0u);
  return static_cast<int>(value);
}

int DecimalValue(const std::string& text) {
  const std::string t = Trimmed(text);
  size_t i = 0;
  const bool negative = !t.empty() && t[0] == '-';
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) i = 1;
  if (i == t.size()) return 0;
  long long value = 0;
  for (; i < t.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(t[i]))) return 0;
    value = value * 10 + (t[i] - '0');
    if (value > 0x7FFFFFFFLL) return 0;  // not an integer the cell can hold
  }
  return static_cast<int>(negative ? -value : value);
}

bool HexValue(const std::string& text, int& value) {
  const std::string t = Trimmed(text);
  if (t.empty() || t.size() > 8) return false;
  uint32_t v = 0;
  for (char c : t) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
    v = v << 4 | static_cast<uint32_t>(digit);
  }
  value = static_cast<int>(v);
  return true;
}

bool EeCellValue(const std::string& text, int base, int size, int& value) {
  if (base == kEeBaseBin) {
    value = BinaryValue(text, Digits(size));
    return true;
  }
  if (base == kEeBaseDec) {
    value = DecimalValue(text);
    return true;
  }
  return HexValue(text, value);
}

std::vector<std::string> EeShowData(const EEbuffer& image, int base, int size) {
  const int count = EeCellCount(image.GetLength(), size);
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int value = size == kEeData16Bit ? image.GetWord(2 * i) : image.GetByte(i);
    texts.push_back(EeCellText(value, base, size));
  }
  return texts;
}

int EeTakeBackData(const std::vector<std::string>& texts, int base, int size, EEbuffer& image) {
  const int count =
      std::min(EeCellCount(image.GetLength(), size), static_cast<int>(texts.size()));
  std::vector<int> values(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    if (!EeCellValue(texts[static_cast<size_t>(i)], base, size, values[static_cast<size_t>(i)]))
      return i;
  for (int i = 0; i < count; ++i) {
    if (size == kEeData16Bit)
      image.SetWord(2 * i, values[static_cast<size_t>(i)] & 0xFFFF);
    else
      image.SetByte(i, values[static_cast<size_t>(i)] & 0xFF);
  }
  return -1;
}

std::string EeConversionErrorText(const std::string& text, int address) {
  return "'" + text + "' is not a valid hexadecimal value (address " + std::to_string(address) +
         ").";
}

std::vector<std::string> EeVariableNames(const TradioInfo& info, int length) {
  std::vector<std::string> names(static_cast<size_t>(std::max(length, 0)));
  for (int index = 0; index < kParamCount; ++index) {
    const int address = info.GetParamAddress(index);
    const char* name = ParamName(index);
    if (address >= 0 && address < length && name) names[static_cast<size_t>(address)] = name;
  }
  return names;
}
