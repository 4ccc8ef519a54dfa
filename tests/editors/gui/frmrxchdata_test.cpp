// The receive-only channels window and its add/edit dialog, driven with
// clicks and keys and checked on the image bytes.
#include "frmrxchdata.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "editor_rig.h"
#include "modal_answerer.h"
#include "radioinfo.h"
#include "frmrxchedit.h"

namespace {

constexpr const char* kRxFamilies[] = {"Kestal", "Merlo", "Pinto", "Dravo", "Sorel", "KestalBT"};

class ChannelWindow {
 public:
  explicit ChannelWindow(const char* family, bool engineering = false)
      : rig(family, engineering), window(rig.context, nullptr) {}

  void Show() {
    window.show();
    QApplication::processEvents();
  }
  void Click(const char* name) {
    QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  QTableWidget* Grid() { return window.findChild<QTableWidget*>("sgRxChEdit"); }
  QTabBar* Tabs() { return window.findChild<QTabBar*>("tcBanks"); }
  QString Cell(int row, int column) {
    const QTableWidgetItem* item = Grid()->item(row, column);
    return item ? item->text() : QString();
  }
  QStringList Row(int row) {
    QStringList cells;
    for (int c = 0; c < 7; ++c) cells << Cell(row, c);
    return cells;
  }
  int RecordAddress(int n) const { return rig.Address("Rx-only Channels") + 6 * n; }
  int RxBit(const char* set, int n) {
    return (rig.Image().GetByte(rig.Address(set) + 10 + n / 8) >> (n % 8)) & 1;
  }

  EditorRig rig;
  TfrmRxChData window;
  ModalAnswerer boxes;
  ModalDriver<TfrmRxChEdit> dialog;
};

template <typename W>
W* In(QWidget& parent, const char* name) {
  W* w = parent.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

void ReplaceText(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// Cancel changes no byte; an OK that changes nothing writes empty records
// (read as 0xFFFF) as 0 and, without banks, 0xFF into "Rx Bank"; slot 19 of
// every bank stays as read.
class UnchangedChannels : public ::testing::TestWithParam<const char*> {};

TEST_P(UnchangedChannels, CancelKeepsEveryByteAndOkOnlyTheFixedOnes) {
  ChannelWindow f(GetParam());
  const EEPROM before = f.rig.Image();
  f.Show();
  f.Click("btnCancel");
  EXPECT_FALSE(f.window.isVisible());
  EXPECT_TRUE(SameImage(f.rig.Image(), before));

  EEPROM expected = before;
  for (int n = 0; n < 100; ++n)
    if (n % 20 != 19 && expected.GetWord(f.RecordAddress(n)) == 0xFFFF)
      expected.SetWord(f.RecordAddress(n), 0);
  if (!TradioInfo::HasRxBanks(f.rig.build.productId))
    expected.SetByte(f.rig.Address("Rx Bank"), 0xFF);
  ASSERT_EQ(before.GetWord(f.RecordAddress(19)), 0xFFFF);  // so slot 19 is put to the test

  f.Show();
  f.Click("btnOK");
  EXPECT_FALSE(f.window.isVisible());
  for (int a = 0; a < kImageSize; ++a)
    ASSERT_EQ(f.rig.Image().GetByte(a), expected.GetByte(a)) << "address " << a;
}

INSTANTIATE_TEST_SUITE_P(Models, UnchangedChannels, ::testing::ValuesIn(kRxFamilies));

TEST(ChannelData, KestalListsItsChannelsWithoutNamesOrBanks) {
  ChannelWindow f("Kestal");
  f.Show();
  EXPECT_EQ(f.window.windowTitle(), "Channel Data");
  EXPECT_FALSE(f.Tabs()->isVisible());
  EXPECT_EQ(f.Grid()->horizontalHeaderItem(1)->text(), "");
  EXPECT_EQ(f.Grid()->horizontalHeaderItem(2)->text(), "Frequency (MHz)");
  EXPECT_EQ(f.Grid()->rowCount(), 6);
  EXPECT_EQ(f.Row(0), (QStringList{"81", "", "468.5250", "M", "-", "-", "-"}));
  EXPECT_EQ(f.Row(5), (QStringList{"86", "", "474.6500", "-", "-", "-", "-"}));
  EXPECT_FALSE(In<QPushButton>(f.window, "btnClearAll")->isVisible());
}

TEST(ChannelData, MerloOpensOnTheStoredBankAndOkLeavesTheBankByte) {
  ChannelWindow f("Merlo");
  f.rig.SetByte("Rx Bank", 7);  // no such bank: the first
  f.Show();
  ASSERT_TRUE(f.Tabs()->isVisible());
  ASSERT_EQ(f.Tabs()->count(), 5);
  EXPECT_EQ(f.Tabs()->tabText(0), "RX-A");
  EXPECT_EQ(f.Tabs()->tabText(4), "RX-E");
  EXPECT_EQ(f.Tabs()->currentIndex(), 0);
  EXPECT_EQ(f.Grid()->horizontalHeaderItem(1)->text(), "Channel Name");
  EXPECT_EQ(f.Row(0), (QStringList{"81", "FIRE", "468.5250", "M", "-", "-", "-"}));
  QTest::mouseClick(f.Tabs(), Qt::LeftButton, {}, f.Tabs()->tabRect(2).center());
  EXPECT_EQ(f.Tabs()->currentIndex(), 2);
  EXPECT_EQ(f.Grid()->rowCount(), 1);  // an empty bank shows one empty row
  EXPECT_EQ(f.Row(0), (QStringList{"", "", "", "", "", "", ""}));
  f.Click("btnOK");
  EXPECT_EQ(f.rig.Byte("Rx Bank"), 7);

  f.rig.SetByte("Rx Bank", 2);
  f.Show();
  EXPECT_EQ(f.Tabs()->currentIndex(), 2);
  f.Click("btnCancel");
}

TEST(ChannelData, AddStoresTheRoundedFrequencyAndTheNextAddStartsFromIt) {
  ChannelWindow f("Merlo");
  f.Show();
  f.dialog.Then([](TfrmRxChEdit& d) {
    EXPECT_EQ(d.windowTitle(), "Add Channel");
    EXPECT_TRUE(In<QComboBox>(d, "cbChannel")->isVisible());
    EXPECT_FALSE(In<QLineEdit>(d, "editChannel")->isVisible());
    EXPECT_EQ(In<QComboBox>(d, "cbChannel")->currentText(), "87");  // 81..86 are in use
    EXPECT_EQ(In<QComboBox>(d, "cbChannel")->count(), 13);
    EXPECT_EQ(In<QLineEdit>(d, "editFreq")->text(), "477.0000");
    QLineEdit* tag = In<QLineEdit>(d, "editAlphaTag");
    EXPECT_TRUE(tag->isVisible());
    EXPECT_EQ(tag->text(), "");  // the template's "ALPHA" is not offered
    ReplaceText(In<QLineEdit>(d, "editFreq"), "476.43");
    QTest::mouseClick(In<QCheckBox>(d, "chkScan1"), Qt::LeftButton);
    tag->setFocus();
    QTest::keyClicks(tag, "abcdefg");
    EXPECT_EQ(tag->text(), "ABCDEFG");
    QTest::mouseClick(In<QPushButton>(d, "btnOK"), Qt::LeftButton);
  });
  f.Click("btnAdd");
  ASSERT_TRUE(f.dialog.Done());
  ASSERT_EQ(f.Grid()->rowCount(), 7);
  EXPECT_EQ(f.Row(6), (QStringList{"87", "ABCDE", "476.4250", "M", "-", "-", "-"}));

  f.dialog.Then([](TfrmRxChEdit& d) {
    EXPECT_EQ(In<QComboBox>(d, "cbChannel")->currentText(), "88");
    EXPECT_EQ(In<QLineEdit>(d, "editFreq")->text(), "476.4250");
    EXPECT_TRUE(In<QCheckBox>(d, "chkScan1")->isChecked());
    EXPECT_EQ(In<QLineEdit>(d, "editAlphaTag")->text(), "");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  f.window.findChild<QAction*>("PopUpMenuAdd")->trigger();
  ASSERT_TRUE(f.dialog.Done());
  EXPECT_EQ(f.Grid()->rowCount(), 7);
  f.Click("btnOK");
  EXPECT_EQ(f.rig.Image().GetWord(f.RecordAddress(6)), 38114);
  EXPECT_EQ(f.rig.Image().GetAlphaTag(f.RecordAddress(6) + 2), "ABCDE");
  EXPECT_EQ(f.RxBit("Scan Mem 0", 6), 1);
  EXPECT_EQ(f.RxBit("Scan Mem 1", 6), 0);
}

// Enter in the frequency box rounds the value and presses OK, as Enter
// does in every editor; a value that does not parse keeps the window open.
TEST(ChannelData, FrequencyBoxTakesDigitsEnterAndArrowsAndRefusesWhatDoesNotParse) {
  ChannelWindow f("Kestal");
  const EEPROM before = f.rig.Image();
  f.Show();
  f.dialog.Then([&f](TfrmRxChEdit& d) {
    EXPECT_EQ(d.windowTitle(), "Edit Channel");
    EXPECT_EQ(In<QLineEdit>(d, "editChannel")->text(), "81");
    EXPECT_FALSE(In<QLineEdit>(d, "editAlphaTag")->isVisible());
    EXPECT_FALSE(In<QLabel>(d, "lblAlphaTag")->isVisible());
    QLineEdit* freq = In<QLineEdit>(d, "editFreq");
    ReplaceText(freq, "4a7-6.425");
    EXPECT_EQ(freq->text(), "476.425");
    QTest::mouseClick(In<QWidget>(d, "udFreq")->findChild<QToolButton*>("up"), Qt::LeftButton);
    EXPECT_EQ(freq->text(), "476.4375");
    QTest::keyClick(freq, Qt::Key_Down);
    QTest::keyClick(freq, Qt::Key_Down);
    EXPECT_EQ(freq->text(), "476.4125");
    ReplaceText(freq, "4.7.6");
    for (const char* way : {"Enter", "OK"}) {
      if (way == std::string("Enter"))
        QTest::keyClick(freq, Qt::Key_Return);
      else
        QTest::mouseClick(In<QPushButton>(d, "btnOK"), Qt::LeftButton);
      const std::vector<SeenBox> seen = f.boxes.Take();
      ASSERT_EQ(seen.size(), 1u) << way;
      EXPECT_EQ(seen[0].text, "Invalid Frequency");
      EXPECT_EQ(seen[0].caption, "Error");
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(freq->text(), "4.7.6");
    }
    ReplaceText(freq, "476.43");
    QTest::keyClick(freq, Qt::Key_Enter);
  });
  f.Click("btnEdit");
  ASSERT_TRUE(f.dialog.Done());
  EXPECT_EQ(f.Cell(0, 2), "476.4250");  // rounded, then taken as OK takes it
  f.Click("btnCancel");
  EXPECT_TRUE(SameImage(f.rig.Image(), before));
}

TEST(ChannelData, AnEmptyFrequencyEmptiesTheEditedChannel) {
  ChannelWindow f("Kestal");
  f.Show();
  f.Grid()->selectRow(2);
  f.dialog.Then([](TfrmRxChEdit& d) {
    EXPECT_EQ(In<QLineEdit>(d, "editChannel")->text(), "83");
    ReplaceText(In<QLineEdit>(d, "editFreq"), "");
    QTest::keyClick(&d, Qt::Key_Return);  // OK is the default button
  });
  const QRect cell = f.Grid()->visualItemRect(f.Grid()->item(2, 2));
  QTest::mouseClick(f.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(f.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_TRUE(f.dialog.Done());
  EXPECT_EQ(f.Grid()->rowCount(), 5);
  EXPECT_EQ(f.Cell(2, 0), "84");
  f.Click("btnOK");
  EXPECT_EQ(f.rig.Image().GetWord(f.RecordAddress(2)), 0);
}

TEST(ChannelData, DeleteAsksNamingTheBankAndTheLastLeavesOneEmptyRow) {
  ChannelWindow f("Merlo");
  f.rig.SetByte("Rx Bank", 1);
  f.rig.Image().SetWord(f.RecordAddress(24), 38000);  // bank B, channel 85
  f.Show();
  ASSERT_EQ(f.Cell(0, 0), "85");
  f.boxes.Answer({QMessageBox::Cancel});
  f.Click("btnDelete");
  std::vector<SeenBox> seen = f.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Delete bank RX-B, channel 85?");
  EXPECT_EQ(seen[0].caption, "Delete");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(f.Cell(0, 0), "85");

  f.boxes.Answer({QMessageBox::Ok});
  f.window.findChild<QAction*>("PopUpMenuDelete")->trigger();
  EXPECT_EQ(f.boxes.Take().size(), 1u);
  EXPECT_EQ(f.Grid()->rowCount(), 1);
  EXPECT_EQ(f.Cell(0, 0), "");
  f.Click("btnDelete");  // nothing left to delete: no question
  EXPECT_TRUE(f.boxes.Take().empty());
  f.Click("btnOK");
  EXPECT_EQ(f.rig.Image().GetWord(f.RecordAddress(24)), 0);
  EXPECT_EQ(f.rig.Image().GetWord(f.RecordAddress(0)), 37482);  // bank A untouched
}

TEST(ChannelData, AFullBankHasNoSpareChannel) {
  ChannelWindow f("Kestal");
  for (int n = 0; n < 19; ++n) f.rig.Image().SetWord(f.RecordAddress(n), 38000 + n);
  f.Show();
  EXPECT_EQ(f.Grid()->rowCount(), 19);
  f.Click("btnAdd");
  const std::vector<SeenBox> seen = f.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "There are no spare channels.");
  EXPECT_EQ(seen[0].caption, "Add Channel");
  EXPECT_FALSE(f.window.EditDialog().isVisible());
  f.Click("btnCancel");
}

TEST(ChannelData, ClearAllEmptiesTheBankInTheEngineeringBuild) {
  ChannelWindow f("Kestal", true);
  f.Show();
  ASSERT_TRUE(In<QPushButton>(f.window, "btnClearAll")->isVisible());
  f.Click("btnClearAll");
  EXPECT_EQ(f.Grid()->rowCount(), 1);
  f.Click("btnOK");
  for (int n = 0; n < 6; ++n) EXPECT_EQ(f.rig.Image().GetWord(f.RecordAddress(n)), 0) << n;
}

}  // namespace

namespace {

// The CSV lists of "vornprog channels", in and out of the window.
class ChannelLists : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    f_.window.SetListFileChooser([this](QWidget*, bool save) {
      asked_.push_back(save);
      return answer_;
    });
  }
  QString Write(const char* name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  const TradioInfo& Info() { return f_.rig.context.shared.info; }

  ChannelWindow f_{"Kestal"};
  QTemporaryDir dir_;
  QString answer_;
  std::vector<bool> asked_;
};

TEST_F(ChannelLists, ImportFillsTheWindowAndOnlyOkWritesTheImage) {
  const QByteArray list =
      "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\r\n"
      "A,0,81,470.0000,\"\",1,0,0,0\r\n"
      "A,2,83,471.0125,\"\",0,0,1,0\r\n";
  const EEPROM before = f_.rig.Image();
  // What vornprog channels --import makes of the same list.
  EEPROM expected = before;
  RxChannelList wanted = LoadChannels(before, Info());
  ASSERT_TRUE(ChannelsFromCsv(list.toStdString(), false, wanted).empty());
  StoreChannels(expected, Info(), wanted, false);

  answer_ = Write("bench.csv", list);
  for (const char* closer : {"btnCancel", "btnOK"}) {
    f_.Show();
    f_.Click("btnImport");
    EXPECT_TRUE(f_.boxes.Take().empty());
    EXPECT_EQ(f_.Grid()->rowCount(), 2);
    EXPECT_EQ(f_.Row(0), (QStringList{"81", "", "470.0000", "M", "-", "-", "-"}));
    EXPECT_EQ(f_.Row(1), (QStringList{"83", "", "471.0125", "-", "-", "Q", "-"}));
    f_.Click(closer);
    if (std::string(closer) == "btnCancel")
      EXPECT_TRUE(SameImage(f_.rig.Image(), before)) << "Cancel changes no byte";
  }
  for (int a = 0; a < kImageSize; ++a)
    ASSERT_EQ(f_.rig.Image().GetByte(a), expected.GetByte(a)) << "address " << a;
  EXPECT_EQ(asked_, (std::vector<bool>{false, false}));
}

TEST_F(ChannelLists, ABadListChangesNothingAndNamesItsLines) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString said;  // "%1" = the path
  };
  const Case cases[] = {
      {"bad.csv",
       "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\n"
       "A,0,81,470.0000,\"\",0,0,0,0\nA,1,82,476.4200,\"\",0,0,0,0\nA,2,99,470.0000,\"\",0,0,0,0\n",
       "%1 line 3: "},
      {"empty.csv", "", "%1: the list is empty"},
  };
  const EEPROM before = f_.rig.Image();
  f_.Show();
  const QStringList firstRow = f_.Row(0);
  const int rows = f_.Grid()->rowCount();
  for (const Case& c : cases) {
    answer_ = Write(c.name, c.bytes);
    f_.Click("btnImport");
    const std::vector<SeenBox> seen = f_.boxes.Take();
    ASSERT_EQ(seen.size(), 1u) << c.name;
    EXPECT_TRUE(seen[0].text.contains(c.said.arg(answer_))) << seen[0].text.toStdString();
    EXPECT_EQ(seen[0].caption, "Import Channels");
    EXPECT_EQ(f_.Row(0), firstRow) << c.name;
    EXPECT_EQ(f_.Grid()->rowCount(), rows) << c.name;
  }
  // Both bad rows of the first list are named, each with its line.
  answer_ = dir_.filePath("bad.csv");
  f_.Click("btnImport");
  const std::vector<SeenBox> seen = f_.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].text.contains(answer_ + " line 4: ")) << seen[0].text.toStdString();
  // What is no regular file is refused unread, in vornprog's words; a
  // FIFO with no writer would otherwise hold the window for ever.
  const QString fifo = dir_.filePath("list.fifo");
  ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  const struct {
    QString path;
    const char* kind;
  } specials[] = {{dir_.path(), "a directory"}, {fifo, "a FIFO (named pipe)"}};
  for (const auto& special : specials) {
    answer_ = special.path;
    f_.Click("btnImport");
    const std::vector<SeenBox> refused = f_.boxes.Take();
    ASSERT_EQ(refused.size(), 1u) << special.kind;
    EXPECT_EQ(refused[0].text, "Unable to open file " + special.path + ": it is " +
                                   special.kind + ", not a regular file");
  }
  EXPECT_EQ(f_.Row(0), firstRow);
  f_.Click("btnOK");
  EEPROM unchangedOk = before;
  StoreChannels(unchangedOk, Info(), LoadChannels(before, Info()), false);
  EXPECT_TRUE(SameImage(f_.rig.Image(), unchangedOk));
}

TEST_F(ChannelLists, ExportWritesTheRowsAsTheyAreNow) {
  f_.Show();
  f_.Click("btnDelete");  // answered OK: the first channel goes
  f_.boxes.Take();
  answer_ = dir_.filePath("out.csv");
  f_.Click("btnExport");
  EXPECT_TRUE(f_.boxes.Take().empty());
  RxChannelList shown = LoadChannels(f_.rig.Image(), Info());
  ClearRecord(shown.records[0]);
  QFile out(answer_);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_EQ(out.readAll().toStdString(), ChannelsCsv(shown, false));
  EXPECT_EQ(asked_, (std::vector<bool>{true}));
  // A file that cannot be written is said so.
  answer_ = dir_.filePath("no-such-folder/out.csv");
  f_.Click("btnExport");
  const std::vector<SeenBox> seen = f_.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].text.startsWith("Unable to write file " + answer_));
  // Nor is a FIFO written to, or replaced by a file.
  answer_ = dir_.filePath("out.fifo");
  ASSERT_EQ(mkfifo(answer_.toLocal8Bit().constData(), 0600), 0);
  f_.Click("btnExport");
  const std::vector<SeenBox> fifo = f_.boxes.Take();
  ASSERT_EQ(fifo.size(), 1u);
  EXPECT_EQ(fifo[0].text,
            "Unable to write file " + answer_ + ": it is a FIFO (named pipe), not a regular file");
  struct stat st {};
  ASSERT_EQ(stat(answer_.toLocal8Bit().constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(ChannelLists, AListOfTheHeaderAloneClearsEveryChannel) {
  f_.Show();
  ASSERT_NE(f_.Row(0)[2], "");
  answer_ = Write("clear.csv", "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\r\n");
  f_.Click("btnImport");
  EXPECT_TRUE(f_.boxes.Take().empty());
  // An empty bank shows one empty row.
  EXPECT_EQ(f_.Grid()->rowCount(), 1);
  EXPECT_EQ(f_.Row(0), QStringList(7, QString()));
  f_.Click("btnOK");
  const RxChannelList stored = LoadChannels(f_.rig.Image(), Info());
  for (int slot = 0; slot < kRxSlotsPerBank; ++slot)
    if (!IsReservedRxSlot(slot)) EXPECT_EQ(stored.records[slot].frequency, 0u) << slot;
}

}  // namespace
