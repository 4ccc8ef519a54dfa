// The ten selcall memories on image bytes: the digits shown for an ident
// length, the hidden leading digits kept on store, Clear All, the in-place
// masks and the input rules of the two edited columns.
#include <gtest/gtest.h>

#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "selcallidents.h"

namespace {

struct Radio {
  explicit Radio(const char* family = "Merlo") {
    info.SelectModel(BuildConfig::ForFamily(family, false).productId);
    for (int a = 2; a < kImageSize; ++a) image.SetByte(a, (a * 53 + 5) & 0xFF);
    base = info.GetParamAddress("Selcall Mem");
  }
  void SetDigits(int memory, std::vector<int> digits) {
    image.SetNibbles(base + 8 * memory, digits.data(), 8);
  }
  std::vector<int> Bytes(int memory) const {
    std::vector<int> bytes;
    for (int i = 0; i < 8; ++i) bytes.push_back(image.GetByte(base + 8 * memory + i));
    return bytes;
  }
  std::vector<uint8_t> Image() const { return {image.Data(), image.Data() + kImageSize}; }
  TradioInfo info;
  EEPROM image;
  int base = -1;
};

struct DigitCase {
  std::vector<int> stored;
  int n;
  const char* shown;
  const char* cell;  // the cell on OK; null = as shown
  std::vector<int> written;
};

class SelcallMemoryDigits : public ::testing::TestWithParam<DigitCase> {};

TEST_P(SelcallMemoryDigits, ShowTheLastNAndKeepTheLeadingOnes) {
  const DigitCase& c = GetParam();
  Radio r;
  r.SetDigits(3, c.stored);
  SelcallMemories memories = LoadSelcallMemories(r.image, r.info);
  const std::string shown = ShownDigits(memories[3], c.n);
  EXPECT_EQ(shown, c.shown);
  ApplyDigitText(memories[3], c.cell ? c.cell : shown);
  StoreSelcallMemories(r.image, r.info, memories);
  std::vector<int> digits(8);
  r.image.GetNibbles(digits.data(), r.base + 24, 8);
  EXPECT_EQ(digits, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SelcallMemoryDigits,
    ::testing::Values(
        DigitCase{{0, 0, 0, 1, 2, 3, 4, 5}, 5, "12345", nullptr, {0, 0, 0, 1, 2, 3, 4, 5}},
        DigitCase{{9, 9, 9, 1, 2, 3, 4, 5}, 5, "12345", nullptr, {9, 9, 9, 1, 2, 3, 4, 5}},
        // An emptied cell leaves the memory's digits alone.
        DigitCase{{9, 9, 9, 1, 2, 3, 4, 5}, 5, "12345", "", {9, 9, 9, 1, 2, 3, 4, 5}},
        // Blanks and characters that are not digits are digit 0.
        DigitCase{{9, 9, 9, 1, 2, 3, 4, 5}, 5, "12345", "A F*1", {9, 9, 9, 10, 0, 15, 0, 1}},
        DigitCase{{1, 2, 3, 4, 5, 6, 14, 15}, 5, "456EF", nullptr, {1, 2, 3, 4, 5, 6, 14, 15}},
        // A cell longer than 8 gives its first 8.
        DigitCase{{9, 9, 9, 9, 9, 9, 9, 9}, 8, "99999999", "123456789", {1, 2, 3, 4, 5, 6, 7, 8}},
        DigitCase{{1, 2, 3, 4, 5, 6, 7, 8}, 12, "12345678", nullptr, {1, 2, 3, 4, 5, 6, 7, 8}},
        DigitCase{{1, 2, 3, 4, 5, 6, 7, 8}, -3, "", nullptr, {1, 2, 3, 4, 5, 6, 7, 8}}));

TEST(SelcallMemories, UnchangedStoreWritesTheSameBytesOnEverySelcallModel) {
  for (const char* family : {"Merlo", "Pinto", "Dravo"}) {
    Radio r(family);
    // Alpha tags in their stored form; the digit bytes may hold anything.
    const char* tags[] = {"ALPHA", "", "A", "B-2", "*_*", "     ", "12345", "Z", "_____", "Q Q"};
    for (int i = 0; i < 10; ++i) r.image.SetAlphaTag(r.base + 8 * i + 4, tags[i]);
    const std::vector<uint8_t> before = r.Image();
    SelcallMemories memories = LoadSelcallMemories(r.image, r.info);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(memories[i].alphaTag, tags[i]) << family << i;
    for (SelcallMemory& m : memories) {
      ApplyDigitText(m, ShownDigits(m, 5));
      m.alphaTag = TagFromCellText(m.alphaTag);
    }
    StoreSelcallMemories(r.image, r.info, memories);
    EXPECT_EQ(r.Image(), before) << family;
  }
}

TEST(SelcallMemories, ClearAllWritesZeroDigitsAndEmptyTagsIntoAllTen) {
  Radio r;
  SelcallMemories memories = LoadSelcallMemories(r.image, r.info);
  ClearSelcallMemories(memories);
  StoreSelcallMemories(r.image, r.info, memories);
  for (int i = 0; i < 10; ++i) {
    // Five end codes: 0x20820820.
    EXPECT_EQ(r.Bytes(i), (std::vector<int>{0, 0, 0, 0, 0x20, 0x82, 0x08, 0x20})) << i;
    EXPECT_EQ(r.image.GetAlphaTag(r.base + 8 * i + 4), "");
  }
  EXPECT_EQ(ShownDigits(memories[0], 5), "00000");
}

TEST(SelcallMemories, OnlyTheTenRecordsAreWritten) {
  Radio r;
  const std::vector<uint8_t> before = r.Image();
  SelcallMemories memories;
  ClearSelcallMemories(memories);
  StoreSelcallMemories(r.image, r.info, memories);
  std::vector<uint8_t> after = r.Image();
  for (int a = 0; a < kImageSize; ++a) {
    if (a < r.base || a >= r.base + 80) {
      EXPECT_EQ(after[a], before[a]) << a;
    }
  }
}

TEST(SelcallMemories, AlphaTagIsTheCellsFirstFiveCharacters) {
  EXPECT_EQ(TagFromCellText("ABCDEFG"), "ABCDE");
  EXPECT_EQ(TagFromCellText("  AB"), "  AB");
  EXPECT_EQ(TagFromCellText(""), "");
}

TEST(SelcallMemories, IdentLengthIsKeptToZeroToEight) {
  EXPECT_EQ(ClampIdentLength(12), 8);
  EXPECT_EQ(ClampIdentLength(-3), 0);
  EXPECT_EQ(ClampIdentLength(5), 5);
}

TEST(SelcallMemoryMask, RightAlignedPositionsAndAnEmptyEditor) {
  EXPECT_EQ(RightAlignedInMask("AB", 5), "   AB");
  EXPECT_EQ(RightAlignedInMask("12345678", 5), "45678");
  EXPECT_EQ(RightAlignedInMask("12345", 5), "12345");
  EXPECT_EQ(RightAlignedInMask("123", 0), "");
  EXPECT_EQ(CellTextFromMask("     "), "");
  EXPECT_EQ(CellTextFromMask(""), "");
  EXPECT_EQ(CellTextFromMask("12   "), "12   ");
  EXPECT_EQ(CellTextFromMask("  1 2"), "  1 2");
}

TEST(SelcallMemoryMask, AShortEntryEndsInTheLastPosition) {
  EXPECT_EQ(RightAlignedEntry("9    "), "    9");
  EXPECT_EQ(RightAlignedEntry("AB*1 "), " AB*1");
  EXPECT_EQ(RightAlignedEntry("12345"), "12345");
  EXPECT_EQ(RightAlignedEntry("4 2  "), "  4 2");  // a blank typed between stays
  EXPECT_EQ(RightAlignedEntry("     "), "     ");
  EXPECT_EQ(RightAlignedEntry(""), "");
}

// What the in-place editors leave (every position, blanks where nothing is
// typed) becomes, after OK, the bytes of memory 4.
struct EntryCase {
  const char* selcallPositions;
  const char* tagPositions;
  std::vector<int> bytes;  // the four digit bytes
  const char* tag;
};

class SelcallMemoryEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SelcallMemoryEntry, IsStoredRightAligned) {
  const EntryCase& c = GetParam();
  Radio r;
  r.SetDigits(4, {9, 9, 9, 1, 2, 3, 4, 5});
  r.image.SetAlphaTag(r.base + 8 * 4 + 4, "VAN-7");
  SelcallMemories memories = LoadSelcallMemories(r.image, r.info);
  ApplyDigitText(memories[4], CellTextFromMask(RightAlignedEntry(c.selcallPositions)));
  memories[4].alphaTag = TagFromCellText(CellTextFromMask(RightAlignedEntry(c.tagPositions)));
  StoreSelcallMemories(r.image, r.info, memories);
  const std::vector<int> bytes = r.Bytes(4);
  EXPECT_EQ(std::vector<int>(bytes.begin(), bytes.begin() + 4), c.bytes);
  EXPECT_EQ(r.image.GetAlphaTag(r.base + 8 * 4 + 4), c.tag);
}

INSTANTIATE_TEST_SUITE_P(
    ShortFullAndEmpty, SelcallMemoryEntry,
    ::testing::Values(EntryCase{"9    ", "AB*1 ", {0x99, 0x90, 0x00, 0x09}, " AB*1"},
                      EntryCase{"123  ", "Q    ", {0x99, 0x90, 0x01, 0x23}, "    Q"},
                      EntryCase{"A9F01", "ABCDE", {0x99, 0x9A, 0x9F, 0x01}, "ABCDE"},
                      // An empty selcall keeps the digits; an empty tag is empty.
                      EntryCase{"     ", "     ", {0x99, 0x91, 0x23, 0x45}, ""},
                      EntryCase{"1 2  ", "A B  ", {0x99, 0x90, 0x01, 0x02}, "  A B"}));

std::string Filtered(char (*filter)(char), const std::string& keys) {
  std::string typed;
  for (char c : keys) {
    if (char k = filter(c)) typed += k;
  }
  return typed;
}

TEST(SelcallMemoryKeys, SelcallColumnTakesDigitsAAndFOnly) {
  EXPECT_EQ(Filtered(SelcallDigitKey, "0123456789aAfF BbCcDdEe*-_xZ!"), "0123456789AAFF ");
}

TEST(SelcallMemoryKeys, AlphaTagColumnTakesCapitalsDigitsAndThreeMarks) {
  EXPECT_EQ(Filtered(SelcallTagKey, "az09AZ-*_ !@.,/+"), "AZ09AZ-*_ ");
}

}  // namespace
