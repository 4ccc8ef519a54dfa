#include "bytemonitorform.h"

#include <QCheckBox>
#include <QHBoxLayout>

TbyteMonitorForm::TbyteMonitorForm(SerialPort& port, QWidget* parent)
    : TrafficMonitorWindow(std::make_unique<ByteMonitor>(port), "Byte Monitor",
                           {"byteMonMemo", "byteMonStart", "byteMonPause", "byteMonClose", "btnClear"},
                           parent) {
  setObjectName("byteMonitorForm");
  chkDecodeASCII_ = new QCheckBox("&Decode ASCII", this);
  chkDecodeASCII_->setObjectName("chkDecodeASCII");
  chkDecodeASCII_->setAccessibleName("Decode ASCII");
  OptionsRow()->addWidget(chkDecodeASCII_);
  OptionsRow()->addStretch();
  // Tab order follows the window: the lines, the check box, the buttons.
  auto* memo = findChild<QWidget*>("byteMonMemo");
  auto* start = findChild<QWidget*>("byteMonStart");
  setTabOrder(memo, chkDecodeASCII_);
  setTabOrder(chkDecodeASCII_, start);
  connect(chkDecodeASCII_, &QCheckBox::toggled, this,
          [this](bool on) { static_cast<ByteMonitor&>(Core()).SetDecodeAscii(on); });
}
