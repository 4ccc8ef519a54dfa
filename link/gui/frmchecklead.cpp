#include "frmchecklead.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>

#include "filereplace.h"
#include "sharedobjects.h"

namespace {
constexpr uint32_t kLineRate = 9600;
// Enough of the trace for the last few exchanges, not a day's traffic.
constexpr size_t kTraceTailBytes = 16 * 1024;
}  // namespace

TfrmCheckLead::TfrmCheckLead(const BuildConfig& build, SharedObjects& shared, QWidget* parent)
    : QDialog(parent), build_(build), shared_(shared) {
  setObjectName("frmCheckLead");
  setWindowTitle("Check Lead");

  Memo1_ = new QPlainTextEdit(this);
  Memo1_->setObjectName("Memo1");
  Memo1_->setReadOnly(true);
  Memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1_->setAccessibleName("Lead check findings");
  Memo1_->setMinimumSize(560, 260);

  // No default button: Enter must not start the radio check again.
  btnCheck_ = new QPushButton("&Check Again", this);
  btnCheck_->setObjectName("btnCheck");
  btnCheck_->setAutoDefault(false);
  btnSave_ = new QPushButton("&Save Report...", this);
  btnSave_->setObjectName("btnSave");
  btnSave_->setAutoDefault(false);
  btnSave_->setEnabled(false);
  btnClose_ = new QPushButton("Close", this);
  btnClose_->setObjectName("btnClose");
  btnClose_->setAutoDefault(false);
  connect(btnCheck_, &QPushButton::clicked, this, &TfrmCheckLead::btnCheckClick);
  connect(btnSave_, &QPushButton::clicked, this, &TfrmCheckLead::btnSaveClick);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnCheck_);
  buttons->addWidget(btnSave_);
  buttons->addStretch();
  buttons->addWidget(btnClose_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Memo1_);
  column->addLayout(buttons);

  chooseReportFile_ = [this] {
    return QFileDialog::getSaveFileName(this, "Save Report", "lead-check.txt", "Text files (*.txt)");
  };
}

void TfrmCheckLead::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  checked_ = false;
  Memo1_->setPlainText("Checking the lead...");
  btnSave_->setEnabled(false);
  // After the window is on screen: the check takes a few seconds.
  QTimer::singleShot(0, this, &TfrmCheckLead::RunCheck);
}

void TfrmCheckLead::btnCheckClick() {
  Memo1_->setPlainText("Checking the lead...");
  Memo1_->repaint();
  RunCheck();
}

void TfrmCheckLead::RunCheck() {
  btnCheck_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The program's own hold on the port would hide the lead from the check.
  const bool wasOpen = shared_.port.IsOpen();
  const std::string portName = shared_.port.PortName();
  shared_.port.Close();
  const std::vector<std::string> extra = shared_.port.Ports().ExtraDevices();
  report_ = RunLeadDoctor(SystemRoot(root_), shared_.port, shared_.radio, "", build_, extra);
  if (wasOpen) shared_.port.Open(portName, kLineRate);
  QApplication::restoreOverrideCursor();

  QStringList lines;
  for (const std::string& line : ReportLines(report_)) lines << QString::fromStdString(line);
  Memo1_->setPlainText(lines.join('\n'));
  btnCheck_->setEnabled(true);
  btnSave_->setEnabled(true);
  checked_ = true;
}

void TfrmCheckLead::btnSaveClick() {
  const QString path = chooseReportFile_ ? chooseReportFile_() : QString();
  if (path.isEmpty()) return;
  const std::string text =
      SavedReportText(report_, build_, tracePath_.empty() ? std::string() : TraceTail(tracePath_, kTraceTailBytes));
  if (!ReplaceFileContents(path.toLocal8Bit().constData(), reinterpret_cast<const uint8_t*>(text.data()),
                           text.size()))
    QMessageBox::warning(this, "Error",
                         "Unable to write file " + path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
}
