// Unsaved changes, "Write Changes To Radio" and "Restore Radio..." through
// the real main window against a simulated radio.

#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <set>

#include "groups.h"
#include "programwindows.h"
#include "radio_window.h"
#include "simfaults.h"

namespace {

// Calls `act` once on the first visible modal dialog named `name`.
class OnDialog {
 public:
  OnDialog(const char* name, std::function<void(QDialog&)> act) : name_(name), act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (done_ || !dialog || !dialog->isVisible() || dialog->objectName() != name_) return;
      done_ = true;
      act_(*dialog);
    });
    timer_.start(5);
  }
  bool Done() const { return done_; }

 private:
  QString name_;
  std::function<void(QDialog&)> act_;
  QTimer timer_;
  bool done_ = false;
};

std::set<int> WrittenBlocks(const std::vector<SimRequest>& log) {
  std::set<int> blocks;
  for (const SimRequest& r : log)
    if (r.command == OP_WRITE_BLOCK) blocks.insert(r.payload[1] << 8 | r.payload[2]);
  return blocks;
}

class ChangesWindow : public ArchivingWindow {
 protected:
  // The window with the radio's own memory loaded from a file.
  void StartLoaded() {
    StartWithRadio();
    new ProgramWindows(Window());
    LoadFile(Memory());
    boxes.Take();
    Sim().ClearRequests();
  }
  // Sets "Sql Level" in the Squelch window and presses OK.
  void EditSquelchLevel(int level) {
    OnDialog squelch("frmSquelch", [level](QDialog& d) {
      d.findChild<QSpinBox*>("udSqlLevel")->setValue(level);
      QTest::mouseClick(d.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    QTest::mouseClick(Button("btnSquelch"), Qt::LeftButton);
    EXPECT_TRUE(squelch.Done());
  }
  int SqlLevelAddress() { return Window().Shared().info.GetParamAddress(Param("Sql Level")); }
};

TEST_F(ChangesWindow, TheTitleMarkFollowsEditsAndSaves) {
  StartLoaded();
  EXPECT_TRUE(Window().windowTitle().endsWith("[*]"));
  EXPECT_FALSE(Window().isWindowModified());
  EXPECT_FALSE(Action("mnuFileWriteChanges")->isEnabled());

  const int level = Memory()[SqlLevelAddress()] == 3 ? 4 : 3;
  EditSquelchLevel(level);
  EXPECT_EQ(Window().Shared().image.GetByte(SqlLevelAddress()), level);
  EXPECT_TRUE(Window().isWindowModified());
  EXPECT_TRUE(Action("mnuFileWriteChanges")->isEnabled());

  chooser.answers = {Path("saved.mem")};
  Action("mnuFileWriteFile")->trigger();
  EXPECT_FALSE(Window().isWindowModified());
  EXPECT_TRUE(Action("mnuFileWriteChanges")->isEnabled()) << "saved, but not in the radio";
}

// Each group's edit reaches the radio alone: only its blocks are written,
// and every other byte of the radio stays.
TEST_F(ChangesWindow, WriteChangesSendsOnlyTheChangedGroupsBlocks) {
  struct Case {
    const char* param;
    int offset;
    const char* said;
  };
  const Case cases[] = {
      {"Sql Level", 0, "Squelch written: 1 block, verified."},
      {"Tx Timeout", 0, "Options written: 1 block, verified."},
      {"Duplex", 0, "Scan/Duplex written: 1 block, verified."},
      {"Tx CTCSS Tone", 0, "Subtones written: 1 block, verified."},
      {"Rx-only Channels", 300, "Receive-only Channels written: 1 block, verified."},
  };
  for (const Case& c : cases) {
    StartLoaded();
    EEPROM& image = Window().Shared().image;
    const int address = Window().Shared().info.GetParamAddress(*Param::Find(c.param)) + c.offset;
    image.SetByte(address, image.GetByte(address) ^ 0x01);
    Window().RefreshModified();
    ASSERT_TRUE(Action("mnuFileWriteChanges")->isEnabled()) << c.param;
    std::vector<uint8_t> expected = Memory();
    expected[static_cast<size_t>(address)] ^= 0x01;

    Action("mnuFileWriteChanges")->trigger();
    ASSERT_TRUE(ClosingStepsDone());
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_FALSE(seen.empty()) << c.param;
    EXPECT_EQ(seen.back().text.toStdString(), c.said);
    EXPECT_EQ(Sim().Memory(), expected) << c.param;
    EXPECT_EQ(WrittenBlocks(Sim().Requests()), std::set<int>{address / 16 * 16}) << c.param;
    EXPECT_FALSE(Action("mnuFileWriteChanges")->isEnabled()) << "the radio holds them now";
  }
}

TEST_F(ChangesWindow, AnEditInTheSquelchWindowIsWhatWriteChangesSends) {
  StartLoaded();
  const int level = Memory()[SqlLevelAddress()] == 3 ? 4 : 3;
  EditSquelchLevel(level);
  Action("mnuFileWriteChanges")->trigger();
  ASSERT_TRUE(ClosingStepsDone());
  std::vector<uint8_t> expected = Memory();
  expected[static_cast<size_t>(SqlLevelAddress())] = static_cast<uint8_t>(level);
  EXPECT_EQ(Sim().Memory(), expected);
  EXPECT_EQ(WrittenBlocks(Sim().Requests()), std::set<int>{SqlLevelAddress() / 16 * 16});
  // The read before it is in the archive.
  ASSERT_EQ(Archived().size(), 1);
}

// Save, Discard or Cancel before unsaved changes would be lost.
enum class Step { kQuit, kReadFile, kReadRadio, kHandedFile };
struct UnsavedCase {
  const char* name;
  Step step;
  QMessageBox::StandardButton answer;
};

class UnsavedQuestion : public ChangesWindow, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedQuestion, AsksAndFollowsTheAnswer) {
  StartLoaded();
  const int level = Memory()[SqlLevelAddress()] == 3 ? 4 : 3;
  EditSquelchLevel(level);
  boxes.Take();
  std::vector<uint8_t> other = Memory();
  other[static_cast<size_t>(SqlLevelAddress())] = 9;
  WriteFile(Path("other.mem"),
            QByteArray(reinterpret_cast<const char*>(other.data()), qsizetype(other.size())));

  boxes.Answer({GetParam().answer});
  switch (GetParam().step) {
    case Step::kQuit: Window().close(); break;
    case Step::kReadFile:
      chooser.answers = {Path("other.mem")};
      QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
      break;
    case Step::kReadRadio:
      QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
      ASSERT_TRUE(ClosingStepsDone());
      break;
    case Step::kHandedFile: Window().OpenHandedFile(Path("other.mem")); break;
  }
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0].caption, "Unsaved Changes");
  EXPECT_EQ(seen[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  EXPECT_EQ(seen[0].defaultButton, QMessageBox::Cancel);

  const bool goesOn = GetParam().answer != QMessageBox::Cancel;
  const QByteArray file = ReadFile(Path("radio.mem"));
  EXPECT_EQ(static_cast<uint8_t>(file[SqlLevelAddress()]) == level,
            GetParam().answer == QMessageBox::Save)
      << "only Save saves, into the file the configuration came from";
  const int now = Window().Shared().image.GetByte(SqlLevelAddress());
  if (GetParam().step == Step::kQuit) {
    EXPECT_EQ(Window().isVisible(), !goesOn);
    EXPECT_EQ(now, level);
  } else if (!goesOn) {
    EXPECT_EQ(now, level) << "Cancel keeps the edit";
    EXPECT_TRUE(Window().isWindowModified());
  } else {
    EXPECT_EQ(now, GetParam().step == Step::kReadRadio ? Memory()[SqlLevelAddress()] : 9);
    EXPECT_FALSE(Window().isWindowModified());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, UnsavedQuestion,
    ::testing::Values(UnsavedCase{"QuitSave", Step::kQuit, QMessageBox::Save},
                      UnsavedCase{"QuitDiscard", Step::kQuit, QMessageBox::Discard},
                      UnsavedCase{"QuitCancel", Step::kQuit, QMessageBox::Cancel},
                      UnsavedCase{"ReadFileSave", Step::kReadFile, QMessageBox::Save},
                      UnsavedCase{"ReadFileDiscard", Step::kReadFile, QMessageBox::Discard},
                      UnsavedCase{"ReadFileCancel", Step::kReadFile, QMessageBox::Cancel},
                      UnsavedCase{"ReadRadioSave", Step::kReadRadio, QMessageBox::Save},
                      UnsavedCase{"ReadRadioDiscard", Step::kReadRadio, QMessageBox::Discard},
                      UnsavedCase{"ReadRadioCancel", Step::kReadRadio, QMessageBox::Cancel},
                      UnsavedCase{"HandedFileSave", Step::kHandedFile, QMessageBox::Save},
                      UnsavedCase{"HandedFileDiscard", Step::kHandedFile, QMessageBox::Discard},
                      UnsavedCase{"HandedFileCancel", Step::kHandedFile, QMessageBox::Cancel}),
    [](const auto& info) { return std::string(info.param.name); });

// Any write from the window can be taken back from the archive.
TEST_F(ChangesWindow, RestoreRadioPutsBackTheReadTakenBeforeAWrite) {
  StartWithRadio();
  std::vector<uint8_t> config = RandomBytes(77);
  PutProductId(config, ProductIdAddress(), kProductKestal);
  LoadFile(config);
  QTest::mouseClick(Button("btnWriteRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  ASSERT_EQ(Sim().Memory(), config);
  ASSERT_EQ(Archived().size(), 1) << "the read before the write";
  boxes.Take();

  QString firstRow;
  OnDialog restore("frmRestoreRadio", [&](QDialog& d) {
    auto* list = d.findChild<QTreeWidget*>("lstReads");
    firstRow = list->topLevelItem(0)->text(0);
    auto* button = d.findChild<QPushButton*>("btnRestore");
    EXPECT_FALSE(button->isDefault());
    QTest::mouseClick(button, Qt::LeftButton);
  });
  Action("mnuFileRestoreRadio")->trigger();
  ASSERT_TRUE(restore.Done());
  ASSERT_TRUE(ClosingStepsDone());
  EXPECT_EQ(Sim().Memory(), Memory());
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(seen.back().text.contains("verified.")) << seen.back().text.toStdString();
  EXPECT_EQ(firstRow.size(), 19) << firstRow.toStdString();  // "2026-12-10 15:05:31"
}

// A write cut short offers the read taken just before it.
TEST_F(ChangesWindow, AWriteChangesCutShortOffersTheRestore) {
  StartLoaded();
  EEPROM& image = Window().Shared().image;
  for (int address : {0x20, 0x3C, 0x6E}) image.SetByte(address, image.GetByte(address) ^ 0x01);
  Window().RefreshModified();
  SimFaults faults;
  faults.badChecksum = {OP_WRITE_BLOCK, 1};
  Sim().SetFaults(faults);
  boxes.Answer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok});
  Sim().ClearRequests();
  // The failed write's progress dialog waits with its reason until closed;
  // the lead is sound again for the restore.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (!Dialog().isVisible() || DialogButton()->text() != "Close") return;
    Sim().SetFaults(SimFaults{});
    QTest::mouseClick(DialogButton(), Qt::LeftButton);
  });
  closer.start(5);
  Action("mnuFileWriteChanges")->trigger();
  // The failed block's message, the offer, then the restore's outcome.
  ASSERT_TRUE(ClosingStepsDone());
  const std::vector<SeenBox> seen = boxes.Take();
  bool offered = false;
  for (const SeenBox& box : seen)
    offered |= box.text.contains("Written whole: Squelch. Not written: Options.") &&
               box.text.contains("Put the radio back as it was before the write");
  std::string said;
  for (const SeenBox& box : seen) said += box.text.toStdString() + "\n";
  EXPECT_TRUE(offered) << said;
  EXPECT_TRUE(Sim().Memory() == Memory()) << said;
}

}  // namespace
