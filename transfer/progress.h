#pragma once
// What a transfer's progress messages do to the progress display. The
// same rules serve every window that starts a transfer (main window,
// EEPROM editor) and the command-line tool.

#include <cstdint>
#include <string>

// The progress display as the message handling sees it: the dialog in the
// windows, a progress bar on the terminal, a recorder in tests.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetProgress(int value) = 0;
  virtual void SetCloseMode() = 0;  // the button now reads "Close"
  virtual void SetActionText(const std::string& text) = 0;
  virtual void CloseProgress() = 0;  // the transfer completed
};

struct ProgressStep {
  bool handled = false;      // false: not a progress message of ours
  bool setProgress = false;
  int progress = 0;
  bool setCloseMode = false;
  std::string actionText;    // set when not empty
  bool close = false;
};

// Maps one WM_TRANSFER message of a transfer in `direction` to its steps.
ProgressStep MapTransferMessage(int direction, intptr_t wParam, intptr_t lParam);

// Carries out the steps of one WM_TRANSFER message on `view`; returns
// whether the message was a progress message at all.
bool ApplyTransferMessage(ProgressView& view, int direction, intptr_t wParam, intptr_t lParam);

// The result text for a finished transfer, empty for a completed one.
std::string TransferResultText(int direction, int result);
