// The main window as the transfers' host: "Read radio", "Write radio" and
// "Firmware Version", the port and product checks every radio command
// starts with, and the progress dialog the worker's messages drive.

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

#include "bytetrace.h"
#include "frmfirmware.h"
#include "frmreadwrite.h"
#include "frmmain.h"
#include "mainmenubar.h"
#include "mainstatusbar.h"
#include "messages.h"
#include "portmessages.h"
#include "transferflows.h"

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
  // The arrays mark is a setting the transfers read from their state.
  QAction* arrays = menus_->Action("mnuSetupEngArrayRdWr");
  transferState_.arraysChecked = arrays->isChecked();
  connect(arrays, &QAction::toggled, this, [this](bool on) { transferState_.arraysChecked = on; });
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
  // An editor's OK, a load or a read may have changed what is unsaved.
  RefreshModified();
}

void TfrmMain::btnReadRadioClick() {
  if (ConfirmUnsavedChanges("reading the radio")) flows_->ReadRadio();
}
void TfrmMain::btnWriteRadioClick() {
  if (!ConfirmWriteOfShortFile()) return;
  // The radio as it was goes into the read archive first, so the write can
  // be taken back with "Restore Radio...". A radio that cannot be checked
  // or read is not written.
  EEPROM before;
  if (!flows_->PortCheck() || !flows_->CheckRadioFor(context_.shared.image)) return;
  flows_->FinishPreviousTransfer();
  const bool read = flows_->ReadRadioAside(before);
  flows_->FinishPreviousTransfer();
  if (!read || flows_->LastOutcome().result != kTransferCompleted) {
    ShowMessage("The radio could not be read before the write: nothing was written.",
                "Write To Radio", PromptIcon::Warning);
    return;
  }
  flows_->SetRestorePath(flows_->LastArchivedPath());
  flows_->WriteRadio();
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

void TfrmMain::ClearRadioPanel() { statusBar_->ShowRadio(QString()); }

void TfrmMain::ReportTraceFailures(ByteTrace& trace) {
  trace_ = &trace;
  SetMessageHandler(WM_TRACE_FAILED, [this](intptr_t, intptr_t error) {
    statusBar_->ShowNotice(
        QString::fromStdString(TraceFailureText(trace_->Path(), static_cast<int>(error))));
  });
  trace.SetFailureReceiver(&receiver_);
}

void TfrmMain::ReportArchiveFailure(const std::string& text) {
  statusBar_->ShowNoticeFor(QString::fromStdString(text), kArchiveReportMs);
}

bool TfrmMain::FloatingDisplayOn() const {
  const QAction* item = menus_->Action("mnuFloatingDisplay");
  return item && item->isChecked();
}

void TfrmMain::TransferStarting(int) {
  if (FloatingDisplayOn()) tmrPollFloatingRadio_->stop();
}

void TfrmMain::TransferEnded(const TransferOutcome&) {
  if (FloatingDisplayOn()) tmrPollFloatingRadio_->start();
  UpdateEditButtons();
}

void TfrmMain::RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) {
  RunTransferDialog(*frmReadWrite_, setup, startWorker);
}

void TfrmMain::DeliverPendingMessages() {
  QCoreApplication::sendPostedEvents(this, VornMessageEvent::EventType());
}
