#include "qtmessagereceiver.h"

#include <QCoreApplication>

QEvent::Type VornMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void QtMessageReceiver::Detach() {
  std::lock_guard<std::mutex> g(lock_);
  target_ = nullptr;
}

void QtMessageReceiver::PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) {
  // postEvent only queues the event, so the poster never waits for the window.
  std::lock_guard<std::mutex> g(lock_);
  if (target_) QCoreApplication::postEvent(target_, new VornMessageEvent(message, wParam, lParam));
}
