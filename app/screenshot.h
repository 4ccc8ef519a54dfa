#pragma once
// "--screenshot FILE": a look at the program without a person at the
// screen. Message boxes that come up are saved as FILE-box<N>.png, their
// texts printed, and answered (OK when they have it, so questions go on);
// once the main window is idle it is saved as FILE and the program quits.
// With "--screenshot-read" the radio is read first, and the progress
// dialog is saved half-way as FILE-progress.png.

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

class ScreenshotDriver : public QObject {
 public:
  ScreenshotDriver(QWidget* window, QString path, bool readRadio, QObject* parent = nullptr);
  // Start-up has finished; the window may be captured once it is idle.
  void SetReady() { ready_ = true; }

 private:
  void Tick();
  bool AnswerMessageBox(QWidget* modal);
  bool WatchProgress(QWidget* modal);
  void Save(QWidget* widget, const QString& file, const QString& what);

  QWidget* window_;
  QString path_;
  QTimer timer_;
  int boxes_ = 0;
  int idleTicks_ = 0;
  bool ready_ = false;
  bool readPending_ = false;
  bool progressSaved_ = false;
};
