// The EEPROM window with real widgets over the simulated radio on a
// pseudo-terminal: the grid's layout and names, typing in each base and
// size, the hexadecimal conversion error, the single-address and
// whole-memory commands, and what OK and Cancel leave in the image.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "windowcontext.h"
#include "eeprom_text.h"
#include "frmeepromedit.h"
#include "frmreadwrite.h"
#include "keyboard_check.h"
#include "modal_answerer.h"
#include "progress.h"
#include "transfer_rig.h"

namespace {

SimFaults Silent() {
  SimFaults f;
  f.silentAfter = 0;
  return f;
}

struct EepromWindow : Rig {
  EepromWindow()
      : Rig(BuildConfig::ForFamily("Kestal", false)),
        context{build, *this, false, [this] { return flows.PortCheck(); }},
        form(context, flows.Lane()) {
    FillRadio(51);
    FillImage(52, kProductKestal);
    EXPECT_TRUE(flows.PortCheck());
    sim.ClearRequests();
    form.SetSource(&image);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    grid = form.findChild<QTableWidget*>("sg_eeprom");
  }
  ~EepromWindow() { form.hide(); }

  void Click(const char* name) {
    QAbstractButton* b = form.findChild<QAbstractButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QString Cell(int row, int column) const {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString("<none>");
  }
  // Types into a cell as the user does: select it, type, Enter.
  void Type(int row, int column, const QString& text) {
    grid->setCurrentCell(row, column);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    ASSERT_NE(editor, nullptr) << "no editor opened";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the view takes the editor's text on its next round
  }
  QString Log() const { return form.findChild<QPlainTextEdit*>("memoEE")->toPlainText(); }
  // Lets a worker still finishing end, with its closing steps.
  void Finish() { flows.FinishPreviousTransfer(); }

  WindowContext context;
  TfrmEEpromEdit form;
  QTableWidget* grid = nullptr;
  ModalAnswerer boxes;
};

std::vector<uint8_t> Bytes(const EEbuffer& b) { return {b.Data(), b.Data() + b.GetLength()}; }

TEST(TfrmEEpromEdit, LaysTheGridOutWithTheKestalNames) {
  EepromWindow w;
  EXPECT_EQ(w.form.windowTitle(), "EEPROM");
  ASSERT_EQ(w.grid->rowCount(), 1024);  // and the header row: 1025
  ASSERT_EQ(w.grid->columnCount(), 5);
  const QStringList headers{"Addr", "Variable (Hi)", "Variable (Lo)", "Data (Hi)", "Data (Lo)"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(w.grid->horizontalHeaderItem(c)->text(), headers[c]);
  EXPECT_EQ(w.grid->columnWidth(1), 155);
  EXPECT_GE(w.grid->columnWidth(3), 55);
  EXPECT_EQ(w.grid->rowHeight(0), 18);
  EXPECT_EQ(w.Cell(0, 1), "Product ID");
  EXPECT_EQ(w.Cell(15, 0), "30");
  EXPECT_EQ(w.Cell(15, 1), "Status");
  EXPECT_EQ(w.Cell(15, 2), "Last Channel");
  EXPECT_EQ(w.Cell(1023, 0), "2046");
  // Decimal bytes when first shown.
  EXPECT_EQ(w.Cell(0, 3), QString::number(w.image.GetByte(0)));
  EXPECT_EQ(w.Cell(1023, 4), QString::number(w.image.GetByte(2047)));
  EXPECT_EQ(w.form.findChild<QGroupBox*>("gbOptions")->isVisible(), false);
  for (const char* name : {"btnReadAddr", "btnWriteAddr", "btnReadAll", "btnWriteAll",
                           "btnErase", "btnReset", "btnProgrMode", "btnOK", "btnCancel"})
    EXPECT_NE(w.form.findChild<QPushButton*>(name), nullptr) << name;
  for (QPushButton* button : w.form.findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->objectName().toStdString();
}

// Erase Buffer, then Enter wherever the grid's current cell is: the window
// stays open and the loaded image keeps every byte, in both sizes.
TEST(TfrmEEpromEdit, EnterInEveryColumnLeavesTheImageAndTheWindow) {
  EepromWindow w;
  const std::vector<uint8_t> before = w.ImageBytes();
  w.Click("btnErase");
  for (const char* size : {"rb8Bit", "rb16Bit"}) {
    w.Click(size);
    for (int column = 0; column < w.grid->columnCount(); ++column) {
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        w.grid->setCurrentCell(0, 0);
        w.grid->setFocus();
        QTest::keyClick(w.grid, Qt::Key_Home);
        w.grid->setCurrentCell(3, column);
        QTest::keyClick(w.grid, key);
        // A data cell's editor opened: Enter in it closes it again.
        if (QWidget* editor = w.grid->indexWidget(w.grid->currentIndex())) {
          QTest::keyClick(editor, key);
          QApplication::processEvents();
        }
        ASSERT_TRUE(w.form.isVisible()) << size << " column " << column;
        EXPECT_EQ(w.ImageBytes(), before) << size << " column " << column;
        EXPECT_NE(w.form.WorkingCopy(), nullptr);
      }
    }
  }
  EXPECT_EQ(w.Cell(3, 3), "65535");  // still the erased buffer, as words
  w.Click("btnCancel");
  EXPECT_EQ(w.ImageBytes(), before);
  EXPECT_FALSE(w.form.ChangedSource());
}

// Each option group is one Tab stop, on its checked button; the arrows
// move the check, and the stop moves with it.
TEST(TfrmEEpromEdit, TabStopsOnTheCheckedBaseAndSize) {
  EepromWindow w;
  w.grid->setFocus();
  QTest::keyClick(w.grid, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "rbDec");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "rb8Bit");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "btnReadAddr");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "rbDec");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  EXPECT_EQ(w.form.Base(), kEeBaseHex);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "rbHex");
  w.grid->setFocus();
  QTest::keyClick(w.grid, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "rbHex");
  EXPECT_EQ(keyboard_check::InputsTabCannotReach(&w.form).join("\n").toStdString(), "");
}

TEST(TfrmEEpromEdit, OkTellsWhetherItChangedTheImage) {
  EepromWindow w;
  w.Click("btnOK");
  EXPECT_FALSE(w.form.ChangedSource());
  w.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
  w.Type(0, 4, "7");
  w.Click("btnOK");
  EXPECT_EQ(w.image.GetByte(1), 7);
  EXPECT_TRUE(w.form.ChangedSource());
}

TEST(TfrmEEpromEdit, ADecimal300BecomesHexadecimal2CAndOkStoresIt) {
  EepromWindow w;
  w.Type(0, 4, "300");
  EXPECT_EQ(w.Cell(0, 4), "300");
  w.Click("rbHex");
  EXPECT_EQ(w.form.Base(), kEeBaseHex);
  EXPECT_EQ(w.Cell(0, 4), "2C");
  std::vector<uint8_t> expected = w.ImageBytes();
  expected[1] = 44;
  w.Click("btnOK");
  EXPECT_FALSE(w.form.isVisible());
  EXPECT_EQ(w.ImageBytes(), expected);
  EXPECT_TRUE(w.sim.Requests().empty());
}

// Enter in a cell takes that cell's value and nothing more: OK, the
// window's default, is not pressed behind it, and nothing reaches the radio.
TEST(TfrmEEpromEdit, EnterInACellNeitherPressesOkNorSends) {
  EepromWindow w;
  const std::vector<uint8_t> before = w.ImageBytes();
  w.Type(0, 4, "7");
  EXPECT_EQ(w.Cell(0, 4), "7");
  EXPECT_TRUE(w.form.isVisible());
  EXPECT_EQ(w.ImageBytes(), before);
  EXPECT_TRUE(w.sim.Requests().empty());
}

TEST(TfrmEEpromEdit, TypingInEachBaseAndSizeReachesTheImageOnOk) {
  struct Case {
    const char* base;
    const char* size;
    int row, column;
    const char* text;
    int address, value;  // byte, or word when address is even and size 16
  };
  const Case cases[] = {
      {"rbBin", "rb8Bit", 3, 3, "10100101", 6, 0xA5},
      {"rbBin", "rb16Bit", 3, 3, "1000000000000001", 6, 0x8001},
      {"rbDec", "rb16Bit", 4, 3, "4660", 8, 0x1234},
      {"rbHex", "rb8Bit", 5, 4, "7e", 11, 0x7E},
      {"rbHex", "rb16Bit", 6, 3, "BEEF", 12, 0xBEEF},
  };
  for (const Case& c : cases) {
    EepromWindow w;
    w.Click(c.base);
    w.Click(c.size);
    w.Type(c.row, c.column, c.text);
    w.Click("btnOK");
    const bool word = QString(c.size) == "rb16Bit";
    EXPECT_EQ(word ? w.image.GetWord(c.address) : w.image.GetByte(c.address), c.value)
        << c.base << " " << c.size << " " << c.text;
  }
}

// A base or size chosen through the accessibility interface (no click)
// changes the cells as a click does, so a typed 12 in hexadecimal is 0x12.
TEST(TfrmEEpromEdit, BaseAndSizeToggledThroughAccessibilityChangeTheView) {
  EepromWindow w;
  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(w.form.findChild<QRadioButton*>("rbHex")));
  EXPECT_EQ(w.form.Base(), kEeBaseHex);
  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(w.form.findChild<QRadioButton*>("rb16Bit")));
  EXPECT_EQ(w.form.DataSize(), kEeData16Bit);
  w.Click("rb8Bit");
  w.Type(5, 4, "12");
  w.Click("btnOK");
  EXPECT_EQ(w.image.GetByte(11), 0x12);
}

TEST(TfrmEEpromEdit, AnEmptyHexadecimalCellStopsReadWriteOkAndABaseChange) {
  EepromWindow w;
  w.Click("rbHex");
  w.Click("rb16Bit");
  const std::vector<uint8_t> image = w.ImageBytes();
  w.Type(2, 3, "");
  w.boxes.Take();
  w.grid->setCurrentCell(0, 3);
  for (const char* action : {"btnReadAddr", "btnWriteAddr", "btnWriteAll", "rbDec", "rb8Bit",
                             "btnOK"}) {
    w.Click(action);
    const std::vector<SeenBox> seen = w.boxes.Take();
    ASSERT_EQ(seen.size(), 1u) << action;
    EXPECT_EQ(seen[0].caption, "Error") << action;
    EXPECT_EQ(seen[0].text, "'' is not a valid hexadecimal value (address 4).") << action;
    EXPECT_EQ(w.grid->currentRow(), 2) << "the bad cell is shown";
    w.grid->setCurrentCell(0, 3);
  }
  EXPECT_TRUE(w.form.isVisible());
  EXPECT_EQ(w.form.Base(), kEeBaseHex);
  EXPECT_EQ(w.form.DataSize(), kEeData16Bit);
  EXPECT_TRUE(w.form.findChild<QRadioButton*>("rbHex")->isChecked());
  EXPECT_TRUE(w.form.findChild<QRadioButton*>("rb16Bit")->isChecked());
  EXPECT_TRUE(w.sim.Requests().empty()) << "nothing reached the radio";
  w.Click("btnCancel");
  EXPECT_EQ(w.ImageBytes(), image);
}

TEST(TfrmEEpromEdit, KeysTheBaseRefusesAreNotTyped) {
  EepromWindow w;
  w.Click("rbBin");
  w.Type(0, 3, "1021x1");
  EXPECT_EQ(w.Cell(0, 3), "1011");
  w.Click("rbHex");
  w.Type(0, 3, "g2h");
  EXPECT_EQ(w.Cell(0, 3), "2");
}

TEST(TfrmEEpromEdit, EraseThenCancelLeavesTheImage) {
  EepromWindow w;
  const std::vector<uint8_t> image = w.ImageBytes();
  w.Click("btnErase");
  EXPECT_EQ(w.Cell(0, 3), "255");
  EXPECT_EQ(w.Cell(700, 4), "255");
  w.Click("btnCancel");
  EXPECT_FALSE(w.form.isVisible());
  EXPECT_EQ(w.ImageBytes(), image);
  EXPECT_EQ(w.form.WorkingCopy(), nullptr);
}

TEST(TfrmEEpromEdit, ABaseOrSizeChangeKeepsTheViewPosition) {
  EepromWindow w;
  w.grid->scrollToItem(w.grid->item(500, 0), QAbstractItemView::PositionAtTop);
  w.grid->setCurrentCell(510, 4);
  const int top = w.grid->rowAt(0);
  w.Click("rbHex");
  EXPECT_EQ(w.grid->rowAt(0), top);
  EXPECT_EQ(w.grid->currentRow(), 510);
  EXPECT_EQ(w.grid->currentColumn(), 4);
  w.Click("rb16Bit");
  EXPECT_EQ(w.grid->columnCount(), 4);
  EXPECT_EQ(w.grid->horizontalHeaderItem(3)->text(), "Data (16-bit)");
  EXPECT_GE(w.grid->columnWidth(3), 111);
  EXPECT_EQ(w.grid->rowAt(0), top);
  EXPECT_EQ(w.grid->currentRow(), 510);
  EXPECT_EQ(w.grid->currentColumn(), 3) << "clamped to the last column";
  EXPECT_EQ(w.Cell(510, 3), QString::asprintf("%04X", w.image.GetWord(1020)));
}

TEST(TfrmEEpromEdit, OneAddressByCellInEachSize) {
  EepromWindow w;
  const std::vector<uint8_t> radio = w.sim.Memory();
  // 8-bit: column 4 of row 1 is address 1.
  w.grid->setCurrentCell(0, 4);
  w.Click("btnReadAddr");
  EXPECT_EQ(w.Cell(0, 4), QString::number(radio[1]));
  EXPECT_EQ(w.Log(), "Reading EEPROM ... OK");
  // 16-bit: row 1 is address 0.
  w.Click("rb16Bit");
  w.Type(0, 3, "4660");
  w.Click("btnWriteAddr");
  EXPECT_EQ(w.Log(), "Writing EEPROM ... OK");
  EXPECT_EQ(Summarise(w.sim.Requests()),
            (std::vector<Req>{{OP_READ_BYTE, 1}, {OP_WRITE_WORD, 0}}));
  EXPECT_EQ(w.sim.MemoryByte(0), 0x12);
  EXPECT_EQ(w.sim.MemoryByte(1), 0x34);
  EXPECT_EQ(w.image.GetWord(0), 0x1234) << "a written word reaches the image too";

  w.grid->setCurrentCell(3, 1);  // a name, not data
  w.Click("btnReadAddr");
  w.Click("btnWriteAddr");
  const std::vector<SeenBox> seen = w.boxes.Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Please select data location to read");
  EXPECT_EQ(seen[0].caption, "Read EEPROM");
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen[1].text, "Please select data location to write");
  EXPECT_EQ(seen[1].caption, "Write EEPROM");

  w.sim.SetFaults(Silent());
  w.grid->setCurrentCell(0, 3);
  w.Click("btnReadAddr");
  EXPECT_EQ(w.Log(), "Reading EEPROM ... Fail");
}

TEST(TfrmEEpromEdit, ReadAllShowsTheRadioButTheImageWaitsForOk) {
  for (bool ok : {false, true}) {
    EepromWindow w;
    const std::vector<uint8_t> image = w.ImageBytes();
    const std::vector<uint8_t> radio = w.sim.Memory();
    ASSERT_NE(image, radio);
    w.Click("btnReadAll");  // returns once the progress dialog closed itself
    w.Finish();
    EXPECT_EQ(Bytes(*w.form.WorkingCopy()), radio);
    EXPECT_EQ(w.Cell(700, 3), QString::number(radio[1400]));
    EXPECT_EQ(w.Log(), "Reading radio EEPROM...OK");
    EXPECT_EQ(w.ImageBytes(), image) << "untouched until OK";
    auto* progress = w.form.findChild<TfrmReadWrite*>();
    EXPECT_EQ(progress->windowTitle(), "Reading from Radio");
    std::vector<Req> expected{{OP_ENTER_PROG_MODE}};
    AppendBlocks(expected, OP_READ_BLOCK, 128, 16);
    expected.push_back({OP_RESET});
    EXPECT_EQ(Summarise(w.sim.Requests()), expected);
    w.Click(ok ? "btnOK" : "btnCancel");
    EXPECT_EQ(w.ImageBytes(), ok ? radio : image);
  }
}

TEST(TfrmEEpromEdit, WriteAllLeavesTheRadioEqualToTheGrid) {
  EepromWindow w;
  w.Click("rbHex");
  w.Type(100, 3, "5C");
  w.Click("btnWriteAll");
  w.Finish();
  std::vector<uint8_t> expected = w.ImageBytes();
  expected[200] = 0x5C;
  EXPECT_EQ(w.sim.Memory(), expected);
  EXPECT_EQ(w.Log(), "Writing radio EEPROM...OK");
  EXPECT_EQ(w.form.findChild<TfrmReadWrite*>()->windowTitle(), "Writing to Radio");
  EXPECT_NE(w.image.GetByte(200), 0x5C) << "the image waits for OK";
  EXPECT_TRUE(w.boxes.Take().empty());
}

TEST(TfrmEEpromEdit, ARadioFallingSilentDuringWriteAll) {
  EepromWindow w;
  SimFaults f;
  f.silentAfter = 1 + 2 * 5;  // programming mode, then five blocks with their test mode
  w.sim.SetFaults(f);
  auto* progress = w.form.findChild<TfrmReadWrite*>();
  QString seen;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* button = progress->findChild<QPushButton*>("btnCancel");
    auto* label = progress->findChild<QLabel*>("lblAction");
    if (!progress->isVisible() || button->text() != "Close" || label->text().isEmpty()) return;
    seen = label->text();
    QTest::mouseClick(button, Qt::LeftButton);
  });
  closer.start(10);
  w.Click("btnWriteAll");
  closer.stop();
  w.Finish();
  EXPECT_EQ(seen.toStdString(), "Timeout writing to radio\n" + PartialWriteText(""));
  const std::vector<SeenBox> boxes = w.boxes.Take();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Radio Response Timeout.");
  EXPECT_EQ(boxes[0].caption, "Comms Error");
  EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(w.Log(), "Writing radio EEPROM...Fail");
}

TEST(TfrmEEpromEdit, ProgrammingModeRefusedStopsReadAllAndWriteAll) {
  EepromWindow w;
  w.sim.SetFaults(Silent());
  w.Click("btnReadAll");
  w.Click("btnWriteAll");
  w.Click("btnProgrMode");
  const std::vector<SeenBox> seen = w.boxes.Take();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].text, "Failed to enter prog mode");
  EXPECT_EQ(seen[0].caption, "Read all");
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen[1].caption, "Write All");
  EXPECT_EQ(seen[2].text, "Radio Response Timeout.");
  EXPECT_EQ(seen[2].caption, "Comms Error");
  EXPECT_EQ(w.Log(), "Prog mode... fail");
  EXPECT_FALSE(w.form.findChild<TfrmReadWrite*>()->isVisible());
}

TEST(TfrmEEpromEdit, ResetAndProgModeLogTheirAnswer) {
  EepromWindow w;
  w.Click("btnProgrMode");
  EXPECT_EQ(w.Log(), "Prog mode... OK");
  w.Click("btnReset");
  EXPECT_EQ(w.Log(), "RESET radio... OK");
  w.sim.SetFaults(Silent());
  w.Click("btnReset");
  EXPECT_EQ(w.Log(), "RESET radio... fail");
  EXPECT_TRUE(w.boxes.Take().empty()) << "a failed reset has no box";
  EXPECT_EQ(Summarise(w.sim.Requests()),
            (std::vector<Req>{{OP_ENTER_PROG_MODE}, {OP_RESET}, {OP_RESET}}));
}

TEST(TfrmEEpromEdit, ACancelledReadFinishesBeforeTheWindowsNextCommand) {
  EepromWindow w;
  SimFaults slow;
  slow.replyDelayMs = 3;
  w.sim.SetFaults(slow);
  auto* progress = w.form.findChild<TfrmReadWrite*>();
  bool runningAfterCancel = false;
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [&] {
    if (!progress->isVisible() || progress->findChild<QProgressBar*>()->value() < 64) return;
    canceller.stop();
    QTest::mouseClick(progress->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    runningAfterCancel = w.flows.Worker().IsRunning();
  });
  canceller.start(3);
  w.Click("btnReadAll");
  w.Click("btnReset");  // at once, while the worker may still finish
  EXPECT_TRUE(runningAfterCancel);
  const std::vector<Req> log = Summarise(w.sim.Requests());
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], Req{OP_RESET}) << "the worker's own reset first";
  EXPECT_EQ(log.back(), Req{OP_RESET});
  EXPECT_EQ(w.Log(), "RESET radio... OK");
  EXPECT_FALSE(w.flows.ClosePending());
}

TEST(TfrmEEpromEdit, WithoutASourceSaysSoAndChangesNothing) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  WindowContext context{rig.build, rig, false, [] { return true; }};
  TfrmEEpromEdit form(context, rig.flows.Lane());
  form.show();
  EXPECT_EQ(form.findChild<QPlainTextEdit*>("memoEE")->toPlainText(),
            "No EEPROM data source specified.");
  EXPECT_EQ(form.WorkingCopy(), nullptr);
  QTest::mouseClick(form.findChild<QPushButton*>("btnErase"), Qt::LeftButton);
  QTest::mouseClick(form.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
