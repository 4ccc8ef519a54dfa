#include "startup.h"

#include <QMessageBox>

#include "buildconfig.h"
#include "singleinstance.h"

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    line.arguments.push_back(arg.toStdString());
    if (arg == "--simulate") {
      line.simulate = true;
    } else if (arg == "--screenshot-read") {
      line.screenshotRead = true;
    } else if (arg == "--screenshot" && i + 1 < arguments.size()) {
      line.screenshotPath = arguments[++i];
      line.arguments.push_back(line.screenshotPath.toStdString());
    } else if (arg == "--trace" && i + 1 < arguments.size()) {
      line.tracePath = arguments[++i];
      line.arguments.push_back(line.tracePath.toStdString());
    }
  }
  return line;
}

int RunSecondInstance(const SingleInstance& guard, const BuildConfig& build) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(ApplicationTitle(build)),
                  "The program is already running", QMessageBox::Ok);
  box.exec();
  guard.RequestRaise();
  return 0;
}
