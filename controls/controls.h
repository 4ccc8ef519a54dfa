#pragma once
// Making a window's controls: each gets the object name its tests and help
// table find it by and, where its caption does not say enough, a name for
// screen readers. Labels take their buddy so the access letter reaches it.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QString>

template <typename W>
W* Named(W* widget, const QString& name, const QString& accessibleName = QString()) {
  widget->setObjectName(name);
  if (!accessibleName.isEmpty()) widget->setAccessibleName(accessibleName);
  return widget;
}

inline QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text,
                         QWidget* buddy = nullptr) {
  auto* label = Named(new QLabel(text, parent), name);
  if (buddy) label->setBuddy(buddy);
  return label;
}

inline QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text) {
  return Named(new QCheckBox(text, parent), name);
}

// A button that Enter does not press unless it is the window's default.
inline QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                               const QString& accessibleName = QString()) {
  auto* button = Named(new QPushButton(caption, parent), name, accessibleName);
  button->setAutoDefault(false);
  return button;
}

// The window setting a check mark itself (loading, restoring a view) is not
// the user asking for the action bound to its state change.
// A button group speaks for its buttons itself, so it is quietened too.
inline void SetQuietly(QAbstractButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  const QSignalBlocker quietGroup(button->group());
  button->setChecked(checked);
}

// A label or read-only box whose text changes: a screen reader hears its
// role and what it shows now ("Port: COM97"), never the bare role that an
// accessible name alone would leave in place of the text.
inline void SetSpokenText(QWidget* widget, const QString& role, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(widget))
    label->setText(text);
  else if (auto* edit = qobject_cast<QLineEdit*>(widget))
    edit->setText(text);
  const bool saysRole = text.startsWith(role + ":");
  widget->setAccessibleName(text.isEmpty() || saysRole ? (saysRole ? text : role)
                                                       : role + ": " + text);
}

// In a window of radio commands no button is pressed by Enter: a field's
// Enter does that field's own action or nothing.
inline void NoDefaultButtons(QWidget* window) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
}
