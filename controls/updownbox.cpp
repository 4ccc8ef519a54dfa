#include "updownbox.h"

#include <QLineEdit>
#include <algorithm>

UpDownBox::UpDownBox(int low, int high, int step, int shownLow, QWidget* parent)
    : QSpinBox(parent), low_(low), high_(high) {
  setRange(std::min(shownLow, low), high);
  setSingleStep(step);
  setGroupSeparatorShown(false);
  setAlignment(Qt::AlignRight);
  lineEdit()->setReadOnly(true);
}

QLineEdit* UpDownBox::Edit() const { return lineEdit(); }

// Steps land on low + k * step: a loaded value between two of them (a stored
// 10 ms on a box of hundreds) first moves to the nearer one in the step's
// direction, so the arrows give 10 -> 100 -> 200, never 110, 210.
void UpDownBox::stepBy(int steps) {
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

QAbstractSpinBox::StepEnabled UpDownBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < high_) enabled |= StepUpEnabled;
  if (value() > low_) enabled |= StepDownEnabled;
  return enabled;
}
