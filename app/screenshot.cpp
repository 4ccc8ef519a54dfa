#include "screenshot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <cstdio>

namespace {
// Fast enough to catch the progress dialog of an unpaced read.
constexpr int kTickMs = 20;
constexpr int kIdleTicks = 10;
}  // namespace

ScreenshotDriver::ScreenshotDriver(QWidget* window, QString path, bool readRadio, QObject* parent)
    : QObject(parent), window_(window), path_(std::move(path)), readPending_(readRadio) {
  connect(&timer_, &QTimer::timeout, this, &ScreenshotDriver::Tick);
  timer_.start(kTickMs);
}

void ScreenshotDriver::Save(QWidget* widget, const QString& file, const QString& what) {
  const bool saved = widget->grab().save(file);
  std::printf("%s %s %s\n", qPrintable(what), saved ? "saved as" : "could not be saved as",
              qPrintable(file));
  std::fflush(stdout);
}

bool ScreenshotDriver::AnswerMessageBox(QWidget* modal) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (!box) return false;
  const QString file = QString("%1-box%2.png").arg(path_).arg(++boxes_);
  std::printf("message box \"%s\": %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
  Save(box, file, "message box");
  QAbstractButton* answer = box->button(QMessageBox::Ok);
  if (!answer) answer = box->defaultButton();
  if (!answer) answer = box->escapeButton();
  if (!answer && !box->buttons().isEmpty()) answer = box->buttons().constFirst();
  if (answer) answer->click();
  return true;
}

bool ScreenshotDriver::WatchProgress(QWidget* modal) {
  if (!modal || modal->objectName() != "frmReadWrite") return false;
  const auto* gauge = modal->findChild<QProgressBar*>("gaugeProgress");
  if (!progressSaved_ && gauge && gauge->value() >= gauge->maximum() / 2) {
    progressSaved_ = true;
    Save(modal, path_ + "-progress.png", "progress dialog");
  }
  return true;
}

void ScreenshotDriver::Tick() {
  QWidget* modal = QApplication::activeModalWidget();
  if (AnswerMessageBox(modal) || WatchProgress(modal) || !ready_) {
    idleTicks_ = 0;
    return;
  }
  if (readPending_) {
    // Clicked from the event loop, so this timer keeps ticking inside the
    // command's modal windows.
    readPending_ = false;
    if (auto* read = window_->findChild<QPushButton*>("btnReadRadio"))
      QTimer::singleShot(0, read, &QPushButton::click);
    idleTicks_ = 0;
    return;
  }
  if (++idleTicks_ < kIdleTicks) return;
  timer_.stop();
  Save(window_, path_, "main window");
  QApplication::exit(QFile::exists(path_) ? 0 : 1);
}
