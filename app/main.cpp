// The programmer's entry: one instance per user, the shared objects in
// their fixed order, then the main window.

#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <memory>

#include "appcontext.h"
#include "application.h"
#include "buildconfig.h"
#include "bytetrace.h"
#include "filechooser.h"
#include "frmmain.h"
#include "messages.h"
#include "programwindows.h"
#include "screenshot.h"
#include "simulation.h"
#include "singleinstance.h"
#include "startup.h"

namespace {
// The installed desktop entry and icon; the desktop matches the running
// window to them by this name.
const char* const kDesktopName = "example.vornradio.KestalProgrammer";
}  // namespace

int main(int argc, char** argv) {
  const BuildConfig& build = CompiledBuildConfig();
  // Before the application object, so --help works without a display
  // (the manual page is made from it at build time).
  const CommandLine early = ParseCommandLine(QStringList(argv, argv + argc));
  if (early.help) {
    std::fputs(ProgramHelp(build).c_str(), stdout);
    return 0;
  }
  if (early.version) {
    std::fputs(VersionReport(build, "kestal-programmer").c_str(), stdout);
    return 0;
  }
  VornApplication app(argc, argv, QString::fromStdString(ApplicationTitle(build)));
  QGuiApplication::setDesktopFileName(kDesktopName);
  QApplication::setWindowIcon(QIcon::fromTheme(kDesktopName));
  const CommandLine line = ParseCommandLine(QApplication::arguments());

  SingleInstance guard(SingleInstance::DefaultName(build), SingleInstance::DefaultFolder());
  if (!guard.IsPrimary()) return RunSecondInstance(guard, build, line.memFile);

  // Declared before the shared objects so the radio outlives the port
  // that talks to it.
  SimulationSession simulation;
  // Before the port that writes to it, so it outlives the port.
  ByteTrace trace;
  SharedObjects shared(build.productId);
  if (!line.tracePath.isEmpty()) {
    std::string error;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (trace.Open(line.tracePath.toStdString(), program.toStdString(), error))
      shared.port.SetTrace(&trace);
    else
      QMessageBox::warning(nullptr, "Error",
                           "Unable to open the trace file " + line.tracePath + ": " +
                               QString::fromStdString(error));
  }
  DialogFileChooser chooser;
  AppContext context{build, Settings::ForApplication(build), shared, chooser, line.arguments, 0,
                     line.floatingDisplay, line.memFile.toStdString()};

  if (line.simulate) {
    std::string error;
    context.sessionPort = simulation.Start(build, shared.port, error);
    // A read to be photographed must last long enough to be seen.
    if (line.screenshotRead) simulation.PaceLikeARealLine();
    if (context.sessionPort == 0)
      QMessageBox::warning(nullptr, "Error",
                           QString::fromStdString("Unable to start the simulated radio: " + error));
  }

  TfrmMain window(context);
  // A trace that cannot be written (a full disk) says so in the window; the
  // radio work goes on.
  if (trace.IsOpen()) window.ReportTraceFailures(trace);
  new ProgramWindows(window);  // owned by the main window
  QObject::connect(&guard, &SingleInstance::raiseRequested, &window, &TfrmMain::BringToFront);
  QObject::connect(&guard, &SingleInstance::openRequested, &window, &TfrmMain::OpenHandedFile);
  std::unique_ptr<ScreenshotDriver> screenshot;
  if (!line.screenshotPath.isEmpty())
    screenshot = std::make_unique<ScreenshotDriver>(&window, line.screenshotPath,
                                                    line.screenshotRead);
  window.show();
  window.StartUp();
  if (screenshot) screenshot->SetReady();
  return app.exec();
}
