#pragma once
// An edit box with its up-down buttons, as one spin box: the spin box
// carries the up-down's name and its text field the edit's, so both can
// be found and driven by name. A read-only edit still steps with its
// buttons and the arrow keys; only typing into it is refused.

#include <QString>

class QLineEdit;
class QSpinBox;
class QWidget;

struct UpDownField {
  const char* upDownName;
  const char* editName;
  int minimum;
  int maximum;
  bool typing;  // false: the edit is read-only
  int step = 1;
};

QSpinBox* MakeUpDown(QWidget* parent, const UpDownField& field, const QString& accessibleName);
// The text field of a spin box made by MakeUpDown.
QLineEdit* EditOf(const QSpinBox* upDown);
