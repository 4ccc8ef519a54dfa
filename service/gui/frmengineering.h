#pragma once
// "Development": the developer's bench of single radio commands. Each
// action sends one or two commands and logs them in the memo; nothing is
// cached or undone. Every command goes through the port check first, and
// only one is ever in progress: the key-held and polling timers skip a
// tick that would start one while another runs.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class NumberField;
class QTimer;
class TfrmSamplesChart;
struct WindowContext;

class TfrmEngineering : public QDialog {
  Q_OBJECT
 public:
  TfrmEngineering(WindowContext& context, QWidget* parent = nullptr);

  TfrmSamplesChart& SamplesChart() { return *chart_; }
  int64_t FrequencyHz() const { return frequencyHz_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Layout (frmengineering_layout.cpp).
  void BuildControls();
  QWidget* BuildFrequencyGroup();
  QWidget* BuildToneGroups();
  QWidget* BuildAlignAndLcdGroups();
  QWidget* BuildMemoryGroups();
  QWidget* BuildRadioGroups();
  QWidget* BuildLinkGroups();
  void ConnectActions();

  void FormShow();

  // The frequency (frmengineering_freq.cpp).
  void ShowFrequency();
  bool UpdatePll();
  void SetFrequency(int64_t hz);
  bool StepFrequency(int direction);
  void btnFreqPressed(int direction);
  void btnFreqReleased();
  void TimerKeyHeldTimer();
  void UpdatePllClick();
  void btn_450Click() { SetFrequency(450000000); }
  void btn_477Click() { SetFrequency(477000000); }
  void btn_504Click() { SetFrequency(504000000); }

  // The actions (frmengineering.cpp, frmengineering_memory.cpp).
  void btnPTTClick(bool on);
  void btnSquelchClick(bool open);
  void chkTestModeClick();
  void btnResetClick();
  void btnSetChannelClick();
  void btnCTCSSClick();
  void btnSelcallClick();
  void btnBeepPress(bool down);
  void btnCloseClick();
  void btnAutoAlignClick();
  void btnWriteLCDClick();
  void btnMemWriteClick();
  void btnMemReadClick();
  void btnAudioSamplesClick();
  void tbVolumeChange();
  void btnRefreshVolumeClick();
  void btnReadIDClick();
  void btnWriteIDClick();
  void btnSetWidebandClick();
  void btnSendVornIICommandClick();
  void btnSetContrastClick();
  void btnReadArrayClick();
  void btnWriteArrayClick();
  void btnSetRadioBaudRateClick();
  void btnSetPCBaudRateClick();
  void chkADPollingClick();
  void ADPollTimerTimer();
  void udLCDContrastStep(bool up);

  // One radio command: false without sending when another is in
  // progress or the port cannot be opened.
  bool Send(const std::function<bool()>& command);
  // Clears the log (unless told not to), adds `line`, sends and adds
  // "OK" or "failed".
  bool Logged(const char* line, const std::function<bool()>& command, bool clear = true);
  void Log(const QString& line);
  void ClearLog();
  // The strict conversion of an edit's text (or of `text` when given);
  // a text that is not a number shows the application's error box.
  std::optional<int> IntOf(QLineEdit* edit);
  std::optional<int> IntOfText(const std::string& text);
  std::optional<int> HexOf(QLineEdit* edit);
  // Reads "address" and "num bytes" and writes them back in decimal.
  bool ArrayFields(int& address, int& count);
  void Refuse(const QString& text, const QString& caption = "Error");
  uint32_t SelectedBaudRate() const;
  int ContrastAddress() const;

  WindowContext& context_;
  TfrmSamplesChart* chart_ = nullptr;
  bool busy_ = false;
  bool showing_ = false;

  int64_t frequencyHz_;
  int stepDirection_ = 0;
  bool transmitting_ = false;
  bool squelchForced_ = false;
  int contrastPosition_ = 4;

  QLineEdit* editFreq_ = nullptr;
  QPushButton* btnFreqInc_ = nullptr;
  QPushButton* btnFreqDec_ = nullptr;
  QComboBox* cbFreqStep_ = nullptr;
  QLabel* lblTxRx_ = nullptr;
  QCheckBox* chkTestMode_ = nullptr;
  NumberField* udCTCSS_ = nullptr;
  NumberField* udSelcall_ = nullptr;
  NumberField* udBeepTone_ = nullptr;
  QPushButton* btnBeep_ = nullptr;
  QPushButton* btnPTT_ = nullptr;
  QPushButton* btnSquelch_ = nullptr;
  QLineEdit* editAlignStart_ = nullptr;
  QLineEdit* editAlignStop_ = nullptr;
  QLineEdit* editAlignStep_ = nullptr;
  QCheckBox* chkAlign_[4] = {};
  QLineEdit* edit7seg_ = nullptr;
  QLineEdit* editAlphaText_ = nullptr;
  QLineEdit* edtIcons_ = nullptr;
  QLineEdit* edtFlags_ = nullptr;
  QLineEdit* edit_memaddr_ = nullptr;
  QLineEdit* edit_memdata_ = nullptr;
  QLineEdit* edit_memmask_ = nullptr;
  QSlider* tbVolume_ = nullptr;
  QLineEdit* edtVolume_ = nullptr;
  QLineEdit* edtID_ = nullptr;
  QLineEdit* edtSendVornII_ = nullptr;
  QLineEdit* edtLCDContrast_ = nullptr;
  QWidget* udLCDContrast_ = nullptr;
  QPushButton* btnSetContrast_ = nullptr;
  QLineEdit* edtArrayAddress_ = nullptr;
  QLineEdit* edtArrayNumBytes_ = nullptr;
  QComboBox* cbBaudRate_ = nullptr;
  QCheckBox* chkADPolling_ = nullptr;
  QLineEdit* editNoisevolts_ = nullptr;
  QLineEdit* editRSSI_ = nullptr;
  QPlainTextEdit* memoEng_ = nullptr;
  QTimer* TimerKeyHeld_ = nullptr;
  QTimer* ADPollTimer_ = nullptr;
};
