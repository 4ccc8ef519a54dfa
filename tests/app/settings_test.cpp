// The settings rules, the INI editor and the two settings stores.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "buildconfig.h"
#include "ini_file.h"
#include "settings.h"
#include "settings_rules.h"

TEST(SettingsRules, PortAndRateBounds) {
  struct Case {
    int stored;
    int port;  // BoundComPort
    int rate;  // BoundMaxBdRate
  };
  const Case cases[] = {
      {0, 1, 9600},        {-3, 1, 9600},       {1, 1, 9600},         {256, 256, 9600},
      {257, 1, 9600},      {300, 1, 9600},      {4800, 1, 9600},      {9600, 1, 9600},
      {25000, 1, 25000},   {57600, 1, 57600},   {57601, 1, 9600},     {115200, 1, 9600},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BoundComPort(c.stored), c.port) << c.stored;
    EXPECT_EQ(BoundMaxBdRate(c.stored), c.rate) << c.stored;
  }
}

TEST(SettingsRules, AdvancedSwitchIsTheFirstArgumentOnly) {
  struct Case {
    std::vector<std::string> args;
    bool advanced;
  };
  const Case cases[] = {
      {{"/a"}, true},           {{"/A"}, true},         {{"/a", "x"}, true},
      {{"x", "/a"}, false},     {{"--simulate", "/A"}, false},
      {{}, false},              {{"/ab"}, false},       {{"-a"}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsAdvancedSwitch(c.args), c.advanced) << (c.args.empty() ? "" : c.args.back());
}

TEST(SettingsRules, DefaultFileFollowsTheBuild) {
  const BuildConfig kestal = BuildConfig::ForFamily("Kestal", false);
  EXPECT_EQ(BoundDefaultFile("", kestal), "defkestal.mem");
  EXPECT_EQ(BoundDefaultFile("/x/y.mem", kestal), "/x/y.mem");
  EXPECT_EQ(BoundDefaultFile("", BuildConfig::ForFamily("All", false)), "");
}

TEST(IniFile, ReadsAndReplacesOneValueKeepingTheRest) {
  const std::string text =
      "; kept\n[Other]\nFile0=elsewhere\n\n[RecentMemFiles]\nfile0 = a.mem \nFile1=b.mem\n"
      "[Tail]\nx=1\n";
  EXPECT_EQ(ReadIniValue(text, "RecentMemFiles", "File0"), "a.mem");
  EXPECT_EQ(ReadIniValue(text, "recentmemfiles", "File2", "none"), "none");
  EXPECT_EQ(ReadIniValue(text, "Missing", "File0"), "");

  const std::string replaced = WriteIniValue(text, "RecentMemFiles", "File0", "c.mem");
  EXPECT_EQ(ReadIniValue(replaced, "RecentMemFiles", "File0"), "c.mem");
  EXPECT_EQ(ReadIniValue(replaced, "Other", "File0"), "elsewhere");
  EXPECT_EQ(ReadIniValue(replaced, "Tail", "x"), "1");
  EXPECT_NE(replaced.find("; kept"), std::string::npos);

  const std::string added = WriteIniValue(replaced, "RecentMemFiles", "File3", "d.mem");
  EXPECT_EQ(ReadIniValue(added, "RecentMemFiles", "File3"), "d.mem");
  EXPECT_EQ(ReadIniValue(added, "Tail", "x"), "1");
  EXPECT_EQ(ReadIniValue(WriteIniValue("", "S", "k", "v"), "S", "k"), "v");
}

TEST(IniFile, Utf8PrefixNeverSplitsACharacter) {
  EXPECT_EQ(Utf8Prefix("abc", 2), "ab");
  EXPECT_EQ(Utf8Prefix("abc", 5), "abc");
  EXPECT_EQ(Utf8Prefix("\xC3\xA9t\xC3\xA9", 3), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(Utf8Prefix("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
}

TEST(SettingsRules, ARecentNameCutBeforeABlankReadsTheSameWhenWrittenBack) {
  // The 199-character cut falls just after a blank inside the name.
  const std::string name = "/fleet/" + std::string(191, 'a') + " b.mem";
  const RecentFileNames files = RecentFilesFromIni("[RecentMemFiles]\nFile0=" + name + "\n");
  EXPECT_EQ(files[0], "/fleet/" + std::string(191, 'a'));
  EXPECT_EQ(RecentFilesFromIni(RecentFilesIntoIni("", files)), files);
}

class SettingsStores : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(SettingsStores, MalformedValuesAreSkippedOneByOne) {
  {
    QSettings raw(Path("store.ini"), QSettings::IniFormat);
    raw.setValue("ComPort", "not a number");
    raw.setValue("MaxBdRate", 38400);
    raw.setValue("DefaultFile", "/data/van12.mem");
  }
  const Settings settings(Path("store.ini"), Path("recent.ini"));
  const StoredSettings s = settings.Load(BuildConfig::ForFamily("Kestal", false));
  EXPECT_EQ(s.comPort, 1);
  EXPECT_EQ(s.maxBdRate, 38400);
  EXPECT_EQ(s.defaultFile, "/data/van12.mem");
}

TEST_F(SettingsStores, RecentFilesAreCutTo199CharactersAndWrittenBackSo) {
  const QString longName = "/fleet/" + QString(250, 'k') + ".mem";
  QFile file(Path("recent.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(("[Window]\nLeft=10\n[RecentMemFiles]\nFile0=" + longName.toUtf8() +
              "\nFile2=/fleet/b.mem\n"));
  file.close();

  const Settings settings(Path("store.ini"), Path("recent.ini"));
  const RecentFiles files = settings.LoadRecentFiles();
  EXPECT_EQ(files[0], longName.left(199));
  EXPECT_EQ(files[1], "");
  EXPECT_EQ(files[2], "/fleet/b.mem");
  settings.SaveRecentFiles(files);

  const RecentFiles again = settings.LoadRecentFiles();
  EXPECT_EQ(again, files);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::string text = file.readAll().toStdString();
  EXPECT_EQ(ReadIniValue(text, "RecentMemFiles", "File0").size(), 199u);
  EXPECT_EQ(ReadIniValue(text, "Window", "Left"), "10");
}

TEST_F(SettingsStores, RecentFilesInAFolderThatCannotBeWrittenAreSkipped) {
  const Settings settings(Path("store.ini"), Path("no-such-folder/app.ini"));
  RecentFiles files;
  files[0] = "/fleet/a.mem";
  settings.SaveRecentFiles(files);  // must neither fail loudly nor create anything
  EXPECT_FALSE(QDir(Path("no-such-folder")).exists());
  EXPECT_EQ(settings.LoadRecentFiles()[0], "");
}

// Far larger than any settings file: not read, and not replaced by one.
TEST_F(SettingsStores, ARecentFilesListPastTheBoundIsLeftAlone) {
  QFile file(Path("recent.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const QByteArray text = "[RecentMemFiles]\nFile0=/fleet/a.mem\n" +
                          QByteArray(static_cast<int>(kMaxSettingsFileBytes), ';');
  file.write(text);
  file.close();
  const Settings settings(Path("store.ini"), Path("recent.ini"));
  EXPECT_EQ(settings.LoadRecentFiles()[0], "");
  RecentFiles files;
  files[0] = "/fleet/b.mem";
  settings.SaveRecentFiles(files);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), text);
}

TEST(RecentIniPlace, BesideAProgramOfItsOwnElseInTheConfigurationFolder) {
  struct Case {
    const char* exe;
    bool writable;
    const char* expected;
  };
  const Case cases[] = {
      {"/home/tech/vorn/build/app/kestal-programmer", true,
       "/home/tech/vorn/build/app/kestal-programmer.ini"},
      {"/opt/vorn/kestal-programmer", true, "/opt/vorn/kestal-programmer.ini"},
      {"/opt/vorn/kestal-programmer", false, "/home/tech/.config/Vorn/kestal-programmer.ini"},
      {"/usr/bin/kestal-programmer", false, "/home/tech/.config/Vorn/kestal-programmer.ini"},
      // root can write the system's folders; they are still not the place.
      {"/usr/bin/kestal-programmer", true, "/home/tech/.config/Vorn/kestal-programmer.ini"},
      {"/usr/local/bin/kestal-programmer", true, "/home/tech/.config/Vorn/kestal-programmer.ini"},
      {"/usrlocal/kestal-programmer", true, "/usrlocal/kestal-programmer.ini"},
      {"/home/tech/.local/bin/kestal-programmer", true,
       "/home/tech/.config/Vorn/kestal-programmer.ini"},
      {"/opt/vorn/bin/kestal-programmer", true, "/home/tech/.config/Vorn/kestal-programmer.ini"},
      {"/home/tech/binaries/kestal-programmer", true,
       "/home/tech/binaries/kestal-programmer.ini"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RecentIniLocation(c.exe, c.writable, "/home/tech/.config/"), c.expected) << c.exe;
}

TEST_F(SettingsStores, RecentFilesInTheConfigurationFolderMakeItsVornFolder) {
  const QString ini = Path("config/Vorn/kestal-programmer.ini");
  const Settings settings(Path("store.ini"), ini, true);
  RecentFiles files;
  files[1] = "/fleet/b.mem";
  settings.SaveRecentFiles(files);
  ASSERT_TRUE(QFile::exists(ini));
  EXPECT_EQ(settings.LoadRecentFiles(), files);
}
