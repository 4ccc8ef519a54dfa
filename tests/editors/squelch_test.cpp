// The squelch window's values on image bytes: the level's limits, the
// 10 ms unit of the minimum open time, and the fixed-squelch model that
// keeps its stored level.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "buildconfig.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "squelch.h"
#include "param_by_name.h"

namespace {

struct Model {
  explicit Model(const char* family) : build(BuildConfig::ForFamily(family, false)) {
    info.SelectModel(build.productId);
  }
  int Byte(const char* name) const { return image.GetByte(info.GetParamAddress(ParamByName(name))); }
  void Put(const char* name, int value) { image.SetByte(info.GetParamAddress(ParamByName(name)), value); }
  SquelchValues Load() const { return LoadSquelch(image, info, build.productId); }

  BuildConfig build;
  TradioInfo info;
  EEPROM image;
};

struct LevelCase {
  const char* family;
  int stored;
  int shown;
  int written;  // after OK without changes
};
void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.family << "_" << c.stored; }

class SquelchLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(SquelchLevel, ShowsTheLevelWithinOneToNineAndWritesWhatItShows) {
  const LevelCase& c = GetParam();
  Model m(c.family);
  m.Put("Sql Level", c.stored);
  const SquelchValues v = m.Load();
  EXPECT_TRUE(v.levelShown);
  EXPECT_EQ(v.level, c.shown);
  StoreSquelch(v, m.image, m.info);
  EXPECT_EQ(m.Byte("Sql Level"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Stored, SquelchLevel,
                         ::testing::Values(LevelCase{"Kestal", 0, 1, 1},
                                           LevelCase{"Kestal", 12, 9, 9},
                                           LevelCase{"Kestal", 5, 5, 5},
                                           LevelCase{"Tamso", 9, 9, 9},
                                           LevelCase{"Tamso", 0xFF, 9, 9}));

TEST(Squelch, TheFixedSquelchModelKeepsItsStoredLevel) {
  Model dravo("Dravo");
  dravo.Put("Sql Level", 0x37);
  SquelchValues v = dravo.Load();
  EXPECT_FALSE(v.levelShown);
  v.level = 4;  // whatever the hidden control holds
  StoreSquelch(v, dravo.image, dravo.info);
  EXPECT_EQ(dravo.Byte("Sql Level"), 0x37);
}

TEST(Squelch, TheTimingsKeepTheirUnits) {
  Model m("Kestal");
  m.Put("Sql Open Debounce", 200);
  m.Put("Sql Min Open", 25);
  SquelchValues v = m.Load();
  EXPECT_EQ(v.muteDebounceMs, 200);
  EXPECT_EQ(v.muteOpenMs, 250);
  StoreSquelch(v, m.image, m.info);
  EXPECT_EQ(m.Byte("Sql Open Debounce"), 200);
  EXPECT_EQ(m.Byte("Sql Min Open"), 25);

  v.muteOpenMs = 255;  // typed, not a multiple of 10: the units are cut
  StoreSquelch(v, m.image, m.info);
  EXPECT_EQ(m.Byte("Sql Min Open"), 25);
  v.muteOpenMs = 2550;
  v.muteDebounceMs = 0;
  StoreSquelch(v, m.image, m.info);
  EXPECT_EQ(m.Byte("Sql Min Open"), 255);
  EXPECT_EQ(m.Byte("Sql Open Debounce"), 0);
}

TEST(Squelch, ValuesBeyondTheRangesAreClampedNotWrapped) {
  Model m("Kestal");
  SquelchValues v = m.Load();
  v.level = 40;
  v.muteDebounceMs = 300;
  v.muteOpenMs = 5000;
  StoreSquelch(v, m.image, m.info);
  EXPECT_EQ(m.Byte("Sql Level"), 9);
  EXPECT_EQ(m.Byte("Sql Open Debounce"), 255);
  EXPECT_EQ(m.Byte("Sql Min Open"), 255);
}

}  // namespace
