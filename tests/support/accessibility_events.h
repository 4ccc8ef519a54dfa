#pragma once
// Records what the program announces to assistive tools, as a screen
// reader would hear it: each announcement's speaker and what the speaker's
// accessibility interface says at that moment (its name, and its
// description after " | " when it has one). An offscreen platform has no
// accessibility to deliver the alert to, so the announcement events the
// windows receive alongside it are what is watched.

#include <QAccessible>
#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "announce.h"

class AccessibilityEvents : public QObject {
 public:
  struct Seen {
    QPointer<QWidget> speaker;
    QString said;
  };

  AccessibilityEvents() { QCoreApplication::instance()->installEventFilter(this); }
  ~AccessibilityEvents() override { QCoreApplication::instance()->removeEventFilter(this); }

  // What the announcements said, in order.
  QStringList Alerts() const {
    QStringList said;
    for (const Seen& e : seen) said << e.said;
    return said;
  }
  bool Alerted(QObject* speaker) const {
    for (const Seen& e : seen)
      if (e.speaker == speaker) return true;
    return false;
  }
  // What `speaker` said each time it announced, in order.
  QStringList SaidBy(QObject* speaker) const {
    QStringList said;
    for (const Seen& e : seen)
      if (e.speaker == speaker) said << e.said;
    return said;
  }
  void Clear() { seen.clear(); }

  std::vector<Seen> seen;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != AnnouncementEvent::EventType()) return false;
    QWidget* speaker = static_cast<AnnouncementEvent*>(event)->Speaker();
    QString said;
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(speaker)) {
      said = iface->text(QAccessible::Name);
      const QString description = iface->text(QAccessible::Description);
      if (!description.isEmpty()) said += " | " + description;
    }
    seen.push_back({speaker, said});
    return false;
  }
};
