#include "selcallidents.h"

#include <algorithm>

#include "eeprom.h"
#include "radioinfo.h"

namespace {

constexpr int kRecordSize = 8;
constexpr int kTagOffset = 4;

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

char Capital(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int MemoryAddress(const TradioInfo& info) { return info.GetParamAddress(kParamSelcallMem); }

}  // namespace

int ClampIdentLength(int n) { return std::clamp(n, 0, kSelcallMemoryDigits); }

SelcallMemories LoadSelcallMemories(const EEPROM& image, const TradioInfo& info) {
  SelcallMemories memories;
  const int base = MemoryAddress(info);
  if (base < 0) return memories;
  for (int i = 0; i < kSelcallMemoryCount; ++i) {
    const int a = base + kRecordSize * i;
    image.GetNibbles(memories[i].digits.data(), a, kSelcallMemoryDigits);
    memories[i].alphaTag = image.GetAlphaTag(a + kTagOffset);
  }
  return memories;
}

void StoreSelcallMemories(EEPROM& image, const TradioInfo& info, const SelcallMemories& memories) {
  const int base = MemoryAddress(info);
  if (base < 0) return;
  for (int i = 0; i < kSelcallMemoryCount; ++i) {
    const int a = base + kRecordSize * i;
    image.SetNibbles(a, memories[i].digits.data(), kSelcallMemoryDigits);
    image.SetAlphaTag(a + kTagOffset, memories[i].alphaTag.c_str());
  }
}

void ClearSelcallMemories(SelcallMemories& memories) {
  for (SelcallMemory& m : memories) m = SelcallMemory{};
}

std::string ShownDigits(const SelcallMemory& memory, int n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = kSelcallMemoryDigits - ClampIdentLength(n); i < kSelcallMemoryDigits; ++i) {
    text += kDigits[memory.digits[i] & 0x0F];
  }
  return text;
}

void ApplyDigitText(SelcallMemory& memory, const std::string& cellText) {
  const std::string taken = cellText.substr(0, kSelcallMemoryDigits);
  const int first = kSelcallMemoryDigits - static_cast<int>(taken.size());
  for (size_t j = 0; j < taken.size(); ++j) memory.digits[first + j] = DigitValue(taken[j]);
}

std::string TagFromCellText(const std::string& cellText) {
  return cellText.substr(0, kSelcallTagLength);
}

std::string RightAlignedInMask(const std::string& text, int width) {
  if (width <= 0) return std::string();
  const size_t w = static_cast<size_t>(width);
  if (text.size() >= w) return text.substr(text.size() - w);
  return std::string(w - text.size(), ' ') + text;
}

std::string CellTextFromMask(const std::string& positions) {
  const bool empty = positions.find_first_not_of(' ') == std::string::npos;
  return empty ? std::string() : positions;
}

std::string RightAlignedEntry(const std::string& positions) {
  const size_t last = positions.find_last_not_of(' ');
  const std::string typed = last == std::string::npos ? std::string() : positions.substr(0, last + 1);
  return RightAlignedInMask(typed, static_cast<int>(positions.size()));
}

char SelcallDigitKey(char c) {
  c = Capital(c);
  const bool accepted = (c >= '0' && c <= '9') || c == 'A' || c == 'F' || c == ' ';
  return accepted ? c : 0;
}

char SelcallTagKey(char c) {
  c = Capital(c);
  const bool accepted = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '-' ||
                        c == '*' || c == '_' || c == ' ';
  return accepted ? c : 0;
}
