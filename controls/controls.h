#pragma once
// Making a window's controls: each gets the object name its tests and help
// table find it by and, where its caption does not say enough, a name for
// screen readers. Labels take their buddy so the access letter reaches it.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QString>
#include <QStringList>

template <typename W>
W* Named(W* widget, const QString& name, const QString& accessibleName = QString()) {
  widget->setObjectName(name);
  if (!accessibleName.isEmpty()) widget->setAccessibleName(accessibleName);
  return widget;
}

// What a screen reader says for a control named by its caption: the
// caption without its access-letter mark.
inline QString SpokenCaption(const QString& caption) { return QString(caption).remove('&'); }

// A label that only captions (an empty name) needs no name of its own.
inline QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text,
                         QWidget* buddy = nullptr) {
  auto* label = Named(new QLabel(text, parent), name);
  if (buddy) label->setBuddy(buddy);
  return label;
}

// A check box is spoken by its caption unless given a name of its own.
inline QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text,
                            const QString& accessibleName = QString()) {
  return Named(new QCheckBox(text, parent), name,
               accessibleName.isEmpty() ? SpokenCaption(text) : accessibleName);
}

// A button that Enter does not press unless it is the window's default;
// spoken by its caption unless given a name of its own.
inline QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                               const QString& accessibleName = QString()) {
  auto* button = Named(new QPushButton(caption, parent), name,
                       accessibleName.isEmpty() ? SpokenCaption(caption) : accessibleName);
  button->setAutoDefault(false);
  return button;
}

// A read-only box that shows a reading or a value the user does not type.
inline QLineEdit* MakeReadOnlyBox(QWidget* parent, const QString& name,
                                  const QString& accessibleName, int width) {
  auto* box = Named(new QLineEdit(parent), name, accessibleName);
  box->setReadOnly(true);
  box->setFixedWidth(width);
  return box;
}

inline QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QGroupBox(caption, parent), name);
}

// A group of options: the group box carries the name, its buttons are
// named after it with their number ("rgTestTone_0") and numbered in the
// button group in order from 0.
inline QGroupBox* MakeRadioGroup(QWidget* parent, const QString& name, const QString& caption,
                                 const QStringList& items, QButtonGroup*& group,
                                 Qt::Orientation orientation = Qt::Vertical) {
  auto* box = MakeGroup(parent, name, caption);
  auto* layout = new QBoxLayout(
      orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, box);
  group = new QButtonGroup(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = Named(new QRadioButton(items[i], box), QString("%1_%2").arg(name).arg(i));
    group->addButton(button, i);
    layout->addWidget(button);
  }
  return box;
}

// The window setting a check mark itself (loading, restoring a view) is not
// the user asking for the action bound to its state change.
// A button group speaks for its buttons itself, so it is quietened too.
inline void SetQuietly(QAbstractButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  const QSignalBlocker quietGroup(button->group());
  button->setChecked(checked);
}

// A group of options is one Tab stop, on its checked button, as a
// keyboard user expects: the arrow keys move between the buttons (and
// check them), so the others are marked as reached by keys elsewhere.
// A check set quietly (SetQuietly) is followed by calling the first again.
inline void FollowCheckedTabStop(QButtonGroup* group) {
  for (QAbstractButton* button : group->buttons()) {
    const bool stop = button->isChecked() || !group->checkedButton();
    button->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
    button->setProperty("keyboardElsewhere", !stop);
  }
}
inline void TabStopOnChecked(QButtonGroup* group) {
  QObject::connect(group, &QButtonGroup::buttonToggled, group,
                   [group] { FollowCheckedTabStop(group); });
  FollowCheckedTabStop(group);
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
