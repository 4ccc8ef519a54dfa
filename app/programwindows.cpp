#include "programwindows.h"

#include <QPointer>
#include <map>
#include <memory>
#include <type_traits>

#include "frmautodetect.h"
#include "frmchecklead.h"
#include "filechooser.h"
#include "bytemonitorform.h"
#include "frmports.h"
#include "floatingdisplays.h"
#include "formalign.h"
#include "filechooser.h"
#include "frmbatch.h"
#include "frmctcss.h"
#include "frmengineering.h"
#include "frmeepromedit.h"
#include "frmengoptions.h"
#include "frmhardware.h"
#include "frmoptions.h"
#include "frmreport.h"
#include "frmsquelch.h"
#include "frmmain.h"
#include "portmap.h"
#include "transferflows.h"
#include "frmrxchdata.h"
#include "frmscan.h"
#include "frmselcallidents.h"
#include "frmselcall.h"
#include "vorniipacketmonitor.h"
#include "vornipacketmonitor.h"

namespace {
// A window built the first time it is asked for and kept from then on, so
// that start-up builds none of them. `make` returns a new child of the
// main window.
template <typename Make>
auto OnFirstUse(Make make) {
  using Window = std::remove_pointer_t<decltype(make())>;
  auto kept = std::make_shared<QPointer<Window>>();
  return [kept, make]() -> Window* {
    if (!*kept) *kept = make();
    return kept->data();
  };
}
}  // namespace

ProgramWindows::ProgramWindows(TfrmMain& main)
    : QObject(&main),
      main_(main),
      context_{main.Build(), main.Shared(), main.AdvancedMode(), [&main] { return main.PortCheck(); },
               [&main] { return main.Flows().Lane().Busy(); }} {
  InstallEditors();
  InstallAlignment();
  InstallService();
  InstallLinkWindows();
  InstallFloatingDisplays();
  InstallBatch();
}

void ProgramWindows::InstallEditors() {
  WindowOpeners& openers = main_.Openers();
  // Each editor: built on first use, shown modally over the main window.
  const auto modal = [](auto window) { return [window] { window()->exec(); }; };
  openers.ctcss = modal(OnFirstUse([this] { return new TfrmCtcss(context_, &main_); }));
  openers.squelch = modal(OnFirstUse([this] { return new TfrmSquelch(context_, &main_); }));
  openers.options = modal(OnFirstUse([this] { return new TfrmOptions(context_, &main_); }));
  openers.channelData = modal(OnFirstUse([this] { return new TfrmRxChData(context_, &main_); }));
  openers.scan = modal(OnFirstUse([this] { return new TfrmScan(context_, &main_); }));
  // Built at once for its place in the program; nothing opens it yet.
  new TfrmHardware(&main_);
  auto selcallMemories = OnFirstUse([this] { return new TfrmSelcallIdents(context_, &main_); });
  openers.selcall = modal(OnFirstUse(
      [this, selcallMemories] { return new TfrmSelcall(context_, *selcallMemories(), &main_); }));
  // The report tells where the image came from, which only the main window knows.
  TfrmMain& main = main_;
  openers.print = modal(OnFirstUse([this, &main] {
    return new TfrmReport(
        context_,
        [&main] {
          ReportSource source;
          source.state = main.DataSource();
          source.fileName = main.CurrentFileName().toStdString();
          return source;
        },
        &main_);
  }));
}

void ProgramWindows::InstallAlignment() {
  // The opener has made sure of the port and read the calibration area;
  // the window only learns whether it runs offline.
  auto align = OnFirstUse([this] { return new TformAlign(context_, &main_); });
  main_.Openers().align = [align](bool offline) {
    align()->SetOffline(offline);
    align()->exec();
  };
}

void ProgramWindows::InstallService() {
  WindowOpeners& openers = main_.Openers();
  // The main window shows their commands only where the build allows.
  openers.development =
      [w = OnFirstUse([this] { return new TfrmEngineering(context_, &main_); })] { w()->exec(); };
  openers.engOptions =
      [w = OnFirstUse([this] { return new TfrmEngOptions(context_, &main_); })] { w()->exec(); };
}

void ProgramWindows::InstallLinkWindows() {
  WindowOpeners& openers = main_.Openers();
  SharedObjects& shared = main_.Shared();
  auto ports = OnFirstUse([this, &shared] { return new TfrmPorts(main_.Build(), shared.port.Ports(), &main_); });
  openers.commPort = [window = std::move(ports)](int& portNumber, int& maxBdRate) {
    TfrmPorts* ports = window();
    ports->SetSelectedPort(portNumber);
    ports->SetMaxBaudRate(maxBdRate);
    if (ports->exec() != QDialog::Accepted) return false;
    portNumber = ports->SelectedPort();
    maxBdRate = ports->MaxBaudRate();
    return true;
  };
  auto autoDetect = OnFirstUse([this, &shared] { return new TfrmAutoDetect(main_.Build(), shared, &main_); });
  openers.autoDetect = [this, autoDetect, &shared] {
    autoDetect()->exec();
    const int found = autoDetect()->FoundPort();
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

  auto checkLead = OnFirstUse([this, &shared] {
    auto* window = new TfrmCheckLead(main_.Build(), shared, &main_);
    window->SetTracePath(main_.TracePath());
    window->SetReportFileChooser([this, window] {
      FileDialogRequest request;
      request.kind = FileDialogRequest::Save;
      request.title = "Save Report";
      request.filter = "Text files (*.txt)";
      request.defaultSuffix = "txt";
      request.initialPath = "lead-check.txt";
      return main_.Chooser().Choose(window, request);
    });
    return window;
  });
  openers.checkLead = [checkLead] { checkLead()->exec(); };

  // The monitors are modeless: showing one again only raises it.
  auto showMonitor = [](auto monitor) {
    return [monitor] {
      monitor()->show();
      monitor()->raise();
      monitor()->activateWindow();
    };
  };
  openers.byteMonitor =
      showMonitor(OnFirstUse([this, &shared] { return new TbyteMonitorForm(shared.port, &main_); }));
  openers.vornIMonitor = showMonitor(OnFirstUse(
      [this, &shared] { return new TvornIPacketMonitorForm(shared.radio.ProtocolI(), &main_); }));
  openers.vornIIMonitor = showMonitor(OnFirstUse(
      [this, &shared] { return new TvornIIPacketMonitorForm(shared.radio.ProtocolII(), &main_); }));
}

void ProgramWindows::InstallFloatingDisplays() {
  // One window per model with a panel, built the first time its radio is
  // asked for and kept, hidden, from then on.
  auto panels = std::make_shared<std::map<int, QPointer<FloatingDisplay>>>();
  const auto panelOf = [this, panels](int productId) -> FloatingDisplay* {
    QPointer<FloatingDisplay>& panel = (*panels)[productId];
    if (!panel) {
      panel = NewFloatingDisplay(static_cast<uint32_t>(productId), context_, &main_);
      if (panel) panel->SetClosedHandler([&main = main_] { main.FloatingDisplayClosed(); });
    }
    return panel.data();
  };
  const auto with = [panelOf](void (FloatingDisplay::*op)()) {
    return [panelOf, op](int productId) {
      if (FloatingDisplay* panel = panelOf(productId)) (panel->*op)();
    };
  };
  WindowOpeners& openers = main_.Openers();
  openers.floatingShow = with(&FloatingDisplay::ShowPanel);
  openers.floatingClose = with(&FloatingDisplay::ClosePanel);
  openers.floatingRadioLost = with(&FloatingDisplay::RadioLost);
  openers.floatingDisplayRequest = with(&FloatingDisplay::DisplayRequest);
  // The raw memory: handed the application image each time, and run on
  // the transfers' lane so no radio command overtakes its worker.
  auto eeprom = OnFirstUse([this] { return new TfrmEEpromEdit(context_, main_.Flows().Lane(), &main_); });
  openers.eeprom = [eeprom, &main = main_] {
    eeprom()->SetSource(&main.Shared().image);
    if (eeprom()->exec() == QDialog::Accepted && eeprom()->ChangedSource()) main.ImageEdited();
  };
}

void ProgramWindows::InstallBatch() {
  TfrmMain& main = main_;
  auto batch = OnFirstUse([this, &main] {
    BatchWindowContext context{context_, main.Flows(), {}, {}, {}};
    context.state = [&main] {
      TransferState state;
      state.portNumber = main.PortNumber();
      state.currentBaudRate = static_cast<uint32_t>(main.CurrentBaudRate());
      state.maxBdRate = static_cast<uint32_t>(main.MaxBdRate());
      state.baudRaised = main.BaudRaised();
      state.arraysChecked = main.ArraysChecked();
      return state;
    };
    context.chooseLog = [&main](QWidget* parent) {
      FileDialogRequest request;
      request.kind = FileDialogRequest::Save;  // an existing log is resumed
      request.title = "Batch log";
      request.filter = "Batch logs (*.csv)";
      request.defaultSuffix = "csv";
      return main.Chooser().Choose(parent, request);
    };
    context.configFiles = [&main] {
      return std::vector<std::string>{main.CurrentFileName().toStdString(),
                                      main.DefaultFile().toStdString()};
    };
    return new TfrmBatch(std::move(context), &main);
  });
  main_.Openers().batchWrite = [batch] {
    batch()->PrepareForConfiguration();
    batch()->exec();
  };
}
