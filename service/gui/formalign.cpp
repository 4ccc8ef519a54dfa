#include "formalign.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>

#include "aligncalibration.h"
#include "alignreadings.h"
#include "aligntrim.h"
#include "aligntrims.h"
#include "controls.h"
#include "windowcontext.h"
#include "helpmemo.h"
#include "numberfield.h"
#include "radioinfo.h"
#include "updown.h"

TformAlign::TformAlign(WindowContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      bench_(context.shared.radio, context.shared.image, context.shared.info, context.build) {
  setObjectName("formAlign");
  setWindowTitle("Alignment");
  const auto addLine = [this](const QString& line) { AddLine(line); };
  trims_ = new AlignTrims(this, bench_, RadioForParts());
  readings_ = new AlignReadings(this, bench_, RadioForParts(), addLine);
  calibration_ = new AlignCalibration(this, bench_, RadioForParts(), *readings_, *trims_,
                                      [this](const QString& text) { Warn(text); });
  BuildControls();
  bench_.SetLog({[this] { MemoAlignHelp->clear(); }, [this](const std::string& line) {
                   AddLine(QString::fromStdString(line));
                 }});
  RegisterHelp();
  WireDeviation();

  connect(BitBtnUp, &QPushButton::pressed, this, [this] { StepButtonPressed(1); });
  connect(BitBtnDown, &QPushButton::pressed, this, [this] { StepButtonPressed(0); });
  connect(BitBtnUp, &QPushButton::released, KeyTimer, &QTimer::stop);
  connect(BitBtnDown, &QPushButton::released, KeyTimer, &QTimer::stop);
  connect(KeyTimer, &QTimer::timeout, this, &TformAlign::KeyTimerTimer);
  connect(alignmentFreqs_, &QButtonGroup::idToggled, this,
          [this](int id, bool on) { if (on) rgAlignmentFreqClick(id); });
  connect(btnPTT, &QPushButton::toggled, this, &TformAlign::btnPTTClick);
  connect(btnSquelch, &QPushButton::clicked, this, &TformAlign::btnSquelchClick);
  connect(PageControl1, &QTabWidget::currentChanged, this, &TformAlign::PageControl1Change);


  connect(testTones_, &QButtonGroup::idToggled, this,
          [this](int id, bool on) { if (on) rgTestToneClick(id); });
  connect(powerOutputs_, &QButtonGroup::idToggled, this,
          [this](int id, bool on) { if (on) grpSelectPowerOutputClick(id); });
  connect(chkTrackMod, &QCheckBox::toggled, this, &TformAlign::chkTrackModClick);
  connect(btnReset, &QPushButton::clicked, this, &TformAlign::btnResetClick);
  connect(btnClose, &QPushButton::clicked, this, &TformAlign::btnCloseClick);
  // Enter in a reading or a field never presses Close and its commands.
  NoDefaultButtons(this);
}

void TformAlign::showEvent(QShowEvent* event) {
  // A window-system show (restoring from minimised) is not a new showing.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TformAlign::FormShow() {
  KeyTimer->stop();
  readings_->Reset();
  calibration_->SetOffline(offline_);
  SetChannelColour(true);
  btnPTT->setEnabled(true);
  udBattOffset->setValue(0);
  lblDebugChannelNumber->hide();

  lblOffline->setVisible(offline_);
  Radio([this] { bench_.Open(offline_); });
  ShowTxRx();
  if (!offline_) lblDebugChannelNumber->setText(QString::number(bench_.RawChannel()));

  ShowFeatures();
  ShowChannel();

  SetQuietly(chkTrackMod, true);
  editBal_dB->setEnabled(false);
  udBal_dB->setEnabled(false);
  trims_->Load(context_.shared.image, context_.shared.info);
  bench_.LoadModBal();
  ShowModBal();

  ClearAlignmentFrequency();
  for (int f = 0; f < 3; ++f) {
    const QString text = QString("%1 MHz").arg(kAlignmentMHz[f]);
    lblFreq[f]->setText(text);
    alignmentFreqs_->button(f)->setText(text);
  }
  const bool transmitPage = PageControl1->currentWidget() == TabSheetTransmit;
  rgAlignmentFreq->setEnabled(!transmitPage);
  if (!transmitPage) ShowChannel();

  SetQuietly(powerOutputs_->button(0), true);  // shown only with HasLowPowerAlign
  SetQuietly(testTones_->button(2), true);
  chkBattPolling->setChecked(false);
  MemoAlignHelp->clear();
}

void TformAlign::ShowFeatures() {
  const uint32_t product = context_.build.productId;
  const bool engineering = context_.build.engineering;
  for (QWidget* w : tempCoControls_)
    w->setVisible(engineering && TradioInfo::HasTempCompAlign(product));
  gbMicGains->setVisible(engineering);
  const bool intExt = TradioInfo::HasIntExtMic(product);
  lblMicGain1->setText(intExt ? "Int" : "F");
  lblMicGain2->setText(intExt ? "Ext" : "R");
  rgPTTMic->setVisible(engineering && TradioInfo::HasMicSelect(product));

  const bool receiver = TradioInfo::HasReceiverAlign(product);
  const bool notch = TradioInfo::HasNotchAlign(product);
  rgAlignmentFreq->setVisible(receiver);
  PageControl1->setTabVisible(PageControl1->indexOf(TabSheetReceiver), receiver);
  lblNotch->setVisible(notch);
  for (int f = 1; f <= 3; ++f)
    trims_->Trim("udTuneFreq" + std::to_string(f) + "T4")->setVisible(notch);

  const bool lowPower = TradioInfo::HasLowPowerAlign(product);
  grpSelectPowerOutput->setVisible(lowPower);
  lblLowPower->setVisible(lowPower);
  trims_->Trim("udRfPowerLo")->setVisible(lowPower);

  PageControl1->setTabVisible(PageControl1->indexOf(TabSheetSquelch),
                              !TradioInfo::HasFixedSquelch(product));
  PageControl1->setTabVisible(PageControl1->indexOf(TabSheetBattery), false);
}

bool TformAlign::LinkBusy() const { return context_.LinkBusy(); }

AlignRadio TformAlign::RadioForParts() {
  return [this](const std::function<void()>& work) { return Radio(work); };
}

void TformAlign::StopTimers() {
  KeyTimer->stop();
  readings_->StopTimers();
}

void TformAlign::btnCloseClick() {
  // No poll may slip in between the closing commands.
  StopTimers();
  Radio([this] { bench_.PowerHighBeforeClose(); });
  reject();
}

void TformAlign::reject() {
  FormClose();
  QDialog::reject();
}

void TformAlign::FormClose() {
  StopTimers();
  MemoAlignHelp->clear();
  readings_->Stop();
  Radio([this] {
    // Back in receive, high power, test tone off.
    bench_.SetPtt(kPttOff);
    ShowTxRx();
    if (powerOutputs_->checkedId() != 0) {
      SetQuietly(powerOutputs_->button(0), true);
      bench_.SelectPower(false);
    }
    bench_.SetTestTone(kToneOff);
  });
  SetQuietly(testTones_->button(2), true);
}

bool TformAlign::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editChannel) {
    const bool click = event->type() == QEvent::MouseButtonPress;
    bool key = false;
    if (event->type() == QEvent::KeyPress) {
      const int k = static_cast<QKeyEvent*>(event)->key();
      key = k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter;
    }
    if (click || key) {
      editChannelClick();
      return key;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TformAlign::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btnCloseClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TformAlign::Warn(const QString& text) {
  QMessageBox box(QMessageBox::Warning, "Error", text, QMessageBox::Ok, this);
  box.exec();
}

void TformAlign::AddLine(const QString& line) {
  MemoAlignHelp->appendPlainText(line);
  MemoAlignHelp->repaint();  // the action line shows while the radio answers
}
