// The bank the radio shows, by model and stored byte.
#include <gtest/gtest.h>

#include "buildconfig.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"
#include "rxbank.h"

namespace {

struct BankCase {
  const char* family;
  int stored;  // the "Rx Bank" byte
  int expected;
};

class CurrentRxBankTest : public ::testing::TestWithParam<BankCase> {};

TEST_P(CurrentRxBankTest, ReadsTheStoredBankWhereTheModelHasBanks) {
  const BankCase& c = GetParam();
  const BuildConfig build = BuildConfig::ForFamily(c.family, false);
  TradioInfo info;
  info.SelectModel(build.productId);
  EEPROM image;
  const int address = info.GetParamAddress("Rx Bank");
  if (address >= 0) image.SetByte(address, c.stored);
  const EEPROM before = image;
  EXPECT_EQ(CurrentRxBank(image, info, build), c.expected);
  EXPECT_TRUE(std::equal(image.Data(), image.Data() + kImageSize, before.Data()));
}

INSTANTIATE_TEST_SUITE_P(
    Models, CurrentRxBankTest,
    ::testing::Values(BankCase{"Merlo", 3, 3}, BankCase{"Merlo", 0, 0}, BankCase{"Pinto", 4, 4},
                      BankCase{"Dravo", 2, 2}, BankCase{"Dravo", 5, 0},
                      BankCase{"Merlo", 0xFF, 0},
                      // No banks: whatever the byte says, the radio shows bank 0.
                      BankCase{"Kestal", 3, 0}, BankCase{"KestalBT", 2, 0}));

}  // namespace
