#include "batchlanejob.h"

#include <utility>

#include "messages.h"

namespace {
// The questions a transfer of the batch may ask, answered as a dealer at
// the bench would: the batch holds the configuration aside, so a read
// replaces no edit data, and a radio that will not go faster is still
// programmed at the default rate.
constexpr QuestionId kAnsweredOk[] = {QuestionId::kReadOverEditData,
                                     QuestionId::kContinueAtDefaultRate};

bool AnsweredOk(QuestionId question) {
  for (QuestionId ok : kAnsweredOk)
    if (ok == question) return true;
  return false;
}

int Percent(int value, int minimum, int maximum) {
  return maximum > minimum ? (value - minimum) * 100 / (maximum - minimum) : 0;
}
}  // namespace

BatchLaneJob::BatchLaneJob(SerialPort& port, TRadio& radio, TradioInfo& info,
                           const BuildConfig& build, const EEPROM& config,
                           const TransferState& state, const ReadArchive* archive,
                           MessageReceiver* window)
    : config_(config),
      image_(config),
      state_(state),
      window_(window),
      flows_(RadioObjects{port, radio, image_, info, build, cancel_}, state_, *this, &queue_),
      loop_(flows_, RadioObjects{port, radio, image_, info, build, cancel_}, *this) {
  flows_.SetReadArchive(archive);
}

BatchLaneJob::~BatchLaneJob() {
  RequestStop();
  flows_.FinishPreviousTransfer();
}

bool BatchLaneJob::Prepare(const BatchSettings& settings, std::string& error) {
  return loop_.Prepare(settings, error);
}

int BatchLaneJob::Start(WorkerLane& lane, WorkerLane::Ending ending) {
  stop_ = false;
  stopEvent_.Reset();
  return lane.StartJob(
      [this] {
        const BatchSummary summary = loop_.Run();
        std::lock_guard<std::mutex> g(lock_);
        summary_ = summary;
      },
      window_, &stopEvent_, std::move(ending));
}

void BatchLaneJob::RequestStop() {
  stop_ = true;
  stopEvent_.Set();
  cancel_.Set();
}

std::deque<BatchReport> BatchLaneJob::TakeReports() {
  std::lock_guard<std::mutex> g(lock_);
  return std::exchange(reports_, {});
}

BatchSummary BatchLaneJob::Summary() const {
  std::lock_guard<std::mutex> g(lock_);
  return summary_;
}

void BatchLaneJob::Report(BatchReport report) {
  const BatchReportKind kind = report.kind;
  {
    std::lock_guard<std::mutex> g(lock_);
    reports_.push_back(std::move(report));
  }
  PostTo(window_, WM_BATCH, kind, 0);
}

void BatchLaneJob::Prompt(const std::string& text) { Report({kBatchPromptReport, text, {}}); }

void BatchLaneJob::StageStarting(BatchStage stage) {
  PostTo(window_, WM_BATCH, kBatchStageReport, static_cast<intptr_t>(stage));
}

void BatchLaneJob::RadioEnded(const BatchRow& row, const std::string& prompt) {
  Report({kBatchRowReport, prompt, row});
}

void BatchLaneJob::ShowMessage(const std::string& text, const std::string& caption, PromptIcon) {
  Report({kBatchNoteReport, caption + ": " + text, {}});
}

bool BatchLaneJob::AskOkCancel(QuestionId question, const std::string& text,
                               const std::string& caption, PromptIcon) {
  if (AnsweredOk(question)) return true;
  Report({kBatchNoteReport, caption + ": " + text + " Cancel", {}});
  return false;
}

void BatchLaneJob::RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) {
  setup_ = setup;
  transferring_ = true;
  if (!startWorker()) {
    transferring_ = false;
    return;
  }
  SetProgress(setup.minimum);
  PumpCancellingOnStop(queue_, flows_, *this, setup.cancelEvent, [this] { return StopRequested(); });
  transferring_ = false;
}

void BatchLaneJob::DeliverPendingMessages() { DeliverQueued(queue_, flows_, *this); }

void BatchLaneJob::ReportArchiveFailure(const std::string& text) {
  Report({kBatchNoteReport, text, {}});
}

void BatchLaneJob::SetProgress(int value) {
  PostTo(window_, WM_BATCH, kBatchProgressReport,
         Percent(value, setup_.minimum, setup_.maximum));
}

void BatchLaneJob::SetActionText(const std::string& text) {
  if (!text.empty()) Report({kBatchNoteReport, text, {}});
}
