// The EEPROM editor's grid texts: where each address sits, the cell text
// in every base and size both ways, the one conversion that can fail, and
// the parameter names beside the data.
#include <gtest/gtest.h>

#include "eeprom.h"
#include "eeprom_text.h"
#include "radioinfo.h"
#include "transfer_rig.h"

namespace {

struct AddressCase {
  int row, column, size, address;
};

TEST(EepromGrid, CellAddressInEachSize) {
  const AddressCase cases[] = {
      {1, 3, kEeData8Bit, 0},    {1, 4, kEeData8Bit, 1},    {16, 3, kEeData8Bit, 30},
      {16, 4, kEeData8Bit, 31},  {1024, 4, kEeData8Bit, 2047},
      {1, 3, kEeData16Bit, 0},   {2, 3, kEeData16Bit, 2},   {1024, 3, kEeData16Bit, 2046},
      // Not data: the header row, the address and name columns, column 4 of words.
      {0, 3, kEeData8Bit, -1},   {1, 2, kEeData8Bit, -1},   {1, 0, kEeData16Bit, -1},
      {1, 4, kEeData16Bit, -1},
  };
  for (const AddressCase& c : cases)
    EXPECT_EQ(EeCellAddress(c.row, c.column, c.size), c.address)
        << "row " << c.row << " column " << c.column << " size " << c.size;
  EXPECT_EQ(EeRowCount(kImageSize), 1025);
  for (int size : {kEeData8Bit, kEeData16Bit})
    for (int i = 0; i < EeCellCount(kImageSize, size); ++i) {
      const EeCell cell = EeCellOf(i, size);
      ASSERT_EQ(EeCellAddress(cell.row, cell.column, size), size == kEeData16Bit ? 2 * i : i);
    }
}

struct TextCase {
  int value, base, size;
  const char* text;
};

TEST(EepromGrid, CellTextInEachBaseAndSize) {
  const TextCase cases[] = {
      {5, kEeBaseBin, kEeData8Bit, "00000101"},
      {0xA5C3, kEeBaseBin, kEeData16Bit, "1010010111000011"},
      {255, kEeBaseDec, kEeData8Bit, "255"},
      {0x5A02, kEeBaseDec, kEeData16Bit, "23042"},
      {44, kEeBaseHex, kEeData8Bit, "2C"},
      {0x0A, kEeBaseHex, kEeData8Bit, "0A"},
      {0x5A02, kEeBaseHex, kEeData16Bit, "5A02"},
      {0x00FF, kEeBaseHex, kEeData16Bit, "00FF"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(EeCellText(c.value, c.base, c.size), c.text);
  EXPECT_EQ(BinaryText(0xFFFFFFFFu, 40), std::string(32, '1'));
  EXPECT_EQ(BinaryText(7, 0), "");
  EXPECT_EQ(BinaryText(7, -3), "");
}

struct ValueCase {
  const char* text;
  int base, size;
  bool ok;
  int value;
};

TEST(EepromGrid, CellValueInEachBaseAndSize) {
  const ValueCase cases[] = {
      {"102", kEeBaseBin, kEeData8Bit, true, 4},  // only "1" is a one
      {"111111111", kEeBaseBin, kEeData8Bit, true, 255},  // eight characters count
      {"1111111111111111111", kEeBaseBin, kEeData16Bit, true, 0xFFFF},
      {"", kEeBaseBin, kEeData8Bit, true, 0},
      {"300", kEeBaseDec, kEeData8Bit, true, 300},
      {"abc", kEeBaseDec, kEeData8Bit, true, 0},
      {"", kEeBaseDec, kEeData16Bit, true, 0},
      {"99999999999", kEeBaseDec, kEeData16Bit, true, 0},
      {"2c", kEeBaseHex, kEeData8Bit, true, 44},
      {"5A02", kEeBaseHex, kEeData16Bit, true, 0x5A02},
      {"", kEeBaseHex, kEeData8Bit, false, 0},
      {"G1", kEeBaseHex, kEeData8Bit, false, 0},
      {" ", kEeBaseHex, kEeData16Bit, false, 0},
  };
  for (const ValueCase& c : cases) {
    int value = -1;
    EXPECT_EQ(EeCellValue(c.text, c.base, c.size, value), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(EepromGrid, EveryBaseAndSizeGivesTheImageBackUnchanged) {
  EEPROM image;
  const std::vector<uint8_t> bytes = RandomBytes(7);
  image.WriteBlock(0, bytes.data(), kImageSize);
  for (int base : {kEeBaseBin, kEeBaseDec, kEeBaseHex})
    for (int size : {kEeData8Bit, kEeData16Bit}) {
      EEPROM back;
      EXPECT_EQ(EeTakeBackData(EeShowData(image, base, size), base, size, back), -1);
      EXPECT_EQ(std::vector<uint8_t>(back.Data(), back.Data() + kImageSize), bytes)
          << "base " << base << " size " << size;
    }
}

TEST(EepromGrid, ADecimalByteOf300IsKeptAs44) {
  EEPROM image;
  std::vector<std::string> texts = EeShowData(image, kEeBaseDec, kEeData8Bit);
  texts[1] = "300";
  ASSERT_EQ(EeTakeBackData(texts, kEeBaseDec, kEeData8Bit, image), -1);
  EXPECT_EQ(image.GetByte(1), 44);
  EXPECT_EQ(EeShowData(image, kEeBaseHex, kEeData8Bit)[1], "2C");
}

TEST(EepromGrid, ABadHexadecimalCellStoresNothing) {
  EEPROM image;
  const std::vector<uint8_t> before(image.Data(), image.Data() + kImageSize);
  std::vector<std::string> texts = EeShowData(image, kEeBaseHex, kEeData16Bit);
  texts[0] = "1234";
  texts[5] = "";
  EXPECT_EQ(EeTakeBackData(texts, kEeBaseHex, kEeData16Bit, image), 5);
  EXPECT_EQ(std::vector<uint8_t>(image.Data(), image.Data() + kImageSize), before);
  EXPECT_EQ(EeConversionErrorText("", 10), "'' is not a valid hexadecimal value (address 10).");
}

TEST(EepromGrid, WordsKeepTheirLow16Bits) {
  EEPROM image;
  std::vector<std::string> texts = EeShowData(image, kEeBaseDec, kEeData16Bit);
  texts[3] = "65537";
  ASSERT_EQ(EeTakeBackData(texts, kEeBaseDec, kEeData16Bit, image), -1);
  EXPECT_EQ(image.GetByte(6), 0);
  EXPECT_EQ(image.GetByte(7), 1);
}

TEST(EepromGrid, KestalNamesSitAtTheirAddresses) {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  const std::vector<std::string> names = EeVariableNames(info, kImageSize);
  ASSERT_EQ(names.size(), size_t{kImageSize});
  EXPECT_EQ(names[0], "Product ID");
  EXPECT_EQ(names[30], "Status");
  EXPECT_EQ(names[31], "Last Channel");
  // A short image names only what it holds.
  EXPECT_EQ(EeVariableNames(info, 16).size(), 16u);
}

}  // namespace
