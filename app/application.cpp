#include "application.h"

#include <QLabel>
#include <QMessageBox>
#include <exception>

VornApplication::VornApplication(int& argc, char** argv, QString caption)
    : QApplication(argc, argv), caption_(std::move(caption)) {
  installEventFilter(this);
}

bool VornApplication::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show) return false;
  auto* box = qobject_cast<QMessageBox*>(watched);
  if (!box) return false;
  static const std::pair<QMessageBox::Icon, const char*> kIconNames[] = {
      {QMessageBox::Information, "Information"},
      {QMessageBox::Warning, "Warning"},
      {QMessageBox::Critical, "Error"},
      {QMessageBox::Question, "Question"},
  };
  auto* icon = box->findChild<QLabel*>("qt_msgboxex_icon_label");
  for (const auto& [kind, name] : kIconNames)
    if (icon && box->icon() == kind) icon->setAccessibleName(name);
  return false;
}

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
