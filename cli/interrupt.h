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
};
