#include "alignreadings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>

#include "alignbench.h"
#include "controls.h"

namespace {

QTimer* Timer(QObject* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setInterval(interval);
  return timer;
}

}  // namespace

AlignReadings::AlignReadings(QObject* parent, AlignBench& bench, AlignRadio radio,
                             std::function<void(const QString&)> addLine)
    : QObject(parent), bench_(bench), radio_(std::move(radio)), addLine_(std::move(addLine)) {
  TimerRSSI = Timer(this, "TimerRSSI", 400);
  TimerFreqError = Timer(this, "TimerFreqError", 500);
  ADCTimer = Timer(this, "ADCTimer", 500);
  connect(TimerRSSI, &QTimer::timeout, this, &AlignReadings::AdTick);
  connect(TimerFreqError, &QTimer::timeout, this, &AlignReadings::FrequencyErrorTick);
}

QWidget* AlignReadings::BuildAdPanel(QWidget* parent) {
  auto* panel = MakeGroup(parent, "Panel3", {});
  auto* grid = new QGridLayout(panel);
  chk_rssipolling2 = MakeCheck(panel, "chk_rssipolling2", "&A/D polling");
  chk_rssipolling2->setToolTip("Enable polling of RSSI and noise volts");
  connect(chk_rssipolling2, &QCheckBox::toggled, this, &AlignReadings::AdPollingToggled);
  grid->addWidget(chk_rssipolling2, 0, 0, 1, 2);
  editNoisevolts = MakeReadOnlyBox(panel, "editNoisevolts", "Noise volts", 48);
  editRSSI = MakeReadOnlyBox(panel, "editRSSI", "RSSI", 48);
  grid->addWidget(MakeLabel(panel, "lblNoisevolts", "Noise volts", editNoisevolts), 1, 0);
  grid->addWidget(editNoisevolts, 1, 1);
  grid->addWidget(MakeLabel(panel, "lblRSSI", "RSSI", editRSSI), 2, 0);
  grid->addWidget(editRSSI, 2, 1);
  return panel;
}

QHBoxLayout* AlignReadings::BuildFrequencyErrorRow(QWidget* page) {
  auto* row = new QHBoxLayout;
  editFreqError = MakeReadOnlyBox(page, "editFreqError", "Freq Error (Hz)", 56);
  row->addWidget(MakeLabel(page, "lblFreqError", "Freq Error:", editFreqError));
  row->addWidget(editFreqError);
  row->addWidget(MakeLabel(page, "lblFreqErrorHz", "Hz"));
  row->addStretch();
  chkRxFreqError = MakeCheck(page, "chkRxFreqError", "Freq &Err Polling");
  connect(chkRxFreqError, &QCheckBox::toggled, this, &AlignReadings::FrequencyErrorToggled);
  return row;
}

void AlignReadings::Reset() {
  StopTimers();
  chk_rssipolling2->setChecked(false);
  editNoisevolts->clear();
  editRSSI->clear();
  chkRxFreqError->setChecked(false);
  editFreqError->clear();  // a showing starts with no reading of the last one
  editFreqError->setEnabled(false);
}

void AlignReadings::Stop() {
  StopTimers();
  chk_rssipolling2->setChecked(false);
  chkRxFreqError->setChecked(false);
  editFreqError->setEnabled(false);
}

void AlignReadings::StopTimers() {
  TimerRSSI->stop();
  ADCTimer->stop();
  TimerFreqError->stop();
}

void AlignReadings::StopFrequencyError() {
  chkRxFreqError->setChecked(false);
  TimerFreqError->stop();
  editFreqError->setEnabled(false);
}

void AlignReadings::PauseAd() {
  TimerRSSI->stop();
  ADCTimer->stop();
}

void AlignReadings::ResumeAd() {
  if (chk_rssipolling2->isChecked()) TimerRSSI->start(400);
}

void AlignReadings::ShowFrequencyError(int hertz) {
  editFreqError->setText(QString::number(hertz));
}

void AlignReadings::AdPollingToggled(bool on) {
  if (on) {
    adFailShown_ = false;
    TimerRSSI->start(400);
  } else {
    PauseAd();
  }
}

void AlignReadings::AdTick() {
  AdReading reading;
  if (!radio_([this, &reading] { reading = bench_.PollAd(); })) return;
  editNoisevolts->setText(QString::fromStdString(reading.noise));
  editRSSI->setText(QString::fromStdString(reading.rssi));
  if (reading.ok) {
    adFailShown_ = false;
  } else if (!adFailShown_) {
    adFailShown_ = true;
    addLine_("A/D polling... fail");
  }
}

void AlignReadings::FrequencyErrorToggled(bool on) {
  editFreqError->setEnabled(on);
  if (on) {
    freqFailShown_ = false;
    TimerFreqError->start(500);
  } else {
    TimerFreqError->stop();
  }
}

void AlignReadings::FrequencyErrorTick() {
  std::optional<int> error;
  if (!radio_([this, &error] { error = bench_.PollFrequencyError(); })) return;
  editFreqError->setText(error ? QString::number(*error) : QString("----"));
  if (error) {
    freqFailShown_ = false;
  } else if (!freqFailShown_) {
    freqFailShown_ = true;
    addLine_("Freq Err Polling... fail");
  }
}
