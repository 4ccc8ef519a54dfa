#include "frmengoptions.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QLineEdit>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>

#include "windowcontext.h"
#include "numberfield.h"
#include "eng.h"

namespace {
constexpr int kPollMs = 250;
}  // namespace

TfrmEngOptions::TfrmEngOptions(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("frmEngOptions");
  setWindowTitle("Advanced Options");
  BuildControls();
  Timer1_ = new QTimer(this);
  Timer1_->setObjectName("Timer1");
  connect(Timer1_, &QTimer::timeout, this, &TfrmEngOptions::Timer1Timer);
}

void TfrmEngOptions::showEvent(QShowEvent* event) {
  // Restoring a minimised window keeps what was typed.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmEngOptions::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) chkAdcPolling_->setChecked(false);
  QDialog::hideEvent(event);
}

void TfrmEngOptions::FormShow() {
  chkAdcPolling_->setChecked(false);
  features_ = EngOptionsFeatures::For(context_.build.productId, context_.build.engineering,
                                      context_.shared.radio.GetCachedVersion().major);
  values_ = LoadEngOptions(context_.shared.image, context_.shared.info, features_);

  chkEnableTx_RxOnly_->setVisible(features_.txOnRxOnly);
  chkEnableTx_RxOnly_->setChecked(values_.enableTxOnRxOnly);
  chkCTCSS_5_35_->setChecked(values_.ctcss535);
  udCTCSS_RPK_->setValue(values_.rpkDelay);
  udCTCSS_SilentTail_->setValue(values_.silentTail);
  ShowDeviation(editCTCSS_Hz_, values_.ctcssDev);
  ShowDeviation(editDCS_Hz_, values_.dcsDev);
  chkCTCSS38Ext_->setVisible(features_.ctcss38Ext);
  chkCTCSS38Ext_->setChecked(values_.ctcss38Ext);
  for (int i = 0; i < kSquelchThresholds; ++i) {
    for (QWidget* w : sqlRow_[i]) w->setVisible(features_.thresholds);
    if (features_.thresholds) udSql_[i]->setValue(values_.sql[static_cast<size_t>(i)]);
  }
  editNoiseVolts_->clear();
}

void TfrmEngOptions::ShowDeviation(QLineEdit* edit, int steps) {
  edit->setText(QString::number(DeviationHz(steps)));
}

void TfrmEngOptions::DeviationStep(QLineEdit* edit, int& steps, bool up) {
  steps = std::clamp(steps + (up ? 1 : -1), 0, kDeviationMaxSteps);
  ShowDeviation(edit, steps);
}

void TfrmEngOptions::DeviationEnter(QLineEdit* edit, int& steps) {
  steps = DeviationSteps(edit->text().toStdString());
  ShowDeviation(edit, steps);
}

void TfrmEngOptions::btnOkClick() {
  values_.enableTxOnRxOnly = chkEnableTx_RxOnly_->isChecked();
  values_.ctcss535 = chkCTCSS_5_35_->isChecked();
  values_.ctcss38Ext = chkCTCSS38Ext_->isChecked();
  values_.rpkDelay = udCTCSS_RPK_->value();
  values_.silentTail = udCTCSS_SilentTail_->value();
  // A typed deviation counts even before Enter confirmed it.
  values_.ctcssDev = DeviationSteps(editCTCSS_Hz_->text().toStdString());
  values_.dcsDev = DeviationSteps(editDCS_Hz_->text().toStdString());
  for (int i = 0; i < kSquelchThresholds; ++i)
    values_.sql[static_cast<size_t>(i)] = udSql_[i]->value();
  StoreEngOptions(values_, context_.shared.image, context_.shared.info, features_);
  accept();
}

void TfrmEngOptions::chkAdcPollingClick() {
  if (chkAdcPolling_->isChecked())
    Timer1_->start(kPollMs);
  else
    Timer1_->stop();
}

void TfrmEngOptions::Timer1Timer() {
  if (polling_) return;  // a tick inside the port check's own message box
  if (context_.LinkBusy()) return;
  polling_ = true;
  // A port that cannot be opened ends the polling rather than asking
  // again four times a second.
  if (!context_.portCheck()) {
    chkAdcPolling_->setChecked(false);
    editNoiseVolts_->setText("???");
    polling_ = false;
    return;
  }
  const int value = context_.shared.radio.ReadAdcChannel(kNoiseVoltsChannel);
  editNoiseVolts_->setText(value < 0 ? QString("???") : QString::number(value));
  polling_ = false;
}
