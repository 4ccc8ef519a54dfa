// The scan and duplex settings on image bytes: what each model reads, the
// priority channel rules, and that OK changes only the scan window's bits.
#include "scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "buildconfig.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "rxbank.h"
#include "param_by_name.h"

namespace {

struct ScanImage {
  explicit ScanImage(const char* family, int majorVersion = -1)
      : build(BuildConfig::ForFamily(family, false)) {
    info.SelectModel(build.productId);
    features = ScanFeaturesFor(build.productId, majorVersion);
    for (int a = 0; a < kImageSize; ++a) image.SetByte(a, (a * 37 + 11) & 0xFF);
    Set("Pri Channel", 7);
    Set("Pri Chk Rate", 4);
    Set("Scan Skip Time", 12);
    Set("Scan Memory", 1);
  }
  int Address(const char* name) const { return info.GetParamAddress(ParamByName(name)); }
  void Set(const char* name, int value) {
    if (Address(name) >= 0) image.SetByte(Address(name), value);
  }
  int Get(const char* name) const { return image.GetByte(Address(name)); }
  ScanSettings Load() const {
    return LoadScan(image, info, features, CurrentRxBank(image, info, build));
  }
  void Store(const ScanSettings& s) { StoreScan(image, info, features, s); }
  // Receive-only channel `channel` of `bank` holds a frequency (or not).
  void SetRx(int bank, int channel, int word) {
    image.SetWord(Address("Rx-only Channels") + 6 * (bank * 20 + channel - 81), word);
  }
  BuildConfig build;
  TradioInfo info;
  ScanFeatures features;
  EEPROM image;
};

bool Same(const EEPROM& a, const EEPROM& b) {
  return std::equal(a.Data(), a.Data() + kImageSize, b.Data());
}

TEST(ScanFeatures, FollowTheModelAndTheFirmware) {
  const ScanFeatures kestal = ScanFeaturesFor(kProductKestal, -1);
  EXPECT_TRUE(kestal.netScan && kestal.scanSkipTime);
  EXPECT_FALSE(kestal.userScanOptions || kestal.scanMemorySelect);
  const ScanFeatures tamso = ScanFeaturesFor(kProductTamso, -1);
  EXPECT_TRUE(tamso.userScanOptions && tamso.scanMemorySelect);
  const ScanFeatures merlo = ScanFeaturesFor(kProductMerlo, -1);
  EXPECT_TRUE(merlo.userScanOptions && !merlo.scanMemorySelect);
  EXPECT_FALSE(ScanFeaturesFor(kProductSorel, -1).netScan);
  EXPECT_FALSE(ScanFeaturesFor(kProductDravo, 1).netScan);
  EXPECT_TRUE(ScanFeaturesFor(kProductDravo, 2).netScan);
}

// Load then store without a change, on a patterned image with valid values.
class ScanRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(ScanRoundTrip, ChangesNoByte) {
  ScanImage m(GetParam());
  const EEPROM before = m.image;
  m.Store(m.Load());
  EXPECT_TRUE(Same(m.image, before));
}

INSTANTIATE_TEST_SUITE_P(Models, ScanRoundTrip,
                         ::testing::Values("Kestal", "Merlo", "Tamso", "Sorel", "Dravo", "Pinto",
                                           "KestalBT"));

struct PriorityCase {
  const char* family;
  int bankByte;
  int stored;
  std::vector<int> rxPresent;  // channels of the shown bank that hold a frequency
  const char* shown;           // nullptr: no entry selected
  int written;
};

class PriorityChannel : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(PriorityChannel, SelectsAndWrites) {
  const PriorityCase& c = GetParam();
  ScanImage m(c.family);
  m.Set("Rx Bank", c.bankByte);
  const int bank = CurrentRxBank(m.image, m.info, m.build);
  if (m.Address("Rx-only Channels") >= 0) {
    for (int b = 0; b < 5; ++b)
      for (int ch = 81; ch <= 100; ++ch) m.SetRx(b, ch, (ch + b) % 2 ? 0 : 0xFFFF);
    for (int ch : c.rxPresent) m.SetRx(bank, ch, 38000);
  }
  m.Set("Pri Channel", c.stored);
  const ScanSettings s = m.Load();
  const auto listed =
      std::count_if(c.rxPresent.begin(), c.rxPresent.end(), [](int ch) { return ch <= 99; });
  ASSERT_EQ(s.priorityEntries.size(), 80u + listed);
  if (c.shown == nullptr) {
    EXPECT_EQ(s.priorityIndex, -1);
  } else {
    ASSERT_GE(s.priorityIndex, 0);
    EXPECT_EQ(s.priorityEntries[s.priorityIndex].text, c.shown);
  }
  m.Store(s);
  EXPECT_EQ(m.Get("Pri Channel"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PriorityChannel,
    ::testing::Values(PriorityCase{"Kestal", 0, 0, {}, "CB 01", 1},
                      PriorityCase{"Kestal", 0, 200, {}, "CB 01", 1},
                      PriorityCase{"Kestal", 0, 80, {}, "CB 80", 80},
                      PriorityCase{"Kestal", 0, 85, {}, "CB 01", 1},
                      PriorityCase{"Kestal", 0, 85, {85}, "RX 85", 85},
                      PriorityCase{"Merlo", 2, 99, {81, 99}, "RX 99", 99},
                      PriorityCase{"Merlo", 2, 85, {}, "CB 01", 1},
                      // The Kestal has no banks: bank 0 whatever the byte says.
                      PriorityCase{"Kestal", 2, 83, {83}, "RX 83", 83},
                      // Beyond the listed channels: kept while its record holds one.
                      PriorityCase{"Kestal", 0, 180, {180}, nullptr, 180},
                      PriorityCase{"Kestal", 0, 120, {}, "CB 01", 1},
                      PriorityCase{"Merlo", 4, 101, {}, "CB 01", 1},  // record 100 is none
                      PriorityCase{"Tamso", 0, 85, {}, "CB 01", 1}));

TEST(ScanSettings, ClampsTheCheckRateAndReadsErasedSkipTimeAs30Seconds) {
  ScanImage m("Kestal");
  m.Set("Pri Chk Rate", 0);
  m.Set("Scan Skip Time", 0xFF);
  ScanSettings s = m.Load();
  EXPECT_EQ(s.priCheckRate, 1);
  EXPECT_EQ(s.scanSkipSeconds, 30);
  m.Store(s);
  EXPECT_EQ(m.Get("Pri Chk Rate"), 1);
  EXPECT_EQ(m.Get("Scan Skip Time"), 3);
  m.Set("Pri Chk Rate", 200);
  EXPECT_EQ(m.Load().priCheckRate, 10);
}

TEST(ScanSettings, StatusBitsChooseTheScanMemoryWithoutScanMemorySelect) {
  ScanImage m("Merlo");
  m.Set("Status", 0x28 | 0x81);
  ScanSettings s = m.Load();
  EXPECT_EQ(s.scanMemory, 1);  // bit 3 wins
  s.scanMemory = 0;
  m.Store(s);
  EXPECT_EQ(m.Get("Status"), 0x81);
  s.scanMemory = 2;
  m.Store(s);
  EXPECT_EQ(m.Get("Status"), 0x81 | 0x20);
  s.scanMemory = -1;
  m.Store(s);
  EXPECT_EQ(m.Get("Status"), 0x81);
}

TEST(ScanSettings, ScanMemoryByteWithScanMemorySelect) {
  ScanImage m("Tamso");
  m.Set("Status", 0x28);
  m.Set("Scan Memory", 0xFF);
  ScanSettings s = m.Load();
  EXPECT_EQ(s.scanMemory, -1);
  m.Store(s);
  EXPECT_EQ(m.Get("Scan Memory"), 0xFF);
  EXPECT_EQ(m.Get("Status"), 0x28);  // the flag bits are not the Tamso's
  s.scanMemory = 2;
  m.Store(s);
  EXPECT_EQ(m.Get("Scan Memory"), 2);
}

TEST(ScanSettings, OnlyTheWindowsOwnBitsAndChannelsChange) {
  ScanImage m("Kestal");
  const EEPROM before = m.image;
  ScanSettings s = m.Load();
  s.members[0].fill(true);
  s.members[1].fill(false);
  s.members[2][10] = !s.members[2][10];
  s.duplex.fill(true);
  s.groupScan1 = !s.groupScan1;
  s.threeBeep = !s.threeBeep;
  s.userModNetScan = !s.userModNetScan;  // no user scan options on the Kestal
  s.scanMemory = 2;
  m.Store(s);
  for (const char* name :
       {"Status", "Options-1", "Options-3", "Options-4", "Options-5", "Options-6"})
    EXPECT_EQ(m.Get(name), before.GetByte(m.Address(name))) << name;
  EXPECT_EQ(m.Get("Options-2") ^ before.GetByte(m.Address("Options-2")), 0x21);
  EXPECT_EQ(m.Get("Duplex"), 0xFF);
  EXPECT_EQ(m.Get("Duplex-80"), 0xFF);
  const int mem0 = m.Address("Scan Mem 0"), mem1 = m.Address("Scan Mem 1");
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(m.image.GetByte(mem0 + i), 0xFF);
    EXPECT_EQ(m.image.GetByte(mem1 + i), 0x00);
  }
  for (int i = 10; i < 24; ++i) {  // the receive-only part
    EXPECT_EQ(m.image.GetByte(mem0 + i), before.GetByte(mem0 + i));
    EXPECT_EQ(m.image.GetByte(mem1 + i), before.GetByte(mem1 + i));
  }
  const int mem2 = m.Address("Scan Mem 2");
  EXPECT_EQ(m.image.GetByte(mem2 + 1) ^ before.GetByte(mem2 + 1), 0x04);
}

TEST(ScanSettings, WithoutNetScanTheNetScanMemoryIsNeitherReadNorWritten) {
  ScanImage m("Sorel");
  const int mem2 = m.Address("Scan Mem 2");
  ScanSettings s = m.Load();
  EXPECT_EQ(std::count(s.members[2].begin(), s.members[2].end(), true), 0);
  s.members[2].fill(true);
  m.Store(s);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(m.image.GetByte(mem2 + i), ((mem2 + i) * 37 + 11) & 0xFF);
}

struct SkipCase {
  const char* text;
  bool entered;  // Enter takes it
  int enterSeconds;
  bool position;  // the up-down takes it on OK
  int positionSeconds;
};

class ScanSkipText : public ::testing::TestWithParam<SkipCase> {};

TEST_P(ScanSkipText, EnterRoundsAndLimitsWhileOkTakesOnlyInRangeWholeNumbers) {
  const SkipCase& c = GetParam();
  int seconds = -1;
  EXPECT_EQ(EnterScanSkipText(c.text, seconds), c.entered);
  if (c.entered) {
    EXPECT_EQ(seconds, c.enterSeconds);
  }
  seconds = -1;
  EXPECT_EQ(ScanSkipPositionFromText(c.text, seconds), c.position);
  if (c.position) {
    EXPECT_EQ(seconds, c.positionSeconds);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanSkipText,
                         ::testing::Values(SkipCase{"1234", true, 1230, true, 1234},
                                           SkipCase{"3000", true, 2540, false, 0},
                                           SkipCase{"2536", true, 2540, true, 2536},
                                           SkipCase{"", true, 0, false, 0},
                                           SkipCase{"12.5", false, 0, false, 0}));

}  // namespace
