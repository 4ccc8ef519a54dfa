#pragma once
// One trim of the alignment bench: a number field showing the trim's
// position, and the memory address the trim writes (its Tag, also kept as
// the "Tag" property of the field and its text field). Two things set it
// apart from the plain number field: an arrow at the end of the range
// still reports the position (the bench writes it again, as the radio may
// not hold it), and in a typed trim digits beyond the range may be typed,
// to be taken to the range's end when Enter writes them. What Enter does is
// the trims table's business.

#include "numberfield.h"

class AlignTrim : public NumberField {
  Q_OBJECT
 public:
  AlignTrim(QWidget* parent, const NumberFieldSetup& setup, const QString& accessibleName);

  int Position() const { return value(); }
  // Shows the value held to the range.
  void SetPosition(int value);
  int Tag() const { return tag_; }
  void SetTag(int address);

 signals:
  void Stepped(int position);

 protected:
  void stepBy(int steps) override;
  StepEnabled stepEnabled() const override;
  QValidator::State validate(QString& text, int& pos) const override;
  // A wheel turned over the window writes no calibration byte.
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool typing_;
  int tag_ = -1;
};
