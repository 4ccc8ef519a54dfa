#include "aligncalibration.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include "alignbench.h"
#include "alignreadings.h"
#include "aligntrim.h"
#include "aligntrims.h"
#include "controls.h"

AlignCalibration::AlignCalibration(QObject* parent, AlignBench& bench, AlignRadio radio,
                                   AlignReadings& readings, AlignTrims& trims,
                                   std::function<void(const QString&)> warn)
    : QObject(parent), bench_(bench), radio_(std::move(radio)), readings_(readings),
      trims_(trims), warn_(std::move(warn)) {}

QCheckBox* AlignCalibration::MakeAfcSwitch(QWidget* page) {
  chkAfcDisable = MakeCheck(page, "chkAfcDisable", "&Disable AFC");
  connect(chkAfcDisable, &QCheckBox::toggled, this, [this](bool disable) {
    radio_([this, disable] { bench_.SetAfc(!disable); });
  });
  return chkAfcDisable;
}

QPushButton* AlignCalibration::MakeAutoAdjust(QWidget* page) {
  btnAutoRxOffset = MakeButton(page, "btnAutoRxOffset", "A&uto Adjust");
  connect(btnAutoRxOffset, &QPushButton::clicked, this, &AlignCalibration::AutoAdjust);
  return btnAutoRxOffset;
}

QPushButton* AlignCalibration::MakeSMeterButton(QWidget* page, int point) {
  QPushButton*& button = point == 1 ? btnSetS1 : btnSetS10;
  button = point == 1 ? MakeButton(page, "btnSetS1", "Set S&1")
                      : MakeButton(page, "btnSetS10", "Set S&9+");
  connect(button, &QPushButton::clicked, this, [this, point] { CalibrateSMeter(point); });
  return button;
}

void AlignCalibration::AutoAdjust() {
  radio_([this] {
    if (!bench_.SignalPresent()) {
      warn_("No received signal.\nCheck signal is on and BUSY displayed.");
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
    readings_.ShowFrequencyError(result.average);
    if (result.outcome == AutoAdjustOutcome::kAdjusted)
      trims_.Trim("udRxOffset")->SetPosition(result.newOffset);
    SetQuietly(chkAfcDisable, false);
    QApplication::restoreOverrideCursor();
    if (result.outcome == AutoAdjustOutcome::kTooFewSamples)
      warn_("Failed to get 8 frequency samples");
  });
}

void AlignCalibration::CalibrateSMeter(int point) {
  if (offline_) return;
  QPushButton* pressed = point == 1 ? btnSetS1 : btnSetS10;
  pressed->setEnabled(false);
  readings_.PauseAd();
  SMeterResult result;
  radio_([this, point, &result] { result = bench_.CalibrateSMeter(point); });
  btnSetS1->setEnabled(true);
  btnSetS10->setEnabled(true);
  if (result.value) trims_.Trim(point == 1 ? "udS1" : "udS10")->SetPosition(*result.value);
  if (!result.complete) warn_("S-Meter calibration not complete");
  readings_.ResumeAd();
}
