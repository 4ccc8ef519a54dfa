#pragma once
// Making a window's controls: each gets the object name its tests and help
// table find it by and, where its caption does not say enough, a name for
// screen readers. Labels take their buddy so the access letter reaches it.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
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
