#include "groups.h"
#include "baseline.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <set>
#include <string>

#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

// Every bit of every model's image has exactly one owner.
TEST(ImageGroups, EveryBitOfEveryModelHasOneGroup) {
  for (int row = 0; row < kModelCount; ++row) {
    const ImageGroupMap& map = ImageGroupMap::ForModel(row);
    EXPECT_TRUE(map.Overlaps().empty()) << "model row " << row << ": a bit claimed twice at "
                                        << map.Overlaps().front();
    for (int a = 0; a < kImageSize; ++a) {
      int owners = 0;
      uint8_t covered = 0;
      for (const ImageGroupName& n : kImageGroupNames) {
        owners += std::popcount(map.Mask(n.group, a));
        covered |= map.Mask(n.group, a);
      }
      ASSERT_EQ(owners, 8) << "model row " << row << " address " << a;
      ASSERT_EQ(covered, 0xFF) << "model row " << row << " address " << a;
    }
  }
}

// Parameters no window edits: the radio's own running state and spare
// option bytes. Every other parameter a model has belongs to a named group.
const std::set<std::string> kUngroupedParams = {
    "Last Channel", "Last Volume", "Radio Power State", "CB Unlock Count", "Selcall Last",
    "Options-7",    "Options-8",   "Options-10",        "Status"};

TEST(ImageGroups, EveryEditedParameterIsInANamedGroup) {
  for (int row = 1; row < kModelCount; ++row) {
    const ModelRow& model = ModelTableRow(row);
    const ImageGroupMap& map = ImageGroupMap::ForModel(row);
    for (int i = 0; i < kParamCount; ++i) {
      const int address = model.paramAddresses[i];
      if (address < 0 || kUngroupedParams.count(ParamName(i))) continue;
      const uint8_t named = static_cast<uint8_t>(~map.Mask(ImageGroup::kOther, address));
      // Selcall and receive-only parameters of models without the feature
      // are spare bytes.
      if (named == 0 && !TradioInfo::HasSelcall(model.productId)) continue;
      if (named == 0 && !TradioInfo::HasRxOnlyChannels(model.productId)) continue;
      EXPECT_NE(named, 0) << model.name << ": " << ParamName(i) << " at " << address;
    }
  }
}

const ImageGroupMap& MapOf(uint32_t productId) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  EXPECT_TRUE(FindModel(productId, row, flag, name));
  return ImageGroupMap::ForModel(row);
}

// The Kestal has no selcall, the Merlo has: the same addresses, different
// owners.
TEST(ImageGroups, TheKestalAndMerloLayouts) {
  struct Case {
    uint32_t productId;
    ImageGroup group;
    int address;
    uint8_t mask;
  };
  const Case cases[] = {
      {kProductKestal, ImageGroup::kIdentity, 0, 0xFF},
      {kProductKestal, ImageGroup::kIdentity, 1, 0xFF},
      {kProductKestal, ImageGroup::kCalibration, 2, 0xFF},
      {kProductKestal, ImageGroup::kSquelch, 32, 0xFF},
      {kProductKestal, ImageGroup::kOptions, 33, 0xFF},
      {kProductKestal, ImageGroup::kOptions, 34, 0x34},
      {kProductKestal, ImageGroup::kScanDuplex, 35, 0xE1},
      {kProductKestal, ImageGroup::kCalibration, 35, 0x10},
      {kProductKestal, ImageGroup::kScanDuplex, 30, 0x28},
      {kProductKestal, ImageGroup::kOptions, 30, 0x40},
      {kProductKestal, ImageGroup::kOther, 30, 0x97},
      {kProductKestal, ImageGroup::kScanDuplex, 128, 0xFF},
      {kProductKestal, ImageGroup::kRxOnlyChannels, 138, 0xFF},
      {kProductKestal, ImageGroup::kRxOnlyChannels, 823, 0xFF},
      {kProductKestal, ImageGroup::kOther, 824, 0xFF},
      {kProductKestal, ImageGroup::kOther, 36, 0xFF},  // "Options-3": selcall bits only
      {kProductKestal, ImageGroup::kScanDuplex, 943, 0xFF},
      {kProductKestal, ImageGroup::kOther, 944, 0xFF},
      {kProductKestal, ImageGroup::kOther, 2047, 0xFF},
      {kProductMerlo, ImageGroup::kSelcallMemories, 824, 0xFF},
      {kProductMerlo, ImageGroup::kSelcallSettings, 911, 0xFF},
      {kProductMerlo, ImageGroup::kSelcallSettings, 36, 0x7F},
      {kProductMerlo, ImageGroup::kSelcallSettings, 176, 0xFF},  // "Quiet Mem", CB channels
      {kProductMerlo, ImageGroup::kOther, 912, 0xFF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MapOf(c.productId).Mask(c.group, c.address), c.mask)
        << std::hex << c.productId << std::dec << " " << GroupKey(c.group) << " @" << c.address;
  const std::vector<ByteRange> memories = MapOf(kProductMerlo).Ranges(ImageGroup::kSelcallMemories);
  ASSERT_EQ(memories.size(), 1u);
  EXPECT_EQ(memories[0].first, 824);
  EXPECT_EQ(memories[0].last, 903);
  EXPECT_FALSE(MapOf(kProductKestal).Present().Has(ImageGroup::kSelcallMemories));
}

TEST(ImageGroups, ChangedAndMergedGroupsFollowTheBits) {
  const ImageGroupMap& map = ImageGroupMap::ForModel(2);
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    uint8_t radio[kImageSize], file[kImageSize];
    for (int i = 0; i < kImageSize; ++i) radio[i] = file[i] = static_cast<uint8_t>(random());
    const int address = static_cast<int>(random() % kImageSize);
    const uint8_t bit = static_cast<uint8_t>(1u << (random() % 8));
    file[address] ^= bit;
    GroupSet owner;
    for (const ImageGroupName& n : kImageGroupNames)
      if (map.Mask(n.group, address) & bit) owner = owner.With(n.group);
    EXPECT_EQ(ChangedGroups(map, radio, file), owner);
    EXPECT_TRUE(ChangedGroups(map, radio, radio).Empty());

    uint8_t merged[kImageSize];
    std::copy(radio, radio + kImageSize, merged);
    MergeGroups(map, GroupSet::All().Minus(owner), file, merged);
    EXPECT_TRUE(std::equal(radio, radio + kImageSize, merged)) << "other groups took the bit";
    MergeGroups(map, owner, file, merged);
    EXPECT_TRUE(std::equal(file, file + kImageSize, merged));
  }
}

TEST(ImageGroups, NamesAndSets) {
  EXPECT_EQ(FindGroup("options"), ImageGroup::kOptions);
  EXPECT_EQ(FindGroup("Options"), std::nullopt);
  EXPECT_EQ(FindGroup(""), std::nullopt);
  EXPECT_EQ(GroupKeyList(),
            "channels, scan, selcall, selcall-memories, subtones, squelch, options, "
            "calibration, identity, other");
  EXPECT_EQ(GroupSet().Titles(), "nothing");
  EXPECT_EQ(GroupSet().With(ImageGroup::kSquelch).With(ImageGroup::kOptions).Titles(),
            "Squelch and Options");
  EXPECT_EQ(GroupSet()
                .With(ImageGroup::kOptions)
                .With(ImageGroup::kScanDuplex)
                .With(ImageGroup::kSquelch)
                .Titles(),
            "Scan/Duplex, Squelch and Options");
}

}  // namespace

namespace {

TEST(ConfigBaseline, TracksUnsavedChangesAndTheGroupsToWrite) {
  const ImageGroupMap& map = ImageGroupMap::ForModel(2);
  ConfigBaseline baseline;
  EEPROM image;
  EXPECT_FALSE(baseline.Modified(image)) << "nothing loaded";
  baseline.Loaded(image);
  EXPECT_FALSE(baseline.Modified(image));
  image.SetByte(0x20, 7);  // "Sql Level"
  EXPECT_TRUE(baseline.Modified(image));
  EXPECT_EQ(baseline.ChangedGroups(image, map), GroupSet().With(ImageGroup::kSquelch));
  baseline.Saved(image);
  EXPECT_FALSE(baseline.Modified(image));
  EXPECT_EQ(baseline.ChangedGroups(image, map), GroupSet().With(ImageGroup::kSquelch))
      << "saving a file does not put it into the radio";
  baseline.Written(image);
  EXPECT_TRUE(baseline.ChangedGroups(image, map).Empty());
  image.SetByte(0x20, 0xFF);  // back as loaded, but not as saved
  EXPECT_TRUE(baseline.Modified(image));
}

}  // namespace
