#pragma once
// The alignment bench's live readings: A/D polling (noise volts and RSSI)
// and frequency error polling, each with its check box, its boxes and its
// timer. A radio that stops answering is reported once per run of polling,
// not on every tick; a tick that finds the radio busy is dropped.

#include <QObject>
#include <QString>
#include <functional>

#include "alignradio.h"

class AlignBench;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QTimer;
class QWidget;

class AlignReadings : public QObject {
 public:
  AlignReadings(QObject* parent, AlignBench& bench, AlignRadio radio,
                std::function<void(const QString&)> addLine);

  // The A/D panel ("Panel3") and the frequency error row with its check box.
  QWidget* BuildAdPanel(QWidget* parent);
  QHBoxLayout* BuildFrequencyErrorRow(QWidget* page);
  QCheckBox* FrequencyErrorPolling() const { return chkRxFreqError; }

  // A new showing: both pollings off, their readings empty.
  void Reset();
  // Closing: both pollings off.
  void Stop();
  void StopTimers();
  // A page change ends frequency error polling.
  void StopFrequencyError();
  // A calibration reads the A/D itself: polling pauses, then goes on if
  // it is still asked for.
  void PauseAd();
  void ResumeAd();
  void ShowFrequencyError(int hertz);

 private:
  void AdPollingToggled(bool on);
  void AdTick();
  void FrequencyErrorToggled(bool on);
  void FrequencyErrorTick();

  AlignBench& bench_;
  AlignRadio radio_;
  std::function<void(const QString&)> addLine_;
  bool adFailShown_ = false;
  bool freqFailShown_ = false;

  QCheckBox* chk_rssipolling2 = nullptr;
  QLineEdit* editNoisevolts = nullptr;
  QLineEdit* editRSSI = nullptr;
  QCheckBox* chkRxFreqError = nullptr;
  QLineEdit* editFreqError = nullptr;
  QTimer* TimerRSSI = nullptr;
  QTimer* TimerFreqError = nullptr;
  // Battery polling's timer: the battery page is never shown, so nothing
  // starts it; it is stopped with the others all the same.
  QTimer* ADCTimer = nullptr;
};
