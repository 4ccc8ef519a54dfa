// Live readings (A/D and frequency error), AFC, "Auto Adjust" and the
// S-meter calibration.
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "aligntrim.h"
#include "controls.h"
#include "formalign.h"

void TformAlign::Warn(const QString& text) {
  QMessageBox box(QMessageBox::Warning, "Error", text, QMessageBox::Ok, this);
  box.exec();
}

void TformAlign::chk_rssipolling2Click() {
  if (chk_rssipolling2->isChecked()) {
    adFailShown_ = false;
    TimerRSSI->start(400);
  } else {
    TimerRSSI->stop();
    ADCTimer->stop();
  }
}

void TformAlign::TimerRSSITimer() {
  AdReading reading;
  // A tick that finds another radio action under way is dropped.
  if (!Radio([this, &reading] { reading = bench_.PollAd(); })) return;
  editNoisevolts->setText(QString::fromStdString(reading.noise));
  editRSSI->setText(QString::fromStdString(reading.rssi));
  // A radio that stops answering is reported once, not on every tick.
  if (reading.ok) {
    adFailShown_ = false;
  } else if (!adFailShown_) {
    adFailShown_ = true;
    AddLine("A/D polling... fail");
  }
}

void TformAlign::chkRxFreqErrorClick() {
  const bool on = chkRxFreqError->isChecked();
  editFreqError->setEnabled(on);
  if (on) {
    freqFailShown_ = false;
    TimerFreqError->start(500);
  } else {
    TimerFreqError->stop();
  }
}

void TformAlign::TimerFreqErrorTimer() {
  std::optional<int> error;
  if (!Radio([this, &error] { error = bench_.PollFrequencyError(); })) return;
  editFreqError->setText(error ? QString::number(*error) : QString("----"));
  if (error) {
    freqFailShown_ = false;
  } else if (!freqFailShown_) {
    freqFailShown_ = true;
    AddLine("Freq Err Polling... fail");
  }
}

void TformAlign::chkAfcDisableClick() {
  const bool disable = chkAfcDisable->isChecked();
  Radio([this, disable] { bench_.SetAfc(!disable); });
}

void TformAlign::btnAutoRxOffsetClick() {
  Radio([this] {
    if (!bench_.SignalPresent()) {
      Warn("No received signal.\nCheck signal is on and BUSY displayed.");
      return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetQuietly(chkAfcDisable, true);
    // The window keeps painting between samples; input waits, and the
    // gate turns polling ticks away until the adjustment is done.
    const AutoAdjustResult result = bench_.AutoAdjust([](int ms) {
      QEventLoop loop;
      QTimer::singleShot(ms, &loop, &QEventLoop::quit);
      loop.exec(QEventLoop::ExcludeUserInputEvents);
    });
    editFreqError->setText(QString::number(result.average));
    if (result.outcome == AutoAdjustOutcome::kAdjusted)
      trims_.at("udRxOffset")->SetPosition(result.newOffset);
    SetQuietly(chkAfcDisable, false);
    QApplication::restoreOverrideCursor();
    if (result.outcome == AutoAdjustOutcome::kTooFewSamples)
      Warn("Failed to get 8 frequency samples");
  });
}

void TformAlign::SMeterClick(int point) {
  if (offline_) return;
  QPushButton* pressed = point == 1 ? btnSetS1 : btnSetS10;
  pressed->setEnabled(false);
  TimerRSSI->stop();
  ADCTimer->stop();
  SMeterResult result;
  Radio([this, point, &result] { result = bench_.CalibrateSMeter(point); });
  btnSetS1->setEnabled(true);
  btnSetS10->setEnabled(true);
  if (result.value) trims_.at(point == 1 ? "udS1" : "udS10")->SetPosition(*result.value);
  if (!result.complete) Warn("S-Meter calibration not complete");
  if (chk_rssipolling2->isChecked()) TimerRSSI->start(400);
}
