// "Selcall Memory" driven with real input, checked on the image bytes.
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "selcall_rig.h"

namespace {

using Rig = SelcallRig;

struct MemoryRig : Rig {
  explicit MemoryRig(const char* family = "Merlo", int n = 5) : Rig(family) {
    memories.SetIdentLength(n);
  }
  QTableWidget* Grid() { return Child<QTableWidget>(memories, "sgSelcallMemory"); }
  QString Cell(int memory, int column) { return Grid()->item(memory + 0, column)->text(); }
  void Digits(int memory, std::vector<int> digits) {
    shared.image.SetNibbles(At("Selcall Mem") + 8 * memory, digits.data(), 8);
  }
  std::vector<int> StoredDigits(int memory) {
    std::vector<int> digits(8);
    shared.image.GetNibbles(digits.data(), At("Selcall Mem") + 8 * memory, 8);
    return digits;
  }
  // Puts the grid's cursor on a cell, as the arrow keys would.
  void Select(int memory, int column) {
    Grid()->setFocus();
    Grid()->setCurrentCell(memory, column);
  }
  void Ok() { QTest::mouseClick(Child<QPushButton>(memories, "OKBtn"), Qt::LeftButton); }
};

TEST(SelcallMemoryGrid, LayoutTitlesAndMemoryNumbers) {
  MemoryRig r;
  EXPECT_EQ(r.memories.windowTitle(), "Selcall Memory");
  Rig::Show(r.memories);
  QTableWidget* grid = r.Grid();
  EXPECT_EQ(grid->rowCount(), 10);
  EXPECT_EQ(grid->columnCount(), 3);
  const char* titles[] = {"Mem", "Selcall", "Alpha Tag"};
  const int widths[] = {50, 100, 100};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), titles[c]);
    EXPECT_EQ(grid->columnWidth(c), widths[c]);
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(r.Cell(i, 0), QString::number(i));
    EXPECT_FALSE(grid->item(i, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid->rowHeight(i), 20);
  }
  EXPECT_EQ(grid->size(), QSize(258, 234));
  // The desktop's fixed-pitch font, whichever font that is on this machine.
  EXPECT_EQ(grid->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  // Every row fits: no scrolling needed to reach the last memory.
  EXPECT_LE(grid->visualItemRect(grid->item(9, 2)).bottom(), grid->viewport()->height());
  EXPECT_LE(grid->visualItemRect(grid->item(9, 2)).right(), grid->viewport()->width());
}

class SelcallMemoryUnchangedOk : public ::testing::TestWithParam<const char*> {};

TEST_P(SelcallMemoryUnchangedOk, RewritesNothingNew) {
  MemoryRig r(GetParam());
  r.Digits(4, {9, 9, 9, 1, 2, 3, 4, 5});
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.memories);
  EXPECT_EQ(r.Cell(4, 1), "12345");
  EXPECT_EQ(r.Cell(0, 2), "ALPHA");
  r.Ok();
  EXPECT_EQ(r.memories.result(), QDialog::Accepted);
  EXPECT_EQ(r.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(SelcallModels, SelcallMemoryUnchangedOk,
                         ::testing::Values("Merlo", "Pinto", "Dravo"));

TEST(SelcallMemoryGrid, TypedDigitsReplaceTheShownOnesAndKeepTheLeadingOnes) {
  MemoryRig r;
  r.Digits(2, {9, 9, 9, 1, 2, 3, 4, 5});
  Rig::Show(r.memories);
  r.Select(2, 1);
  Rig::Type("5b4c3d2ea1f");  // B to E are refused
  Rig::Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(2, 1), "5432A");
  EXPECT_TRUE(r.memories.isVisible());  // Enter closed the cell, not the window
  r.Ok();
  EXPECT_EQ(r.StoredDigits(2), (std::vector<int>{9, 9, 9, 5, 4, 3, 2, 10}));
}

TEST(SelcallMemoryGrid, AStoredDigit14ShowsAsEButCannotBeTyped) {
  MemoryRig r;
  r.Digits(0, {0, 0, 0, 1, 2, 3, 14, 15});
  Rig::Show(r.memories);
  EXPECT_EQ(r.Cell(0, 1), "123EF");
  r.Select(0, 1);
  Rig::Type("e");  // refused: the cell is not even opened
  EXPECT_EQ(QApplication::focusWidget(), r.Grid());
  Rig::Type("f");
  Rig::Type("e1");
  Rig::Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(0, 1), "   F1");  // right-aligned
  r.Ok();
  // Blanks are digit 0.
  EXPECT_EQ(r.StoredDigits(0), (std::vector<int>{0, 0, 0, 0, 0, 0, 15, 1}));
}

TEST(SelcallMemoryGrid, AStoredEDoesNotBlockEditingTheOtherDigits) {
  MemoryRig r;
  r.Digits(5, {0, 0, 0, 1, 2, 3, 14, 15});
  Rig::Show(r.memories);
  r.Select(5, 1);
  Rig::Key(Qt::Key_F2);
  Rig::Key(Qt::Key_Home);
  Rig::Type("9");
  Rig::Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(5, 1), "923EF");
  r.Ok();
  EXPECT_EQ(r.StoredDigits(5), (std::vector<int>{0, 0, 0, 9, 2, 3, 14, 15}));
}

TEST(SelcallMemoryGrid, OkTakesACellStillBeingEdited) {
  MemoryRig r;
  Rig::Show(r.memories);
  r.Select(9, 2);
  Rig::Type("new");
  Rig::Child<QPushButton>(r.memories, "OKBtn")->click();  // the focus stays in the cell
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Mem") + 72 + 4), "  NEW");
}

// Typed into memory 1's two cells, each opened with the first key typed.
struct TypedEntryCase {
  const char* selcall;  // "" = the cell is emptied
  const char* tag;
  std::vector<int> bytes;  // the memory's four digit bytes after OK
  const char* storedTag;
};

class SelcallMemoryTyped : public ::testing::TestWithParam<TypedEntryCase> {};

TEST_P(SelcallMemoryTyped, ShortEntriesEndInTheLastPosition) {
  const TypedEntryCase& c = GetParam();
  MemoryRig r;
  r.Digits(1, {15, 15, 15, 1, 2, 3, 4, 5});
  r.shared.image.SetAlphaTag(r.At("Selcall Mem") + 8 + 4, "VAN-7");
  Rig::Show(r.memories);
  for (auto [column, text] : {std::pair{1, c.selcall}, std::pair{2, c.tag}}) {
    r.Select(1, column);
    Rig::Key(Qt::Key_F2);
    Rig::Key(Qt::Key_A, Qt::ControlModifier);
    Rig::Key(Qt::Key_Delete);
    Rig::Key(Qt::Key_Home);
    Rig::Type(text);
    Rig::Key(Qt::Key_Return);
  }
  r.Ok();
  EXPECT_FALSE(r.memories.isVisible());
  std::vector<int> bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(r.shared.image.GetByte(r.At("Selcall Mem") + 8 + i));
  EXPECT_EQ(bytes, c.bytes);
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Mem") + 8 + 4), c.storedTag);
}

INSTANTIATE_TEST_SUITE_P(
    ShortFullAndEmpty, SelcallMemoryTyped,
    ::testing::Values(TypedEntryCase{"9", "ab*1", {0xFF, 0xF0, 0x00, 0x09}, " AB*1"},
                      TypedEntryCase{"12", "q", {0xFF, 0xF0, 0x00, 0x12}, "    Q"},
                      TypedEntryCase{"a9f01", "abcde", {0xFF, 0xFA, 0x9F, 0x01}, "ABCDE"},
                      // An emptied selcall keeps its digits; an emptied tag is empty.
                      TypedEntryCase{"", "", {0xFF, 0xF1, 0x23, 0x45}, ""}));

TEST(SelcallMemoryGrid, AnEmptiedCellKeepsItsDigits) {
  MemoryRig r;
  r.Digits(7, {1, 2, 3, 4, 5, 6, 7, 8});
  Rig::Show(r.memories);
  r.Select(7, 1);
  Rig::Key(Qt::Key_F2);
  Rig::Key(Qt::Key_A, Qt::ControlModifier);
  Rig::Key(Qt::Key_Delete);
  Rig::Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(7, 1), "");
  r.Ok();
  EXPECT_EQ(r.StoredDigits(7), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(SelcallMemoryGrid, AlphaTagsTakeCapitalsDigitsAndThreeMarks) {
  MemoryRig r;
  Rig::Show(r.memories);
  r.Select(1, 2);
  Rig::Key(Qt::Key_Return);  // Enter opens the cell
  ASSERT_NE(QApplication::focusWidget(), r.Grid());
  Rig::Key(Qt::Key_A, Qt::ControlModifier);
  Rig::Type("a!b.-/*_");
  Rig::Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, 2), "AB-*_");
  r.Ok();
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Mem") + 8 + 4), "AB-*_");
}

TEST(SelcallMemoryGrid, AShortTagIsRightAlignedInItsEditor) {
  MemoryRig r;
  Rig::Show(r.memories);
  r.Select(3, 2);  // "B-2"
  Rig::Key(Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->displayText(), "  B-2");
  Rig::Key(Qt::Key_Escape);  // leaves the cell as it was
  EXPECT_EQ(r.Cell(3, 2), "B-2");
  EXPECT_TRUE(r.memories.isVisible());
}

TEST(SelcallMemoryGrid, ClearAllThenOkEmptiesAllTen) {
  MemoryRig r;
  Rig::Show(r.memories);
  QTest::mouseClick(Rig::Child<QPushButton>(r.memories, "btnClear"), Qt::LeftButton);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(r.Cell(i, 1), "00000");
    EXPECT_EQ(r.Cell(i, 2), "");
  }
  r.Ok();
  const int base = r.At("Selcall Mem");
  for (int i = 0; i < 10; ++i) {
    for (int b = 0; b < 4; ++b) EXPECT_EQ(r.shared.image.GetByte(base + 8 * i + b), 0) << i;
    EXPECT_EQ(r.shared.image.GetAlphaTag(base + 8 * i + 4), "") << i;
  }
}

struct LengthCase {
  int requested;
  const char* shown;
};

class SelcallMemoryLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(SelcallMemoryLength, IsKeptToZeroToEightDigits) {
  MemoryRig r("Merlo", GetParam().requested);
  r.Digits(0, {1, 2, 3, 4, 5, 6, 7, 8});
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.memories);
  EXPECT_EQ(r.Cell(0, 1), GetParam().shown);
  r.Select(0, 1);
  Rig::Type("9");  // only opens a cell when there are digits to edit
  Rig::Key(Qt::Key_Return);
  r.Ok();
  if (GetParam().requested < 0) {
    EXPECT_EQ(r.Image(), before);
  } else {
    EXPECT_EQ(r.StoredDigits(0), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 9}));  // right-aligned
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, SelcallMemoryLength,
                         ::testing::Values(LengthCase{12, "12345678"}, LengthCase{-3, ""}));

enum class Leave { kCancelButton, kEscape };

class SelcallMemoryCancel : public ::testing::TestWithParam<Leave> {};

TEST_P(SelcallMemoryCancel, ChangesNoByte) {
  MemoryRig r;
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.memories);
  QTest::mouseClick(Rig::Child<QPushButton>(r.memories, "btnClear"), Qt::LeftButton);
  r.Select(0, 2);
  Rig::Type("xyz");
  Rig::Key(Qt::Key_Return);
  if (GetParam() == Leave::kEscape) {
    Rig::Key(Qt::Key_Escape);
  } else {
    QTest::mouseClick(Rig::Child<QPushButton>(r.memories, "CancelBtn"), Qt::LeftButton);
  }
  EXPECT_FALSE(r.memories.isVisible());
  EXPECT_EQ(r.memories.result(), QDialog::Rejected);
  EXPECT_EQ(r.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, SelcallMemoryCancel,
                         ::testing::Values(Leave::kCancelButton, Leave::kEscape));

TEST(SelcallMemoryGrid, EveryShowingReloadsAndTheHelpAreaStaysEmpty) {
  MemoryRig r;
  Rig::Show(r.memories);
  QTest::mouseClick(Rig::Child<QPushButton>(r.memories, "btnClear"), Qt::LeftButton);
  QTest::mouseClick(Rig::Child<QPushButton>(r.memories, "CancelBtn"), Qt::LeftButton);
  Rig::Show(r.memories);
  EXPECT_EQ(r.Cell(0, 2), "ALPHA");
  auto* memo = Rig::Child<QPlainTextEdit>(r.memories, "memoHelpText");
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->toPlainText(), "");
}

}  // namespace
