// The main window as the transfers' host: "Read radio", "Write radio" and
// "Firmware Version", the port and product checks every radio command
// starts with, and the progress dialog the worker's messages drive.

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "frmfirmware.h"
#include "controls.h"
#include "frmreadwrite.h"
#include "frmmain.h"
#include "messages.h"
#include "portmessages.h"
#include "radio_rw.h"

namespace {
constexpr int kPollFloatingRadioMs = 10000;
// Long enough to be read on looking up from the radio.
constexpr int kArchiveReportMs = 60000;
}  // namespace

void TfrmMain::BuildTransfers() {
  tmrPollFloatingRadio_ = new QTimer(this);
  tmrPollFloatingRadio_->setObjectName("tmrPollFloatingRadio");
  tmrPollFloatingRadio_->setInterval(kPollFloatingRadioMs);

  frmReadWrite_ = new TfrmReadWrite(this);
  flows_ = std::make_unique<TransferFlows>(RadioObjectsOf(context_.shared, context_.build),
                                           transferState_, *this, &receiver_);
  flows_->SetReadArchive(&archive_);
  for (unsigned message : {WM_TRANSFER, WM_TRANSFER_CLOSED})
    SetMessageHandler(message, [this, message](intptr_t wParam, intptr_t lParam) {
      flows_->HandleMessage(message, wParam, lParam, *frmReadWrite_);
    });
}

void TfrmMain::RunCommand(void (TfrmMain::*handler)()) {
  // Cancel closes the progress dialog before the worker has reset the
  // radio; its closing steps must run before anything else touches the
  // radio, the image or the data source state.
  flows_->FinishPreviousTransfer();
  (this->*handler)();
}

void TfrmMain::btnReadRadioClick() { flows_->ReadRadio(); }
void TfrmMain::btnWriteRadioClick() {
  if (ConfirmWriteOfShortFile()) flows_->WriteRadio();
}

void TfrmMain::mnuFirmwareClick() {
  if (!PortCheck()) return;
  TfrmFirmware form(context_.shared.radio, context_.shared.info, context_.build, *this, this);
  form.exec();
}

bool TfrmMain::OpenPort() { return flows_->OpenPort(); }
bool TfrmMain::PortCheck() { return flows_->PortCheck(); }

TfrmMain::ProductIdCheck TfrmMain::CheckProductId() {
  ProductIdCheck check;
  check.ok = flows_->CheckProductId(check.productId, check.rowIndex);
  return check;
}

std::string TfrmMain::OpenPortFailureText(const std::string& portName) {
  const SerialPort& port = context_.shared.port;
  return ::OpenPortFailureText(portName, port.LastOpenError(), port.LastOpenErrno());
}

void TfrmMain::ClearRadioPanel() { SetSpokenText(panels_[2], "Radio", QString()); }

void TfrmMain::ReportArchiveFailure(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text), kArchiveReportMs);
}

bool TfrmMain::IsFloatingDisplayOn() {
  const QAction* item = actions_.value("mnuFloatingDisplay");
  return item && item->isChecked();
}

void TfrmMain::StopPollTimer() { tmrPollFloatingRadio_->stop(); }
void TfrmMain::StartPollTimer() { tmrPollFloatingRadio_->start(); }

void TfrmMain::RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) {
  RunTransferDialog(*frmReadWrite_, setup, startWorker);
}

void TfrmMain::DeliverPendingMessages() {
  QCoreApplication::sendPostedEvents(this, VornMessageEvent::EventType());
}
