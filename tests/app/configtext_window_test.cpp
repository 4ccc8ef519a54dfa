// File > "Export As Text..." and "Import Text...".
#include <QTest>

#include "app_fixture.h"
#include "configtext.h"
#include "radioinfo.h"

namespace {

class TextFileTest : public AppFixture {
 protected:
  void StartWithFile() {
    Start();
    WriteFile(Path("a.mem"), Image(0x5A02));
    chooser.answers = {Path("a.mem")};
    Action("mnuReadFile")->trigger();
    ASSERT_TRUE(boxes.Take().empty());
  }
  int Address(Param param) {
    TradioInfo info;
    info.SelectModel(0x5A02);
    return info.GetParamAddress(param);
  }
};

TEST_F(TextFileTest, ExportWritesTheLoadedConfigurationAsText) {
  StartWithFile();
  chooser.answers = {Path("shop.yaml")};
  Action("mnuExportText")->trigger();
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_EQ(ReadFile(Path("shop.yaml")).toStdString(), ExportConfigText(Window().Shared().image));
  const FileDialogRequest& request = chooser.requests.back();
  EXPECT_EQ(request.kind, FileDialogRequest::Save);
  EXPECT_EQ(request.filter, "Configuration text (*.yaml *.yml)");
  EXPECT_EQ(request.defaultSuffix, "yaml");
  // The file name and the data source stay the mem-file's.
  EXPECT_EQ(Window().CurrentFileName(), Path("a.mem"));
}

TEST_F(TextFileTest, ImportAppliesATemplateOntoTheLoadedConfiguration) {
  StartWithFile();
  const int level = Address("Sql Level");
  ASSERT_GE(level, 0);
  WriteFile(Path("standard.yaml"), "model: 0x5A02\nsquelch:\n  Sql Level: 3\n");
  chooser.answers = {Path("standard.yaml")};
  Action("mnuImportText")->trigger();
  EXPECT_TRUE(boxes.Take().empty());
  const QByteArray before = Image(0x5A02);
  const EEPROM& image = Window().Shared().image;
  for (int a = 0; a < 2048; ++a)
    ASSERT_EQ(image.GetByte(a), a == level ? 3 : static_cast<uint8_t>(before[a]))
        << "address " << a;
  EXPECT_EQ(Window().DataSource(), kFileData);
}

TEST_F(TextFileTest, ARefusedImportSaysWhereAndChangesNothing) {
  StartWithFile();
  WriteFile(Path("bad.yaml"), "model: 0x5A02\nsquelch:\n  Sql Level: 10\n");
  chooser.answers = {Path("bad.yaml")};
  Action("mnuImportText")->trigger();
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, Path("bad.yaml") +
                              ":3:14: squelch.Sql Level: 10 is out of range; allowed: "
                              "1..9, or the stored byte as 0x00..0xFF");
  EXPECT_EQ(seen[0].caption, "Import Text");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  const QByteArray before = Image(0x5A02);
  for (int a = 0; a < 2048; ++a)
    ASSERT_EQ(Window().Shared().image.GetByte(a), static_cast<uint8_t>(before[a])) << a;
}

TEST_F(TextFileTest, WithNothingLoadedBothSayWhatToDoFirst) {
  Start();
  for (const char* item : {"mnuExportText", "mnuImportText"}) {
    Action(item)->trigger();
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u) << item;
    EXPECT_EQ(seen[0].text,
              "No configuration is loaded: read it from the radio or from a file first.");
    EXPECT_TRUE(chooser.requests.empty());
  }
}

}  // namespace
