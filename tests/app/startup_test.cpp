// Start-up and shut-down of the main window: stored settings and their
// bounds, the "/a" switch, the default file and the recent-files INI.
#include <QFile>
#include <QMenu>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app_fixture.h"
#include "buildconfig.h"
#include "ini_file.h"
#include "settings_rules.h"
#include "startup.h"

namespace {

struct StoredCase {
  QVariant comPort, maxBdRate;
  int port, rate;
};

class StoredSettingsStart : public AppFixture, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredSettingsStart, BoundsAreAppliedAndTheBoundedValuesSaved) {
  const StoredCase& c = GetParam();
  Store("ComPort", c.comPort);
  Store("MaxBdRate", c.maxBdRate);
  const std::vector<SeenBox> seen = Start();

  EXPECT_EQ(Window().PortNumber(), c.port);
  EXPECT_EQ(Window().MaxBdRate(), c.rate);
  EXPECT_EQ(Window().CurrentBaudRate(), 9600);
  EXPECT_EQ(Window().StatusText(0), QString("COM%1").arg(c.port));
  EXPECT_EQ(Window().StatusText(1), "Not open");
  // The port the window tried is the bounded one.
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(seen[0].text.startsWith(QString("Unable to open COM%1.\n").arg(c.port)))
      << seen[0].text.toStdString();
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);

  CloseWindow();
  EXPECT_EQ(Stored("ComPort").toInt(), c.port);
  EXPECT_EQ(Stored("MaxBdRate").toInt(), c.rate);
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredSettingsStart,
                         ::testing::Values(StoredCase{0, 4800, 1, 9600},
                                           StoredCase{-3, 25000, 1, 25000},
                                           StoredCase{300, 115200, 1, 9600},
                                           StoredCase{256, 57600, 256, 57600},
                                           StoredCase{"COM3", "fast", 1, 9600}));

// A first run has no mem-file yet: it starts quietly with nothing loaded,
// and so does every run until the user chooses a default file.
TEST_F(AppFixture, WithNothingStoredTheDefaultsAreUsedAndSavedOnExit) {
  std::vector<SeenBox> seen = Start();
  ASSERT_EQ(seen.size(), 1u) << seen.back().text.toStdString();
  EXPECT_TRUE(seen[0].text.startsWith("Unable to open COM1."));
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  EXPECT_EQ(Window().StatusText(3), "No data loaded.");

  CloseWindow();
  EXPECT_EQ(Stored("ComPort").toInt(), 1);
  EXPECT_EQ(Stored("MaxBdRate").toInt(), 9600);
  EXPECT_EQ(Stored("DefaultFile").toString(), "defkestal.mem");

  seen = Start();
  EXPECT_EQ(seen.size(), 1u) << seen.back().text.toStdString();
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
}

// A default file the user chose and that is gone now is reported, also
// when it carries the build's default name in a folder of its own.
TEST_F(AppFixture, AChosenDefaultFileThatIsGoneIsReported) {
  for (const QString& chosen : {Path("fleet.mem"), Path("defkestal.mem")}) {
    Store("DefaultFile", chosen);
    const std::vector<SeenBox> seen = Start();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Unable to open file " + chosen);
    EXPECT_EQ(seen[1].caption, "File Open Error");
    EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  }
}

// A default file name of 200,000 characters, or one holding control
// characters, is named short and escaped: the box stays readable.
TEST_F(AppFixture, AnOddDefaultFileIsNamedShortInItsMessage) {
  const QString longName = Path(QString(200000, 'x') + ".mem");
  const QString escapes = Path("x\x1B]0;title\x07y.mem");
  for (const QString& stored : {longName, escapes}) {
    Store("DefaultFile", stored);
    const std::vector<SeenBox> seen = Start();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].text.startsWith("Unable to open file \""))
        << seen[1].text.left(80).toStdString();
    EXPECT_LT(seen[1].text.size(), 300) << seen[1].text.left(80).toStdString();
    for (const QChar c : seen[1].text) EXPECT_GE(c.unicode(), 0x20) << seen[1].text.toStdString();
  }
}

TEST_F(AppFixture, TheDefaultFileIsLoadedAtStartUp) {
  WriteFile(Path("defkestal.mem"), Image(0x5A02));
  const std::vector<SeenBox> seen = Start();
  EXPECT_EQ(seen.size(), 1u);  // only the port
  EXPECT_EQ(Window().DataSource(), kFileData);
  EXPECT_EQ(Window().CurrentFileName(), "defkestal.mem");
  EXPECT_EQ(Window().StatusText(3), "File: defkestal.mem");
  EXPECT_TRUE(Button("btnScan")->isEnabled());
}

// A FIFO, a directory or a device where the default file should be is
// refused at once with its reason; start-up never waits on it.
TEST_F(AppFixture, ADefaultFileThatIsNoRegularFileIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo(Path("defkestal.mem").toLocal8Bit().constData(), 0600), 0);
  QDir(Path("")).mkdir("folder.mem");
  struct Case {
    QString stored;  // empty: the build's default, "defkestal.mem"
    QString reason;
  };
  for (const Case& c : {Case{"", "it is a FIFO (named pipe), not a regular file"},
                        Case{Path("folder.mem"), "it is a directory, not a regular file"},
                        Case{"/dev/zero", "it is a character device, not a regular file"}}) {
    Store("DefaultFile", c.stored);
    const std::vector<SeenBox> seen = Start();
    ASSERT_EQ(seen.size(), 2u);
    const QString path = c.stored.isEmpty() ? QString("defkestal.mem") : c.stored;
    EXPECT_EQ(seen[1].text, "Unable to open file " + path + ": " + c.reason);
    EXPECT_EQ(seen[1].caption, "File Open Error");
    EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  }
}

// A settings store or a recent-files list that is a FIFO is neither read
// (QSettings would wait on it for ever) nor replaced by a file.
TEST_F(AppFixture, SettingsFilesThatAreFifosAreLeftAloneAndStartUpGoesOn) {
  for (const QString& path : {StorePath(), IniPath()})
    ASSERT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
  const std::vector<SeenBox> seen = Start();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].text.startsWith("Unable to open COM1."));
  CloseWindow();
  for (const QString& path : {StorePath(), IniPath()}) {
    struct stat st;
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << path.toStdString();
  }
}

TEST_F(AppFixture, ARemovedDefaultFileIsSavedEmptyAndTheNextStartUsesTheBuildDefault) {
  Store("DefaultFile", Path("fleet.mem"));
  Start();
  EXPECT_EQ(Window().DefaultFile(), Path("fleet.mem"));
  Action("mnuRemoveDefaultFilename")->trigger();
  EXPECT_TRUE(boxes.Take().empty());
  CloseWindow();
  EXPECT_EQ(Stored("DefaultFile").toString(), "");

  Start();
  EXPECT_EQ(Window().DefaultFile(), "defkestal.mem");
}

struct SwitchCase {
  std::vector<std::string> args;
  bool advanced;
};

class AdvancedSwitch : public AppFixture, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(AdvancedSwitch, ShowsTheAdvancedCommandsOnlyInFirstPlace) {
  Start(Kestal(), GetParam().args);
  const bool advanced = GetParam().advanced;
  EXPECT_EQ(Window().AdvancedMode(), advanced);
  EXPECT_EQ(!Button("btnAdvanced")->isHidden(), advanced);
  EXPECT_EQ(Action("mnuEditEngineering")->isVisible(), advanced);
  EXPECT_FALSE(Button("btnAdvanced")->isEnabled());  // nothing loaded yet
  EXPECT_TRUE(Button("btnDevelopment")->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Arguments, AdvancedSwitch,
                         ::testing::Values(SwitchCase{{"/A"}, true}, SwitchCase{{"/a"}, true},
                                           SwitchCase{{"x", "/a"}, false},
                                           SwitchCase{{"--simulate", "/A"}, false},
                                           SwitchCase{{}, false}));

TEST_F(AppFixture, RecentFilesLongerThan199CharactersAreCutAndWrittenBackSo) {
  const QString longName = "/fleet/" + QString(240, 'x') + ".mem";
  WriteFile(IniPath(), "[RecentMemFiles]\nFile0=" + longName.toUtf8() + "\nFile3=/fleet/d.mem\n");
  Start();
  const RecentFiles& recent = Window().RecentMemFiles();
  EXPECT_EQ(recent[0], longName.left(199));
  EXPECT_EQ(recent[1], "");
  EXPECT_EQ(recent[3], "/fleet/d.mem");
  // The submenu holds them but stays hidden.
  QMenu* menu = Window().findChild<QMenu*>("mnuRecentlyUsedFiles");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->actions().size(), 4);
  EXPECT_EQ(menu->actions()[0]->text(), longName.left(199));
  EXPECT_FALSE(Action("mnuRecentlyUsedFiles")->isVisible());

  CloseWindow();
  const std::string text = ReadFile(IniPath()).toStdString();
  EXPECT_EQ(QString::fromStdString(ReadIniValue(text, "RecentMemFiles", "File0")),
            longName.left(199));
  EXPECT_EQ(ReadIniValue(text, "RecentMemFiles", "File3"), "/fleet/d.mem");
}

TEST(CommandLine, KeepsEveryArgumentAndFindsTheProgramsOptions) {
  const CommandLine line =
      ParseCommandLine({"kestal-programmer", "/a", "--simulate", "--screenshot", "s.png"});
  EXPECT_TRUE(line.simulate);
  EXPECT_EQ(line.screenshotPath, "s.png");
  EXPECT_FALSE(line.screenshotRead);
  ASSERT_EQ(line.arguments.size(), 4u);
  EXPECT_EQ(line.arguments[0], "/a");
  EXPECT_TRUE(ParseCommandLine({"kestal-programmer", "--screenshot-read"}).screenshotRead);
  EXPECT_FALSE(line.floatingDisplay);
  EXPECT_TRUE(ParseCommandLine({"kestal-programmer", "--floating-display"}).floatingDisplay);
}

TEST(CommandLine, HelpIsAskedForAnywhereOnTheLine) {
  struct Case {
    QStringList args;
    bool help;
  };
  const Case cases[] = {
      {{"kestal-programmer", "--help"}, true},
      {{"kestal-programmer", "/a", "-h"}, true},
      {{"kestal-programmer", "--simulate", "--help"}, true},
      {{"kestal-programmer", "--screenshot", "--help"}, false},  // a file name
      {{"kestal-programmer", "help"}, false},
      {{"kestal-programmer"}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseCommandLine(c.args).help, c.help) << c.args.join(' ').toStdString();
}

// Every switch --help names is one the parser acts on, and the text shows it.
TEST(CommandLine, HelpListsEverySwitchTheProgramKnows) {
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  const std::string help = ProgramHelp(build);
  EXPECT_EQ(help.rfind("Usage: kestal-programmer ", 0), 0u);
  EXPECT_NE(help.find("\"defkestal.mem\""), std::string::npos);
  EXPECT_EQ(ProgramHelp(BuildConfig::ForFamily("All", false)).find("defkestal"),
            std::string::npos);
  const CommandLine none = ParseCommandLine({"kestal-programmer"});
  for (const SwitchHelp& row : SwitchHelpTable()) {
    // The switches for the tests work, but the help and the manual page
    // leave them out.
    EXPECT_EQ(help.find(std::string("  ") + row.usage + "  ") != std::string::npos, !row.forTests)
        << row.usage;
    EXPECT_EQ(help.find(row.meaning) != std::string::npos, !row.forTests) << row.usage;
    // The row's first spelling, with a value when it takes one.
    QStringList words = QString(row.usage).split(' ');
    QStringList args{"kestal-programmer", words.front().remove(',')};
    if (words.size() > 1 && words[1].front().isUpper()) args << "x.png";
    const CommandLine line = ParseCommandLine(args);
    const bool acted = IsAdvancedSwitch(line.arguments) != IsAdvancedSwitch(none.arguments) ||
                       line.simulate || line.floatingDisplay || line.help || line.screenshotRead ||
                       !line.screenshotPath.isEmpty() || !line.tracePath.isEmpty() ||
                       line.version;
    EXPECT_TRUE(acted) << row.usage;
  }
}

TEST(CommandLine, TheArgumentThatIsNoSwitchIsTheMemFileToOpen) {
  struct Case {
    QStringList args;
    QString memFile;
  };
  const Case cases[] = {
      {{"kestal-programmer", "/home/tech/radio one.mem"}, "/home/tech/radio one.mem"},
      {{"kestal-programmer", "/a", "bench.mem"}, "bench.mem"},
      {{"kestal-programmer", "/A"}, ""},
      {{"kestal-programmer", "--simulate", "x.mem"}, "x.mem"},
      {{"kestal-programmer", "--trace", "t.txt"}, ""},       // the trace's file
      {{"kestal-programmer", "--screenshot", "s.png"}, ""},  // the picture's file
      {{"kestal-programmer", "--", "--odd.mem"}, "--odd.mem"},
      {{"kestal-programmer"}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseCommandLine(c.args).memFile, c.memFile) << c.args.join(' ').toStdString();
  // "/a" as the first argument keeps its meaning with a file after it.
  EXPECT_TRUE(IsAdvancedSwitch(ParseCommandLine({"kestal-programmer", "/a", "b.mem"}).arguments));
}

TEST(CommandLine, HelpNamesTheTraceTheVersionAndTheFile) {
  const std::string help = ProgramHelp(BuildConfig::ForFamily("Kestal", false));
  for (const char* word : {"--trace FILE", "--version", "[FILE.mem]"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
  EXPECT_TRUE(ParseCommandLine({"kestal-programmer", "--version"}).version);
}

TEST(CommandLine, TraceTakesTheFileAfterIt) {
  const CommandLine line = ParseCommandLine({"kestal-programmer", "--trace", "/tmp/t.txt"});
  EXPECT_EQ(line.tracePath, "/tmp/t.txt");
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"--trace", "/tmp/t.txt"}));
  EXPECT_TRUE(ParseCommandLine({"kestal-programmer", "--trace"}).tracePath.isEmpty());
  EXPECT_EQ(ParseCommandLine({"kestal-programmer", "--trace"}).error, "--trace needs FILE");
}

// A typo must not start the programmer on the real port: every word that
// looks like a switch is one the programmer or Qt knows, or the line is
// refused. Qt's own switches keep working with "-" or "--".
TEST(CommandLine, UnknownSwitchesAreRefusedAndQtsOwnKept) {
  struct Case {
    QStringList args;
    std::string error;  // empty: accepted
    QString platform;
    QString memFile;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option \"--bogus\"", "", ""},
      {{"--simulat"}, "unknown option \"--simulat\"", "", ""},
      {{"-x"}, "unknown option \"-x\"", "", ""},
      {{"-"}, "unknown option \"-\"", "", ""},
      {{"--tr\x1B[2Jace"}, "unknown option \"--tr\\x1B[2Jace\"", "", ""},
      {{"--screenshot"}, "--screenshot needs FILE", "", ""},
      {{"-platform"}, "-platform needs a value", "", ""},
      {{"/a", "--simulate", "b.mem"}, "", "", "b.mem"},
      {{"-platform", "offscreen", "b.mem"}, "", "offscreen", "b.mem"},
      {{"--platform", "xcb"}, "", "xcb", ""},
      {{"-platform=wayland"}, "", "wayland", ""},
      {{"-style", "fusion", "-reverse", "--stylesheet=a.qss", "-qwindowgeometry", "800x600"},
       "",
       "",
       ""},
      {{"-qmljsdebugger=port:1234"}, "", "", ""},
      {{"/A"}, "", "", ""},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(QStringList{"kestal-programmer"} + c.args);
    const std::string what = c.args.join(' ').toStdString();
    EXPECT_EQ(line.error, c.error) << what;
    EXPECT_EQ(line.platform, c.platform) << what;
    EXPECT_EQ(line.memFile, c.memFile) << what;
  }
  const std::string text = UsageErrorText("unknown option \"--bogus\"");
  EXPECT_EQ(
      text.rfind("kestal-programmer: unknown option \"--bogus\"\nUsage: kestal-programmer ", 0), 0u)
      << text;
}

TEST(CommandLine, NoDisplayIsFoundOnlyWhenEveryPlatformNeedsOneAndNoneIsSet) {
  struct Case {
    QString platformSwitch, qpa, x11, wayland;
    bool none;
  };
  const Case cases[] = {
      {"", "", "", "", true},
      {"", "xcb", "", "", true},
      {"", "wayland;xcb", "", "", true},
      {"", "wayland-egl", "", "", true},
      {"", "", ":0", "", false},
      {"", "", "", "wayland-0", false},
      {"", "xcb", ":1", "", false},
      {"", "offscreen", "", "", false},
      {"", "wayland;offscreen", "", "", false},
      {"offscreen", "xcb", "", "", false},
      {"xcb", "offscreen", "", "", true},
      {"", "vnc:size=800x600", "", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NoDisplayFor(c.platformSwitch, c.qpa, c.x11, c.wayland), c.none)
        << c.platformSwitch.toStdString() << "|" << c.qpa.toStdString() << "|"
        << c.x11.toStdString() << "|" << c.wayland.toStdString();
}

struct Started {
  int status = -1;
  std::string err;
};

// The installed programmer started with these arguments and with the
// display variables removed from the environment (and others set).
Started StartProgrammer(const std::vector<std::string>& args,
                        const std::vector<std::string>& setEnv = {}) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool dropped = false;
    for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="})
      dropped = dropped || entry.rfind(name, 0) == 0;
    if (!dropped) env.push_back(entry);
  }
  env.insert(env.end(), setEnv.begin(), setEnv.end());
  std::vector<std::string> all{KESTAL_PROGRAMMER_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv, envp;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  int err[2];
  Started started;
  if (pipe2(err, O_CLOEXEC) != 0) return started;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(err[1]);
  if (spawned != 0) {
    close(err[0]);
    return started;
  }
  char buffer[4096];
  for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;)
    started.err.append(buffer, static_cast<size_t>(got));
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  started.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return started;
}

TEST(ProgrammerStart, AWrongCommandLineGetsTheUsageAndStatus2) {
  for (const std::string wrong : {"--bogus", "--simulat"}) {
    const Started s = StartProgrammer({wrong}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(s.status, 2) << s.err;
    EXPECT_EQ(s.err.rfind("kestal-programmer: unknown option \"" + wrong + "\"\nUsage: ", 0), 0u)
        << s.err;
  }
}

TEST(ProgrammerStart, WithoutADisplayItSaysSoAndEndsWithStatus1) {
  const Started none = StartProgrammer({});
  EXPECT_EQ(none.status, 1) << none.err;
  EXPECT_EQ(none.err.rfind("kestal-programmer: no display found: neither DISPLAY", 0), 0u)
      << none.err;
  EXPECT_EQ(none.err.find("Reinstalling"), std::string::npos) << none.err;

  // A display that is named but cannot be reached.
  const Started unreachable = StartProgrammer({}, {"DISPLAY=:99.0", "XAUTHORITY=/nonexistent"});
  EXPECT_EQ(unreachable.status, 1) << unreachable.err;
  EXPECT_NE(unreachable.err.find("kestal-programmer: no display found: the display \":99.0\""),
            std::string::npos)
      << unreachable.err;
  EXPECT_EQ(unreachable.err.find("Reinstalling"), std::string::npos) << unreachable.err;
}

}  // namespace
