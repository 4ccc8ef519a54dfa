#include "progress.h"

#include "excerpt.h"
#include "transferworker.h"

std::string TransferResultText(int direction, int result) {
  const bool write = direction == kDirectionWrite;
  switch (result) {
    case kTransferFailed:
      return write ? "Timeout writing to radio" : "Timeout reading from radio";
    case kTransferCancelled:
      return write ? "Writing to radio cancelled" : "Reading from radio cancelled";
    default:
      return "";
  }
}

ProgressStep MapTransferMessage(int direction, intptr_t wParam, intptr_t lParam) {
  ProgressStep step;
  if (wParam == kTransferProgress) {
    step.handled = true;
    step.setProgress = true;
    step.progress = static_cast<int>(lParam);
  } else if (wParam == kTransferFinished) {
    step.handled = true;
    step.setCloseMode = true;
    step.actionText = TransferResultText(direction, static_cast<int>(lParam));
    step.close = step.actionText.empty();
  }
  return step;
}

bool ApplyTransferMessage(ProgressView& view, int direction, intptr_t wParam, intptr_t lParam) {
  const ProgressStep step = MapTransferMessage(direction, wParam, lParam);
  ApplyProgressStep(view, step);
  return step.handled;
}

void AddRadioState(ProgressStep& step, int direction, const std::string& restorePath) {
  if (step.setCloseMode && direction == kDirectionWrite && !step.actionText.empty())
    step.actionText += "\n" + PartialWriteText(restorePath);
}

void ApplyProgressStep(ProgressView& view, const ProgressStep& step) {
  if (step.setProgress) view.SetProgress(step.progress);
  if (step.setCloseMode) view.SetCloseMode();
  if (!step.actionText.empty()) view.SetActionText(step.actionText);
  if (step.close) view.CloseProgress();
}

std::string PartialWriteText(const std::string& restorePath) {
  std::string text =
      "The radio now holds part of the new configuration. To put it right, write again";
  if (!restorePath.empty()) text += ", or write " + ShownPath(restorePath) + " back";
  return text + ".";
}

std::string PortLostText(const std::string& portName) {
  return "The port " + portName + " was lost: the lead or its adapter was unplugged.";
}

std::string UnresetReadText(const std::string& savedPath) {
  return "All the data arrived and " +
         (savedPath.empty() ? std::string("is in the programmer") : "was written to " + savedPath) +
         ", but the radio did not answer its reset: it may need switching off and on.";
}
