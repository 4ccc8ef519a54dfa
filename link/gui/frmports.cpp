#include "frmports.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "portlist.h"
#include "radioinfo.h"

TfrmPorts::TfrmPorts(const BuildConfig& build, const PortMap& ports, QWidget* parent)
    : QDialog(parent), build_(build), ports_(ports) {
  setObjectName("frmPorts");
  setWindowTitle("Configure serial port");
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

  auto* bevel = new QFrame(this);
  bevel->setObjectName("Bevel1");
  bevel->setFrameShape(QFrame::StyledPanel);
  bevel->setFrameShadow(QFrame::Sunken);
  auto* grid = new QGridLayout(bevel);

  auto* label = new QLabel("&Serial Port:", bevel);
  label->setObjectName("Label2");
  cbPort_ = new QComboBox(bevel);
  cbPort_->setObjectName("cbPort");
  cbPort_->setAccessibleName("Serial Port");
  cbPort_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  cbPort_->setMinimumWidth(220);
  label->setBuddy(cbPort_);

  lblMaxBaudRate_ = new QLabel("&Max Baud Rate:", bevel);
  lblMaxBaudRate_->setObjectName("lblMaxBaudRate");
  cbBaud_ = new QComboBox(bevel);
  cbBaud_->setObjectName("cbBaud");
  cbBaud_->setAccessibleName("Max Baud Rate");
  for (int rate : kBaudRates) cbBaud_->addItem(QString::number(rate), rate);
  cbBaud_->setCurrentIndex(0);
  lblMaxBaudRate_->setBuddy(cbBaud_);

  grid->addWidget(label, 0, 0);
  grid->addWidget(cbPort_, 0, 1);
  grid->addWidget(lblMaxBaudRate_, 1, 0);
  grid->addWidget(cbBaud_, 1, 1);

  btnOK_ = new QPushButton("OK", this);
  btnOK_->setObjectName("btnOK");
  btnOK_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("BitBtn2");
  connect(btnOK_, &QPushButton::clicked, this, &TfrmPorts::btnOKClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK_);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(bevel);
  column->addLayout(buttons);
  setTabOrder(cbPort_, cbBaud_);
  setTabOrder(cbBaud_, btnOK_);
  setTabOrder(btnOK_, cancel);
}

void TfrmPorts::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormShow();
}

void TfrmPorts::Warn(const QString& text, const QString& caption) {
  // After the dialog is on screen, so the message stands over it.
  QTimer::singleShot(0, this, [this, text, caption] {
    QMessageBox::warning(this, caption, text, QMessageBox::Ok);
  });
}

void TfrmPorts::FormShow() {
  cbPort_->clear();
  const std::vector<PortEntry> ports = ListPorts(ports_);
  const bool switches = TradioInfo::HasBaudRateSwitch(build_.productId);
  lblMaxBaudRate_->setVisible(switches);
  cbBaud_->setVisible(switches);
  if (switches) {
    const int index = cbBaud_->findData(maxBaudRate_);
    cbBaud_->setCurrentIndex(index < 0 ? 0 : index);
  }
  if (ports.empty()) {
    Warn("No com ports to select??", "Invalid serial port");
    return;
  }
  for (const PortEntry& p : ports) cbPort_->addItem(QString::fromStdString(PortEntryText(p)), p.number);
  const int index = cbPort_->findData(selectedPort_);
  cbPort_->setCurrentIndex(index < 0 ? 0 : index);
  if (index < 0) Warn("Configured port no longer valid, please select correct port", "Serial port");
  cbPort_->setFocus();
}

void TfrmPorts::btnOKClick() {
  // With no port to choose, OK keeps the configured one: as Cancel.
  if (cbPort_->currentIndex() < 0) {
    reject();
    return;
  }
  selectedPort_ = cbPort_->currentData().toInt();
  maxBaudRate_ = kBaudRates[static_cast<size_t>(std::max(cbBaud_->currentIndex(), 0))];
  accept();
}
