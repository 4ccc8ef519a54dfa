#pragma once
// The scan and duplex window: which CB channels are in the two scan
// memories, the NetScan memory and the duplex channels, and the scan
// options. Every showing loads the controls from the image; OK stores them
// back, Cancel (or Escape) drops them.

#include <QDialog>
#include <array>

#include "windowcontext.h"
#include "scan.h"

class HelpMemo;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class UpDown;

class TfrmScan : public QDialog {
  Q_OBJECT
 public:
  TfrmScan(WindowContext& context, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Built in frmscan_layout.cpp.
  void BuildForm();
  QGroupBox* BuildScanOptions();
  QGroupBox* BuildDuplex();
  QWidget* BuildScanPage(int page);
  void BuildBottom();
  void AddHelp();

  void FormShow();
  void ShowPriorityChannels();
  void ShowSkipPosition(int seconds);
  void edtScanSkipTimeEnter();
  void udScanSkipTimeClick(bool up);
  void OKBtnClick();

  WindowContext& context_;
  ScanFeatures features_;
  ScanSettings settings_;  // what the showing read, the base OK writes over
  int skipPosition_ = 0;   // the up-down's position, seconds

  QGroupBox* gbScanOptions_ = nullptr;
  QLabel* lblRecallM1_ = nullptr;
  QComboBox* cmbRecallM1_ = nullptr;
  QLabel* lblPriCheck_ = nullptr;
  QComboBox* cmbPriChkRate_ = nullptr;
  QCheckBox* chk3Beep_ = nullptr;
  QCheckBox* chkGS_PTT_EXIT_ = nullptr;
  QCheckBox* chkScanEnabled_ = nullptr;
  std::array<QWidget*, 4> skipTimeControls_{};
  QLineEdit* edtScanSkipTime_ = nullptr;
  UpDown* udScanSkipTime_ = nullptr;
  QLabel* lblScanMemory_ = nullptr;
  QComboBox* cbScanMemory_ = nullptr;
  QCheckBox* chkUserModNSMem_ = nullptr;
  QCheckBox* chkUserModScanMode_ = nullptr;

  QGroupBox* gbDuplex_ = nullptr;
  std::array<QCheckBox*, kDuplexChannelCount> duplexBoxes_{};

  QTabWidget* pcScanMem_ = nullptr;
  std::array<QWidget*, kScanPageCount> pages_{};
  std::array<std::array<QCheckBox*, kCbChannelCount>, kScanPageCount> scanBoxes_{};
  std::array<QRadioButton*, 2> openScan_{};
  std::array<QRadioButton*, 2> groupScan_{};

  QPushButton* OKBtn_ = nullptr;
  QPushButton* CancelBtn_ = nullptr;
  QPlainTextEdit* memoHelpText_ = nullptr;
  HelpMemo* help_ = nullptr;
};
