// The receive-only channel records and memberships on image bytes, and the
// frequency text rules of the edit dialog.
#include "rxchannels.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "buildconfig.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "param_by_name.h"

namespace {

class RxImage {
 public:
  explicit RxImage(const char* family) : build(BuildConfig::ForFamily(family, false)) {
    info.SelectModel(build.productId);
    base = info.GetParamAddress("Rx-only Channels");
    image.Fill(0xFF);
  }
  int Record(int n) const { return base + kRxChannelRecordSize * n; }
  int RxBit(const char* set, int n) const {
    return (image.GetByte(info.GetParamAddress(ParamByName(set)) + kRxBitSetOffset + n / 8) >> (n % 8)) & 1;
  }
  void SetRxBit(const char* set, int n) {
    const int a = info.GetParamAddress(ParamByName(set)) + kRxBitSetOffset + n / 8;
    image.SetByte(a, image.GetByte(a) | (1 << (n % 8)));
  }
  BuildConfig build;
  TradioInfo info;
  EEPROM image;
  int base = -1;
};

TEST(RxChannels, LoadReadsFrequencyTagAndMemberships) {
  RxImage m("Merlo");
  for (const char* set : {"Scan Mem 0", "Scan Mem 1", "Quiet Mem", "Silent Mem"})
    for (int i = 0; i < 24; ++i) m.image.SetByte(m.info.GetParamAddress(ParamByName(set)) + i, 0);
  m.image.SetWord(m.Record(25), 38114);
  m.image.SetAlphaTag(m.Record(25) + 2, "FIRE");
  m.SetRxBit("Scan Mem 0", 25);
  m.SetRxBit("Silent Mem", 25);
  m.SetRxBit("Scan Mem 1", 3);
  m.SetRxBit("Quiet Mem", 3);

  const RxChannelList list = LoadChannels(m.image, m.info);
  EXPECT_EQ(list.records[25].frequency, 476425000u);
  EXPECT_EQ(list.records[25].alphaTag, "FIRE");
  EXPECT_EQ(list.records[25].flags, kRxFlagScan1 | kRxFlagSilent);
  EXPECT_EQ(list.records[3].flags, kRxFlagScan2 | kRxFlagQuiet);
  EXPECT_EQ(list.records[3].frequency, 0u);  // 0xFFFF is an empty slot
  EXPECT_EQ(list.records[0].flags, 0u);
}

TEST(RxChannels, StoreWritesEmptyAsZeroAndKeepsSlot19AsRead) {
  RxImage m("Kestal");
  m.image.SetWord(m.Record(0), 38160);
  m.image.SetWord(m.Record(1), 0x1234);
  // Slot 19 of bank B: an erased frequency and tag bytes no packing makes.
  const uint8_t reserved[6] = {0xFF, 0xFF, 0xC1, 0x02, 0x03, 0xF4};
  m.image.WriteBlock(m.Record(39), reserved, 6);
  RxChannelList list = LoadChannels(m.image, m.info);
  list.records[1].frequency = 0;           // deleted
  list.records[39].frequency = 476000000;  // never offered, so never edited; still kept
  list.records[5].frequency = 476500000;
  list.records[5].alphaTag = "CAMP";
  list.records[5].flags = kRxFlagQuiet;
  list.records[6].flags = 0;

  StoreChannels(m.image, m.info, list, false);
  EXPECT_EQ(m.image.GetWord(m.Record(0)), 38160);
  EXPECT_EQ(m.image.GetWord(m.Record(1)), 0);
  EXPECT_EQ(m.image.GetWord(m.Record(2)), 0);  // read as 0xFFFF
  EXPECT_EQ(m.image.GetWord(m.Record(5)), 38120);
  EXPECT_EQ(m.image.GetAlphaTag(m.Record(5) + 2), "CAMP");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(m.image.GetByte(m.Record(39) + i), reserved[i]) << i;
  EXPECT_EQ(m.RxBit("Quiet Mem", 5), 1);
  EXPECT_EQ(m.RxBit("Quiet Mem", 6), 0);
  EXPECT_EQ(m.RxBit("Quiet Mem", 4), 1);  // an empty record keeps its memberships
  EXPECT_EQ(m.RxBit("Scan Mem 0", 105), 0);
  EXPECT_EQ(m.image.GetByte(m.info.GetParamAddress("Rx Bank")), 0xFF);
  // The CB part of the bit-sets is not the channel editor's.
  EXPECT_EQ(m.image.GetByte(m.info.GetParamAddress("Scan Mem 0") + 9), 0xFF);
}

TEST(RxChannels, StoreLeavesTheBankByteAloneWithBanks) {
  RxImage m("Merlo");
  m.image.SetByte(m.info.GetParamAddress("Rx Bank"), 3);
  StoreChannels(m.image, m.info, LoadChannels(m.image, m.info), true);
  EXPECT_EQ(m.image.GetByte(m.info.GetParamAddress("Rx Bank")), 3);
}

TEST(RxChannels, AModelWithoutRecordsReadsAndWritesNoRecord) {
  RxImage m("Tamso");
  const EEPROM before = m.image;
  const RxChannelList list = LoadChannels(m.image, m.info);
  for (const RX_CH_DATA_STRUCT& r : list.records) EXPECT_EQ(r.frequency, 0u);
  StoreChannels(m.image, m.info, list, false);
  EXPECT_TRUE(std::equal(m.image.Data(), m.image.Data() + kImageSize, before.Data()));
}

TEST(RxChannels, SlotsListedAndSpareNeverIncludeSlot19) {
  RxChannelList list;
  list.records[RxRecordIndex(1, 81)].frequency = 476000000;
  list.records[RxRecordIndex(1, 90)].frequency = 476100000;
  list.records[39].frequency = 476200000;  // slot 19 of bank B
  EXPECT_EQ(ListedSlots(list, 1), (std::vector<int>{0, 9}));
  const std::vector<int> spare = SpareChannels(list, 1);
  ASSERT_EQ(spare.size(), 17u);
  EXPECT_EQ(spare.front(), 82);
  EXPECT_EQ(spare.back(), 99);
  for (int s = 0; s < kRxListedSlots; ++s) list.records[20 + s].frequency = 476000000;
  EXPECT_TRUE(SpareChannels(list, 1).empty());
  ClearBank(list, 1);
  EXPECT_TRUE(ListedSlots(list, 1).empty());
  EXPECT_EQ(list.records[39].frequency, 476200000u);
}

TEST(RxChannels, DeletePromptNamesTheBankOnlyWithBanks) {
  EXPECT_EQ(DeletePromptText(true, 1, 85), "Delete bank RX-B, channel 85?");
  EXPECT_EQ(DeletePromptText(false, 0, 81), "Delete channel 81?");
}

struct ParseCase {
  const char* text;
  bool parses;
  int64_t hz;
};

class ParseFrequencyTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseFrequencyTest, ReadsMegahertz) {
  const ParseCase& c = GetParam();
  const std::optional<int64_t> hz = ParseFrequency(c.text);
  ASSERT_EQ(hz.has_value(), c.parses);
  if (c.parses) {
    EXPECT_EQ(*hz, c.hz);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseFrequencyTest,
                         ::testing::Values(ParseCase{"", true, 0},
                                           ParseCase{"477", true, 477000000},
                                           ParseCase{"476.5", true, 476500000},
                                           ParseCase{"3000", true, 2000000000},
                                           ParseCase{"4.7.6", false, 0}, ParseCase{".", false, 0},
                                           ParseCase{"47a", false, 0}, ParseCase{"nan", false, 0}));

TEST(RxChannels, RoundingAndLimits) {
  const int64_t typed = *ParseFrequency("476.43");
  EXPECT_EQ(RoundAndLimitFrequency(typed), 476425000);
  EXPECT_EQ(RoundAndLimitFrequency(typed) / kRxChannelStepHz, 38114);
  EXPECT_EQ(RoundAndLimitFrequency(6249), 0);
  EXPECT_EQ(RoundAndLimitFrequency(6250), 12500);
  EXPECT_EQ(RoundAndLimitFrequency(2000000000), kRxMaxFrequencyHz);
  EXPECT_EQ(StepFrequency(476430000, true), 476437500);
  EXPECT_EQ(StepFrequency(476430000, false), 476412500);
  EXPECT_EQ(StepFrequency(0, false), 0);
  EXPECT_EQ(StepFrequency(kRxMaxFrequencyHz, true), kRxMaxFrequencyHz);
  EXPECT_EQ(ShowFrequency(477000000), "477.0000");
  EXPECT_EQ(ShowFrequency(476425000), "476.4250");
  EXPECT_EQ(ShowFrequency(0), "0.0000");
}

}  // namespace
