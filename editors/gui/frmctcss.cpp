// What the window does: load on showing, keep the controls' enabling and
// the tone lists in step, store on OK.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include "frmctcss.h"

// A window restored from the taskbar keeps its unsaved edits.
void TfrmCtcss::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmCtcss::FormShow() {
  SharedObjects& shared = context_.shared;
  model_ = CtcssModel::Of(context_.build.productId, shared.radio.GetCachedVersion().major);
  settings_ = LoadCtcss(shared.image, shared.info, model_);

  // Loading must not count as the user's changes.
  const QSignalBlocker blockSet(cbCTCSSToneSet);
  const QSignalBlocker blockEnable(chkEnableCbCtcss);
  const QSignalBlocker blockDuplex(chkCtcssOnDup);

  chkEnableCbCtcss->setVisible(!model_.alwaysEnabled);
  chkEnableCbCtcss->setChecked(settings_.enabled);
  chkCtcssOnDup->setChecked(settings_.ctcssOnDuplex);
  chkCtcssNb->setChecked(settings_.narrowBand);
  chkBusyLockout->setChecked(settings_.busyLockout);
  chkBusyLockoutOverride->setChecked(settings_.busyLockoutOverride);
  chkCTCSS_RPK->setChecked(settings_.reversePhaseKey);
  chkCTCSS_SilentTail->setChecked(settings_.silentTail);
  for (int k = 0; k < kSilentChannels; ++k)
    chkCtcss[static_cast<size_t>(k)]->setChecked(settings_.silent[static_cast<size_t>(k)]);

  lblCTCSSToneSet->setVisible(!settings_.extendedOrder);
  cbCTCSSToneSet->setVisible(!settings_.extendedOrder);
  if (!settings_.extendedOrder) cbCTCSSToneSet->setCurrentIndex(settings_.set38 ? 1 : 0);

  ShowToneList(cmbTxCtcss, settings_.tx);
  lblNetScanTone->setVisible(model_.hasNetScan);
  cmbNetScanTone->setVisible(model_.hasNetScan);
  if (model_.hasNetScan) ShowToneList(cmbNetScanTone, settings_.netScan);

  ApplyEnabling();
}

void TfrmCtcss::ShowToneList(QComboBox* box, const ToneChoice& choice) {
  const ToneOrder order = settings_.ListOrder();
  box->clear();
  for (int e = 0; e < ToneEntryCount(order); ++e)
    box->addItem(QString::fromStdString(ToneEntryText(e, order)));
  // A stored code the list has no entry for shows as no selection, and
  // stays stored until the user picks an entry.
  box->setPlaceholderText(choice.entry == kNoEntry
                              ? QString("Stored code %1").arg(choice.keptCode)
                              : QString());
  box->setCurrentIndex(choice.entry);
}

ToneChoice TfrmCtcss::ChoiceOf(const QComboBox* box, const ToneChoice& shown) const {
  if (box->currentIndex() < 0) return shown;
  ToneChoice c;
  c.entry = box->currentIndex();
  return c;
}

void TfrmCtcss::ApplyEnabling() {
  const bool on = chkEnableCbCtcss->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{
           chkCtcssOnDup, chkCtcssNb, lblCbCtcssTx, cmbTxCtcss, lblNetScanTone, cmbNetScanTone,
           btnCtcssSelectAll, btnCtcssDeselectAll, lblCTCSSToneSet, cbCTCSSToneSet, gbCtcssMem})
    w->setEnabled(on);
  for (int k = 1; k <= kSilentChannels; ++k)
    chkCtcss[static_cast<size_t>(k - 1)]->setEnabled(SilentChannelEditable(
        k, on, chkCtcssOnDup->isChecked(), settings_.Channels5And35Locked()));
}

void TfrmCtcss::SetAllSilent(bool ticked) {
  // Disabled boxes too: the lock only keeps the user's hand off them.
  for (QCheckBox* box : chkCtcss) box->setChecked(ticked);
  ApplyEnabling();
}

void TfrmCtcss::cbCTCSSToneSetChange(int index) {
  const ToneOrder from = settings_.ListOrder();
  const ToneChoice tx = ChoiceOf(cmbTxCtcss, settings_.tx);
  const ToneChoice netScan = ChoiceOf(cmbNetScanTone, settings_.netScan);
  settings_.set38 = index == 1;
  const ToneOrder to = settings_.ListOrder();
  if (from == to) return;
  settings_.tx = tx.InOrder(from, to);
  ShowToneList(cmbTxCtcss, settings_.tx);
  if (model_.hasNetScan) {
    settings_.netScan = netScan.InOrder(from, to);
    ShowToneList(cmbNetScanTone, settings_.netScan);
  }
}

void TfrmCtcss::OKBtnClick() {
  CtcssSettings s = settings_;
  for (int k = 0; k < kSilentChannels; ++k)
    s.silent[static_cast<size_t>(k)] = chkCtcss[static_cast<size_t>(k)]->isChecked();
  if (!s.extendedOrder) s.set38 = cbCTCSSToneSet->currentIndex() != 0;
  s.tx = ChoiceOf(cmbTxCtcss, settings_.tx);
  if (model_.hasNetScan) s.netScan = ChoiceOf(cmbNetScanTone, settings_.netScan);
  s.enabled = chkEnableCbCtcss->isChecked();
  s.ctcssOnDuplex = chkCtcssOnDup->isChecked();
  s.narrowBand = chkCtcssNb->isChecked();
  s.busyLockout = chkBusyLockout->isChecked();
  s.busyLockoutOverride = chkBusyLockoutOverride->isChecked();
  s.reversePhaseKey = chkCTCSS_RPK->isChecked();
  s.silentTail = chkCTCSS_SilentTail->isChecked();
  StoreCtcss(context_.shared.image, context_.shared.info, model_, s);
  accept();
}
