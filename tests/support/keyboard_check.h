#pragma once
// Checks a window as a keyboard user and a screen reader meet it: every
// visible control that takes the focus or shows information has a name
// (as the accessibility interface reports it, so buddy labels count),
// every enabled input can be reached with Tab (or, marked
// "keyboardElsewhere", does only what keys elsewhere do), and every menu item has an
// access letter of its own within its menu. Each returns the problems it
// found, one line each; empty when none. Any of the program's windows can
// be walked with them. Labels must speak what they show, and the
// accessibility interface can toggle any checkable control as an assistive
// tool would, and Enter can be pressed in every text field, so a window's
// test can compare what each way does.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
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

// The access letter a caption marks with '&', lower case; null when none.
inline QChar AccessLetter(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return text[i + 1].toLower();
    ++i;  // "&&" is a plain ampersand
  }
  return QChar();
}

inline QStringList MenusWithoutAccessLetters(QMenuBar* bar) {
  QStringList problems;
  auto letterOf = [](const QString& text) { return AccessLetter(text); };
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

// Where a control sits among the window's tab pages: the tab widgets above
// it and the page it is on in each. False when no tab or window state the
// user can reach shows it (hidden itself, or on a hidden tab).
struct TabPlace {
  const QTabWidget* tabs;
  int page;
};
inline bool ReachablePlace(const QWidget* w, const QWidget* window, QList<TabPlace>& places) {
  for (const QWidget* p = w; p && p != window; p = p->parentWidget()) {
    const QWidget* parent = p->parentWidget();
    const auto* tabs = parent ? qobject_cast<const QTabWidget*>(parent->parentWidget()) : nullptr;
    const int page = tabs ? tabs->indexOf(const_cast<QWidget*>(p)) : -1;
    if (page >= 0) {
      if (!tabs->isTabVisible(page)) return false;
      places << TabPlace{tabs, page};
      continue;
    }
    if (p->isHidden()) return false;
  }
  return true;
}

// Access keys (Alt+letter) the window offers at the same time, each of
// which must be its own: the captions of buttons, of labels with a buddy,
// of group boxes, of tabs and of the menu bar's menus. Controls on
// different pages of one tab widget never meet; every page is looked at,
// not only the one in front.
inline QStringList SharedAccessKeys(QWidget* window) {
  struct Key {
    QChar letter;
    QString what;
    QList<TabPlace> places;
  };
  QList<Key> keys;
  auto add = [&](const QWidget* owner, const QString& caption, const QString& what) {
    const QChar letter = AccessLetter(caption);
    QList<TabPlace> places;
    if (letter.isNull() || !ReachablePlace(owner, window, places)) return;
    keys << Key{letter, what + " '" + caption + "'", places};
  };
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (auto* bar = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < bar->count(); ++i)
        if (bar->isTabVisible(i)) add(bar, bar->tabText(i), "tab");
      continue;
    }
    if (IsInternalPart(w)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(w))
      add(button, button->text(), Describe(w));
    else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
      add(label, label->text(), Describe(w));
    else if (auto* group = qobject_cast<QGroupBox*>(w))
      add(group, group->title(), Describe(w));
    else if (auto* bar = qobject_cast<QMenuBar*>(w))
      for (QAction* a : bar->actions())
        if (a->isVisible() && !a->isSeparator()) add(bar, a->text(), "menu");
  }
  auto meet = [](const Key& a, const Key& b) {
    for (const TabPlace& x : a.places)
      for (const TabPlace& y : b.places)
        if (x.tabs == y.tabs && x.page != y.page) return false;
    return true;
  };
  QStringList problems;
  for (int i = 0; i < keys.size(); ++i)
    for (int j = i + 1; j < keys.size(); ++j)
      if (keys[i].letter == keys[j].letter && meet(keys[i], keys[j]))
        problems << QString("Alt+%1 twice: %2 and %3")
                        .arg(keys[i].letter.toUpper(), keys[i].what, keys[j].what);
  return problems;
}

// A label whose text changes must not be read out as a fixed name in place
// of that text: what the screen shows is what the screen reader says.
inline QStringList LabelsHidingTheirText(QWidget* window) {
  QStringList problems;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(window) || IsInternalPart(label)) continue;
    if (label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text())) continue;
    // An ampersand marks an access letter only where there is a buddy.
    QString shown = label->text().trimmed();
    if (label->buddy()) shown.remove('&');
    if (shown.isEmpty()) continue;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label);
    if (!iface) continue;
    if (!iface->text(QAccessible::Name).contains(shown) &&
        !iface->text(QAccessible::Value).contains(shown))
      problems << "says '" + iface->text(QAccessible::Name) + "' for '" + shown + "': " +
                      Describe(label);
  }
  return problems;
}

// The window's check boxes, radio buttons and toggle buttons a user can use.
inline QList<QAbstractButton*> CheckableControls(QWidget* window) {
  QList<QAbstractButton*> found;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->isCheckable() && b->isVisibleTo(window) && b->isEnabled() && !IsInternalPart(b))
      found << b;
  return found;
}

// Changes the check mark as an assistive tool does, through the
// accessibility interface's toggle action: no mouse or key event at all.
// False when the control offers no such action.
inline bool ToggleByAccessibility(QAbstractButton* button) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
  QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
  if (!actions) return false;
  const QString toggle = QAccessibleActionInterface::toggleAction();
  if (!actions->actionNames().contains(toggle)) return false;
  actions->doAction(toggle);
  return true;
}

// Whether a screen reader hears the control as checkable, and as checked
// now: a held state it can report, read through the accessibility interface.
struct SpokenCheck {
  bool checkable = false;
  bool checked = false;
};
inline SpokenCheck SpokenCheckOf(QWidget* control) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
  if (!iface) return {};
  const QAccessible::State state = iface->state();
  return {state.checkable != 0, state.checked != 0};
}

// The window's text fields (line edits and the boxes of spin boxes) a user
// can type in and press Enter in.
inline QList<QWidget*> TextFields(QWidget* window) {
  QList<QWidget*> found;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !w->isEnabled() || IsInternalPart(w)) continue;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w)) found << w;
  }
  return found;
}

// Brings the tab page holding `control` to the front, so that it can be
// seen and used.
inline void Reveal(QWidget* control) {
  for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
      if (const int page = tabs->indexOf(w); page >= 0) tabs->setCurrentIndex(page);
}

// Every checkable control of the window, seen or not, in a fixed order:
// two windows built alike list their controls alike.
inline QList<QAbstractButton*> AllCheckableControls(QWidget* window) {
  QList<QAbstractButton*> found;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->isCheckable() && !IsInternalPart(b)) found << b;
  return found;
}

// What the window's controls show, one line each: whether each input is
// seen and enabled, its check mark, text or choice; a view's every cell;
// a text box's text.
// Two windows built alike and used alike give the same lines.
inline QStringList ControlStates(QWidget* window) {
  QStringList lines;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    auto* plain = qobject_cast<QPlainTextEdit*>(w);
    auto* rich = qobject_cast<QTextEdit*>(w);
    if (IsInternalPart(w) || !(IsInput(w) || plain || rich)) continue;
    QString line = Describe(w) + (w->isVisibleTo(window) ? " shown" : " hidden") +
                   (w->isEnabled() ? " enabled" : " disabled");
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (b->isCheckable()) line += b->isChecked() ? " checked" : " unchecked";
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      line += " '" + edit->text() + "'";
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
      line += " '" + spin->text() + "'";
    } else if (plain || rich) {
      line += " '" + (plain ? plain->toPlainText() : rich->toPlainText()) + "'";
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      line += " '" + combo->currentText() + "'";
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
      const QAbstractItemModel* model = view->model();
      for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
          line += " '" + model->data(model->index(r, c)).toString() + "'";
    }
    lines << line;
  }
  return lines;
}

}  // namespace keyboard_check
