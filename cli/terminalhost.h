#pragma once
// The read and write commands' surroundings on a terminal: messages and
// questions as lines on standard error, the progress display as a bar
// redrawn in place (only when standard error is a terminal), and the
// worker's posted messages pumped on the main thread into TransferFlows.

#include <cstdio>
#include <set>
#include <string>

#include "messagequeue.h"
#include "progress.h"
#include "transferhost.h"

class TRadio;
class TransferFlows;

class TerminalHost : public TransferHost, public ProgressView {
 public:
  // out: where messages go (standard error); bar: draw the progress bar.
  TerminalHost(std::FILE* out, bool bar);
  void Attach(TransferFlows& flows, MessageQueue& queue, TRadio& radio);

  // Questions are refused (the command stops) unless assumeYes is set.
  void SetAssumeYes(bool yes) { assumeYes_ = yes; }
  // A question the tool answers OK itself because what it guards does
  // not exist here (no edit data on a terminal).
  void PreAnswer(QuestionId question) { preAnswered_.insert(question); }

  // Prints "vornprog: text", each line of it so.
  void Note(const std::string& text);
  // Errors only (vornprog --quiet): no progress bar, and what only tells
  // how things go well (the radio's version, questions answered by --yes,
  // information boxes) is left unsaid.
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  // UserPrompts.
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon icon) override;
  bool AskOkCancel(QuestionId question, const std::string& text, const std::string& caption,
                   PromptIcon icon) override;

  // TransferHost.
  void StatusChanged() override;
  void RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) override;
  void DeliverPendingMessages() override;
  void ReportArchiveFailure(const std::string& text) override { Note(text); }

  // ProgressView.
  void SetProgress(int value) override;
  void SetCloseMode() override {}
  void SetActionText(const std::string& text) override;
  void CloseProgress() override;

  // The finished result the last RunTransfer saw (-1: none).
  int LastPumpedResult() const { return pumpedResult_; }

 private:
  void EndBarLine();

  std::FILE* out_;
  bool bar_;
  bool quiet_ = false;
  bool assumeYes_ = false;
  std::set<QuestionId> preAnswered_;
  TransferFlows* flows_ = nullptr;
  MessageQueue* queue_ = nullptr;
  TRadio* radio_ = nullptr;
  ProgressSetup setup_;
  bool barDrawn_ = false;
  int lastPercentDrawn_ = -1;
  std::string radioShown_;
  int pumpedResult_ = -1;
};
