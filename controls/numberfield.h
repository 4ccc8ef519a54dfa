#pragma once
// The number field every window uses: a spin box whose text field may be
// typed into or only stepped (buttons, Up and Down keys, wheel), inside
// [low, high] and by `step`. The spin box carries the up-down's name and
// its text field the edit's, so both can be found and driven by name, and
// both carry the accessible name.
//
// A loaded value may lie outside [low, high] (down to `shownLow`, up to
// `shownHigh`): it is shown as it is, and stepping only moves it toward the
// range, never further away. A typed value is held to the shown range.

#include <QSpinBox>
#include <QString>
#include <climits>

class QLineEdit;

struct NumberFieldSetup {
  const char* upDownName;
  const char* editName;
  int low;
  int high;
  bool typing;  // false: the text cannot be typed, only stepped
  int step = 1;
  int shownLow = INT_MAX;   // the lowest value a load may show; INT_MAX: low
  int shownHigh = INT_MIN;  // the highest; INT_MIN: high
};

class NumberField : public QSpinBox {
 public:
  NumberField(QWidget* parent, const NumberFieldSetup& setup);

  // The text field, for the help area and for windows that read its text.
  QLineEdit* Edit() const;

  // Names the field for screen readers on the spin box and its text field.
  void SetAccessibleName(const QString& name);

  // Moves the range the arrows step in (a floor an option lifts); the shown
  // range widens with it where it would otherwise be narrower.
  void SetStepRange(int low, int high);

 protected:
  void stepBy(int steps) override;
  StepEnabled stepEnabled() const override;

 private:
  int low_;
  int high_;
  int shownLow_;
  int shownHigh_;
};

NumberField* MakeNumberField(QWidget* parent, const NumberFieldSetup& setup,
                             const QString& accessibleName);
