#include "configtext.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "eeprom.h"
#include "groups.h"
#include "radioinfo.h"

namespace {

EEPROM RandomImage(uint32_t productId, uint32_t seed) {
  std::mt19937 random(seed);
  EEPROM image;
  for (int a = 0; a < kImageSize; ++a) image.SetByte(a, static_cast<int>(random() & 0xFF));
  image.SetWord(0, static_cast<int>(productId));
  return image;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool SameBytes(const EEPROM& a, const EEPROM& b) {
  for (int i = 0; i < kImageSize; ++i)
    if (a.GetByte(i) != b.GetByte(i)) return false;
  return true;
}

std::string IdText(uint32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", id);
  return text;
}

// The first model with receive-only channels: rows, memberships and tones.
uint32_t RxModel() {
  for (int row = 1; row < kModelCount; ++row)
    if (TradioInfo::HasRxOnlyChannels(ModelTableRow(row).productId))
      return ModelTableRow(row).productId;
  return ModelTableRow(1).productId;
}

TEST(ConfigText, RandomImagesOfEveryModelComeBackByteForByte) {
  std::vector<uint32_t> ids{0x7A7Au};  // a product ID no model has
  for (int row = 1; row < kModelCount; ++row) ids.push_back(ModelTableRow(row).productId);
  for (const uint32_t id : ids)
    for (uint32_t seed = 1; seed <= 20; ++seed) {
      const EEPROM image = RandomImage(id, seed * 7919 + id);
      const std::string text = ExportConfigText(image);
      EEPROM back;
      ConfigTextError error;
      ASSERT_TRUE(ImportConfigText(text, nullptr, back, error))
          << IdText(id) << " seed " << seed << ": " << error.Text("export") << "\n"
          << text;
      ASSERT_TRUE(SameBytes(image, back)) << IdText(id) << " seed " << seed;
    }
}

TEST(ConfigText, ErasedAndZeroImagesComeBackToo) {
  for (const int fill : {0x00, 0xFF}) {
    EEPROM image;
    for (int a = 0; a < kImageSize; ++a) image.SetByte(a, fill);
    image.SetWord(0, static_cast<int>(RxModel()));
    EEPROM back;
    ConfigTextError error;
    ASSERT_TRUE(ImportConfigText(ExportConfigText(image), nullptr, back, error)) << error.Text("x");
    EXPECT_TRUE(SameBytes(image, back)) << fill;
  }
}

TEST(ConfigText, GroupsAreTopLevelKeysInListOrder) {
  const EEPROM image = RandomImage(RxModel(), 5);
  const std::string text = ExportConfigText(image);
  TradioInfo info;
  info.SelectModel(RxModel());
  size_t last = 0;
  for (const ImageGroup g : ImageGroupMap::ForModel(info.modelIndex).Present().Members()) {
    const size_t at = text.find("\n" + std::string(GroupKey(g)) + ":");
    ASSERT_NE(at, std::string::npos) << GroupKey(g);
    EXPECT_GT(at, last) << GroupKey(g);
    last = at;
  }
  EXPECT_NE(text.find("\n    - {record: 0, "), std::string::npos);
}

TEST(ConfigText, ExportIsCanonicalAndOneEditChangesOneLine) {
  EEPROM image = RandomImage(RxModel(), 11);
  TradioInfo info;
  info.SelectModel(RxModel());
  const std::string before = ExportConfigText(image);
  EXPECT_EQ(before, ExportConfigText(image));

  image.SetParamByte(info, "Sql Level", image.GetParamByte(info, "Sql Level") == 4 ? 5 : 4);
  const std::vector<std::string> a = Lines(before), b = Lines(ExportConfigText(image));
  ASSERT_EQ(a.size(), b.size());
  std::vector<std::string> changed;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) changed.push_back(b[i]);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].rfind("  Sql Level: ", 0), 0u) << changed[0];
}

TEST(ConfigText, ValuesAreShownInTheWindowsUnits) {
  EEPROM image = RandomImage(RxModel(), 3);
  TradioInfo info;
  info.SelectModel(RxModel());
  image.SetParamByte(info, "Sql Min Open", 15);
  image.SetParamByte(info, "Mic Gain", 0xFA);
  image.SetParamByte(info, "Sql Level", 12);  // beyond the window's 1..9
  const int ident = info.GetParamAddress("Selcall Ident");
  ASSERT_GE(ident, 0);
  image.FromHexText("FFF12345", ident, 4);
  image.SetAlphaTag(ident + 4, "BASE");
  const std::string text = ExportConfigText(image);
  EXPECT_NE(text.find("  Sql Min Open: 150  # 0..2550 in steps of 10 ms\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("  Mic Gain: -6  # -12..30 dB\n"), std::string::npos);
  EXPECT_NE(text.find("  Sql Level: 0x0C  # 1..9; 0x.. is the stored byte\n"), std::string::npos);
  EXPECT_NE(text.find("  Selcall Ident: {digits: \"FFF12345\", name: \"BASE\"}  # digits 0-9, "
                      "A-F where none; name up to 5 characters\n"),
            std::string::npos);
  EXPECT_NE(text.find("  Selcall Mem 10: {digits: "), std::string::npos);
}

TEST(ConfigText, ATemplateOntoABaseChangesExactlyItsKeys) {
  const uint32_t id = RxModel();
  const EEPROM base = RandomImage(id, 21);
  TradioInfo info;
  info.SelectModel(id);
  const std::string text =
      "model: " + IdText(id) +
      "\nsquelch:\n  Sql Level: 3\n  Sql Min Open: 200\n"
      "channels:\n  rows:\n    - {record: 2, MHz: 476.4250, tag: \"BASE\", scan0: on}\n";
  EEPROM out;
  ConfigTextError error;
  ASSERT_TRUE(ImportConfigText(text, &base, out, error)) << error.Text("template");

  EEPROM expected = base;
  expected.SetParamByte(info, "Sql Level", 3);
  expected.SetParamByte(info, "Sql Min Open", 20);
  const int record = info.GetParamAddress("Rx-only Channels") + 2 * kRxChannelRecordSize;
  expected.SetWord(record, 476425000 / kRxChannelStepHz);
  expected.SetAlphaTag(record + 2, "BASE");
  const int scan0 = info.GetParamAddress("Scan Mem 0");
  const int bit = 80 + 2;
  expected.SetByte(scan0 + bit / 8, expected.GetByte(scan0 + bit / 8) | (1 << (bit % 8)));
  for (int a = 0; a < kImageSize; ++a)
    EXPECT_EQ(out.GetByte(a), expected.GetByte(a)) << "byte " << a;
}

TEST(ConfigText, ATemplateOfAnotherModelIsRefusedOntoABase) {
  const EEPROM base = RandomImage(ModelTableRow(1).productId, 2);
  EEPROM out = base;
  ConfigTextError error;
  EXPECT_FALSE(
      ImportConfigText("model: " + IdText(ModelTableRow(2).productId) + "\n", &base, out, error));
  EXPECT_EQ(error.line, 1);
  EXPECT_EQ(error.column, 8);
  EXPECT_EQ(error.path, "model");
  EXPECT_NE(error.message.find("applies onto"), std::string::npos) << error.message;
}

struct WrongInput {
  const char* name;
  std::string text;
  int line;
  int column;
  std::string path;
  std::string message;  // a part of it
};

TEST(ConfigText, WrongInputIsRefusedWithPlacePathAndWhatIsAllowed) {
  const uint32_t id = RxModel();
  const std::string model = "model: " + IdText(id) + "\n";
  const std::vector<WrongInput> cases = {
      {"unknown key", model + "squelch:\n  Sql Levle: 3\n", 3, 3, "squelch.Sql Levle",
       "unknown key; allowed: "},
      {"unknown group", model + "sqelch:\n  Sql Level: 3\n", 2, 1, "sqelch",
       "unknown key for this model; allowed: model, "},
      {"wrong type", model + "squelch:\n  Sql Level: [3]\n", 3, 14, "squelch.Sql Level",
       "expected a single value: 1..9"},
      {"not a number", model + "squelch:\n  Sql Level: high\n", 3, 14, "squelch.Sql Level",
       "\"high\" is not a number; allowed: 1..9, or the stored byte as 0x00..0xFF"},
      {"out of range", model + "squelch:\n  Sql Level: 10\n", 3, 14, "squelch.Sql Level",
       "10 is out of range; allowed: 1..9"},
      {"off the step", model + "squelch:\n  Sql Min Open: 155\n", 3, 17, "squelch.Sql Min Open",
       "155 is out of range; allowed: 0..2550 in steps of 10 ms"},
      {"duplicate key", model + "squelch:\n  Sql Level: 3\n  Sql Level: 4\n", 4, 3,
       "squelch.Sql Level", "duplicate key"},
      {"duplicate group", model + "squelch: {}\nsquelch: {}\n", 3, 1, "squelch", "duplicate key"},
      {"not on or off", model + "options:\n  Scrambler: maybe\n", 3, 14, "options.Scrambler",
       "\"maybe\" is not on or off"},
      {"another model", "model: 0x7A7A\nsquelch:\n  Sql Level: 3\n", 1, 8, "model",
       "this file is for product ID 0x7A7A"},
      {"no model", "squelch:\n  Sql Level: 3\n", 1, 1, "model",
       "missing; the file must name its model"},
      {"unknown model name", "model: Walkie\n", 1, 8, "model", "unknown model; allowed: "},
      {"not yaml", "model: [0x12\nsquelch: {\n", 2, 8, "", "not YAML: "},
      {"not a configuration", "just some words\n", 1, 1, "", "expected a configuration"},
      {"bad frequency", model + "channels:\n  rows:\n    - {record: 0, MHz: 476.4260}\n", 4, 24,
       "channels.rows[0].MHz", "476.4260 is out of range; allowed: MHz from 0.0125"},
      {"bad tag", model + "channels:\n  rows:\n    - {record: 0, tag: \"ab\"}\n", 4, 24,
       "channels.rows[0].tag", "\"ab\" is not a tag"},
      {"record twice", model + "channels:\n  rows:\n    - {record: 1}\n    - {record: 1}\n", 5, 16,
       "channels.rows[1].record", "record 1 is given twice"},
      {"record out of range", model + "channels:\n  rows:\n    - {record: 100}\n", 4, 16,
       "channels.rows[0].record", "allowed: 0..99"},
      {"bad channel", model + "scan:\n  Scan Mem 0: [1, 81]\n", 3, 19, "scan.Scan Mem 0[1]",
       "not a channel; allowed: a list of channels from 1 to 80"},
      {"bad tone", model + "subtones:\n  Tx CTCSS Tone: \"CTC99\"\n", 3, 18,
       "subtones.Tx CTCSS Tone", "\"CTC99\" is no tone; allowed: a tone name such as \"OFF\""},
      {"a number for a box", model + "scan:\n  Three beeps: 1\n", 3, 16, "scan.Three beeps",
       "\"1\" is not on or off"},
      {"bits of another group", model + "channels:\n  bytes:\n    0x096: \"0F\"\n", 4, 12,
       "channels.bytes.0x096", "byte 0 sets bits outside 0xF0"},
      {"bad selcall digits", model + "selcall:\n  Selcall Ident: {digits: \"12345G78\"}\n", 3, 27,
       "selcall.Selcall Ident.digits", "expected 8 digits 0-9 or A-F"},
      {"nested too deep", model + std::string(40, '[') + "\n", 2, 33, "", "nested too deep"},
  };
  const EEPROM base = RandomImage(id, 9);
  for (const WrongInput& c : cases) {
    EEPROM out = base;
    ConfigTextError error;
    EXPECT_FALSE(ImportConfigText(c.text, &base, out, error)) << c.name;
    EXPECT_EQ(error.line, c.line) << c.name << ": " << error.Text("f");
    EXPECT_EQ(error.column, c.column) << c.name << ": " << error.Text("f");
    EXPECT_EQ(error.path, c.path) << c.name;
    EXPECT_NE(error.message.find(c.message), std::string::npos) << c.name << ": " << error.message;
    EXPECT_TRUE(SameBytes(out, base)) << c.name;
  }
}

TEST(ConfigText, AWholeImportNeedsEveryKey) {
  const EEPROM image = RandomImage(RxModel(), 4);
  std::string text = ExportConfigText(image);
  const size_t at = text.find("  Sql Level: ");
  ASSERT_NE(at, std::string::npos);
  text.erase(at, text.find('\n', at) + 1 - at);
  EEPROM out;
  ConfigTextError error;
  EXPECT_FALSE(ImportConfigText(text, nullptr, out, error));
  EXPECT_EQ(error.path, "squelch.Sql Level");
  EXPECT_NE(error.message.find("missing"), std::string::npos);
}

TEST(ConfigText, ErrorTextNamesFileLineAndColumn) {
  const ConfigTextError error{3, 14, "squelch.Sql Level", "10 is out of range; allowed: 1..9"};
  EXPECT_EQ(error.Text("shop.yaml"),
            "shop.yaml:3:14: squelch.Sql Level: 10 is out of range; allowed: 1..9");
}

}  // namespace
