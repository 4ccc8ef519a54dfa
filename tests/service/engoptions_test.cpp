// The engineering options on image bytes: deviations in hertz, the
// inverted option bits, the bytes OK rewrites and the ones it keeps.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "engoptions.h"
#include "radioinfo.h"
#include "simimage.h"
#include "param_by_name.h"

namespace {

struct Model {
  explicit Model(const char* family, bool engineering = false)
      : build(BuildConfig::ForFamily(family, engineering)),
        features(EngOptionsFeatures::For(build.productId, engineering, -1)) {
    info.SelectModel(build.productId);
    MakeDefaultImage(build.productId, image);
  }
  int Byte(const char* name) const { return image.GetByte(info.GetParamAddress(ParamByName(name))); }
  void Put(const char* name, int value) { image.SetByte(info.GetParamAddress(ParamByName(name)), value); }
  EngOptionsValues Load() const { return LoadEngOptions(image, info, features); }
  void Store(const EngOptionsValues& v) { StoreEngOptions(v, image, info, features); }
  std::vector<uint8_t> Bytes() const { return {image.Data(), image.Data() + kImageSize}; }

  BuildConfig build;
  EngOptionsFeatures features;
  TradioInfo info;
  EEPROM image;
};

TEST(EngDeviation, StepsAndHertz) {
  EXPECT_EQ(DeviationHz(122), 500);
  EXPECT_EQ(DeviationHz(255), 1046);
  EXPECT_EQ(DeviationHz(0), 0);
  EXPECT_EQ(DeviationSteps("500"), 122);
  EXPECT_EQ(DeviationSteps("2000"), 255);
  EXPECT_EQ(DeviationSteps(""), 0);
  EXPECT_EQ(DeviationSteps("abc"), 0);
  EXPECT_EQ(DeviationSteps("-40"), 0);
  EXPECT_EQ(DeviationSteps("2"), 0);
  EXPECT_EQ(DeviationSteps("3"), 1);
  for (int v = 0; v <= 255; ++v)
    EXPECT_EQ(DeviationSteps(std::to_string(DeviationHz(v))), v) << v;
}

TEST(EngOptionsBits, CheckedMeansClearAndOnlyTheseBitsChange) {
  Model m("Kestal");
  m.Put("Options-5", 0x82);
  EngOptionsValues v = m.Load();
  EXPECT_FALSE(v.ctcss535);
  EXPECT_FALSE(v.ctcss38Ext);
  v.ctcss535 = true;
  v.ctcss38Ext = true;
  m.Store(v);
  EXPECT_EQ(m.Byte("Options-5"), 0x00);

  m.Put("Options-5", 0x7D);  // both bits clear, the rest set
  v = m.Load();
  EXPECT_TRUE(v.ctcss535);
  EXPECT_TRUE(v.ctcss38Ext);
  v.ctcss535 = false;
  v.ctcss38Ext = false;
  m.Store(v);
  EXPECT_EQ(m.Byte("Options-5"), 0xFF);
}

TEST(EngOptionsBits, TransmitOnRxOnlyOnlyInTheEngineeringBuild) {
  for (bool engineering : {false, true}) {
    Model m("Kestal", engineering);
    m.Put("Options-2", 0x10);
    EngOptionsValues v = m.Load();
    EXPECT_FALSE(v.enableTxOnRxOnly);
    v.enableTxOnRxOnly = true;
    m.Store(v);
    EXPECT_EQ(m.Byte("Options-2"), engineering ? 0x00 : 0x10) << engineering;
  }
}

const char* const kFamilies[] = {"Kestal", "Merlo", "Dravo", "Pinto", "Sorel", "Tamso",
                                 "KestalBT"};

class EngOptionsUnchanged : public ::testing::TestWithParam<const char*> {};

TEST_P(EngOptionsUnchanged, StoreWithoutChangesKeepsEveryByte) {
  Model m(GetParam(), true);
  const std::vector<uint8_t> before = m.Bytes();
  m.Store(m.Load());
  EXPECT_EQ(m.Bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Models, EngOptionsUnchanged, ::testing::ValuesIn(kFamilies));

TEST(EngOptionsThresholds, FixedSquelchLeavesThemUntouched) {
  Model m("Dravo");
  ASSERT_FALSE(m.features.thresholds);
  m.Put("Sql-3", 0x77);
  EngOptionsValues v = m.Load();
  v.sql.fill(9);
  m.Store(v);
  EXPECT_EQ(m.Byte("Sql-3"), 0x77);
}

TEST(EngOptionsThresholds, ProgrammableSquelchStoresAllTen) {
  Model m("Kestal");
  ASSERT_TRUE(m.features.thresholds);
  EngOptionsValues v = m.Load();
  for (int i = 0; i < kSquelchThresholds; ++i) v.sql[static_cast<size_t>(i)] = 10 + i;
  m.Store(v);
  for (int i = 0; i < kSquelchThresholds; ++i)
    EXPECT_EQ(m.Byte(("Sql-" + std::to_string(i)).c_str()), 10 + i);
}

TEST(EngOptionsTimings, AStoredValueBeyondTheUpDownIsKeptUnlessMoved) {
  Model m("Kestal");
  m.Put("Rpk Delay", 200);
  m.Put("Rpk Carrier Delay", 150);
  EngOptionsValues v = m.Load();
  EXPECT_EQ(v.rpkDelay, kRpkDelayMax);
  EXPECT_EQ(v.silentTail, kSilentTailMax);
  m.Store(v);
  EXPECT_EQ(m.Byte("Rpk Delay"), 200);
  EXPECT_EQ(m.Byte("Rpk Carrier Delay"), 150);
  v.rpkDelay = 29;
  v.silentTail = 99;
  m.Store(v);
  EXPECT_EQ(m.Byte("Rpk Delay"), 29);
  EXPECT_EQ(m.Byte("Rpk Carrier Delay"), 99);
}

TEST(EngOptionsFeatures, FollowTheModelTable) {
  EXPECT_TRUE(EngOptionsFeatures::For(0x5A02, false, -1).ctcss38Ext);   // Kestal
  EXPECT_FALSE(EngOptionsFeatures::For(0x5A03, false, -1).ctcss38Ext);  // Pinto
  EXPECT_FALSE(EngOptionsFeatures::For(0x5A04, false, -1).thresholds);  // Dravo
  EXPECT_TRUE(EngOptionsFeatures::For(0x5A02, false, -1).thresholds);
}

}  // namespace
