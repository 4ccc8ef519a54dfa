#pragma once
// Telling assistive tools that something happened: a screen reader hears an
// outcome or a prompt when it comes, wherever the focus is, rather than only
// when the user happens to move onto the label that shows it.

#include <QEvent>
#include <QString>

class QWidget;

// Raises an accessibility alert on `speaker`, which already says what
// happened (a label through its spoken text), and sends the speaker's
// window an AnnouncementEvent.
void Announce(QWidget* speaker);

// The same for a control whose name stays what it is (a table, a window):
// `text` becomes its accessible description, which the alert carries.
void Announce(QWidget* speaker, const QString& text);

// What Announce sends to the speaker's window as well: the program's own
// record of an announcement, seen by event filters even where no assistive
// technology is running to receive the alert.
class AnnouncementEvent : public QEvent {
 public:
  explicit AnnouncementEvent(QWidget* speaker) : QEvent(EventType()), speaker_(speaker) {}
  static QEvent::Type EventType();
  QWidget* Speaker() const { return speaker_; }

 private:
  QWidget* speaker_;
};
