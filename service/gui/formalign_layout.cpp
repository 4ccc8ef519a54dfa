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
#include "aligntrim.h"
#include "formalign.h"
#include "inputrule.h"
#include "numberfield.h"
#include "updown.h"

namespace {

QLabel* Label(QWidget* parent, const char* name, const QString& text, QWidget* buddy = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (buddy) label->setBuddy(buddy);
  return label;
}

QLineEdit* ReadOnlyBox(QWidget* parent, const char* name, const QString& accessibleName,
                       int width) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setAccessibleName(accessibleName);
  box->setFixedWidth(width);
  return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

// A radio group: the group box carries the name, its buttons are numbered
// in order from 0.
QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& caption,
                      const QStringList& items, QButtonGroup*& group, bool vertical = true) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(name);
  QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box))
                                : static_cast<QBoxLayout*>(new QHBoxLayout(box));
  group = new QButtonGroup(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], box);
    button->setObjectName(QString("%1_%2").arg(name).arg(i));
    group->addButton(button, i);
    layout->addWidget(button);
  }
  return box;
}

QTimer* Timer(QObject* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setInterval(interval);
  return timer;
}

}  // namespace

AlignTrim* TformAlign::Trim(QWidget* parent, const char* upDown, const QString& accessibleName) {
  const AlignBinding* b = AlignBindingOf(upDown);
  auto* trim = new AlignTrim(parent, b->upDown, b->edit, b->low, b->high, accessibleName,
                             b->enterWrites);
  trims_[upDown] = trim;
  return trim;
}

void TformAlign::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildChannelPanel());
  left->addWidget(BuildAdPanel());
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
  PageControl1->addTab(TabSheetSquelch, "S&quelch");
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
  btnClose = new QPushButton("Close", this);
  btnClose->setObjectName("btnClose");
  bottom->addWidget(btnClose, 0, Qt::AlignBottom);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  TimerRSSI = Timer(this, "TimerRSSI", 400);
  KeyTimer = Timer(this, "KeyTimer", 500);
  TimerFreqError = Timer(this, "TimerFreqError", 500);
  // Battery polling's timer: the battery page is never shown, so nothing
  // starts it; it is stopped with the others all the same.
  ADCTimer = Timer(this, "ADCTimer", 500);
}

QWidget* TformAlign::BuildChannelPanel() {
  auto* panel = new QGroupBox(this);
  panel->setObjectName("Panel2");
  auto* v = new QVBoxLayout(panel);

  auto* row = new QHBoxLayout;
  lblBank = Label(panel, "lblBank", "CB");
  lblBank->setAccessibleName("Channel bank");
  editChannel = ReadOnlyBox(panel, "editChannel", "Channel (click to return to the channel)", 40);
  editChannel->setAlignment(Qt::AlignCenter);
  editChannel->installEventFilter(this);
  BitBtnUp = Button(panel, "BitBtnUp", QString::fromUtf8("\u25B2"));
  BitBtnUp->setProperty("Tag", 1);
  BitBtnUp->setAccessibleName("Channel up");
  BitBtnUp->setFixedWidth(28);
  BitBtnDown = Button(panel, "BitBtnDown", QString::fromUtf8("\u25BC"));
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
  lblRxFreq = Label(panel, "lblRxFreq", "000.0000");
  lblRxFreq->setAccessibleName("Channel frequency");
  freqRow->addWidget(lblRxFreq);
  freqRow->addWidget(Label(panel, "lblMHz", "MHz"));
  freqRow->addStretch();
  v->addLayout(freqRow);
  lblChannelAlpha = Label(panel, "lblChannelAlpha", "");
  lblChannelAlpha->setAccessibleName("Channel name");
  v->addWidget(lblChannelAlpha);
  lblSQL = Label(panel, "lblSQL", "BUSY");
  v->addWidget(lblSQL);

  auto* txRow = new QHBoxLayout;
  btnPTT = Button(panel, "btnPTT", "&PTT");
  panelTxRx = Label(panel, "panelTxRx", "RECEIVE");
  panelTxRx->setAlignment(Qt::AlignCenter);
  panelTxRx->setMinimumWidth(80);
  panelTxRx->setAccessibleName("Transmit or receive");
  txRow->addWidget(btnPTT);
  txRow->addWidget(panelTxRx);
  v->addLayout(txRow);
  btnSquelch = Button(panel, "btnSquelch", "S&QL");
  btnSquelch->setAccessibleName("Squelch open or closed");
  v->addWidget(btnSquelch);

  rgAlignmentFreq = RadioGroup(panel, "rgAlignmentFreq", "Alignment Frequency",
                               {"450 MHz", "477 MHz", "504 MHz"}, alignmentFreqs_);
  v->addWidget(rgAlignmentFreq);
  rgPTTMic = RadioGroup(panel, "rgPTTMic", "Mic", {"Int", "Ext"}, pttMics_, false);
  pttMics_->button(0)->setChecked(true);
  v->addWidget(rgPTTMic);

  lblOffline = Label(panel, "lblOffline", "OFFLINE MODE");
  lblOffline->setStyleSheet("color: red; font-weight: bold");
  // Its room stays when hidden: the window has one size, offline or not.
  QSizePolicy keepRoom = lblOffline->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  lblOffline->setSizePolicy(keepRoom);
  v->addWidget(lblOffline);
  lblDebugChannelNumber = Label(panel, "lblDebugChannelNumber", "");
  lblDebugChannelNumber->hide();
  v->addWidget(lblDebugChannelNumber);
  return panel;
}

QWidget* TformAlign::BuildAdPanel() {
  auto* panel = new QGroupBox(this);
  panel->setObjectName("Panel3");
  auto* grid = new QGridLayout(panel);
  chk_rssipolling2 = Check(panel, "chk_rssipolling2", "&A/D polling");
  chk_rssipolling2->setToolTip("Enable polling of RSSI and noise volts");
  grid->addWidget(chk_rssipolling2, 0, 0, 1, 2);
  editNoisevolts = ReadOnlyBox(panel, "editNoisevolts", "Noise volts", 48);
  editRSSI = ReadOnlyBox(panel, "editRSSI", "RSSI", 48);
  grid->addWidget(Label(panel, "lblNoisevolts", "Noise volts", editNoisevolts), 1, 0);
  grid->addWidget(editNoisevolts, 1, 1);
  grid->addWidget(Label(panel, "lblRSSI", "RSSI", editRSSI), 2, 0);
  grid->addWidget(editRSSI, 2, 1);
  return panel;
}

namespace {
// A trim's edit and up-down side by side in a grid cell.
QHBoxLayout* Pair(AlignTrim* trim) {
  auto* pair = new QHBoxLayout;
  pair->setSpacing(0);
  pair->addWidget(trim->Edit());
  pair->addWidget(trim->Arrows());
  pair->addStretch();
  return pair;
}
}  // namespace

QWidget* TformAlign::BuildFrequencyPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetFrequency");
  auto* grid = new QGridLayout(page);
  AlignTrim* pll = Trim(page, "udPLL_Freq", "Transmit Frequency Adjust");
  lblTxFreqAdjust = Label(page, "lblTxFreqAdjust", "Transmit Frequency Adjust:", pll->Edit());
  grid->addWidget(lblTxFreqAdjust, 0, 0);
  grid->addLayout(Pair(pll), 0, 1);

  AlignTrim* linear = Trim(page, "udTempCo", "Temperature Compensation: Linear Term");
  AlignTrim* cubic = Trim(page, "udTempCoB", "Temperature Compensation: Cubic Term");
  QLabel* txtTempCo = Label(page, "txtTempCo", "Temperature Compensation:");
  QLabel* lblTempCo = Label(page, "lblTempCo", "Linear Term:", linear->Edit());
  QLabel* lblTempCoB = Label(page, "lblTempCoB", "Cubic Term:", cubic->Edit());
  grid->addWidget(txtTempCo, 1, 0, 1, 2);
  grid->addWidget(lblTempCo, 2, 0);
  grid->addLayout(Pair(linear), 2, 1);
  grid->addWidget(lblTempCoB, 3, 0);
  grid->addLayout(Pair(cubic), 3, 1);
  tempCoControls_ = {txtTempCo, lblTempCo, lblTempCoB, linear->Edit(), linear->Arrows(),
                     cubic->Edit(), cubic->Arrows()};

  AlignTrim* rx = Trim(page, "udRxOffset", "Receive Frequency Offset");
  lblRxFreqOffset = Label(page, "lblRxFreqOffset", "Receive Frequency Offset:", rx->Edit());
  grid->addWidget(lblRxFreqOffset, 4, 0);
  grid->addLayout(Pair(rx), 4, 1);

  auto* errorRow = new QHBoxLayout;
  editFreqError = ReadOnlyBox(page, "editFreqError", "Freq Error (Hz)", 56);
  errorRow->addWidget(Label(page, "lblFreqError", "Freq Error:", editFreqError));
  errorRow->addWidget(editFreqError);
  errorRow->addWidget(Label(page, "lblFreqErrorHz", "Hz"));
  errorRow->addStretch();
  grid->addLayout(errorRow, 5, 0, 1, 2);
  chkRxFreqError = Check(page, "chkRxFreqError", "Freq &Err Polling");
  chkAfcDisable = Check(page, "chkAfcDisable", "&Disable AFC");
  btnAutoRxOffset = Button(page, "btnAutoRxOffset", "A&uto Adjust");
  grid->addWidget(chkRxFreqError, 6, 0);
  grid->addWidget(chkAfcDisable, 7, 0);
  grid->addWidget(btnAutoRxOffset, 8, 0);
  grid->setRowStretch(9, 1);
  return page;
}

QWidget* TformAlign::BuildTransmitPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetTransmit");
  auto* grid = new QGridLayout(page);
  rgTestTone = RadioGroup(page, "rgTestTone", "Test Tone", {"1 kHz", "50 Hz", "OFF"}, testTones_);
  grid->addWidget(rgTestTone, 0, 0, 4, 1);

  QLabel* lblDeviation = Label(page, "lblDeviation", "Deviation:");
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
  editMod_dB = decibelBox("editMod_dB", "Modulation (dB)");
  udMod_dB = new UpDown(page);
  udMod_dB->setObjectName("udMod_dB");
  udMod_dB->setAccessibleName("Modulation (dB)");
  editBal_dB = decibelBox("editBal_dB", "Balance (dB)");
  udBal_dB = new UpDown(page);
  udBal_dB->setObjectName("udBal_dB");
  udBal_dB->setAccessibleName("Balance (dB)");
  QLabel* lblModulation = Label(page, "lblModulation", "M&odulation", editMod_dB);
  QLabel* lblBalance = Label(page, "lblBalance", "B&alance", editBal_dB);
  QLabel* lblModdB = Label(page, "lblModdB", "dB");
  QLabel* lblBaldB = Label(page, "lblBaldB", "dB");
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
  chkTrackMod = Check(page, "chkTrackMod", "BAL trac&ks MOD");
  grid->addWidget(chkTrackMod, 3, 1, 1, 2);
  deviationControls_ = {lblDeviation, lblModulation, lblBalance, editMod_dB, editBal_dB,
                        udMod_dB,     udBal_dB,      lblModdB,   lblBaldB,   rgTestTone};

  QLabel* lblRFPower = Label(page, "lblRFPower", "RF Power:");
  AlignTrim* hi = Trim(page, "udRfPowerHi", "RF Power High Power (5W)");
  AlignTrim* lo = Trim(page, "udRfPowerLo", "RF Power Low Power (1W)");
  QLabel* lblHighPower = Label(page, "lblHighPower", "&High Power (5W)", hi->Edit());
  lblLowPower = Label(page, "lblLowPower", "&Low Power (1W)", lo->Edit());
  grid->addWidget(lblRFPower, 4, 1, 1, 2);
  grid->addWidget(lblHighPower, 5, 1);
  grid->addLayout(Pair(hi), 5, 2);
  grid->addWidget(lblLowPower, 6, 1);
  grid->addLayout(Pair(lo), 6, 2);
  rfPowerControls_ = {lblRFPower, lblHighPower, hi->Edit(), hi->Arrows(),
                      lblLowPower, lo->Edit(), lo->Arrows()};
  grpSelectPowerOutput = RadioGroup(page, "grpSelectPowerOutput", "Select Output",
                                    {"High (5W)", "Low (1W)"}, powerOutputs_);
  powerOutputs_->button(0)->setChecked(true);
  grid->addWidget(grpSelectPowerOutput, 4, 0, 3, 1);

  gbMicGains = new QGroupBox("Mic Gains", page);
  gbMicGains->setObjectName("gbMicGains");
  auto* mic = new QGridLayout(gbMicGains);
  micGain1_ = new AlignTrim(gbMicGains, "udMicGain1", "editMicGain1", kMicGainLow, kMicGainHigh,
                            "Mic Gain front", true);
  micGain2_ = new AlignTrim(gbMicGains, "udMicGain2", "editMicGain2", kMicGainLow, kMicGainHigh,
                            "Mic Gain rear", true);
  lblMicGain1 = Label(gbMicGains, "lblMicGain1", "F", micGain1_->Edit());
  lblMicGain2 = Label(gbMicGains, "lblMicGain2", "R", micGain2_->Edit());
  mic->addWidget(lblMicGain1, 0, 0);
  mic->addLayout(Pair(micGain1_), 0, 1);
  mic->addWidget(lblMicGain2, 1, 0);
  mic->addLayout(Pair(micGain2_), 1, 1);
  btnReset = Button(gbMicGains, "btnReset", "reset radio");
  mic->addWidget(btnReset, 2, 0, 1, 2);
  grid->addWidget(gbMicGains, 7, 0, 1, 3);
  grid->setRowStretch(8, 1);
  return page;
}

QWidget* TformAlign::BuildReceiverPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetReceiver");
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "lblTuneReceiver", "Tune Receiver:"), 0, 0, 1, 4);
  for (int f = 0; f < 3; ++f) {
    lblFreq[f] = Label(page, QString("lblFreq%1").arg(f + 1).toLatin1().constData(), "");
    grid->addWidget(lblFreq[f], 1, f + 1);
  }
  for (int t = 0; t < 4; ++t) {
    QLabel* rowLabel = t < 3 ? Label(page, QString("lblT%1").arg(t + 1).toLatin1().constData(),
                                     QString("T%1").arg(t + 1))
                             : (lblNotch = Label(page, "lblNotch", "Notch"));
    grid->addWidget(rowLabel, t + 2, 0);
    for (int f = 0; f < 3; ++f) {
      const std::string name = "udTuneFreq" + std::to_string(f + 1) + "T" + std::to_string(t + 1);
      const QString accessible =
          QString("%1 at %2 MHz").arg(t < 3 ? QString("T%1").arg(t + 1) : "Notch")
              .arg(kAlignmentMHz[f]);
      grid->addLayout(Pair(Trim(page, name.c_str(), accessible)), t + 2, f + 1);
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
  AlignTrim* sens = Trim(page, "udSqlSens", "Squelch Sensitivity");
  grid->addWidget(Label(page, "lblSqlSens", "Squelch &Sensitivity", sens->Edit()), 0, 0);
  grid->addLayout(Pair(sens), 0, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(2, 1);
  return page;
}

QWidget* TformAlign::BuildSMeterPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetSMeter");
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "lblSMeterCal", "S-Meter Calibration:"), 0, 0, 1, 3);
  grid->addWidget(Label(page, "lblAutoSet", "Auto Set"), 1, 1);
  grid->addWidget(Label(page, "lblManualAdjust", "Manual Adjust"), 1, 2);
  AlignTrim* s1 = Trim(page, "udS1", "S1 calibration");
  AlignTrim* s10 = Trim(page, "udS10", "S9+ calibration");
  btnSetS1 = Button(page, "btnSetS1", "Set S&1");
  btnSetS10 = Button(page, "btnSetS10", "Set S&9+");
  grid->addWidget(Label(page, "lblStep1", "Step 1"), 2, 0);
  grid->addWidget(Label(page, "lblStep1Level", "Set RF signal generator S1 level:"), 3, 0);
  grid->addWidget(Label(page, "lblStep1Nominal", "(nominally -122dBm)"), 4, 0);
  grid->addWidget(btnSetS1, 3, 1);
  grid->addLayout(Pair(s1), 3, 2);
  grid->addWidget(Label(page, "lblStep2", "Step 2"), 5, 0);
  grid->addWidget(Label(page, "lblStep2Level", "Set RF signal generator S9+ level:"), 6, 0);
  grid->addWidget(Label(page, "lblStep2Nominal", "(nominally -74dBm)"), 7, 0);
  grid->addWidget(btnSetS10, 6, 1);
  grid->addLayout(Pair(s10), 6, 2);
  grid->setRowStretch(8, 1);
  return page;
}

QWidget* TformAlign::BuildBatteryPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetBattery");
  auto* v = new QVBoxLayout(page);
  chkBattPolling = Check(page, "chkBattPolling", "Enable Battery Polling");
  udBattOffset =
      MakeNumberField(page, {"udBattOffset", "editBattOffset", -128, 127, true}, "Battery offset");
  v->addWidget(chkBattPolling);
  v->addWidget(udBattOffset);
  v->addStretch();
  return page;
}
