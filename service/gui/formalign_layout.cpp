// The alignment window's controls and their layout.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "alignbindings.h"
#include "aligncalibration.h"
#include "alignreadings.h"
#include "aligntrim.h"
#include "aligntrims.h"
#include "controls.h"
#include "formalign.h"
#include "inputrule.h"
#include "numberfield.h"
#include "updown.h"

void TformAlign::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildChannelPanel());
  left->addWidget(readings_->BuildAdPanel(this));
  left->addStretch();
  top->addLayout(left);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setAccessibleName("Alignment pages");
  TabSheetFrequency = BuildFrequencyPage();
  TabSheetTransmit = BuildTransmitPage();
  TabSheetReceiver = BuildReceiverPage();
  TabSheetSquelch = BuildSquelchPage();
  TabSheetSMeter = BuildSMeterPage();
  TabSheetBattery = BuildBatteryPage();
  PageControl1->addTab(TabSheetFrequency, "&Frequency");
  PageControl1->addTab(TabSheetTransmit, "&Transmitter");
  PageControl1->addTab(TabSheetReceiver, "&Receiver");
  PageControl1->addTab(TabSheetSquelch, "Squel&ch");
  PageControl1->addTab(TabSheetSMeter, "S-&Meter");
  PageControl1->addTab(TabSheetBattery, "&Battery");
  top->addWidget(PageControl1, 1);
  layout->addLayout(top);

  auto* bottom = new QHBoxLayout;
  MemoAlignHelp = new QPlainTextEdit(this);
  MemoAlignHelp->setObjectName("MemoAlignHelp");
  MemoAlignHelp->setReadOnly(true);
  MemoAlignHelp->setAccessibleName("Help and results");
  MemoAlignHelp->setFixedHeight(112);
  bottom->addWidget(MemoAlignHelp, 1);
  btnClose = MakeButton(this, "btnClose", "Close");
  bottom->addWidget(btnClose, 0, Qt::AlignBottom);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  KeyTimer = new QTimer(this);
  KeyTimer->setObjectName("KeyTimer");
  KeyTimer->setInterval(500);
}

QWidget* TformAlign::BuildChannelPanel() {
  auto* panel = MakeGroup(this, "Panel2", {});
  auto* v = new QVBoxLayout(panel);

  auto* row = new QHBoxLayout;
  lblBank = MakeLabel(panel, "lblBank", "CB");
  lblBank->setAccessibleName("Channel bank");
  editChannel = MakeReadOnlyBox(panel, "editChannel", "Channel (click to return to the channel)", 40);
  editChannel->setAlignment(Qt::AlignCenter);
  editChannel->installEventFilter(this);
  BitBtnUp = MakeButton(panel, "BitBtnUp", QString::fromUtf8("\u25B2"));
  BitBtnUp->setProperty("Tag", 1);
  BitBtnUp->setAccessibleName("Channel up");
  BitBtnUp->setFixedWidth(28);
  BitBtnDown = MakeButton(panel, "BitBtnDown", QString::fromUtf8("\u25BC"));
  BitBtnDown->setProperty("Tag", 0);
  BitBtnDown->setAccessibleName("Channel down");
  BitBtnDown->setFixedWidth(28);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  arrows->addWidget(BitBtnUp);
  arrows->addWidget(BitBtnDown);
  row->addWidget(lblBank);
  row->addWidget(editChannel);
  row->addLayout(arrows);
  row->addStretch();
  v->addLayout(row);

  auto* freqRow = new QHBoxLayout;
  lblRxFreq = MakeLabel(panel, "lblRxFreq", "000.0000");
  lblRxFreq->setAccessibleName("Channel frequency");
  freqRow->addWidget(lblRxFreq);
  freqRow->addWidget(MakeLabel(panel, "lblMHz", "MHz"));
  freqRow->addStretch();
  v->addLayout(freqRow);
  lblChannelAlpha = MakeLabel(panel, "lblChannelAlpha", "");
  lblChannelAlpha->setAccessibleName("Channel name");
  v->addWidget(lblChannelAlpha);
  lblSQL = MakeLabel(panel, "lblSQL", "BUSY");
  v->addWidget(lblSQL);

  auto* txRow = new QHBoxLayout;
  btnPTT = MakeButton(panel, "btnPTT", "&PTT");
  btnPTT->setCheckable(true);  // a screen reader hears whether it is keyed
  panelTxRx = MakeLabel(panel, "panelTxRx", "RECEIVE");
  panelTxRx->setAlignment(Qt::AlignCenter);
  panelTxRx->setMinimumWidth(80);
  panelTxRx->setAccessibleName("Transmit or receive");
  txRow->addWidget(btnPTT);
  txRow->addWidget(panelTxRx);
  v->addLayout(txRow);
  btnSquelch = MakeButton(panel, "btnSquelch", "S&QL");
  btnSquelch->setAccessibleName("Squelch open or closed");
  v->addWidget(btnSquelch);

  rgAlignmentFreq = MakeRadioGroup(panel, "rgAlignmentFreq", "Alignment Frequency",
                               {"450 MHz", "477 MHz", "504 MHz"}, alignmentFreqs_);
  v->addWidget(rgAlignmentFreq);
  rgPTTMic = MakeRadioGroup(panel, "rgPTTMic", "Mic", {"Int", "Ext"}, pttMics_, Qt::Horizontal);
  pttMics_->button(0)->setChecked(true);
  v->addWidget(rgPTTMic);

  lblOffline = MakeLabel(panel, "lblOffline", "OFFLINE MODE");
  lblOffline->setStyleSheet("color: red; font-weight: bold");
  // Its room stays when hidden: the window has one size, offline or not.
  QSizePolicy keepRoom = lblOffline->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  lblOffline->setSizePolicy(keepRoom);
  v->addWidget(lblOffline);
  lblDebugChannelNumber = MakeLabel(panel, "lblDebugChannelNumber", "");
  lblDebugChannelNumber->hide();
  v->addWidget(lblDebugChannelNumber);
  return panel;
}

QWidget* TformAlign::BuildFrequencyPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetFrequency");
  auto* grid = new QGridLayout(page);
  AlignTrim* pll = trims_->Add(page, "udPLL_Freq", "Transmit Frequency Adjust");
  lblTxFreqAdjust = MakeLabel(page, "lblTxFreqAdjust", "Transmit Frequency Adjust:", pll->Edit());
  grid->addWidget(lblTxFreqAdjust, 0, 0);
  grid->addWidget(pll, 0, 1);

  AlignTrim* linear = trims_->Add(page, "udTempCo", "Temperature Compensation: Linear Term");
  AlignTrim* cubic = trims_->Add(page, "udTempCoB", "Temperature Compensation: Cubic Term");
  QLabel* txtTempCo = MakeLabel(page, "txtTempCo", "Temperature Compensation:");
  QLabel* lblTempCo = MakeLabel(page, "lblTempCo", "Linear Term:", linear->Edit());
  QLabel* lblTempCoB = MakeLabel(page, "lblTempCoB", "Cubic Term:", cubic->Edit());
  grid->addWidget(txtTempCo, 1, 0, 1, 2);
  grid->addWidget(lblTempCo, 2, 0);
  grid->addWidget(linear, 2, 1);
  grid->addWidget(lblTempCoB, 3, 0);
  grid->addWidget(cubic, 3, 1);
  tempCoControls_ = {txtTempCo, lblTempCo, lblTempCoB, linear, cubic};

  AlignTrim* rx = trims_->Add(page, "udRxOffset", "Receive Frequency Offset");
  lblRxFreqOffset = MakeLabel(page, "lblRxFreqOffset", "Receive Frequency Offset:", rx->Edit());
  grid->addWidget(lblRxFreqOffset, 4, 0);
  grid->addWidget(rx, 4, 1);

  grid->addLayout(readings_->BuildFrequencyErrorRow(page), 5, 0, 1, 2);
  grid->addWidget(readings_->FrequencyErrorPolling(), 6, 0);
  grid->addWidget(calibration_->MakeAfcSwitch(page), 7, 0);
  grid->addWidget(calibration_->MakeAutoAdjust(page), 8, 0);
  grid->setRowStretch(9, 1);
  return page;
}

QWidget* TformAlign::BuildTransmitPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetTransmit");
  auto* grid = new QGridLayout(page);
  rgTestTone = MakeRadioGroup(page, "rgTestTone", "Test Tone", {"1 kHz", "50 Hz", "OFF"}, testTones_);
  grid->addWidget(rgTestTone, 0, 0, 4, 1);

  QLabel* lblDeviation = MakeLabel(page, "lblDeviation", "Deviation:");
  grid->addWidget(lblDeviation, 0, 1, 1, 3);
  auto decibelBox = [page](const char* name, const QString& accessibleName) {
    auto* box = new QLineEdit(page);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setFixedWidth(44);
    box->setAlignment(Qt::AlignRight);
    InputRule::Install(box, SignedDecimalKey);
    return box;
  };
  // The decibel boxes keep the plain up-down, not a number field: they
  // show a step as decibels, and the up arrow lowers the stored step.
  editMod_dB = decibelBox("editMod_dB", "Modulation (dB)");
  udMod_dB = new UpDown(page);
  udMod_dB->setObjectName("udMod_dB");
  udMod_dB->setAccessibleName("Modulation (dB)");
  editBal_dB = decibelBox("editBal_dB", "Balance (dB)");
  udBal_dB = new UpDown(page);
  udBal_dB->setObjectName("udBal_dB");
  udBal_dB->setAccessibleName("Balance (dB)");
  QLabel* lblModulation = MakeLabel(page, "lblModulation", "M&odulation", editMod_dB);
  QLabel* lblBalance = MakeLabel(page, "lblBalance", "Bala&nce", editBal_dB);
  QLabel* lblModdB = MakeLabel(page, "lblModdB", "dB");
  QLabel* lblBaldB = MakeLabel(page, "lblBaldB", "dB");
  auto decibelRow = [](QLineEdit* edit, UpDown* ud, QLabel* unit) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit);
    row->addWidget(ud);
    row->addSpacing(4);
    row->addWidget(unit);
    row->addStretch();
    return row;
  };
  grid->addWidget(lblModulation, 1, 1);
  grid->addLayout(decibelRow(editMod_dB, udMod_dB, lblModdB), 1, 2);
  grid->addWidget(lblBalance, 2, 1);
  grid->addLayout(decibelRow(editBal_dB, udBal_dB, lblBaldB), 2, 2);
  chkTrackMod = MakeCheck(page, "chkTrackMod", "BAL trac&ks MOD");
  grid->addWidget(chkTrackMod, 3, 1, 1, 2);
  deviationControls_ = {lblDeviation, lblModulation, lblBalance, editMod_dB, editBal_dB,
                        udMod_dB,     udBal_dB,      lblModdB,   lblBaldB,   rgTestTone};

  QLabel* lblRFPower = MakeLabel(page, "lblRFPower", "RF Power:");
  AlignTrim* hi = trims_->Add(page, "udRfPowerHi", "RF Power High Power (5W)");
  AlignTrim* lo = trims_->Add(page, "udRfPowerLo", "RF Power Low Power (1W)");
  QLabel* lblHighPower = MakeLabel(page, "lblHighPower", "&High Power (5W)", hi->Edit());
  lblLowPower = MakeLabel(page, "lblLowPower", "&Low Power (1W)", lo->Edit());
  grid->addWidget(lblRFPower, 4, 1, 1, 2);
  grid->addWidget(lblHighPower, 5, 1);
  grid->addWidget(hi, 5, 2);
  grid->addWidget(lblLowPower, 6, 1);
  grid->addWidget(lo, 6, 2);
  rfPowerControls_ = {lblRFPower, lblHighPower, hi, hi->Edit(), lblLowPower, lo, lo->Edit()};
  grpSelectPowerOutput = MakeRadioGroup(page, "grpSelectPowerOutput", "Select Output",
                                    {"High (5W)", "Low (1W)"}, powerOutputs_);
  powerOutputs_->button(0)->setChecked(true);
  grid->addWidget(grpSelectPowerOutput, 4, 0, 3, 1);

  gbMicGains = MakeGroup(page, "gbMicGains", "Mic Gains");
  auto* mic = new QGridLayout(gbMicGains);
  AlignTrim* front = trims_->AddMicGain(gbMicGains, false, "Mic Gain front");
  AlignTrim* rear = trims_->AddMicGain(gbMicGains, true, "Mic Gain rear");
  lblMicGain1 = MakeLabel(gbMicGains, "lblMicGain1", "F", front->Edit());
  lblMicGain2 = MakeLabel(gbMicGains, "lblMicGain2", "R", rear->Edit());
  mic->addWidget(lblMicGain1, 0, 0);
  mic->addWidget(front, 0, 1);
  mic->addWidget(lblMicGain2, 1, 0);
  mic->addWidget(rear, 1, 1);
  btnReset = MakeButton(gbMicGains, "btnReset", "reset radio");
  mic->addWidget(btnReset, 2, 0, 1, 2);
  grid->addWidget(gbMicGains, 7, 0, 1, 3);
  grid->setRowStretch(8, 1);
  return page;
}

QWidget* TformAlign::BuildReceiverPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetReceiver");
  auto* grid = new QGridLayout(page);
  grid->addWidget(MakeLabel(page, "lblTuneReceiver", "Tune Receiver:"), 0, 0, 1, 4);
  for (int f = 0; f < 3; ++f) {
    lblFreq[f] = MakeLabel(page, QString("lblFreq%1").arg(f + 1).toLatin1().constData(), "");
    grid->addWidget(lblFreq[f], 1, f + 1);
  }
  for (int t = 0; t < 4; ++t) {
    QLabel* rowLabel = t < 3 ? MakeLabel(page, QString("lblT%1").arg(t + 1).toLatin1().constData(),
                                     QString("T%1").arg(t + 1))
                             : (lblNotch = MakeLabel(page, "lblNotch", "Notch"));
    grid->addWidget(rowLabel, t + 2, 0);
    for (int f = 0; f < 3; ++f) {
      const std::string name = "udTuneFreq" + std::to_string(f + 1) + "T" + std::to_string(t + 1);
      const QString accessible =
          QString("%1 at %2 MHz").arg(t < 3 ? QString("T%1").arg(t + 1) : "Notch")
              .arg(kAlignmentMHz[f]);
      grid->addWidget((trims_->Add(page, name.c_str(), accessible)), t + 2, f + 1);
    }
  }
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(4, 1);
  return page;
}

QWidget* TformAlign::BuildSquelchPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetSquelch");
  auto* grid = new QGridLayout(page);
  AlignTrim* sens = trims_->Add(page, "udSqlSens", "Squelch Sensitivity");
  grid->addWidget(MakeLabel(page, "lblSqlSens", "Squelch &Sensitivity", sens->Edit()), 0, 0);
  grid->addWidget(sens, 0, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(2, 1);
  return page;
}

QWidget* TformAlign::BuildSMeterPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetSMeter");
  auto* grid = new QGridLayout(page);
  grid->addWidget(MakeLabel(page, "lblSMeterCal", "S-Meter Calibration:"), 0, 0, 1, 3);
  grid->addWidget(MakeLabel(page, "lblAutoSet", "Auto Set"), 1, 1);
  grid->addWidget(MakeLabel(page, "lblManualAdjust", "Manual Adjust"), 1, 2);
  AlignTrim* s1 = trims_->Add(page, "udS1", "S1 calibration");
  AlignTrim* s10 = trims_->Add(page, "udS10", "S9+ calibration");
  QPushButton* btnSetS1 = calibration_->MakeSMeterButton(page, 1);
  QPushButton* btnSetS10 = calibration_->MakeSMeterButton(page, 2);
  grid->addWidget(MakeLabel(page, "lblStep1", "Step 1"), 2, 0);
  grid->addWidget(MakeLabel(page, "lblStep1Level", "Set RF signal generator S1 level:"), 3, 0);
  grid->addWidget(MakeLabel(page, "lblStep1Nominal", "(nominally -122dBm)"), 4, 0);
  grid->addWidget(btnSetS1, 3, 1);
  grid->addWidget(s1, 3, 2);
  grid->addWidget(MakeLabel(page, "lblStep2", "Step 2"), 5, 0);
  grid->addWidget(MakeLabel(page, "lblStep2Level", "Set RF signal generator S9+ level:"), 6, 0);
  grid->addWidget(MakeLabel(page, "lblStep2Nominal", "(nominally -74dBm)"), 7, 0);
  grid->addWidget(btnSetS10, 6, 1);
  grid->addWidget(s10, 6, 2);
  grid->setRowStretch(8, 1);
  return page;
}

QWidget* TformAlign::BuildBatteryPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetBattery");
  auto* v = new QVBoxLayout(page);
  chkBattPolling = MakeCheck(page, "chkBattPolling", "Enable Battery Polling");
  udBattOffset =
      MakeNumberField(page, {"udBattOffset", "editBattOffset", -128, 127, true}, "Battery offset");
  v->addWidget(chkBattPolling);
  v->addWidget(udBattOffset);
  v->addStretch();
  return page;
}
