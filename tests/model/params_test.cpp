#include "params.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "eeprom.h"
#include "radioinfo.h"

namespace {

TEST(ParamNames, AllDistinctShortAndFoundByName) {
  std::set<std::string> seen;
  for (int i = 0; i < kParamCount; ++i) {
    const char* name = ParamName(i);
    ASSERT_NE(name, nullptr) << i;
    EXPECT_GT(std::strlen(name), 0u) << i;
    EXPECT_LE(std::strlen(name), 29u) << i;
    EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
    const std::optional<Param> found = Param::Find(name);
    ASSERT_TRUE(found.has_value()) << name;
    EXPECT_EQ(found->Index(), i) << name;
    EXPECT_STREQ(found->Name(), name);
  }
  EXPECT_EQ(ParamName(-1), nullptr);
  EXPECT_EQ(ParamName(kParamCount), nullptr);
}

// A name that arrives while the program runs is looked up with a result
// that says when there is no such parameter.
TEST(ParamNames, RunTimeLookupReportsUnknownNames) {
  EXPECT_FALSE(Param::Find("product id").has_value());  // names match exactly
  EXPECT_FALSE(Param::Find("Product ID ").has_value());
  EXPECT_FALSE(Param::Find("Options-11").has_value());
  EXPECT_FALSE(Param::Find("").has_value());
  EXPECT_EQ(Param::Find("Scan Memory"), Param("Scan Memory"));
  EXPECT_FALSE(Param::AtIndex(-1).has_value());
  EXPECT_FALSE(Param::AtIndex(kParamCount).has_value());
  EXPECT_EQ(Param::AtIndex(106), Param("Scan Memory"));
}

// Names written in code are looked up while compiling.
static_assert(Param("Product ID").Index() == 0);
static_assert(Param("Options-1").Index() == 32);
static_assert(Param("Scan Memory").Index() == kParamCount - 1);
static_assert(kParamSelcallIdent.Index() == 95);

TEST(ParamNames, SpellingOfNamesOtherCodeLooksUp) {
  const std::map<int, const char*> names = {
      {0, "Product ID"},           {1, "T1-F1"},
      {12, "T4-F3"},               {19, "PLL FRef"},
      {23, "Xtl Temp Co2"},        {26, "Rx ADC Offset"},
      {27, "PCB Rev"},             {28, "Status"},
      {32, "Options-1"},
      {41, "Options-10"},          {43, "IF offset"},
      {51, "Rx-only Disp Options"}, {54, "Duplex-80"},
      {57, "Menu Enable 1"},       {65, "Pause pred/non-pred"},
      {73, "Rx Bank"},             {74, "Sql-0"},
      {83, "Sql-9"},               {89, "Scan Mem 0"},
      {90, "Scan Mem 1"},          {91, "Quiet Mem"},
      {92, "Silent Mem"},          {93, "Rx-only Channels"},
      {94, "Selcall Mem"},         {97, "Wireless PTT Mic Sel"},
      {98, "Wireless Remote Key Func1"}, {100, "LCD Contrast"},
      {101, "Netscan Ctcss Tone"}, {103, "Device Id"},
      {104, "Scan Mem 2"},         {105, "Radio Power State"},
      {106, "Scan Memory"},
  };
  for (const auto& [index, name] : names) EXPECT_STREQ(ParamName(index), name) << index;
}

TEST(ParamAddresses, TrickyRows) {
  struct Case {
    const char* model;
    const int16_t* table;
    Param param;
    int address;
  };
  const std::vector<Case> cases = {
      {"Dravo", kDravoParamAddresses, "Netscan Ctcss Tone", 83},
      {"Kestal", kKestalParamAddresses, "Netscan Ctcss Tone", 72},
      {"Tamso", kTamsoParamAddresses, "Last Volume", 86},
      {"Kestal", kKestalParamAddresses, "Last Volume", 71},
      {"Pinto", kPintoParamAddresses, "LCD Contrast", 62},
      {"Dravo", kDravoParamAddresses, "LCD Contrast", 62},
      {"Tamso", kTamsoParamAddresses, "LCD Contrast", 62},
      {"Merlo", kMerloParamAddresses, "LCD Contrast", -1},
      {"Kestal", kKestalParamAddresses, "LCD Contrast", -1},
      {"Kestal-BT", kKestalBTParamAddresses, "LCD Contrast", -1},
      {"Tamso", kTamsoParamAddresses, "Radio Power State", 61},
      {"Tamso", kTamsoParamAddresses, "Scan Memory", 87},
      {"Dravo", kDravoParamAddresses, "Scan Memory", -1},
      {"Tamso", kTamsoParamAddresses, "T1-F1", -1},
      {"Tamso", kTamsoParamAddresses, "Rx-only Channels", -1},
      {"Pinto", kPintoParamAddresses, "Xtl Temp Co", -1},
      {"Pinto", kPintoParamAddresses, "Wireless Mic Gain", -1},
      {"Kestal", kKestalParamAddresses, "Status", 30},
      {"Kestal", kKestalParamAddresses, "IF offset", 46},
      {"Kestal", kKestalParamAddresses, "Wireless Mic Gain", 107},
      {"Kestal", kKestalParamAddresses, "Wireless PTT Mic Sel", 76},
      {"Kestal", kKestalParamAddresses, "Device Id", 112},
      {"Kestal", kKestalParamAddresses, "Scan Mem 2", 920},
      {"Unknown", kUnknownParamAddresses, "Product ID", 0},
      {"Unknown", kUnknownParamAddresses, "Status", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.table[c.param.Index()], c.address) << c.model << " " << c.param.Name();
  }
}

// Every other model's table is Kestal's with some parameters missing and a
// few moved or added.
TEST(ParamAddresses, EachTableIsKestalsWithItsDifferences) {
  struct Case {
    const char* model;
    const int16_t* table;
    std::vector<int> absent;
    std::map<int, int> own;  // index -> address differing from Kestal's
  };
  const std::vector<Case> cases = {
      {"Merlo", kMerloParamAddresses, {100, 105, 106}, {}},
      {"Kestal-BT", kKestalBTParamAddresses, {100, 105, 106}, {}},
      {"Pinto", kPintoParamAddresses,
       {20, 23, 24, 25, 27, 42, 43, 49, 63, 66, 67, 68, 69, 70, 84, 97, 98, 99, 105, 106},
       {{100, 62}}},
      {"Dravo", kDravoParamAddresses, {105, 106}, {{100, 62}, {101, 83}}},
      {"Tamso", kTamsoParamAddresses,
       {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 20, 23, 24, 25, 27, 42, 43, 49, 51,
        55, 56, 57, 59, 61, 62, 63, 64, 65, 70, 73, 84, 88, 91, 93, 94, 95, 96, 97, 98, 99},
       {{66, 86}, {100, 62}, {105, 61}, {106, 87}}},
  };
  for (const Case& c : cases) {
    const std::set<int> absent(c.absent.begin(), c.absent.end());
    for (int i = 0; i < kParamCount; ++i) {
      int expected = kKestalParamAddresses[i];
      if (absent.count(i)) expected = -1;
      if (c.own.count(i)) expected = c.own.at(i);
      EXPECT_EQ(c.table[i], expected) << c.model << " " << ParamName(i);
    }
  }
  const std::set<int> kestalAbsent = {100, 105, 106};
  for (int i = 0; i < kParamCount; ++i) {
    EXPECT_EQ(kKestalParamAddresses[i] == -1, kestalAbsent.count(i) == 1) << ParamName(i);
    EXPECT_EQ(kUnknownParamAddresses[i], i == kParamProductId.Index() ? 0 : -1) << ParamName(i);
  }
}

TEST(ParamAddresses, LayoutHangsTogether) {
  const int16_t* tables[] = {kMerloParamAddresses, kKestalParamAddresses, kPintoParamAddresses,
                             kDravoParamAddresses, kTamsoParamAddresses,
                             kKestalBTParamAddresses};
  for (const int16_t* t : tables) {
    std::set<int> used;
    for (int i = 0; i < kParamCount; ++i) {
      EXPECT_GE(t[i], -1) << ParamName(i);
      EXPECT_LT(t[i], kImageSize) << ParamName(i);
      if (t[i] >= 0) {
        EXPECT_TRUE(used.insert(t[i]).second) << "shared address " << t[i];
      }
    }
    const auto at = [t](Param param) { return t[param.Index()]; };
    EXPECT_EQ(at(kParamProductId), 0);
    // The four flag arrays sit back to back.
    EXPECT_EQ(at(kParamScanMem1) - at(kParamScanMem0), kChannelBitArraySize);
    if (at(kParamQuietMem) >= 0) {
      EXPECT_EQ(at(kParamQuietMem) - at(kParamScanMem1), kChannelBitArraySize);
    }
    // The receive-only records end where the selcall memory begins.
    if (at(kParamRxOnlyChannels) >= 0) {
      EXPECT_EQ(at(kParamSilentMem) + kChannelBitArraySize, at(kParamRxOnlyChannels));
      EXPECT_EQ(at(kParamRxOnlyChannels) + kRxOnlyChannelCount * kRxChannelRecordSize,
                at(kParamSelcallMem));
    }
  }
  // Kestal's addresses rise with the index through "Selcall Last".
  for (int i = 1; i <= Param("Selcall Last").Index(); ++i) {
    EXPECT_GT(kKestalParamAddresses[i], kKestalParamAddresses[i - 1]) << ParamName(i);
  }
}

}  // namespace
