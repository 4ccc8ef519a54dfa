// What each panel's LCD shows for a display snapshot, worked out from the
// radio object after the protocol I engine took a real display frame.
#include <gtest/gtest.h>

#include <array>

#include "lcdview.h"
#include "panelmodels.h"
#include "radioinfo.h"
#include "sharedobjects.h"
#include "vorniframe.h"

namespace {

// The radio object with `d` as the last display frame it fetched.
struct Snapshot {
  explicit Snapshot(const std::array<uint8_t, 10>& d) {
    uint8_t frame[kVornIWindow];
    const int n = EncodeVornIFrame(kVornIMarkerA, 2, d.data(), 10, frame);
    shared.radio.ProtocolI().HandleBytes(frame, n);
    shared.radio.FetchDisplay();
  }
  SharedObjects shared{kProductKestal};
};

std::vector<std::string> LitIcons(const LcdView& v, const PanelModel& m) {
  std::vector<std::string> lit;
  const auto icons = IconsOf(m);
  for (size_t i = 0; i < icons.size(); ++i)
    if (v.iconLit[i]) lit.push_back(icons[i]->label);
  return lit;
}

TEST(LcdView, KestalShowsDigitsAndItsIconsButNoAlphaField) {
  Snapshot s({'1', '9', 'C', 'B', '-', '1', '9', 0xFF, 0x3E, 0x00});
  const PanelModel& kestal = *FindPanelModel(kProductKestal);
  const LcdView v = ViewOf(s.shared.radio, kestal);
  EXPECT_EQ(v.digits[0], "1");
  EXPECT_EQ(v.digits[1], "9");
  for (const std::string& a : v.alpha) EXPECT_EQ(a, "");
  // D7 all set and D8 bits 1..5: every Kestal icon; the Kestal has no
  // "To", "From", "Q" or quiet "Q" label to light.
  EXPECT_EQ(LitIcons(v, kestal), (std::vector<std::string>{"LCDScan", "LCDM", "LCDBusy", "LCDDup",
                                                            "LCDTx", "LCDSilent", "LCDDCS",
                                                            "LCDBluetooth"}));
}

struct IconCase {
  uint8_t d7, d8;
  std::vector<std::string> lit;
};

class MerloIcons : public testing::TestWithParam<IconCase> {};

TEST_P(MerloIcons, EachBitLightsItsLabelOnly) {
  Snapshot s({'0', '5', 'E', 'M', 'E', 'R', 'G', GetParam().d7, GetParam().d8, 0});
  const PanelModel& merlo = *FindPanelModel(kProductMerlo);
  EXPECT_EQ(LitIcons(ViewOf(s.shared.radio, merlo), merlo), GetParam().lit);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, MerloIcons,
    testing::Values(IconCase{0x00, 0x00, {}}, IconCase{0x01, 0x00, {"LCDScan"}},
                    IconCase{0x02, 0x01, {}},  // unused bits
                    IconCase{0x04, 0x00, {"LCDCallTo"}}, IconCase{0x08, 0x00, {"LCDCallFrom"}},
                    IconCase{0x10, 0x00, {"LCDQ"}}, IconCase{0x20, 0x00, {"LCDM"}},
                    IconCase{0x40, 0x00, {"LCDBusy"}}, IconCase{0x80, 0x00, {"LCDDup"}},
                    IconCase{0x00, 0x02, {"LCDTx"}}, IconCase{0x00, 0x04, {"LCDQuiet"}},
                    IconCase{0x00, 0x08, {"LCDSilent"}}, IconCase{0x00, 0x10, {"LCDDCS"}},
                    IconCase{0x00, 0x20, {"LCDBluetooth"}}));

TEST(LcdView, AlphaPanelsShowTheTextAndItsFlashingBits) {
  Snapshot s({'3', '5', 'E', 'M', 'E', 'R', 'G', 0, 0, 0x03 | 0x08 | 0x40});
  for (uint32_t id : {kProductMerlo, kProductDravo}) {
    const LcdView v = ViewOf(s.shared.radio, *FindPanelModel(id));
    EXPECT_EQ(v.alpha, (std::array<std::string, 5>{"E", "M", "E", "R", "G"}));
    EXPECT_EQ(v.digitFlashing, (std::array<bool, 2>{true, true}));
    EXPECT_EQ(v.alphaFlashing, (std::array<bool, 5>{false, true, false, false, true}));
  }
}

TEST(LcdView, CharactersTheLcdCannotDrawShowBlank) {
  Snapshot s({0x00, 0x7F, 0x1F, 0x80, 'A', ' ', '~', 0, 0, 0});
  const LcdView v = ViewOf(s.shared.radio, *FindPanelModel(kProductDravo));
  EXPECT_EQ(v.digits, (std::array<std::string, 2>{" ", " "}));
  EXPECT_EQ(v.alpha, (std::array<std::string, 5>{" ", " ", "A", " ", "~"}));
}

TEST(LcdView, OnlyTheKestalHasDarkSegmentsAndThePintoNoLcd) {
  EXPECT_TRUE(FindPanelModel(kProductKestal)->priAndBars);
  EXPECT_FALSE(FindPanelModel(kProductMerlo)->priAndBars);
  EXPECT_EQ(DarkSegmentNames().size(), 17u);
  EXPECT_EQ(DarkSegmentNames()[16], "LCDSigStrength08");
  EXPECT_TRUE(IconsOf(*FindPanelModel(kProductPinto)).empty());
  EXPECT_EQ(FindPanelModel(kProductSorel), nullptr);
  EXPECT_EQ(FindPanelModel(kProductKestalBT), nullptr);
}

struct ColourCase {
  BacklightColour in;
  LcdColour out;
};

class BacklightColours : public testing::TestWithParam<ColourCase> {};

TEST_P(BacklightColours, UseBitsTwoToNine) {
  EXPECT_EQ(BacklightColourOf(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Values, BacklightColours,
                         testing::Values(ColourCase{{1023, 512, 0}, {255, 128, 0}},
                                         ColourCase{{3, 4, 7}, {0, 1, 1}},
                                         ColourCase{{0xFFFF, 0x0400, 0x03FC}, {255, 0, 255}}));

TEST(Backlight, OnIsLimeOffIsGrey) {
  EXPECT_EQ(BacklightOnOffColour(1), kLcdLime);
  EXPECT_EQ(BacklightOnOffColour(-5), kLcdLime);
  EXPECT_EQ(BacklightOnOffColour(0), kLcdGrey);
  EXPECT_EQ(kLcdGrey, (LcdColour{0x80, 0x80, 0x80}));
  EXPECT_EQ(kLcdLime, (LcdColour{0x00, 0xFF, 0x00}));
}

}  // namespace
