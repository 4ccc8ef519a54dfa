#include "frmeepromedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "controls.h"
#include "windowcontext.h"
#include "eebuff.h"
#include "eeprom.h"
#include "eeprom_text.h"
#include "frmreadwrite.h"

namespace {

constexpr int kRowHeight = 18;
// The address column takes what the other columns leave of this width.
constexpr int kGridWidth = 505;
constexpr int kGridHeight = 420;

struct RadioItem {
  const char* name;
  const char* caption;
  const char* accessibleName;
};
constexpr RadioItem kBaseItems[] = {
    {"rbBin", "&Bin", "Binary"}, {"rbDec", "&Dec", "Decimal"}, {"rbHex", "&Hex", "Hexadecimal"}};
constexpr RadioItem kSizeItems[] = {{"rb8Bit", "&8-bit", "8-bit bytes"},
                                    {"rb16Bit", "1&6-bit", "16-bit words"}};

template <size_t N>
QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& title,
                      const RadioItem (&items)[N], QButtonGroup*& group) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  group->setObjectName(name);
  for (size_t i = 0; i < N; ++i) {
    auto* button = new QRadioButton(items[i].caption, box);
    button->setObjectName(items[i].name);
    button->setAccessibleName(QString(title) + " " + items[i].accessibleName);
    group->addButton(button, static_cast<int>(i));
    layout->addWidget(button);
  }
  TabStopOnChecked(group);
  return box;
}

}  // namespace

TfrmEEpromEdit::TfrmEEpromEdit(WindowContext& context, WorkerLane& lane, QWidget* parent)
    : QDialog(parent), context_(context), lane_(lane), worker_(lane) {
  setObjectName("frmEEpromEdit");
  setWindowTitle("EEPROM");
  BuildControls();
  CheckViewButtons();
}

TfrmEEpromEdit::~TfrmEEpromEdit() { receiver_.Detach(); }

QPushButton* TfrmEEpromEdit::AddButton(const char* name, const QString& caption,
                                       void (TfrmEEpromEdit::*click)()) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, click);
  return button;
}

void TfrmEEpromEdit::BuildControls() {
  sg_eeprom_ = new QTableWidget(this);
  sg_eeprom_->setObjectName("sg_eeprom");
  sg_eeprom_->setAccessibleName("EEPROM contents");
  sg_eeprom_->verticalHeader()->hide();
  sg_eeprom_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sg_eeprom_->verticalHeader()->setMinimumSectionSize(kRowHeight);
  sg_eeprom_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  sg_eeprom_->horizontalHeader()->setFixedHeight(kRowHeight + 4);
  sg_eeprom_->horizontalHeader()->setHighlightSections(false);
  sg_eeprom_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  sg_eeprom_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  sg_eeprom_->setEditTriggers(QAbstractItemView::DoubleClicked |
                              QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  // Tab leaves the grid for the buttons; the arrows move between cells.
  sg_eeprom_->setTabKeyNavigation(false);
  sg_eeprom_->setWordWrap(false);
  sg_eeprom_->setFixedSize(kGridWidth, kGridHeight);
  sg_eeprom_->installEventFilter(this);

  QGroupBox* base = RadioGroup(this, "rgBase", "Base", kBaseItems, rgBase_);
  QGroupBox* size = RadioGroup(this, "rgDataSize", "Size", kSizeItems, rgDataSize_);
  connect(rgBase_, &QButtonGroup::idToggled, this,
          [this](int id, bool on) { if (on) ChangeView(id, dataSize_); });
  connect(rgDataSize_, &QButtonGroup::idToggled, this,
          [this](int id, bool on) { if (on) ChangeView(base_, id); });

  QPushButton* read = AddButton("btnReadAddr", "&Read", &TfrmEEpromEdit::btnReadAddrClick);
  QPushButton* write = AddButton("btnWriteAddr", "&Write", &TfrmEEpromEdit::btnWriteAddrClick);
  QPushButton* readAll = AddButton("btnReadAll", "Read &All", &TfrmEEpromEdit::btnReadAllClick);
  QPushButton* writeAll =
      AddButton("btnWriteAll", "Wri&te All", &TfrmEEpromEdit::btnWriteAllClick);
  QPushButton* erase = AddButton("btnErase", "&Erase Buffer", &TfrmEEpromEdit::btnEraseClick);
  QPushButton* reset = AddButton("btnReset", "Re&set Radio", &TfrmEEpromEdit::btnResetClick);
  QPushButton* progMode =
      AddButton("btnProgrMode", "&Prog Mode", &TfrmEEpromEdit::btnProgrModeClick);
  read->setAccessibleName("Read the selected address from the radio");
  write->setAccessibleName("Write the selected address to the radio");
  // No default button: Enter belongs to the grid, and a stray one must
  // never replace the loaded image with the working copy.
  QPushButton* ok = AddButton("btnOK", "OK", &TfrmEEpromEdit::btnOKClick);
  QPushButton* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // In the form, but without any effect: kept hidden.
  gbOptions_ = new QGroupBox("Options", this);
  gbOptions_->setObjectName("gbOptions");
  auto* protect = new QCheckBox("Protect CAL area", gbOptions_);
  protect->setObjectName("chkProtectCal");
  (new QVBoxLayout(gbOptions_))->addWidget(protect);
  gbOptions_->hide();

  memoEE_ = new QPlainTextEdit(this);
  memoEE_->setObjectName("memoEE");
  memoEE_->setAccessibleName("Log");
  memoEE_->setReadOnly(true);
  memoEE_->setFixedHeight(48);

  auto* side = new QVBoxLayout;
  side->addWidget(base);
  side->addWidget(size);
  for (QWidget* w : std::initializer_list<QWidget*>{read, write, readAll, writeAll, erase,
                                                     reset, progMode, gbOptions_})
    side->addWidget(w);
  side->addStretch();
  side->addWidget(ok);
  side->addWidget(cancel);
  auto* top = new QHBoxLayout;
  top->addWidget(sg_eeprom_);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(memoEE_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  QWidget* order[] = {sg_eeprom_, rgBase_->button(0), rgBase_->button(1), rgBase_->button(2),
                      rgDataSize_->button(0), rgDataSize_->button(1), read, write, readAll,
                      writeAll, erase, reset, progMode, memoEE_, ok, cancel};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  frmReadWrite_ = new TfrmReadWrite(this);
}

void TfrmEEpromEdit::showEvent(QShowEvent* event) {
  // A window-system show (restoring from minimised) keeps what was typed.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmEEpromEdit::FormShow() {
  memoEE_->clear();
  if (!source_) {
    memoEE_->appendPlainText("No EEPROM data source specified.");
    return;
  }
  workingCopy_ = std::make_unique<EEPROM>(source_->GetLength());
  workingCopy_->WriteBlock(0, source_->Data(), source_->GetLength());
  LayOutGrid();
  ShowNames();
  ShowData();
  sg_eeprom_->setCurrentCell(0, kEeFirstDataColumn);
  sg_eeprom_->setFocus();
}

void TfrmEEpromEdit::done(int result) {
  FinishWorker();
  changedSource_ = false;
  if (result == QDialog::Accepted && workingCopy_ && source_) {
    if (!TakeBackGrid()) return;  // the window stays open on the bad cell
    const int length = std::min(source_->GetLength(), workingCopy_->GetLength());
    changedSource_ = !std::equal(workingCopy_->Data(), workingCopy_->Data() + length,
                                 source_->Data());
    source_->WriteBlock(0, workingCopy_->Data(), length);
  }
  workingCopy_.reset();
  QDialog::done(result);
}

void TfrmEEpromEdit::btnOKClick() { accept(); }

void TfrmEEpromEdit::Message(const QString& text, const QString& caption, int icon) {
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), caption, text, QMessageBox::Ok, this);
  box.exec();
}

void TfrmEEpromEdit::LogStart(const QString& line) {
  memoEE_->setPlainText(line);
  memoEE_->repaint();  // seen before the radio command blocks
}

void TfrmEEpromEdit::LogReplace(const QString& line) {
  QTextCursor last = memoEE_->textCursor();
  last.movePosition(QTextCursor::End);
  last.select(QTextCursor::LineUnderCursor);
  last.insertText(line);
}
