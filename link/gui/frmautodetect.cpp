#include "frmautodetect.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "portlist.h"
#include "radioprobe.h"
#include "sharedobjects.h"

namespace {
constexpr int kTickMs = 50;
}

TfrmAutoDetect::TfrmAutoDetect(const BuildConfig& build, SharedObjects& shared, QWidget* parent)
    : QDialog(parent), build_(build), shared_(shared) {
  setObjectName("frmAutoDetect");
  setWindowTitle("AutoDetect");
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

  Panel1_ = new QFrame(this);
  Panel1_->setObjectName("Panel1");
  Panel1_->setFrameShape(QFrame::StyledPanel);
  auto* panel = new QVBoxLayout(Panel1_);
  Memo1_ = new QPlainTextEdit(Panel1_);
  Memo1_->setObjectName("Memo1");
  Memo1_->setReadOnly(true);
  Memo1_->setAccessibleName("Auto-detect progress");
  Memo1_->setMinimumSize(260, 110);
  panel->addWidget(Memo1_);

  btnClose_ = new QPushButton("Close", this);
  btnClose_->setObjectName("btnClose");
  btnClose_->setDefault(true);
  connect(btnClose_, &QPushButton::clicked, this, &TfrmAutoDetect::btnCloseClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnClose_);
  buttons->addStretch();
  auto* column = new QVBoxLayout(this);
  column->addWidget(Panel1_);
  column->addLayout(buttons);

  TimerAutoDetect_ = new QTimer(this);
  TimerAutoDetect_->setObjectName("TimerAutoDetect");
  TimerAutoDetect_->setInterval(kTickMs);
  connect(TimerAutoDetect_, &QTimer::timeout, this, &TfrmAutoDetect::TimerAutoDetectTimer);
}

bool TfrmAutoDetect::IsScanning() const { return TimerAutoDetect_->isActive(); }

void TfrmAutoDetect::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormShow();
}

void TfrmAutoDetect::AddLine(const QString& line) { Memo1_->appendPlainText(line); }

void TfrmAutoDetect::FormShow() {
  btnClose_->setText("Cancel");
  btnClose_->setFocus();
  index_ = 0;
  foundPort_ = 0;
  otherPort_ = 0;
  ports_ = ExistingPorts(shared_.port.Ports());
  Memo1_->clear();
  if (ports_.empty()) {
    AddLine("No serial ports found - check your system configuration");
    return;
  }
  TimerAutoDetect_->start();
}

void TfrmAutoDetect::Finish() {
  TimerAutoDetect_->stop();
  btnClose_->setText("Close");
  btnClose_->setFocus();
}

void TfrmAutoDetect::TimerAutoDetectTimer() {
  Memo1_->clear();
  if (index_ >= ports_.size()) {
    foundPort_ = 0;
    Finish();
    if (otherPort_ != 0) {
      for (const std::string& line : OtherModelLines(otherPort_, other_, build_))
        AddLine(QString::fromStdString(line));
      return;
    }
    AddLine("Radio not found.");
    AddLine("Ensure radio is switched on.");
    AddLine("Check programming leads.");
    return;
  }
  const int number = ports_[index_];
  AddLine("Checking " + QString::fromStdString(PortMap::ComName(number)));
  repaint();  // the probe below blocks
  const ProbeResult result = ProbePort(shared_.port, shared_.radio, number, build_);
  // The user may have closed the dialog while the probe ran.
  if (!isVisible()) return;
  if (result.verdict != ProbeVerdict::kNoRadio) {
    Memo1_->clear();
    for (const std::string& line : AnsweredRadioLines(number, result)) AddLine(QString::fromStdString(line));
    if (result.verdict == ProbeVerdict::kFound) {
      foundPort_ = number;
      Finish();
      return;
    }
    otherPort_ = number;
    other_ = result;
  }
  ++index_;
}

void TfrmAutoDetect::btnCloseClick() {
  TimerAutoDetect_->stop();
  accept();
}

void TfrmAutoDetect::done(int result) {
  TimerAutoDetect_->stop();
  QDialog::done(result);
}
