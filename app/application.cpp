#include "application.h"

#include <QMessageBox>
#include <exception>

VornApplication::VornApplication(int& argc, char** argv, QString caption)
    : QApplication(argc, argv), caption_(std::move(caption)) {}

bool VornApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowEscapedException(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowEscapedException("An unknown error occurred.");
  }
  return false;
}

void VornApplication::ShowEscapedException(const QString& text) {
  // The box runs its own event loop; a second fault while it is up must
  // not stack boxes without end.
  if (showing_) return;
  showing_ = true;
  QMessageBox::critical(activeWindow(), caption_, text);
  showing_ = false;
}
