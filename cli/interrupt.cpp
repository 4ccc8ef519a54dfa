#include "interrupt.h"

#include <signal.h>

#include <csignal>

namespace {
volatile std::sig_atomic_t requested = 0;  // the signal's number
struct sigaction previousInt, previousTerm;

void OnSignal(int signal) { requested = signal; }
}  // namespace

InterruptGuard::InterruptGuard() {
  requested = 0;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Once handled, the next signal takes its default course: a user who
  // presses Ctrl-C twice wants out now.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &previousInt);
  sigaction(SIGTERM, &action, &previousTerm);
}

InterruptGuard::~InterruptGuard() {
  sigaction(SIGINT, &previousInt, nullptr);
  sigaction(SIGTERM, &previousTerm, nullptr);
}

bool InterruptGuard::Requested() { return requested != 0; }

int InterruptGuard::SignalNumber() { return requested; }

int ExitStatusAfterInterrupt(int commandStatus) {
  const int signal = InterruptGuard::SignalNumber();
  return signal != 0 ? 128 + signal : commandStatus;
}
