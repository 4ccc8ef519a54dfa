#pragma once
// Delivers the link's numbered messages to a window: PostMessage (from any
// thread) posts a VornMessageEvent to the target object and returns at
// once; the target handles it in event() on the user-interface thread.

#include <QEvent>
#include <QObject>
#include <mutex>

#include "platform.h"

class VornMessageEvent : public QEvent {
 public:
  VornMessageEvent(unsigned message, intptr_t wParam, intptr_t lParam)
      : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam) {}
  static QEvent::Type EventType();

  const unsigned message;
  const intptr_t wParam;
  const intptr_t lParam;
};

class QtMessageReceiver : public MessageReceiver {
 public:
  explicit QtMessageReceiver(QObject* target) : target_(target) {}
  // The target calls this before it goes away; later posts are dropped.
  void Detach();
  void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;

 private:
  std::mutex lock_;
  QObject* target_;
};
