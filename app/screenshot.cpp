#include "screenshot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

ScreenshotDriver::ScreenshotDriver(QWidget* window, QString path, QObject* parent)
    : QObject(parent), window_(window), path_(std::move(path)) {
  connect(&timer_, &QTimer::timeout, this, &ScreenshotDriver::Tick);
  timer_.start(300);
}

void ScreenshotDriver::Tick() {
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
    const QString file = QString("%1-box%2.png").arg(path_).arg(++boxes_);
    box->grab().save(file);
    std::printf("message box \"%s\": %s (saved as %s)\n", qPrintable(box->windowTitle()),
                qPrintable(box->text()), qPrintable(file));
    QAbstractButton* answer = box->defaultButton();
    if (!answer) answer = box->escapeButton();
    if (!answer && !box->buttons().isEmpty()) answer = box->buttons().constFirst();
    if (answer) answer->click();
    idleTicks_ = 0;
    return;
  }
  if (!ready_ || ++idleTicks_ < 2) return;
  timer_.stop();
  const bool saved = window_->grab().save(path_);
  std::printf("main window %s %s\n", saved ? "saved as" : "could not be saved as",
              qPrintable(path_));
  std::fflush(stdout);
  QApplication::exit(saved ? 0 : 1);
}
