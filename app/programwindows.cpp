#include "programwindows.h"

#include "mainwindow.h"
#include "rxchdata.h"
#include "scanform.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
}

void ProgramWindows::InstallEditors() {
  [[maybe_unused]] WindowOpeners& openers = main_.Openers();
  // Each editor: built once, shown modally over the main window.
  auto* channelData = new TfrmRxChData(editors_, &main_);
  openers.channelData = [channelData] { channelData->exec(); };
  auto* scan = new TfrmScan(editors_, &main_);
  openers.scan = [scan] { scan->exec(); };
}
