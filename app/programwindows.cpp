#include "programwindows.h"

#include <map>
#include <memory>

#include "frmctcss.h"
#include "frmhardware.h"
#include "frmoptions.h"
#include "floatingdisplays.h"
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
}
