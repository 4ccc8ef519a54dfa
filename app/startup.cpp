#include "startup.h"

#include <QMessageBox>
#include <algorithm>

#include "buildconfig.h"
#include "singleinstance.h"

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    line.arguments.push_back(arg.toStdString());
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--simulate") {
      line.simulate = true;
    } else if (arg == "--floating-display") {
      line.floatingDisplay = true;
    } else if (arg == "--screenshot-read") {
      line.screenshotRead = true;
    } else if (arg == "--screenshot" && i + 1 < arguments.size()) {
      line.screenshotPath = arguments[++i];
      line.arguments.push_back(line.screenshotPath.toStdString());
    } else if (arg == "--trace" && i + 1 < arguments.size()) {
      line.tracePath = arguments[++i];
      line.arguments.push_back(line.tracePath.toStdString());
    } else if (arg == "--version") {
      line.version = true;
    } else if (!arg.startsWith('-') && arg.compare("/a", Qt::CaseInsensitive) != 0) {
      line.memFile = arg;
    }
  }
  return line;
}

const std::vector<SwitchHelp>& SwitchHelpTable() {
  static const std::vector<SwitchHelp> table = {
      {"/a", "advanced mode (only as the first argument; /A too)"},
      {"--simulate", "use a simulated radio instead of a serial port"},
      {"--floating-display", "show the Edit menu's \"Floating Display\" item in every build"},
      {"--screenshot FILE", "save the main window as FILE when idle, then quit"},
      {"--screenshot-read", "with --screenshot: read the radio first"},
      {"--trace FILE", "append every byte sent and received to FILE (byte monitor lines)"},
      {"--version", "print the version and the model it is built for, and exit"},
      {"-h, --help", "print this text and exit"},
  };
  return table;
}

std::string ProgramHelp(const BuildConfig& build) {
  std::string version = ShortVersionText(build);
  while (!version.empty() && version.back() == ' ') version.pop_back();
  std::string text = "Usage: kestal-programmer [/a] [OPTION]... [FILE.mem]\n" + ApplicationTitle(build) +
                     " " + version + ": reads and writes the configuration memory\nof " +
                     build.modelName + " radios over a serial port, keeps it in mem-files and "
                     "edits every\ngroup of settings.\n\nFILE.mem is loaded in place of the default mem-file, with the checks "
                     "of\nRead file. When the programmer is already running, the file is handed "
                     "to it,\nwhich asks before replacing the data it holds.\n\nOptions:\n";
  for (const SwitchHelp& row : SwitchHelpTable()) {
    std::string left = std::string("  ") + row.usage;
    left.resize(std::max<size_t>(left.size() + 2, 24), ' ');
    text += left + row.meaning + "\n";
  }
  text += "\nSettings live in the per-user configuration folder ($XDG_CONFIG_HOME,\n"
          "normally ~/.config): Vorn/" + build.modelName + ".conf holds the port, the "
          "baud rate and\nthe default mem-file. The recent mem-files are kept in "
          "kestal-programmer.ini\nbeside the program, or in Vorn/ there when the program is "
          "installed.\n";
  const std::string defaultFile = DefaultMemFileName(build);
  if (!defaultFile.empty())
    text += "The default mem-file is \"" + defaultFile + "\" in the working directory "
            "(the home\nfolder when started from the menu) until another is chosen with\n"
            "Setup > Set Default Filename...\n";
  return text;
}

int RunSecondInstance(const SingleInstance& guard, const BuildConfig& build,
                      const QString& memFile) {
  if (!memFile.isEmpty() && guard.RequestOpen(memFile)) return 0;
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(ApplicationTitle(build)),
                  "The program is already running", QMessageBox::Ok);
  box.exec();
  guard.RequestRaise();
  return 0;
}
