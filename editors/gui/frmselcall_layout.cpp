// The selcall settings window's controls, their layout and their help texts.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls.h"
#include "helpmemo.h"
#include "inputrule.h"
#include "frmselcall.h"
#include "numberfield.h"

namespace {

constexpr int kQuietColumns = 10;
constexpr int kFirstQuietBoxNamedQuiet = 41;  // boxes 1..40 are chkGs, 41..80 chkQuiet

QComboBox* SizeList(const char* name, const QString& accessible, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->addItems({"10", "100", "1000"});
  combo->setCurrentIndex(-1);  // nothing selected until a load or the user picks one
  combo->setAccessibleName(accessible);
  return combo;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, int indent = 0) {
  auto* row = new QHBoxLayout;
  if (indent) row->addSpacing(indent);
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch();
  return row;
}

struct HelpEntry {
  const char* control;
  const char* text;
  HelpMemo::Trigger trigger;
};

// Texts in two parts are joined without anything between them.
const HelpEntry kHelp[] = {
    {"blbRadioIdent", "Selcall Ident of this radio.", HelpMemo::kPointer},
    {"MaskEditRadioIdent", "Selcall Ident of this radio.", HelpMemo::kPointer},
    {"chkAlertIndividualCall", "Select alarm tone for received calls that match own selcall ident.",
     HelpMemo::kPointer},
    {"chkAlertGroupCall", "Select alarm tone for received group calls.", HelpMemo::kPointer},
    {"lblAlertDuration", "Set timeout for alarm tone.", HelpMemo::kPointer},
    {"chkBeepAckEnable", "Enable the transmit beep acknowledge tones", HelpMemo::kPointer},
    {"chkBeepAlarms", "Beep indefinitely at slow beep rate after the selcall alert ends.",
     HelpMemo::kPointer},
    {"chkUnmuteOnSelcall", "Clear QUIET mode if valid selcall received.", HelpMemo::kPointer},
    {"chkReenterQuiet",
     "If no keypress or PTT occurs after receiving a selcall during the alert time, then "
     "re-enter QUIET at end of alert duration.",
     HelpMemo::kPointer},
    {"chkAcceptGroupCalls", "Enable radio to respond to received group calls.",
     HelpMemo::kFocusAndPointer},
    {"lblRxGroupSize", "Set range of selcalls accepted as group calls.", HelpMemo::kPointer},
    {"chkAppendAni",
     "Append radio's own ident to transmitted selcalls.  "
     "The last N-digits of own ident are appended, where N is  "
     "the Appended ANI Length value.",
     HelpMemo::kPointer},
    {"chkLeadInDelay", "Turn carrier on for short period before start of selcall transmission.",
     HelpMemo::kPointer},
    {"chkLead_In_Tone", "Enable the first tone of the selcall to be sent during the lead-in delay",
     HelpMemo::kPointer},
    {"lblLeadInDelayl", "Set the lead-in tone length.", HelpMemo::kPointer},
    // The number field takes the focus for its text field; the pointer meets
    // the text field itself.
    {"editLeadInDelay", "Set the lead-in tone length.", HelpMemo::kPointer},
    {"udLeadInDelay", "Set the lead-in tone length.", HelpMemo::kFocusAndPointer},
    {"chkSendGroupCalls", "Enable editing and transmission of group calls", HelpMemo::kPointer},
    {"lblTxGroupSize", "Set selcall transmit group call size.", HelpMemo::kPointer},
    {"chkUserModifyOwnIdent",
     "Enable user to modify radio's own selcall ident.  "
     "Radio's selcall ident appears as Selcall Memory 41.",
     HelpMemo::kPointer},
    {"editUserModifyMemory", "Selcall memory can be edited by the user.  ", HelpMemo::kPointer},
    {"lblTonePeriod", "Select tone period (40ms recommended).", HelpMemo::kPointer},
    {"btnSelcallMem", "Edit Selcall memories.", HelpMemo::kPointer},
    {"gbQuietMem", "Select from CH 1-80 for Selcall Quiet Memory", HelpMemo::kPointer},
    {"OKBtn", "Save and exit.", HelpMemo::kPointer},
    {"CancelBtn", "Exit without saving.", HelpMemo::kPointer},
};

// Plain panels and groups: the pointer over them empties the help area.
const char* const kHelpClearers[] = {"Panel2", "gbGeneralOptions", "GroupBox2", "GroupBox3"};

}  // namespace

QCheckBox* TfrmSelcall::FlagBox(const char* name, const char* caption, SelcallFlag flag) {
  auto* box = Named(new QCheckBox(caption, this), name);
  flagBoxes_.emplace_back(flag, box);
  return box;
}

void TfrmSelcall::BuildControls() {
  // Built in reading order, which is also the tab order.
  QWidget* top = BuildTopPanel();
  auto* groups = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(BuildGeneralOptions());
  left->addWidget(BuildTransmitOptions());
  left->addStretch();
  groups->addLayout(left);
  groups->addWidget(BuildReceiveOptions());

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(top);
  layout->addLayout(groups);
  layout->addWidget(BuildQuietMemory());
  layout->addWidget(BuildBottomPanel());
  layout->setSizeConstraint(QLayout::SetFixedSize);
  RegisterHelp();
}

QWidget* TfrmSelcall::BuildTopPanel() {
  Panel2 = Named(new QFrame(this), "Panel2");
  Panel2->setFrameShape(QFrame::StyledPanel);
  MaskEditRadioIdent = Named(new QLineEdit(Panel2), "MaskEditRadioIdent");
  // n optional digits, blanks where none is typed.
  MaskEditRadioIdent->setInputMask(QString(kIdentLength, '0') + "; ");
  MaskEditRadioIdent->setAlignment(Qt::AlignRight);
  // Right-aligned like the radio's ident: a short entry moves to the end on
  // leaving the field, so what is shown is what OK stores.
  connect(MaskEditRadioIdent, &QLineEdit::editingFinished, this, &TfrmSelcall::AlignIdentField);
  MaskEditRadioIdent->setFixedWidth(MaskEditRadioIdent->fontMetrics().horizontalAdvance("0") *
                                        (kIdentLength + 2) + 16);
  MaskEditRadioIdent->setAccessibleName("Radio Ident");
  blbRadioIdent = MakeLabel(Panel2, "blbRadioIdent", "Radio &Ident:", MaskEditRadioIdent);

  editRadioAlpha = Named(new QLineEdit(Panel2), "editRadioAlpha");
  editRadioAlpha->setMaxLength(5);
  InputRule::Install(editRadioAlpha, RadioNameKey);
  editRadioAlpha->setFixedWidth(editRadioAlpha->fontMetrics().horizontalAdvance("W") * 7 + 16);
  editRadioAlpha->setAccessibleName("Radio Name");
  Label5 = MakeLabel(Panel2, "Label5", "Radio &Name:", editRadioAlpha);

  btnSelcallMem = Named(new QPushButton("Edit Selcall Memories", Panel2), "btnSelcallMem");

  auto* row = new QHBoxLayout(Panel2);
  row->addWidget(blbRadioIdent);
  row->addWidget(MaskEditRadioIdent);
  row->addSpacing(16);
  row->addWidget(Label5);
  row->addWidget(editRadioAlpha);
  row->addStretch();
  row->addWidget(btnSelcallMem);
  return Panel2;
}

QGroupBox* TfrmSelcall::BuildGeneralOptions() {
  gbGeneralOptions = Named(new QGroupBox("General Options", this), "gbGeneralOptions");
  auto* box = new QVBoxLayout(gbGeneralOptions);
  box->addWidget(FlagBox("chkUserModifyOwnIdent", "Enable User Modify Radio Ident",
                         SelcallFlag::kUserModifyIdent));
  box->addWidget(FlagBox("editUserModifyMemory", "Enable User Modify Selcall Memory",
                         SelcallFlag::kUserModifyMemory));
  comboTonePeriod = Named(new QComboBox(gbGeneralOptions), "comboTonePeriod");
  for (int ms : kTonePeriodsMs) comboTonePeriod->addItem(QString::number(ms));
  comboTonePeriod->setAccessibleName("Tone period (ms)");
  lblTonePeriod = MakeLabel(gbGeneralOptions, "lblTonePeriod", "&Tone period:", comboTonePeriod);
  Label8 = MakeLabel(gbGeneralOptions, "Label8", "ms", nullptr);
  box->addLayout(Row({lblTonePeriod, comboTonePeriod, Label8}));
  return gbGeneralOptions;
}

QGroupBox* TfrmSelcall::BuildReceiveOptions() {
  GroupBox2 = Named(new QGroupBox("Receive Options", this), "GroupBox2");
  auto* box = new QVBoxLayout(GroupBox2);
  box->addWidget(FlagBox("chkAlertIndividualCall", "Alert Tones for Individual Calls",
                         SelcallFlag::kAlertIndividualCall));
  box->addWidget(FlagBox("chkAlertGroupCall", "Alert Tones for Group Calls",
                         SelcallFlag::kAlertGroupCall));

  udAlertDuration = MakeNumberField(
      GroupBox2, {"udAlertDuration", "editAlertDuration", 0, kAlertDurationMax, false},
      "Alert Duration / Response Timeout (s)");
  lblAlertDuration = MakeLabel(GroupBox2, "lblAlertDuration", "Alert D&uration / Response Timeout", udAlertDuration);
  box->addWidget(lblAlertDuration);
  box->addLayout(Row({udAlertDuration, MakeLabel(GroupBox2, "Label2", "s", nullptr)}, 20));

  box->addWidget(FlagBox("chkBeepAlarms", "Enable Alert Slow Beeps", SelcallFlag::kAlertSlowBeeps));
  box->addWidget(
      FlagBox("chkBeepAckEnable", "Enable Beep Acknowledge", SelcallFlag::kBeepAcknowledge));
  box->addWidget(FlagBox("chkUnmuteOnSelcall", "Unmute on receipt of Selcall",
                         SelcallFlag::kUnmuteOnSelcall));
  box->addWidget(FlagBox("chkReenterQuiet", "Re-enter Quiet if no operator response",
                         SelcallFlag::kReenterQuiet));

  chkAcceptGroupCalls = Named(new QCheckBox("Accept Group Calls", GroupBox2), "chkAcceptGroupCalls");
  comboRxGrpSize = SizeList("comboRxGrpSize", "Receive group size", GroupBox2);
  lblRxGroupSize = MakeLabel(GroupBox2, "lblRxGroupSize", "Group &size:", comboRxGrpSize);
  box->addWidget(chkAcceptGroupCalls);
  box->addLayout(Row({lblRxGroupSize, comboRxGrpSize}, 20));
  box->addStretch();
  return GroupBox2;
}

QGroupBox* TfrmSelcall::BuildTransmitOptions() {
  GroupBox3 = Named(new QGroupBox("Transmit Options", this), "GroupBox3");
  auto* box = new QVBoxLayout(GroupBox3);
  box->addWidget(FlagBox("chkAppendAni", "Append ANI on CALL-TO", SelcallFlag::kAppendAni));
  box->addWidget(FlagBox("chkLeadInDelay", "Lead-in delay ", SelcallFlag::kLeadInDelay));

  // Shows what the radio holds (10 ms and up); the arrows step 100..2000.
  udLeadInDelay = MakeNumberField(
      GroupBox3, {"udLeadInDelay", "editLeadInDelay", 100, 2000, false, 100, 10},
      "Lead in delay length (ms)");
  lblLeadInDelayl =
      MakeLabel(GroupBox3, "lblLeadInDelayl", "&Lead in delay length:", udLeadInDelay);
  box->addLayout(
      Row({lblLeadInDelayl, udLeadInDelay, MakeLabel(GroupBox3, "Label4", "ms", nullptr)}, 20));

  box->addWidget(FlagBox("chkLead_In_Tone", "Lead-in tone", SelcallFlag::kLeadInTone));
  chkSendGroupCalls = Named(new QCheckBox("Send Group Calls", GroupBox3), "chkSendGroupCalls");
  comboTxGrpSize = SizeList("comboTxGrpSize", "Transmit group size", GroupBox3);
  lblTxGroupSize = MakeLabel(GroupBox3, "lblTxGroupSize", "Group Si&ze:", comboTxGrpSize);
  box->addWidget(chkSendGroupCalls);
  box->addLayout(Row({lblTxGroupSize, comboTxGrpSize}, 20));
  return GroupBox3;
}

QGroupBox* TfrmSelcall::BuildQuietMemory() {
  gbQuietMem = Named(new QGroupBox("Quiet Memory", this), "gbQuietMem");
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  for (int k = 1; k <= kQuietMemChannels; ++k) {
    const QString name =
        (k < kFirstQuietBoxNamedQuiet ? "chkGs" : "chkQuiet") + QString::number(k);
    auto* box = new QCheckBox(QString::number(k), gbQuietMem);
    box->setObjectName(name);
    box->setAccessibleName("Quiet memory channel " + QString::number(k));
    grid->addWidget(box, (k - 1) / kQuietColumns, (k - 1) % kQuietColumns);
    quietBoxes_[k - 1] = box;
  }
  btnSelectAll = Named(new QPushButton("Select All", gbQuietMem), "btnSelectAll");
  btnDeselectAll = Named(new QPushButton("Deselect All", gbQuietMem), "btnDeselectAll");
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnSelectAll);
  buttons->addWidget(btnDeselectAll);
  buttons->addStretch();
  auto* box = new QHBoxLayout(gbQuietMem);
  box->addLayout(grid);
  box->addSpacing(12);
  box->addLayout(buttons);
  return gbQuietMem;
}

QWidget* TfrmSelcall::BuildBottomPanel() {
  auto* panel = Named(new QWidget(this), "Panel1");
  memoHelpText = Named(new QPlainTextEdit(panel), "memoHelpText");
  memoHelpText->setAccessibleName("Help");
  memoHelpText->setFocusPolicy(Qt::NoFocus);
  memoHelpText->setFixedHeight(memoHelpText->fontMetrics().lineSpacing() * 3 + 12);
  OKBtn = Named(new QPushButton("OK", panel), "OKBtn");
  CancelBtn = Named(new QPushButton("Cancel", panel), "CancelBtn");
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addStretch();
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(memoHelpText, 1);
  row->addLayout(buttons);
  return panel;
}

void TfrmSelcall::RegisterHelp() {
  help_ = new HelpMemo(memoHelpText);
  for (const HelpEntry& entry : kHelp) {
    auto* control = findChild<QWidget*>(entry.control);
    help_->Add(control, entry.text, entry.trigger);
    control->setAccessibleDescription(entry.text);
  }
  for (const char* name : kHelpClearers) help_->AddClearer(findChild<QWidget*>(name));
}
