#include "programwindows.h"

#include "mainwindow.h"
#include "selcallidentswindow.h"
#include "selcallwindow.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
}

void ProgramWindows::InstallEditors() {
  [[maybe_unused]] WindowOpeners& openers = main_.Openers();
  // Each editor: built once, shown modally over the main window.
  auto* selcallMemories = new TfrmSelcallIdents(editors_, &main_);
  auto* selcall = new TfrmSelcall(editors_, *selcallMemories, &main_);
  openers.selcall = [selcall] { selcall->exec(); };
}
