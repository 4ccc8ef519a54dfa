// Subtone codes, the three tone numberings and the texts of a code.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "buildconfig.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"
#include "tones.h"

namespace {

const char* OrderName(ToneOrder o) {
  return o == ToneOrder::Extended ? "extended" : o == ToneOrder::Fifty ? "50" : "38";
}

constexpr ToneOrder kExt = ToneOrder::Extended;
constexpr ToneOrder k50 = ToneOrder::Fifty;
constexpr ToneOrder k38 = ToneOrder::ThirtyEight;
constexpr ToneOrder kAllOrders[] = {kExt, k50, k38};

TEST(ToneTables, TheExtendedOrderIsThe38TonesThenTheOtherTwelve) {
  std::set<int> tones(std::begin(kExtendedOrder), std::end(kExtendedOrder));
  EXPECT_EQ(tones.size(), 51u);  // every tone number 0..50 once
  EXPECT_EQ(*tones.rbegin(), 50);
  EXPECT_TRUE(std::equal(std::begin(kOrder38), std::end(kOrder38), std::begin(kExtendedOrder)));
  EXPECT_TRUE(std::is_sorted(std::begin(kOrder38), std::end(kOrder38)));
  EXPECT_TRUE(std::is_sorted(std::begin(kToneFrequencies), std::end(kToneFrequencies)));
  EXPECT_TRUE(std::is_sorted(std::begin(kDcsCodes), std::end(kDcsCodes)));
  EXPECT_EQ(kDcsCodes[1], 023);
  EXPECT_EQ(kDcsCodes[104], 0754);
}

struct OrderCase {
  int options5;
  bool hasExtended;
  ToneOrder expected;
};
void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << "Options-5 " << c.options5 << (c.hasExtended ? ", extended set" : "");
}
class ToneOrderInForceTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ToneOrderInForceTest, FollowsTheModelThenBits7And6) {
  EXPECT_EQ(ToneOrderInForce(GetParam().options5, GetParam().hasExtended), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, ToneOrderInForceTest,
    ::testing::Values(OrderCase{0x00, false, kExt}, OrderCase{0x40, false, kExt},
                      OrderCase{0x80, false, k50}, OrderCase{0xC0, false, k38},
                      OrderCase{0xBF, false, k50}, OrderCase{0xC0, true, kExt},
                      OrderCase{0x80, true, kExt}));

struct TextCase {
  int code;
  ToneOrder order;
  const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) {
  *os << "code " << c.code << ", " << OrderName(c.order);
}
class ToneTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ToneTextTest, NamesTheToneNumberOrTheDcsCode) {
  EXPECT_EQ(ToneText(GetParam().code, GetParam().order), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ToneTextTest,
    ::testing::Values(
        TextCase{0, kExt, "OFF"}, TextCase{0, k38, "OFF"},
        // Extended order: code 39 is tone 2.
        TextCase{39, kExt, "CTC02 - 69.4Hz"}, TextCase{2, kExt, "CTC03 - 71.9Hz"},
        TextCase{50, kExt, "CTC50 - 254.1Hz"}, TextCase{1, kExt, "CTC01 - 67.0Hz"},
        TextCase{39, k50, "CTC39 - 196.6Hz"}, TextCase{13, k50, "CTC13 - 100.0Hz"},
        TextCase{2, k38, "CTC03 - 71.9Hz"}, TextCase{38, k38, "CTC49 - 250.3Hz"},
        // The 38 tones end at code 38.
        TextCase{39, k38, "???"}, TextCase{50, k38, "???"},
        TextCase{51, kExt, "DT001 - 023"}, TextCase{51, k38, "DT001 - 023"},
        TextCase{154, k50, "DT104 - 754"}, TextCase{100, kExt, "DT050 - 271"},
        TextCase{155, kExt, "???"}, TextCase{200, k38, "???"}, TextCase{255, k50, "???"}));

TEST(ToneText, OfTheImageFollowsItsOptionsAndTheModel) {
  for (const char* family : {"Kestal", "Pinto"}) {
    const BuildConfig build = BuildConfig::ForFamily(family, false);
    TradioInfo info;
    info.SelectModel(build.productId);
    EEPROM image;
    image.SetParamByte(info, Param("Options-5"), 0xC0);
    const ToneOrder order = ToneOrderOfImage(image, info, build.productId, -1);
    // The Pinto has the extended set whatever bit 7 says.
    EXPECT_EQ(order, build.productId == kProductPinto ? kExt : k38) << family;
  }
}

struct EntryCase {
  int code;
  ToneOrder order;
  int entry;
};
void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << "code " << c.code << ", " << OrderName(c.order);
}
class EntryOfCodeTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryOfCodeTest, MapsStoredCodesToListEntries) {
  EXPECT_EQ(EntryOfCode(GetParam().code, GetParam().order), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EntryOfCodeTest,
    ::testing::Values(EntryCase{0, kExt, 0}, EntryCase{39, kExt, 39}, EntryCase{154, k50, 154},
                      EntryCase{38, k38, 38}, EntryCase{51, k38, 39}, EntryCase{154, k38, 142},
                      // Out of range counts as off.
                      EntryCase{200, kExt, 0}, EntryCase{155, k38, 0}, EntryCase{-1, k50, 0},
                      // Codes the 38 tones lack name no entry.
                      EntryCase{39, k38, kNoEntry}, EntryCase{50, k38, kNoEntry}));

TEST(ToneEntries, EveryEntryStoresACodeThatShowsTheSameEntry) {
  for (ToneOrder order : kAllOrders) {
    const int count = ToneEntryCount(order);
    EXPECT_EQ(count, order == k38 ? 143 : 155);
    std::set<int> codes;
    for (int e = 0; e < count; ++e) {
      const int code = CodeOfEntry(e, order);
      codes.insert(code);
      EXPECT_EQ(EntryOfCode(code, order), e) << "entry " << e;
    }
    EXPECT_EQ(codes.size(), static_cast<size_t>(count));
    EXPECT_EQ(*codes.rbegin(), 154);
  }
  EXPECT_EQ(CodeOfEntry(142, k38), 154);
  EXPECT_EQ(CodeOfEntry(39, k38), 51);
}

TEST(ToneEntries, TextsShowTheEntryNumberAndItsTonesFrequency) {
  const struct {
    int entry;
    ToneOrder order;
    const char* text;
  } cases[] = {{0, kExt, "OFF"},
               {39, kExt, "CTC39 - 69.4Hz"},
               {39, k50, "CTC39 - 196.6Hz"},
               {2, k38, "CTC02 - 71.9Hz"},
               {38, k38, "CTC38 - 250.3Hz"},
               {39, k38, "DT001 - 023"},
               {142, k38, "DT104 - 754"},
               {51, kExt, "DT001 - 023"},
               {154, k50, "DT104 - 754"}};
  for (const auto& c : cases) EXPECT_EQ(ToneEntryText(c.entry, c.order), c.text) << c.entry;
}

struct SwitchCase {
  int entry;
  ToneOrder from, to;
  int expected;
};
void PrintTo(const SwitchCase& c, std::ostream* os) {
  *os << "entry " << c.entry << ", " << OrderName(c.from) << " to " << OrderName(c.to);
}
class ToneSetSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(ToneSetSwitchTest, KeepsTheToneOrDcsCodeWhereTheNewSetHasIt) {
  const SwitchCase& c = GetParam();
  EXPECT_EQ(EntryOfTone50(Tone50OfEntry(c.entry, c.from), c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ToneSetSwitchTest,
    ::testing::Values(SwitchCase{2, k50, k38, 0},     // 69.4 Hz is not among the 38
                      SwitchCase{3, k50, k38, 2},     // 71.9 Hz is their second
                      SwitchCase{60, k50, k38, 48},   // DCS 10 stays DCS 10
                      SwitchCase{0, k50, k38, 0},
                      SwitchCase{50, k50, k38, 0},
                      SwitchCase{49, k50, k38, 38},
                      SwitchCase{2, k38, k50, 3},
                      SwitchCase{48, k38, k50, 60},
                      SwitchCase{142, k38, k50, 154},
                      SwitchCase{38, k38, k50, 49}));

}  // namespace
