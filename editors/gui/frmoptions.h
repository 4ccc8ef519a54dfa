#pragma once
// "Radio Options": the radio's general options in the image. Loaded on
// every showing; OK stores them, Cancel (or Escape) leaves the image
// alone. "Write contrast" is the one command here that reaches the radio:
// it goes through the main window's port check, and only a write the
// radio acknowledged changes the image.

#include <QDialog>

#include "options.h"

class HelpMemo;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class NumberField;
struct WindowContext;

class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  TfrmOptions(WindowContext& context, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Layout and help texts (frmoptions_layout.cpp).
  void BuildControls();
  QGroupBox* BuildTimeoutGroup();
  QGroupBox* BuildDisplayGroup();
  QGroupBox* BuildGeneralGroup();
  QGroupBox* BuildOtherGroup();
  QGroupBox* BuildWirelessGroup();
  void RegisterHelp();
  void ApplyFeatures();

  void FormShow();
  void OKBtnClick();
  void chkAllowZeroMinVolClick();
  void btnUpdateContrastClick();

  WindowContext& context_;
  const OptionsFeatures features_;
  OptionsValues values_;
  HelpMemo* help_ = nullptr;

  NumberField* udTxTimeOut_ = nullptr;
  QComboBox* cbCBDisplay_ = nullptr;
  QLabel* lblRxonlyDisplay_ = nullptr;
  QComboBox* cbRxonlyDisplay_ = nullptr;
  QGroupBox* rgDisplayMode_ = nullptr;
  QRadioButton* rbNumeric_ = nullptr;
  QRadioButton* rbAlpha_ = nullptr;
  QLabel* lblLCDContrast_ = nullptr;
  NumberField* udLCDContrast_ = nullptr;
  QPushButton* btnUpdateContrast_ = nullptr;
  QLabel* lblMicGain_ = nullptr;
  NumberField* udMicGain_ = nullptr;
  QLabel* lblMicGainFrontdB_ = nullptr;
  QLabel* lblMicGainRear_ = nullptr;
  NumberField* udMicGainRear_ = nullptr;
  QLabel* lblMicGainReardB_ = nullptr;
  NumberField* udBeepVol_ = nullptr;
  NumberField* udMinVolume_ = nullptr;
  QCheckBox* chkPTT22_23_ = nullptr;
  QCheckBox* chkAllowRxAudioMute_ = nullptr;
  QCheckBox* chkAllowZeroMinVol_ = nullptr;
  QCheckBox* cbDVC_ = nullptr;
  QCheckBox* cbNarrowbandCB1_40_ = nullptr;
  QCheckBox* cbBusyLockout_ = nullptr;
  QCheckBox* cbScrambler_ = nullptr;
  QCheckBox* chkEnableSqlTailMute_ = nullptr;
  QGroupBox* gbWirelessRemote_ = nullptr;
  QComboBox* cbWPTTMicSel_ = nullptr;
  NumberField* udMicGainWireless_ = nullptr;
  QComboBox* cbWPTTKeyFunctions_ = nullptr;
  QPlainTextEdit* memoHelptext_ = nullptr;
  QPushButton* OKBtn_ = nullptr;
  QPushButton* CancelBtn_ = nullptr;
};
