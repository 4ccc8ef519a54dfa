#include "updownedit.h"

#include <QLineEdit>
#include <QSpinBox>

QSpinBox* MakeUpDown(QWidget* parent, const UpDownField& field, const QString& accessibleName) {
  auto* upDown = new QSpinBox(parent);
  upDown->setObjectName(field.upDownName);
  upDown->setRange(field.minimum, field.maximum);
  upDown->setSingleStep(field.step);
  upDown->setGroupSeparatorShown(false);
  upDown->setAccessibleName(accessibleName);
  QLineEdit* edit = EditOf(upDown);
  edit->setObjectName(field.editName);
  edit->setAccessibleName(accessibleName);
  edit->setReadOnly(!field.typing);
  return upDown;
}

QLineEdit* EditOf(const QSpinBox* upDown) { return upDown->findChild<QLineEdit*>(); }
