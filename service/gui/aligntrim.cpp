#include "aligntrim.h"

#include <QLineEdit>
#include <algorithm>

#include "inputrule.h"
#include "updown.h"

AlignTrim::AlignTrim(QWidget* parent, const char* upDownName, const char* editName, int low,
                     int high, const QString& accessibleName, bool typing)
    : QObject(parent), edit_(new QLineEdit(parent)), upDown_(new UpDown(parent)), low_(low),
      high_(high) {
  edit_->setObjectName(editName);
  edit_->setAccessibleName(accessibleName);
  edit_->setAlignment(Qt::AlignRight);
  edit_->setFixedWidth(44);
  edit_->setReadOnly(!typing);
  // Digits and Backspace reach the box; every other character is refused.
  if (typing) InputRule::Install(edit_, DigitKey);
  upDown_->setObjectName(upDownName);
  upDown_->setAccessibleName(accessibleName);
  upDown_->SetBuddy(edit_);
  connect(upDown_, &UpDown::Stepped, this, [this](bool up) {
    SetPosition(std::clamp(position_ + (up ? 1 : -1), low_, high_));
    emit Stepped(position_);
  });
}

void AlignTrim::SetPosition(int value) {
  position_ = std::clamp(value, low_, high_);
  InputRule::Load(edit_, QString::number(position_));
}

void AlignTrim::SetTag(int address) {
  tag_ = address;
  edit_->setProperty("Tag", address);
  upDown_->setProperty("Tag", address);
}

void AlignTrim::SetVisible(bool visible) {
  edit_->setVisible(visible);
  upDown_->setVisible(visible);
}
