#pragma once
// The EEPROM editor's radio work without the window: Read All and Write
// All on the session's worker lane, and the single-address commands.
//
// Read All and Write All copy the editor's working copy, never the
// application image, in 16-byte blocks without arrays or a raised baud
// rate; each written block follows test mode 1, and the radio is reset at
// the end. They run on the same lane as the main transfer, so the main
// window's port check, like the editor's own commands, waits for them.

#include <string>

#include "platform.h"
#include "workerlane.h"

class EEbuffer;
class TRadio;

inline constexpr const char* kEeProgModeFailText = "Failed to enter prog mode";
inline constexpr const char* kEeReadAllCaption = "Read all";
inline constexpr const char* kEeWriteAllCaption = "Write All";
inline constexpr const char* kEeTimeoutText = "Radio Response Timeout.";
inline constexpr const char* kEeCommsErrorCaption = "Comms Error";

// The log line a run starts with, and the one it ends with: "OK" only when
// every block went and the radio took its reset, "Fail" otherwise.
std::string EepromLogStart(int direction);
std::string EepromLogEnd(int direction, const TransferOutcome& outcome);

class EepromWorker {
 public:
  explicit EepromWorker(WorkerLane& lane) : lane_(lane) {}

  // Resets `cancel` and starts copying the whole of `workingCopy` to or
  // from the radio (addresses 0 to 2047); the worker's messages go to
  // `window`, and `ending` closes the run on the user-interface thread.
  // False when no thread could be started.
  bool Start(int direction, EEbuffer& workingCopy, MessageReceiver* window, Event& cancel,
             WorkerLane::Ending ending);
  int Direction() const { return direction_; }

 private:
  WorkerLane& lane_;
  int direction_ = 0;
};

// One address of the radio, as a byte (8-bit) or a big-endian word
// (16-bit). A read stores the value into `copy`; a write sends the value
// `copy` holds and, once the radio has taken it, stores it into the
// application `image` too. False when the radio did not answer.
bool EeReadAddress(TRadio& radio, EEbuffer& copy, int address, int size);
bool EeWriteAddress(TRadio& radio, const EEbuffer& copy, EEbuffer& image, int address, int size);
