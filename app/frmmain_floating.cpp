// The main window's side of the floating display: the "Floating Display"
// check item that opens and closes it, and the poll that notices the radio
// going away and coming back.

#include <QAction>
#include <QTimer>

#include "frmmain.h"
#include "mainmenubar.h"
#include "transferflows.h"

namespace {
constexpr int kPollFloatingRadioMs = 10000;
}  // namespace

void TfrmMain::BuildFloatingDisplay() {
  connect(tmrPollFloatingRadio_, &QTimer::timeout, this, &TfrmMain::PollFloatingRadio);
  QAction* item = menus_->Action("mnuFloatingDisplay");
  connect(item, &QAction::triggered, this, [this, item](bool checked) {
    // The item's check mark follows the panel, not the click: put back
    // what it showed before the click toggled it.
    item->setChecked(!checked);
    RunCommand(&TfrmMain::mnuFloatingDisplayClick);
  });
}

void TfrmMain::PollFloatingRadio() {
  // Any whole-memory worker (the EEPROM editor's Read All and Write All
  // too) holds the radio for many seconds: waiting for it here would
  // freeze every window, its progress dialog's Cancel included. The tick
  // passes; the next one polls.
  if (flows_->Lane().Busy()) return;
  RunCommand(&TfrmMain::tmrPollFloatingRadioTimer);
}

void TfrmMain::mnuFloatingDisplayClick() {
  QAction* item = menus_->Action("mnuFloatingDisplay");
  if (item->isChecked()) {
    tmrPollFloatingRadio_->stop();
    item->setChecked(false);
    if (openers_.floatingClose) openers_.floatingClose(floatingProductId_);
    return;
  }
  if (!PortCheck()) return;
  // The current model is the loaded data's; the panel only needs to know
  // which radio answers, so a refused radio leaves the model as it was.
  const ProductIdCheck check = CheckProductId();
  if (!check.ok) return;
  floatingProductId_ = check.productId;
  radioLost_ = false;
  tmrPollFloatingRadio_->start(kPollFloatingRadioMs);
  item->setChecked(true);
  if (openers_.floatingShow) openers_.floatingShow(floatingProductId_);
}

void TfrmMain::FloatingDisplayClosed() {
  tmrPollFloatingRadio_->stop();
  if (QAction* item = menus_->Action("mnuFloatingDisplay")) item->setChecked(false);
}

void TfrmMain::tmrPollFloatingRadioTimer() {
  int id = 0;
  if (!context_.shared.radio.ReadProductId(id)) {
    if (openers_.floatingRadioLost) openers_.floatingRadioLost(floatingProductId_);
    radioLost_ = true;
    return;
  }
  if (!radioLost_) return;
  radioLost_ = false;
  const ProductIdCheck check = CheckProductId();
  if (!check.ok) return;
  floatingProductId_ = check.productId;
  if (openers_.floatingDisplayRequest) openers_.floatingDisplayRequest(floatingProductId_);
}
