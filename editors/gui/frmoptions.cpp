#include "frmoptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>

#include "windowcontext.h"
#include "numberfield.h"
#include "radio.h"

namespace {

// The hourglass while the window waits for the radio.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TfrmOptions::TfrmOptions(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context), features_(OptionsFeatures::For(context.build.productId)) {
  setObjectName("frmOptions");
  setWindowTitle("Radio Options");
  BuildControls();
}

void TfrmOptions::showEvent(QShowEvent* event) {
  // A window-system show (restoring from minimised) keeps the edits.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmOptions::FormShow() {
  values_ = LoadOptions(context_.shared.image, context_.shared.info, features_);
  const OptionsValues& v = values_;
  chkPTT22_23_->setChecked(v.ptt22_23);
  udMicGain_->setValue(v.micGain);
  udMicGainRear_->setValue(v.micGainRear);
  chkAllowRxAudioMute_->setChecked(v.allowRxAudioMute);
  chkAllowZeroMinVol_->setChecked(v.allowZeroMinVol);
  udMinVolume_->SetStepRange(MinVolumeFloor(features_, v.allowZeroMinVol), kVolumeMax);
  udMinVolume_->setValue(v.minVolume);
  udBeepVol_->setValue(v.beepVol);
  cbCBDisplay_->setCurrentIndex(v.cbDisplay);
  (v.alphaMode ? rbAlpha_ : rbNumeric_)->setChecked(true);
  cbRxonlyDisplay_->setCurrentIndex(v.rxOnlyDisplay);
  udLCDContrast_->setValue(v.lcdContrast);
  udTxTimeOut_->setValue(v.txTimeout);
  cbDVC_->setChecked(v.dvc);
  cbNarrowbandCB1_40_->setChecked(v.narrowband);
  cbBusyLockout_->setChecked(v.busyLockout);
  cbScrambler_->setChecked(v.scrambler);
  cbWPTTMicSel_->setCurrentIndex(v.wpttMicSel);
  udMicGainWireless_->setValue(v.wpttMicGain);
  cbWPTTKeyFunctions_->setCurrentIndex(v.keyFunctions);
  chkEnableSqlTailMute_->setChecked(v.sqlTailMute);
  OKBtn_->setFocus();
}

void TfrmOptions::OKBtnClick() {
  OptionsValues& v = values_;
  v.ptt22_23 = chkPTT22_23_->isChecked();
  v.micGain = udMicGain_->value();
  v.micGainRear = udMicGainRear_->value();
  v.minVolume = udMinVolume_->value();
  v.allowRxAudioMute = chkAllowRxAudioMute_->isChecked();
  v.allowZeroMinVol = chkAllowZeroMinVol_->isChecked();
  v.beepVol = udBeepVol_->value();
  v.cbDisplay = cbCBDisplay_->currentIndex();
  v.rxOnlyDisplay = cbRxonlyDisplay_->currentIndex();
  v.alphaMode = rbAlpha_->isChecked();
  v.lcdContrast = udLCDContrast_->value();
  v.wpttMicSel = cbWPTTMicSel_->currentIndex() == 0 ? kPttMicFront : kPttMicRear;
  v.wpttMicGain = udMicGainWireless_->value();
  v.keyFunctions = cbWPTTKeyFunctions_->currentIndex() == 1 ? kKeysScanPri : kKeysDownUp;
  v.txTimeout = udTxTimeOut_->value();
  v.dvc = cbDVC_->isChecked();
  v.narrowband = cbNarrowbandCB1_40_->isChecked();
  v.busyLockout = cbBusyLockout_->isChecked();
  v.scrambler = cbScrambler_->isChecked();
  v.sqlTailMute = chkEnableSqlTailMute_->isChecked();
  StoreOptions(v, context_.shared.image, context_.shared.info, features_);
  accept();
}

void TfrmOptions::chkAllowZeroMinVolClick() {
  // Raising the floor to 1 also lifts a shown 0 to 1.
  udMinVolume_->SetStepRange(MinVolumeFloor(features_, chkAllowZeroMinVol_->isChecked()),
                             kVolumeMax);
}

void TfrmOptions::btnUpdateContrastClick() {
  const ContrastWrite contrast = ContrastWriteOf(context_.shared.info, udLCDContrast_->value());
  // The port check also lets a transfer that is still finishing end, so
  // this command never shares the radio layer with a worker.
  bool written = !context_.portCheck || context_.portCheck();
  if (written) {
    WaitCursor wait;
    TRadio& radio = context_.shared.radio;
    written = contrast.address >= 0 && radio.WriteMemoryByte(contrast.address, contrast.value);
    if (written) {
      // The image keeps what the radio acknowledged, whether or not the
      // window is then closed with OK.
      context_.shared.image.SetByte(contrast.address, contrast.value);
      radio.ResetRadio();  // the radio takes up the contrast when it restarts
    }
  }
  if (!written) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(ApplicationTitle(context_.build)),
                    "Unable to write LCD contrast to radio", QMessageBox::Ok, this);
    box.exec();
  }
}
