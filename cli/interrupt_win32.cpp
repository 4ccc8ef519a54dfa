#include "interrupt.h"

#include <windows.h>

#include <atomic>
#include <csignal>

// Ctrl-C and Ctrl-Break come to a console program as control events on a
// thread of their own; they are told as SIGINT so the exit status is 130
// as on POSIX. Closing the console window cannot be held off long, so it
// is left to the system.

namespace {
std::atomic<int> requested{0};  // the signal's number

BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A user who presses Ctrl-C twice wants out now: the second goes on to
  // the system's handler, which ends the program.
  int none = 0;
  return requested.compare_exchange_strong(none, SIGINT) ? TRUE : FALSE;
}
}  // namespace

InterruptGuard::InterruptGuard() {
  requested = 0;
  SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptGuard::~InterruptGuard() { SetConsoleCtrlHandler(OnControl, FALSE); }

bool InterruptGuard::Requested() { return requested != 0; }

int InterruptGuard::SignalNumber() { return requested; }

int ExitStatusAfterInterrupt(int commandStatus) {
  const int signal = InterruptGuard::SignalNumber();
  return signal != 0 ? 128 + signal : commandStatus;
}
