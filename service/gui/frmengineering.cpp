#include "frmengineering.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "windowcontext.h"
#include "eng.h"
#include "numberfield.h"
#include "controls.h"
#include "frmsampleschart.h"
#include "options.h"
#include "params.h"

namespace {

constexpr int kAdPollMs = 400;

void ShowTxRx(QLabel* label, bool transmitting) {
  SetSpokenText(label, "Transmit state", transmitting ? "TRANSMIT" : "RECEIVE");
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, transmitting ? QColor(Qt::red) : QColor(0x00, 0xFF, 0x00));
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
}

}  // namespace

TfrmEngineering::TfrmEngineering(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context), frequencyHz_(kInitialFrequencyHz) {
  setObjectName("frmEngineering");
  setWindowTitle("Development");
  BuildControls();
  chart_ = new TfrmSamplesChart(this);
  cbFreqStep_->setCurrentIndex(0);
  ShowTxRx(lblTxRx_, false);
}

void TfrmEngineering::showEvent(QShowEvent* event) {
  // Restoring a minimised panel is not a new showing.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmEngineering::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) {
    TimerKeyHeld_->stop();
    stepDirection_ = 0;
    chkADPolling_->setChecked(false);
  }
  QDialog::hideEvent(event);
}

void TfrmEngineering::FormShow() {
  showing_ = true;
  chkADPolling_->setChecked(false);
  transmitting_ = false;
  SetQuietly(btnPTT_, false);
  ShowTxRx(lblTxRx_, false);
  ShowFrequency();
  edtVolume_->setText("0");
  tbVolume_->setValue(kVolumeTop);

  const int contrast = ContrastAddress();
  udLCDContrast_->setEnabled(contrast >= 0);
  btnSetContrast_->setEnabled(contrast >= 0);
  int value = 0;
  if (contrast >= 0 && Send([&] { return context_.shared.radio.ReadMemoryByte(contrast, value); }))
    edtLCDContrast_->setText(QString::fromStdString(HexByte(value)));

  cbBaudRate_->clear();
  for (uint32_t rate : kEngBaudRates) cbBaudRate_->addItem(QString::number(rate));
  cbBaudRate_->setCurrentIndex(0);
  showing_ = false;
}

// ---- Helpers -----------------------------------------------------------------

bool TfrmEngineering::Send(const std::function<bool()>& command) {
  if (busy_) return false;
  busy_ = true;
  // The opener has just checked the port; what the showing sends itself
  // must not ask again and stack a second failure box.
  const bool ready = showing_ ? context_.shared.port.IsOpen() : context_.portCheck();
  const bool ok = ready && command();
  busy_ = false;
  return ok;
}

bool TfrmEngineering::Logged(const char* line, const std::function<bool()>& command, bool clear) {
  if (clear) ClearLog();
  Log(line);
  const bool ok = Send(command);
  Log(ok ? "OK" : "failed");
  return ok;
}

void TfrmEngineering::Log(const QString& line) { memoEng_->appendPlainText(line); }
void TfrmEngineering::ClearLog() { memoEng_->clear(); }

std::optional<int> TfrmEngineering::IntOfText(const std::string& text) {
  const std::optional<int> value = StrictInt(text);
  if (!value)
    QMessageBox::critical(this, QString::fromStdString(ApplicationTitle(context_.build)),
                          QString::fromStdString(NotIntegerMessage(text)));
  return value;
}

std::optional<int> TfrmEngineering::IntOf(QLineEdit* edit) {
  return IntOfText(edit->text().toStdString());
}

std::optional<int> TfrmEngineering::HexOf(QLineEdit* edit) {
  return IntOfText(HexFieldText(edit->text().toStdString()));
}

void TfrmEngineering::Refuse(const QString& text, const QString& caption) {
  QMessageBox::warning(this, caption, text);
}

uint32_t TfrmEngineering::SelectedBaudRate() const {
  return cbBaudRate_->currentText().toUInt();
}

int TfrmEngineering::ContrastAddress() const {
  return LcdContrastAddress(context_.shared.info);
}

// ---- Transmitter, squelch and modes ---------------------------------------------

void TfrmEngineering::btnPTTClick(bool on) {
  transmitting_ = on;
  ShowTxRx(lblTxRx_, transmitting_);
  if (Send([&] { return context_.shared.radio.SetPtt(on); })) return;
  // Neither the label nor the button may claim a state the radio never took.
  transmitting_ = !on;
  SetQuietly(btnPTT_, transmitting_);
  ShowTxRx(lblTxRx_, transmitting_);
  Log("PTT failed");
}

void TfrmEngineering::btnSquelchClick(bool open) {
  if (Send([&] { return context_.shared.radio.SetSquelchOpen(open); })) {
    squelchForced_ = open;
    return;
  }
  SetQuietly(btnSquelch_, squelchForced_);
  Log("SQL failed");
}

void TfrmEngineering::chkTestModeClick() {
  const bool test = chkTestMode_->isChecked();
  Logged(test ? "Set test mode..." : "Set normal mode...",
         [&] { return context_.shared.radio.SetTestMode(test ? 1 : 0); });
}

void TfrmEngineering::btnResetClick() {
  Log("Reset req..");
  if (Send([&] { return context_.shared.radio.ResetRadio(); }))
    Log("OK");
  else
    QMessageBox::warning(this, "Comms Error", "Radio Response Timeout.");
}

void TfrmEngineering::btnSetChannelClick() {
  Send([&] { return context_.shared.radio.SetChannel(kSetChannelNumber); });
}

void TfrmEngineering::btnCTCSSClick() {
  const int tone = udCTCSS_->value();
  Send([&] { return context_.shared.radio.SetCtcssTone(tone); });
}

void TfrmEngineering::btnSelcallClick() {
  const int tone = udSelcall_->value();
  Send([&] { return context_.shared.radio.SetTxTone(tone); });
}

void TfrmEngineering::btnBeepPress(bool down) {
  const int hz = down ? kBeepHz : 0;
  Send([&] { return context_.shared.radio.SetBeepTone(hz); });
}

void TfrmEngineering::btnAutoAlignClick() {
  ClearLog();
  Log("Auto Align...");
  const int flags = AutoAlignFlags({chkAlign_[0]->isChecked(), chkAlign_[1]->isChecked(),
                                    chkAlign_[2]->isChecked(), chkAlign_[3]->isChecked()});
  const std::optional<int> start = IntOf(editAlignStart_);
  if (!start) return;
  const std::optional<int> stop = IntOf(editAlignStop_);
  if (!stop) return;
  const std::optional<int> step = IntOf(editAlignStep_);
  if (!step) return;
  const bool ok = Send(
      [&] { return context_.shared.radio.StartAutoAlign(flags, *start, *stop, *step); });
  Log(ok ? "OK" : "failed");
}

void TfrmEngineering::btnSetWidebandClick() {
  Logged("Setting to Wideband...", [&] { return context_.shared.radio.SetWideband(); });
}

// ---- Volume, contrast and link speed -------------------------------------------

void TfrmEngineering::tbVolumeChange() {
  ClearLog();
  Log("Set volume...");
  const int level = kVolumeTop - tbVolume_->value();
  edtVolume_->setText(QString::number(level));
  Log(Send([&] { return context_.shared.radio.SetVolume(level); }) ? "OK" : "failed");
}

void TfrmEngineering::btnRefreshVolumeClick() {
  const int level = kVolumeTop - tbVolume_->value();
  Logged("Refresh volume...", [&] { return context_.shared.radio.SetVolume(level); });
}

void TfrmEngineering::udLCDContrastStep(bool up) {
  contrastPosition_ = std::clamp(contrastPosition_ + (up ? 1 : -1), 0, 8);
  edtLCDContrast_->setText(QString::number(contrastPosition_));
}

void TfrmEngineering::btnSetContrastClick() {
  const int address = ContrastAddress();
  const int value = contrastPosition_;
  const bool ok =
      address >= 0 && Send([&] { return context_.shared.radio.WriteMemoryByte(address, value); });
  // The image follows the radio once the radio took the byte.
  if (ok) context_.shared.image.SetByte(address, value);
  Log(ok ? "Wrote contrast - now reset radio" : "Failed to write contrast");
}

void TfrmEngineering::btnSetRadioBaudRateClick() {
  ClearLog();
  const uint32_t rate = SelectedBaudRate();
  const bool ok = Send([&] { return context_.shared.radio.SetRadioBaudRate(rate); });
  Log(ok ? "Set radio to new baud-rate" : "Unable to set radio to new baud-rate");
}

void TfrmEngineering::btnSetPCBaudRateClick() {
  ClearLog();
  const bool ok = !busy_ && context_.shared.port.SetBaudRate(SelectedBaudRate());
  Log(ok ? "Set PC to baud-rate" : "Unable to change PC baud-rate");
}

// ---- A/D polling and closing ---------------------------------------------------

void TfrmEngineering::chkADPollingClick() {
  if (chkADPolling_->isChecked())
    ADPollTimer_->start(kAdPollMs);
  else
    ADPollTimer_->stop();
}

void TfrmEngineering::ADPollTimerTimer() {
  if (busy_) return;  // a tick during another command's message box
  if (context_.LinkBusy()) return;
  // A port that cannot be opened stops the polling instead of asking
  // again every tick.
  if (!context_.shared.port.IsOpen() && !context_.portCheck()) {
    chkADPolling_->setChecked(false);
    editNoisevolts_->setText("-");
    editRSSI_->setText("-");
    return;
  }
  int noise = -1, rssi = -1;
  const bool ok = Send([&] {
    noise = context_.shared.radio.ReadAdcChannel(kNoiseVoltsChannel);
    if (noise < 0) return false;
    rssi = context_.shared.radio.ReadAdcChannel(kRssiChannel);
    return rssi >= 0;
  });
  editNoisevolts_->setText(ok ? QString::number(noise) : "-");
  editRSSI_->setText(ok ? QString::number(rssi) : "-");
}

void TfrmEngineering::btnCloseClick() {
  ADPollTimer_->stop();
  reject();
}
