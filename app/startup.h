#pragma once
// The program's entry steps that are worth testing on their own: the
// command line and the second-instance path.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct BuildConfig;
class SingleInstance;

struct CommandLine {
  // Every argument after the program name, as given (the "/a" switch is
  // looked for in the first only).
  std::vector<std::string> arguments;
  bool simulate = false;       // --simulate
  QString screenshotPath;      // --screenshot FILE
  bool screenshotRead = false; // --screenshot-read: read the radio first
  bool help = false;           // --help or -h: print ProgramHelp() and stop
  bool floatingDisplay = false; // --floating-display: show its menu item
  QString tracePath;           // --trace FILE: append the serial traffic to FILE
  bool version = false;        // --version: print VersionReport() and stop
  // A mem-file to load in place of the default file (the last argument
  // that is no switch, as a file manager passes it).
  QString memFile;
  // The platform a -platform switch of Qt's names; empty without one.
  QString platform;
  // Why the line is wrong ("unknown option \"--bogus\""); empty when it is
  // right. Qt's own switches (-platform, --style ...) are right.
  std::string error;
};

CommandLine ParseCommandLine(const QStringList& arguments);

// What a wrong command line gets on standard error: the error, the usage
// line and where to read more. The exit status is then kExitUsage.
std::string UsageErrorText(const std::string& error);
inline constexpr int kExitNoDisplay = 1;
inline constexpr int kExitUsage = 2;

// Whether the windows would find no display to open on: every platform
// Qt would try (the -platform switch, else QT_QPA_PLATFORM, a list split
// by ";", else the desktop default) needs an X11 or a Wayland display,
// and neither DISPLAY nor WAYLAND_DISPLAY names one.
bool NoDisplayFor(const QString& platformSwitch, const QString& qpaPlatform,
                  const QString& x11Display, const QString& waylandDisplay);
// The same for this process's environment.
bool NoDisplay(const QString& platformSwitch);
// Said on standard error when no display was found; the exit status is
// kExitNoDisplay. why: what was missing or failed.
std::string NoDisplayText(const std::string& why);
std::string NoDisplayText();  // neither display variable set

// Held while the application object is made: a platform that cannot start
// (a display that is named but cannot be reached) ends the program as no
// display found, with kExitNoDisplay, instead of Qt's abort and its advice
// to reinstall.
class PlatformStartGuard {
 public:
  PlatformStartGuard();
  ~PlatformStartGuard();
  PlatformStartGuard(const PlatformStartGuard&) = delete;
  PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
};

// One line of --help: the switch as typed, with its argument, and what it
// does. A new switch gets a row here as well as its case in the parser.
struct SwitchHelp {
  const char* usage;
  const char* meaning;
  // Exists for the tests and the screenshots of the documentation: the
  // parser knows it, --help and the manual page leave it out.
  bool forTests = false;
};
const std::vector<SwitchHelp>& SwitchHelpTable();

// The text of --help (also the source of the manual page): usage, what the
// program is, then one line per switch of SwitchHelpTable().
std::string ProgramHelp(const BuildConfig& build);

// A second copy of the program: says so, asks the running one to come to
// the front, and gives the exit code (0). With a mem-file, the file is
// handed to the running copy instead, which asks and loads it there; the
// notice is shown only when the hand-over fails.
int RunSecondInstance(const SingleInstance& guard, const BuildConfig& build,
                      const QString& memFile = QString());
