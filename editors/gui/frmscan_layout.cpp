// The scan window's controls, their places, names and help texts.
#include <QButtonGroup>
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
#include <QTabWidget>
#include <QVBoxLayout>

#include "controls.h"
#include "helpmemo.h"
#include "inputrule.h"
#include "keyfilters.h"
#include "frmscan.h"
#include "updown.h"

namespace {

constexpr int kChannelColumns = 10;

struct PageInfo {
  const char* name;
  const char* caption;
  const char* boxPrefix;  // chkOs1 .. chkOs80
  const char* selectName;
  const char* deselectName;
  const char* radioSuffix;  // rbOS1 / rbGS1; nullptr: no scan mode
};
constexpr PageInfo kPages[kScanPageCount] = {
    {"tsScanMem1", "Scan Memory 1", "chkOs", "btnOsSelectAll", "btnOsDeselectAll", "1"},
    {"tsScanMem2", "Scan Memory 2", "chkGs", "btnGsSelectAll", "btnGsDeselectAll", "2"},
    {"tsNetScanMem", "NetScan Memory", "chkNs", "btnNsSelectAll", "btnNsDeselectAll", nullptr}};

// Select All and Deselect All under a group of boxes. The scan page in
// front and the duplex group are on screen together, so each pair has
// access letters of its own.
struct SelectCaptions {
  const char* select;
  const char* deselect;
};
constexpr SelectCaptions kScanPageCaptions{"&Select All", "&Deselect All"};
constexpr SelectCaptions kDuplexCaptions{"S&elect All", "Deselect &All"};

template <size_t N>
QHBoxLayout* SelectButtons(QWidget* parent, const QString& selectName, const QString& deselectName,
                           const QString& group, const std::array<QCheckBox*, N>& boxes,
                           const SelectCaptions& captions) {
  auto* select = MakeButton(parent, selectName, captions.select, "Select all " + group);
  auto* deselect = MakeButton(parent, deselectName, captions.deselect, "Deselect all " + group);
  QObject::connect(select, &QPushButton::clicked, parent, [boxes] {
    for (QCheckBox* box : boxes) box->setChecked(true);
  });
  QObject::connect(deselect, &QPushButton::clicked, parent, [boxes] {
    for (QCheckBox* box : boxes) box->setChecked(false);
  });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(select);
  row->addWidget(deselect);
  return row;
}

}  // namespace

void TfrmScan::BuildForm() {
  auto* left = new QVBoxLayout;
  left->addWidget(BuildScanOptions());
  left->addWidget(BuildDuplex());
  left->addStretch();

  pcScanMem_ = Named(new QTabWidget(this), "pcScanMem", "Scan memories");
  for (int p = 0; p < kScanPageCount; ++p) pcScanMem_->addTab(BuildScanPage(p), kPages[p].caption);

  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(pcScanMem_, 1);

  BuildBottom();
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(memoHelpText_, 1);
  bottom->addWidget(OKBtn_, 0, Qt::AlignBottom);
  bottom->addWidget(CancelBtn_, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  AddHelp();
}

QGroupBox* TfrmScan::BuildScanOptions() {
  gbScanOptions_ = Named(new QGroupBox("Scan Options", this), "gbScanOptions");
  QWidget* g = gbScanOptions_;

  lblRecallM1_ = Named(new QLabel("&Priority Channel", g), "lblRecallM1");
  cmbRecallM1_ = Named(new QComboBox(g), "cmbRecallM1", "Priority Channel");
  cmbRecallM1_->setMaxVisibleItems(10);
  lblRecallM1_->setBuddy(cmbRecallM1_);

  lblPriCheck_ = Named(new QLabel("Priority Check &Rate", g), "lblPriCheck");
  cmbPriChkRate_ = Named(new QComboBox(g), "cmbPriChkRate", "Priority Check Rate in channels");
  for (int v = 1; v <= kMaxPriCheckRate; ++v) cmbPriChkRate_->addItem(QString::asprintf("%d", v));
  lblPriCheck_->setBuddy(cmbPriChkRate_);
  auto* lblChannels = Named(new QLabel("channels", g), "lblChannels");

  chk3Beep_ = Named(new QCheckBox("Enable 3 beeps on Group Scan", g), "chk3Beep");
  chkGS_PTT_EXIT_ =
      Named(new QCheckBox("Transmit on PRI channel in Group Scan", g), "chkGS_PTT_EXIT");
  // Tied to no setting; kept hidden.
  chkScanEnabled_ = Named(new QCheckBox("Scan Enabled", g), "chkScanEnabled");
  chkScanEnabled_->hide();

  auto* lblScanSkipTime = Named(new QLabel("Scan Skip &Time", g), "lblScanSkipTime");
  edtScanSkipTime_ = Named(new QLineEdit(g), "edtScanSkipTime", "Scan Skip Time in seconds");
  edtScanSkipTime_->setMaxLength(6);
  edtScanSkipTime_->setFixedWidth(50);
  InputRule::Install(edtScanSkipTime_, DigitOrPointKey);
  OnEnterKey(edtScanSkipTime_, [this] { edtScanSkipTimeEnter(); });
  lblScanSkipTime->setBuddy(edtScanSkipTime_);
  udScanSkipTime_ = Named(new UpDown(g), "udScanSkipTime");
  udScanSkipTime_->SetBuddy(edtScanSkipTime_);
  connect(udScanSkipTime_, &UpDown::Stepped, this, &TfrmScan::udScanSkipTimeClick);
  auto* lblScanSkipSec = Named(new QLabel("sec", g), "lblScanSkipSec");
  skipTimeControls_ = {lblScanSkipTime, edtScanSkipTime_, udScanSkipTime_, lblScanSkipSec};

  lblScanMemory_ = Named(new QLabel("Scan &Memory", g), "lblScanMemory");
  cbScanMemory_ = Named(new QComboBox(g), "cbScanMemory", "Scan Memory");
  cbScanMemory_->addItems({"Scan memory 1", "Scan memory 2", "NetScan memory"});
  lblScanMemory_->setBuddy(cbScanMemory_);
  chkUserModNSMem_ = Named(new QCheckBox("User can modify NetScan memory", g), "chkUserModNSMem");
  chkUserModScanMode_ = Named(new QCheckBox("User can modify Scan mode", g), "chkUserModScanMode");

  auto* grid = new QGridLayout(g);
  grid->addWidget(lblRecallM1_, 0, 0);
  grid->addWidget(cmbRecallM1_, 0, 1);
  grid->addWidget(lblPriCheck_, 1, 0);
  auto* rateRow = new QHBoxLayout;
  rateRow->addWidget(cmbPriChkRate_);
  rateRow->addWidget(lblChannels);
  rateRow->addStretch();
  grid->addLayout(rateRow, 1, 1);
  grid->addWidget(chk3Beep_, 2, 0, 1, 2);
  grid->addWidget(chkGS_PTT_EXIT_, 3, 0, 1, 2);
  grid->addWidget(lblScanSkipTime, 4, 0);
  auto* skipRow = new QHBoxLayout;
  skipRow->setSpacing(2);
  skipRow->addWidget(edtScanSkipTime_);
  skipRow->addWidget(udScanSkipTime_);
  skipRow->addSpacing(4);
  skipRow->addWidget(lblScanSkipSec);
  skipRow->addStretch();
  grid->addLayout(skipRow, 4, 1);
  grid->addWidget(lblScanMemory_, 5, 0);
  grid->addWidget(cbScanMemory_, 5, 1);
  grid->addWidget(chkUserModNSMem_, 6, 0, 1, 2);
  grid->addWidget(chkUserModScanMode_, 7, 0, 1, 2);
  return gbScanOptions_;
}

QGroupBox* TfrmScan::BuildDuplex() {
  gbDuplex_ = Named(new QGroupBox("Duplex Channels", this), "gbDuplex");
  auto* layout = new QVBoxLayout(gbDuplex_);
  auto* grid = new QGridLayout;
  for (int i = 0; i < kDuplexChannelCount; ++i) {
    const int channel = i < 8 ? i + 1 : i - 8 + 41;
    duplexBoxes_[i] =
        Named(new QCheckBox(QString::number(channel), gbDuplex_), QString("chkDup%1").arg(channel),
              QString("Duplex channel %1").arg(channel));
    grid->addWidget(duplexBoxes_[i], i / 8, i % 8);
  }
  layout->addLayout(grid);
  layout->addLayout(SelectButtons(gbDuplex_, "btnDupSelectAll", "btnDupDeselectAll",
                                  "duplex channels", duplexBoxes_, kDuplexCaptions));
  return gbDuplex_;
}

QWidget* TfrmScan::BuildScanPage(int p) {
  const PageInfo& info = kPages[p];
  auto* page = Named(new QWidget, info.name);
  pages_[p] = page;
  auto* layout = new QVBoxLayout(page);
  if (info.radioSuffix != nullptr) {
    openScan_[p] = Named(new QRadioButton("&Open Scan", page), QString("rbOS") + info.radioSuffix,
                         QString(info.caption) + " Open Scan");
    groupScan_[p] = Named(new QRadioButton("&Group Scan", page), QString("rbGS") + info.radioSuffix,
                          QString(info.caption) + " Group Scan");
    auto* mode = new QButtonGroup(page);
    mode->addButton(openScan_[p]);
    mode->addButton(groupScan_[p]);
    auto* row = new QHBoxLayout;
    row->addWidget(openScan_[p]);
    row->addWidget(groupScan_[p]);
    row->addStretch();
    layout->addLayout(row);
  }
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  for (int n = 0; n < kCbChannelCount; ++n) {
    scanBoxes_[p][n] = Named(new QCheckBox(QString::number(n + 1), page),
                             QString("%1%2").arg(info.boxPrefix).arg(n + 1),
                             QString("%1 channel %2").arg(info.caption).arg(n + 1));
    grid->addWidget(scanBoxes_[p][n], n / kChannelColumns, n % kChannelColumns);
  }
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(
      SelectButtons(page, info.selectName, info.deselectName, info.caption, scanBoxes_[p],
                    kScanPageCaptions));
  return page;
}

void TfrmScan::BuildBottom() {
  memoHelpText_ = Named(new QPlainTextEdit(this), "memoHelpText", "Help");
  memoHelpText_->setFixedHeight(48);
  memoHelpText_->setFocusPolicy(Qt::ClickFocus);
  OKBtn_ = Named(new QPushButton("OK", this), "OKBtn");
  OKBtn_->setDefault(true);
  CancelBtn_ = Named(new QPushButton("Cancel", this), "CancelBtn");
  CancelBtn_->setAutoDefault(false);
  connect(OKBtn_, &QPushButton::clicked, this, &TfrmScan::OKBtnClick);
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmScan::AddHelp() {
  help_ = new HelpMemo(memoHelpText_);
  using T = HelpMemo::Trigger;
  const struct {
    QWidget* control;
    const char* text;
    T trigger;
  } kHelp[] = {
      {lblRecallM1_,
       "Set the priority channel. Used in group scan and also with the priority button",
       T::kPointer},
      {cmbRecallM1_,
       "Set the priority channel. Used in group scan and also with the priority button", T::kFocus},
      {lblPriCheck_, "Number of channels scanned before the priority channel is checked",
       T::kPointer},
      {cmbPriChkRate_, "Number of channels scanned before the priority channel is checked",
       T::kFocus},
      {chk3Beep_,
       "During group scan if held on a scan channel and during that period, priority channel "
       "becomes active then switch over to priority channel and generate triple beep",
       T::kFocusAndPointer},
      {chkGS_PTT_EXIT_,
       "While held on a scan channel while scanning in Group Scan, a press of PTT will cause "
       "transmit on priority channel.",
       T::kFocusAndPointer},
      {chkUserModNSMem_, "Allow user to modify channels in NetScan memory", T::kFocusAndPointer},
      {chkUserModScanMode_, "Allow user to change scan mode", T::kFocusAndPointer},
      {lblScanMemory_, "Set radio scan memory", T::kPointer},
      {cbScanMemory_, "Set radio scan memory", T::kFocus},
      {gbDuplex_, "Select from channels 1 - 8 for duplex operation", T::kPointer},
      {pages_[0], "Select from channels 1 - 80 for Scan Mem 1", T::kPointer},
      {pages_[1], "Select from channels 1 - 80 for Scan Mem 2", T::kPointer},
      {pages_[2], "Select from channels 1 - 80 for NetScan", T::kPointer},
  };
  for (const auto& entry : kHelp) {
    help_->Add(entry.control, entry.text, entry.trigger);
    // Screen readers announce the same text the help area shows.
    entry.control->setAccessibleDescription(entry.text);
  }
  for (QWidget* clearer :
       {static_cast<QWidget*>(this), static_cast<QWidget*>(OKBtn_),
        static_cast<QWidget*>(CancelBtn_), static_cast<QWidget*>(gbScanOptions_)})
    help_->AddClearer(clearer);
}
