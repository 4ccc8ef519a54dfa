#include "mainmenubar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "mainstyle.h"

namespace {

enum ItemFlags { kItem = 0, kHidden = 1, kCheck = 2 };
struct MenuItem {
  const char* caption;  // null: a separator
  const char* name;
  int flags;
};
struct Menu {
  const char* caption;
  const char* name;
  std::vector<MenuItem> items;
};
const char* const kRecentFilesMenu = "mnuRecentlyUsedFiles";

const Menu kMenus[] = {
    {"&File", "mnuFile",
     {{"&Write To Radio", "mnuFileWriteRadio", kItem},
      {"Write &Changes To Radio", "mnuFileWriteChanges", kItem},
      {"Write To &File", "mnuFileWriteFile", kItem},
      {"&Batch Write...", "mnuFileBatchWrite", kItem},
      {nullptr, nullptr, kItem},
      {"&Read From Radio", "mnuReadRadio", kItem},
      {"Read Fr&om File", "mnuReadFile", kItem},
      {"Recently &used mem-files", kRecentFilesMenu, kHidden},
      {nullptr, nullptr, kItem},
      {"Export As &Text...", "mnuExportText", kItem},
      {"I&mport Text...", "mnuImportText", kItem},
      {nullptr, nullptr, kItem},
      {"R&estore Radio...", "mnuFileRestoreRadio", kItem},
      {nullptr, nullptr, kItem},
      {"&Print...", "mnuPrint", kItem},
      {"E&xit", "mnuFileExit", kItem}}},
    {"&Edit", "mnuEdit",
     {{"&Scan / Duplex", "mnuEditScan", kItem},
      {"&Channel Data", "mnuEditChannelData", kItem},
      {"S&elcall", "mnuEditSelcall", kItem},
      {"C&TCSS", "mnuEditCTCSS", kItem},
      {"S&quelch", "mnuEditSquelch", kItem},
      {"&Options", "mnuEditOptions", kItem},
      {"&Align", "mnuEditAlign", kItem},
      {"Ad&vanced", "mnuEditEngineering", kItem},
      {"CB Set&up", "mnuCBSetup", kHidden},
      {nullptr, nullptr, kItem},
      {"EE&PROM", "mnuEditEeprom", kItem},
      {"&Development", "mnuEditDevelopment", kItem},
      {"Re&mote Control", "mnuEditRemote", kHidden},
      // Driven by the floating display; kept hidden.
      {"F&loating Display", "mnuFloatingDisplay", kCheck | kHidden}}},
    {"&Setup", "mnuComms",
     {{"Comm &Port ...", "mnCommPort", kItem},
      {"&Auto Detect...", "mnAutoDetect", kItem},
      {"Check &Lead...", "mnuCheckLead", kItem},
      {"Set &Default Filename...", "mnuSetDefaultFilename", kItem},
      {"&Remove Default Filename", "mnuRemoveDefaultFilename", kItem},
      {nullptr, nullptr, kItem},
      {"&Byte Monitor", "mnuByteMonitor", kItem},
      {"Vorn &I Packet Monitor", "mnuVornIPacketMonitor", kItem},
      {"Vorn II Pac&ket Monitor", "mnuVornIIPacketMonitor", kItem},
      {nullptr, nullptr, kItem},
      {"Read/Write using arra&ys", "mnuSetupEngArrayRdWr", kCheck}}},
    {"&Help", "mnuHelp",
     {{"&Firmware Version", "mnuFirmware", kItem},
      {"&About...", "About", kItem}}},
};

// The keyboard's way to the commands people use most; the menus show them.
const std::pair<const char*, QKeySequence::StandardKey> kShortcuts[] = {
    {"mnuReadFile", QKeySequence::Open},
    {"mnuFileWriteFile", QKeySequence::Save},
    {"mnuPrint", QKeySequence::Print},
    {"mnuFileExit", QKeySequence::Quit},
};

}  // namespace

MainMenuBar::MainMenuBar(QWidget* parent) : QMenuBar(parent) {
  setObjectName("MainMenu");
  setStyleSheet(MainWindowStyleSheet());
  for (const Menu& m : kMenus) {
    QMenu* menu = addMenu(m.caption);
    menu->setObjectName(m.name);
    menu->menuAction()->setObjectName(m.name);
    for (const MenuItem& item : m.items) {
      if (!item.caption) {
        menu->addSeparator();
        continue;
      }
      QAction* action = nullptr;
      if (QString(item.name) == kRecentFilesMenu) {
        recentMenu_ = menu->addMenu(item.caption);
        recentMenu_->setObjectName(item.name);
        action = recentMenu_->menuAction();
      } else {
        action = menu->addAction(item.caption);
      }
      action->setObjectName(item.name);
      action->setCheckable(item.flags & kCheck);
      action->setVisible(!(item.flags & kHidden));
      actions_.insert(item.name, action);
    }
  }
  for (const auto& [name, key] : kShortcuts) actions_.value(name)->setShortcut(key);
}

void MainMenuBar::ShowRecentFiles(const RecentFiles& files) {
  recentMenu_->clear();
  for (const QString& file : files) {
    // A "&" in a path would otherwise become an access letter and vanish
    // from the name a screen reader reads.
    QAction* entry = recentMenu_->addAction(QString(file).replace('&', "&&"));
    entry->setStatusTip("Recently used mem-file " + file);
    entry->setProperty("recentFile", true);
  }
}

bool MainMenuBar::ArraysChecked() const {
  const QAction* a = actions_.value("mnuSetupEngArrayRdWr");
  return a && a->isChecked();
}
