#pragma once
// The batch loop as a job on the session's worker lane, for a window:
// away from the user-interface thread, with its own
// transfer flows over the session's port and radio. What it has to say
// reaches the window as numbered messages (WM_BATCH); the texts and rows
// wait here until the window takes them. Nothing on the lane ever waits
// for the window: questions a transfer would ask are answered here.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "batchloop.h"
#include "eeprom.h"
#include "platform.h"
#include "messagequeue.h"
#include "progress.h"
#include "transferhost.h"

class ReadArchive;

// WM_BATCH's wParam: what happened. kBatchProgressReport carries the
// transfer's percentage in lParam; the others have a report waiting in
// TakeReports.
enum BatchReportKind : int {
  kBatchPromptReport = 0,  // the line for the user changed
  kBatchRowReport = 1,     // a radio has ended: its row
  kBatchNoteReport = 2,    // something a transfer said (a time-out, a notice)
  kBatchProgressReport = 3,
  kBatchStageReport = 4,  // a radio's next transfer starts: its BatchStage in lParam
};

struct BatchReport {
  BatchReportKind kind = kBatchPromptReport;
  std::string text;  // the prompt or the note
  BatchRow row;      // kBatchRowReport only
};

class BatchLaneJob : private BatchHost, private TransferHost, private ProgressView {
 public:
  // The session's port and radio, its current model and build; the
  // configuration is copied. window receives WM_BATCH; it and archive
  // outlive the run, and the lane has finished the run before it goes.
  BatchLaneJob(SerialPort& port, TRadio& radio, TradioInfo& info, const BuildConfig& build,
               const EEPROM& config, const TransferState& state, const ReadArchive* archive,
               MessageReceiver* window);
  ~BatchLaneJob() override;
  BatchLaneJob(const BatchLaneJob&) = delete;
  BatchLaneJob& operator=(const BatchLaneJob&) = delete;

  // On the user-interface thread, before Start: the loop's checks of
  // the settings and the log.
  bool Prepare(const BatchSettings& settings, std::string& error);
  // What the user should know before the first radio (after Prepare).
  const std::vector<std::string>& Notes() const { return loop_.Notes(); }
  // Whether a radio transfer is under way now (any thread): stopping then
  // cancels it, and the radio is reset part written.
  bool Transferring() const { return transferring_; }
  // Runs the batch on the lane; ending closes it on the user-interface
  // thread once WM_TRANSFER_CLOSED reaches the window. 0: not started.
  int Start(WorkerLane& lane, WorkerLane::Ending ending);
  // Any thread: between radios the batch stops; during a transfer the
  // transfer is cancelled (the radio is still reset).
  void RequestStop();

  std::deque<BatchReport> TakeReports();
  // Meaningful once the run has ended.
  BatchSummary Summary() const;
  // The configuration as the run was given it; the run works on copies,
  // so the session's image is never changed by it.
  const EEPROM& Configuration() const { return config_; }

 private:
  void Report(BatchReport report);

  // BatchHost.
  // The lane's own stop (the program closing) sets the stop event alone.
  bool StopRequested() override { return stop_ || stopEvent_.IsSet(); }
  void Prompt(const std::string& text) override;
  void RadioEnded(const BatchRow& row, const std::string& prompt) override;
  void PollPause() override { stopEvent_.Wait(kBatchPollPauseMs); }
  void StageStarting(BatchStage stage) override;

  // UserPrompts and TransferHost.
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon) override;
  bool AskOkCancel(QuestionId question, const std::string& text, const std::string& caption,
                   PromptIcon) override;
  void RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) override;
  void DeliverPendingMessages() override;
  void ReportArchiveFailure(const std::string& text) override;

  // ProgressView.
  void SetProgress(int value) override;
  void SetCloseMode() override {}
  void SetActionText(const std::string& text) override;
  void CloseProgress() override {}

  const EEPROM config_;
  EEPROM image_;
  Event cancel_;
  Event stopEvent_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> transferring_{false};
  TransferState state_;
  MessageReceiver* window_;
  MessageQueue queue_;  // where the batch's own transfer worker posts
  TransferFlows flows_;
  BatchLoop loop_;
  ProgressSetup setup_;
  mutable std::mutex lock_;
  std::deque<BatchReport> reports_;
  BatchSummary summary_;
};
