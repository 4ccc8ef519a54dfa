#pragma once
// "Hardware": a placeholder window for hardware options still to come. It
// is built with the others so it has its place; nothing opens it yet.

#include <QDialog>

class TfrmHardware : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmHardware(QWidget* parent = nullptr);
};
