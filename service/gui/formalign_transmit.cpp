// The transmitter page's own commands: "Mod" and "Bal" in decibels, test
// tone, power output and reset (its trims belong to the trims table).
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "formalign.h"
#include "keyfilters.h"
#include "updown.h"

void TformAlign::WireDeviation() {
  connect(udMod_dB, &UpDown::Stepped, this, &TformAlign::udMod_dBClick);
  connect(udBal_dB, &UpDown::Stepped, this, &TformAlign::udBal_dBClick);
  // The Up and Down keys in a decibel box step its own value only: the
  // modulation's arrows step the balance with it while it tracks.
  OnArrowKeys(editMod_dB, [this](bool up) {
    Radio([this, up] { bench_.StepMod(up); });
    ShowModBal();
  });
  OnArrowKeys(editBal_dB, [this](bool up) { udBal_dBClick(up); });
  OnEnterKey(editMod_dB, [this] { DecibelEnter(true); });
  OnEnterKey(editBal_dB, [this] { DecibelEnter(false); });
}

void TformAlign::ShowModBal() {
  editMod_dB->setText(QString::fromStdString(DecibelText(bench_.ModStep())));
  editBal_dB->setText(QString::fromStdString(DecibelText(bench_.BalStep())));
}

void TformAlign::udMod_dBClick(bool up) {
  const bool tracking = chkTrackMod->isChecked();
  Radio([this, up, tracking] { bench_.ModArrow(up, tracking); });
  ShowModBal();
}

void TformAlign::udBal_dBClick(bool up) {
  Radio([this, up] { bench_.StepBal(up); });
  ShowModBal();
}

void TformAlign::DecibelEnter(bool modulation) {
  QLineEdit* edit = modulation ? editMod_dB : editBal_dB;
  const std::optional<double> decibels = ParseDecibels(edit->text().toStdString());
  if (!decibels) {
    Warn(modulation ? "Invalid modulation value" : "Invalid balance value");
    return;
  }
  Radio([this, modulation, &decibels] {
    if (modulation)
      bench_.TypeMod(*decibels);
    else
      bench_.TypeBal(*decibels);
  });
  ShowModBal();
}

void TformAlign::chkTrackModClick() {
  const bool tracking = chkTrackMod->isChecked();
  editBal_dB->setEnabled(!tracking);
  udBal_dB->setEnabled(!tracking);
  if (tracking) bench_.CaptureTrackingReference();
}

void TformAlign::rgTestToneClick(int index) {
  static const int kCodes[3] = {kToneOneKilohertz, kToneFiftyHertz, kToneOff};
  if (index < 0 || index > 2) return;
  Radio([this, index] { bench_.SetTestTone(kCodes[index]); });
}

void TformAlign::grpSelectPowerOutputClick(int index) {
  Radio([this, index] { bench_.SelectPower(index == 1); });
}

void TformAlign::btnResetClick() {
  Radio([this] { bench_.ResetRadio(); });
}
