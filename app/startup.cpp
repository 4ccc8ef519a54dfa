#include "startup.h"

#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "buildconfig.h"
#include "excerpt.h"
#include "singleinstance.h"

namespace {

// How much of a wrong switch the usage error quotes.
constexpr size_t kQuotedSwitchChars = 40;

// Qt's own command-line switches, taken out of the arguments by the
// application object; given with "-" or "--", a value after a blank or "=".
struct QtSwitch {
  const char* name;
  bool takesValue;
};
constexpr QtSwitch kQtSwitches[] = {
    {"platform", true},   {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},     {"qwindowgeometry", true},    {"geometry", true},
    {"qwindowicon", true}, {"icon", true},              {"qwindowtitle", true},
    {"title", true},      {"style", true},              {"stylesheet", true},
    {"session", true},    {"display", true},            {"name", true},
    {"visual", true},     {"qmljsdebugger", false},     {"reverse", false},
    {"widgetcount", false}, {"nograb", false},          {"dograb", false},
    {"sync", false},      {"testability", false},
};

const QtSwitch* FindQtSwitch(const QString& arg) {
  QString name = arg.startsWith("--") ? arg.mid(2) : arg.mid(1);
  name = name.section('=', 0, 0);
  for (const QtSwitch& s : kQtSwitches)
    if (name == QLatin1String(s.name)) return &s;
  return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  bool switchesEnded = false;
  auto fail = [&line](const std::string& error) {
    if (line.error.empty()) line.error = error;
  };
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    line.arguments.push_back(arg.toStdString());
    if (switchesEnded || (!arg.startsWith('-') &&
                          arg.compare("/a", Qt::CaseInsensitive) != 0)) {
      line.memFile = arg;
    } else if (arg.compare("/a", Qt::CaseInsensitive) == 0) {
      // Advanced mode, looked for in the first argument only.
    } else if (arg == "--") {
      switchesEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--simulate") {
      line.simulate = true;
    } else if (arg == "--floating-display") {
      line.floatingDisplay = true;
    } else if (arg == "--screenshot-read") {
      line.screenshotRead = true;
    } else if (arg == "--screenshot" || arg == "--trace") {
      if (i + 1 >= arguments.size()) {
        fail(arg.toStdString() + " needs FILE");
        continue;
      }
      (arg == "--trace" ? line.tracePath : line.screenshotPath) = arguments[++i];
      line.arguments.push_back(arguments[i].toStdString());
    } else if (arg == "--version") {
      line.version = true;
    } else if (const QtSwitch* qt = FindQtSwitch(arg)) {
      QString value = arg.section('=', 1);
      if (qt->takesValue && !arg.contains('=')) {
        if (i + 1 >= arguments.size()) {
          fail(arg.toStdString() + " needs a value");
          continue;
        }
        value = arguments[++i];
        line.arguments.push_back(value.toStdString());
      }
      if (QLatin1String(qt->name) == QLatin1String("platform")) line.platform = value;
    } else {
      fail("unknown option " + QuotedExcerpt(arg.toStdString(), kQuotedSwitchChars));
    }
  }
  return line;
}

std::string UsageErrorText(const std::string& error) {
  return "kestal-programmer: " + error +
         "\nUsage: kestal-programmer [/a] [OPTION]... [FILE.mem]\n"
         "Try 'kestal-programmer --help' for more information.\n";
}

bool NoDisplayFor(const QString& platformSwitch, const QString& qpaPlatform,
                  const QString& x11Display, const QString& waylandDisplay) {
  if (!x11Display.isEmpty() || !waylandDisplay.isEmpty()) return false;
  const QString platforms = !platformSwitch.isEmpty() ? platformSwitch : qpaPlatform;
  // No platform named: the desktop default, X11 or Wayland.
  if (platforms.isEmpty()) return true;
  for (const QString& entry : platforms.split(';', Qt::SkipEmptyParts)) {
    const QString plugin = entry.section(':', 0, 0).trimmed();
    if (plugin != "xcb" && !plugin.startsWith("wayland")) return false;
  }
  return true;
}

bool NoDisplay(const QString& platformSwitch) {
  return NoDisplayFor(platformSwitch, qEnvironmentVariable("QT_QPA_PLATFORM"),
                      qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}

std::string NoDisplayText(const std::string& why) {
  return "kestal-programmer: no display found: " + why +
         ".\nStart it in a desktop session, or use vornprog on a terminal.\n";
}

std::string NoDisplayText() {
  return NoDisplayText("neither DISPLAY (X11) nor WAYLAND_DISPLAY is set");
}

namespace {

QtMessageHandler g_handlerBeforeStart = nullptr;

void PlatformStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    if (g_handlerBeforeStart) g_handlerBeforeStart(type, context, text);
    return;
  }
  const QString display = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  std::string why = "the platform could not start";
  if (!display.isEmpty() || !wayland.isEmpty())
    why = "the display " +
          QuotedExcerpt((display.isEmpty() ? wayland : display).toStdString(), kQuotedSwitchChars) +
          " could not be opened";
  std::fputs(NoDisplayText(why).c_str(), stderr);
  std::fflush(stderr);
  std::_Exit(kExitNoDisplay);
}

}  // namespace

PlatformStartGuard::PlatformStartGuard() {
  g_handlerBeforeStart = qInstallMessageHandler(PlatformStartMessage);
}

PlatformStartGuard::~PlatformStartGuard() { qInstallMessageHandler(g_handlerBeforeStart); }

const std::vector<SwitchHelp>& SwitchHelpTable() {
  static const std::vector<SwitchHelp> table = {
      {"/a", "advanced mode (only as the first argument; /A too)"},
      {"--simulate", "use a simulated radio instead of a serial port"},
      {"--floating-display", "show the Edit menu's \"Floating Display\" item in every build"},
      {"--screenshot FILE", "save the main window as FILE when idle, then quit", true},
      {"--screenshot-read", "with --screenshot: read the radio first", true},
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
    if (row.forTests) continue;
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
