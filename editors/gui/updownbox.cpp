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

void UpDownBox::stepBy(int steps) {
  const int v = value();
  int next = std::clamp(v + steps * singleStep(), low_, high_);
  if ((steps > 0 && next < v) || (steps < 0 && next > v)) next = v;
  setValue(next);
}

QAbstractSpinBox::StepEnabled UpDownBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < high_) enabled |= StepUpEnabled;
  if (value() > low_) enabled |= StepDownEnabled;
  return enabled;
}
