// The window's controls, their layout and their help texts.
#include "frmctcss.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls.h"
#include "helpmemo.h"

namespace {

QString Plain(QString caption) { return caption.remove('&'); }

QCheckBox* Box(const QString& caption, const char* name, QWidget* parent) {
  return Named(new QCheckBox(caption, parent), name, Plain(caption));
}

struct HelpRow {
  const char* control;
  const char* text;
  HelpMemo::Trigger trigger;
};
// chkBusyLockout has no text of its own: its events empty the area.
const HelpRow kHelp[] = {
    {"chkEnableCbCtcss", "Enable CTCSS Operation", HelpMemo::kFocusAndPointer},
    {"chkCtcssOnDup", "Enable CTCSS operation on Duplex channels (1-8)",
     HelpMemo::kFocusAndPointer},
    {"chkCtcssNb",
     "Enable automatic shift to narrow bandwidth CTCSS above 151.4Hz.\n"
     "Gives best rejection of adjacent codes but response is slower.",
     HelpMemo::kFocusAndPointer},
    {"chkBusyLockout", "", HelpMemo::kFocusAndPointer},
    {"cmbTxCtcss", "Set the CTCSS tone to use for CB channels", HelpMemo::kFocus},
    {"lblCbCtcssTx", "Set the CTCSS tone to use for CB channels", HelpMemo::kPointer},
    {"cmbNetScanTone", "Set the CTCSS tone to use for NetScan", HelpMemo::kFocus},
    {"lblNetScanTone", "Set the CTCSS tone to use for NetScan", HelpMemo::kPointer},
    {"cbCTCSSToneSet", "Select CTCSS Tone Set - CCIR (38 tones) or Vorn (50 tones)",
     HelpMemo::kFocus},
    {"lblCTCSSToneSet", "Select CTCSS Tone Set - CCIR (38 tones) or Vorn (50 tones)",
     HelpMemo::kPointer},
    {"gbCtcssMem", "Select from channels 1 - 80 for silent memory", HelpMemo::kPointer},
};
const char* const kHelpClearers[] = {"Panel1", "OKBtn", "CancelBtn", "GroupBox1"};

constexpr int kSilentColumns = 10;

}  // namespace

TfrmCtcss::TfrmCtcss(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("TfrmCtcss");
  setWindowTitle("CTCSS Setup");
  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  layout->addLayout(groups);
  BuildOptions();
  BuildSilentMemory();
  groups->addWidget(GroupBox1);
  groups->addWidget(gbCtcssMem, 1);
  BuildBottom();
  layout->addWidget(memoHelpText);
  layout->addWidget(Panel1);
  BuildHelp();

  connect(chkEnableCbCtcss, &QCheckBox::toggled, this, &TfrmCtcss::ApplyEnabling);
  connect(chkCtcssOnDup, &QCheckBox::toggled, this, &TfrmCtcss::ApplyEnabling);
  connect(cbCTCSSToneSet, &QComboBox::currentIndexChanged, this,
          &TfrmCtcss::cbCTCSSToneSetChange);
  connect(btnCtcssSelectAll, &QPushButton::clicked, this, [this] { SetAllSilent(true); });
  connect(btnCtcssDeselectAll, &QPushButton::clicked, this, [this] { SetAllSilent(false); });
  connect(OKBtn, &QPushButton::clicked, this, &TfrmCtcss::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmCtcss::BuildOptions() {
  GroupBox1 = Named(new QGroupBox("CTCSS options", this), "GroupBox1");
  auto* layout = new QVBoxLayout(GroupBox1);
  chkEnableCbCtcss = Box("CTCSS &Operation Enabled", "chkEnableCbCtcss", GroupBox1);
  chkCtcssOnDup = Box("CTCSS on d&uplex channels.", "chkCtcssOnDup", GroupBox1);
  chkCtcssNb = Box("CTCSS &narrow band above 151.4Hz", "chkCtcssNb", GroupBox1);
  chkBusyLockout = Box("&Busy Lockout", "chkBusyLockout", GroupBox1);
  chkBusyLockoutOverride =
      Box("Busy Lockout o&verride if CTCSS tone match.", "chkBusyLockoutOverride", GroupBox1);
  chkCTCSS_RPK = Box("CTCSS &Reverse Phase Key", "chkCTCSS_RPK", GroupBox1);
  chkCTCSS_SilentTail = Box("CTCSS Silent &Tail", "chkCTCSS_SilentTail", GroupBox1);
  for (QCheckBox* box : {chkEnableCbCtcss, chkCtcssOnDup, chkCtcssNb, chkBusyLockout,
                         chkBusyLockoutOverride, chkCTCSS_RPK, chkCTCSS_SilentTail})
    layout->addWidget(box);

  auto* tones = new QFormLayout;
  layout->addLayout(tones);
  layout->addStretch(1);
  auto tone = [&](QLabel*& label, QComboBox*& box, const QString& caption, const char* labelName,
                  const char* boxName) {
    label = Named(new QLabel(caption, GroupBox1), labelName);
    box = Named(new QComboBox(GroupBox1), boxName, Plain(caption).remove(':'));
    box->setMaxVisibleItems(20);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(box);
    tones->addRow(label, box);
  };
  tone(lblCbCtcssTx, cmbTxCtcss, "&CTCSS/DCS Tone", "lblCbCtcssTx", "cmbTxCtcss");
  tone(lblCTCSSToneSet, cbCTCSSToneSet, "CTCSS Tone S&et:", "lblCTCSSToneSet", "cbCTCSSToneSet");
  cbCTCSSToneSet->addItems({"CTCSS 1-50", "CTCSS 1-38"});
  tone(lblNetScanTone, cmbNetScanTone, "NetSc&an Tone", "lblNetScanTone", "cmbNetScanTone");
}

void TfrmCtcss::BuildSilentMemory() {
  gbCtcssMem = Named(new QGroupBox("Silent Channel Memory", this), "gbCtcssMem");
  auto* layout = new QVBoxLayout(gbCtcssMem);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  for (int k = 1; k <= kSilentChannels; ++k) {
    auto* box = new QCheckBox(QString::number(k), gbCtcssMem);
    box->setObjectName(QString("chkCtcss%1").arg(k));
    box->setAccessibleName(QString("Silent memory channel %1").arg(k));
    grid->addWidget(box, (k - 1) / kSilentColumns, (k - 1) % kSilentColumns);
    chkCtcss[static_cast<size_t>(k - 1)] = box;
  }
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  layout->addStretch(1);
  btnCtcssSelectAll =
      Named(new QPushButton("&Select All", gbCtcssMem), "btnCtcssSelectAll", "Select All");
  btnCtcssDeselectAll =
      Named(new QPushButton("&Deselect All", gbCtcssMem), "btnCtcssDeselectAll", "Deselect All");
  for (QPushButton* b : {btnCtcssSelectAll, btnCtcssDeselectAll}) b->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(btnCtcssSelectAll);
  buttons->addWidget(btnCtcssDeselectAll);
}

void TfrmCtcss::BuildBottom() {
  memoHelpText = Named(new QPlainTextEdit(this), "memoHelpText", "Help");
  memoHelpText->setFixedHeight(memoHelpText->fontMetrics().lineSpacing() * 3 + 12);
  memoHelpText->setTabChangesFocus(true);
  Panel1 = Named(new QFrame(this), "Panel1");
  auto* layout = new QHBoxLayout(Panel1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  OKBtn = Named(new QPushButton("OK", Panel1), "OKBtn", "OK");
  CancelBtn = Named(new QPushButton("Cancel", Panel1), "CancelBtn", "Cancel");
  OKBtn->setDefault(true);
  CancelBtn->setAutoDefault(false);
  layout->addWidget(OKBtn);
  layout->addWidget(CancelBtn);
}

void TfrmCtcss::BuildHelp() {
  help_ = new HelpMemo(memoHelpText);
  for (const HelpRow& row : kHelp)
    help_->Add(findChild<QWidget*>(row.control), QString::fromUtf8(row.text), row.trigger);
  for (const char* name : kHelpClearers) help_->AddClearer(findChild<QWidget*>(name));
}
