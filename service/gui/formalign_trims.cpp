// The trims: arrow clicks and Enter write through the write step; "Mod"
// and "Bal" in decibels; the microphone gains; test tone, power output
// and reset.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "alignbindings.h"
#include "aligntrim.h"
#include "formalign.h"
#include "keyfilters.h"
#include "updown.h"

void TformAlign::WireTrims() {
  for (const AlignBinding& b : AlignBindings()) {
    AlignTrim* trim = trims_.at(b.upDown);
    connect(trim, &AlignTrim::Stepped, this, [this, trim](int position) {
      Radio([this, trim, position] { bench_.WriteStep(trim->Tag(), position); });
    });
    if (b.enterWrites) OnEnterKey(trim->Edit(), [this, trim] { TrimEnter(trim); });
  }

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

  connect(micGain1_, &AlignTrim::Stepped, this, [this](int p) { MicGainStep(false, p); });
  connect(micGain2_, &AlignTrim::Stepped, this, [this](int p) { MicGainStep(true, p); });
  OnEnterKey(micGain1_->Edit(), [this] { MicGainEnter(false); });
  OnEnterKey(micGain2_->Edit(), [this] { MicGainEnter(true); });
}

void TformAlign::TrimEnter(AlignTrim* trim) {
  const TrimEntry entry = ParseTrimEntry(trim->Edit()->text().toStdString());
  if (!entry.writes) return;
  trim->SetPosition(entry.value);
  Radio([this, trim, &entry] { bench_.WriteStep(trim->Tag(), entry.value); });
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

void TformAlign::MicGainStep(bool rear, int position) {
  Radio([this, rear, position] { bench_.WriteMicGain(rear, position); });
}

void TformAlign::MicGainEnter(bool rear) {
  AlignTrim* trim = rear ? micGain2_ : micGain1_;
  const TrimEntry entry = ParseMicGainEntry(trim->Edit()->text().toStdString());
  if (!entry.writes) return;
  trim->SetPosition(entry.value);
  Radio([this, rear, &entry] { bench_.WriteMicGain(rear, entry.value); });
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
