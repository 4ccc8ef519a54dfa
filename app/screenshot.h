#pragma once
// "--screenshot FILE": a look at the program without a person at the
// screen. Message boxes that come up are saved as FILE-box<N>.png, their
// texts printed, and answered with their default button; once the main
// window is idle it is saved as FILE and the program quits.

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

class ScreenshotDriver : public QObject {
 public:
  ScreenshotDriver(QWidget* window, QString path, QObject* parent = nullptr);
  // Start-up has finished; the window may be captured once it is idle.
  void SetReady() { ready_ = true; }

 private:
  void Tick();

  QWidget* window_;
  QString path_;
  QTimer timer_;
  int boxes_ = 0;
  int idleTicks_ = 0;
  bool ready_ = false;
};
