// The radio options window's values on image bytes: signed gains, the
// contrast shown upside down, the minimum volume rules, display entries,
// the wireless remote key pairs, option bits, and the fields a model's
// hidden or disabled controls leave alone.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <ostream>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "options.h"
#include "radioinfo.h"
#include "param_by_name.h"

namespace {

struct Model {
  explicit Model(const char* family)
      : build(BuildConfig::ForFamily(family, false)), features(OptionsFeatures::For(build.productId)) {
    info.SelectModel(build.productId);
  }
  int Address(const char* name) const { return info.GetParamAddress(ParamByName(name)); }
  int Byte(const char* name) const { return image.GetByte(Address(name)); }
  void Put(const char* name, int value) { image.SetByte(Address(name), value); }
  OptionsValues Load() const { return LoadOptions(image, info, features); }
  void Store(const OptionsValues& v) { StoreOptions(v, image, info, features); }
  std::vector<uint8_t> Bytes() const { return {image.Data(), image.Data() + image.GetLength()}; }

  BuildConfig build;
  OptionsFeatures features;
  TradioInfo info;
  EEPROM image;
};

const char* const kAllFamilies[] = {"Merlo", "Kestal", "Pinto", "Dravo", "Sorel", "Tamso",
                                    "KestalBT"};

// --- microphone gains ---------------------------------------------------

struct GainCase {
  const char* family;
  const char* param;
  int OptionsValues::*field;
  int stored;
  int shown;
};
void PrintTo(const GainCase& c, std::ostream* os) {
  *os << c.family << "_";
  for (const char* p = c.param; *p; ++p)
    if (*p != ' ') *os << *p;
  *os << "_" << c.stored;
}

class MicGain : public ::testing::TestWithParam<GainCase> {};

TEST_P(MicGain, IsASignedByteShownAsZeroOutsideItsRange) {
  const GainCase& c = GetParam();
  Model m(c.family);
  m.Put(c.param, c.stored);
  OptionsValues v = m.Load();
  EXPECT_EQ(v.*c.field, c.shown);
  v.*c.field = -12;
  m.Store(v);
  EXPECT_EQ(m.Byte(c.param), 0xF4);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, MicGain,
    ::testing::Values(GainCase{"Kestal", "Mic Gain", &OptionsValues::micGain, 0xF4, -12},
                      GainCase{"Kestal", "Mic Gain", &OptionsValues::micGain, 0x1F, 0},
                      GainCase{"Kestal", "Mic Gain", &OptionsValues::micGain, 0x1E, 30},
                      GainCase{"Kestal", "Mic Gain", &OptionsValues::micGain, 0xF3, 0},
                      GainCase{"Pinto", "Mic Gain Rear", &OptionsValues::micGainRear, 0xFF, -1},
                      GainCase{"Dravo", "Wireless Mic Gain", &OptionsValues::wpttMicGain, 0x80, 0},
                      GainCase{"Dravo", "Wireless Mic Gain", &OptionsValues::wpttMicGain, 6, 6}));

// --- LCD contrast -------------------------------------------------------

struct ContrastCase {
  const char* family;
  int stored;
  int shown;
  int written;
};
void PrintTo(const ContrastCase& c, std::ostream* os) { *os << c.family << "_" << c.stored; }

class Contrast : public ::testing::TestWithParam<ContrastCase> {};

TEST_P(Contrast, IsShownAsNineMinusTheByte) {
  const ContrastCase& c = GetParam();
  Model m(c.family);
  ASSERT_TRUE(m.features.lcdContrast);
  m.Put("LCD Contrast", c.stored);
  const OptionsValues v = m.Load();
  EXPECT_EQ(v.lcdContrast, c.shown);
  m.Store(v);
  EXPECT_EQ(m.Byte("LCD Contrast"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Contrast,
                         ::testing::Values(ContrastCase{"Dravo", 0, 9, 0},
                                           ContrastCase{"Dravo", 0xFF, 4, 5},
                                           ContrastCase{"Pinto", 8, 1, 8},
                                           ContrastCase{"Pinto", 9, 4, 5},
                                           ContrastCase{"Dravo", 3, 6, 3}));

TEST(Contrast, IsNotWrittenWhereTheModelHasNone) {
  Model m("Kestal");
  EXPECT_FALSE(m.features.lcdContrast);
  const std::vector<uint8_t> before = m.Bytes();
  OptionsValues v = m.Load();
  v.lcdContrast = 2;
  m.Store(v);
  // The Kestal has no contrast byte; byte 62 belongs to something else.
  EXPECT_EQ(m.image.GetByte(62), before[62]);
}

TEST(Contrast, TheImmediateWriteGoesToTheModelsContrastByte) {
  TradioInfo pinto;
  pinto.SelectModel(kProductPinto);
  const struct {
    int shown, value;
  } cases[] = {{1, 8}, {9, 0}, {4, 5}, {0, 8}, {10, 0}, {-3, 8}};  // held to 1..9
  for (const auto& c : cases) {
    const ContrastWrite w = ContrastWriteOf(pinto, c.shown);
    EXPECT_EQ(w.address, 62) << c.shown;
    EXPECT_EQ(w.value, c.value) << c.shown;
  }
  EXPECT_EQ(LcdContrastAddress(pinto), 62);

  TradioInfo kestal;
  kestal.SelectModel(kProductKestal);
  EXPECT_EQ(ContrastWriteOf(kestal, 5).address, -1);
  EXPECT_EQ(LcdContrastAddress(kestal), -1);
}

// --- minimum volume -----------------------------------------------------

struct MinVolumeCase {
  const char* family;
  bool zeroAllowed;  // "Options-6" bit 7
  int stored;
  int shown;
  int floor;
  int written;  // after OK without changes
};
void PrintTo(const MinVolumeCase& c, std::ostream* os) {
  *os << c.family << (c.zeroAllowed ? "_zero_" : "_") << c.stored;
}

class MinVolume : public ::testing::TestWithParam<MinVolumeCase> {};

TEST_P(MinVolume, FollowsTheModelsZeroRule) {
  const MinVolumeCase& c = GetParam();
  Model m(c.family);
  m.Put("Options-6", c.zeroAllowed ? 0x80 : 0x00);
  m.Put("ADC Vol Min", c.stored);
  const OptionsValues v = m.Load();
  EXPECT_EQ(v.minVolume, c.shown);
  EXPECT_EQ(MinVolumeFloor(m.features, v.allowZeroMinVol), c.floor);
  m.Store(v);
  EXPECT_EQ(m.Byte("ADC Vol Min"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, MinVolume,
    ::testing::Values(
        // Shown one above the byte.
        MinVolumeCase{"Kestal", false, 0, 1, 1, 0}, MinVolumeCase{"Kestal", false, 10, 4, 1, 3},
        MinVolumeCase{"Kestal", false, 5, 6, 1, 5},
        // Bit 7 means nothing here: zero is never offered, so the byte
        // never goes below 0.
        MinVolumeCase{"Kestal", true, 0, 1, 1, 0},
        // Shown as stored, zero only while allowed.
        MinVolumeCase{"Tamso", false, 0, 1, 1, 1}, MinVolumeCase{"Tamso", true, 0, 0, 0, 0},
        MinVolumeCase{"Tamso", true, 10, 3, 0, 3}, MinVolumeCase{"Tamso", false, 9, 9, 1, 9}));

TEST(MinVolume, ZeroIsRefusedOnAModelThatCannotTurnTheVolumeOff) {
  Model m("Kestal");
  m.Put("Options-6", 0x80);
  OptionsValues v = m.Load();
  v.minVolume = 0;
  m.Store(v);
  EXPECT_EQ(m.Byte("ADC Vol Min"), 0) << "stored one below the shown floor of 1, never 0xFF";
}

// --- display entries ----------------------------------------------------

TEST(DisplayOptions, OutOfRangeBytesSelectTheFirstEntry) {
  struct Case {
    int cb, rxOnly, shownCb, shownRxOnly;
  };
  for (const Case c : {Case{5, 3, kDispSMeter, kDispAlpha}, Case{2, 4, kDispBatt, kDispSMeter},
                       Case{0xFF, 0xFF, kDispSMeter, kDispSMeter}, Case{1, 1, 1, 1}}) {
    Model m("Kestal");
    m.Put("CB Disp Options", c.cb);
    m.Put("Rx-only Disp Options", c.rxOnly);
    const OptionsValues v = m.Load();
    EXPECT_EQ(v.cbDisplay, c.shownCb) << c.cb;
    EXPECT_EQ(v.rxOnlyDisplay, c.shownRxOnly) << c.rxOnly;
    m.Store(v);
    EXPECT_EQ(m.Byte("CB Disp Options"), c.shownCb);
    EXPECT_EQ(m.Byte("Rx-only Disp Options"), c.shownRxOnly);
  }
}

// --- wireless remote ----------------------------------------------------

struct KeyCase {
  int func1, func2;
  int shown;
  int written1, written2;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.func1 << "_" << c.func2; }

class KeyPairs : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPairs, AreDownUpUnlessScanPri) {
  const KeyCase& c = GetParam();
  Model m("Kestal");
  m.Put("Wireless Remote Key Func1", c.func1);
  m.Put("Wireless Remote Key Func2", c.func2);
  const OptionsValues v = m.Load();
  EXPECT_EQ(v.keyFunctions, c.shown);
  m.Store(v);
  EXPECT_EQ(m.Byte("Wireless Remote Key Func1"), c.written1);
  EXPECT_EQ(m.Byte("Wireless Remote Key Func2"), c.written2);
}

INSTANTIATE_TEST_SUITE_P(Bytes, KeyPairs,
                         ::testing::Values(KeyCase{16, 15, kKeysDownUp, 16, 15},
                                           KeyCase{5, 4, kKeysScanPri, 5, 4},
                                           KeyCase{1, 2, kKeysDownUp, 16, 15},
                                           KeyCase{5, 15, kKeysDownUp, 16, 15}));

TEST(WirelessRemote, PttMicIsFrontOnlyForOne) {
  for (const int stored : {0, 1, 2, 0xFF}) {
    Model m("KestalBT");
    m.Put("Wireless PTT Mic Sel", stored);
    const OptionsValues v = m.Load();
    EXPECT_EQ(v.wpttMicSel, stored == 1 ? kPttMicFront : kPttMicRear) << stored;
    m.Store(v);
    EXPECT_EQ(m.Byte("Wireless PTT Mic Sel"), stored == 1 ? 1 : 2) << stored;
  }
}

// --- option bits and "Status" ----------------------------------------------

struct BitCase {
  const char* family;
  bool OptionsValues::*field;
  const char* byte;
  int bit;
  bool inverted;
};
void PrintTo(const BitCase& c, std::ostream* os) {
  *os << c.family << "_" << std::string(c.byte).back() << "_" << c.bit;
}

class OptionBits : public ::testing::TestWithParam<BitCase> {};

TEST_P(OptionBits, EachBoxOwnsOneBitOfItsByte) {
  const BitCase& c = GetParam();
  for (const int stored : {0x00, 0xFF}) {
    Model m(c.family);
    m.Put(c.byte, stored);
    OptionsValues v = m.Load();
    const bool bitSet = stored != 0;
    EXPECT_EQ(v.*c.field, bitSet != c.inverted) << c.byte << " bit " << c.bit;
    v.*c.field = !(v.*c.field);
    m.Store(v);
    EXPECT_EQ(m.Byte(c.byte), stored ^ (1 << c.bit)) << c.byte << " bit " << c.bit;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, OptionBits,
    ::testing::Values(BitCase{"Kestal", &OptionsValues::ptt22_23, "Options-2", 2, true},
                      BitCase{"Tamso", &OptionsValues::allowRxAudioMute, "Options-6", 6, false},
                      BitCase{"Tamso", &OptionsValues::allowZeroMinVol, "Options-6", 7, false},
                      BitCase{"Kestal", &OptionsValues::dvc, "Options-1", 2, true},
                      BitCase{"Kestal", &OptionsValues::narrowband, "Options-1", 5, false},
                      BitCase{"Kestal", &OptionsValues::busyLockout, "Options-5", 5, false},
                      BitCase{"Dravo", &OptionsValues::scrambler, "Options-1", 4, true},
                      BitCase{"Kestal", &OptionsValues::sqlTailMute, "Options-2", 3, true}));

TEST(OptionBits, ThePintoNeverChangesBitFiveOfOptionsOne) {
  for (const int stored : {0x00, 0x20, 0xDF, 0xFF}) {
    for (const bool ticked : {false, true}) {
      Model pinto("Pinto");
      pinto.Put("Options-1", stored);
      OptionsValues v = pinto.Load();
      v.narrowband = ticked;
      pinto.Store(v);
      EXPECT_EQ(pinto.Byte("Options-1") & 0x20, stored & 0x20) << stored << " " << ticked;
    }
  }
}

TEST(Status, SurvivesApartFromTheAlphaBit) {
  for (const int stored : {0x00, 0x40, 0xA5, 0xFF}) {
    Model merlo("Merlo");
    ASSERT_TRUE(merlo.features.displayMode);
    merlo.Put("Status", stored);
    OptionsValues v = merlo.Load();
    EXPECT_EQ(v.alphaMode, (stored & 0x40) != 0);
    v.alphaMode = !v.alphaMode;
    merlo.Store(v);
    EXPECT_EQ(merlo.Byte("Status"), stored ^ 0x40) << stored;

    Model kestal("Kestal");  // no display mode: "Status" is written back as it was
    kestal.Put("Status", stored);
    v = kestal.Load();
    v.alphaMode = !(stored & 0x40);
    kestal.Store(v);
    EXPECT_EQ(kestal.Byte("Status"), stored) << stored;
  }
}

// --- fields of hidden or disabled controls ----------------------------------

TEST(HiddenControls, KeepTheStoredValues) {
  Model sorel("Sorel");  // no rear mic, wireless remote, zero volume or scrambler
  const OptionsFeatures& f = sorel.features;
  ASSERT_FALSE(f.rearMic || f.wirelessRemote || f.zeroMinVolume || f.scrambler);
  sorel.Put("Mic Gain Rear", 0x55);
  sorel.Put("Wireless PTT Mic Sel", 7);
  sorel.Put("Wireless Mic Gain", 0x66);
  sorel.Put("Wireless Remote Key Func1", 1);
  sorel.Put("Wireless Remote Key Func2", 2);
  sorel.Put("Options-6", 0x40);
  sorel.Put("Options-1", 0x00);
  OptionsValues v = sorel.Load();
  v.micGainRear = 3;
  v.wpttMicSel = kPttMicFront;
  v.wpttMicGain = 4;
  v.keyFunctions = kKeysScanPri;
  v.allowRxAudioMute = false;
  v.allowZeroMinVol = true;
  v.scrambler = false;
  sorel.Store(v);
  EXPECT_EQ(sorel.Byte("Mic Gain Rear"), 0x55);
  EXPECT_EQ(sorel.Byte("Wireless PTT Mic Sel"), 7);
  EXPECT_EQ(sorel.Byte("Wireless Mic Gain"), 0x66);
  EXPECT_EQ(sorel.Byte("Wireless Remote Key Func1"), 1);
  EXPECT_EQ(sorel.Byte("Wireless Remote Key Func2"), 2);
  EXPECT_EQ(sorel.Byte("Options-6"), 0x40);
  EXPECT_EQ(sorel.Byte("Options-1") & 0x10, 0);
}

TEST(Features, FollowTheModelTable) {
  const OptionsFeatures kestal = OptionsFeatures::For(kProductKestal);
  EXPECT_TRUE(kestal.rearMic && kestal.wirelessRemote && kestal.rxOnlyDisplay && kestal.narrowband);
  EXPECT_FALSE(kestal.lcdContrast || kestal.zeroMinVolume || kestal.displayMode || kestal.scrambler);
  const OptionsFeatures pinto = OptionsFeatures::For(kProductPinto);
  EXPECT_TRUE(pinto.rearMic && pinto.intExtMic && pinto.displayMode && pinto.lcdContrast);
  EXPECT_FALSE(pinto.narrowband || pinto.wirelessRemote);
  const OptionsFeatures tamso = OptionsFeatures::For(kProductTamso);
  EXPECT_TRUE(tamso.zeroMinVolume);
  EXPECT_FALSE(tamso.rearMic || tamso.rxOnlyDisplay || tamso.displayMode || tamso.lcdContrast);
}

// --- OK without changes -------------------------------------------------

// Every field the window may write on some model.
const char* const kWindowFields[] = {
    "Status", "Options-1", "Options-2", "Options-3", "Options-4", "Options-5", "Options-6",
    "Options-7", "Options-8", "Tx Timeout", "CB Disp Options", "Rx-only Disp Options",
    "LCD Contrast", "Mic Gain", "Mic Gain Rear", "Wireless Mic Gain", "ADC Vol Min", "Beep Vol",
    "Wireless PTT Mic Sel", "Wireless Remote Key Func1", "Wireless Remote Key Func2"};

class UnchangedOk : public ::testing::TestWithParam<const char*> {};

TEST_P(UnchangedOk, OnlySettlesOutOfRangeValuesAndThenChangesNothing) {
  Model m(GetParam());
  std::mt19937 rng(0x5A);
  std::vector<uint8_t> random(kImageSize);
  for (uint8_t& b : random) b = static_cast<uint8_t>(rng());
  m.image.WriteBlock(0, random.data(), kImageSize);

  m.Store(m.Load());
  std::set<int> windowAddresses;
  for (const char* name : kWindowFields) windowAddresses.insert(m.Address(name));
  const std::vector<uint8_t> settled = m.Bytes();
  for (int a = 0; a < kImageSize; ++a) {
    if (!windowAddresses.count(a)) {
      EXPECT_EQ(settled[a], random[a]) << "address " << a;
    }
  }
  // The copied bytes come back whole.
  for (const char* name :
       {"Status", "Options-1", "Options-2", "Options-5", "Options-6", "Options-8"}) {
    EXPECT_EQ(m.Byte(name), random[m.Address(name)]) << name;
  }

  m.Store(m.Load());
  EXPECT_EQ(m.Bytes(), settled);
}

INSTANTIATE_TEST_SUITE_P(Models, UnchangedOk, ::testing::ValuesIn(kAllFamilies));

}  // namespace
