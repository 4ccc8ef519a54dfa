#pragma once
// A TransferHost that plays the main window and its user from a script:
// it records every message, question, refresh and transfer event in
// order, answers questions by their identifier, and runs the progress "dialog" on the test's
// thread from a real message queue, with an optional Cancel click.

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "messagequeue.h"
#include "platform.h"
#include "progress.h"
#include "transferflows.h"
#include "transferhost.h"

class ScriptedHost : public TransferHost, public ProgressView {
 public:
  ScriptedHost() : uiThread_(std::this_thread::get_id()) {}
  void Attach(TransferFlows& flows) { flows_ = &flows; }

  // Script.
  std::map<QuestionId, bool> answers;  // unlisted questions get OK
  int cancelAtProgress = -1;  // clicks Cancel once progress reaches this

  // Record, in order: "msg:<caption>:<text>", "ask:<caption>:<text>",
  // "RadioIdentityStale", "PortStateChanged", "StatusChanged",
  // "TransferStarting:<direction>", "SetDataSource:<n>",
  // "TransferEnded:<direction>", "RunTransfer:<caption>", "archive:<text>".
  std::vector<std::string> log;
  std::vector<QuestionId> asked;       // each question as it came
  std::vector<TransferOutcome> ended;  // what each TransferEnded carried
  std::vector<std::string> Dialogs() const;  // the msg: and ask: entries
  DataSourceState dataSource = kNothingLoaded;
  ProgressSetup setup;
  bool otherThreadTouchedUi = false;  // a host call off the test's thread

  // The progress display as the user saw it.
  std::vector<int> progress;
  bool closeMode = false;
  std::string actionText;
  bool dialogOpen = false;
  bool closedByTransfer = false;
  int pumpedResult = -2;  // what the pump returned; -1 = closed by a click

  MessageQueue queue;  // the window the worker posts to

  // UserPrompts.
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon) override;
  bool AskOkCancel(QuestionId question, const std::string& text, const std::string& caption,
                   PromptIcon) override;
  // TransferHost.
  void RadioIdentityStale() override { Note("RadioIdentityStale"); }
  void PortStateChanged() override { Note("PortStateChanged"); }
  void StatusChanged() override { Note("StatusChanged"); }
  void SetDataSource(DataSourceState source) override;
  void TransferStarting(int direction) override;
  void TransferEnded(const TransferOutcome& outcome) override;
  void RunTransfer(const ProgressSetup& s, const std::function<bool()>& startWorker) override;
  void DeliverPendingMessages() override;
  void ReportArchiveFailure(const std::string& text) override { Note("archive:" + text); }
  // ProgressView.
  void SetProgress(int value) override;
  void SetCloseMode() override { closeMode = true; }
  void SetActionText(const std::string& text) override { actionText = text; }
  void CloseProgress() override;

 private:
  void Note(const std::string& entry);
  std::thread::id uiThread_;
  TransferFlows* flows_ = nullptr;
};
