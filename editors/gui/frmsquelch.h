#pragma once
// "Squelch": the squelch level and the mute timings of the image. Loaded
// on every showing; OK stores them, Cancel leaves the image alone. Nothing
// goes to the radio.

#include <QDialog>

#include "squelch.h"

class QGroupBox;
class NumberField;
struct WindowContext;

class TfrmSquelch : public QDialog {
  Q_OBJECT
 public:
  TfrmSquelch(WindowContext& context, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void FormShow();
  void btnOKClick();

  WindowContext& context_;
  SquelchValues values_;
  QGroupBox* gbSquelchLevel_ = nullptr;
  NumberField* udSqlLevel_ = nullptr;
  NumberField* udMuteDebounce_ = nullptr;
  NumberField* udMuteOpen_ = nullptr;
};
