// The programmer's entry: one instance per user, the shared objects in
// their fixed order, then the main window.

#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <memory>
#include <optional>

#include "appcontext.h"
#include "application.h"
#include "buildconfig.h"
#include "bytetrace.h"
#include "excerpt.h"
#include "filechooser.h"
#include "frmmain.h"
#include "messages.h"
#include "programwindows.h"
#include "screenshot.h"
#include "simulation.h"
#include "singleinstance.h"
#include "startup.h"
#include "userfile.h"

namespace {
// The installed desktop entry and icon; the desktop matches the running
// window to them by this name.
const char* const kDesktopName = "example.vornradio.KestalProgrammer";

// The trace may be no file the programmer reads: appended to the mem-file
// to load, it would become part of it. Empty when it is none of them.
QString TraceClash(const QString& tracePath, const CommandLine& line, const AppContext& context) {
  const std::string trace = tracePath.toStdString();
  for (const std::string& read : {line.memFile.toStdString(),
                                  context.settings.Load(context.build).defaultFile}) {
    if (!read.empty() && NamesSameFile(trace, read))
      return QString::fromStdString("it is the mem-file " + ShownPath(read) +
                                    " the programmer reads");
  }
  return QString();
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit fails the one write past it instead of killing the
  // program in the middle of a transfer.
  IgnoreFileSizeLimitSignal();
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
  if (!early.error.empty()) {
    std::fputs(UsageErrorText(early.error).c_str(), stderr);
    return kExitUsage;
  }
  // Qt would abort, asking to reinstall the application.
  if (NoDisplay(early.platform)) {
    std::fputs(NoDisplayText().c_str(), stderr);
    return kExitNoDisplay;
  }
  std::optional<PlatformStartGuard> platformStart(std::in_place);
  VornApplication app(argc, argv, QString::fromStdString(ApplicationTitle(build)));
  platformStart.reset();
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
  DialogFileChooser chooser;
  AppContext context{build, Settings::ForApplication(build), shared, chooser, line.arguments, 0,
                     line.floatingDisplay, line.memFile.toStdString()};
  if (!line.tracePath.isEmpty()) {
    std::string error;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString clash = TraceClash(line.tracePath, line, context);
    if (clash.isEmpty() && trace.Open(line.tracePath.toStdString(), program.toStdString(), error)) {
      shared.port.SetTrace(&trace);
      context.tracePath = trace.Path();
    } else {
      QMessageBox::warning(nullptr, "Error",
                           QString::fromStdString("Unable to open the trace file " +
                                                  ShownPath(line.tracePath.toStdString()) + ": ") +
                               (clash.isEmpty() ? QString::fromStdString(error) : clash));
    }
  }

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
