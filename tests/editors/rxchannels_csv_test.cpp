// The receive-only channels as a CSV list: the round trip on every model's
// factory image, the editor's rules row by row, and the store that writes
// only the channels an import changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "eeprom.h"
#include "radioinfo.h"
#include "rxchannels.h"
#include "simimage.h"

namespace {

constexpr const char* kHeader = "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\n";

std::vector<uint32_t> ModelsWithChannels() {
  std::vector<uint32_t> ids;
  for (int row = 1; row <= 7; ++row) {
    const uint32_t id = ModelTableRow(row).productId;
    if (TradioInfo::HasRxOnlyChannels(id)) ids.push_back(id);
  }
  return ids;
}

class CsvRoundTrip : public ::testing::TestWithParam<uint32_t> {};

TEST_P(CsvRoundTrip, ExportThenImportGivesBackTheSameBytes) {
  const uint32_t id = GetParam();
  TradioInfo info;
  info.SelectModel(id);
  EEPROM image;
  MakeDefaultImage(id, image);
  const EEPROM original = image;
  const bool banks = TradioInfo::HasRxBanks(id);
  const RxChannelList before = LoadChannels(image, info);
  const std::string csv = ChannelsCsv(before, banks);
  ASSERT_EQ(csv.rfind(kHeader, 0), 0u);
  ASSERT_GT(std::count(csv.begin(), csv.end(), '\n'), 1) << "the factory image has channels";

  RxChannelList after = before;
  EXPECT_TRUE(ChannelsFromCsv(csv, banks, after).empty());
  StoreChangedChannels(image, info, before, after);
  EXPECT_TRUE(std::equal(image.Data(), image.Data() + kImageSize, original.Data()));
  EXPECT_EQ(ChannelsCsv(LoadChannels(image, info), banks), csv);
}

std::string ModelName(uint32_t id) {
  std::string name = "Unknown";
  for (int row = 1; row <= 7; ++row)
    if (ModelTableRow(row).productId == id) name = ModelTableRow(row).name;
  name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
  return name;
}

INSTANTIATE_TEST_SUITE_P(Models, CsvRoundTrip, ::testing::ValuesIn(ModelsWithChannels()),
                         [](const auto& p) { return ModelName(p.param); });

TEST(ChannelsCsv, ImportSetsTheRowsAndEmptiesTheRestOfTheModelsBanks) {
  RxChannelList list;
  list.records[0].frequency = 470000000;
  list.records[19].frequency = 471000000;  // slot 19 is the radio's own
  list.records[25].frequency = 472000000;  // bank B
  const std::string csv = std::string(kHeader) +
                          "rx-b,4,,476.4125,\"fi re\",1,0,1,\r\n"
                          "\n"
                          "a,18,99,819.1750,\"a,\"\"_\",0,1,0,1\n";
  ASSERT_TRUE(ChannelsFromCsv(csv, true, list).empty());
  EXPECT_EQ(list.records[0].frequency, 0u);
  EXPECT_EQ(list.records[19].frequency, 471000000u);
  EXPECT_EQ(list.records[25].frequency, 0u);
  EXPECT_EQ(list.records[24].frequency, 476412500u);
  EXPECT_EQ(list.records[24].alphaTag, "FI RE");
  EXPECT_EQ(list.records[24].flags, kRxFlagScan1 | kRxFlagQuiet);
  EXPECT_EQ(list.records[18].frequency, 819175000u);
  EXPECT_EQ(list.records[18].alphaTag, "A,\"_");
  EXPECT_EQ(list.records[18].flags, kRxFlagScan2 | kRxFlagSilent);
}

TEST(ChannelsCsv, WithoutBanksOnlyBankAIsReplaced) {
  RxChannelList list;
  list.records[25].frequency = 472000000;
  ASSERT_TRUE(ChannelsFromCsv("A,0,81,470.0000,\"\",0,0,0,0\n", false, list).empty());
  EXPECT_EQ(list.records[0].frequency, 470000000u);
  EXPECT_EQ(list.records[25].frequency, 472000000u);
  EXPECT_EQ(ChannelsCsv(list, false), std::string(kHeader) + "A,0,81,470.0000,\"\",0,0,0,0\n");
}

struct BadRow {
  const char* name;
  const char* row;
  const char* reason;  // part of the reason given
  bool banks = true;
};

const BadRow kBadRows[] = {
    {"TooFewFields", "A,0,81,470.0000,\"\",0,0,0", "9 fields expected, 8 found"},
    {"BankF", "F,0,81,470.0000,\"\",0,0,0,0", "bank must be A to E"},
    {"BankBWithoutBanks", "B,0,81,470.0000,\"\",0,0,0,0", "no banks", false},
    {"Slot19", "A,19,100,470.0000,\"\",0,0,0,0", "slot 19"},
    {"Slot20", "A,20,,470.0000,\"\",0,0,0,0", "slot must be 0 to 18"},
    {"NegativeSlot", "A,-1,,470.0000,\"\",0,0,0,0", "slot must be 0 to 18"},
    {"ChannelNotTheSlots", "A,3,85,470.0000,\"\",0,0,0,0", "channel must be 84"},
    {"FrequencyText", "A,0,81,47O.0000,\"\",0,0,0,0", "not a number"},
    {"NoFrequency", "A,0,81,,\"\",0,0,0,0", "no frequency"},
    {"AboveTheLimit", "A,0,81,819.1875,\"\",0,0,0,0", "above 819.1750"},
    {"OffTheStep", "A,0,81,476.4200,\"\",0,0,0,0", "12.5 kHz step"},
    {"LongTag", "A,0,81,470.0000,\"ABCDEF\",0,0,0,0", "longer than 5"},
    {"EndMarkInTag", "A,0,81,470.0000,\"A@B\",0,0,0,0", "cannot show"},
    {"TildeInTag", "A,0,81,470.0000,\"A~B\",0,0,0,0", "cannot show"},
    {"Membership2", "A,0,81,470.0000,\"\",0,2,0,0", "Scan1 must be 1, 0 or empty"},
    {"SameSlotTwice", "A,1,82,470.0000,\"\",0,0,0,0", "already given on line 2"},
    {"UnclosedQuote", "A,0,81,470.0000,\"AB,0,0,0,0", "not closed"},
};

class CsvBadRows : public ::testing::TestWithParam<BadRow> {};

TEST_P(CsvBadRows, AreRefusedWithTheirLineNumberAndChangeNothing) {
  RxChannelList list;
  list.records[5].frequency = 470000000;
  const std::string csv =
      std::string(kHeader) + "A,1,82,471.0000,\"OK\",0,0,0,0\n" + GetParam().row + "\n";
  const std::vector<CsvFault> faults = ChannelsFromCsv(csv, GetParam().banks, list);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].line, 3);
  EXPECT_NE(faults[0].reason.find(GetParam().reason), std::string::npos) << faults[0].reason;
  EXPECT_EQ(list.records[5].frequency, 470000000u);
  EXPECT_EQ(list.records[1].frequency, 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, CsvBadRows, ::testing::ValuesIn(kBadRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ChannelsCsv, EveryBadRowIsNamed) {
  RxChannelList list;
  const std::vector<CsvFault> faults =
      ChannelsFromCsv("A,19,,470,\"\",0,0,0,0\nA,0,81,470,\"\",0,0,0,0\nZ,0,81,470,\"\",0,0,0,0\n",
                      true, list);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].line, 1);
  EXPECT_EQ(faults[1].line, 3);
}

// Only the records whose channel changed are written: a record left empty
// keeps its leftover bytes and memberships.
TEST(StoreChangedChannels, WritesOnlyTheChangedRecordsAndTheirBits) {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  EEPROM image;
  image.Fill(0xFF);
  const RxChannelList before = LoadChannels(image, info);
  RxChannelList after = before;
  after.records[3].frequency = 470000000;
  after.records[3].alphaTag = "AB";
  after.records[3].flags = kRxFlagQuiet;
  const EEPROM old = image;
  StoreChangedChannels(image, info, before, after);

  const int base = info.GetParamAddress("Rx-only Channels");
  const int quiet = info.GetParamAddress("Quiet Mem") + kRxBitSetOffset;
  const int scan0 = info.GetParamAddress("Scan Mem 0") + kRxBitSetOffset;
  std::vector<int> changed;
  for (int a = 0; a < kImageSize; ++a)
    if (image.GetByte(a) != old.GetByte(a)) changed.push_back(a);
  // Record 3's six bytes may all change; bit 3 of the first byte of the
  // other bit-sets is cleared; Quiet keeps it.
  for (int a : changed)
    EXPECT_TRUE((a >= base + 18 && a < base + 24) || a == scan0 ||
                a == info.GetParamAddress("Scan Mem 1") + kRxBitSetOffset ||
                a == info.GetParamAddress("Silent Mem") + kRxBitSetOffset)
        << a;
  EXPECT_EQ(image.GetByte(quiet), 0xFF);
  EXPECT_EQ(image.GetByte(scan0), 0xF7);
  EXPECT_EQ(LoadChannels(image, info).records[3].alphaTag, "AB");
}

}  // namespace
