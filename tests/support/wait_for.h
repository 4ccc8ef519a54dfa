#pragma once
// Lets the event loop run until `done` holds; false when it never did
// within the time. For widget tests that wait on a worker or a radio.

#include <QElapsedTimer>
#include <QTest>
#include <functional>

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QTest::qWait(5);
  }
  return true;
}
