#pragma once
// The EEPROM editor's grid without the widgets: where each address sits,
// the parameter names beside the data, and the data cells' text in each
// base and size, both ways. The window only copies these texts in and out.

#include <cstdint>
#include <string>
#include <vector>

class EEbuffer;
class TradioInfo;

enum EeBase : int { kEeBaseBin = 0, kEeBaseDec = 1, kEeBaseHex = 2 };
enum EeDataSize : int { kEeData8Bit = 0, kEeData16Bit = 1 };

// Columns; rows count the header as row 0, so row r >= 1 holds the word
// at address 2 (r - 1).
inline constexpr int kEeAddrColumn = 0;
inline constexpr int kEeNameHiColumn = 1;
inline constexpr int kEeNameLoColumn = 2;
inline constexpr int kEeFirstDataColumn = 3;

inline int EeRowCount(int length) { return 1 + length / 2; }
inline int EeColumnCount(int size) { return size == kEeData16Bit ? 4 : 5; }
// Data cells: one per byte (8-bit) or one per word (16-bit).
inline int EeCellCount(int length, int size) {
  return size == kEeData16Bit ? length / 2 : length;
}

struct EeCell {
  int row = 0;
  int column = 0;
};
// Where data cell `index` sits.
EeCell EeCellOf(int index, int size);
// The address a cell reads or writes; -1 for the header row and the
// columns left of the data.
int EeCellAddress(int row, int column, int size);

// The n low bits of value, most significant first; n is clamped to at
// most 32, and n <= 0 gives the empty text.
std::string BinaryText(uint32_t value, int digits);
// A cell's text: 8 or 16 binary digits, decimal, or 2 or 4 upper-case
// hexadecimal digits.
std::string EeCellText(int value, int base, int size);

// A cell's value. Binary: at most `digits` characters, a "1" counts one,
// anything else zero. Decimal: 0 when the text is not a decimal integer.
// Hexadecimal: false when the text is not a hexadecimal number (empty
// included), the one conversion that can fail.
int BinaryValue(const std::string& text, int digits);
int DecimalValue(const std::string& text);
bool HexValue(const std::string& text, int& value);
bool EeCellValue(const std::string& text, int base, int size, int& value);

// Every data cell's text, in cell order.
std::vector<std::string> EeShowData(const EEbuffer& image, int base, int size);
// Stores every cell's value into `image` (bytes keep their low 8 bits,
// words their low 16). Returns -1, or the index of the first cell that
// cannot be converted: then nothing is stored.
int EeTakeBackData(const std::vector<std::string>& texts, int base, int size, EEbuffer& image);
// The message for a cell that is not hexadecimal.
std::string EeConversionErrorText(const std::string& text, int address);
inline constexpr const char* kEeConversionErrorCaption = "Error";

// The name of the parameter at each address of an image of `length`
// bytes (empty where there is none); a later parameter at the same
// address wins.
std::vector<std::string> EeVariableNames(const TradioInfo& info, int length);
