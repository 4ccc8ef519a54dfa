#include "aligntrim.h"

#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>

AlignTrim::AlignTrim(QWidget* parent, const NumberFieldSetup& setup,
                     const QString& accessibleName)
    : NumberField(parent, setup), typing_(setup.typing) {
  SetAccessibleName(accessibleName);
  setFixedWidth(64);
}

void AlignTrim::SetPosition(int value) { setValue(std::clamp(value, minimum(), maximum())); }

void AlignTrim::SetTag(int address) {
  tag_ = address;
  setProperty("Tag", address);
  Edit()->setProperty("Tag", address);
}

void AlignTrim::stepBy(int steps) {
  NumberField::stepBy(steps);
  emit Stepped(value());
}

QAbstractSpinBox::StepEnabled AlignTrim::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}

// Digits alone reach a typed trim's text (a loaded negative value is
// shown as it is); a number beyond the range is kept for Enter to take
// to the range's end.
QValidator::State AlignTrim::validate(QString& text, int& pos) const {
  if (!typing_) return NumberField::validate(text, pos);
  const bool digits = std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
  if (!digits) return text == textFromValue(value()) ? QValidator::Acceptable : QValidator::Invalid;
  const QValidator::State inRange = NumberField::validate(text, pos);
  return inRange == QValidator::Acceptable ? inRange : QValidator::Intermediate;
}

void AlignTrim::wheelEvent(QWheelEvent* event) { event->ignore(); }
