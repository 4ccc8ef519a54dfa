#pragma once
// The few operating-system services the link needs, on POSIX (Linux) and
// on Windows: manual-reset events that can be waited on together with the
// device, and the receiver of numbered cross-thread messages.

#ifndef _WIN32
#include <poll.h>
#endif

#include <chrono>
#include <cstdint>
#include <initializer_list>

// A manual-reset event: once Set it stays signalled until Reset. Built on
// an eventfd (a Win32 event object on Windows), so a thread can wait on
// several events and on a device at once and never spins.
class Event {
 public:
  Event();
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // true when signalled within timeoutMs (-1 = no limit).
  bool Wait(int timeoutMs = -1) const;
#ifdef _WIN32
  void* Handle() const { return handle_; }  // a HANDLE

 private:
  void* handle_;
#else
  int Fd() const { return fd_; }

 private:
  int fd_;
#endif
};

// Waits for the first of several events. Returns the index of a signalled
// event (the lowest when several are), -1 on time-out, -2 on failure.
int WaitAny(std::initializer_list<const Event*> events, int timeoutMs = -1);

void SleepMs(int ms);

// Where numbered messages with two integer parameters are posted. Windows
// implement it with posted Qt events; tests with a recording queue. A
// receiver must never block the poster. A null receiver pointer plays the
// part of "no window".
class MessageReceiver {
 public:
  virtual ~MessageReceiver() = default;
  virtual void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) = 0;
};

inline void PostTo(MessageReceiver* receiver, unsigned message, intptr_t wParam, intptr_t lParam) {
  if (receiver) receiver->PostMessage(message, wParam, lParam);
}

// The message numbers are all in messages.h.
