#include "eeprom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "params.h"
#include "radioinfo.h"

namespace {

std::vector<uint8_t> Bytes(const EEbuffer& b) {
  return std::vector<uint8_t>(b.Data(), b.Data() + b.GetLength());
}

TEST(EEbufferAccess, NewBufferIsErased) {
  EEPROM image;
  ASSERT_EQ(image.GetLength(), 2048);
  for (int a = 0; a < image.GetLength(); ++a) {
    ASSERT_EQ(image.GetByte(a), 0xFF) << a;
    ASSERT_EQ(image.GetWord(a), 0xFFFF) << a;
  }
  EEbuffer empty(0);
  EXPECT_EQ(empty.GetByte(0), -1);
  EXPECT_EQ(empty.GetWord(0), -1);
  EXPECT_EQ(empty.SetByte(0, 1), -1);
  EXPECT_EQ(EEbuffer(-5).GetLength(), 0);
}

TEST(EEbufferAccess, ByteAndWordBounds) {
  struct Case {
    int address;
    int byte;
    int word;
  };
  EEPROM image;
  for (int a = 0; a < image.GetLength(); ++a) image.SetByte(a, a & 0xFF);
  const std::vector<Case> cases = {
      {0, 0x00, 0x0001},  {1, 0x01, 0x0001},   {4, 0x04, 0x0405},   {5, 0x05, 0x0405},
      {2047, 0xFF, 0xFEFF}, {2048, -1, -1},    {-1, -1, -1},        {-2, -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(image.GetByte(c.address), c.byte) << c.address;
    EXPECT_EQ(image.GetWord(c.address), c.word) << c.address;
  }
}

TEST(EEbufferAccess, WritesRoundDownAndRefuseOutOfRange) {
  EEPROM image;
  EXPECT_EQ(image.SetWord(2047, 0xA1B2), 0);
  EXPECT_EQ(image.GetByte(2046), 0xA1);
  EXPECT_EQ(image.GetByte(2047), 0xB2);
  EXPECT_EQ(image.SetWord(5, 0x12345), 0);  // bits above 15 dropped
  EXPECT_EQ(image.GetByte(4), 0x23);
  EXPECT_EQ(image.GetByte(5), 0x45);
  EXPECT_EQ(image.SetByte(9, 0x1C3), 0);
  EXPECT_EQ(image.GetByte(9), 0xC3);

  const std::vector<uint8_t> before = Bytes(image);
  EXPECT_EQ(image.SetByte(2048, 0), -1);
  EXPECT_EQ(image.SetByte(-1, 0), -1);
  EXPECT_EQ(image.SetWord(2048, 0), -1);
  EXPECT_EQ(image.SetWord(-1, 0), -1);
  EXPECT_EQ(Bytes(image), before);
}

TEST(EEbufferAccess, OddLengthHasNoWordAtItsLastByte) {
  EEbuffer odd(5);
  EXPECT_EQ(odd.GetWord(3), 0xFFFF);
  EXPECT_EQ(odd.GetWord(4), -1);
  EXPECT_EQ(odd.SetWord(4, 0), -1);
  EXPECT_EQ(odd.GetByte(4), 0xFF);
}

TEST(EEbufferAccess, BlockCopiesStayInsideTheBuffer) {
  struct Case {
    int address;
    int count;
    int copied;
  };
  const std::vector<Case> cases = {
      {0, 16, 16}, {2040, 16, 8}, {2047, 1, 1}, {2048, 1, 0},
      {-1, 4, 0},  {-5, 10, 0},   {10, 0, 0},   {10, -3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EEPROM image;
    for (int a = 0; a < image.GetLength(); ++a) image.SetByte(a, a * 7);

    std::vector<uint8_t> out(32, 0xEE);
    ASSERT_EQ(image.ReadBlock(c.address, out.data(), c.count), c.copied);
    for (int i = 0; i < 32; ++i) {
      EXPECT_EQ(out[i], i < c.copied ? static_cast<uint8_t>((c.address + i) * 7) : 0xEE) << i;
    }

    const std::vector<uint8_t> before = Bytes(image);
    const std::vector<uint8_t> in(32, 0x5A);
    ASSERT_EQ(image.WriteBlock(c.address, in.data(), c.count), c.copied);
    for (int a = 0; a < image.GetLength(); ++a) {
      const bool written = c.copied > 0 && a >= c.address && a < c.address + c.copied;
      ASSERT_EQ(image.GetByte(a), written ? 0x5A : before[a]) << a;
    }
  }
}

TEST(EEbufferAccess, FillSetsEveryByte) {
  EEPROM image;
  EXPECT_EQ(image.Fill(0x1234), 2048);
  EXPECT_EQ(Bytes(image), std::vector<uint8_t>(2048, 0x34));
}

TEST(AlphaTag, PackAndUnpack) {
  struct Case {
    const char* text;
    uint32_t packed;
    const char* readBack;
  };
  const std::vector<Case> cases = {
      {"", 0x20820820, ""},
      {"abc", 0x00000820, "   "},        // lower case becomes blanks
      {"AB@DE", 0x218A0925, "AB"},       // the at sign ends the text
      {"HELLO", 0x2896CB2F, "HELLO"},
      {"TOOLONG", PackAlphaTag("TOOLO"), "TOOLO"},
      {"A", 0x21820820, "A"},
      {"{|}~", 0x00000020, "    "},       // above 95
      {"\x80\xC1Z", 0x0003A820, "  Z"},   // bytes of 128 and up
      {"_^]\\[", 0x3FFBDF3B, "_^]\\["},
      {"09 -!", 0x10640341, "09 -!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackAlphaTag(c.text), c.packed) << c.text;
    EXPECT_EQ(UnpackAlphaTag(c.packed), c.readBack) << c.text;
  }
  EXPECT_EQ(PackAlphaTag(nullptr), 0x20820820u);
  EXPECT_EQ(UnpackAlphaTag(0xFFFFFFFF), "_____");
  EXPECT_EQ(UnpackAlphaTag(0xC0000000 | PackAlphaTag("AB")), "AB");  // top bits ignored
}

TEST(AlphaTag, StoredBigEndianInTheImage) {
  EEPROM image;
  EXPECT_EQ(image.GetAlphaTag(300), "_____");
  image.SetAlphaTag(300, "");
  const uint8_t expected[] = {0x20, 0x82, 0x08, 0x20};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image.GetByte(300 + i), expected[i]) << i;
  EXPECT_EQ(image.GetAlphaTag(300), "");
  image.SetAlphaTag(300, "CH 5");
  EXPECT_EQ(image.GetAlphaTag(300), "CH 5");
  EXPECT_EQ(image.GetByte(304), 0xFF);
}

class RxChannel : public ::testing::Test {
 protected:
  void SetUp() override { kestal.SelectModel(kProductKestal); }
  TradioInfo kestal;
  EEPROM image;
};

TEST_F(RxChannel, DecodesFrequencyAndName) {
  const int base = kestal.GetParamAddress(kParamRxOnlyChannels);
  image.SetWord(base + 6 * 5, 38000);
  image.SetAlphaTag(base + 6 * 5 + 2, "MARIN");
  image.SetWord(base + 6 * 99, 1);
  image.SetAlphaTag(base + 6 * 99 + 2, "Z");

  struct Case {
    int m;
    uint32_t frequency;
    const char* tag;
  };
  const std::vector<Case> cases = {
      {0, 0, "_____"}, {5, 475000000, "MARIN"}, {99, 12500, "Z"}};
  for (const Case& c : cases) {
    RX_CH_DATA_STRUCT record;
    record.frequency = 7;
    record.flags = 0x9;
    ASSERT_EQ(image.GetRxChannel(kestal, c.m, record), 0) << c.m;
    EXPECT_EQ(record.frequency, c.frequency) << c.m;
    EXPECT_EQ(record.alphaTag, c.tag) << c.m;
    EXPECT_EQ(record.flags, 0x9u) << "flags are the caller's";
  }
}

TEST_F(RxChannel, RefusesRecordsItCannotHave) {
  TradioInfo tamso;  // has no receive-only channels
  tamso.SelectModel(kProductTamso);
  EEPROM small(300);  // record 12 would run past the end
  struct Case {
    const TradioInfo* info;
    const EEPROM* image;
    int m;
  };
  const std::vector<Case> cases = {
      {&kestal, &image, -1}, {&kestal, &image, 100}, {&tamso, &image, 0},
      {&kestal, &small, 12}, {&kestal, &small, 13},
  };
  for (const Case& c : cases) {
    RX_CH_DATA_STRUCT record;
    record.frequency = 123;
    record.alphaTag = "keep";
    EXPECT_EQ(c.image->GetRxChannel(*c.info, c.m, record), -1) << c.m;
    EXPECT_EQ(record.frequency, 123u);
    EXPECT_EQ(record.alphaTag, "keep");
  }
  RX_CH_DATA_STRUCT record;
  EXPECT_EQ(small.GetRxChannel(kestal, 11, record), 0);  // 290..295 fits
}

TEST(ParamAccess, AbsentParametersReadMinusOneAndWriteNothing) {
  TradioInfo kestal;
  kestal.SelectModel(kProductKestal);
  EEPROM image;
  const std::vector<uint8_t> before = Bytes(image);
  EXPECT_EQ(image.GetParamByte(kestal, kParamLcdContrast), -1);
  EXPECT_EQ(image.SetParamByte(kestal, kParamLcdContrast, 5), -1);
  EXPECT_EQ(image.GetParamWord(kestal, kParamLcdContrast), -1);
  EXPECT_EQ(image.SetParamWord(kestal, kParamLcdContrast, 5), -1);
  EXPECT_FALSE(Param::AtIndex(kParamCount).has_value());  // no parameter to write
  EXPECT_EQ(Bytes(image), before);

  TradioInfo pinto;
  pinto.SelectModel(kProductPinto);
  EXPECT_EQ(image.SetParamByte(pinto, kParamLcdContrast, 0x107), 0);
  EXPECT_EQ(image.GetByte(62), 0x07);
  EXPECT_EQ(image.GetParamByte(pinto, kParamLcdContrast), 0x07);
  EXPECT_EQ(image.SetParamWord(pinto, kParamProductId, kProductPinto), 0);
  EXPECT_EQ(image.GetParamWord(pinto, kParamProductId), 0x5A03);
  EXPECT_EQ(image.GetByte(0), 0x5A);
}

TEST(ParamAccess, ByNameReachesTheSameBytesAsByIndex) {
  TradioInfo pinto;
  pinto.SelectModel(kProductPinto);
  EEPROM image;
  EXPECT_EQ(image.SetParamByte(pinto, "LCD Contrast", 0x105), 0);
  EXPECT_EQ(image.GetByte(62), 0x05);
  EXPECT_EQ(image.GetParamByte(pinto, "LCD Contrast"), image.GetParamByte(pinto, kParamLcdContrast));
  EXPECT_EQ(image.SetParamWord(pinto, "Product ID", kProductPinto), 0);
  EXPECT_EQ(image.GetParamWord(pinto, "Product ID"), 0x5A03);

  // An unknown name gives no parameter at all (a name written in code does
  // not compile), so it can neither read -1 nor address a byte.
  const std::vector<uint8_t> before = Bytes(image);
  for (const char* name : {"No Such Parameter", "lcd contrast", ""})
    EXPECT_FALSE(Param::Find(name).has_value()) << name;
  TradioInfo kestal;
  kestal.SelectModel(kProductKestal);
  EXPECT_EQ(image.SetParamByte(kestal, "LCD Contrast", 1), -1);
  EXPECT_EQ(Bytes(image), before);
}

TEST(HexText, ToHexTextShowsBytesOutsideAsFF) {
  EEPROM image;
  image.SetByte(0, 0x00);
  image.SetByte(10, 0x00);
  image.SetByte(11, 0xAB);
  image.SetByte(12, 0x5F);
  image.SetByte(2046, 0x01);
  image.SetByte(2047, 0x23);
  struct Case {
    int address;
    int count;
    const char* text;
  };
  const std::vector<Case> cases = {
      {10, 3, "00AB5F"}, {2046, 4, "0123FFFF"}, {-1, 2, "FF00"}, {10, 0, ""}};
  for (const Case& c : cases) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    image.ToHexText(buffer, c.address, c.count);
    EXPECT_STREQ(buffer, c.text) << c.address;
  }
}

TEST(HexText, FromHexTextTreatsNonDigitsAsF) {
  struct Case {
    const char* text;
    int count;
    std::vector<int> bytes;  // at addresses 20.. ; the next one must stay 0xEE
  };
  const std::vector<Case> cases = {
      {"1g", 1, {0x1F}},
      {"a0", 1, {0xF0}},
      {"09AF", 2, {0x09, 0xAF}},
      {"7", 1, {0x7F}},  // too short: the missing digit counts as a non-digit
      {"", 2, {0xFF, 0xFF}},
      {"123456", 2, {0x12, 0x34}},
  };
  for (const Case& c : cases) {
    EEPROM image;
    image.Fill(0xEE);
    image.FromHexText(c.text, 20, c.count);
    for (size_t i = 0; i < c.bytes.size(); ++i) {
      EXPECT_EQ(image.GetByte(20 + static_cast<int>(i)), c.bytes[i]) << c.text << " " << i;
    }
    EXPECT_EQ(image.GetByte(20 + static_cast<int>(c.bytes.size())), 0xEE) << c.text;
  }
  EEPROM image;
  image.FromHexText("1234", 2047, 2);  // the second byte would be outside
  EXPECT_EQ(image.GetByte(2047), 0x12);
}

TEST(Nibbles, SetKeepsTheOtherHalfAndGetReadsBack) {
  struct Case {
    int fill;
    std::vector<int> digits;
    std::vector<int> bytes;
  };
  const std::vector<Case> cases = {
      {0xFF, {1, 2, 3}, {0x12, 0x3F, 0xFF}},
      {0x00, {1, 2, 3}, {0x12, 0x30, 0x00}},
      {0xAB, {0x1C}, {0xCB, 0xAB}},  // digits keep their low 4 bits
      {0x00, {9, 8, 7, 6}, {0x98, 0x76, 0x00}},
  };
  for (const Case& c : cases) {
    EEPROM image;
    image.Fill(c.fill);
    ASSERT_EQ(image.SetNibbles(40, c.digits.data(), static_cast<int>(c.digits.size())),
              static_cast<int>(c.digits.size()));
    for (size_t i = 0; i < c.bytes.size(); ++i) {
      EXPECT_EQ(image.GetByte(40 + static_cast<int>(i)), c.bytes[i]) << i;
    }
    std::vector<int> back(c.digits.size(), -7);
    ASSERT_EQ(image.GetNibbles(back.data(), 40, static_cast<int>(back.size())),
              static_cast<int>(back.size()));
    for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(back[i], c.digits[i] & 0x0F) << i;
  }
  EEPROM image;
  int digits[2] = {-7, -7};
  EXPECT_EQ(image.GetNibbles(digits, 2047, 2), 2);
  EXPECT_EQ(digits[0], 0xF);
  EXPECT_EQ(digits[1], 0xF);
}

}  // namespace
