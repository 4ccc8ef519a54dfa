#pragma once
// One trim of the alignment bench: an edit box with its up-down, the
// up-down's position and range, and the memory address the trim writes
// (its Tag, also kept as the "Tag" property of both controls). An arrow
// click or the Up and Down keys in the box move the position inside the
// range and report it; what typed text does is the window's business.

#include <QObject>

class QLineEdit;
class QWidget;
class UpDown;

class AlignTrim : public QObject {
  Q_OBJECT
 public:
  AlignTrim(QWidget* parent, const char* upDownName, const char* editName, int low, int high,
            const QString& accessibleName, bool typing);

  QLineEdit* Edit() const { return edit_; }
  UpDown* Arrows() const { return upDown_; }
  int Position() const { return position_; }
  // Shows the value in the box; the position itself keeps to the range.
  void SetPosition(int value);
  int Tag() const { return tag_; }
  void SetTag(int address);
  void SetVisible(bool visible);

 signals:
  void Stepped(int position);

 private:
  QLineEdit* edit_;
  UpDown* upDown_;
  int low_;
  int high_;
  int position_ = 0;
  int tag_ = -1;
};
