#include "programwindows.h"

#include "frmctcss.h"
#include "mainwindow.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
}

void ProgramWindows::InstallEditors() {
  [[maybe_unused]] WindowOpeners& openers = main_.Openers();
  // Each editor: built once, shown modally over the main window.
  auto* ctcss = new TfrmCtcss(editors_, &main_);
  openers.ctcss = [ctcss] { ctcss->exec(); };
}
