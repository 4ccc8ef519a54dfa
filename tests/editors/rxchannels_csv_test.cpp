// The receive-only channels as a CSV list: the round trip on every model's
// factory image, the editor's rules row by row, and the store that writes
// only the channels an import changed.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
  ASSERT_TRUE(
      ChannelsFromCsv(std::string(kHeader) + "A,0,81,470.0000,\"\",0,0,0,0\n", false, list).empty());
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
    {"OneHertz", "A,0,81,0.000001,\"\",0,0,0,0", "no frequency"},
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
      ChannelsFromCsv(std::string(kHeader) +
                          "A,19,,470,\"\",0,0,0,0\nA,0,81,470,\"\",0,0,0,0\nZ,0,81,470,\"\",0,0,0,0\n",
                      true, list);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].line, 2);
  EXPECT_EQ(faults[1].line, 4);
}

// ---- the list as a whole ----

struct WholeList {
  const char* name;
  std::string text;
  int faultLine;       // -1: accepted
  const char* reason;  // part of the reason given
};

const std::string kRow = "B,2,83,476.5000,\"SES\",1,0,0,1";

const WholeList kWholeLists[] = {
    {"Empty", "", 0, "the list is empty"},
    {"OnlyBlankLines", "\n \r\n\t\n", 0, "the list is empty"},
    {"RowsWithoutTheHeader", kRow + "\n", 1, "the first line is not the header"},
    {"ForeignText", "\x7F" "ELF\x02\x01\x01\n\n" + kRow + "\n", 1, "not the header"},
    {"HeaderNamesWrong", "Bank,Slot,Chan,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\n", 1,
     "not the header"},
    {"HeaderAfterBlankLines", "\n\n" + std::string(kHeader) + kRow + "\n", -1, ""},
    {"ByteOrderMark", "\xEF\xBB\xBF" + std::string(kHeader) + kRow + "\n", -1, ""},
    {"CrLfLineEnds", "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\r\n" +
                         kRow + "\r\n", -1, ""},
    {"QuotedHeaderInOtherCase",
     "\"BANK\",\"slot\",\"Channel\",\"Frequency (MHz)\",\"Alpha Tag\",Scan0, Scan1 ,Quiet,Silent\n" + kRow,
     -1, ""},
    {"BomAndCrLfAndNoLastLineEnd",
     "\xEF\xBB\xBF" "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\r\n" + kRow,
     -1, ""},
};

class CsvWholeList : public ::testing::TestWithParam<WholeList> {};

TEST_P(CsvWholeList, IsTakenOnlyWithItsHeader) {
  RxChannelList list;
  list.records[5].frequency = 470000000;
  const std::vector<CsvFault> faults = ChannelsFromCsv(GetParam().text, true, list);
  if (GetParam().faultLine < 0) {
    ASSERT_TRUE(faults.empty()) << faults[0].reason;
    EXPECT_EQ(list.records[5].frequency, 0u);
    EXPECT_EQ(list.records[22].frequency, 476500000u);
    EXPECT_EQ(list.records[22].alphaTag, "SES");
    EXPECT_EQ(list.records[22].flags, kRxFlagScan1 | kRxFlagSilent);
    return;
  }
  ASSERT_EQ(faults.size(), 1u) << "a file without its header is not read row by row";
  EXPECT_EQ(faults[0].line, GetParam().faultLine);
  EXPECT_NE(faults[0].reason.find(GetParam().reason), std::string::npos) << faults[0].reason;
  EXPECT_EQ(list.records[5].frequency, 470000000u);
}

INSTANTIATE_TEST_SUITE_P(Lists, CsvWholeList, ::testing::ValuesIn(kWholeLists),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ChannelsCsv, TheHeaderAloneEmptiesEveryListedSlot) {
  RxChannelList list;
  list.records[0].frequency = 470000000;
  list.records[19].frequency = 471000000;
  list.records[98].frequency = 472000000;  // bank E, slot 18
  ASSERT_TRUE(ChannelsFromCsv(kHeader, true, list).empty());
  EXPECT_EQ(list.records[0].frequency, 0u);
  EXPECT_EQ(list.records[98].frequency, 0u);
  EXPECT_EQ(list.records[19].frequency, 471000000u) << "slot 19 is the radio's own";
}

// A bad value is quoted short and on one line, whatever it holds.
TEST(ChannelsCsv, BadValuesAreQuotedShortWithControlBytesEscaped) {
  struct Case {
    const char* name;
    std::string row;
    std::string quoted;  // how the value appears in the reason
  };
  const std::string huge(10 * 1024 * 1024, 'Q');
  const std::vector<Case> cases = {
      {"HugeTag", "A,0,81,470.0000,\"" + huge + "\",0,0,0,0",
       "\"QQQQQQQQQQQQQQQQQQQQ\"... (10485760 bytes)"},
      {"NulInTag", std::string("A,0,81,470.0000,\"A\0B\",0,0,0,0", 30), "\"A\\x00B\""},
      {"NulInFrequency", std::string("A,0,81,470\0.0,\"\",0,0,0,0", 25), "\"470\\x00.0\""},
      {"EscapeInBank", "\x1B[2J,0,81,470.0000,\"\",0,0,0,0", "\"\\x1B[2J\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RxChannelList list;
    const std::vector<CsvFault> faults = ChannelsFromCsv(std::string(kHeader) + c.row + "\n", true, list);
    ASSERT_EQ(faults.size(), 1u);
    const std::string& reason = faults[0].reason;
    EXPECT_NE(reason.find(c.quoted), std::string::npos) << reason;
    EXPECT_LT(reason.size(), 160u);
    EXPECT_TRUE(std::none_of(reason.begin(), reason.end(),
                             [](char ch) { return static_cast<unsigned char>(ch) < 0x20; }))
        << reason;
  }
}

TEST(ChannelsCsv, FaultLinesNameTheListAndStopAfterTheFirstFew) {
  std::vector<CsvFault> faults = {{0, "the list is empty"}};
  EXPECT_EQ(CsvFaultLines("l.csv", faults), std::vector<std::string>{"l.csv: the list is empty"});
  faults.clear();
  for (int line = 2; line < 60; ++line) faults.push_back({line, "bad"});
  const std::vector<std::string> lines = CsvFaultLines("l.csv", faults, 20);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[0], "l.csv line 2: bad");
  EXPECT_EQ(lines[19], "l.csv line 21: bad");
  EXPECT_EQ(lines[20], "... and 38 more faulty lines");
}

// ---- the import of a list file ----

class ChannelImportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vorn_csv_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    list.records[3].frequency = 470000000;
    list.records[30].frequency = 471000000;
    list.records[19].frequency = 472000000;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }

  RxChannelList list;

 private:
  std::string dir_;
};

TEST_F(ChannelImportFile, WhatCannotBeAListIsRefusedWithItsReasonAndChangesNothing) {
  Write("empty.csv", "");
  Write("rows.csv", kRow + "\n");
  Write("big.csv", std::string(kHeader) + std::string(kMaxChannelListBytes, '\n'));
  ASSERT_EQ(mkfifo(Path("fifo.csv").c_str(), 0600), 0);
  std::filesystem::create_directory(Path("folder.csv"));
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Path("sock.csv");
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  struct Case {
    std::string path;
    std::string said;  // part of what the import says
  };
  const std::vector<Case> cases = {
      {Path("missing.csv"), "Unable to open file " + Path("missing.csv")},
      {Path("folder.csv"), "it is a directory, not a regular file"},
      {Path("fifo.csv"), "it is a FIFO (named pipe), not a regular file"},
      {socketPath, "it is a socket, not a regular file"},
      {"/dev/null", "it is a character device, not a regular file"},
      {"/dev/zero", "it is a character device, not a regular file"},
      {Path("big.csv"), "more than a channel list ever needs (512 KiB)"},
      {Path("empty.csv"), "the list is empty"},
      {Path("rows.csv"), "the first line is not the header"},
  };
  const RxChannelList before = list;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ChannelImport done = ImportChannelsCsv(c.path, true, list);
    EXPECT_FALSE(done.Ok());
    std::string said = done.refused;
    for (const std::string& line : CsvFaultLines(c.path, done.faults)) said += line;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    for (int n = 0; n < kRxOnlyChannelCount; ++n)
      ASSERT_EQ(list.records[n].frequency, before.records[n].frequency) << n;
  }
  close(sock);
}

TEST_F(ChannelImportFile, CountsTheChannelsItWritesAndTheOnesItRemoves) {
  Write("one.csv", std::string(kHeader) + kRow + "\n");
  ChannelImport done = ImportChannelsCsv(Path("one.csv"), true, list);
  ASSERT_TRUE(done.Ok());
  EXPECT_EQ(done.channels, 1);
  EXPECT_EQ(done.removed, 2);
  EXPECT_EQ(list.records[22].frequency, 476500000u);

  // The header alone is the explicit "clear all".
  Write("clear.csv", kHeader);
  done = ImportChannelsCsv(Path("clear.csv"), true, list);
  ASSERT_TRUE(done.Ok());
  EXPECT_EQ(done.channels, 0);
  EXPECT_EQ(done.removed, 1);
  EXPECT_EQ(ListedSlots(list, 1), std::vector<int>{});
  EXPECT_EQ(list.records[19].frequency, 472000000u);
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
