#pragma once
// "Alignment": the technician's calibration bench. It drives the radio
// into test conditions, shows live readings and writes each calibration
// byte to the radio as it is trimmed (the image follows once the radio
// confirms). Offline it simulates the channel panel and sends almost
// nothing. Built once, shown modally by the main window's opener.

#include <QDialog>

#include "alignbench.h"
#include "alignradio.h"
#include "radiogate.h"

class AlignCalibration;
class AlignReadings;
class AlignTrim;
class AlignTrims;
class HelpMemo;
class NumberField;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class UpDown;
struct WindowContext;

class TformAlign : public QDialog {
  Q_OBJECT
 public:
  TformAlign(WindowContext& context, QWidget* parent = nullptr);

  // Set by the opener before each showing.
  void SetOffline(bool offline) { offline_ = offline; }
  bool Offline() const { return offline_; }

 public slots:
  // Every close, by "Close", Escape or the window frame.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Escape is "Close".
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Layout (formalign_layout.cpp).
  void BuildControls();
  QWidget* BuildChannelPanel();
  QWidget* BuildFrequencyPage();
  QWidget* BuildTransmitPage();
  QWidget* BuildReceiverPage();
  QWidget* BuildSquelchPage();
  QWidget* BuildSMeterPage();
  QWidget* BuildBatteryPage();
  void RegisterHelp();

  // Showing and closing (formalign.cpp).
  void FormShow();
  void ShowFeatures();
  void StopTimers();
  void FormClose();
  void btnCloseClick();
  // Runs a radio action unless another, or a whole-memory worker, is in
  // progress: the live readings' ticks must never wait for a worker.
  template <typename Work>
  bool Radio(Work&& work) {
    return !LinkBusy() && gate_.Run(work);
  }
  bool LinkBusy() const;
  // The same gate for the window's parts.
  AlignRadio RadioForParts();

  // Channel panel (formalign_channel.cpp).
  void ShowChannel();
  void SetChannelColour(bool onChannel);
  void ClearAlignmentFrequency();
  void StepButtonPressed(int direction);
  void KeyTimerTimer();
  void StepOnce();
  void editChannelClick();
  void rgAlignmentFreqClick(int index);
  void btnPTTClick(bool on);
  void ShowTxRx();
  void btnSquelchClick();
  void PageControl1Change(int index);

  // Transmitter page: "Mod" and "Bal", test tone, power output and reset
  // (formalign_transmit.cpp).
  void WireDeviation();
  void ShowModBal();
  void udMod_dBClick(bool up);
  void udBal_dBClick(bool up);
  void DecibelEnter(bool modulation);
  void chkTrackModClick();
  void rgTestToneClick(int index);
  void grpSelectPowerOutputClick(int index);
  void btnResetClick();

  void Warn(const QString& text);
  void AddLine(const QString& line);

  WindowContext& context_;
  AlignBench bench_;
  RadioGate gate_;
  bool offline_ = false;
  int repeatDirection_ = 1;

  AlignTrims* trims_ = nullptr;
  AlignReadings* readings_ = nullptr;
  AlignCalibration* calibration_ = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheetFrequency = nullptr;
  QWidget* TabSheetTransmit = nullptr;
  QWidget* TabSheetReceiver = nullptr;
  QWidget* TabSheetSquelch = nullptr;
  QWidget* TabSheetSMeter = nullptr;
  QWidget* TabSheetBattery = nullptr;

  QLabel* lblBank = nullptr;
  QLineEdit* editChannel = nullptr;
  QPushButton* BitBtnUp = nullptr;
  QPushButton* BitBtnDown = nullptr;
  QLabel* lblRxFreq = nullptr;
  QLabel* lblChannelAlpha = nullptr;
  QLabel* lblSQL = nullptr;
  QPushButton* btnPTT = nullptr;
  QLabel* panelTxRx = nullptr;
  QPushButton* btnSquelch = nullptr;
  QGroupBox* rgAlignmentFreq = nullptr;
  QButtonGroup* alignmentFreqs_ = nullptr;
  QGroupBox* rgPTTMic = nullptr;
  QButtonGroup* pttMics_ = nullptr;
  QLabel* lblOffline = nullptr;
  QLabel* lblDebugChannelNumber = nullptr;

  QList<QWidget*> tempCoControls_;
  QLabel* lblTxFreqAdjust = nullptr;
  QLabel* lblRxFreqOffset = nullptr;

  QGroupBox* rgTestTone = nullptr;
  QButtonGroup* testTones_ = nullptr;
  QList<QWidget*> deviationControls_;
  QLineEdit* editMod_dB = nullptr;
  UpDown* udMod_dB = nullptr;
  QLineEdit* editBal_dB = nullptr;
  UpDown* udBal_dB = nullptr;
  QCheckBox* chkTrackMod = nullptr;
  QList<QWidget*> rfPowerControls_;
  QLabel* lblLowPower = nullptr;
  QGroupBox* grpSelectPowerOutput = nullptr;
  QButtonGroup* powerOutputs_ = nullptr;
  QGroupBox* gbMicGains = nullptr;
  QLabel* lblMicGain1 = nullptr;
  QLabel* lblMicGain2 = nullptr;
  QPushButton* btnReset = nullptr;

  QLabel* lblFreq[3] = {};
  QLabel* lblNotch = nullptr;

  QCheckBox* chkBattPolling = nullptr;
  NumberField* udBattOffset = nullptr;

  QPlainTextEdit* MemoAlignHelp = nullptr;
  HelpMemo* help_ = nullptr;
  QPushButton* btnClose = nullptr;

  QTimer* KeyTimer = nullptr;
};
