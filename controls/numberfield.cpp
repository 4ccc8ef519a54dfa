#include "numberfield.h"

#include <QLineEdit>
#include <algorithm>

NumberField::NumberField(QWidget* parent, const NumberFieldSetup& setup)
    : QSpinBox(parent), shownLow_(setup.shownLow), shownHigh_(setup.shownHigh) {
  setObjectName(setup.upDownName);
  SetStepRange(setup.low, setup.high);
  setSingleStep(setup.step);
  setGroupSeparatorShown(false);
  setAlignment(Qt::AlignRight);
  Edit()->setObjectName(setup.editName);
  Edit()->setReadOnly(!setup.typing);
}

QLineEdit* NumberField::Edit() const { return lineEdit(); }

// The unset shown limits (INT_MAX, INT_MIN) give way to the step range.
void NumberField::SetStepRange(int low, int high) {
  low_ = low;
  high_ = high;
  setRange(std::min(shownLow_, low), std::max(shownHigh_, high));
}

void NumberField::SetAccessibleName(const QString& name) {
  setAccessibleName(name);
  Edit()->setAccessibleName(name);
}

// Steps land on low + k * step: a value between two of them (a stored 10 ms
// on a field of hundreds, a typed 255 on a field of tens) first moves to the
// nearer one in the step's direction, so the arrows give 10 -> 100 -> 200,
// never 110, 210.
void NumberField::stepBy(int steps) {
  const int v = value();
  const int step = std::max(singleStep(), 1);
  const int offset = v - low_;
  const int below = offset >= 0 ? offset / step : -((-offset + step - 1) / step);
  const int above = offset >= 0 ? (offset + step - 1) / step : -(-offset / step);
  const int k = (steps > 0 ? below : above) + steps;
  int next = std::clamp(low_ + k * step, low_, high_);
  if ((steps > 0 && next < v) || (steps < 0 && next > v)) next = v;
  setValue(next);
}

QAbstractSpinBox::StepEnabled NumberField::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < high_) enabled |= StepUpEnabled;
  if (value() > low_) enabled |= StepDownEnabled;
  return enabled;
}

NumberField* MakeNumberField(QWidget* parent, const NumberFieldSetup& setup,
                             const QString& accessibleName) {
  auto* field = new NumberField(parent, setup);
  field->SetAccessibleName(accessibleName);
  return field;
}
