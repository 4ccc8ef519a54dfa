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

// A write that stopped part way left the radio with a mixed configuration:
// adds to the result text what it holds and how to mend it.
void AddRadioState(ProgressStep& step, int direction, const std::string& restorePath);

// Carries out steps already mapped (and perhaps added to) on `view`.
void ApplyProgressStep(ProgressView& view, const ProgressStep& step);

// The result text for a finished transfer, empty for a completed one.
std::string TransferResultText(int direction, int result);

// What the radio holds after a write that stopped part way, and how to put
// it right; restorePath names a saved copy of the radio (a backup, the last
// archived read) when there is one.
std::string PartialWriteText(const std::string& restorePath);

// A transfer that stopped because the serial port went away under it (the
// lead or its adapter pulled out): said instead of a timeout.
std::string PortLostText(const std::string& portName);

// After a read whose data all arrived but whose reset went unanswered;
// savedPath names where the data was written, when it was.
std::string UnresetReadText(const std::string& savedPath);
