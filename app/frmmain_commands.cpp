// The main window's commands: the menu items and buttons that open other
// windows, and the radio checks they start with.

#include <QAction>
#include <QApplication>

#include "aboutbox.h"
#include "frmmain.h"
#include "mainmenubar.h"
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
  menus_ = new MainMenuBar(this);
  setMenuBar(menus_);
  using Handler = void (TfrmMain::*)();
  static const std::pair<const char*, Handler> kItemCommands[] = {
      {"mnuFileWriteRadio", &TfrmMain::btnWriteRadioClick},
      {"mnuFileWriteChanges", &TfrmMain::mnuWriteChangesClick},
      {"mnuFileRestoreRadio", &TfrmMain::mnuRestoreRadioClick},
      {"mnuFileWriteFile", &TfrmMain::btnWriteFileClick},
      {"mnuFileBatchWrite", &TfrmMain::mnuBatchWriteClick},
      {"mnuReadRadio", &TfrmMain::btnReadRadioClick},
      {"mnuReadFile", &TfrmMain::btnReadFileClick},
      {"mnuExportText", &TfrmMain::mnuExportTextClick},
      {"mnuImportText", &TfrmMain::mnuImportTextClick},
      {"mnuPrint", &TfrmMain::mnuPrintClick},
      {"mnuFileExit", &TfrmMain::mnuFileExitClick},
      {"mnuEditScan", &TfrmMain::EditClick},
      {"mnuEditChannelData", &TfrmMain::EditClick},
      {"mnuEditSelcall", &TfrmMain::EditClick},
      {"mnuEditCTCSS", &TfrmMain::EditClick},
      {"mnuEditSquelch", &TfrmMain::EditClick},
      {"mnuEditOptions", &TfrmMain::EditClick},
      {"mnuEditAlign", &TfrmMain::EditClick},
      {"mnuEditEngineering", &TfrmMain::EditClick},
      {"mnuEditEeprom", &TfrmMain::EditClick},
      {"mnuEditDevelopment", &TfrmMain::EditClick},
      {"mnCommPort", &TfrmMain::mnCommPortClick},
      {"mnAutoDetect", &TfrmMain::mnAutoDetectClick},
      {"mnuCheckLead", &TfrmMain::mnuCheckLeadClick},
      {"mnuSetDefaultFilename", &TfrmMain::mnuSetDefaultFilenameClick},
      {"mnuRemoveDefaultFilename", &TfrmMain::mnuRemoveDefaultFilenameClick},
      {"mnuByteMonitor", &TfrmMain::mnuByteMonitorClick},
      {"mnuVornIPacketMonitor", &TfrmMain::mnuVornIPacketMonitorClick},
      {"mnuVornIIPacketMonitor", &TfrmMain::mnuVornIIPacketMonitorClick},
      {"mnuFirmware", &TfrmMain::mnuFirmwareClick},
      {"About", &TfrmMain::AboutClick},
  };
  for (const auto& [name, handler] : kItemCommands)
    connect(menus_->Action(name), &QAction::triggered, this,
            [this, h = handler] { RunCommand(h); });
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

void TfrmMain::mnuCheckLeadClick() {
  if (!openers_.checkLead) return;
  openers_.checkLead();
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
