// The selcall settings on image bytes: the ident digits, the radio name, the
// option bits and group-call codes, the lead-in and tone lengths, and the
// quiet memory's CB channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "selcall.h"
#include "simimage.h"
#include "param_by_name.h"

namespace {

constexpr int kN = 5;  // the ident digits the window shows

struct Radio {
  explicit Radio(const char* family = "Merlo") {
    info.SelectModel(BuildConfig::ForFamily(family, false).productId);
    // A pattern outside the erased value, so stray writes show.
    for (int a = 2; a < kImageSize; ++a) image.SetByte(a, (a * 37 + 11) & 0xFF);
  }
  int At(const char* name) const { return info.GetParamAddress(ParamByName(name)); }
  int Byte(const char* name, int offset = 0) const { return image.GetByte(At(name) + offset); }
  void SetByte(const char* name, int value, int offset = 0) {
    image.SetByte(At(name) + offset, value);
  }
  std::vector<uint8_t> Bytes() const { return {image.Data(), image.Data() + kImageSize}; }
  // Load, then store without a change.
  void RoundTrip(bool engineering = false) {
    StoreSelcallForm(image, info, LoadSelcallForm(image, info, kN), engineering);
  }
  TradioInfo info;
  EEPROM image;
};

struct IdentCase {
  uint8_t stored[4];
  const char* shown;
  const char* typed;  // the field after editing; null = unchanged
  uint8_t written[4];
};

class SelcallIdent : public ::testing::TestWithParam<IdentCase> {};

TEST_P(SelcallIdent, ShowsTheLastDigitsAndStoresThemPaddedWithZeros) {
  const IdentCase& c = GetParam();
  Radio r;
  for (int i = 0; i < 4; ++i) r.SetByte("Selcall Ident", c.stored[i], i);
  SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  EXPECT_EQ(form.ident, c.shown);
  if (c.typed) form.ident = c.typed;
  StoreSelcallForm(r.image, r.info, form, false);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Byte("Selcall Ident", i), c.written[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SelcallIdent,
    ::testing::Values(IdentCase{{0x00, 0x01, 0x23, 0x45}, "12345", nullptr, {0x00, 0x01, 0x23, 0x45}},
                      // The three digits not shown are not kept.
                      IdentCase{{0x98, 0x76, 0x54, 0x32}, "65432", nullptr, {0x00, 0x06, 0x54, 0x32}},
                      // An empty position is stored as digit 15.
                      IdentCase{{0x00, 0x01, 0x23, 0x45}, "12345", "12 45", {0x00, 0x01, 0x2F, 0x45}},
                      // Digits of 10 and up cannot be shown: blanks, stored as 15.
                      IdentCase{{0xFF, 0xFF, 0xFF, 0xFF}, "     ", nullptr, {0x00, 0x0F, 0xFF, 0xFF}},
                      IdentCase{{0x00, 0x01, 0xA3, 0x4B}, "1 34 ", nullptr, {0x00, 0x01, 0xF3, 0x4F}}));

TEST(SelcallIdentText, EmptyPositionsAreCounted) {
  EXPECT_EQ(EmptyIdentPositions("12345"), 0);
  EXPECT_EQ(EmptyIdentPositions("1 3  "), 3);
  EXPECT_EQ(StoredIdentText("12 45"), "00012 45");
  EXPECT_EQ(StoredIdentText("123456789"), "12345678");
}

// The ident as a user (or a batch job) types it, stored as the window's OK
// stores it.
struct TypedIdentCase {
  const char* typed;
  const char* positions;
  uint8_t written[4];
};

class RadioIdentTyped : public ::testing::TestWithParam<TypedIdentCase> {};

TEST_P(RadioIdentTyped, IsStoredRightAlignedAndReadBackAsShown) {
  const TypedIdentCase& c = GetParam();
  Radio r;
  const int name = r.Byte("Selcall Ident", 4);
  std::vector<uint8_t> expected = r.Bytes();
  for (int i = 0; i < 4; ++i) expected[r.At("Selcall Ident") + i] = c.written[i];
  EXPECT_EQ(RadioIdentPositions(c.typed), c.positions);
  ASSERT_TRUE(StoreRadioIdent(r.image, r.info, c.typed));
  EXPECT_EQ(r.Bytes(), expected);  // only the four ident bytes change
  EXPECT_EQ(r.Byte("Selcall Ident", 4), name);
  EXPECT_EQ(LoadRadioIdent(r.image, r.info), c.positions);
}

INSTANTIATE_TEST_SUITE_P(
    ShortFullAndEmpty, RadioIdentTyped,
    ::testing::Values(TypedIdentCase{"12345", "12345", {0x00, 0x01, 0x23, 0x45}},
                      TypedIdentCase{"123", "  123", {0x00, 0x0F, 0xF1, 0x23}},
                      TypedIdentCase{"9", "    9", {0x00, 0x0F, 0xFF, 0xF9}},
                      // The positions a mask leaves: empty ones after the digits.
                      TypedIdentCase{"123  ", "  123", {0x00, 0x0F, 0xF1, 0x23}},
                      TypedIdentCase{"1 3", "  1 3", {0x00, 0x0F, 0xF1, 0xF3}},
                      TypedIdentCase{"", "     ", {0x00, 0x0F, 0xFF, 0xFF}},
                      TypedIdentCase{"00000", "00000", {0x00, 0x00, 0x00, 0x00}}));

TEST(RadioIdentTyped, RefusesWhatIsNoIdentAndChangesNothing) {
  for (const char* typed : {"123456", "12a45", "1-2", "ABCDE", "12\n"}) {
    Radio r;
    const std::vector<uint8_t> before = r.Bytes();
    EXPECT_FALSE(IsRadioIdentText(typed)) << typed;
    EXPECT_FALSE(StoreRadioIdent(r.image, r.info, typed)) << typed;
    EXPECT_EQ(r.Bytes(), before) << typed;
  }
  Radio none;
  none.info.SelectModel(kNoProductId);
  const std::vector<uint8_t> before = none.Bytes();
  EXPECT_FALSE(StoreRadioIdent(none.image, none.info, "12345"));
  EXPECT_EQ(none.Bytes(), before);
  EXPECT_EQ(LoadRadioIdent(none.image, none.info), "");
}

TEST(RadioIdentTyped, TheWindowsFormStoresTheSameBytes) {
  for (const char* typed : {"47", "4712", "47129", " 4 7"}) {
    Radio byForm;
    Radio byIdent;
    SelcallForm form = LoadSelcallForm(byForm.image, byForm.info, kN);
    form.ident = RadioIdentPositions(typed);
    StoreSelcallForm(byForm.image, byForm.info, form, false);
    ASSERT_TRUE(StoreRadioIdent(byIdent.image, byIdent.info, typed));
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(byIdent.Byte("Selcall Ident", i), byForm.Byte("Selcall Ident", i)) << typed;
    }
  }
}

TEST(RadioIdentTyped, EmptyPositionsShowAsTheFTheyAreStoredAs) {
  EXPECT_EQ(IdentWithEmptyAsF("  123"), "FF123");
  EXPECT_EQ(IdentWithEmptyAsF("12345"), "12345");
}

TEST(RadioIdentTyped, TheSimulatedRadiosIdentIsWhereTheRadioKeepsIt) {
  for (const char* family : {"Merlo", "Pinto", "Dravo"}) {
    Radio r(family);
    MakeDefaultImage(BuildConfig::ForFamily(family, false).productId, r.image);
    EXPECT_EQ(LoadRadioIdent(r.image, r.info), "12345") << family;
    EXPECT_EQ(EmptyIdentPositions(LoadRadioIdent(r.image, r.info)), 0) << family;
  }
}

TEST(SelcallName, StoredAfterTheIdentDigits) {
  Radio r;
  SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  EXPECT_EQ(form.radioName, r.image.GetAlphaTag(r.At("Selcall Ident") + 4));
  form.radioName = "AB-1";
  StoreSelcallForm(r.image, r.info, form, false);
  EXPECT_EQ(r.image.GetAlphaTag(r.At("Selcall Ident") + 4), "AB-1");
}

TEST(SelcallName, KeyFilterCapitalisesAndRefusesPunctuation) {
  std::string typed;
  for (char c : std::string("ab-1 Z9!.,*_@a")) {
    if (char k = RadioNameKey(c)) typed += k;
  }
  EXPECT_EQ(typed, "AB-1 Z9A");
}

// Every field in its stored form, so a store without a change writes
// nothing new; what is left is the pattern the model's image holds.
void Canonical(Radio& r) {
  const uint8_t ident[] = {0x00, 0x04, 0x71, 0x29};
  for (int i = 0; i < 4; ++i) r.SetByte("Selcall Ident", ident[i], i);
  r.image.SetAlphaTag(r.At("Selcall Ident") + 4, "VAN-7");
  r.SetByte("Options-3", (r.Byte("Options-3") & 0xC0) | 0x18 | 0x01);
  r.SetByte("Selcall Alert Time", 12);
  r.SetByte("Lead Tone Length", 30);
  r.SetByte("Tone Length", 70);
}

struct FlagCase {
  SelcallFlag flag;
  const char* option;
  int bit;
};

class SelcallFlagBits : public ::testing::TestWithParam<FlagCase> {};

TEST_P(SelcallFlagBits, EachBoxOwnsOneBitOfItsOptionByte) {
  const FlagCase& c = GetParam();
  for (bool on : {true, false}) {
    Radio r;
    Canonical(r);
    // All zeros and all ones are both valid group-call codes in "Options-3".
    r.SetByte(c.option, on ? 0x00 : 0xFF);
    std::vector<uint8_t> expected = r.Bytes();
    expected[r.At(c.option)] = static_cast<uint8_t>(on ? (1 << c.bit) : (0xFF & ~(1 << c.bit)));
    SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
    EXPECT_EQ(GetSelcallFlag(form, c.flag), !on);
    SetSelcallFlag(form, c.flag, on);
    StoreSelcallForm(r.image, r.info, form, false);
    EXPECT_EQ(r.Bytes(), expected) << on;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SelcallFlagBits,
    ::testing::Values(FlagCase{SelcallFlag::kAppendAni, "Options-3", 6},
                      FlagCase{SelcallFlag::kLeadInTone, "Options-4", 1},
                      FlagCase{SelcallFlag::kAlertSlowBeeps, "Options-4", 2},
                      FlagCase{SelcallFlag::kBeepAcknowledge, "Options-4", 3},
                      FlagCase{SelcallFlag::kReenterQuiet, "Options-4", 4},
                      FlagCase{SelcallFlag::kUnmuteOnSelcall, "Options-4", 5},
                      FlagCase{SelcallFlag::kAlertIndividualCall, "Options-4", 6},
                      FlagCase{SelcallFlag::kAlertGroupCall, "Options-4", 7},
                      FlagCase{SelcallFlag::kUserModifyIdent, "Options-6", 1},
                      FlagCase{SelcallFlag::kUserModifyMemory, "Options-6", 2},
                      FlagCase{SelcallFlag::kLeadInDelay, "Options-6", 5}));

struct GroupCase {
  int options3;
  int receive;   // size loaded
  int transmit;
};

class SelcallGroupLoad : public ::testing::TestWithParam<GroupCase> {};

TEST_P(SelcallGroupLoad, TheHighestThermometerBitGivesTheSize) {
  const GroupCase& c = GetParam();
  Radio r;
  r.SetByte("Options-3", c.options3);
  const SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  EXPECT_EQ(form.rxGroupSize, c.receive);
  EXPECT_EQ(form.acceptGroupCalls, c.receive != kNoGroupSize);
  EXPECT_EQ(form.txGroupSize, c.transmit);
  EXPECT_EQ(form.sendGroupCalls, c.transmit != kNoGroupSize);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SelcallGroupLoad,
    ::testing::Values(GroupCase{0x00, kNoGroupSize, kNoGroupSize},
                      GroupCase{0x08 | 0x01, kGroupOf10, kGroupOf10},
                      GroupCase{0x18 | 0x03, kGroupOf100, kGroupOf100},
                      GroupCase{0x38 | 0x07, kGroupOf1000, kGroupOf1000},
                      GroupCase{0x28, kGroupOf1000, kNoGroupSize},
                      GroupCase{0x10 | 0x04 | 0x40, kGroupOf100, kGroupOf1000}));

TEST(SelcallGroups, AnOddCodeIsWrittenBackAsItsThermometerCode) {
  Radio r;
  r.SetByte("Options-3", 0x28);
  r.RoundTrip();
  EXPECT_EQ(r.Byte("Options-3"), 0x38);
}

TEST(SelcallGroups, OffClearsTheThreeBitsWhateverTheSize) {
  for (int size : {kGroupOf10, kGroupOf100, kGroupOf1000, kNoGroupSize}) {
    EXPECT_EQ(SetGroupSize(0xFF, GroupDirection::kReceive, false, size), 0xC7) << size;
    EXPECT_EQ(SetGroupSize(0xFF, GroupDirection::kTransmit, false, size), 0xF8) << size;
  }
  Radio r;
  r.SetByte("Options-3", 0x7F);
  SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  form.acceptGroupCalls = false;
  StoreSelcallForm(r.image, r.info, form, false);
  EXPECT_EQ(r.Byte("Options-3"), 0x47);
}

TEST(SelcallGroups, OnWritesTheSizesCodeAndWithoutASizeLeavesTheBits) {
  const int receive[] = {0x08, 0x18, 0x38};
  for (int size = kGroupOf10; size <= kGroupOf1000; ++size) {
    const uint8_t rx = SetGroupSize(0x40 | 0x20 | 0x02, GroupDirection::kReceive, true, size);
    EXPECT_EQ(rx, 0x40 | receive[size] | 0x02);
    EXPECT_EQ(SetGroupSize(rx, GroupDirection::kTransmit, true, size),
              0x40 | receive[size] | (receive[size] >> 3));
  }
  EXPECT_EQ(SetGroupSize(0x28, GroupDirection::kReceive, true, kNoGroupSize), 0x28);
}

struct LengthCase {
  int stored;
  int shownMs;
  int written;
};

class SelcallLeadIn : public ::testing::TestWithParam<LengthCase> {};

TEST_P(SelcallLeadIn, ReadAsOneTo200TensOfMilliseconds) {
  const LengthCase& c = GetParam();
  Radio r;
  r.SetByte("Lead Tone Length", c.stored);
  EXPECT_EQ(LoadSelcallForm(r.image, r.info, kN).leadInDelayMs, c.shownMs);
  r.RoundTrip();
  EXPECT_EQ(r.Byte("Lead Tone Length"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Limits, SelcallLeadIn,
                         ::testing::Values(LengthCase{0, 10, 1}, LengthCase{255, 2000, 200},
                                           LengthCase{15, 150, 15}, LengthCase{200, 2000, 200}));

TEST(SelcallAlert, TimeIsKeptToTwentyFiveSeconds) {
  Radio r;
  r.SetByte("Selcall Alert Time", 40);
  EXPECT_EQ(LoadSelcallForm(r.image, r.info, kN).alertDuration, 25);
  r.SetByte("Selcall Alert Time", 7);
  r.RoundTrip();
  EXPECT_EQ(r.Byte("Selcall Alert Time"), 7);
}

class SelcallTonePeriod : public ::testing::TestWithParam<LengthCase> {};

TEST_P(SelcallTonePeriod, UnlistedPeriodsShowFortyAndOnlyTheEngineeringBuildWrites) {
  const LengthCase& c = GetParam();
  Radio r;
  r.SetByte("Tone Length", c.stored);
  EXPECT_EQ(LoadSelcallForm(r.image, r.info, kN).tonePeriodMs, c.shownMs);
  SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  form.tonePeriodMs = 100;
  StoreSelcallForm(r.image, r.info, form, false);
  EXPECT_EQ(r.Byte("Tone Length"), c.stored);
  r.RoundTrip(true);
  EXPECT_EQ(r.Byte("Tone Length"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Periods, SelcallTonePeriod,
                         ::testing::Values(LengthCase{45, 40, 40}, LengthCase{20, 20, 20},
                                           LengthCase{30, 30, 30}, LengthCase{50, 50, 50},
                                           LengthCase{70, 70, 70}, LengthCase{100, 100, 100},
                                           LengthCase{0xFF, 40, 40}));

TEST(SelcallQuietMemory, CbChannelsAreBitsZeroTo79AndReceiveOnlyBytesStay) {
  Radio r;
  SelcallForm form = LoadSelcallForm(r.image, r.info, kN);
  for (int k = 0; k < kQuietMemChannels; ++k) {
    EXPECT_EQ(form.quiet[k], ((r.Byte("Quiet Mem", k / 8) >> (k % 8)) & 1) != 0) << k;
  }
  std::vector<uint8_t> rxOnly;
  for (int i = 10; i < 24; ++i) rxOnly.push_back(static_cast<uint8_t>(r.Byte("Quiet Mem", i)));
  form.quiet.fill(false);
  form.quiet[0] = form.quiet[9] = form.quiet[79] = true;
  StoreSelcallForm(r.image, r.info, form, false);
  EXPECT_EQ(r.Byte("Quiet Mem", 0), 0x01);
  EXPECT_EQ(r.Byte("Quiet Mem", 1), 0x02);
  for (int i = 2; i < 9; ++i) EXPECT_EQ(r.Byte("Quiet Mem", i), 0) << i;
  EXPECT_EQ(r.Byte("Quiet Mem", 9), 0x80);
  for (int i = 10; i < 24; ++i) EXPECT_EQ(r.Byte("Quiet Mem", i), rxOnly[i - 10]) << i;
}

class SelcallUnchanged : public ::testing::TestWithParam<const char*> {};

TEST_P(SelcallUnchanged, AStoreWithoutChangesWritesTheSameBytes) {
  for (bool engineering : {false, true}) {
    Radio r(GetParam());
    Canonical(r);
    const std::vector<uint8_t> before = r.Bytes();
    r.RoundTrip(engineering);
    EXPECT_EQ(r.Bytes(), before) << engineering;
  }
}

INSTANTIATE_TEST_SUITE_P(SelcallModels, SelcallUnchanged,
                         ::testing::Values("Merlo", "Pinto", "Dravo"));

TEST(SelcallModel, WithoutSelcallParametersNothingIsWritten) {
  Radio r;
  r.info.SelectModel(kNoProductId);  // the unknown model has no selcall fields
  const std::vector<uint8_t> before = r.Bytes();
  SelcallForm form;
  form.ident = "12345";
  StoreSelcallForm(r.image, r.info, form, true);
  EXPECT_EQ(r.Bytes(), before);
}

}  // namespace
