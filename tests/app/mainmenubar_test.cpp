// The main window's menu bar on its own: its items by name, the recent
// mem-files as stored, and the arrays check.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "mainmenubar.h"

namespace {

TEST(MainMenuBar, FindsEveryItemByNameWithItsShortcut) {
  MainMenuBar bar;
  for (const char* name : {"mnuFileWriteRadio", "mnuCBSetup", "mnuFirmware",
                           "mnuRecentlyUsedFiles", "mnuEditDevelopment", "mnuFloatingDisplay",
                           "mnuSetupEngArrayRdWr", "About"})
    EXPECT_NE(bar.Action(name), nullptr) << name;
  EXPECT_EQ(bar.Action("mnuNoSuch"), nullptr);
  EXPECT_NE(bar.findChild<QMenu*>("mnuComms"), nullptr);
  EXPECT_EQ(bar.Action("mnuReadFile")->shortcut(), QKeySequence(QKeySequence::Open));
  EXPECT_EQ(bar.Action("mnuFileExit")->shortcut(), QKeySequence(QKeySequence::Quit));
  EXPECT_TRUE(bar.Action("mnuFloatingDisplay")->isCheckable());
  EXPECT_FALSE(bar.Action("mnuFloatingDisplay")->isVisible());
  EXPECT_TRUE(bar.Action("mnuEditScan")->isVisible());
}

TEST(MainMenuBar, RecentFilesShowAsStoredAndReplaceTheOldList) {
  MainMenuBar bar;
  RecentFiles files{};
  files[0] = "/fleet/R&D/a.mem";
  files[2] = "/fleet/c.mem";
  bar.ShowRecentFiles(files);
  QMenu* menu = bar.findChild<QMenu*>("mnuRecentlyUsedFiles");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(files.size()));
  EXPECT_EQ(menu->actions()[0]->text(), "/fleet/R&&D/a.mem") << "no access letter";
  EXPECT_EQ(menu->actions()[0]->statusTip(), "Recently used mem-file /fleet/R&D/a.mem");
  EXPECT_EQ(menu->actions()[2]->text(), "/fleet/c.mem");

  files[0] = "/fleet/b.mem";
  bar.ShowRecentFiles(files);
  ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(files.size()));
  EXPECT_EQ(menu->actions()[0]->text(), "/fleet/b.mem");
}

TEST(MainMenuBar, ArraysCheckedFollowsItsItem) {
  MainMenuBar bar;
  EXPECT_FALSE(bar.ArraysChecked());
  bar.Action("mnuSetupEngArrayRdWr")->setChecked(true);
  EXPECT_TRUE(bar.ArraysChecked());
}

}  // namespace
