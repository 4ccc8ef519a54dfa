#pragma once
// "Byte Monitor": raw blocks of bytes as they were read from or queued for
// the line, with an optional ASCII decoding.

#include "monitorwindow.h"

class QCheckBox;
class SerialPort;

class TbyteMonitorForm : public TrafficMonitorWindow {
  Q_OBJECT
 public:
  TbyteMonitorForm(SerialPort& port, QWidget* parent = nullptr);

 private:
  QCheckBox* chkDecodeASCII_ = nullptr;
};
