#pragma once
// Checks a window as a keyboard user and a screen reader meet it: every
// visible control that takes the focus or shows information has a name
// (as the accessibility interface reports it, so buddy labels count),
// every enabled input can be reached with Tab (or, marked
// "keyboardElsewhere", does only what keys elsewhere do), and every menu item has an
// access letter of its own within its menu. Each returns the problems it
// found, one line each; empty when none. Any of the program's windows can
// be walked with them.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

namespace keyboard_check {

inline QString Describe(const QWidget* w) {
  return QString("%1 '%2'").arg(w->metaObject()->className(), w->objectName());
}

// Qt's own parts of a compound control (a spin box's line edit, a view's
// scroll bars, a tab bar's scroll buttons) are reached through their owner.
inline bool IsInternalPart(const QWidget* w) {
  if (w->objectName().startsWith("qt_")) return true;
  if (qobject_cast<const QScrollBar*>(w)) return true;
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
        qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QTabBar*>(p))
      return true;
  }
  return false;
}

inline bool IsInput(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
         qobject_cast<const QTabBar*>(w) ||
         ((qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w)) &&
          (w->focusPolicy() & Qt::TabFocus));
}

inline bool ShowsInformation(const QWidget* w) {
  if (auto* label = qobject_cast<const QLabel*>(w))
    return !label->text().trimmed().isEmpty() || label->pixmap().isNull() == false;
  return qobject_cast<const QProgressBar*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w);
}

inline QString AccessibleName(QWidget* w) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
  return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

inline QStringList UnnamedControls(QWidget* window) {
  QStringList problems;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || IsInternalPart(w)) continue;
    const bool takesFocus = w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
    if (!(takesFocus || IsInput(w) || ShowsInformation(w))) continue;
    if (AccessibleName(w).isEmpty()) problems << "no name: " + Describe(w);
  }
  return problems;
}

inline QStringList InputsTabCannotReach(QWidget* window) {
  QStringList problems;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !w->isEnabled() || IsInternalPart(w) || !IsInput(w)) continue;
    // Arrow buttons whose steps the keys of their box already give.
    if (w->property("keyboardElsewhere").toBool()) continue;
    const QWidget* target = w->focusProxy() ? w->focusProxy() : w;
    if (!(target->focusPolicy() & Qt::TabFocus)) problems << "not in the tab order: " + Describe(w);
  }
  return problems;
}

inline QStringList MenusWithoutAccessLetters(QMenuBar* bar) {
  QStringList problems;
  auto letterOf = [](const QString& text) -> QChar {
    for (int i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '&') continue;
      if (text[i + 1] != '&') return text[i + 1].toLower();
      ++i;  // "&&" is a plain ampersand
    }
    return QChar();
  };
  auto check = [&](const QList<QAction*>& actions, const QString& where, auto& self) -> void {
    QSet<QChar> used;
    for (QAction* a : actions) {
      if (a->isSeparator() || a->property("recentFile").toBool()) continue;
      const QChar letter = letterOf(a->text());
      if (letter.isNull())
        problems << where + ": no access letter in '" + a->text() + "'";
      else if (used.contains(letter))
        problems << where + ": letter '" + letter + "' used twice ('" + a->text() + "')";
      used.insert(letter);
      if (a->menu()) self(a->menu()->actions(), where + " > " + a->text(), self);
    }
  };
  check(bar->actions(), "menu bar", check);
  return problems;
}

}  // namespace keyboard_check
