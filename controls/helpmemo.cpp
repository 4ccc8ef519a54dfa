#include "helpmemo.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QWidget>
#include <algorithm>

HelpMemo::HelpMemo(QPlainTextEdit* memo) : QObject(memo), memo_(memo) {
  memo_->setReadOnly(true);
}

void HelpMemo::Add(QWidget* control, const QString& text, Trigger trigger) {
  entries_.push_back({control, text, trigger});
  control->installEventFilter(this);
  if (control->accessibleDescription().isEmpty()) control->setAccessibleDescription(text);
}

void HelpMemo::Add(std::initializer_list<QWidget*> controls, const QString& text,
                   Trigger trigger) {
  for (QWidget* control : controls) Add(control, text, trigger);
}

void HelpMemo::AddClearer(QWidget* control) {
  entries_.push_back({control, QString(), kPointer});
  control->installEventFilter(this);
}

void HelpMemo::AddClearersForTheRest(QWidget* window) {
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (control == memo_ || memo_->isAncestorOf(control)) continue;
    const bool added = std::any_of(entries_.begin(), entries_.end(),
                                   [control](const Entry& e) { return e.control == control; });
    if (added) continue;
    entries_.push_back({control, QString(), kFocusAndPointer});
    control->installEventFilter(this);
  }
}

bool HelpMemo::eventFilter(QObject* watched, QEvent* event) {
  const int trigger = event->type() == QEvent::FocusIn ? kFocus
                      : event->type() == QEvent::Enter ? kPointer
                                                       : 0;
  if (trigger == 0) return false;
  for (const Entry& entry : entries_) {
    if (entry.control == watched && (entry.trigger & trigger)) {
      Show(entry.control, entry.text);
      break;
    }
  }
  return false;
}

void HelpMemo::Show(QWidget* control, const QString& text) {
  if (control == shown_) return;
  shown_ = text.isEmpty() ? nullptr : control;
  memo_->setPlainText(text);
}
