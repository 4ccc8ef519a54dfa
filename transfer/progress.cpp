#include "progress.h"

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
  if (step.setProgress) view.SetProgress(step.progress);
  if (step.setCloseMode) view.SetCloseMode();
  if (!step.actionText.empty()) view.SetActionText(step.actionText);
  if (step.close) view.CloseProgress();
  return step.handled;
}
