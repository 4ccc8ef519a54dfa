#include "buildconfig.h"

#include <gtest/gtest.h>

#include "radioinfo.h"

namespace {

TEST(BuildConfig, KestalReleaseTexts) {
  const BuildConfig c = BuildConfig::ForFamily("Kestal", false);
  EXPECT_EQ(c.modelFlag, 1u);
  EXPECT_EQ(c.productId, kProductKestal);
  EXPECT_FALSE(c.engineering);
  EXPECT_EQ(TitleText(c), "Vorn Kestal Programmer  QP0417.2.00 ");
  EXPECT_EQ(ShortVersionText(c), "v2.00 ");
  EXPECT_EQ(BuildDateText(c), "Feb 24 2014 09:29:13");
  EXPECT_EQ(ApplicationTitle(c), "Vorn Kestal Programmer");
  EXPECT_EQ(DefaultMemFileName(c), "defkestal.mem");
}

TEST(BuildConfig, EngineeringMarksBothVersionTexts) {
  const BuildConfig c = BuildConfig::ForFamily("Kestal", true);
  EXPECT_EQ(TitleText(c), "Vorn Kestal Programmer  QP0417E.2.00 ");
  EXPECT_EQ(ShortVersionText(c), "v2.00  (Engineering)");
}

TEST(BuildConfig, SuffixCharacterEndsTitleAndShortVersion) {
  BuildConfig c = BuildConfig::ForFamily("Kestal", false);
  c.versionSuffix = 'b';
  EXPECT_EQ(TitleText(c), "Vorn Kestal Programmer  QP0417.2.00b");
  EXPECT_EQ(ShortVersionText(c), "v2.00b");
}

TEST(BuildConfig, VersionReportNamesProgramVersionAndBuildModel) {
  BuildConfig c = BuildConfig::ForFamily("Kestal", false);
  EXPECT_EQ(VersionReport(c, "vornprog"),
            "vornprog 2.00\nBuild model: Kestal\nBuild: QP0417.2.00, Feb 24 2014 09:29:13\n");
  c.versionSuffix = 'b';
  c.engineering = true;
  EXPECT_EQ(VersionReport(c, "vorn-radio-sim"),
            "vorn-radio-sim 2.00b (Engineering)\nBuild model: Kestal\n"
            "Build: QP0417E.2.00b, Feb 24 2014 09:29:13\n");
  EXPECT_NE(VersionReport(BuildConfig::ForFamily("All", false), "x").find("Build model: all models"),
            std::string::npos);
}

struct FamilyCase {
  const char* option;
  uint32_t flag;
  uint32_t productId;
  const char* name;
};

class BuildFamilies : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(BuildFamilies, TakeFlagProductAndNameFromTheModelTable) {
  const FamilyCase& f = GetParam();
  const BuildConfig c = BuildConfig::ForFamily(f.option, false);
  EXPECT_EQ(c.modelFlag, f.flag);
  EXPECT_EQ(c.productId, f.productId);
  EXPECT_EQ(c.modelName, f.name);
  EXPECT_EQ(c.AllModels(), f.flag == 127u);
}

INSTANTIATE_TEST_SUITE_P(
    All, BuildFamilies,
    ::testing::Values(FamilyCase{"Kestal", 1, 0x5A02, "Kestal"}, FamilyCase{"Merlo", 2, 0x5A01, "Merlo"},
                      FamilyCase{"Dravo", 4, 0x5A04, "Dravo"}, FamilyCase{"Pinto", 8, 0x5A03, "Pinto"},
                      FamilyCase{"Sorel", 16, 0x5A05, "Sorel"}, FamilyCase{"Tamso", 32, 0x5A06, "Tamso"},
                      FamilyCase{"KestalBT", 64, 0x5A07, "Kestal-BT"},
                      FamilyCase{"All", 127, 0xffff, "Service"}));

TEST(BuildConfig, AllModelsBuildHasNoDefaultFile) {
  EXPECT_EQ(DefaultMemFileName(BuildConfig::ForFamily("All", false)), "");
  EXPECT_EQ(DefaultMemFileName(BuildConfig::ForFamily("KestalBT", false)), "defkestalbt.mem");
}

TEST(BuildConfig, CompiledDateHasTheCompilerShape) {
  const BuildConfig& c = CompiledBuildConfig();
  // "Mmm dd yyyy" with a blank-padded day, and "hh:mm:ss".
  ASSERT_EQ(c.buildDate.size(), 11u);
  EXPECT_EQ(c.buildDate[3], ' ');
  EXPECT_EQ(c.buildDate[6], ' ');
  ASSERT_EQ(c.buildTime.size(), 8u);
  EXPECT_EQ(c.buildTime[2], ':');
  EXPECT_EQ(c.buildTime[5], ':');
}

}  // namespace
