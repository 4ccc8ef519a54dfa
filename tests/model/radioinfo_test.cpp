#include "radioinfo.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "params.h"

namespace {

struct RowCase {
  int row;
  uint32_t productId;
  uint32_t flag;
  const char* name;
  const char* description;
};

const std::vector<RowCase> kRows = {
    {0, 0xffff, 0, "", "-"},
    {1, 0x5A01, 2, "Merlo", "80 channel CB land-based transceiver with selcall, compact, 5W"},
    {2, 0x5A02, 1, "Kestal", "80 channel CB land-based transceiver, compact, 5W"},
    {3, 0x5A03, 8, "Pinto", "80 channel CB handheld transceiver"},
    {4, 0x5A04, 4, "Dravo", "80 channel CB land-based transceiver, DIN-sized, 5W"},
    {5, 0x5A05, 16, "Sorel", "80 channel CB land-based transceiver, compact & simple, 5W"},
    {6, 0x5A06, 32, "Tamso", "80 channel CB land-based transceiver, compact & simple, 5W"},
    {7, 0x5A07, 64, "Kestal-BT", "80 channel CB land-based transceiver, compact, 5W, blue-tooth"},
};

TEST(ModelTable, FindModelGivesEveryRowWithItsFlagAndName) {
  for (const RowCase& c : kRows) {
    SCOPED_TRACE(c.row);
    int row = -1;
    uint32_t flag = 99;
    std::string name = "unchanged";
    ASSERT_TRUE(FindModel(c.productId, row, flag, name));
    EXPECT_EQ(row, c.row);
    EXPECT_EQ(flag, c.flag);
    EXPECT_EQ(name, c.name);
    EXPECT_STREQ(ModelTableRow(c.row).description, c.description);

    TradioInfo info;
    info.SelectModel(c.productId);
    EXPECT_EQ(info.modelIndex, c.row);
    EXPECT_STREQ(info.ModelName(), c.name);
    EXPECT_STREQ(info.ModelDescription(), c.description);
  }
}

TEST(ModelTable, UnknownIdIsNotFoundAndLeavesOutputsAlone) {
  int row = 42;
  uint32_t flag = 43;
  std::string name = "keep";
  EXPECT_FALSE(FindModel(0x1234, row, flag, name));
  EXPECT_EQ(row, 42);
  EXPECT_EQ(flag, 43u);
  EXPECT_EQ(name, "keep");

  TradioInfo info;
  info.SelectModel(kProductDravo);
  info.SelectModel(0x1234);
  EXPECT_EQ(info.modelIndex, 0);
  for (int bit = 0; bit <= kFeatLowPowerAlign; ++bit) {
    EXPECT_FALSE(TradioInfo::HasFeature(0x1234, static_cast<FeatureBit>(bit))) << bit;
    EXPECT_FALSE(TradioInfo::HasFeature(kNoProductId, static_cast<FeatureBit>(bit))) << bit;
  }
}

TEST(TradioInfoState, SelectKeepsProductIdWhileSetAndResetChangeBoth) {
  TradioInfo info;
  EXPECT_EQ(info.modelIndex, 0);
  EXPECT_EQ(info.productId, kNoProductId);

  info.SelectModel(kProductPinto);
  EXPECT_EQ(info.modelIndex, 3);
  EXPECT_EQ(info.productId, kNoProductId);

  info.SetModel(kProductTamso, 6);
  EXPECT_EQ(info.modelIndex, 6);
  EXPECT_EQ(info.productId, kProductTamso);

  info.ResetModel();
  EXPECT_EQ(info.modelIndex, 0);
  EXPECT_EQ(info.productId, kNoProductId);
}

TEST(TradioInfoState, RowOutsideTableFallsBackToUnknownModel) {
  TradioInfo info;
  info.SetModel(0x5A09, 12);
  EXPECT_STREQ(info.ModelName(), "");
  EXPECT_EQ(info.GetParamAddress(kParamProductId), 0);
  EXPECT_EQ(info.GetParamAddress(kParamStatus), -1);
}

TEST(ModelAcceptance, FlagMustShareABitAndUnknownRowNeverDoes) {
  struct Case {
    uint32_t id;
    uint32_t buildFlag;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {kProductKestal, 1, true},
      {kProductMerlo, 1, false},
      {kProductMerlo, kAllModelsFlag, true},
      {kProductSorel, 16, true},
      {kProductSorel, 1, false},
      {kNoProductId, kAllModelsFlag, false},
      {0x1234, kAllModelsFlag, false},
      {kProductKestalBT, 64 | 1, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsModelAccepted(c.id, c.buildFlag), c.accepted)
        << std::hex << c.id << " " << c.buildFlag;
  }
}

// Each model's features listed per model, the transpose of the per-bit table
// in radioinfo.cpp, so a slip in either shows up.
TEST(Features, EachModelHasExactlyItsFeatures) {
  struct Case {
    uint32_t id;
    std::set<int> bits;
  };
  const std::vector<Case> cases = {
      {kProductMerlo,
       {kFeatSelcall, kFeatRxBanks, kFeatRearMic, kFeatScrambler, kFeatWirelessRemote,
        kFeatAlphaDisplay, kFeatTempCompAlign, kFeatNetScan, kFeatScanSkipTime,
        kFeatUserScanOptions, kFeatRxOnlyChannels, kFeatReceiverAlign}},
      {kProductKestal,
       {kFeatRearMic, kFeatWirelessRemote, kFeatTempCompAlign, kFeatNetScan, kFeatScanSkipTime,
        kFeatRxOnlyChannels, kFeatReceiverAlign}},
      {kProductPinto,
       {kFeatSelcall, kFeatRxBanks, kFeatAlphaDisplay, kFeatPintoReserved, kFeatIntExtMic,
        kFeatExtendedCtcss, kFeatNotchAlign, kFeatMicSelect, kFeatBaudRateSwitch, kFeatNetScan,
        kFeatScanSkipTime, kFeatLcdContrast, kFeatArrayTransfer, kFeatUserScanOptions,
        kFeatRxOnlyChannels, kFeatReceiverAlign, kFeatLowPowerAlign}},
      {kProductDravo,
       {kFeatSelcall, kFeatRxBanks, kFeatRearMic, kFeatFixedSquelch, kFeatScrambler,
        kFeatWirelessRemote, kFeatAlphaDisplay, kFeatTempCompAlign, kFeatExtendedCtcss,
        kFeatNetScan, kFeatScanSkipTime, kFeatLcdContrast, kFeatRxOnlyChannels,
        kFeatReceiverAlign}},
      {kProductSorel, {kFeatTempCompAlign, kFeatRxOnlyChannels, kFeatReceiverAlign}},
      {kProductTamso,
       {kFeatAlphaDisplay, kFeatExtendedCtcss, kFeatNetScan, kFeatScanSkipTime,
        kFeatReplyErrorFlag, kFeatArrayTransfer, kFeatUserScanOptions, kFeatZeroMinVolume,
        kFeatScanMemorySelect}},
      {kProductKestalBT,
       {kFeatRearMic, kFeatWirelessRemote, kFeatTempCompAlign, kFeatNetScan, kFeatScanSkipTime,
        kFeatReplyErrorFlag, kFeatRxOnlyChannels, kFeatReceiverAlign}},
  };
  for (const Case& c : cases) {
    uint32_t expectedMask = 0;
    for (int bit = 0; bit <= kFeatLowPowerAlign; ++bit) {
      const bool expected = c.bits.count(bit) > 0;
      if (expected) expectedMask |= 1u << bit;
      EXPECT_EQ(TradioInfo::HasFeature(c.id, static_cast<FeatureBit>(bit)), expected)
          << std::hex << c.id << std::dec << " bit " << bit;
    }
    int row = 0;
    uint32_t flag = 0;
    std::string name;
    ASSERT_TRUE(FindModel(c.id, row, flag, name));
    EXPECT_EQ(ModelTableRow(row).featureMask, expectedMask) << name;
  }
  EXPECT_EQ(ModelTableRow(0).featureMask, 0u);
}

TEST(Features, NamedQueriesTestTheirOwnBit) {
  using Query = bool (*)(uint32_t);
  struct Case {
    Query query;
    FeatureBit bit;
  };
  const std::vector<Case> cases = {
      {TradioInfo::HasSelcall, kFeatSelcall},
      {TradioInfo::HasRxBanks, kFeatRxBanks},
      {TradioInfo::HasRearMic, kFeatRearMic},
      {TradioInfo::HasFixedSquelch, kFeatFixedSquelch},
      {TradioInfo::HasScrambler, kFeatScrambler},
      {TradioInfo::HasWirelessRemote, kFeatWirelessRemote},
      {TradioInfo::HasAlphaDisplay, kFeatAlphaDisplay},
      {TradioInfo::HasTempCompAlign, kFeatTempCompAlign},
      {TradioInfo::HasIntExtMic, kFeatIntExtMic},
      {TradioInfo::HasNotchAlign, kFeatNotchAlign},
      {TradioInfo::HasMicSelect, kFeatMicSelect},
      {TradioInfo::HasBaudRateSwitch, kFeatBaudRateSwitch},
      {TradioInfo::HasScanSkipTime, kFeatScanSkipTime},
      {TradioInfo::HasLcdContrast, kFeatLcdContrast},
      {TradioInfo::HasReplyErrorFlag, kFeatReplyErrorFlag},
      {TradioInfo::HasArrayTransfer, kFeatArrayTransfer},
      {TradioInfo::HasUserScanOptions, kFeatUserScanOptions},
      {TradioInfo::HasRxOnlyChannels, kFeatRxOnlyChannels},
      {TradioInfo::HasReceiverAlign, kFeatReceiverAlign},
      {TradioInfo::HasZeroMinVolume, kFeatZeroMinVolume},
      {TradioInfo::HasScanMemorySelect, kFeatScanMemorySelect},
      {TradioInfo::HasLowPowerAlign, kFeatLowPowerAlign},
  };
  for (const Case& c : cases) {
    for (const RowCase& r : kRows) {
      EXPECT_EQ(c.query(r.productId), TradioInfo::HasFeature(r.productId, c.bit))
          << "bit " << c.bit << " row " << r.row;
    }
  }
}

TEST(Features, DravoOldFirmwareLacksNetScanAndExtendedCtcss) {
  struct Case {
    uint32_t id;
    int major;
    bool extendedCtcss;
    bool netScan;
  };
  const std::vector<Case> cases = {
      {kProductDravo, -1, false, false}, {kProductDravo, 0, false, false},
      {kProductDravo, 1, false, false},  {kProductDravo, 2, true, true},
      {kProductKestal, -1, false, true}, {kProductKestal, 1, false, true},
      {kProductKestal, 7, false, true},  {kProductPinto, -1, true, true},
      {kProductTamso, 0, true, true},    {kProductSorel, 3, false, false},
      {0x1234, 3, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TradioInfo::HasExtendedCtcss(c.id, c.major), c.extendedCtcss)
        << std::hex << c.id << std::dec << " v" << c.major;
    EXPECT_EQ(TradioInfo::HasNetScan(c.id, c.major), c.netScan)
        << std::hex << c.id << std::dec << " v" << c.major;
  }
}

TEST(ParamLookup, SorelResolvesThroughKestalsTable) {
  TradioInfo sorel;
  sorel.SelectModel(kProductSorel);
  TradioInfo kestal;
  kestal.SelectModel(kProductKestal);
  EXPECT_EQ(ModelTableRow(5).paramAddresses, kKestalParamAddresses);
  for (int i = 0; i < kParamCount; ++i) {
    EXPECT_EQ(sorel.GetParamAddress(i), kestal.GetParamAddress(i)) << i;
  }
  EXPECT_EQ(sorel.GetParamAddress("Rx-only Channels"), 224);
  EXPECT_EQ(sorel.GetParamAddress("LCD Contrast"), -1);
}

TEST(ParamLookup, IndexOrNameOutsideTableIsAbsent) {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  EXPECT_EQ(info.GetParamAddress(-1), -1);
  EXPECT_EQ(info.GetParamAddress(kParamCount), -1);
  // A name outside the table has no parameter to ask the model about.
  EXPECT_FALSE(Param::Find("No Such Parameter").has_value());
  EXPECT_EQ(info.GetParamAddress("Selcall Mem"), 824);

  info.ResetModel();
  EXPECT_EQ(info.GetParamAddress("Product ID"), 0);
  EXPECT_EQ(info.GetParamAddress("Selcall Mem"), -1);
}

}  // namespace
