#pragma once
// Ctrl-C (or SIGTERM) during a radio command: the command is cancelled at
// the next safe point, so a radio in programming mode is still reset. A
// second signal ends the program at once.

class InterruptGuard {
 public:
  InterruptGuard();   // installs the handlers, clears the request
  ~InterruptGuard();  // puts the previous handlers back
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  static bool Requested();
  // The signal that asked, 0 when none did since the last guard was made.
  static int SignalNumber();
};

// A command cut short by a signal ends with 128 + the signal (130 for
// Ctrl-C), as shells expect; otherwise the command's own status.
int ExitStatusAfterInterrupt(int commandStatus);
