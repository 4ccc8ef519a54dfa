// The engineering options window's controls.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls.h"
#include "frmengoptions.h"
#include "inputrule.h"
#include "keyfilters.h"
#include "updown.h"
#include "numberfield.h"

void TfrmEngOptions::BuildControls() {
  auto* groups = new QHBoxLayout;
  groups->addWidget(BuildThresholds());
  auto* right = new QVBoxLayout;
  right->addWidget(BuildGeneral());
  right->addWidget(BuildCtcss());
  right->addStretch();
  groups->addLayout(right);

  auto* bottom = new QHBoxLayout;
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName("Memo1");
  memo->setAccessibleName("Notes");
  memo->setReadOnly(true);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setFixedHeight(48);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOk");
  ok->setAccessibleName("OK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  cancel->setAccessibleName("Cancel");
  bottom->addWidget(memo, 1);
  bottom->addWidget(ok);
  bottom->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // shrinks when rows are hidden
  connect(ok, &QPushButton::clicked, this, &TfrmEngOptions::btnOkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* TfrmEngOptions::BuildThresholds() {
  gbSquelchThresholds_ = MakeGroup(this, "gbSquelchThresholds", "Squelch Thresholds");
  auto* grid = new QGridLayout(gbSquelchThresholds_);
  for (int i = 0; i < kSquelchThresholds; ++i) {
    const QString caption = i == 0 ? QString("Close") : QString("SQL-%1").arg(i);
    const QByteArray upDownName = QString("udSql_%1").arg(i).toLatin1();
    const QByteArray editName = QString("editSql_%1").arg(i).toLatin1();
    udSql_[i] = MakeNumberField(gbSquelchThresholds_,
                           {upDownName.constData(), editName.constData(), 0, 255, true},
                           i == 0 ? QString("Close threshold") : caption + " threshold");
    QLabel* label = MakeLabel(gbSquelchThresholds_, {}, caption, udSql_[i]);
    sqlRow_[i][0] = label;
    sqlRow_[i][1] = udSql_[i];
    grid->addWidget(label, i, 0);
    grid->addWidget(udSql_[i], i, 1);
  }
  editNoiseVolts_ = new QLineEdit(gbSquelchThresholds_);
  editNoiseVolts_->setObjectName("editNoiseVolts");
  editNoiseVolts_->setAccessibleName("Noisevolts");
  editNoiseVolts_->setReadOnly(true);
  editNoiseVolts_->setFixedWidth(60);
  chkAdcPolling_ = MakeCheck(gbSquelchThresholds_, "chkAdcPolling", "A/D &Polling");
  connect(chkAdcPolling_, &QCheckBox::toggled, this, &TfrmEngOptions::chkAdcPollingClick);
  grid->addWidget(MakeLabel(gbSquelchThresholds_, {}, "&Noisevolts", editNoiseVolts_),
                  kSquelchThresholds, 0);
  grid->addWidget(editNoiseVolts_, kSquelchThresholds, 1);
  grid->addWidget(chkAdcPolling_, kSquelchThresholds + 1, 0, 1, 2);
  grid->setRowStretch(kSquelchThresholds + 2, 1);  // rows hidden: the rest stays on top
  return gbSquelchThresholds_;
}

QGroupBox* TfrmEngOptions::BuildGeneral() {
  auto* group = MakeGroup(this, "gbGeneral", "General");
  auto* column = new QVBoxLayout(group);
  chkEnableTx_RxOnly_ = MakeCheck(group, "chkEnableTx_RxOnly", "Enable TX on Rx-only channels");
  auto* nextFree = MakeCheck(group, "CheckBox1", "Transmit on next free channel if busy");
  nextFree->setEnabled(false);  // the radios have no such option yet
  column->addWidget(chkEnableTx_RxOnly_);
  column->addWidget(nextFree);
  return group;
}

QGroupBox* TfrmEngOptions::BuildCtcss() {
  auto* group = MakeGroup(this, "gbCTCSS", "CTCSS/DCS");
  auto* grid = new QGridLayout(group);
  chkCTCSS_5_35_ = MakeCheck(group, "chkCTCSS_5_35", "Enable CTCSS on 5/35");
  chkCTCSS38Ext_ = MakeCheck(group, "chkCTCSS38Ext", "Use extended CTCSS 38-toneset");
  grid->addWidget(chkCTCSS_5_35_, 0, 0, 1, 3);
  grid->addWidget(chkCTCSS38Ext_, 1, 0, 1, 3);

  udCTCSS_RPK_ = MakeNumberField(group, {"udCTCSS_RPK", "editCTCSS_RPK", 0, kRpkDelayMax, true},
                            "CTCSS RPK (cycles)");
  udCTCSS_SilentTail_ =
      MakeNumberField(group, {"udCTCSS_SilentTail", "editCTCSS_SilentTail", 0, kSilentTailMax, true},
                 "CTCSS Silent Tail (cycles)");
  grid->addWidget(MakeLabel(group, {}, "CTCSS &RPK", udCTCSS_RPK_), 2, 0);
  grid->addWidget(udCTCSS_RPK_, 2, 1);
  grid->addWidget(MakeLabel(group, {}, "(cycles)"), 2, 2);
  grid->addWidget(MakeLabel(group, {}, "CTCSS &Silent Tail", udCTCSS_SilentTail_), 3, 0);
  grid->addWidget(udCTCSS_SilentTail_, 3, 1);
  grid->addWidget(MakeLabel(group, {}, "(cycles)"), 3, 2);

  // The deviations are typed in hertz and kept in steps; the arrows move
  // one step, whatever the text shows.
  struct Deviation {
    const char* edit;
    const char* upDown;
    const char* caption;
    QLineEdit** field;
    int EngOptionsValues::*steps;
  };
  const Deviation rows[] = {
      {"editCTCSS_Hz", "ud_CTCSS_Hz", "CTCSS &Deviation", &editCTCSS_Hz_, &EngOptionsValues::ctcssDev},
      {"editDCS_Hz", "ud_DCS_Hz", "DCS D&eviation", &editDCS_Hz_, &EngOptionsValues::dcsDev},
  };
  int row = 4;
  for (const Deviation& d : rows) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(d.edit);
    edit->setAccessibleName(QString(d.caption).remove('&') + " (Hz)");
    edit->setMaxLength(4);
    edit->setFixedWidth(60);
    InputRule::Install(edit, DigitKey);
    auto* upDown = new UpDown(group);
    upDown->setObjectName(d.upDown);
    upDown->setAccessibleName(QString(d.caption).remove('&'));
    upDown->SetBuddy(edit);
    *d.field = edit;
    int EngOptionsValues::*steps = d.steps;
    connect(upDown, &UpDown::Stepped, this,
            [this, edit, steps](bool up) { DeviationStep(edit, values_.*steps, up); });
    OnEnterKey(edit, [this, edit, steps] { DeviationEnter(edit, values_.*steps); });
    auto* cell = new QHBoxLayout;
    cell->addWidget(edit);
    cell->addWidget(upDown);
    grid->addWidget(MakeLabel(group, {}, d.caption, edit), row, 0);
    grid->addLayout(cell, row, 1);
    grid->addWidget(MakeLabel(group, {}, "Hz"), row, 2);
    ++row;
  }
  return group;
}
