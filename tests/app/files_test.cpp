// "Read file", "Write file" and the default-file commands.
#include <sys/stat.h>

#include <QDir>
#include <QTest>

#include "app_fixture.h"

namespace {

struct LoadCase {
  const char* name;
  QByteArray bytes;
  bool exists;
  QString message;  // "%1" = the path; empty = no message
  QString caption;
  int state;
};

class ReadFile : public AppFixture, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ReadFile, ShowsTheLoadersMessageAndKeepsTheBytes) {
  const LoadCase& c = GetParam();
  Start();
  const QString path = Path(c.name);
  if (c.exists) WriteFile(path, c.bytes);
  chooser.answers = {path};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);

  const std::vector<SeenBox> seen = boxes.Take();
  if (c.message.isEmpty()) {
    EXPECT_TRUE(seen.empty());
  } else {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, c.message.contains("%1") ? c.message.arg(path) : c.message);
    EXPECT_EQ(seen[0].caption, c.caption);
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  }
  EXPECT_EQ(Window().DataSource(), c.state);
  EXPECT_EQ(Window().StatusText(3), c.state ? "File: " + path : QString("No data loaded."));
  const EEPROM& image = Window().Shared().image;
  for (int a = 0; a < 2048; ++a) {
    // A refused file leaves the start-up image (erased) as it was.
    const bool loaded = c.state != kNothingLoaded;
    const int expected = loaded && a < c.bytes.size() ? static_cast<uint8_t>(c.bytes[a]) : 0xFF;
    ASSERT_EQ(image.GetByte(a), expected) << "address " << a;
  }
  // The dialog offered the mem-files and started at the current name.
  ASSERT_EQ(chooser.requests.size(), 1u);
  EXPECT_EQ(chooser.requests[0].filter, "Mem files (*.mem)");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadFile,
    ::testing::Values(
        LoadCase{"empty.mem", QByteArray(), true, "Incorrect radio type (FFFF)", "Reading Mem-file",
                 kFileData},
        LoadCase{"short.mem", AppFixture::Image(0x5A02, 100), true,
                 "%1 holds only 100 of 2048 bytes; the rest reads as erased (FF).",
                 "Reading Mem-file", kFileData},
        LoadCase{"merlo.mem", AppFixture::Image(0x5A01), true, "Incorrect radio type (5A01)",
                 "Reading Mem-file", kFileData},
        LoadCase{"missing.mem", QByteArray(), false, "Unable to open file %1", "File Open Error",
                 kNothingLoaded},
        LoadCase{"huge.mem", QByteArray(65537, 'x'), true,
                 "Unable to open file %1: it holds 65537 bytes, more than a mem-file ever needs (64 KiB)",
                 "File Open Error", kNothingLoaded}));

// Read file of a FIFO (say a name reused for a pipe) is refused at once.
TEST_F(AppFixture, ReadFileOfAFifoIsRefusedWithoutWaiting) {
  Start();
  const QString path = Path("pipe.mem");
  ASSERT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
  chooser.answers = {path};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Unable to open file " + path + ": it is a FIFO (named pipe), not a regular file");
  EXPECT_EQ(seen[0].caption, "File Open Error");
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
}

TEST_F(AppFixture, CancelledReadFileStillRefreshesTheButtons) {
  Start();
  chooser.answers = {QString()};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  EXPECT_TRUE(Button("btnAlign")->isEnabled());
}

class WriteFileTest : public AppFixture {
 protected:
  // Starts with a.mem loaded as the current file.
  void StartWithFile() {
    Start();
    WriteFile(Path("a.mem"), Image(0x5A02));
    chooser.answers = {Path("a.mem")};
    Action("mnuReadFile")->trigger();
    ASSERT_TRUE(boxes.Take().empty());
  }
};

TEST_F(WriteFileTest, SaveThenLoadGivesTheSameImage) {
  StartWithFile();
  chooser.answers = {Path("copy.mem")};
  QTest::mouseClick(Button("btnWriteFile"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_EQ(ReadFile(Path("copy.mem")), Image(0x5A02));
  EXPECT_EQ(Window().CurrentFileName(), Path("copy.mem"));
  EXPECT_EQ(Window().StatusText(3), "File: " + Path("copy.mem"));
  ASSERT_EQ(chooser.requests.size(), 2u);
  EXPECT_EQ(chooser.requests[1].kind, FileDialogRequest::Save);
  EXPECT_EQ(chooser.requests[1].defaultSuffix, "mem");
}

TEST_F(WriteFileTest, OverwriteCancelLeavesFileAndNameAlone) {
  StartWithFile();
  WriteFile(Path("b.mem"), "old contents");
  chooser.answers = {Path("b.mem")};
  boxes.Answer({QMessageBox::Cancel});
  QTest::mouseClick(Button("btnWriteFile"), Qt::LeftButton);
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "File already exists. Overwrite?");
  EXPECT_EQ(seen[0].caption, "Saving Program File...");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(ReadFile(Path("b.mem")), "old contents");
  EXPECT_EQ(Window().CurrentFileName(), Path("a.mem"));

  chooser.answers = {Path("b.mem")};
  boxes.Answer({QMessageBox::Ok});
  Action("mnuFileWriteFile")->trigger();
  EXPECT_EQ(boxes.Take().size(), 1u);
  EXPECT_EQ(ReadFile(Path("b.mem")), Image(0x5A02));
  EXPECT_EQ(Window().CurrentFileName(), Path("b.mem"));
}

TEST_F(WriteFileTest, FailedSaveSaysWhyAndKeepsTheState) {
  StartWithFile();
  QDir(Path("")).mkdir("folder.mem");
  ASSERT_EQ(mkfifo(Path("fifo.mem").toLocal8Bit().constData(), 0600), 0);
  struct Case {
    QString path;
    size_t questions;  // an existing target is asked about first
    QString reason;
  };
  for (const Case& c : {Case{Path("folder.mem"), 1, "it is a directory, not a regular file"},
                        Case{Path("fifo.mem"), 1, "it is a FIFO (named pipe), not a regular file"},
                        Case{Path("no/such/dir/x.mem"), 0, "No such file or directory"}}) {
    chooser.answers = {c.path};
    QTest::mouseClick(Button("btnWriteFile"), Qt::LeftButton);
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), c.questions + 1) << c.path.toStdString();
    EXPECT_EQ(seen.back().text, "Unable to write file " + c.path + ": " + c.reason);
    EXPECT_EQ(seen.back().caption, "File Save Error");
    EXPECT_EQ(seen.back().icon, QMessageBox::Warning);
    EXPECT_EQ(Window().CurrentFileName(), Path("a.mem"));
    EXPECT_EQ(Window().DataSource(), kFileData);
    EXPECT_EQ(Window().StatusText(3), "File: " + Path("a.mem"));
  }
  EXPECT_TRUE(QFileInfo(Path("folder.mem")).isDir());
}

TEST_F(AppFixture, FailedSaveOfNothingLoadedStaysNothingLoaded) {
  Start();
  chooser.answers = {Path("no/such/dir/x.mem")};
  Action("mnuFileWriteFile")->trigger();
  EXPECT_EQ(boxes.Take().size(), 1u);
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  EXPECT_EQ(Window().StatusText(3), "No data loaded.");
}

TEST_F(AppFixture, SetDefaultFilenameAsksBeforeLoading) {
  Start();
  WriteFile(Path("fleet.mem"), Image(0x5A02));
  chooser.answers = {Path("fleet.mem")};
  boxes.Answer({QMessageBox::Cancel});
  Action("mnuSetDefaultFilename")->trigger();
  std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "Load file '" + Path("fleet.mem") + "' ?\nAll current data will be lost.");
  EXPECT_EQ(seen[0].caption, "Load Default File.");
  EXPECT_EQ(seen[0].icon, QMessageBox::Question);
  // Cancel keeps the new default but loads nothing.
  EXPECT_EQ(Window().DefaultFile(), Path("fleet.mem"));
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  const FileDialogRequest& request = chooser.requests.back();
  EXPECT_EQ(request.title, "Set Default Filename.");
  EXPECT_TRUE(request.mustExist);
  EXPECT_EQ(request.initialPath, "defkestal.mem");

  chooser.answers = {Path("fleet.mem")};
  boxes.Answer({QMessageBox::Ok});
  Action("mnuSetDefaultFilename")->trigger();
  EXPECT_EQ(boxes.Take().size(), 1u);
  EXPECT_EQ(Window().DataSource(), kFileData);
  EXPECT_EQ(Window().StatusText(3), "File: " + Path("fleet.mem"));
  EXPECT_TRUE(Button("btnScan")->isEnabled());

  CloseWindow();
  EXPECT_EQ(Stored("DefaultFile").toString(), Path("fleet.mem"));
}

}  // namespace
