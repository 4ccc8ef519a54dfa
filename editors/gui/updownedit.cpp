#include "updownedit.h"

#include <QLineEdit>
#include <QSpinBox>

QSpinBox* MakeUpDown(QWidget* parent, const UpDownSpec& spec, const QString& accessibleName) {
  auto* upDown = new QSpinBox(parent);
  upDown->setObjectName(spec.upDownName);
  upDown->setRange(spec.minimum, spec.maximum);
  upDown->setSingleStep(spec.step);
  upDown->setGroupSeparatorShown(false);
  upDown->setAccessibleName(accessibleName);
  QLineEdit* edit = EditOf(upDown);
  edit->setObjectName(spec.editName);
  edit->setAccessibleName(accessibleName);
  edit->setReadOnly(!spec.typing);
  return upDown;
}

QLineEdit* EditOf(const QSpinBox* upDown) { return upDown->findChild<QLineEdit*>(); }
