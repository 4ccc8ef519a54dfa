#pragma once
// "Squelch": the squelch level and the mute timings of the image. Loaded
// on every showing; OK stores them, Cancel leaves the image alone. Nothing
// goes to the radio.

#include <QDialog>

#include "squelch.h"

class QGroupBox;
class QSpinBox;
struct EditorContext;

class TfrmSquelch : public QDialog {
  Q_OBJECT
 public:
  TfrmSquelch(EditorContext& context, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void FormShow();
  void btnOKClick();

  EditorContext& context_;
  SquelchValues values_;
  QGroupBox* gbSquelchLevel_ = nullptr;
  QSpinBox* udSqlLevel_ = nullptr;
  QSpinBox* udMuteDebounce_ = nullptr;
  QSpinBox* udMuteOpen_ = nullptr;
};
