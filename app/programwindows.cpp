#include "programwindows.h"

#include "frmctcss.h"
#include "frmeepromedit.h"
#include "frmhardware.h"
#include "frmoptions.h"
#include "frmsquelch.h"
#include "mainwindow.h"
#include "radio_rw.h"
#include "rxchdata.h"
#include "scanform.h"
#include "selcallidentswindow.h"
#include "selcallwindow.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
}

void ProgramWindows::InstallEditors() {
  WindowOpeners& openers = main_.Openers();
  // Each editor: built once, shown modally over the main window.
  auto* ctcss = new TfrmCtcss(editors_, &main_);
  openers.ctcss = [ctcss] { ctcss->exec(); };
  auto* squelch = new TfrmSquelch(editors_, &main_);
  openers.squelch = [squelch] { squelch->exec(); };
  auto* options = new TfrmOptions(editors_, &main_);
  openers.options = [options] { options->exec(); };
  // Built with the others for its place in the program; nothing opens it yet.
  new TfrmHardware(&main_);
  auto* channelData = new TfrmRxChData(editors_, &main_);
  openers.channelData = [channelData] { channelData->exec(); };
  auto* scan = new TfrmScan(editors_, &main_);
  openers.scan = [scan] { scan->exec(); };
  auto* selcallMemories = new TfrmSelcallIdents(editors_, &main_);
  auto* selcall = new TfrmSelcall(editors_, *selcallMemories, &main_);
  openers.selcall = [selcall] { selcall->exec(); };
  // The raw memory: handed the application image each time, and run on
  // the transfers' lane so no radio command overtakes its worker.
  auto* eeprom = new TfrmEEpromEdit(editors_, main_.Flows().Lane(), &main_);
  openers.eeprom = [eeprom, &image = main_.Shared().image] {
    eeprom->SetSource(&image);
    eeprom->exec();
  };
}
