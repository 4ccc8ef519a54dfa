#pragma once
// "Advanced Options": dealer-level settings in the memory image (transmit
// deviations in hertz, repeater key timings, three option bits and the
// squelch noise thresholds), with a live noise-volts reading to help set
// the thresholds. OK stores into the image; Cancel leaves it alone.

#include <QDialog>

#include "engoptions.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class NumberField;
class QTimer;
struct WindowContext;

class TfrmEngOptions : public QDialog {
  Q_OBJECT
 public:
  TfrmEngOptions(WindowContext& context, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls();
  QGroupBox* BuildThresholds();
  QGroupBox* BuildGeneral();
  QGroupBox* BuildCtcss();
  void FormShow();
  void btnOkClick();
  void ShowDeviation(QLineEdit* edit, int steps);
  void DeviationStep(QLineEdit* edit, int& steps, bool up);
  void DeviationEnter(QLineEdit* edit, int& steps);
  void chkAdcPollingClick();
  void Timer1Timer();

  WindowContext& context_;
  EngOptionsFeatures features_;
  EngOptionsValues values_;
  bool polling_ = false;  // a reading is in progress

  QGroupBox* gbSquelchThresholds_ = nullptr;
  NumberField* udSql_[kSquelchThresholds] = {};
  QWidget* sqlRow_[kSquelchThresholds][2] = {};  // label, up-down
  QLineEdit* editNoiseVolts_ = nullptr;
  QCheckBox* chkAdcPolling_ = nullptr;
  QCheckBox* chkEnableTx_RxOnly_ = nullptr;
  QCheckBox* chkCTCSS_5_35_ = nullptr;
  QCheckBox* chkCTCSS38Ext_ = nullptr;
  NumberField* udCTCSS_RPK_ = nullptr;
  NumberField* udCTCSS_SilentTail_ = nullptr;
  QLineEdit* editCTCSS_Hz_ = nullptr;
  QLineEdit* editDCS_Hz_ = nullptr;
  QTimer* Timer1_ = nullptr;
};
