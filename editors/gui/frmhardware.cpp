#include "frmhardware.h"

#include <QLabel>
#include <QVBoxLayout>

TfrmHardware::TfrmHardware(QWidget* parent) : QDialog(parent) {
  setObjectName("frmHardware");
  setWindowTitle("Hardware");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("work in progress...", this);
  label->setObjectName("Label1");
  layout->addWidget(label, 0, Qt::AlignCenter);
  resize(320, 160);
}
