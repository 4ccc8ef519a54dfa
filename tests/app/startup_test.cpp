// Start-up and shut-down of the main window: stored settings and their
// bounds, the "/a" switch, the default file and the recent-files INI.
#include <QFile>
#include <QMenu>

#include <sys/stat.h>

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

TEST_F(AppFixture, WithNothingStoredTheDefaultsAreUsedAndSavedOnExit) {
  const std::vector<SeenBox> seen = Start();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].text.startsWith("Unable to open COM1."));
  EXPECT_EQ(seen[1].text, "Unable to open file defkestal.mem");
  EXPECT_EQ(seen[1].caption, "File Open Error");
  EXPECT_EQ(seen[1].icon, QMessageBox::Warning);
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
  EXPECT_EQ(Window().StatusText(3), "No data loaded.");

  CloseWindow();
  EXPECT_EQ(Stored("ComPort").toInt(), 1);
  EXPECT_EQ(Stored("MaxBdRate").toInt(), 9600);
  EXPECT_EQ(Stored("DefaultFile").toString(), "defkestal.mem");
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
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].text.startsWith("Unable to open COM1."));
  EXPECT_EQ(seen[1].text, "Unable to open file defkestal.mem");
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
    EXPECT_NE(help.find(std::string("  ") + row.usage + "  "), std::string::npos) << row.usage;
    EXPECT_NE(help.find(row.meaning), std::string::npos) << row.usage;
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
      {{"kestal-programmer", "--trace", "t.txt"}, ""},          // the trace's file
      {{"kestal-programmer", "--screenshot", "s.png"}, ""},     // the picture's file
      {{"kestal-programmer", "--unknown"}, ""},
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
}

}  // namespace
