// The engineering panel's conversions on plain values: the frequency and
// its PLL word, the strict integer reading, and the texts turned into
// command bytes or built from replies.
#include <gtest/gtest.h>

#include <string>

#include "eng.h"

namespace {

TEST(EngFrequency, ShowsMegahertzWithSixDecimals) {
  EXPECT_EQ(FrequencyText(477000000), "477.000000");
  EXPECT_EQ(FrequencyText(12500), "000.012500");
  EXPECT_EQ(FrequencyText(819187500), "819.187500");
}

TEST(EngFrequency, PllWordIsTwelveAndAHalfKilohertzStepsWithinSixteenBits) {
  EXPECT_EQ(PllSteps(478000000), 38240);
  EXPECT_EQ(PllSteps(477012499), 38160);  // integer division
  EXPECT_EQ(PllSteps(0), 0);
  EXPECT_EQ(PllSteps(819187500), 0xFFFF);
  EXPECT_FALSE(PllSteps(819200000));
  EXPECT_FALSE(PllSteps(-12500));
}

TEST(EngFrequency, StepSizesFollowTheList) {
  const int expected[] = {12500, 25000, 100000, 1000000, 10000000};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(FreqStepHz(i), expected[i]) << kFreqStepTexts[i];
  EXPECT_EQ(FreqStepHz(-1), 0);
  EXPECT_EQ(FreqStepHz(5), 0);
}

struct IntCase {
  const char* text;
  std::optional<int> value;
};

TEST(EngStrictInt, TakesWholeNumbersOnly) {
  const IntCase cases[] = {
      {"0", 0}, {"255", 255}, {"-16", -16}, {"+7", 7}, {"  12", 12}, {"$1F", 31},
      {"0x7f", 127}, {"0xFFFFFFFF", -1}, {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"", std::nullopt}, {"12 ", std::nullopt},
      {"1.5", std::nullopt}, {"abc", std::nullopt}, {"0x", std::nullopt}, {"-", std::nullopt},
      {"2147483648", std::nullopt}, {"0x100000000", std::nullopt}, {"1e3", std::nullopt}};
  for (const IntCase& c : cases) EXPECT_EQ(StrictInt(c.text), c.value) << "'" << c.text << "'";
}

TEST(EngStrictInt, MemoryFieldsReadAsHexadecimal) {
  EXPECT_EQ(StrictInt(HexFieldText("1A")), 0x1A);
  EXPECT_EQ(StrictInt(HexFieldText("ff")), 0xFF);
  EXPECT_FALSE(StrictInt(HexFieldText("")));
  EXPECT_FALSE(StrictInt(HexFieldText("G1")));
  EXPECT_EQ(NotIntegerMessage("0xG1"), "'0xG1' is not a valid integer value");
}

TEST(EngAutoAlign, FlagsAreOneBitPerBox) {
  EXPECT_EQ(AutoAlignFlags({false, true, false, true}), 10);
  EXPECT_EQ(AutoAlignFlags({true, true, true, true}), 15);
  EXPECT_EQ(AutoAlignFlags({false, false, false, false}), 0);
}

TEST(EngIcons, ScanUpToFourHexDigits) {
  EXPECT_EQ(IconsWord("1234"), 0x1234);
  EXPECT_EQ(IconsWord("ab"), 0xAB);
  EXPECT_EQ(IconsWord("12G4"), 0x12);
  EXPECT_EQ(IconsWord("XYZ"), 0);
  EXPECT_EQ(IconsWord(""), 0);
}

TEST(EngRawRequest, PairsOneCharacterApart) {
  EXPECT_EQ(ParseRawRequest("01 02 0A"), (std::vector<uint8_t>{0x01, 0x02, 0x0A}));
  EXPECT_EQ(ParseRawRequest("00"), (std::vector<uint8_t>{0x00}));
  EXPECT_EQ(ParseRawRequest("ff-a0"), (std::vector<uint8_t>{0xFF, 0xA0}));
  std::string long61;
  for (int i = 0; i < 21; ++i) long61 += (i ? " " : "") + std::string("3C");
  long61.resize(61);
  const auto twenty = ParseRawRequest(long61);
  ASSERT_TRUE(twenty);
  EXPECT_EQ(twenty->size(), 20u);
}

TEST(EngRawRequest, RefusesWhatIsNotHexadecimal) {
  for (const char* text : {"", "0", "0G", "01 2Z", "x1 02", "1 02"})
    EXPECT_FALSE(ParseRawRequest(text)) << "'" << text << "'";
}

TEST(EngRadioId, SixteenDigitsBothWays) {
  const RadioId id{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(RadioIdText(id), "0123456789ABCDEF");
  EXPECT_EQ(ParseRadioId("0123456789ABCDEF"), id);
  EXPECT_EQ(ParseRadioId("0123456789abcdef"), id);
  for (const char* text : {"", "0123456789ABCDE", "0123456789ABCDEG", "0123456789ABCDEF0"})
    EXPECT_FALSE(ParseRadioId(text)) << "'" << text << "'";
}

TEST(EngArray, PatternAndReports) {
  const std::vector<uint8_t> pattern = ArrayTestPattern();
  ASSERT_EQ(pattern.size(), 128u);
  for (size_t i = 0; i < pattern.size(); ++i) EXPECT_EQ(pattern[i], i);
  EXPECT_EQ(ArrayReadText({0x0A, 0xFF, 0x00}), "Got 3 bytes\n 0A FF 00");
  EXPECT_EQ(ArrayWriteText(128), "Wrote 128 bytes\n");
}

TEST(EngSamples, OneLineOfIndexAndValue) {
  EXPECT_EQ(SamplesLine({12, -32768, 32767}), "0:12 1:-32768 2:32767 ");
}

}  // namespace
