#include "scripted_host.h"

void ScriptedHost::Note(const std::string& entry) {
  if (std::this_thread::get_id() != uiThread_) otherThreadTouchedUi = true;
  log.push_back(entry);
}

std::vector<std::string> ScriptedHost::Dialogs() const {
  std::vector<std::string> out;
  for (const std::string& e : log)
    if (e.rfind("msg:", 0) == 0 || e.rfind("ask:", 0) == 0) out.push_back(e);
  return out;
}

void ScriptedHost::ShowMessage(const std::string& text, const std::string& caption, PromptIcon) {
  Note("msg:" + caption + ":" + text);
}

bool ScriptedHost::AskOkCancel(QuestionId question, const std::string& text,
                               const std::string& caption, PromptIcon) {
  Note("ask:" + caption + ":" + text);
  asked.push_back(question);
  const auto it = answers.find(question);
  return it == answers.end() || it->second;
}

void ScriptedHost::SetDataSource(DataSourceState source) {
  dataSource = source;
  Note("SetDataSource:" + std::to_string(source));
}

void ScriptedHost::TransferStarting(int direction) {
  Note("TransferStarting:" + std::to_string(direction));
}

void ScriptedHost::TransferEnded(const TransferOutcome& outcome) {
  ended.push_back(outcome);
  Note("TransferEnded:" + std::to_string(outcome.direction));
}

void ScriptedHost::RunTransfer(const ProgressSetup& s, const std::function<bool()>& startWorker) {
  Note("RunTransfer:" + s.caption);
  setup = s;
  progress.clear();
  closeMode = false;
  actionText.clear();
  closedByTransfer = false;
  if (!startWorker()) return;
  dialogOpen = true;
  pumpedResult = PumpTransferProgress(queue, *flows_, *this, [this] { return !dialogOpen; });
  dialogOpen = false;  // a failed or cancelled transfer: the user clicks Close
}

void ScriptedHost::DeliverPendingMessages() { DeliverQueued(queue, *flows_, *this); }

void ScriptedHost::SetProgress(int value) {
  progress.push_back(value);
  if (dialogOpen && cancelAtProgress >= 0 && value >= cancelAtProgress) {
    setup.cancelEvent->Set();  // the Cancel button: set the event, close at once
    dialogOpen = false;
  }
}

void ScriptedHost::CloseProgress() {
  closedByTransfer = true;
  dialogOpen = false;
}
