// The window's radio commands: one address, Read All and Write All on the
// worker lane with the progress dialog, reset and programming mode. Each
// starts by letting a worker still finishing end: after a Cancel click the
// window is usable again while the worker completes its block and resets
// the radio, and TRadio serves one command at a time.

#include <QCoreApplication>
#include <QMessageBox>
#include <QTableWidget>

#include "windowcontext.h"
#include "eebuff.h"
#include "eeprom_text.h"
#include "frmeepromedit.h"
#include "frmreadwrite.h"
#include "messages.h"
#include "progress.h"
#include "radio.h"
#include "transferhost.h"

void TfrmEEpromEdit::FinishWorker() { lane_.Finish(); }

void TfrmEEpromEdit::OneAddress(bool write) {
  FinishWorker();
  if (!TakeBackGrid()) return;
  const int address = sg_eeprom_->currentRow() < 0
                          ? -1
                          : EeCellAddress(sg_eeprom_->currentRow() + 1,
                                          sg_eeprom_->currentColumn(), dataSize_);
  if (address < 0) {
    Message(write ? "Please select data location to write" : "Please select data location to read",
            write ? "Write EEPROM" : "Read EEPROM", QMessageBox::NoIcon);
    return;
  }
  const QString line = write ? "Writing EEPROM ..." : "Reading EEPROM ...";
  LogStart(line);
  TRadio& radio = context_.shared.radio;
  const bool ok = write ? EeWriteAddress(radio, *workingCopy_, context_.shared.image, address, dataSize_)
                        : EeReadAddress(radio, *workingCopy_, address, dataSize_);
  ShowData();
  LogReplace(line + (ok ? " OK" : " Fail"));
}

void TfrmEEpromEdit::ReadWriteAll(int direction) {
  FinishWorker();
  if (!workingCopy_) return;
  const bool write = direction == kDirectionWrite;
  if (write && !TakeBackGrid()) return;
  if (!context_.shared.radio.EnterProgMode()) {
    Message(kEeProgModeFailText, write ? kEeWriteAllCaption : kEeReadAllCaption,
            QMessageBox::NoIcon);
    return;
  }
  ProgressSetup setup;
  setup.caption = write ? "Writing to Radio" : "Reading from Radio";
  setup.minimum = 0;
  setup.maximum = workingCopy_->GetLength() - 1;
  setup.direction = direction;
  setup.cancelEvent = &cancel_;
  WorkerLane::Ending ending;
  ending.deliverPending = [this] {
    QCoreApplication::sendPostedEvents(this, VornMessageEvent::EventType());
  };
  ending.closingSteps = [this, direction](const TransferOutcome& outcome) {
    WorkerClosingSteps(direction, outcome);
  };
  LogStart(QString::fromStdString(EepromLogStart(direction)));
  RunTransferDialog(*frmReadWrite_, setup, [&] {
    return worker_.Start(direction, *workingCopy_, &receiver_, cancel_, std::move(ending));
  });
  // A worker that has ended no longer touches the working copy; one still
  // finishing shows the data in its closing steps.
  if (!write && !lane_.Worker().IsRunning()) ShowData();
}

void TfrmEEpromEdit::WorkerClosingSteps(int direction, const TransferOutcome& outcome) {
  if (direction == kDirectionRead) ShowData();
  if (outcome.resetFailed) Message(kEeTimeoutText, kEeCommsErrorCaption, QMessageBox::Warning);
  LogReplace(QString::fromStdString(EepromLogEnd(direction, outcome)));
}

void TfrmEEpromEdit::btnResetClick() {
  FinishWorker();
  const QString line = "RESET radio...";
  LogStart(line);
  const bool ok = context_.shared.radio.ResetRadio();
  LogReplace(line + (ok ? " OK" : " fail"));
}

void TfrmEEpromEdit::btnProgrModeClick() {
  FinishWorker();
  const QString line = "Prog mode...";
  LogStart(line);
  const bool ok = context_.shared.radio.EnterProgMode();
  LogReplace(line + (ok ? " OK" : " fail"));
  if (!ok) Message(kEeTimeoutText, kEeCommsErrorCaption, QMessageBox::Warning);
}

bool TfrmEEpromEdit::event(QEvent* e) {
  if (e->type() != VornMessageEvent::EventType()) return QDialog::event(e);
  const auto* m = static_cast<VornMessageEvent*>(e);
  HandleMessage(m->message, m->wParam, m->lParam);
  return true;
}

void TfrmEEpromEdit::HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam) {
  if (message == WM_TRANSFER) {
    ProgressStep step = MapTransferMessage(worker_.Direction(), wParam, lParam);
    AddRadioState(step, worker_.Direction(), "");
    ApplyProgressStep(*frmReadWrite_, step);
  } else if (message == WM_TRANSFER_CLOSED)
    lane_.Closed(lParam);
}
