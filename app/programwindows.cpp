#include "programwindows.h"

#include <map>
#include <memory>

#include "autodetect.h"
#include "bytemonitor.h"
#include "com_port.h"
#include "floatingdisplays.h"
#include "formalign.h"
#include "frmctcss.h"
#include "frmengineering.h"
#include "frmeepromedit.h"
#include "frmengoptions.h"
#include "frmhardware.h"
#include "frmoptions.h"
#include "frmreport.h"
#include "frmsquelch.h"
#include "mainwindow.h"
#include "portmap.h"
#include "radio_rw.h"
#include "rxchdata.h"
#include "scanform.h"
#include "selcallidentswindow.h"
#include "selcallwindow.h"
#include "vorniipacketmonitor.h"
#include "vornipacketmonitor.h"

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      editors_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); }} {
  InstallEditors();
  InstallAlignment();
  InstallService();
  InstallLinkWindows();
  InstallFloatingDisplays();
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

void ProgramWindows::InstallLinkWindows() {
  WindowOpeners& openers = main_.Openers();
  SharedObjects& shared = main_.Shared();
  auto* ports = new TfrmPorts(main_.Build(), shared.port.Ports(), &main_);
  openers.commPort = [ports](int& portNumber, int& maxBdRate) {
    ports->SetSelectedPort(portNumber);
    ports->SetMaxBaudRate(maxBdRate);
    if (ports->exec() != QDialog::Accepted) return false;
    portNumber = ports->SelectedPort();
    maxBdRate = ports->MaxBaudRate();
    return true;
  };
  auto* autoDetect = new TfrmAutoDetect(main_.Build(), shared, &main_);
  openers.autoDetect = [this, autoDetect, &shared] {
    autoDetect->exec();
    const int found = autoDetect->FoundPort();
    if (found == 0) {
      // The scan leaves the port open on the last port it tried; the
      // next radio command must not go there instead of to the
      // configured port.
      shared.port.Close();
      shared.port.Open(PortMap::ComName(main_.PortNumber()), 9600);
      main_.RefreshPortPanels();
    }
    return found;
  };

  // The monitors are modeless: showing one again only raises it.
  auto showMonitor = [](QDialog* monitor) {
    return [monitor] {
      monitor->show();
      monitor->raise();
      monitor->activateWindow();
    };
  };
  openers.byteMonitor = showMonitor(new TbyteMonitorForm(shared.port, &main_));
  openers.vornIMonitor = showMonitor(new TvornIPacketMonitorForm(shared.radio.ProtocolI(), &main_));
  openers.vornIIMonitor = showMonitor(new TvornIIPacketMonitorForm(shared.radio.ProtocolII(), &main_));
}

void ProgramWindows::InstallFloatingDisplays() {
  // One window per model with a panel, built once and hidden until asked for.
  auto panels = std::make_shared<std::map<int, FloatingDisplay*>>();
  int count = 0;
  const PanelModel* models = PanelModels(count);
  for (int i = 0; i < count; ++i) {
    FloatingDisplay* panel = NewFloatingDisplay(models[i].productId, editors_, &main_);
    panel->SetClosedHandler([&main = main_] { main.FloatingDisplayClosed(); });
    (*panels)[static_cast<int>(models[i].productId)] = panel;
  }
  const auto with = [panels](void (FloatingDisplay::*op)()) {
    return [panels, op](int productId) {
      const auto it = panels->find(productId);
      if (it != panels->end()) (it->second->*op)();
    };
  };
  WindowOpeners& openers = main_.Openers();
  openers.floatingShow = with(&FloatingDisplay::ShowPanel);
  openers.floatingClose = with(&FloatingDisplay::ClosePanel);
  openers.floatingRadioLost = with(&FloatingDisplay::RadioLost);
  openers.floatingDisplayRequest = with(&FloatingDisplay::DisplayRequest);
  // The raw memory: handed the application image each time, and run on
  // the transfers' lane so no radio command overtakes its worker.
  auto* eeprom = new TfrmEEpromEdit(editors_, main_.Flows().Lane(), &main_);
  openers.eeprom = [eeprom, &image = main_.Shared().image] {
    eeprom->SetSource(&image);
    eeprom->exec();
  };
}
