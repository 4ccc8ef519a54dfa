#include "panelreceiver.h"

#include <QCoreApplication>

#include "messages.h"

QEvent::Type PanelMessageReceiver::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void PanelMessageReceiver::Detach() {
  std::lock_guard<std::mutex> g(lock_);
  target_ = nullptr;
}

void PanelMessageReceiver::PostMessage(unsigned message, intptr_t, intptr_t) {
  std::lock_guard<std::mutex> g(lock_);
  switch (message) {
    case WM_DISPLAY_BYTES: pending_.display = true; break;
    case WM_BACKLIGHT:
      pending_.backlight = true;
      pending_.colourLast = false;
      break;
    case WM_BACKLIGHT_COLOUR:
      pending_.colour = true;
      pending_.colourLast = true;
      break;
    default: return;  // announcements mean nothing to the panel
  }
  if (posted_ || !target_) return;
  posted_ = true;
  QCoreApplication::postEvent(target_, new QEvent(EventType()));
}

PanelMessageReceiver::Pending PanelMessageReceiver::Take() {
  std::lock_guard<std::mutex> g(lock_);
  posted_ = false;
  const Pending taken = pending_;
  pending_ = Pending{};
  return taken;
}
