// The alignment bench's arithmetic on plain values and image bytes.
#include <gtest/gtest.h>

#include "alignmath.h"
#include "buildconfig.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

TEST(AlignDecibels, StoredBytesShowAsHalfDecibelSteps) {
  EXPECT_EQ(DecibelText(StepOfByte(30)), "-6.0");  // above 24 taken as 24
  EXPECT_EQ(DecibelText(StepOfByte(0)), "6.0");
  EXPECT_EQ(DecibelText(StepOfByte(12)), "0.0");
  EXPECT_EQ(DecibelText(StepOfByte(13)), "-0.5");
}

struct TypedCase {
  const char* text;
  int step;
  const char* shown;
};

class AlignTypedDecibels : public ::testing::TestWithParam<TypedCase> {};

TEST_P(AlignTypedDecibels, GoToTheLowerDecibelStepWhenHalfway) {
  const TypedCase& c = GetParam();
  const std::optional<double> x = ParseDecibels(c.text);
  ASSERT_TRUE(x.has_value()) << c.text;
  EXPECT_EQ(StepOfDecibels(*x), c.step) << c.text;
  EXPECT_EQ(DecibelText(StepOfDecibels(*x)), c.shown) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, AlignTypedDecibels,
                         ::testing::Values(TypedCase{"7", 0, "6.0"}, TypedCase{"0.25", 12, "0.0"},
                                           TypedCase{"0.3", 11, "0.5"},
                                           TypedCase{"-0.25", 13, "-0.5"},
                                           TypedCase{"-9", 24, "-6.0"}, TypedCase{"6", 0, "6.0"}));

TEST(AlignDecibels, TextThatIsNoNumberIsRefused) {
  for (const char* text : {"", "-", ".", "1.2.3", "--1", "1-"})
    EXPECT_FALSE(ParseDecibels(text).has_value()) << text;
}

TEST(AlignTracking, BalanceFollowsModulationInProportion) {
  EXPECT_EQ(TrackedBalance(11, 12, 10), 9);  // 9.17 truncated
  EXPECT_EQ(TrackedBalance(13, 12, 10), 10);
  EXPECT_EQ(TrackedBalance(5, 0, 10), 10);  // no reference: balance stays
  EXPECT_EQ(TrackedBalance(24, 1, 200), 255);
}

class AlignChannels : public ::testing::Test {
 protected:
  void SetUp() override {
    info.SelectModel(build.productId);
    image.Fill(0);
  }
  // Receive-only record m: frequency word and alpha tag.
  void PutRecord(int m, int word, const char* tag) {
    const int a = info.GetParamAddress(kParamRxOnlyChannels) + kRxChannelRecordSize * m;
    image.SetWord(a, word);
    image.SetAlphaTag(a + 2, tag);
  }
  ChannelView View(int n, const ChannelView& before = {}) {
    return ViewOfChannel(n, before, image, info, build);
  }
  BuildConfig build = BuildConfig::ForFamily("Merlo", false);  // a model with banks
  TradioInfo info;
  EEPROM image;
};

TEST_F(AlignChannels, CbChannelsShowTheirFrequencyAndName) {
  ChannelView v = View(41);
  EXPECT_EQ(v.bank, "CB");
  EXPECT_EQ(v.number, "41");
  EXPECT_EQ(MegahertzText(v.frequencyHz), "476.4375");
  EXPECT_EQ(v.text, "CB-41");
  v = View(1);
  EXPECT_EQ(MegahertzText(v.frequencyHz), "476.4250");
  EXPECT_EQ(v.text, "CB-01");
  EXPECT_EQ(View(80).text, "CB-80");
}

TEST_F(AlignChannels, ReceiveOnlyChannelsShowBankLetterAndRecordOfTheImagesBank) {
  image.SetByte(info.GetParamAddress("Rx Bank"), 2);
  PutRecord(40, 38160, "FIRE");   // bank C, channel 81
  PutRecord(79, 36000, "TOWN");   // bank C, channel 120
  const struct {
    int n;
    const char* bank;
    const char* number;
  } cases[] = {{81, "RX-A", "81"}, {120, "RX-B", "100"}, {121, "RX-C", "81"}, {101, "RX-B", "81"}};
  for (const auto& c : cases) {
    const ChannelView v = View(c.n);
    EXPECT_EQ(v.bank, c.bank) << c.n;
    EXPECT_EQ(v.number, c.number) << c.n;
  }
  // The record follows the image's bank, not the bank letter shown.
  EXPECT_EQ(View(81).text, "FIRE");
  EXPECT_EQ(MegahertzText(View(81).frequencyHz), "477.0000");
  EXPECT_EQ(View(120).text, "TOWN");
  image.SetByte(info.GetParamAddress("Rx Bank"), 7);  // not a bank: bank 0
  PutRecord(0, 0xFFFF, "");
  EXPECT_EQ(MegahertzText(View(81).frequencyHz), "819.1875");
}

TEST_F(AlignChannels, ChannelsBeyondTheTableKeepWhatWasShown) {
  const ChannelView before = View(12);
  const ChannelView v = View(181, before);
  EXPECT_EQ(v.frequencyHz, before.frequencyHz);
  EXPECT_EQ(v.text, "CB-12");
}

TEST(AlignTrimEntry, EnterRules) {
  const struct {
    const char* typed;
    bool writes;
    int value;
    const char* shown;
  } cases[] = {{"300", true, 255, "255"}, {"255", true, 255, "255"}, {"", true, 0, "0"},
               {"17", true, 17, "17"},    {"99999999999999999999", false, 0, "99999999999999999999"}};
  for (const auto& c : cases) {
    const TrimEntry e = ParseTrimEntry(c.typed);
    EXPECT_EQ(e.writes, c.writes) << c.typed;
    if (c.writes) {
      EXPECT_EQ(e.value, c.value) << c.typed;
    }
    EXPECT_EQ(e.text, c.shown) << c.typed;
  }
}

TEST(AlignTrimEntry, MicGainKeepsToTheUpDownsRange) {
  TrimEntry e = ParseMicGainEntry("45");
  EXPECT_TRUE(e.writes);
  EXPECT_EQ(e.value, 30);
  EXPECT_EQ(e.text, "30");
  e = ParseMicGainEntry("300");
  EXPECT_EQ(e.value, 30);
  e = ParseMicGainEntry("");
  EXPECT_EQ(e.value, 0);
  EXPECT_EQ(e.text, "0");
  EXPECT_EQ(ParseMicGainEntry("12").value, 12);
}

TEST(AlignLoad, SignedValuesOutsideTheirRangeShowZero) {
  EXPECT_EQ(MicGainOfByte(0xF4), -12);
  EXPECT_EQ(MicGainOfByte(0xF3), 0);
  EXPECT_EQ(MicGainOfByte(30), 30);
  EXPECT_EQ(MicGainOfByte(31), 0);
  EXPECT_EQ(SqlSensitivityOfByte(0xB0), -80);
  EXPECT_EQ(SqlSensitivityOfByte(0xAF), 0);
  EXPECT_EQ(SqlSensitivityOfByte(81), 0);
}

TEST(AlignAutoAdjust, OffsetCancelsTheAverageErrorAndIsClamped) {
  const std::vector<int> samples(8, -125);  // sum -1000
  const int avg = AverageOf(samples, kAutoAdjustSamples);
  EXPECT_EQ(avg, -125);
  EXPECT_EQ(AdjustedRxOffset(5, avg), 7);  // -125 / 50 = -2 truncated
  EXPECT_EQ(AdjustedRxOffset(127, AverageOf(std::vector<int>(8, -800), 8)), 127);
  EXPECT_EQ(AdjustedRxOffset(-128, 6400), -128);
  EXPECT_EQ(AverageOf({-3, -3, -3, 0, 0, 0, 0, 0}, 8), -1);  // toward zero
}

TEST(AlignSMeter, AverageOfSixteenReads) {
  EXPECT_EQ(SMeterAverage(2047), 127);
  EXPECT_EQ(SMeterAverage(16 * 255), 255);
}

}  // namespace
