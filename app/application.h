#pragma once
// The programmer's application object. An exception that escapes an event
// handler is shown in a message box with its text, and the program goes on:
// a fault in one command must not take the user's unsaved configuration
// down with the whole program.

#include <QApplication>
#include <QString>

class VornApplication : public QApplication {
 public:
  // caption: the title of the box that shows an escaped exception.
  VornApplication(int& argc, char** argv, QString caption);

  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowEscapedException(const QString& text);

  QString caption_;
  bool showing_ = false;
};
