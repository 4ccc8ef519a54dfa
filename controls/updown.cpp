#include "updown.h"

#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include "keyfilters.h"

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name,
                         const QString& accessibleName) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);  // the box's arrow keys do the same
  button->setProperty("keyboardElsewhere", true);
  button->setAccessibleName(accessibleName);
  button->setFixedSize(16, 11);
  return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent),
      up_(ArrowButton(this, Qt::UpArrow, "up", "Up")),
      down_(ArrowButton(this, Qt::DownArrow, "down", "Down")) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(true); });
  connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(false); });
}

void UpDown::SetBuddy(QLineEdit* edit) {
  OnArrowKeys(edit, [self = QPointer<UpDown>(this)](bool up) {
    if (self) emit self->Stepped(up);
  });
}
