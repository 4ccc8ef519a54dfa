#include "announce.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QWidget>

QEvent::Type AnnouncementEvent::EventType() {
  static const int type = QEvent::registerEventType();
  return static_cast<QEvent::Type>(type);
}

void Announce(QWidget* speaker) {
  if (!speaker) return;
  QAccessibleEvent alert(speaker, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
  AnnouncementEvent announced(speaker);
  QCoreApplication::sendEvent(speaker->window(), &announced);
}

void Announce(QWidget* speaker, const QString& text) {
  if (!speaker) return;
  speaker->setAccessibleDescription(text);
  Announce(speaker);
}
