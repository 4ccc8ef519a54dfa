#include "frmselcallidents.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "helpmemo.h"
#include "inputrule.h"

namespace {

enum Column { kMemColumn = 0, kSelcallColumn = 1, kTagColumn = 2 };
constexpr int kColumnWidths[] = {50, 100, 100};
constexpr int kRowHeight = 20;
constexpr int kGridWidth = 258;   // 2 + each column's width + 2
constexpr int kGridHeight = 234;

InputRule::Rule ColumnRule(int column) {
  return column == kSelcallColumn ? SelcallDigitKey : SelcallTagKey;
}

std::string CellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text().toStdString() : std::string();
}

// The in-place editors: right-aligned masks of n positions (selcall) or five
// (alpha tag), each with its column's input rule.
class MaskedCellDelegate : public QStyledItemDelegate {
 public:
  MaskedCellDelegate(const int& identLength, QObject* parent)
      : QStyledItemDelegate(parent), identLength_(identLength) {}

  int Width(int column) const {
    return column == kSelcallColumn ? identLength_ : column == kTagColumn ? kSelcallTagLength : 0;
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    const int width = Width(index.column());
    if (width <= 0) return nullptr;
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(index.column() == kSelcallColumn ? "editSelcall" : "editAlphaTag");
    edit->setInputMask(QString(width, 'x') + "; ");
    InputRule::Install(edit, ColumnRule(index.column()));
    edit->setFont(parent->font());
    edit->setAccessibleName(index.column() == kSelcallColumn ? "Selcall" : "Alpha Tag");
    return edit;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const std::string text = index.data().toString().toStdString();
    InputRule::Load(static_cast<QLineEdit*>(editor),
                    QString::fromStdString(RightAlignedInMask(text, Width(index.column()))));
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    const std::string positions = static_cast<QLineEdit*>(editor)->displayText().toStdString();
    model->setData(index,
                   QString::fromStdString(CellTextFromMask(RightAlignedEntry(positions))));
  }

 private:
  const int& identLength_;
};

}  // namespace

TfrmSelcallIdents::TfrmSelcallIdents(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("frmSelcallIdents");
  setWindowTitle("Selcall Memory");
  BuildControls();
}

void TfrmSelcallIdents::BuildControls() {
  sgSelcallMemory = new QTableWidget(kSelcallMemoryCount, 3, this);
  sgSelcallMemory->setObjectName("sgSelcallMemory");
  sgSelcallMemory->setAccessibleName("Selcall memories");
  sgSelcallMemory->setHorizontalHeaderLabels({"Mem", "Selcall", "Alpha Tag"});
  sgSelcallMemory->verticalHeader()->hide();
  sgSelcallMemory->horizontalHeader()->setFixedHeight(kRowHeight);
  sgSelcallMemory->horizontalHeader()->setHighlightSections(false);
  sgSelcallMemory->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  sgSelcallMemory->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sgSelcallMemory->verticalHeader()->setDefaultSectionSize(kRowHeight);
  sgSelcallMemory->verticalHeader()->setMinimumSectionSize(kRowHeight);
  for (int c = 0; c < 3; ++c) sgSelcallMemory->setColumnWidth(c, kColumnWidths[c]);
  sgSelcallMemory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgSelcallMemory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgSelcallMemory->setSelectionMode(QAbstractItemView::ContiguousSelection);
  sgSelcallMemory->setEditTriggers(QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
  // Tab leaves the grid for the buttons; the arrows move between cells.
  sgSelcallMemory->setTabKeyNavigation(false);
  sgSelcallMemory->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  sgSelcallMemory->setFixedSize(kGridWidth, kGridHeight);
  sgSelcallMemory->setItemDelegate(new MaskedCellDelegate(identLength_, sgSelcallMemory));
  sgSelcallMemory->installEventFilter(this);
  for (int row = 0; row < kSelcallMemoryCount; ++row) {
    auto* mem = new QTableWidgetItem(QString::number(row));
    mem->setFlags(Qt::ItemIsEnabled);  // the fixed column
    mem->setTextAlignment(Qt::AlignCenter);
    mem->setBackground(palette().button());
    sgSelcallMemory->setItem(row, kMemColumn, mem);
    for (int column : {kSelcallColumn, kTagColumn}) {
      sgSelcallMemory->setItem(row, column, new QTableWidgetItem());
    }
  }

  btnClear = new QPushButton("Clear All", this);
  btnClear->setObjectName("btnClear");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  for (QPushButton* b : {btnClear, OKBtn, CancelBtn}) b->setAutoDefault(false);
  OKBtn->setDefault(true);

  memoHelpText = new QPlainTextEdit(this);
  memoHelpText->setObjectName("memoHelpText");
  memoHelpText->setAccessibleName("Help");
  memoHelpText->setFixedHeight(44);
  memoHelpText->setFocusPolicy(Qt::NoFocus);
  help_ = new HelpMemo(memoHelpText);
  help_->AddClearer(OKBtn);
  help_->AddClearer(CancelBtn);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnClear);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* top = new QHBoxLayout;
  top->addWidget(sgSelcallMemory);
  top->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(memoHelpText);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnClear, &QPushButton::clicked, this, &TfrmSelcallIdents::btnClearClick);
  connect(OKBtn, &QPushButton::clicked, this, &TfrmSelcallIdents::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSelcallIdents::SetIdentLength(int n) { identLength_ = ClampIdentLength(n); }

void TfrmSelcallIdents::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmSelcallIdents::FormShow() {
  memories_ = LoadSelcallMemories(context_.shared.image, context_.shared.info);
  FillGrid();
  sgSelcallMemory->setCurrentCell(0, kSelcallColumn);
  sgSelcallMemory->setFocus();
}

void TfrmSelcallIdents::FillGrid() {
  for (int i = 0; i < kSelcallMemoryCount; ++i) {
    sgSelcallMemory->item(i, kSelcallColumn)
        ->setText(QString::fromStdString(ShownDigits(memories_[i], identLength_)));
    sgSelcallMemory->item(i, kTagColumn)->setText(QString::fromStdString(memories_[i].alphaTag));
  }
}

void TfrmSelcallIdents::btnClearClick() {
  ClearSelcallMemories(memories_);
  FillGrid();
}

void TfrmSelcallIdents::OKBtnClick() {
  // A cell still open (OK reached without leaving it) counts as typed.
  const QModelIndex current = sgSelcallMemory->currentIndex();
  if (QWidget* editor = sgSelcallMemory->indexWidget(current)) {
    sgSelcallMemory->itemDelegate()->setModelData(editor, sgSelcallMemory->model(), current);
  }
  for (int i = 0; i < kSelcallMemoryCount; ++i) {
    ApplyDigitText(memories_[i], CellText(sgSelcallMemory, i, kSelcallColumn));
    memories_[i].alphaTag = TagFromCellText(CellText(sgSelcallMemory, i, kTagColumn));
  }
  StoreSelcallMemories(context_.shared.image, context_.shared.info, memories_);
  accept();
}

// Keys typed in the grid itself (no cell being edited): Enter opens the
// current cell's editor, and a character its column refuses does not. Keys
// an open editor passes on are the grid's own business.
bool TfrmSelcallIdents::eventFilter(QObject* watched, QEvent* event) {
  if (watched != sgSelcallMemory || event->type() != QEvent::KeyPress ||
      QApplication::focusWidget() != sgSelcallMemory) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const int column = sgSelcallMemory->currentColumn();
  const bool editable = column == kTagColumn || (column == kSelcallColumn && identLength_ > 0);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    if (editable) sgSelcallMemory->editItem(sgSelcallMemory->currentItem());
    return editable;
  }
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (key->text().size() == 1 && key->text()[0].isPrint()) {
    return !editable || !InputRule::Takes(ColumnRule(column), key->text());
  }
  return false;
}
