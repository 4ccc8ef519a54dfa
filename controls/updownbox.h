#pragma once
// A read-only number box with its up-down: the text cannot be typed, the
// arrows (buttons, keys, wheel) step it inside [low, high]. A loaded value
// outside that range is shown as it is; stepping then only moves it toward
// the range, never away from it.

#include <QSpinBox>

class QLineEdit;

class UpDownBox : public QSpinBox {
 public:
  // shownLow: the lowest value a load may show (at most low).
  UpDownBox(int low, int high, int step, int shownLow, QWidget* parent);

  // The box's text field, for naming it and for the help area.
  QLineEdit* Edit() const;

 protected:
  void stepBy(int steps) override;
  StepEnabled stepEnabled() const override;

 private:
  int low_;
  int high_;
};
