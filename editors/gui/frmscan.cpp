#include "frmscan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <algorithm>

#include "helpmemo.h"
#include "radioinfo.h"
#include "rxbank.h"
#include "updown.h"

TfrmScan::TfrmScan(WindowContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setObjectName("TfrmScan");
  setWindowTitle("Scan and Duplex settings");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  BuildForm();
}

// A window brought back from the taskbar is not a new showing: what the
// user has changed so far stays.
void TfrmScan::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmScan::FormShow() {
  const SharedObjects& shared = context_.shared;
  features_ = ScanFeaturesFor(context_.build.productId, shared.radio.GetCachedVersion().major);
  settings_ = LoadScan(shared.image, shared.info, features_,
                       CurrentRxBank(shared.image, shared.info, context_.build));
  const ScanSettings& s = settings_;

  ShowPriorityChannels();
  cmbPriChkRate_->setCurrentIndex(s.priCheckRate - 1);
  for (int i = 0; i < kDuplexChannelCount; ++i) duplexBoxes_[i]->setChecked(s.duplex[i]);
  for (int p = 0; p < kScanPageCount; ++p)
    for (int n = 0; n < kCbChannelCount; ++n) scanBoxes_[p][n]->setChecked(s.members[p][n]);
  (s.groupScan1 ? groupScan_[0] : openScan_[0])->setChecked(true);
  (s.groupScan2 ? groupScan_[1] : openScan_[1])->setChecked(true);

  for (QWidget* w :
       {static_cast<QWidget*>(chkUserModNSMem_), static_cast<QWidget*>(chkUserModScanMode_),
        static_cast<QWidget*>(lblScanMemory_), static_cast<QWidget*>(cbScanMemory_)})
    w->setVisible(features_.userScanOptions);
  chkUserModNSMem_->setChecked(s.userModNetScan);
  chkUserModScanMode_->setChecked(s.userModScanMode);
  cbScanMemory_->setCurrentIndex(s.scanMemory);

  for (QWidget* w : skipTimeControls_) w->setVisible(features_.scanSkipTime);
  ShowSkipPosition(s.scanSkipSeconds);

  chk3Beep_->setChecked(s.threeBeep);
  chkGS_PTT_EXIT_->setChecked(s.gsPttExit);

  pcScanMem_->setTabVisible(2, features_.netScan);
  pcScanMem_->setCurrentIndex(0);
  cmbRecallM1_->setFocus();
}

void TfrmScan::ShowPriorityChannels() {
  cmbRecallM1_->clear();
  for (const PriorityEntry& e : settings_.priorityEntries)
    cmbRecallM1_->addItem(QString::fromStdString(e.text), e.value);
  cmbRecallM1_->setCurrentIndex(settings_.priorityIndex);
  // A stored channel beyond the list is shown, and kept, until another is chosen.
  cmbRecallM1_->setPlaceholderText(settings_.priorityIndex < 0
                                       ? QString::asprintf("RX %02d", settings_.priorityValue)
                                       : QString());
}

void TfrmScan::ShowSkipPosition(int seconds) {
  skipPosition_ = std::clamp(seconds, 0, kMaxScanSkipSeconds);
  edtScanSkipTime_->setText(QString::number(skipPosition_));
}

void TfrmScan::edtScanSkipTimeEnter() {
  int seconds = 0;
  if (EnterScanSkipText(edtScanSkipTime_->text().toStdString(), seconds)) ShowSkipPosition(seconds);
}

void TfrmScan::udScanSkipTimeClick(bool up) {
  int seconds = skipPosition_;
  // The arrows step from what the box shows when it holds a usable number.
  ScanSkipPositionFromText(edtScanSkipTime_->text().toStdString(), seconds);
  ShowSkipPosition(seconds + (up ? kScanSkipStepSeconds : -kScanSkipStepSeconds));
}

void TfrmScan::OKBtnClick() {
  ScanSettings s = settings_;
  s.groupScan1 = groupScan_[0]->isChecked();
  s.groupScan2 = groupScan_[1]->isChecked();
  for (int i = 0; i < kDuplexChannelCount; ++i) s.duplex[i] = duplexBoxes_[i]->isChecked();
  for (int p = 0; p < kScanPageCount; ++p)
    for (int n = 0; n < kCbChannelCount; ++n) s.members[p][n] = scanBoxes_[p][n]->isChecked();
  s.priorityIndex = cmbRecallM1_->currentIndex();
  s.priCheckRate = cmbPriChkRate_->currentIndex() + 1;
  s.userModNetScan = chkUserModNSMem_->isChecked();
  s.userModScanMode = chkUserModScanMode_->isChecked();
  s.scanMemory = cbScanMemory_->currentIndex();
  // Text typed without Enter counts when the up-down could take it.
  ScanSkipPositionFromText(edtScanSkipTime_->text().toStdString(), skipPosition_);
  s.scanSkipSeconds = skipPosition_;
  s.threeBeep = chk3Beep_->isChecked();
  s.gsPttExit = chkGS_PTT_EXIT_->isChecked();
  StoreScan(context_.shared.image, context_.shared.info, features_, s);
  accept();
}
