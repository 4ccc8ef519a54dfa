#include "mainstyle.h"

#include <QFile>

// The sheet lives in this static library's resources, which a program only
// sees once they are registered.
static void RegisterStyleResources() { Q_INIT_RESOURCE(app); }

QString MainWindowStyleSheet(const QString& accent) {
  static const QString sheet = [] {
    RegisterStyleResources();
    QFile file(":/app/mainwindow.qss");
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
  }();
  return QString(sheet).replace("@accent", accent);
}
