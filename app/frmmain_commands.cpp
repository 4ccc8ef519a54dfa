// The main window's menu bar, its radio helpers and the commands that open
// other windows.

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "aboutbox.h"
#include "frmmain.h"
#include "memfile.h"

namespace {

enum Preflight { kNone, kPortCheck, kAlignment };

// One editor command: its button, its menu item and what runs before the
// window opens.
struct EditCommand {
  const char* button;
  const char* menuItem;
  std::function<void()> WindowOpeners::*opener;  // null for the alignment
  Preflight preflight;
};

const EditCommand kEditCommands[] = {
    {"btnScan", "mnuEditScan", &WindowOpeners::scan, kNone},
    {"btnCTCSS", "mnuEditCTCSS", &WindowOpeners::ctcss, kNone},
    {"btnSelcall", "mnuEditSelcall", &WindowOpeners::selcall, kNone},
    {"btnChannelData", "mnuEditChannelData", &WindowOpeners::channelData, kNone},
    {"btnSquelch", "mnuEditSquelch", &WindowOpeners::squelch, kNone},
    {"btnOptions", "mnuEditOptions", &WindowOpeners::options, kNone},
    {"btnAlign", "mnuEditAlign", nullptr, kAlignment},
    {"btnEEPROM", "mnuEditEeprom", &WindowOpeners::eeprom, kPortCheck},
    {"btnAdvanced", "mnuEditEngineering", &WindowOpeners::engOptions, kNone},
    {"btnDevelopment", "mnuEditDevelopment", &WindowOpeners::development, kPortCheck},
};

}  // namespace

void TfrmMain::BuildMenus() {
  enum Flags { kItem = 0, kHidden = 1, kCheck = 2 };
  struct Item {
    const char* caption;  // null: a separator
    const char* name;
    void (TfrmMain::*handler)();
    int flags;
  };
  struct Menu {
    const char* caption;
    const char* name;
    std::vector<Item> items;
  };
  const Menu menus[] = {
      {"&File", "mnuFile",
       {{"&Write To Radio", "mnuFileWriteRadio", &TfrmMain::btnWriteRadioClick, kItem},
        {"Write To &File", "mnuFileWriteFile", &TfrmMain::btnWriteFileClick, kItem},
        {"&Batch Write...", "mnuFileBatchWrite", &TfrmMain::mnuBatchWriteClick, kItem},
        {nullptr, nullptr, nullptr, kItem},
        {"&Read From Radio", "mnuReadRadio", &TfrmMain::btnReadRadioClick, kItem},
        {"Read Fr&om File", "mnuReadFile", &TfrmMain::btnReadFileClick, kItem},
        {"Recently &used mem-files", "mnuRecentlyUsedFiles", nullptr, kHidden},
        {nullptr, nullptr, nullptr, kItem},
        {"&Print...", "mnuPrint", &TfrmMain::mnuPrintClick, kItem},
        {"E&xit", "mnuFileExit", &TfrmMain::mnuFileExitClick, kItem}}},
      {"&Edit", "mnuEdit",
       {{"&Scan / Duplex", "mnuEditScan", &TfrmMain::EditClick, kItem},
        {"&Channel Data", "mnuEditChannelData", &TfrmMain::EditClick, kItem},
        {"S&elcall", "mnuEditSelcall", &TfrmMain::EditClick, kItem},
        {"C&TCSS", "mnuEditCTCSS", &TfrmMain::EditClick, kItem},
        {"S&quelch", "mnuEditSquelch", &TfrmMain::EditClick, kItem},
        {"&Options", "mnuEditOptions", &TfrmMain::EditClick, kItem},
        {"&Align", "mnuEditAlign", &TfrmMain::EditClick, kItem},
        {"Ad&vanced", "mnuEditEngineering", &TfrmMain::EditClick, kItem},
        {"CB Set&up", "mnuCBSetup", nullptr, kHidden},
        {nullptr, nullptr, nullptr, kItem},
        {"EE&PROM", "mnuEditEeprom", &TfrmMain::EditClick, kItem},
        {"&Development", "mnuEditDevelopment", &TfrmMain::EditClick, kItem},
        {"Re&mote Control", "mnuEditRemote", nullptr, kHidden},
        // Driven by the floating display; kept hidden.
        {"F&loating Display", "mnuFloatingDisplay", nullptr, kCheck | kHidden}}},
      {"&Setup", "mnuComms",
       {{"Comm &Port ...", "mnCommPort", &TfrmMain::mnCommPortClick, kItem},
        {"&Auto Detect...", "mnAutoDetect", &TfrmMain::mnAutoDetectClick, kItem},
        {"Set &Default Filename...", "mnuSetDefaultFilename",
         &TfrmMain::mnuSetDefaultFilenameClick, kItem},
        {"&Remove Default Filename", "mnuRemoveDefaultFilename",
         &TfrmMain::mnuRemoveDefaultFilenameClick, kItem},
        {nullptr, nullptr, nullptr, kItem},
        {"&Byte Monitor", "mnuByteMonitor", &TfrmMain::mnuByteMonitorClick, kItem},
        {"Vorn &I Packet Monitor", "mnuVornIPacketMonitor", &TfrmMain::mnuVornIPacketMonitorClick,
         kItem},
        {"Vorn II Pac&ket Monitor", "mnuVornIIPacketMonitor",
         &TfrmMain::mnuVornIIPacketMonitorClick, kItem},
        {nullptr, nullptr, nullptr, kItem},
        {"Read/Write using arra&ys", "mnuSetupEngArrayRdWr", nullptr, kCheck}}},
      {"&Help", "mnuHelp",
       {{"&Firmware Version", "mnuFirmware", &TfrmMain::mnuFirmwareClick, kItem},
        {"&About...", "About", &TfrmMain::AboutClick, kItem}}},
  };

  // The keyboard's way to the commands people use most; the menus show them.
  const std::pair<const char*, QKeySequence::StandardKey> shortcuts[] = {
      {"mnuReadFile", QKeySequence::Open},
      {"mnuFileWriteFile", QKeySequence::Save},
      {"mnuPrint", QKeySequence::Print},
      {"mnuFileExit", QKeySequence::Quit},
  };

  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu");
  bar->setStyleSheet(
      "QMenuBar { background: #202225; color: #e6e6e6; }"
      "QMenuBar::item { padding: 3px 9px; background: transparent; }"
      "QMenuBar::item:selected { background: #3a3d42; }"
      "QMenu { background: #26282c; color: #e6e6e6; border: 1px solid #3a3d42; }"
      "QMenu::item { padding: 4px 24px 4px 22px; }"
      "QMenu::item:selected { background: #3d4148; }"
      "QMenu::item:disabled { color: #6b7077; }"
      "QMenu::separator { height: 1px; background: #3a3d42; margin: 4px 8px; }");
  for (const Menu& m : menus) {
    QMenu* menu = bar->addMenu(m.caption);
    menu->setObjectName(m.name);
    menu->menuAction()->setObjectName(m.name);
    for (const Item& item : m.items) {
      if (!item.caption) {
        menu->addSeparator();
        continue;
      }
      QAction* action = nullptr;
      if (QString(item.name) == "mnuRecentlyUsedFiles") {
        recentMenu_ = menu->addMenu(item.caption);
        recentMenu_->setObjectName(item.name);
        action = recentMenu_->menuAction();
      } else {
        action = menu->addAction(item.caption);
      }
      action->setObjectName(item.name);
      action->setCheckable(item.flags & kCheck);
      action->setVisible(!(item.flags & kHidden));
      if (item.handler)
        connect(action, &QAction::triggered, this, [this, h = item.handler] { RunCommand(h); });
      actions_.insert(item.name, action);
    }
  }
  for (const auto& [name, key] : shortcuts) actions_.value(name)->setShortcut(key);
}

void TfrmMain::RunOpener(const std::function<void()>& opener) {
  if (opener) opener();
}

void TfrmMain::mnuPrintClick() { RunOpener(openers_.print); }
void TfrmMain::mnuBatchWriteClick() { RunOpener(openers_.batchWrite); }
void TfrmMain::mnuFileExitClick() { close(); }
void TfrmMain::mnuByteMonitorClick() { RunOpener(openers_.byteMonitor); }
void TfrmMain::mnuVornIPacketMonitorClick() { RunOpener(openers_.vornIMonitor); }
void TfrmMain::mnuVornIIPacketMonitorClick() { RunOpener(openers_.vornIIMonitor); }

void TfrmMain::EditClick() {
  const QString name = sender() ? sender()->objectName() : QString();
  for (const EditCommand& command : kEditCommands) {
    if (name != command.button && name != command.menuItem) continue;
    if (command.preflight == kAlignment) {
      if (!openers_.align) return;
      PortCheck();  // the alignment may still go on offline
      OpenAlignment();
      return;
    }
    const std::function<void()>& opener = openers_.*(command.opener);
    if (!opener) return;
    if (command.preflight == kPortCheck) PortCheck();  // goes on regardless
    opener();
    return;
  }
}

void TfrmMain::OpenAlignment() {
  TRadio& radio = context_.shared.radio;
  bool offline = false;
  if (!CheckProductId().ok || !radio.GetRadioVersion()) {
    if (!AskOkCancel(QuestionId::kAlignOffline,
                     "Unable to read radio calibration.\nContinue in offline mode?",
                     "Comms Error", PromptIcon::Warning))
      return;
    offline = true;
  }
  if (!offline) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (int address : {0, 16}) {
      uint8_t block[16];
      if (!radio.ReadMemoryBlock(address, block)) {
        QApplication::restoreOverrideCursor();
        ShowMessage("Error reading radio calibration.", "Comms Error", PromptIcon::Warning);
        return;
      }
      context_.shared.image.WriteBlock(address, block, 16);
    }
    QApplication::restoreOverrideCursor();
  }
  openers_.align(offline);
}

void TfrmMain::mnCommPortClick() {
  if (!openers_.commPort) return;
  int port = transferState_.portNumber;
  int rate = static_cast<int>(transferState_.maxBdRate);
  if (!openers_.commPort(port, rate)) return;
  if (port != transferState_.portNumber) {
    transferState_.portNumber = port;
    context_.shared.port.ChangePort(port);
    RefreshPortPanels();
  }
  transferState_.maxBdRate = static_cast<uint32_t>(rate);
}

void TfrmMain::mnAutoDetectClick() {
  if (!openers_.autoDetect) return;
  const int found = openers_.autoDetect();
  if (found == 0) return;
  transferState_.portNumber = found;
  RefreshPortPanels();
}

void TfrmMain::AboutClick() {
  TAboutBox box(context_.build, advanced_, this);
  box.SetModelsInfo(context_.build.AllModels()
                        ? QString("This programmer supports all models.")
                        : QString::fromStdString("This programmer supports " +
                                                 context_.build.modelName + " only."));
  box.exec();
}
