#include "frmrxchdata.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "controls.h"
#include "radioinfo.h"
#include "rxbank.h"
#include "frmrxchedit.h"

namespace {

constexpr int kColumnCount = 7;
constexpr int kNameColumn = 1;

struct Column {
  int width;  // 0: fills what the others leave
  const char* title;
};
// The name column's title is shown only on models that name their channels.
constexpr Column kColumns[kColumnCount] = {
    {40, "CH"},    {0, "Channel Name"}, {100, "Frequency (MHz)"},
    {45, "SCAN1"}, {45, "SCAN2"},       {45, "Q"},
    {45, "S"}};

// The membership columns, 3 to 6: the flag each shows and its mark.
struct FlagColumn {
  uint32_t flag;
  const char* mark;
};
constexpr FlagColumn kFlagColumns[4] = {
    {kRxFlagScan1, "M"}, {kRxFlagScan2, "M"}, {kRxFlagQuiet, "Q"}, {kRxFlagSilent, "S"}};

}  // namespace

TfrmRxChData::TfrmRxChData(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("TfrmRxChData");
  setWindowTitle("Channel Data");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  template_.frequency = kNewChannelFrequencyHz;
  template_.alphaTag = "ALPHA";
  template_.flags = 0;
  editor_ = new TfrmRxChEdit(context_.build.productId, this);
  BuildForm();
}

void TfrmRxChData::BuildForm() {
  tcBanks_ = new QTabBar(this);
  tcBanks_->setObjectName("tcBanks");
  tcBanks_->setAccessibleName("Bank");
  tcBanks_->setDrawBase(false);
  connect(tcBanks_, &QTabBar::currentChanged, this, &TfrmRxChData::tcBanksChange);

  sgRxChEdit_ = new QTableWidget(this);
  sgRxChEdit_->setObjectName("sgRxChEdit");
  sgRxChEdit_->setAccessibleName("Receive-only channels");
  sgRxChEdit_->setColumnCount(kColumnCount);
  sgRxChEdit_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgRxChEdit_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgRxChEdit_->setSelectionMode(QAbstractItemView::SingleSelection);
  sgRxChEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgRxChEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sgRxChEdit_->setShowGrid(true);
  sgRxChEdit_->setTabKeyNavigation(false);
  sgRxChEdit_->verticalHeader()->hide();
  sgRxChEdit_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sgRxChEdit_->verticalHeader()->setDefaultSectionSize(18);
  QHeaderView* header = sgRxChEdit_->horizontalHeader();
  header->setSectionsMovable(false);
  header->setHighlightSections(false);
  for (int c = 0; c < kColumnCount; ++c) {
    if (kColumns[c].width > 0) {
      header->setSectionResizeMode(c, QHeaderView::Fixed);
      // Never narrower than its title in the font the header really uses.
      const int title = header->fontMetrics().horizontalAdvance(kColumns[c].title) + 16;
      header->resizeSection(c, std::max(kColumns[c].width, title));
    } else {
      header->setSectionResizeMode(c, QHeaderView::Stretch);
    }
  }
  sgRxChEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(sgRxChEdit_, &QTableWidget::cellDoubleClicked, this, [this] { btnEditClick(); });

  popUpMenu_ = new QMenu(this);
  popUpMenu_->setObjectName("PopUpMenu");
  const struct {
    const char* name;
    const char* caption;
    void (TfrmRxChData::*handler)();
  } kMenu[] = {{"PopUpMenuAdd", "Add", &TfrmRxChData::btnAddClick},
               {"PopUpMenuEdit", "Edit", &TfrmRxChData::btnEditClick},
               {"PopUpMenuDelete", "Delete", &TfrmRxChData::btnDeleteClick}};
  for (const auto& item : kMenu) {
    QAction* action = popUpMenu_->addAction(item.caption);
    action->setObjectName(item.name);
    connect(action, &QAction::triggered, this, item.handler);
  }
  connect(sgRxChEdit_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    popUpMenu_->popup(sgRxChEdit_->viewport()->mapToGlobal(at));
  });

  auto* btnAdd = MakeButton(this, "btnAdd", "&Add");
  auto* btnEdit = MakeButton(this, "btnEdit", "&Edit");
  auto* btnDelete = MakeButton(this, "btnDelete", "&Delete");
  btnClearAll_ = MakeButton(this, "btnClearAll", "C&lear All");
  auto* btnImport = MakeButton(this, "btnImport", "&Import...");
  auto* btnExport = MakeButton(this, "btnExport", "E&xport...");
  connect(btnImport, &QPushButton::clicked, this, &TfrmRxChData::btnImportClick);
  connect(btnExport, &QPushButton::clicked, this, &TfrmRxChData::btnExportClick);
  connect(btnAdd, &QPushButton::clicked, this, &TfrmRxChData::btnAddClick);
  connect(btnEdit, &QPushButton::clicked, this, &TfrmRxChData::btnEditClick);
  connect(btnDelete, &QPushButton::clicked, this, &TfrmRxChData::btnDeleteClick);
  connect(btnClearAll_, &QPushButton::clicked, this, &TfrmRxChData::btnClearAllClick);

  auto* btnOK = MakeButton(this, "btnOK", "OK");
  btnOK->setDefault(true);
  auto* btnCancel = MakeButton(this, "btnCancel", "Cancel");
  connect(btnOK, &QPushButton::clicked, this, &TfrmRxChData::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Kept empty; it balances the row of OK and Cancel.
  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName("Memo1");
  memo1_->setAccessibleName("Notes");
  memo1_->setReadOnly(true);
  memo1_->setFocusPolicy(Qt::NoFocus);
  memo1_->setFixedHeight(40);

  auto* editRow = new QHBoxLayout;
  for (QPushButton* b : {btnAdd, btnEdit, btnDelete, btnClearAll_}) editRow->addWidget(b);
  editRow->addStretch();
  editRow->addWidget(btnImport);
  editRow->addWidget(btnExport);
  auto* bottomRow = new QHBoxLayout;
  bottomRow->addWidget(memo1_, 1);
  bottomRow->addWidget(btnOK, 0, Qt::AlignBottom);
  bottomRow->addWidget(btnCancel, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(4);
  layout->addWidget(tcBanks_);
  layout->addWidget(sgRxChEdit_, 1);
  layout->addLayout(editRow);
  layout->addLayout(bottomRow);
  setFixedSize(500, 460);

  setTabOrder(tcBanks_, sgRxChEdit_);
  setTabOrder(sgRxChEdit_, btnAdd);
  setTabOrder(btnAdd, btnEdit);
  setTabOrder(btnEdit, btnDelete);
  setTabOrder(btnDelete, btnClearAll_);
  setTabOrder(btnClearAll_, btnImport);
  setTabOrder(btnImport, btnExport);
  setTabOrder(btnExport, btnOK);
  setTabOrder(btnOK, btnCancel);
}

// A window brought back from the taskbar is not a new showing: what the
// user has changed so far stays.
void TfrmRxChData::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmRxChData::FormShow() {
  const uint32_t productId = context_.build.productId;
  const SharedObjects& shared = context_.shared;
  banksEnabled_ = TradioInfo::HasRxBanks(productId);
  bank_ = CurrentRxBank(shared.image, shared.info, context_.build);
  {
    const QSignalBlocker quiet(tcBanks_);
    while (tcBanks_->count() > 0) tcBanks_->removeTab(0);
    if (banksEnabled_) {
      for (int b = 0; b < kRxBankCount; ++b) tcBanks_->addTab(QString("RX-") + BankLetter(b));
      tcBanks_->setCurrentIndex(bank_);
    }
  }
  // Without banks there is nothing to choose, so no empty tab strip either.
  tcBanks_->setVisible(banksEnabled_);
  SetUpGrid();
  list_ = LoadChannels(shared.image, shared.info);
  RefreshGrid();
  sgRxChEdit_->selectRow(0);
  btnClearAll_->setVisible(context_.build.engineering);
  sgRxChEdit_->setFocus();
}

void TfrmRxChData::SetUpGrid() {
  const bool named = TradioInfo::HasAlphaDisplay(context_.build.productId);
  QStringList titles;
  for (int c = 0; c < kColumnCount; ++c)
    titles << (c == kNameColumn && !named ? QString() : QString(kColumns[c].title));
  sgRxChEdit_->setHorizontalHeaderLabels(titles);
}

void TfrmRxChData::RefreshGrid() {
  const bool named = TradioInfo::HasAlphaDisplay(context_.build.productId);
  const std::vector<int> listed = ListedSlots(list_, bank_);
  const int row = sgRxChEdit_->currentRow();
  sgRxChEdit_->clearContents();
  // An empty bank still shows one (empty) row.
  sgRxChEdit_->setRowCount(listed.empty() ? 1 : static_cast<int>(listed.size()));
  for (size_t r = 0; r < listed.size(); ++r) {
    const RX_CH_DATA_STRUCT& rec = list_.records[bank_ * kRxSlotsPerBank + listed[r]];
    QStringList cells;
    cells << QString::number(kFirstRxChannel + listed[r])
          << (named ? QString::fromStdString(rec.alphaTag) : QString())
          << QString::fromStdString(ShowFrequency(rec.frequency));
    for (const FlagColumn& f : kFlagColumns)
      cells << QString::fromStdString(FlagCellText(rec.flags, f.flag, f.mark));
    for (int c = 0; c < kColumnCount; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == 0) item->setBackground(palette().button());
      sgRxChEdit_->setItem(static_cast<int>(r), c, item);
    }
  }
  sgRxChEdit_->selectRow(std::clamp(row, 0, sgRxChEdit_->rowCount() - 1));
}

int TfrmRxChData::SelectedChannel() const {
  const QTableWidgetItem* item = sgRxChEdit_->item(sgRxChEdit_->currentRow(), 0);
  bool ok = false;
  const int channel = item ? item->text().toInt(&ok) : 0;
  return ok ? channel : -1;
}

bool TfrmRxChData::BankHasChannels() const { return !ListedSlots(list_, bank_).empty(); }

void TfrmRxChData::btnAddClick() {
  const std::vector<int> spare = SpareChannels(list_, bank_);
  if (spare.empty()) {
    QMessageBox::warning(this, "Add Channel", "There are no spare channels.", QMessageBox::Ok);
    return;
  }
  editor_->SetMode(1);
  editor_->SetChannelList(spare);
  editor_->SetRecord(template_, spare.front());
  if (editor_->exec() != QDialog::Accepted) return;
  const int channel = editor_->GetRecord(template_);
  // The chosen number comes from the spare list; anything else is no slot.
  if (channel < kFirstRxChannel || channel >= kFirstRxChannel + kRxListedSlots) return;
  editor_->GetRecord(list_.records[RxRecordIndex(bank_, channel)]);
  RefreshGrid();
}

void TfrmRxChData::btnEditClick() {
  if (!BankHasChannels()) return;
  const int channel = SelectedChannel();
  if (channel < kFirstRxChannel || channel >= kFirstRxChannel + kRxListedSlots) return;
  RX_CH_DATA_STRUCT& record = list_.records[RxRecordIndex(bank_, channel)];
  editor_->SetMode(0);
  editor_->SetRecord(record, channel);
  if (editor_->exec() != QDialog::Accepted) return;
  editor_->GetRecord(record);
  RefreshGrid();
}

void TfrmRxChData::btnDeleteClick() {
  if (!BankHasChannels()) return;
  const int channel = SelectedChannel();
  if (channel < kFirstRxChannel || channel >= kFirstRxChannel + kRxListedSlots) return;
  const QString text = QString::fromStdString(DeletePromptText(banksEnabled_, bank_, channel));
  if (QMessageBox::warning(this, "Delete", text, QMessageBox::Ok | QMessageBox::Cancel) ==
      QMessageBox::Cancel)
    return;
  ClearRecord(list_.records[RxRecordIndex(bank_, channel)]);
  RefreshGrid();
}

void TfrmRxChData::btnClearAllClick() {
  ClearBank(list_, bank_);
  RefreshGrid();
}

void TfrmRxChData::btnOKClick() {
  StoreChannels(context_.shared.image, context_.shared.info, list_, banksEnabled_);
  accept();
}

void TfrmRxChData::tcBanksChange(int index) {
  if (index < 0 || index >= kRxBankCount) return;
  bank_ = index;
  RefreshGrid();
}
