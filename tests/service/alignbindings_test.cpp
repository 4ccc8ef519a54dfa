// The alignment trims read from image bytes: each binding's conversion is
// chosen by its data, not by the name of the control that shows it.
#include <gtest/gtest.h>

#include <string>

#include "alignbindings.h"
#include "eeprom.h"
#include "radioinfo.h"

namespace {

const AlignBinding& Binding(const char* upDown) {
  const AlignBinding* b = AlignBindingOf(upDown);
  EXPECT_NE(b, nullptr) << upDown;
  return b != nullptr ? *b : AlignBindings().front();
}

struct ScaleCase {
  const char* upDown;
  int byte;
  int position;
};

TEST(AlignPositionOfByte, EachBindingReadsItsByteOnItsOwnScale) {
  const ScaleCase cases[] = {
      {"udPLL_Freq", 0xC8, 200},    {"udTuneFreq2T3", 0x00, 0},  {"udS10", 0xFF, 255},
      {"udRxOffset", 0xFF, -1},     {"udRxOffset", 0x80, -128},  {"udRxOffset", 0x7F, 127},
      {"udSqlSens", 0xB0, -80},     {"udSqlSens", 0x50, 80},     {"udSqlSens", 0xAF, 0},
      {"udSqlSens", 0x51, 0},       {"udSqlSens", 0xF6, -10},
  };
  for (const ScaleCase& c : cases)
    EXPECT_EQ(AlignPositionOfByte(Binding(c.upDown), c.byte), c.position)
        << c.upDown << " byte " << c.byte;
}

TEST(AlignPositionOfByte, OnlyTheSignedTrimsHaveASignedScale) {
  for (const AlignBinding& b : AlignBindings()) {
    if (b.low >= 0)
      EXPECT_EQ(b.scale, AlignScale::kByte) << b.upDown;
    else
      EXPECT_NE(b.scale, AlignScale::kByte) << b.upDown;
  }
}

TEST(AlignPositions, ReadEveryBindingFromItsParameterInBindingOrder) {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  EEPROM image;
  image.Fill(0x00);
  image.SetParamByte(info, "PLL FRef", 0x9C);
  image.SetParamByte(info, "Rx ADC Offset", 0xFE);
  image.SetParamByte(info, "Sql K", 0xEC);
  image.SetParamByte(info, "T3-F2", 0x21);

  const std::vector<int> positions = AlignPositions(image, info);
  const std::vector<AlignBinding>& bindings = AlignBindings();
  ASSERT_EQ(positions.size(), bindings.size());
  for (size_t i = 0; i < bindings.size(); ++i) {
    const std::string name = bindings[i].upDown;
    int expected = 0;
    if (name == "udPLL_Freq") expected = 0x9C;
    if (name == "udRxOffset") expected = -2;
    if (name == "udSqlSens") expected = -20;
    if (name == "udTuneFreq2T3") expected = 0x21;
    EXPECT_EQ(positions[i], expected) << name;
  }
}

TEST(AlignPositions, AModelWithoutTheParametersShowsZero) {
  TradioInfo unknown;  // the unknown model has no alignment parameters
  EEPROM image;
  image.Fill(0x7F);
  for (int p : AlignPositions(image, unknown)) EXPECT_EQ(p, 0);
  const MicGainPositions mic = AlignMicGainPositions(image, unknown);
  EXPECT_EQ(mic.front, 0);
  EXPECT_EQ(mic.rear, 0);
}

TEST(AlignMicGainPositions, ReadBothGainsAndShowZeroOutsideTheirRange) {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  ASSERT_GE(info.GetParamAddress("Mic Gain"), 0);
  ASSERT_GE(info.GetParamAddress("Mic Gain Rear"), 0);
  EEPROM image;
  image.SetParamByte(info, "Mic Gain", 0xF4);       // -12
  image.SetParamByte(info, "Mic Gain Rear", 0x1E);  // 30
  MicGainPositions mic = AlignMicGainPositions(image, info);
  EXPECT_EQ(mic.front, -12);
  EXPECT_EQ(mic.rear, 30);
  image.SetParamByte(info, "Mic Gain", 0xF3);       // -13: outside
  image.SetParamByte(info, "Mic Gain Rear", 0x1F);  // 31: outside
  mic = AlignMicGainPositions(image, info);
  EXPECT_EQ(mic.front, 0);
  EXPECT_EQ(mic.rear, 0);
}

}  // namespace
