#include "programwindows.h"

#include "formalign.h"
#include "frmctcss.h"
#include "frmengineering.h"
#include "frmengoptions.h"
#include "frmhardware.h"
#include "frmoptions.h"
#include "frmreport.h"
#include "frmsquelch.h"
#include "mainwindow.h"
#include "rxchdata.h"
#include "scanform.h"
#include "selcallidentswindow.h"
#include "selcallwindow.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
  InstallAlignment();
  InstallService();
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
  // The report tells where the image came from, which only the main window knows.
  TfrmMain& main = main_;
  auto* report = new TfrmReport(
      editors_,
      [&main] {
        ReportSource source;
        source.state = main.DataSource();
        source.fileName = main.CurrentFileName().toStdString();
        return source;
      },
      &main_);
  openers.print = [report] { report->exec(); };
}

void ProgramWindows::InstallAlignment() {
  // The opener has made sure of the port and read the calibration area;
  // the window only learns whether it runs offline.
  auto* align = new TformAlign(editors_, &main_);
  main_.Openers().align = [align](bool offline) {
    align->SetOffline(offline);
    align->exec();
  };
}

void ProgramWindows::InstallService() {
  WindowOpeners& openers = main_.Openers();
  // The main window shows their commands only where the build allows.
  auto* development = new TfrmEngineering(editors_, &main_);
  openers.development = [development] { development->exec(); };
  auto* engOptions = new TfrmEngOptions(editors_, &main_);
  openers.engOptions = [engOptions] { engOptions->exec(); };
}
