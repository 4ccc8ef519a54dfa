#pragma once
// The alignment bench's calibration runner: the AFC switch, "Auto Adjust"
// of the receive offset and the two S-meter points. Each run shows its
// result in the readings and the trims it set, and says what stopped it.

#include <QObject>
#include <QString>
#include <functional>

#include "alignradio.h"

class AlignBench;
class AlignReadings;
class AlignTrims;
class QCheckBox;
class QPushButton;
class QWidget;

class AlignCalibration : public QObject {
 public:
  AlignCalibration(QObject* parent, AlignBench& bench, AlignRadio radio, AlignReadings& readings,
                   AlignTrims& trims, std::function<void(const QString&)> warn);

  // The controls, placed by the window: the AFC switch and "Auto Adjust"
  // on the frequency page, the two "Set" buttons on the S-meter page.
  QCheckBox* MakeAfcSwitch(QWidget* page);
  QPushButton* MakeAutoAdjust(QWidget* page);
  QPushButton* MakeSMeterButton(QWidget* page, int point);  // 1: S1, 2: S9+

  // Set on each showing: offline the S-meter is not calibrated.
  void SetOffline(bool offline) { offline_ = offline; }

  void AutoAdjust();
  void CalibrateSMeter(int point);

 private:
  AlignBench& bench_;
  AlignRadio radio_;
  AlignReadings& readings_;
  AlignTrims& trims_;
  std::function<void(const QString&)> warn_;
  bool offline_ = false;

  QCheckBox* chkAfcDisable = nullptr;
  QPushButton* btnAutoRxOffset = nullptr;
  QPushButton* btnSetS1 = nullptr;
  QPushButton* btnSetS10 = nullptr;
};
