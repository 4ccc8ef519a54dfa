// The grid: its layout, the names and data it shows, and taking the data
// cells back into the working copy in the base and size in force.

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

#include "controls.h"
#include "windowcontext.h"
#include "eebuff.h"
#include "eeprom_text.h"
#include "frmeepromedit.h"
#include "inputrule.h"

namespace {

constexpr int kNameWidth = 155;
constexpr int kByteWidth = 55;
constexpr int kWordWidth = 111;
constexpr int kScrollBarRoom = 25;
constexpr int kMinAddrWidth = 40;
constexpr int kCellPadding = 12;

char BinaryKey(char c) { return c == '0' || c == '1' ? c : 0; }
char HexKey(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return c;
  return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : 0;
}
InputRule::Rule BaseRule(int base) {
  return base == kEeBaseBin ? BinaryKey : base == kEeBaseDec ? DigitKey : HexKey;
}
// The most characters a value of the size takes in the base.
int MaxLength(int base, int size) {
  static constexpr int kLengths[3][2] = {{8, 16}, {3, 5}, {2, 4}};
  return kLengths[base][size];
}

// The data cells' editor: only what the base can say, and no longer than
// the size needs (a decimal byte may still say 300, kept as 300 mod 256).
class DataCellDelegate : public QStyledItemDelegate {
 public:
  DataCellDelegate(const int& base, const int& size, QObject* parent)
      : QStyledItemDelegate(parent), base_(base), size_(size) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    if (index.column() < kEeFirstDataColumn) return nullptr;
    auto* edit = new QLineEdit(parent);
    edit->setObjectName("editData");
    edit->setAccessibleName("Data");
    edit->setFont(parent->font());
    edit->setMaxLength(MaxLength(base_, size_));
    InputRule::Install(edit, BaseRule(base_));
    return edit;
  }

 private:
  const int& base_;
  const int& size_;
};

QTableWidgetItem* FixedItem(QTableWidget* grid) {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setBackground(grid->palette().button());
  return item;
}

}  // namespace

void TfrmEEpromEdit::LayOutGrid() {
  QTableWidget* g = sg_eeprom_;
  if (!g->itemDelegate() || !dynamic_cast<DataCellDelegate*>(g->itemDelegate()))
    g->setItemDelegate(new DataCellDelegate(base_, dataSize_, g));
  const int length = workingCopy_ ? workingCopy_->GetLength() : 0;
  const int rows = EeRowCount(length) - 1;  // the header row is the header's
  const int columns = EeColumnCount(dataSize_);
  g->setUpdatesEnabled(false);
  g->setColumnCount(columns);
  g->setRowCount(rows);
  if (dataSize_ == kEeData16Bit)
    g->setHorizontalHeaderLabels({"Addr", "Variable (Hi)", "Variable (Lo)", "Data (16-bit)"});
  else
    g->setHorizontalHeaderLabels(
        {"Addr", "Variable (Hi)", "Variable (Lo)", "Data (Hi)", "Data (Lo)"});
  int others = 2 * kNameWidth;
  g->setColumnWidth(kEeNameHiColumn, kNameWidth);
  g->setColumnWidth(kEeNameLoColumn, kNameWidth);
  // The data columns' widths are the least they get: a font whose digits
  // are wider widens them rather than cut 16 binary digits or the header.
  const int digits = g->fontMetrics().horizontalAdvance(QString(MaxLength(base_, dataSize_), '0'));
  for (int c = kEeFirstDataColumn; c < columns; ++c) {
    const int header = g->horizontalHeader()->fontMetrics().horizontalAdvance(
        g->horizontalHeaderItem(c)->text());
    const int width = std::max(dataSize_ == kEeData16Bit ? kWordWidth : kByteWidth,
                               std::max(digits, header) + kCellPadding);
    g->setColumnWidth(c, width);
    others += width;
  }
  g->setColumnWidth(kEeAddrColumn,
                    std::max(kMinAddrWidth, g->width() - others - kScrollBarRoom));
  for (int r = 0; r < rows; ++r) {
    QTableWidgetItem* addr = g->item(r, kEeAddrColumn);
    if (!addr) {
      addr = FixedItem(g);
      g->setItem(r, kEeAddrColumn, addr);
    }
    addr->setText(QString::number(2 * r));
    for (int c = kEeNameHiColumn; c < columns; ++c) {
      QTableWidgetItem* item = g->item(r, c);
      if (!item) {
        item = c < kEeFirstDataColumn ? FixedItem(g) : new QTableWidgetItem;
        g->setItem(r, c, item);
      } else {
        item->setText(QString());
      }
    }
  }
  g->setUpdatesEnabled(true);
}

void TfrmEEpromEdit::ShowNames() {
  if (!workingCopy_) return;
  const std::vector<std::string> names =
      EeVariableNames(context_.shared.info, workingCopy_->GetLength());
  for (size_t a = 0; a < names.size(); ++a) {
    if (names[a].empty()) continue;
    const int row = static_cast<int>(a / 2);
    const int column = a % 2 ? kEeNameLoColumn : kEeNameHiColumn;
    sg_eeprom_->item(row, column)->setText(QString::fromStdString(names[a]));
  }
}

void TfrmEEpromEdit::ShowData() {
  if (!workingCopy_) return;
  const std::vector<std::string> texts = EeShowData(*workingCopy_, base_, dataSize_);
  sg_eeprom_->setUpdatesEnabled(false);
  for (size_t i = 0; i < texts.size(); ++i) {
    const EeCell cell = EeCellOf(static_cast<int>(i), dataSize_);
    sg_eeprom_->item(cell.row - 1, cell.column)->setText(QString::fromLatin1(texts[i]));
  }
  sg_eeprom_->setUpdatesEnabled(true);
}

bool TfrmEEpromEdit::TakeBackGrid() {
  if (!workingCopy_) return false;
  // A cell still open (a button reached without leaving it) counts as typed.
  const QModelIndex current = sg_eeprom_->currentIndex();
  if (QWidget* editor = sg_eeprom_->indexWidget(current))
    sg_eeprom_->itemDelegate()->setModelData(editor, sg_eeprom_->model(), current);

  const int count = EeCellCount(workingCopy_->GetLength(), dataSize_);
  std::vector<std::string> texts(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const EeCell cell = EeCellOf(i, dataSize_);
    const QTableWidgetItem* item = sg_eeprom_->item(cell.row - 1, cell.column);
    if (item) texts[static_cast<size_t>(i)] = item->text().toStdString();
  }
  const int bad = EeTakeBackData(texts, base_, dataSize_, *workingCopy_);
  if (bad < 0) return true;
  const EeCell cell = EeCellOf(bad, dataSize_);
  sg_eeprom_->setCurrentCell(cell.row - 1, cell.column);
  Message(QString::fromStdString(EeConversionErrorText(
              texts[static_cast<size_t>(bad)], EeCellAddress(cell.row, cell.column, dataSize_))),
          kEeConversionErrorCaption, QMessageBox::Critical);
  sg_eeprom_->setFocus();
  return false;
}

void TfrmEEpromEdit::CheckViewButtons() {
  SetQuietly(rgBase_->button(base_), true);
  SetQuietly(rgDataSize_->button(dataSize_), true);
  FollowCheckedTabStop(rgBase_);
  FollowCheckedTabStop(rgDataSize_);
}

void TfrmEEpromEdit::ChangeView(int base, int dataSize) {
  FinishWorker();
  if (base == base_ && dataSize == dataSize_) return;
  if (!workingCopy_) {  // nothing shown: only the choice changes
    base_ = base;
    dataSize_ = dataSize;
    return;
  }
  const int top = sg_eeprom_->rowAt(0);
  const int row = sg_eeprom_->currentRow();
  const int column = sg_eeprom_->currentColumn();
  if (!TakeBackGrid()) {
    CheckViewButtons();  // the view stays as it was
    return;
  }
  base_ = base;
  dataSize_ = dataSize;
  LayOutGrid();
  ShowNames();
  ShowData();
  if (top >= 0)
    sg_eeprom_->scrollTo(sg_eeprom_->model()->index(top, 0), QAbstractItemView::PositionAtTop);
  if (row >= 0)
    sg_eeprom_->setCurrentCell(row, std::min(column, sg_eeprom_->columnCount() - 1));
}

void TfrmEEpromEdit::btnEraseClick() {
  FinishWorker();
  if (!workingCopy_) return;
  workingCopy_->Fill(0xFF);
  ShowData();
}

// Keys typed in the grid itself (no cell being edited): Enter opens a data
// cell's editor and is the grid's own in every other column too, and a
// character the base refuses does not open one.
bool TfrmEEpromEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != sg_eeprom_ || event->type() != QEvent::KeyPress ||
      QApplication::focusWidget() != sg_eeprom_)
    return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool data = sg_eeprom_->currentColumn() >= kEeFirstDataColumn;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    if (data) sg_eeprom_->editItem(sg_eeprom_->currentItem());
    return true;
  }
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (key->text().size() == 1 && key->text()[0].isPrint())
    return !data || !InputRule::Takes(BaseRule(base_), key->text());
  return false;
}
