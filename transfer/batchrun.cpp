#include "batchrun.h"

#include <utility>

#include "messages.h"

namespace {
// The questions a transfer of the batch may ask, answered as a dealer at
// the bench would: the batch holds the configuration aside, so a read
// replaces no edit data, and a radio that will not go faster is still
// programmed at the default rate.
bool AnsweredOk(const std::string& caption) {
  return caption == "Read From Radio?" || caption == "Set baudrate";
}

int Percent(int value, int minimum, int maximum) {
  return maximum > minimum ? (value - minimum) * 100 / (maximum - minimum) : 0;
}
}  // namespace

BatchRun::BatchRun(SerialPort& port, TRadio& radio, TradioInfo& info, const BuildConfig& build,
                   const EEPROM& config, const TransferState& state, bool arrayFlag,
                   const ReadArchive* archive, MessageReceiver* window)
    : config_(config),
      image_(config),
      state_(state),
      arrayFlag_(arrayFlag),
      window_(window),
      flows_(RadioObjects{port, radio, image_, info, build, cancel_}, state_, *this, &queue_),
      runner_(flows_, RadioObjects{port, radio, image_, info, build, cancel_}, *this) {
  flows_.SetReadArchive(archive);
}

BatchRun::~BatchRun() {
  RequestStop();
  flows_.FinishPreviousTransfer();
}

bool BatchRun::Prepare(const BatchSettings& settings, std::string& error) {
  return runner_.Prepare(settings, error);
}

int BatchRun::Start(WorkerLane& lane, WorkerLane::Ending ending) {
  stop_ = false;
  stopEvent_.Reset();
  return lane.StartJob(
      [this] {
        const BatchSummary summary = runner_.Run();
        std::lock_guard<std::mutex> g(lock_);
        summary_ = summary;
      },
      window_, &stopEvent_, std::move(ending));
}

void BatchRun::RequestStop() {
  stop_ = true;
  stopEvent_.Set();
  cancel_.Set();
}

std::deque<BatchReport> BatchRun::TakeReports() {
  std::lock_guard<std::mutex> g(lock_);
  return std::exchange(reports_, {});
}

BatchSummary BatchRun::Summary() const {
  std::lock_guard<std::mutex> g(lock_);
  return summary_;
}

void BatchRun::Report(BatchReport report) {
  const BatchReportKind kind = report.kind;
  {
    std::lock_guard<std::mutex> g(lock_);
    reports_.push_back(std::move(report));
  }
  PostTo(window_, WM_BATCH, kind, 0);
}

void BatchRun::Prompt(const std::string& text) { Report({kBatchPromptReport, text, {}}); }

void BatchRun::RadioEnded(const BatchRow& row, const std::string& prompt) {
  Report({kBatchRowReport, prompt, row});
}

void BatchRun::LogFailed(const std::string& error) {
  Report({kBatchNoteReport, error + ": the batch stops", {}});
}

void BatchRun::ShowMessage(const std::string& text, const std::string& caption, PromptIcon) {
  Report({kBatchNoteReport, caption + ": " + text, {}});
}

bool BatchRun::AskOkCancel(const std::string& text, const std::string& caption, PromptIcon) {
  if (AnsweredOk(caption)) return true;
  Report({kBatchNoteReport, caption + ": " + text + " Cancel", {}});
  return false;
}

void BatchRun::RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) {
  setup_ = setup;
  if (!startWorker()) return;
  SetProgress(setup.minimum);
  PumpCancellingOnStop(queue_, flows_, *this, setup.cancelEvent, [this] { return StopRequested(); });
}

void BatchRun::DeliverPendingMessages() { DeliverQueued(queue_, flows_, *this); }

void BatchRun::ReportArchiveFailure(const std::string& text) {
  Report({kBatchNoteReport, text, {}});
}

void BatchRun::SetProgress(int value) {
  PostTo(window_, WM_BATCH, kBatchProgressReport,
         Percent(value, setup_.minimum, setup_.maximum));
}

void BatchRun::SetActionText(const std::string& text) {
  if (!text.empty()) Report({kBatchNoteReport, text, {}});
}
