#pragma once
// Runs the event loop until pred() holds or timeoutMs passes.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

template <class Pred>
bool Spin(Pred pred, int timeoutMs = 3000) {
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > timeoutMs) return pred();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}
