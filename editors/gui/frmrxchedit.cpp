#include "frmrxchedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "inputrule.h"
#include "keyfilters.h"
#include "radioinfo.h"
#include "rxchannels.h"
#include "updown.h"

namespace {

QCheckBox* FlagBox(QWidget* parent, const char* name, const QString& caption,
                   const QString& accessibleName) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setAccessibleName(accessibleName);
  return box;
}

}  // namespace

TfrmRxChEdit::TfrmRxChEdit(uint32_t productId, QWidget* parent)
    : QDialog(parent), productId_(productId) {
  setObjectName("TfrmRxChEdit");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  BuildForm();
}

void TfrmRxChEdit::BuildForm() {
  lblChannel_ = new QLabel("&Channel:", this);
  cbChannel_ = new QComboBox(this);
  cbChannel_->setObjectName("cbChannel");
  cbChannel_->setAccessibleName("Channel");
  editChannel_ = new QLineEdit(this);
  editChannel_->setObjectName("editChannel");
  editChannel_->setAccessibleName("Channel");
  editChannel_->setReadOnly(true);
  editChannel_->setFixedWidth(60);

  auto* lblFreq = new QLabel("&Freq:", this);
  editFreq_ = new QLineEdit(this);
  editFreq_->setObjectName("editFreq");
  editFreq_->setAccessibleName("Frequency in MHz");
  editFreq_->setMaxLength(10);
  editFreq_->setFixedWidth(90);
  InputRule::Install(editFreq_, DigitOrPointKey);
  lblFreq->setBuddy(editFreq_);
  OnEnterKey(editFreq_, [this] { editFreqEnter(); });
  udFreq_ = new UpDown(this);
  udFreq_->setObjectName("udFreq");
  udFreq_->SetBuddy(editFreq_);
  connect(udFreq_, &UpDown::Stepped, this, &TfrmRxChEdit::udFreqClick);
  auto* lblMhz = new QLabel("MHz", this);

  chkScan1_ = FlagBox(this, "chkScan1", "Scan Mem &1", "Scan Mem 1");
  chkScan2_ = FlagBox(this, "chkScan2", "Scan Mem &2", "Scan Mem 2");
  chkQuiet_ = FlagBox(this, "chkQuiet", "&Quiet", "Quiet");
  chkSilent_ = FlagBox(this, "chkSilent", "&Silent", "Silent");

  lblAlphaTag_ = new QLabel("Alpha&Tag", this);
  lblAlphaTag_->setObjectName("lblAlphaTag");
  editAlphaTag_ = new QLineEdit(this);
  editAlphaTag_->setObjectName("editAlphaTag");
  editAlphaTag_->setAccessibleName("AlphaTag");
  editAlphaTag_->setFixedWidth(90);
  InputRule::Install(editAlphaTag_, AlphaTagKey);
  lblAlphaTag_->setBuddy(editAlphaTag_);

  auto* fields = new QGridLayout;
  fields->addWidget(lblChannel_, 0, 0);
  auto* channelRow = new QHBoxLayout;
  channelRow->addWidget(cbChannel_);
  channelRow->addWidget(editChannel_);
  channelRow->addStretch();
  fields->addLayout(channelRow, 0, 1);
  fields->addWidget(lblFreq, 1, 0);
  auto* freqRow = new QHBoxLayout;
  freqRow->setSpacing(2);
  freqRow->addWidget(editFreq_);
  freqRow->addWidget(udFreq_);
  freqRow->addSpacing(4);
  freqRow->addWidget(lblMhz);
  freqRow->addStretch();
  fields->addLayout(freqRow, 1, 1);
  fields->addWidget(lblAlphaTag_, 2, 0);
  fields->addWidget(editAlphaTag_, 2, 1);

  auto* flags = new QGridLayout;
  flags->addWidget(chkScan1_, 0, 0);
  flags->addWidget(chkScan2_, 0, 1);
  flags->addWidget(chkQuiet_, 1, 0);
  flags->addWidget(chkSilent_, 1, 1);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  connect(ok, &QPushButton::clicked, this, &TfrmRxChEdit::btnOKClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(flags);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(cbChannel_, editChannel_);
  setTabOrder(editChannel_, editFreq_);
  setTabOrder(editFreq_, editAlphaTag_);
  setTabOrder(editAlphaTag_, chkScan1_);
  setTabOrder(chkScan1_, chkScan2_);
  setTabOrder(chkScan2_, chkQuiet_);
  setTabOrder(chkQuiet_, chkSilent_);
  setTabOrder(chkSilent_, ok);
  setTabOrder(ok, cancel);
}

void TfrmRxChEdit::SetMode(uint8_t mode) { mode_ = mode; }

void TfrmRxChEdit::SetChannelList(const std::vector<int>& channels) {
  cbChannel_->clear();
  for (int c : channels) cbChannel_->addItem(QString::number(c));
  cbChannel_->setCurrentIndex(channels.empty() ? -1 : 0);
}

void TfrmRxChEdit::SetRecord(const RX_CH_DATA_STRUCT& record, int channel) {
  record_ = record;
  channel_ = channel;
}

// A window brought back from the taskbar is not a new showing: what the
// user has changed so far stays.
void TfrmRxChEdit::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmRxChEdit::FormShow() {
  const bool add = mode_ == 1;
  setWindowTitle(add ? "Add Channel" : "Edit Channel");
  cbChannel_->setVisible(add);
  editChannel_->setVisible(!add);
  lblChannel_->setBuddy(add ? static_cast<QWidget*>(cbChannel_) : editChannel_);
  if (!add) editChannel_->setText(QString::number(channel_));
  // A new channel starts without a name; the template's name is not offered.
  InputRule::Load(editAlphaTag_, add ? QString() : QString::fromStdString(record_.alphaTag));
  const bool alpha = TradioInfo::HasAlphaDisplay(productId_);
  lblAlphaTag_->setVisible(alpha);
  editAlphaTag_->setVisible(alpha);
  ShowHz(record_.frequency);
  chkScan1_->setChecked(record_.flags & kRxFlagScan1);
  chkScan2_->setChecked(record_.flags & kRxFlagScan2);
  chkQuiet_->setChecked(record_.flags & kRxFlagQuiet);
  chkSilent_->setChecked(record_.flags & kRxFlagSilent);
  editFreq_->setFocus();
  editFreq_->selectAll();
}

void TfrmRxChEdit::ShowHz(int64_t hz) {
  editFreq_->setText(QString::fromStdString(ShowFrequency(hz)));
}

// Enter shows the value rounded and limited, then is OK's, as in every
// other editor: a value that does not parse is refused there.
void TfrmRxChEdit::editFreqEnter() {
  const std::optional<int64_t> hz = ParseFrequency(editFreq_->text().toStdString());
  if (hz) ShowHz(RoundAndLimitFrequency(*hz));
  btnOKClick();
}

void TfrmRxChEdit::udFreqClick(bool up) {
  const std::optional<int64_t> hz = ParseFrequency(editFreq_->text().toStdString());
  if (hz) ShowHz(StepFrequency(*hz, up));
}

void TfrmRxChEdit::btnOKClick() {
  if (!ParseFrequency(editFreq_->text().toStdString())) {
    QMessageBox::warning(this, "Error", "Invalid Frequency", QMessageBox::Ok);
    editFreq_->setFocus();
    return;
  }
  accept();
}

int TfrmRxChEdit::GetRecord(RX_CH_DATA_STRUCT& record) const {
  const int channel = mode_ == 1 ? cbChannel_->currentText().toInt() : channel_;
  const std::optional<int64_t> hz = ParseFrequency(editFreq_->text().toStdString());
  if (!hz) return -1;
  record.frequency = static_cast<uint32_t>(RoundAndLimitFrequency(*hz));
  record.alphaTag = editAlphaTag_->text().left(kAlphaTagLength).toStdString();
  record.flags =
      (chkScan1_->isChecked() ? kRxFlagScan1 : 0) | (chkScan2_->isChecked() ? kRxFlagScan2 : 0) |
      (chkQuiet_->isChecked() ? kRxFlagQuiet : 0) | (chkSilent_->isChecked() ? kRxFlagSilent : 0);
  return channel;
}
