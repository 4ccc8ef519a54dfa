// The subtone settings on the image bytes: what showing reads, what OK
// writes, and which silent-memory boxes can change.
#include <gtest/gtest.h>

#include "buildconfig.h"
#include "ctcss.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

// Addresses shared by every model but the Dravo's NetScan tone.
constexpr int kOptions5 = 38;
constexpr int kOptions9 = 42;
constexpr int kTx = 56;
constexpr int kRx = 57;
constexpr int kSilentMem = 200;

struct Rig {
  explicit Rig(const char* family, int majorVersion = -1)
      : build(BuildConfig::ForFamily(family, false)),
        model(CtcssModel::Of(build.productId, majorVersion)) {
    info.SelectModel(build.productId);
    for (int a = 2; a < kImageSize; ++a) image.SetByte(a, (a * 7) & 0xFF);
  }
  int NetScanAddress() const { return info.GetParamAddress("Netscan Ctcss Tone"); }
  CtcssSettings Load() const { return LoadCtcss(image, info, model); }
  void Store(const CtcssSettings& s) { StoreCtcss(image, info, model, s); }

  BuildConfig build;
  CtcssModel model;
  TradioInfo info;
  EEPROM image;
};

TEST(CtcssModel, DravoFirmware1LacksTheExtendedSetAndNetScan) {
  const struct {
    uint32_t product;
    int major;
    bool extended, netScan, alwaysOn;
  } cases[] = {{kProductDravo, -1, false, false, false}, {kProductDravo, 1, false, false, false},
               {kProductDravo, 2, true, true, false},    {kProductKestal, -1, false, true, false},
               {kProductPinto, 1, true, true, true},     {kProductSorel, 3, false, false, false}};
  for (const auto& c : cases) {
    const CtcssModel m = CtcssModel::Of(c.product, c.major);
    EXPECT_EQ(m.hasExtendedCtcss, c.extended) << std::hex << c.product << " v" << c.major;
    EXPECT_EQ(m.hasNetScan, c.netScan) << std::hex << c.product << " v" << c.major;
    EXPECT_EQ(m.alwaysEnabled, c.alwaysOn) << std::hex << c.product;
  }
}

TEST(LoadCtcss, ReadsEachBoxFromItsBit) {
  Rig r("Kestal");
  // Bits 0 and 5 set, bit 2 clear (on duplex channels), 50-tone order.
  r.image.SetByte(kOptions5, 0x80 | 0x20 | 0x01);
  r.image.SetByte(kOptions9, 0x02);  // reverse phase key on, silent tail off
  r.image.SetByte(kTx, 39);
  r.image.SetByte(r.NetScanAddress(), 154);
  for (int i = 0; i < kChannelBitArraySize; ++i) r.image.SetByte(kSilentMem + i, 0);
  r.image.SetByte(kSilentMem + 0, 0x01);  // channel 1
  r.image.SetByte(kSilentMem + 9, 0x80);  // channel 80
  r.image.SetByte(kSilentMem + 10, 0xFF); // a receive-only channel's bits

  const CtcssSettings s = r.Load();
  EXPECT_FALSE(s.extendedOrder);
  EXPECT_EQ(s.ListOrder(), ToneOrder::Fifty);
  EXPECT_TRUE(s.enabled);
  EXPECT_TRUE(s.ctcssOnDuplex);
  EXPECT_FALSE(s.narrowBand);
  EXPECT_TRUE(s.busyLockout);
  EXPECT_FALSE(s.busyLockoutOverride);
  EXPECT_TRUE(s.reversePhaseKey);
  EXPECT_FALSE(s.silentTail);
  EXPECT_FALSE(s.set38);
  EXPECT_EQ(s.tx.entry, 39);
  EXPECT_EQ(s.netScan.entry, 154);
  for (int k = 0; k < kSilentChannels; ++k)
    EXPECT_EQ(s.silent[k], k == 0 || k == 79) << "channel " << k + 1;
}

TEST(StoreCtcss, WritesTxAndRxWithTheSameCode) {
  Rig r("Kestal");
  r.image.SetByte(kOptions5, 0xC0);  // 38-tone order
  r.image.SetByte(kRx, 7);
  CtcssSettings s = r.Load();
  s.tx.entry = 142;
  s.netScan.entry = 39;
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(kTx), 154);
  EXPECT_EQ(r.image.GetByte(kRx), 154);
  EXPECT_EQ(r.image.GetByte(r.NetScanAddress()), 51);
}

TEST(StoreCtcss, SetsTheBitsOfTheBoxesAndKeepsTheOthers) {
  Rig r("Kestal");
  r.image.SetByte(kOptions5, 0x80 | 0x02);  // 50 tones, channels 5/35 locked
  r.image.SetByte(kOptions9, 0xF0);
  const EEPROM before = r.image;
  CtcssSettings s = r.Load();
  s.enabled = true;
  s.ctcssOnDuplex = false;
  s.narrowBand = true;
  s.busyLockout = true;
  s.busyLockoutOverride = true;
  s.set38 = true;
  s.reversePhaseKey = false;
  s.silentTail = false;
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(kOptions5), 0xFF);
  EXPECT_EQ(r.image.GetByte(kOptions9), 0xF3);
  for (int i : {34, 35, 36, 37, 39, 40, 41}) EXPECT_EQ(r.image.GetByte(i), before.GetByte(i)) << i;
}

TEST(StoreCtcss, SilentMemoryKeepsTheReceiveOnlyBytes) {
  Rig r("Kestal");
  const EEPROM before = r.image;
  CtcssSettings s = r.Load();
  s.silent.fill(true);
  r.Store(s);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(r.image.GetByte(kSilentMem + i), 0xFF) << i;
  for (int i = 10; i < kChannelBitArraySize; ++i)
    EXPECT_EQ(r.image.GetByte(kSilentMem + i), before.GetByte(kSilentMem + i)) << i;
  s.silent.fill(false);
  s.silent[40] = true;  // channel 41
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(kSilentMem + 5), 0x01);
  EXPECT_EQ(r.image.GetByte(kSilentMem + 4), 0x00);
}

struct Bit7Case {
  const char* family;
  int major;
  int options5;
  int expected;  // "Options-5" after OK without changes
};
void PrintTo(const Bit7Case& c, std::ostream* os) {
  *os << c.family << " v" << c.major << ", Options-5 " << c.options5;
}
class ExtendedBitTest : public ::testing::TestWithParam<Bit7Case> {};

// Bit 7 follows the order in force; bit 6 is only the window's to change
// where the tone set can be chosen.
TEST_P(ExtendedBitTest, OkWritesBit7FromTheOrderAndKeepsAHiddenBit6) {
  const Bit7Case& c = GetParam();
  Rig r(c.family, c.major);
  r.image.SetByte(kOptions5, c.options5);
  r.Store(r.Load());
  EXPECT_EQ(r.image.GetByte(kOptions5), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, ExtendedBitTest,
    ::testing::Values(Bit7Case{"Kestal", -1, 0xC0, 0xC0}, Bit7Case{"Kestal", -1, 0x80, 0x80},
                      Bit7Case{"Kestal", -1, 0x40, 0x40}, Bit7Case{"Kestal", -1, 0x00, 0x00},
                      Bit7Case{"Pinto", -1, 0xC1, 0x41}, Bit7Case{"Pinto", -1, 0x80, 0x01},
                      Bit7Case{"Dravo", 1, 0xC0, 0xC0}, Bit7Case{"Dravo", 2, 0xC0, 0x40},
                      Bit7Case{"Dravo", 2, 0x80, 0x00}, Bit7Case{"Tamso", -1, 0xFF, 0x7F}));

TEST(StoreCtcss, ACodeThe38TonesLackIsKeptUntilAnEntryIsChosen) {
  Rig r("Merlo");
  r.image.SetByte(kOptions5, 0xC0);
  r.image.SetByte(kTx, 45);
  r.image.SetByte(r.NetScanAddress(), 39);
  CtcssSettings s = r.Load();
  EXPECT_EQ(s.tx.entry, kNoEntry);
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(kTx), 45);
  EXPECT_EQ(r.image.GetByte(kRx), 45);
  EXPECT_EQ(r.image.GetByte(r.NetScanAddress()), 39);
  // Tone 45 in the 50 tones; in the 38-tone list it is entry 35.
  EXPECT_EQ(s.tx.InOrder(ToneOrder::ThirtyEight, ToneOrder::Fifty).entry, 45);
  EXPECT_EQ(s.tx.InOrder(ToneOrder::Fifty, ToneOrder::ThirtyEight).entry, 35);
}

TEST(StoreCtcss, AnInvalidCodeShowsOffAndOkWritesZero) {
  Rig r("Kestal");
  r.image.SetByte(kTx, 200);
  CtcssSettings s = r.Load();
  EXPECT_EQ(s.tx.entry, 0);
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(kTx), 0);
  EXPECT_EQ(r.image.GetByte(kRx), 0);
}

TEST(StoreCtcss, WithoutNetScanItsToneIsNeitherReadNorWritten) {
  Rig r("Dravo", 1);
  r.image.SetByte(r.NetScanAddress(), 77);
  CtcssSettings s = r.Load();
  s.netScan.entry = 3;
  r.Store(s);
  EXPECT_EQ(r.image.GetByte(r.NetScanAddress()), 77);
}

TEST(SilentChannelEditable, FollowsEnableDuplexAndTheLock) {
  const struct {
    int channel;
    bool enabled, onDuplex, locked, editable;
  } cases[] = {{1, true, true, false, true},    {1, false, true, false, false},
               {1, true, false, false, false},  {8, true, false, false, false},
               {9, true, false, false, true},   {40, true, false, false, true},
               {41, true, false, false, false}, {48, true, false, false, false},
               {49, true, false, false, true},  {5, true, true, true, false},
               {35, true, true, true, false},   {35, true, true, false, true},
               {36, true, true, true, true},    {80, false, true, false, false}};
  for (const auto& c : cases)
    EXPECT_EQ(SilentChannelEditable(c.channel, c.enabled, c.onDuplex, c.locked), c.editable)
        << "channel " << c.channel;
}

}  // namespace
