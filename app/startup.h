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
};

CommandLine ParseCommandLine(const QStringList& arguments);

// One line of --help: the switch as typed, with its argument, and what it
// does. A new switch gets a row here as well as its case in the parser.
struct SwitchHelp {
  const char* usage;
  const char* meaning;
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
