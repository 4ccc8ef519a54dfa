// The engineering panel's controls, group by group, and the table that
// connects each button to its action.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "controls.h"
#include "eng.h"
#include "frmengineering.h"
#include "updown.h"
#include "numberfield.h"

namespace {

QLineEdit* Edit(QWidget* parent, const char* name, const QString& accessible,
                const QString& text = {}, int maxLength = 0, bool readOnly = false) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setAccessibleName(accessible);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setReadOnly(readOnly);
  return edit;
}

// A short edit: wide enough for what it holds, no wider.
QLineEdit* Narrow(QLineEdit* edit, int characters) {
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(characters + 2, 'W')));
  return edit;
}

}  // namespace

void TfrmEngineering::BuildControls() {
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildFrequencyGroup());
  left->addWidget(BuildToneGroups());
  left->addWidget(BuildAlignAndLcdGroups());
  left->addStretch();
  auto* middle = new QVBoxLayout;
  middle->addWidget(BuildMemoryGroups());
  middle->addWidget(BuildRadioGroups());
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(BuildLinkGroups());
  memoEng_ = new QPlainTextEdit(this);
  memoEng_->setObjectName("memoEng");
  memoEng_->setAccessibleName("Log");
  memoEng_->setReadOnly(true);
  memoEng_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoEng_->setMinimumSize(260, 160);
  right->addWidget(memoEng_, 1);
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(MakeButton(this, "btnClose", "Close"));
  right->addLayout(closeRow);
  columns->addLayout(left);
  columns->addLayout(middle);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  TimerKeyHeld_ = new QTimer(this);
  TimerKeyHeld_->setObjectName("TimerKeyHeld");
  TimerKeyHeld_->setTimerType(Qt::PreciseTimer);  // the repeat is felt under the finger
  ADPollTimer_ = new QTimer(this);
  ADPollTimer_->setObjectName("ADPollTimer");
  ConnectActions();
}

QWidget* TfrmEngineering::BuildFrequencyGroup() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);

  auto* group = MakeGroup(box, "gbFrequency", "Radio Frequency");
  auto* grid = new QGridLayout(group);
  editFreq_ = Edit(group, "editFreq", "Frequency (MHz)", {}, 0, true);
  btnFreqInc_ = MakeButton(group, "btnFreqInc", "+", "Frequency up");
  btnFreqDec_ = MakeButton(group, "btnFreqDec", "-", "Frequency down");
  cbFreqStep_ = new QComboBox(group);
  cbFreqStep_->setObjectName("cbFreqStep");
  cbFreqStep_->setAccessibleName("Step Size");
  for (const char* text : kFreqStepTexts) cbFreqStep_->addItem(text);
  grid->addWidget(editFreq_, 0, 0, 1, 2);
  grid->addWidget(btnFreqInc_, 0, 2);
  grid->addWidget(btnFreqDec_, 0, 3);
  grid->addWidget(MakeLabel(group, {}, "S&tep Size:", cbFreqStep_), 1, 0);
  grid->addWidget(cbFreqStep_, 1, 1);
  grid->addWidget(MakeButton(group, "btnRefreshPLL", "Refresh PLL"), 1, 2, 1, 2);
  auto* presets = new QHBoxLayout;
  presets->addWidget(MakeButton(group, "btn_450", "450", "450 MHz"));
  presets->addWidget(MakeButton(group, "btn_477", "477", "477 MHz"));
  presets->addWidget(MakeButton(group, "btn_504", "504", "504 MHz"));
  grid->addLayout(presets, 2, 0, 1, 4);
  column->addWidget(group);

  auto* state = new QHBoxLayout;
  lblTxRx_ = new QLabel(box);
  lblTxRx_->setObjectName("lblTxRx");
  lblTxRx_->setAccessibleName("Transmit state");
  lblTxRx_->setAlignment(Qt::AlignCenter);
  lblTxRx_->setAutoFillBackground(true);
  lblTxRx_->setMinimumWidth(80);
  state->addWidget(lblTxRx_);
  // Held states a screen reader reports as pressed or not, not bare commands.
  btnPTT_ = MakeButton(box, "btnPTT", "PTT");
  btnPTT_->setCheckable(true);
  btnSquelch_ = MakeButton(box, "btnSquelch", "SQL", "Squelch open");
  btnSquelch_->setCheckable(true);
  state->addWidget(btnPTT_);
  state->addWidget(btnSquelch_);
  chkTestMode_ = MakeCheck(box, "chkTestMode", "Test Mode");
  state->addWidget(chkTestMode_);
  state->addWidget(MakeButton(box, "btnReset", "Reset Radio"));
  column->addLayout(state);

  auto* config = MakeGroup(box, "gbConfiguration", "Configuration");
  auto* configGrid = new QGridLayout(config);
  // Shown for the layout the bench has always had; the radio reports
  // neither value, so both stay empty.
  auto* pllRef = Narrow(Edit(config, "editPLL_R", "PLL Ref", {}, 0, true), 6);
  auto* ifOffset = Narrow(Edit(config, "editIF_OFFSET", "IF Offset", {}, 0, true), 6);
  configGrid->addWidget(MakeLabel(config, {}, "PLL Ref", pllRef), 0, 0);
  configGrid->addWidget(pllRef, 0, 1);
  configGrid->addWidget(MakeLabel(config, {}, "IF Offset", ifOffset), 0, 2);
  configGrid->addWidget(ifOffset, 0, 3);
  configGrid->addWidget(MakeButton(config, "btnSetChannel", "Set Channel"), 0, 4);
  column->addWidget(config);
  return box;
}

QWidget* TfrmEngineering::BuildToneGroups() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);

  auto* ctcss = MakeGroup(box, "gbCTCSS", "CTCSS TX");
  auto* ctcssColumn = new QVBoxLayout(ctcss);
  udCTCSS_ = MakeNumberField(ctcss, {"udCTCSS", "editCTCSS", 0, 50, true}, "CTCSS tone");
  ctcssColumn->addWidget(udCTCSS_);
  ctcssColumn->addWidget(MakeButton(ctcss, "btnCTCSS", "Set CTCSS"));
  row->addWidget(ctcss);

  auto* selcall = MakeGroup(box, "gbSelcall", "Selcall TX");
  auto* selcallColumn = new QVBoxLayout(selcall);
  udSelcall_ = MakeNumberField(selcall, {"udSelcall", "editSelcall", 0, 17, true}, "Selcall tone");
  selcallColumn->addWidget(udSelcall_);
  selcallColumn->addWidget(MakeButton(selcall, "btnSelcall", "Set Selcall"));
  row->addWidget(selcall);

  auto* beep = MakeGroup(box, "gbBeepTone", "BeepTone");
  auto* beepColumn = new QVBoxLayout(beep);
  // Kept for the layout; the beep is always 880 Hz.
  udBeepTone_ = MakeNumberField(beep, {"udBeepTone", "editBeepTone", 0, 17, true}, "Beep tone");
  btnBeep_ = MakeButton(beep, "btnBeep", "Beep Test");
  beepColumn->addWidget(udBeepTone_);
  beepColumn->addWidget(btnBeep_);
  row->addWidget(beep);
  return box;
}

QWidget* TfrmEngineering::BuildAlignAndLcdGroups() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);

  auto* align = MakeGroup(box, "gbAutoAlign", "Auto Align");
  auto* alignGrid = new QGridLayout(align);
  editAlignStart_ = Narrow(Edit(align, "editAlignStart", "Start", "0"), 4);
  editAlignStop_ = Narrow(Edit(align, "editAlignStop", "Stop", "255"), 4);
  editAlignStep_ = Narrow(Edit(align, "editAlignStep", "Step", "16"), 4);
  alignGrid->addWidget(MakeLabel(align, {}, "Start", editAlignStart_), 0, 0);
  alignGrid->addWidget(editAlignStart_, 0, 1);
  alignGrid->addWidget(MakeLabel(align, {}, "Stop", editAlignStop_), 1, 0);
  alignGrid->addWidget(editAlignStop_, 1, 1);
  alignGrid->addWidget(MakeLabel(align, {}, "Step", editAlignStep_), 2, 0);
  alignGrid->addWidget(editAlignStep_, 2, 1);
  static const char* const kAlignNames[4] = {"chkAlignT1", "chkAlignT2", "chkAlignT3",
                                             "chkAlignT4"};
  for (int i = 0; i < 4; ++i) {
    chkAlign_[i] = MakeCheck(align, kAlignNames[i], QString("T%1").arg(i + 1));
    alignGrid->addWidget(chkAlign_[i], i, 2);
  }
  alignGrid->addWidget(MakeButton(align, "btnAutoAlign", "Auto Align"), 3, 0, 1, 2);
  row->addWidget(align);

  auto* lcd = MakeGroup(box, "gbLCDTest", "LCD Test");
  auto* lcdGrid = new QGridLayout(lcd);
  edit7seg_ = Narrow(Edit(lcd, "edit7seg", "7-seg", "88", 2), 2);
  editAlphaText_ = Narrow(Edit(lcd, "editAlphaText", "Alpha", "ALPHA", 5), 5);
  edtIcons_ = Narrow(Edit(lcd, "edtIcons", "Icons", "0000", 4), 4);
  // Kept for the layout; the flags byte sent is always 0.
  edtFlags_ = Narrow(Edit(lcd, "edtFlags", "Flags", "00", 2), 2);
  lcdGrid->addWidget(MakeLabel(lcd, {}, "7-seg", edit7seg_), 0, 0);
  lcdGrid->addWidget(edit7seg_, 0, 1);
  lcdGrid->addWidget(MakeLabel(lcd, {}, "Alpha", editAlphaText_), 1, 0);
  lcdGrid->addWidget(editAlphaText_, 1, 1);
  lcdGrid->addWidget(MakeLabel(lcd, {}, "Icons", edtIcons_), 2, 0);
  lcdGrid->addWidget(edtIcons_, 2, 1);
  lcdGrid->addWidget(MakeLabel(lcd, {}, "Flags", edtFlags_), 3, 0);
  lcdGrid->addWidget(edtFlags_, 3, 1);
  lcdGrid->addWidget(MakeButton(lcd, "btnWriteLCD", "Write LCD"), 4, 0, 1, 2);
  row->addWidget(lcd);
  return box;
}

QWidget* TfrmEngineering::BuildMemoryGroups() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);

  auto* memory = MakeGroup(box, "gbMemory", "Memory");
  auto* grid = new QGridLayout(memory);
  edit_memaddr_ = Narrow(Edit(memory, "edit_memaddr", "Address"), 4);
  edit_memdata_ = Narrow(Edit(memory, "edit_memdata", "Data"), 4);
  edit_memmask_ = Narrow(Edit(memory, "edit_memmask", "Mask"), 4);
  grid->addWidget(MakeLabel(memory, {}, "&Addr:", edit_memaddr_), 0, 0);
  grid->addWidget(edit_memaddr_, 0, 1);
  grid->addWidget(MakeLabel(memory, {}, "&Data:", edit_memdata_), 1, 0);
  grid->addWidget(edit_memdata_, 1, 1);
  grid->addWidget(MakeLabel(memory, {}, "&Mask:", edit_memmask_), 2, 0);
  grid->addWidget(edit_memmask_, 2, 1);
  grid->addWidget(MakeButton(memory, "btnMemWrite", "Write", "Write memory"), 0, 2);
  grid->addWidget(MakeButton(memory, "btnMemRead", "Read", "Read memory"), 1, 2);
  column->addWidget(memory);

  auto* array = MakeGroup(box, "gbArray", "Array");
  auto* arrayGrid = new QGridLayout(array);
  edtArrayAddress_ = Narrow(Edit(array, "edtArrayAddress", "Array address", "0"), 5);
  edtArrayNumBytes_ = Narrow(Edit(array, "edtArrayNumBytes", "Array num bytes", "128"), 5);
  arrayGrid->addWidget(MakeLabel(array, {}, "address", edtArrayAddress_), 0, 0);
  arrayGrid->addWidget(edtArrayAddress_, 0, 1);
  arrayGrid->addWidget(MakeLabel(array, {}, "num bytes", edtArrayNumBytes_), 1, 0);
  arrayGrid->addWidget(edtArrayNumBytes_, 1, 1);
  arrayGrid->addWidget(MakeButton(array, "btnReadArray", "Read", "Read array"), 0, 2);
  arrayGrid->addWidget(MakeButton(array, "btnWriteArray", "Write", "Write array"), 1, 2);
  column->addWidget(array);

  auto* samples = MakeGroup(box, "gbAudioSamples", "Audio Samples");
  auto* samplesRow = new QHBoxLayout(samples);
  samplesRow->addWidget(MakeButton(samples, "btnAudioSamples", "Sample", "Read audio samples"));
  column->addWidget(samples);

  auto* id = MakeGroup(box, "gbRadioID", "Radio ID");
  auto* idRow = new QHBoxLayout(id);
  edtID_ = Narrow(Edit(id, "edtID", "Radio ID", {}, 16), 16);
  idRow->addWidget(edtID_);
  idRow->addWidget(MakeButton(id, "btnReadID", "read", "Read radio ID"));
  idRow->addWidget(MakeButton(id, "btnWriteID", "write", "Write radio ID"));
  column->addWidget(id);
  return box;
}

QWidget* TfrmEngineering::BuildRadioGroups() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);

  auto* volume = MakeGroup(box, "gbVolume", "Set volume");
  auto* volumeColumn = new QVBoxLayout(volume);
  tbVolume_ = new QSlider(Qt::Vertical, volume);
  tbVolume_->setObjectName("tbVolume");
  tbVolume_->setAccessibleName("Volume");
  tbVolume_->setRange(0, kVolumeTop);
  // Position 0 at the top, where the volume is loudest.
  tbVolume_->setInvertedAppearance(true);
  tbVolume_->setInvertedControls(true);
  tbVolume_->setMinimumHeight(100);
  edtVolume_ = Narrow(Edit(volume, "edtVolume", "Volume level", "0", 0, true), 2);
  volumeColumn->addWidget(tbVolume_, 0, Qt::AlignHCenter);
  volumeColumn->addWidget(edtVolume_, 0, Qt::AlignHCenter);
  volumeColumn->addWidget(MakeButton(volume, "btnRefreshVolume", "Refresh", "Refresh volume"));
  row->addWidget(volume);

  auto* right = new QVBoxLayout;
  auto* wideband = MakeGroup(box, "gbWideband", "Set Wideband");
  auto* widebandColumn = new QVBoxLayout(wideband);
  widebandColumn->addWidget(MakeButton(wideband, "btnSetWideband", "Set", "Set wideband"));
  auto* note = new QLabel(
      "NOTE:  This will re-enable AFC, and WB will be enabled until radio is reset.", wideband);
  note->setWordWrap(true);
  // A fixed size window does not grow a wrapped label by itself.
  note->setFixedWidth(240);
  note->setMinimumHeight(note->heightForWidth(240));
  widebandColumn->addWidget(note);
  right->addWidget(wideband);

  auto* contrast = MakeGroup(box, "gbLCDContrast", "LCD Contrast");
  auto* contrastRow = new QHBoxLayout(contrast);
  // A plain up-down, not a number field: the box shows the radio's byte in
  // hexadecimal when the window opens, while the arrows step a position
  // of their own (0..8, from 4) that "Set contrast" sends.
  edtLCDContrast_ = Narrow(Edit(contrast, "edtLCDContrast", "LCD contrast", QString::number(contrastPosition_), 0, true), 2);
  auto* upDown = new UpDown(contrast);
  upDown->setObjectName("udLCDContrast");
  upDown->setAccessibleName("LCD contrast");
  upDown->SetBuddy(edtLCDContrast_);
  udLCDContrast_ = upDown;
  connect(upDown, &UpDown::Stepped, this, &TfrmEngineering::udLCDContrastStep);
  btnSetContrast_ = MakeButton(contrast, "btnSetContrast", "Set contrast");
  contrastRow->addWidget(edtLCDContrast_);
  contrastRow->addWidget(upDown);
  contrastRow->addWidget(btnSetContrast_);
  right->addWidget(contrast);
  row->addLayout(right);
  return box;
}

QWidget* TfrmEngineering::BuildLinkGroups() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);

  auto* raw = MakeGroup(box, "gbSendVornII", "Send VornII Command");
  auto* rawRow = new QHBoxLayout(raw);
  edtSendVornII_ = Edit(raw, "edtSendVornII", "VornII command bytes", "00");
  rawRow->addWidget(edtSendVornII_);
  rawRow->addWidget(MakeButton(raw, "btnSendVornIICommand", "send", "Send VornII command"));
  column->addWidget(raw);

  auto* baud = MakeGroup(box, "gbBaudRate", "Baud Rate");
  auto* baudRow = new QHBoxLayout(baud);
  cbBaudRate_ = new QComboBox(baud);
  cbBaudRate_->setObjectName("cbBaudRate");
  cbBaudRate_->setAccessibleName("Baud rate");
  baudRow->addWidget(cbBaudRate_);
  baudRow->addWidget(MakeButton(baud, "btnSetRadioBaudRate", "Set Radio", "Set radio baud rate"));
  baudRow->addWidget(MakeButton(baud, "btnSetPCBaudRate", "Set PC", "Set PC baud rate"));
  column->addWidget(baud);

  auto* adc = MakeGroup(box, "gbADValues", "A/D values");
  auto* adcGrid = new QGridLayout(adc);
  chkADPolling_ = MakeCheck(adc, "chkADPolling", "A/D polling");
  chkADPolling_->setToolTip("Enable polling of RSSI and noise volts");
  editNoisevolts_ = Narrow(Edit(adc, "editNoisevolts", "Noise volts", {}, 0, true), 3);
  editRSSI_ = Narrow(Edit(adc, "editRSSI", "RSSI", {}, 0, true), 3);
  adcGrid->addWidget(chkADPolling_, 0, 0, 1, 2);
  adcGrid->addWidget(MakeLabel(adc, {}, "Noise volts", editNoisevolts_), 1, 0);
  adcGrid->addWidget(editNoisevolts_, 1, 1);
  adcGrid->addWidget(MakeLabel(adc, {}, "RSSI", editRSSI_), 2, 0);
  adcGrid->addWidget(editRSSI_, 2, 1);
  column->addWidget(adc);
  return box;
}

void TfrmEngineering::ConnectActions() {
  struct Click {
    const char* button;
    void (TfrmEngineering::*handler)();
  };
  static const Click kClicks[] = {
      {"btnRefreshPLL", &TfrmEngineering::UpdatePllClick},
      {"btn_450", &TfrmEngineering::btn_450Click},
      {"btn_477", &TfrmEngineering::btn_477Click},
      {"btn_504", &TfrmEngineering::btn_504Click},
      {"btnReset", &TfrmEngineering::btnResetClick},
      {"btnSetChannel", &TfrmEngineering::btnSetChannelClick},
      {"btnCTCSS", &TfrmEngineering::btnCTCSSClick},
      {"btnSelcall", &TfrmEngineering::btnSelcallClick},
      {"btnAutoAlign", &TfrmEngineering::btnAutoAlignClick},
      {"btnWriteLCD", &TfrmEngineering::btnWriteLCDClick},
      {"btnMemWrite", &TfrmEngineering::btnMemWriteClick},
      {"btnMemRead", &TfrmEngineering::btnMemReadClick},
      {"btnAudioSamples", &TfrmEngineering::btnAudioSamplesClick},
      {"btnRefreshVolume", &TfrmEngineering::btnRefreshVolumeClick},
      {"btnReadID", &TfrmEngineering::btnReadIDClick},
      {"btnWriteID", &TfrmEngineering::btnWriteIDClick},
      {"btnSetWideband", &TfrmEngineering::btnSetWidebandClick},
      {"btnSendVornIICommand", &TfrmEngineering::btnSendVornIICommandClick},
      {"btnSetContrast", &TfrmEngineering::btnSetContrastClick},
      {"btnReadArray", &TfrmEngineering::btnReadArrayClick},
      {"btnWriteArray", &TfrmEngineering::btnWriteArrayClick},
      {"btnSetRadioBaudRate", &TfrmEngineering::btnSetRadioBaudRateClick},
      {"btnSetPCBaudRate", &TfrmEngineering::btnSetPCBaudRateClick},
      {"btnClose", &TfrmEngineering::btnCloseClick},
  };
  for (const Click& c : kClicks)
    connect(findChild<QPushButton*>(c.button), &QPushButton::clicked, this, c.handler);

  connect(btnFreqInc_, &QPushButton::pressed, this, [this] { btnFreqPressed(+1); });
  connect(btnFreqDec_, &QPushButton::pressed, this, [this] { btnFreqPressed(-1); });
  connect(btnFreqInc_, &QPushButton::released, this, &TfrmEngineering::btnFreqReleased);
  connect(btnFreqDec_, &QPushButton::released, this, &TfrmEngineering::btnFreqReleased);
  connect(TimerKeyHeld_, &QTimer::timeout, this, &TfrmEngineering::TimerKeyHeldTimer);
  connect(btnBeep_, &QPushButton::pressed, this, [this] { btnBeepPress(true); });
  connect(btnBeep_, &QPushButton::released, this, [this] { btnBeepPress(false); });
  connect(btnPTT_, &QPushButton::toggled, this, &TfrmEngineering::btnPTTClick);
  connect(btnSquelch_, &QPushButton::toggled, this, &TfrmEngineering::btnSquelchClick);
  connect(chkTestMode_, &QCheckBox::toggled, this, &TfrmEngineering::chkTestModeClick);
  connect(chkADPolling_, &QCheckBox::toggled, this, &TfrmEngineering::chkADPollingClick);
  connect(ADPollTimer_, &QTimer::timeout, this, &TfrmEngineering::ADPollTimerTimer);
  connect(tbVolume_, &QSlider::valueChanged, this, &TfrmEngineering::tbVolumeChange);
  // Enter in the raw-command field sends that command; in any other field
  // it sends nothing (no button of this window is pressed by Enter).
  connect(edtSendVornII_, &QLineEdit::returnPressed, this,
          &TfrmEngineering::btnSendVornIICommandClick);
  NoDefaultButtons(this);
}
