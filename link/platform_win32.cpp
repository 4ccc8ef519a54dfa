#include "platform.h"

#include <windows.h>
#undef PostMessage  // the receiver's method, not the Win32 call

#include <thread>

Event::Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Event::~Event() {
  if (handle_) CloseHandle(handle_);
}

void Event::Set() { SetEvent(handle_); }

void Event::Reset() { ResetEvent(handle_); }

bool Event::IsSet() const { return Wait(0); }

bool Event::Wait(int timeoutMs) const { return WaitAny({this}, timeoutMs) == 0; }

int WaitAny(std::initializer_list<const Event*> events, int timeoutMs) {
  HANDLE handles[8];
  DWORD n = 0;
  for (const Event* e : events) {
    if (n == 8) return -2;
    handles[n++] = e->Handle();
  }
  const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  // With several signalled the lowest index is the one reported, as on POSIX.
  const DWORD r = WaitForMultipleObjects(n, handles, FALSE, limit);
  if (r == WAIT_TIMEOUT) return -1;
  if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + n) return static_cast<int>(r - WAIT_OBJECT_0);
  return -2;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
