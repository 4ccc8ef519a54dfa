#include "frmbatch.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "announce.h"
#include "batchlanejob.h"
#include "controls.h"
#include "inputrule.h"
#include "messages.h"
#include "numberfield.h"
#include "portmap.h"
#include "selcall.h"
#include "sharedobjects.h"
#include "transferflows.h"

namespace {
constexpr int kMaxCount = 9999;
const QString kPromptRole = "Next step";
const QString kNoteRole = "Radio message";

const QString kProgressRole = "Transfer progress";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// What the progress bar is counting now: each radio's bar runs three times.
QString StageText(intptr_t stage) {
  switch (static_cast<BatchStage>(stage)) {
    case BatchStage::kWrite: return "Writing";
    case BatchStage::kVerify: return "Verifying";
    default: return "Reading";
  }
}
}  // namespace

TfrmBatch::TfrmBatch(BatchWindowContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
  setObjectName("frmBatch");
  setWindowTitle("Batch Write");
  BuildLayout();
  NoDefaultButtons(this);
  Say(lblNote_, kNoteRole, "");
  ShowRunning(false);
}

// The lane has ended any run by now: closing the window finishes it, and
// the session's flows, which go before the windows they own, stop their
// lane. The flows may be gone already, so they are not touched here.
TfrmBatch::~TfrmBatch() { receiver_.Detach(); }

void TfrmBatch::BuildLayout() {
  edtFirstIdent_ = Named(new QLineEdit(this), "edtFirstIdent", "First ident");
  edtFirstIdent_->setMaxLength(kBatchIdentDigits);
  InputRule::Install(edtFirstIdent_, DigitKey);
  spnCount_ = MakeNumberField(this, {"spnCount", "edtCount", 1, kMaxCount, true}, "Number of radios");
  edtLog_ = Named(new QLineEdit(this), "edtLog", "Log file");
  btnBrowse_ = MakeButton(this, "btnBrowseLog", "&Browse...", "Choose the log file");

  auto* form = new QFormLayout;
  // Short numbers keep their own width; only the log file's path widens.
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  edtFirstIdent_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  lblFirstIdent_ = MakeLabel(this, "lblFirstIdent", "&First ident:", edtFirstIdent_);
  form->addRow(lblFirstIdent_, edtFirstIdent_);
  form->addRow(MakeLabel(this, "lblCount", "&Number of radios:", spnCount_), spnCount_);
  auto* logRow = new QHBoxLayout;
  logRow->addWidget(edtLog_, 1);
  logRow->addWidget(btnBrowse_);
  form->addRow(MakeLabel(this, "lblLog", "&Log file:", edtLog_), logRow);

  lblPrompt_ = MakeLabel(this, "lblPrompt", "");
  lblPrompt_->setWordWrap(true);
  QFont bigger = lblPrompt_->font();
  bigger.setBold(true);
  lblPrompt_->setFont(bigger);
  lblNote_ = MakeLabel(this, "lblNote", "");
  lblNote_->setWordWrap(true);
  prbTransfer_ = Named(new QProgressBar(this), "prbTransfer", kProgressRole);
  prbTransfer_->setRange(0, 100);

  const std::vector<std::string> columns = BatchLogColumns();
  tblRadios_ = Named(new QTableWidget(0, static_cast<int>(columns.size()), this), "tblRadios",
                     "Radios done");
  QStringList headers;
  for (const std::string& column : columns) headers << Q(column);
  tblRadios_->setHorizontalHeaderLabels(headers);
  tblRadios_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRadios_->horizontalHeader()->setStretchLastSection(true);

  btnStart_ = MakeButton(this, "btnStart", "&Start");
  btnStop_ = MakeButton(this, "btnStop", "S&top", "Stop the batch");
  btnClose_ = MakeButton(this, "btnClose", "&Close");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {btnStart_, btnStop_, btnClose_}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(lblPrompt_);
  layout->addWidget(prbTransfer_);
  layout->addWidget(lblNote_);
  layout->addWidget(tblRadios_, 1);
  layout->addLayout(buttons);
  resize(900, 420);

  connect(btnStart_, &QPushButton::clicked, this, &TfrmBatch::StartClick);
  connect(btnStop_, &QPushButton::clicked, this, &TfrmBatch::StopClick);
  connect(btnClose_, &QPushButton::clicked, this, &TfrmBatch::reject);
  connect(btnBrowse_, &QPushButton::clicked, this, &TfrmBatch::BrowseClick);
}

void TfrmBatch::PrepareForConfiguration() {
  const bool idents = BatchGivesIdents(context_.shared.image, context_.shared.info);
  lblFirstIdent_->setVisible(idents);
  edtFirstIdent_->setVisible(idents);
  if (!running_) Say(lblPrompt_, kPromptRole, "Set the batch up, then Start.");
}

// Every change of the prompt or the radio's message is a step the user
// at the bench must hear, not only see.
void TfrmBatch::Say(QLabel* label, const QString& role, const QString& text) {
  SetSpokenText(label, role, text);
  if (!text.isEmpty() && isVisible()) Announce(label);
}

void TfrmBatch::ShowStage(const QString& stage) {
  prbTransfer_->setFormat(stage.isEmpty() ? QString("%p%") : stage + ": %p%");
  prbTransfer_->setAccessibleName(stage.isEmpty() ? kProgressRole : kProgressRole + ": " + stage);
}

void TfrmBatch::Refuse(const QString& text) {
  QMessageBox::warning(this, "Batch Write", text);
}

// As the Selcall window asks before it stores an ident with empty
// positions: each goes to the radio as digit F.
bool TfrmBatch::ShortIdentAccepted(const std::string& first) {
  if (!edtFirstIdent_->isVisible()) return true;
  const std::string notice = EmptyIdentNotice(RadioIdentPositions(first));
  if (notice.empty() || !IsRadioIdentText(first)) return true;
  const auto answer = QMessageBox::warning(this, "Batch Write",
                                           Q(notice) + "\n\nStart the batch with this ident?",
                                           QMessageBox::Ok | QMessageBox::Cancel,
                                           QMessageBox::Cancel);
  if (answer == QMessageBox::Ok) return true;
  edtFirstIdent_->setFocus();
  return false;
}

void TfrmBatch::BrowseClick() {
  if (!context_.chooseLog) return;
  const QString path = context_.chooseLog(this);
  if (!path.isEmpty()) edtLog_->setText(path);
}

void TfrmBatch::StartClick() {
  if (running_) return;
  // Whatever ran before has ended and been closed before the port check.
  if (!context_.portCheck()) return;
  const TransferState state = context_.state();
  BatchSettings settings;
  settings.port = PortMap::ComName(state.portNumber);
  settings.firstIdent = edtFirstIdent_->text().toStdString();
  settings.count = spnCount_->value();
  settings.logPath = edtLog_->text().trimmed().toStdString();
  if (context_.configFiles) settings.configPaths = context_.configFiles();
  if (!ShortIdentAccepted(settings.firstIdent)) return;
  SharedObjects& shared = context_.shared;
  run_.reset();
  run_ = std::make_unique<BatchLaneJob>(shared.port, shared.radio, shared.info, context_.build,
                                        shared.image, state, context_.flows.Archive(),
                                        &receiver_);
  std::string error;
  if (!run_->Prepare(settings, error)) {
    run_.reset();
    QString text = Q(error);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    Refuse(text + ": nothing written.");
    return;
  }
  tblRadios_->setRowCount(0);
  QStringList notes;
  for (const std::string& note : run_->Notes()) notes << Q(note);
  Say(lblNote_, kNoteRole, notes.join("\n"));
  prbTransfer_->setValue(0);
  count_ = settings.count;
  WorkerLane::Ending ending;
  ending.deliverPending = [this] {
    QCoreApplication::sendPostedEvents(this, VornMessageEvent::EventType());
  };
  ending.closingSteps = [this](const TransferOutcome&) { Ended(); };
  if (run_->Start(context_.flows.Lane(), std::move(ending)) == 0) {
    run_.reset();
    Refuse("The batch could not be started.");
    return;
  }
  ShowRunning(true);
  // Start is disabled now; the one thing left to do is stop.
  btnStop_->setFocus();
}

void TfrmBatch::StopClick() {
  if (!running_ || !run_) return;
  run_->RequestStop();
  Say(lblPrompt_, kPromptRole, "Stopping...");
  btnStop_->setEnabled(false);
}

// Closing cancels a transfer under way; the notice of it would go with
// the window, so the user is told first what the radio is left as.
bool TfrmBatch::CloseDuringTransferAccepted() {
  if (!running_ || !run_ || !run_->Transferring()) return true;
  const auto answer = QMessageBox::warning(
      this, "Batch Write",
      "A radio is being read or written. Closing stops the batch and cancels that transfer: "
      "the radio is reset with only part of the configuration written (or with its old "
      "configuration, if it was being read), and the log shows it as cancelled. Program it "
      "again before it is used.\n\nClose the window?",
      QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
  return answer == QMessageBox::Ok;
}

void TfrmBatch::reject() {
  if (!CloseDuringTransferAccepted()) return;
  // The lane lets the batch end (a transfer under way is cancelled and
  // its radio reset) and closes it before the window goes.
  if (running_ && run_) {
    run_->RequestStop();
    context_.flows.Lane().Finish();
  }
  QDialog::reject();
}

bool TfrmBatch::event(QEvent* e) {
  if (e->type() != VornMessageEvent::EventType()) return QDialog::event(e);
  const auto* m = static_cast<VornMessageEvent*>(e);
  if (m->message == WM_BATCH && m->wParam == kBatchProgressReport)
    prbTransfer_->setValue(static_cast<int>(m->lParam));
  else if (m->message == WM_BATCH && m->wParam == kBatchStageReport) {
    ShowStage(StageText(m->lParam));
    prbTransfer_->setValue(0);
    Announce(prbTransfer_);
  }
  else if (m->message == WM_BATCH)
    TakeReports();
  else if (m->message == WM_TRANSFER_CLOSED)
    context_.flows.Lane().Closed(m->lParam);
  return true;
}

void TfrmBatch::TakeReports() {
  if (!run_) return;
  for (const BatchReport& report : run_->TakeReports()) {
    if (report.kind == kBatchRowReport) AddRow(BatchRowFields(report.row));
    if (report.kind == kBatchNoteReport)
      Say(lblNote_, kNoteRole, Q(report.text));
    else
      Say(lblPrompt_, kPromptRole, Q(report.text));
  }
}

void TfrmBatch::AddRow(const std::vector<std::string>& fields) {
  const int row = tblRadios_->rowCount();
  tblRadios_->insertRow(row);
  for (size_t column = 0; column < fields.size(); ++column)
    tblRadios_->setItem(row, static_cast<int>(column), new QTableWidgetItem(Q(fields[column])));
  tblRadios_->scrollToItem(tblRadios_->item(row, 0));
}

void TfrmBatch::Ended() {
  TakeReports();
  const BatchSummary summary = run_->Summary();
  QString text = QString("%1 of %2 radios OK, %3 failed")
                     .arg(summary.ok)
                     .arg(count_)
                     .arg(summary.failed);
  if (summary.stopped) text += ", stopped";
  if (!summary.error.empty()) text += ": " + Q(summary.error);
  Say(lblPrompt_, kPromptRole, text + ".");
  ShowRunning(false);
}

void TfrmBatch::ShowRunning(bool running) {
  running_ = running;
  for (QWidget* w : std::initializer_list<QWidget*>{edtFirstIdent_, spnCount_, edtLog_,
                                                    btnBrowse_, btnStart_, btnClose_})
    w->setEnabled(!running);
  const bool stopHadFocus = btnStop_->hasFocus();
  btnStop_->setEnabled(running);
  if (!running) {
    prbTransfer_->setValue(0);
    ShowStage(QString());
    if (stopHadFocus) btnStart_->setFocus();
  }
}
