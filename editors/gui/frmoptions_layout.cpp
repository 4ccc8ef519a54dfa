// The radio options window's controls, their layout and their help texts.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

#include "controls.h"
#include "windowcontext.h"
#include "frmoptions.h"

#include "helpmemo.h"
#include "numberfield.h"

namespace {

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& entries,
                 const QString& accessibleName) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItems(entries);
  combo->setAccessibleName(accessibleName);
  return combo;
}

const QStringList kDisplayEntries = {"S-METER", "S-LINEAR", "BATT", "ALPHA"};

// Help lines by control name; each control shows its text on focus and
// under the pointer.
struct HelpRow {
  std::initializer_list<const char*> controls;
  const char* text;
};

const HelpRow kHelpRows[] = {
    {{"chkPTT22_23"},
     "Note: Selcall operation is always possible on CH22/23 regardless of this setting.\n"
     "Note: The ACMA Class Licence prohibits voice communication on CH22/23. PTT on CH22/23 "
     "should only be allowed if the radio is to be used for telemetry applications using an "
     "external data modem connected via the microphone."},
    {{"chkAllowRxAudioMute"},
     "Check this option to enable mute by short press of volume knob button."},
    {{"chkAllowZeroMinVol"}, "Check this option to allow minimum volume to be set to 0, i.e. off."},
    {{"lblMicGain", "editMicGain", "udMicGain", "lblMicGainRear", "editMicGainRear",
      "udMicGainRear"},
     "Default setting 0dB equates to 26mV at 1kHz."},
    {{"lblCBDisplay", "cbCBDisplay"}, "Select CB channel display option."},
    {{"lblRxonlyDisplay", "cbRxonlyDisplay"}, "Select Rx-only channel display option."},
    {{"lblLCDContrast", "edtLCDContrast", "udLCDContrast", "btnUpdateContrast"},
     "To increase LCD contrast (darker), increase the value and then click on 'Write contrast'.\n"
     "To decrease LCD contrast (lighter), decrease the value and then click on 'Write "
     "contrast'."},
    {{"lblTime", "editTxTimeout"},
     "Set maximum transmit time (secs).\n"
     "Note: ACMA Class License requires this to be fitted to all radios."},
};

// Events from these only empty the help area.
const char* const kHelpClearers[] = {"OKBtn",          "CancelBtn",         "gbTimeoutTimer",
                                     "gbDisplayOptions", "GroupBox3",       "lblMicGainFrontdB",
                                     "lblMicGainReardB", "lbldBWPTT"};

}  // namespace

void TfrmOptions::BuildControls() {
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildTimeoutGroup());
  left->addWidget(BuildDisplayGroup());
  left->addWidget(BuildGeneralGroup());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(BuildOtherGroup());
  right->addWidget(BuildWirelessGroup());
  right->addStretch();
  columns->addLayout(left);
  columns->addLayout(right);

  memoHelptext_ = new QPlainTextEdit(this);
  memoHelptext_->setObjectName("memoHelptext");
  memoHelptext_->setAccessibleName("Help");
  memoHelptext_->setFocusPolicy(Qt::ClickFocus);
  memoHelptext_->setFixedHeight(memoHelptext_->fontMetrics().lineSpacing() * 5 + 12);
  help_ = new HelpMemo(memoHelptext_);

  OKBtn_ = new QPushButton("OK", this);
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_ = new QPushButton("Cancel", this);
  CancelBtn_->setObjectName("CancelBtn");
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(OKBtn_);
  bottom->addWidget(CancelBtn_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(memoHelptext_);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(OKBtn_, &QPushButton::clicked, this, &TfrmOptions::OKBtnClick);
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(chkAllowZeroMinVol_, &QCheckBox::toggled, this, &TfrmOptions::chkAllowZeroMinVolClick);
  connect(btnUpdateContrast_, &QPushButton::clicked, this, &TfrmOptions::btnUpdateContrastClick);
  RegisterHelp();
  ApplyFeatures();
}

QGroupBox* TfrmOptions::BuildTimeoutGroup() {
  QGroupBox* group = MakeGroup(this, "gbTimeoutTimer", "Transmit Timeout");
  auto* row = new QHBoxLayout(group);
  udTxTimeOut_ = MakeNumberField(group, {"udTxTimeOut", "editTxTimeout", 0, kTxTimeoutMax, false},
                            "Transmit Timeout (sec)");
  row->addWidget(MakeLabel(group, "lblTime", "&Timeout", udTxTimeOut_));
  row->addWidget(udTxTimeOut_);
  row->addWidget(MakeLabel(group, "Label5", "sec"));
  row->addStretch();
  return group;
}

QGroupBox* TfrmOptions::BuildDisplayGroup() {
  QGroupBox* group = MakeGroup(this, "gbDisplayOptions", "Display Options");
  auto* grid = new QGridLayout(group);
  cbCBDisplay_ = Combo(group, "cbCBDisplay", kDisplayEntries.mid(0, 3), "Default CB Display");
  grid->addWidget(MakeLabel(group, "lblCBDisplay", "Default &CB Display", cbCBDisplay_), 0, 0);
  grid->addWidget(cbCBDisplay_, 0, 1, 1, 2);
  cbRxonlyDisplay_ = Combo(group, "cbRxonlyDisplay", kDisplayEntries, "Default Rx-only Display");
  lblRxonlyDisplay_ = MakeLabel(group, "lblRxonlyDisplay", "Default &Rx-only Display", cbRxonlyDisplay_);
  grid->addWidget(lblRxonlyDisplay_, 1, 0);
  grid->addWidget(cbRxonlyDisplay_, 1, 1, 1, 2);

  rgDisplayMode_ = MakeGroup(group, "rgDisplayMode", "Display Mode");
  auto* modes = new QHBoxLayout(rgDisplayMode_);
  rbNumeric_ = new QRadioButton("&Numeric", rgDisplayMode_);
  rbNumeric_->setObjectName("rgDisplayModeNumeric");
  rbAlpha_ = new QRadioButton("&Alpha", rgDisplayMode_);
  rbAlpha_->setObjectName("rgDisplayModeAlpha");
  modes->addWidget(rbNumeric_);
  modes->addWidget(rbAlpha_);
  grid->addWidget(rgDisplayMode_, 2, 0, 1, 3);

  udLCDContrast_ = MakeNumberField(
      group, {"udLCDContrast", "edtLCDContrast", kContrastMin, kContrastMax, false}, "LCD Contrast");
  lblLCDContrast_ = MakeLabel(group, "lblLCDContrast", "LCD C&ontrast", udLCDContrast_);
  btnUpdateContrast_ = new QPushButton("&Write contrast", group);
  btnUpdateContrast_->setObjectName("btnUpdateContrast");
  grid->addWidget(lblLCDContrast_, 3, 0);
  grid->addWidget(udLCDContrast_, 3, 1);
  grid->addWidget(btnUpdateContrast_, 3, 2);
  return group;
}

QGroupBox* TfrmOptions::BuildGeneralGroup() {
  QGroupBox* group = MakeGroup(this, "GroupBox3", "General Options");
  auto* grid = new QGridLayout(group);
  const auto gainRow = [&](int row, NumberField*& upDown, QLabel*& label, QLabel*& dB,
                           const NumberFieldSetup& field, const char* labelName, const char* dBName) {
    upDown = MakeNumberField(group, field, "");
    label = MakeLabel(group, labelName, "", upDown);
    dB = MakeLabel(group, dBName, "dB");
    grid->addWidget(label, row, 0);
    grid->addWidget(upDown, row, 1);
    grid->addWidget(dB, row, 2);
  };
  gainRow(0, udMicGain_, lblMicGain_, lblMicGainFrontdB_,
          {"udMicGain", "editMicGain", kMicGainMin, kMicGainMax, false}, "lblMicGain",
          "lblMicGainFrontdB");
  gainRow(1, udMicGainRear_, lblMicGainRear_, lblMicGainReardB_,
          {"udMicGainRear", "editMicGainRear", kMicGainMin, kMicGainMax, false}, "lblMicGainRear",
          "lblMicGainReardB");

  udBeepVol_ = MakeNumberField(group, {"udBeepVol", "editBeepVol", 0, kVolumeMax, false}, "Beep Volume");
  grid->addWidget(MakeLabel(group, "lblBeepVol", "&Beep Volume", udBeepVol_), 2, 0);
  grid->addWidget(udBeepVol_, 2, 1);
  udMinVolume_ = MakeNumberField(group, {"udMinVolume", "editMinVolume", 1, kVolumeMax, false},
                            "Minimum Volume");
  grid->addWidget(MakeLabel(group, "lblMinimumVolume", "M&inimum Volume", udMinVolume_), 3, 0);
  grid->addWidget(udMinVolume_, 3, 1);

  chkPTT22_23_ = MakeCheck(group, "chkPTT22_23", "&PTT on CH22/23");
  chkAllowRxAudioMute_ = MakeCheck(group, "chkAllowRxAudioMute", "Allow rx a&udio mute");
  chkAllowZeroMinVol_ = MakeCheck(group, "chkAllowZeroMinVol", "Allow &zero min volume");
  grid->addWidget(chkPTT22_23_, 4, 0, 1, 3);
  grid->addWidget(chkAllowRxAudioMute_, 5, 0, 1, 3);
  grid->addWidget(chkAllowZeroMinVol_, 6, 0, 1, 3);
  return group;
}

QGroupBox* TfrmOptions::BuildOtherGroup() {
  QGroupBox* group = MakeGroup(this, "gbOtherOptions", "Other Options");
  auto* column = new QVBoxLayout(group);
  cbDVC_ = MakeCheck(group, "cbDVC", "Enable &Dynamic Volume Control");
  cbNarrowbandCB1_40_ = MakeCheck(group, "cbNarrowbandCB1_40", "Narrow-band receive CB&1-40");
  cbBusyLockout_ = MakeCheck(group, "cbBusyLockout", "Busy &lockout");
  cbScrambler_ = MakeCheck(group, "cbScrambler", "Enable voice in&version scrambler");
  chkEnableSqlTailMute_ = MakeCheck(group, "chkEnableSqlTailMute", "Enable s&quelch tail mute");
  for (QWidget* box : std::initializer_list<QWidget*>{cbDVC_, cbNarrowbandCB1_40_, cbBusyLockout_,
                                                      cbScrambler_, chkEnableSqlTailMute_})
    column->addWidget(box);
  return group;
}

QGroupBox* TfrmOptions::BuildWirelessGroup() {
  gbWirelessRemote_ = MakeGroup(this, "gbWirelessRemote", "Wireless Remote");
  QGroupBox* group = gbWirelessRemote_;
  auto* grid = new QGridLayout(group);
  cbWPTTMicSel_ = Combo(group, "cbWPTTMicSel", {"Front", "Rear"}, "PTT Mic Select");
  grid->addWidget(MakeLabel(group, "lblPTTMicSelect", "PTT Mic &Select", cbWPTTMicSel_), 0, 0);
  grid->addWidget(cbWPTTMicSel_, 0, 1, 1, 2);
  udMicGainWireless_ = MakeNumberField(
      group, {"udMicGainWireless", "edtWPTTMicGain", kMicGainMin, kMicGainMax, false},
      "PTT Mic Gain (dB)");
  grid->addWidget(MakeLabel(group, "lblPTTMicGain", "PTT Mic &Gain", udMicGainWireless_), 1, 0);
  grid->addWidget(udMicGainWireless_, 1, 1);
  grid->addWidget(MakeLabel(group, "lbldBWPTT", "dB"), 1, 2);
  cbWPTTKeyFunctions_ =
      Combo(group, "cbWPTTKeyFunctions", {"Down/Up", "Scan/Pri"}, "Key Functions");
  grid->addWidget(MakeLabel(group, "lblKeyFunctions", "&Key Functions", cbWPTTKeyFunctions_), 2, 0);
  grid->addWidget(cbWPTTKeyFunctions_, 2, 1, 1, 2);
  return group;
}

void TfrmOptions::RegisterHelp() {
  for (const HelpRow& row : kHelpRows)
    for (const char* name : row.controls) help_->Add(findChild<QWidget*>(name), row.text);
  help_->AddClearer(this);
  for (const char* name : kHelpClearers) help_->AddClearer(findChild<QWidget*>(name));
  // Beep Volume, Minimum Volume, the display modes and the other boxes
  // have no help of their own: theirs is an empty area, not the last one.
  help_->AddClearersForTheRest(this);
}

// The model's controls; the build's model never changes while the program runs.
void TfrmOptions::ApplyFeatures() {
  const bool intExt = features_.intExtMic;
  lblMicGain_->setText(intExt ? "&Mic Gain (internal)" : "&Mic Gain (front)");
  lblMicGainRear_->setText(intExt ? "Mic Gain (&external)" : "Mic Gain (r&ear)");
  for (const auto& [label, upDown] : {std::pair{lblMicGain_, udMicGain_},
                                      std::pair{lblMicGainRear_, udMicGainRear_}}) {
    const QString name = label->text().remove('&') + " (dB)";
    upDown->SetAccessibleName(name);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{lblMicGainRear_, udMicGainRear_,
                                                    lblMicGainReardB_})
    w->setEnabled(features_.rearMic);
  chkAllowRxAudioMute_->setVisible(features_.zeroMinVolume);
  chkAllowZeroMinVol_->setVisible(features_.zeroMinVolume);
  rgDisplayMode_->setVisible(features_.displayMode);
  lblRxonlyDisplay_->setVisible(features_.rxOnlyDisplay);
  cbRxonlyDisplay_->setVisible(features_.rxOnlyDisplay);
  for (QWidget* w : std::initializer_list<QWidget*>{lblLCDContrast_, udLCDContrast_,
                                                    btnUpdateContrast_})
    w->setVisible(features_.lcdContrast);
  cbNarrowbandCB1_40_->setVisible(features_.narrowband);
  cbScrambler_->setVisible(features_.scrambler);
  gbWirelessRemote_->setVisible(features_.wirelessRemote);
}
