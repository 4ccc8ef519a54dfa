#pragma once
// A pair of arrow buttons beside an edit box that step its value. The box
// keeps the value; the up-down only says which way to step, so each form
// decides how its text is read, stepped and limited. The Up and Down keys
// in the box step too, so the arrows are never the only way in.

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDown : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);

  // The box whose Up and Down keys step as the arrows do. A box whose keys
  // step differently from its arrows takes OnArrowKeys instead.
  void SetBuddy(QLineEdit* edit);

 signals:
  void Stepped(bool up);

 private:
  QToolButton* up_;
  QToolButton* down_;
};
