#include "terminalhost.h"

#include "interrupt.h"
#include "progressbar.h"
#include "radio.h"
#include "transferflows.h"

TerminalHost::TerminalHost(std::FILE* out, bool bar) : out_(out), bar_(bar) {}

void TerminalHost::Attach(TransferFlows& flows, MessageQueue& queue, TRadio& radio) {
  flows_ = &flows;
  queue_ = &queue;
  radio_ = &radio;
}

void TerminalHost::Note(const std::string& text) {
  EndBarLine();
  // A message of several lines is said line by line, so each one shows
  // which program said it.
  size_t start = 0;
  do {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
    std::fprintf(out_, "vornprog: %s\n", line.c_str());
    start = end == std::string::npos ? end : end + 1;
  } while (start != std::string::npos);
  std::fflush(out_);
}

void TerminalHost::ShowMessage(const std::string& text, const std::string& caption,
                               PromptIcon icon) {
  if (quiet_ && icon == PromptIcon::Information) return;
  Note(caption + ": " + text);
}

bool TerminalHost::AskOkCancel(QuestionId question, const std::string& text,
                               const std::string& caption, PromptIcon) {
  if (preAnswered_.count(question)) return true;
  if (assumeYes_) {
    if (!quiet_) Note(caption + ": " + text + " OK (--yes)");
    return true;
  }
  Note(caption + ": " + text + " Cancel (give --yes to answer OK)");
  return false;
}

// The window's status panel shows the radio's firmware text and version;
// here they are said once, when first known.
void TerminalHost::StatusChanged() {
  if (!radio_) return;
  std::string version;
  if (!radio_->GetVersionText(version)) return;
  const std::string shown = radio_->GetFirmwareText() + " " + version;
  if (shown == radioShown_) return;
  radioShown_ = shown;
  if (!quiet_) Note("radio: " + shown);
}

void TerminalHost::RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) {
  setup_ = setup;
  lastPercentDrawn_ = -1;
  pumpedResult_ = -1;
  if (!startWorker()) return;
  SetProgress(setup.minimum);
  // Ctrl-C plays the Cancel button.
  pumpedResult_ = PumpCancellingOnStop(*queue_, *flows_, *this, setup.cancelEvent,
                                       [] { return InterruptGuard::Requested(); });
}

void TerminalHost::DeliverPendingMessages() {
  if (queue_ && flows_) DeliverQueued(*queue_, *flows_, *this);
}

void TerminalHost::SetProgress(int value) {
  if (!bar_ || quiet_) return;
  // Redraw only when the figure moves: 128 redraws of the same line are
  // just noise on a slow terminal.
  const int percent = ProgressPercent(value, setup_.minimum, setup_.maximum);
  if (barDrawn_ && percent == lastPercentDrawn_) return;
  lastPercentDrawn_ = percent;
  const std::string line = ProgressBarLine(setup_.caption, value, setup_.minimum, setup_.maximum);
  std::fprintf(out_, "\r%s", line.c_str());
  std::fflush(out_);
  barDrawn_ = true;
}

// The progress window's closing text: why the transfer did not complete.
void TerminalHost::SetActionText(const std::string& text) { Note(text); }

void TerminalHost::CloseProgress() { EndBarLine(); }

void TerminalHost::EndBarLine() {
  if (!barDrawn_) return;
  std::fputc('\n', out_);
  barDrawn_ = false;
}
