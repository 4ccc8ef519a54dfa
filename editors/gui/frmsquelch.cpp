#include "frmsquelch.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls.h"
#include "windowcontext.h"
#include "numberfield.h"

namespace {

}  // namespace

TfrmSquelch::TfrmSquelch(WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("frmSquelch");
  setWindowTitle("Squelch");
  BuildControls();
}

void TfrmSquelch::BuildControls() {
  auto* layout = new QVBoxLayout(this);

  gbSquelchLevel_ = new QGroupBox("Squelch Level", this);
  gbSquelchLevel_->setObjectName("gbSquelchLevel");
  auto* levelRow = new QHBoxLayout(gbSquelchLevel_);
  udSqlLevel_ = MakeNumberField(gbSquelchLevel_,
                           {"udSqlLevel", "editSqlLevel", kSqlLevelMin, kSqlLevelMax, true},
                           "Squelch Level");
  levelRow->addWidget(MakeLabel(gbSquelchLevel_, "SQL", "&SQL", udSqlLevel_));
  levelRow->addWidget(udSqlLevel_);
  levelRow->addStretch();
  layout->addWidget(gbSquelchLevel_);

  auto* timing = new QGroupBox("Squelch Timing", this);
  timing->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(timing);
  udMuteDebounce_ = MakeNumberField(timing,
                               {"udMuteDebounce", "editMuteDebounce", 0, kMuteDebounceMax, true},
                               "Mute Open Debounce Time (ms)");
  udMuteOpen_ = MakeNumberField(
      timing, {"udMuteOpen", "editMuteOpen", 0, kMuteOpenMaxMs, true, kMuteOpenStepMs},
      "Minimum Mute Open Time (ms)");
  grid->addWidget(MakeLabel(timing, "Label1", "Mute Open &Debounce Time:", udMuteDebounce_), 0, 0);
  grid->addWidget(udMuteDebounce_, 0, 1);
  grid->addWidget(MakeLabel(timing, "StaticText1", "(ms)"), 0, 2);
  grid->addWidget(MakeLabel(timing, "Label2", "&Minimum Mute Open Time:", udMuteOpen_), 1, 0);
  grid->addWidget(udMuteOpen_, 1, 1);
  grid->addWidget(MakeLabel(timing, "StaticText2", "(ms)"), 1, 2);
  layout->addWidget(timing);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("btnOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // shrinks when the level group is hidden

  connect(ok, &QPushButton::clicked, this, &TfrmSquelch::btnOKClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSquelch::showEvent(QShowEvent* event) {
  // A window-system show (restoring from minimised) keeps what was typed.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmSquelch::FormShow() {
  values_ = LoadSquelch(context_.shared.image, context_.shared.info, context_.build.productId);
  gbSquelchLevel_->setVisible(values_.levelShown);
  udSqlLevel_->setValue(values_.level);
  udMuteDebounce_->setValue(values_.muteDebounceMs);
  udMuteOpen_->setValue(values_.muteOpenMs);
}

void TfrmSquelch::btnOKClick() {
  values_.level = udSqlLevel_->value();
  values_.muteDebounceMs = udMuteDebounce_->value();
  values_.muteOpenMs = udMuteOpen_->value();
  StoreSquelch(values_, context_.shared.image, context_.shared.info);
  accept();
}
