// The panel's frequency: presets, steps, the key-held repeat and the PLL
// update each change sends.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "windowcontext.h"
#include "eng.h"
#include "frmengineering.h"

namespace {
constexpr int kKeyHeldFirstMs = 1000;
constexpr int kKeyHeldRepeatMs = 100;
}  // namespace

void TfrmEngineering::ShowFrequency() {
  editFreq_->setText(QString::fromStdString(FrequencyText(frequencyHz_)));
}

bool TfrmEngineering::UpdatePll() {
  const int steps = PllSteps(frequencyHz_).value_or(0);
  return Logged("Update PLL...", [&] { return context_.shared.radio.SetPllFrequency(steps); });
}

void TfrmEngineering::UpdatePllClick() { UpdatePll(); }

// A frequency the PLL word cannot carry is refused: it would be sent
// wrapped, tuning the radio somewhere else.
static bool InPllRange(int64_t hz) { return PllSteps(hz).has_value(); }

void TfrmEngineering::SetFrequency(int64_t hz) {
  frequencyHz_ = hz;
  UpdatePll();
  ShowFrequency();
}

bool TfrmEngineering::StepFrequency(int direction) {
  const int64_t next = frequencyHz_ + int64_t{direction} * FreqStepHz(cbFreqStep_->currentIndex());
  if (!InPllRange(next)) {
    TimerKeyHeld_->stop();
    ClearLog();
    Log(QString("%1 MHz is outside the PLL range (0 to %2 MHz)")
            .arg(QString::fromStdString(FrequencyText(next)),
                 QString::fromStdString(FrequencyText(kPllMaxHz))));
    return false;
  }
  frequencyHz_ = next;
  const bool ok = UpdatePll();
  ShowFrequency();
  return ok;
}

void TfrmEngineering::btnFreqPressed(int direction) {
  stepDirection_ = direction;
  // A silent radio is reported once: no repeat follows a failed update.
  if (StepFrequency(direction)) TimerKeyHeld_->start(kKeyHeldFirstMs);
}

void TfrmEngineering::btnFreqReleased() {
  TimerKeyHeld_->stop();
  stepDirection_ = 0;
}

void TfrmEngineering::TimerKeyHeldTimer() {
  TimerKeyHeld_->setInterval(kKeyHeldRepeatMs);
  if (stepDirection_ == 0) {
    TimerKeyHeld_->stop();
    return;
  }
  if (busy_ || context_.LinkBusy()) return;
  if (!StepFrequency(stepDirection_)) TimerKeyHeld_->stop();
}
