#pragma once
// The ten selcall memories as the "Selcall Memory" grid shows them, read from
// and written to the memory image. Standard library only.

#include <array>
#include <string>

class EEPROM;
class TradioInfo;

inline constexpr int kSelcallMemoryCount = 10;
inline constexpr int kSelcallMemoryDigits = 8;
inline constexpr int kSelcallTagLength = 5;

struct SelcallMemory {
  std::array<int, kSelcallMemoryDigits> digits{};  // 0..15, the first sent first
  std::string alphaTag;
};
using SelcallMemories = std::array<SelcallMemory, kSelcallMemoryCount>;

// The number of digits the grid shows, kept to 0..8.
int ClampIdentLength(int n);

SelcallMemories LoadSelcallMemories(const EEPROM& image, const TradioInfo& info);
// Writes all ten memories; nothing when the model has no selcall memories.
void StoreSelcallMemories(EEPROM& image, const TradioInfo& info, const SelcallMemories& memories);
// Every memory's digits become 0 and its alpha tag empty.
void ClearSelcallMemories(SelcallMemories& memories);

// The last n digits, each as "0".."9" or "A".."F".
std::string ShownDigits(const SelcallMemory& memory, int n);
// The edited selcall cell on OK: its first k characters (at most 8) replace
// the memory's last k digits; a character that is not a hexadecimal digit,
// the blank included, is digit 0. The first 8 - k digits keep their values,
// so an empty cell changes nothing.
void ApplyDigitText(SelcallMemory& memory, const std::string& cellText);
// The edited alpha-tag cell on OK: its first 5 characters.
std::string TagFromCellText(const std::string& cellText);

// The in-place editors are right-aligned masks of `width` positions: a text
// that is too long keeps its last characters, a shorter one is preceded by
// blanks.
std::string RightAlignedInMask(const std::string& text, int width);
// What an in-place editor leaves in its cell: the positions as typed, blanks
// for empty ones, and nothing at all when every position is empty.
std::string CellTextFromMask(const std::string& positions);
// A right-aligned mask's entry as the radio keeps it: the empty positions
// left after the last typed character move in front of it, so a short entry
// ends in the last position ("9    " becomes "    9"). Blanks typed between
// characters stay where they are.
std::string RightAlignedEntry(const std::string& positions);

// Input rules of the two edited columns: "a".."z" become capitals; the
// blank passes; 0 = refused. Selcall: digits, "A" and "F". Alpha tag:
// digits, capitals, "-", "*" and "_".
char SelcallDigitKey(char c);
char SelcallTagKey(char c);
