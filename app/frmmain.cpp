#include "frmmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include "announce.h"
#include "background.h"
#include "buildconfig.h"
#include "bytetrace.h"
#include "clicklabel.h"
#include "controls.h"
#include "frmreadwrite.h"
#include "maincentralarea.h"
#include "mainmenubar.h"
#include "mainstatusbar.h"
#include "messages.h"
#include "params.h"
#include "portmap.h"
#include "progress.h"
#include "transferflows.h"
#include "windowfit.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 594;
constexpr int kPortLostNoticeMs = 60000;

QMessageBox::Icon BoxIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}


}  // namespace

TfrmMain::TfrmMain(AppContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      archive_(DefaultReadArchiveFolder(context.build.modelName)) {
  setObjectName("frmMain");
  std::vector<std::string> args = context_.arguments;
  advanced_ = IsAdvancedSwitch(args) || context_.build.engineering;

  BuildCentralArea();
  BuildMenus();
  ApplyVisibility();
  LoadSettings();
  BuildStatusBar();
  BuildTransfers();
  BuildFloatingDisplay();

  // Nothing is loaded yet: the image reads as erased memory.
  dataSource_ = kNothingLoaded;
  context_.shared.image.Fill(0xFF);
  context_.shared.info.SelectModel(context_.build.productId);

  recentFiles_ = context_.settings.LoadRecentFiles();
  menus_->ShowRecentFiles(recentFiles_);

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWindowWidth, kWindowHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    FitInto(screen->availableGeometry());
  // Start-up may show messages before anything is loaded; the window
  // behind them must already say that nothing is.
  UpdateStatusBar();
  UpdateEditButtons();
}

void TfrmMain::FitInto(const QRect& available) {
  const WindowFit fit = FitWindow(QSize(kWindowWidth, kWindowHeight), available, ExpectedFrame());
  auto* scroller = qobject_cast<QScrollArea*>(centralWidget());
  if (fit.scrolls && !scroller) {
    // The central area keeps its height and scrolls up and down inside
    // what is left between the menu bar and the status bar; it narrows as
    // far as its rows of buttons let it before it scrolls sideways too.
    central_->setMinimumHeight(kWindowHeight - menuBar()->sizeHint().height() -
                               statusBar_->sizeHint().height());
    takeCentralWidget();
    scroller = new QScrollArea(this);
    scroller->setObjectName("centralScroller");
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(central_);
    setCentralWidget(scroller);
  } else if (!fit.scrolls && scroller) {
    scroller->takeWidget();
    central_->setMinimumHeight(0);
    setCentralWidget(central_);  // the scroll area goes
  }
  setFixedSize(fit.size);
  move(fit.position);
}

QMargins TfrmMain::ExpectedFrame() const {
  // Once shown, the window manager's frame is known; before, a platform
  // that draws windows on a screen is expected to add a title bar and a
  // border of the style's size.
  if (frameGeometry() != geometry())
    return QMargins(geometry().left() - frameGeometry().left(),
                    geometry().top() - frameGeometry().top(),
                    frameGeometry().right() - geometry().right(),
                    frameGeometry().bottom() - geometry().bottom());
  const QString platform = QGuiApplication::platformName();
  if (platform == "offscreen" || platform == "minimal") return QMargins();
  const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  return QMargins(border, title + border, border, border);
}

TfrmMain::~TfrmMain() {
  // A transfer still running is cancelled and waited for while the window
  // it reports to is whole.
  flows_.reset();
  // The port outlives the window, and may still trace after it is gone.
  context_.shared.port.SetLostReceiver(nullptr, 0);
  if (trace_) trace_->SetFailureReceiver(nullptr);
  receiver_.Detach();
  // The recent list goes back exactly as it was read.
  context_.settings.SaveRecentFiles(recentFiles_);
}

namespace {

// A first run (or any run before the user chooses a default file) has
// only the build's own default file name, "defkestal.mem", standing in
// and stored back on exit as it is. When no such file is there it starts
// quietly with nothing loaded; a default file the user chose comes from
// a file dialog with its folder, and is reported when it is gone.
bool FirstRunWithoutDefaultFile(const QString& defaultFile, const BuildConfig& build) {
  const QFileInfo file(defaultFile);
  return !build.AllModels() && defaultFile.toStdString() == DefaultMemFileName(build) &&
         !file.exists() && !file.isSymLink();
}

}  // namespace

void TfrmMain::StartUp() {
  OpenPort();
  if (!context_.openAtStart.empty()) {
    // A file named on the command line takes the default file's place.
    ReadFileFrom(QString::fromStdString(context_.openAtStart));
  } else if (!defaultFile_.isEmpty() &&
             !FirstRunWithoutDefaultFile(defaultFile_, context_.build)) {
    currentFileName_ = defaultFile_;
    if (LoadMemFile(defaultFile_) && context_.build.productId == kNoProductId) {
      // The all-models build follows the model of the file it loaded.
      SelectModelOfImage();
    }
  }
  UpdateStatusBar();
  UpdateEditButtons();
}

void TfrmMain::LoadSettings() {
  const StoredSettings s = context_.settings.Load(context_.build);
  transferState_.portNumber = storedPortNumber_ = s.comPort;
  if (context_.sessionPort != 0) transferState_.portNumber = context_.sessionPort;
  transferState_.maxBdRate = static_cast<uint32_t>(s.maxBdRate);
  transferState_.currentBaudRate = static_cast<uint32_t>(kBaudRates.front());
  transferState_.baudRaised = false;
  defaultFile_ = QString::fromStdString(s.defaultFile);
}

void TfrmMain::SaveSettings() {
  StoredSettings s;
  // The simulated radio's port belongs to this run only.
  const int port = transferState_.portNumber;
  const bool sessionOnly = context_.sessionPort != 0 && port == context_.sessionPort;
  s.comPort = sessionOnly ? storedPortNumber_ : port;
  s.maxBdRate = static_cast<int>(transferState_.maxBdRate);
  s.defaultFile = defaultFile_.toStdString();
  context_.settings.Save(s);
}

void TfrmMain::BuildCentralArea() {
  central_ = new MainCentralArea(context_.build, this);
  using Handler = void (TfrmMain::*)();
  static const std::pair<const char*, Handler> kButtonCommands[] = {
      {"btnReadRadio", &TfrmMain::btnReadRadioClick},
      {"btnWriteRadio", &TfrmMain::btnWriteRadioClick},
      {"btnReadFile", &TfrmMain::btnReadFileClick},
      {"btnWriteFile", &TfrmMain::btnWriteFileClick},
      {"btnChannelData", &TfrmMain::EditClick},
      {"btnScan", &TfrmMain::EditClick},
      {"btnSelcall", &TfrmMain::EditClick},
      {"btnCTCSS", &TfrmMain::EditClick},
      {"btnSquelch", &TfrmMain::EditClick},
      {"btnOptions", &TfrmMain::EditClick},
      {"btnAlign", &TfrmMain::EditClick},
      {"btnAdvanced", &TfrmMain::EditClick},
      {"btnDevelopment", &TfrmMain::EditClick},
      {"btnEEPROM", &TfrmMain::EditClick},
  };
  for (const auto& [name, handler] : kButtonCommands)
    connect(central_->Button(name), &QPushButton::clicked, this,
            [this, h = handler] { RunCommand(h); });
  setCentralWidget(central_);
}

void TfrmMain::BuildStatusBar() {
  statusBar_ = new MainStatusBar(this);
  setStatusBar(statusBar_);
  // The lead pulled shows as the next command would find it, and is said
  // at once: a technician who cannot see the panel must not find out only
  // from the next command failing.
  SetMessageHandler(WM_PORT_LOST, [this](intptr_t, intptr_t) {
    RefreshPortPanels();
    statusBar_->ShowNoticeFor(
        QString::fromStdString(PortLostText(PortMap::ComName(transferState_.portNumber))),
        kPortLostNoticeMs);
    Announce(statusBar_->NoticePanel());
  });
  context_.shared.port.SetLostReceiver(&receiver_, WM_PORT_LOST);
}

void TfrmMain::ApplyVisibility() {
  for (const char* name : {"btnEEPROM", "btnAdvanced", "btnDevelopment", "mnuEditEeprom",
                           "mnuEditEngineering", "mnuEditRemote", "mnuEditDevelopment",
                           "mnuByteMonitor", "mnuVornIPacketMonitor", "mnuVornIIPacketMonitor",
                           "mnuSetupEngArrayRdWr"})
    SetVisible(name, false);
  if (context_.build.engineering) {
    for (const char* name : {"btnEEPROM", "mnuEditChannelData", "mnuEditEeprom", "mnuByteMonitor",
                             "mnuVornIPacketMonitor", "mnuVornIIPacketMonitor",
                             "mnuEditDevelopment", "btnDevelopment", "mnuSetupEngArrayRdWr"})
      SetVisible(name, true);
    menus_->Action("mnuSetupEngArrayRdWr")->setChecked(
        TradioInfo::HasArrayTransfer(context_.build.productId));
  }
  if (advanced_) {
    SetVisible("btnAdvanced", true);
    SetVisible("mnuEditEngineering", true);
  }
  // The floating display's menu item is a bench tool: out of sight unless
  // the engineering build or the command line asks for it.
  SetVisible("mnuFloatingDisplay", context_.build.engineering || context_.showFloatingDisplay);
}

void TfrmMain::SetEnabled(const char* name, bool enabled) {
  if (QPushButton* b = central_->Button(name)) b->setEnabled(enabled);
  if (QAction* a = menus_->Action(name)) a->setEnabled(enabled);
}

void TfrmMain::SetVisible(const char* name, bool visible) {
  if (QPushButton* b = central_->Button(name)) b->setVisible(visible);
  if (QAction* a = menus_->Action(name)) a->setVisible(visible);
}

bool TfrmMain::ArraysChecked() const { return menus_->ArraysChecked(); }

void TfrmMain::RefreshPortPanels() {
  statusBar_->ShowPort(transferState_.portNumber, context_.shared.port.IsOpen());
}

void TfrmMain::UpdateStatusBar() {
  RefreshPortPanels();
  std::string version;
  TRadio& radio = context_.shared.radio;
  statusBar_->ShowRadio(radio.GetVersionText(version)
                            ? QString::fromStdString("Radio: " + radio.GetFirmwareText() + " " +
                                                     version)
                            : QString());
  statusBar_->ShowData(dataSource_, currentFileName_);
  RefreshModified();
  // The transfer commands go on talking to the radio on this thread; the
  // user should see the radio's version before they do.
  statusBar_->repaint();
}

void TfrmMain::ImageEdited() {
  dataSource_ = kRadioData;
  UpdateStatusBar();
  UpdateEditButtons();
}

QString TfrmMain::StatusText(int panel) const { return statusBar_->PanelText(panel); }

void TfrmMain::UpdateEditButtons() {
  const BuildConfig& build = context_.build;
  if (build.AllModels()) return;
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  const bool usable = dataSource_ != kNothingLoaded && build.productId != kNoProductId &&
                      FindModel(build.productId, row, flag, name);
  for (const char* item : {"btnScan", "mnuEditScan", "btnCTCSS", "mnuEditCTCSS", "btnSquelch",
                           "mnuEditSquelch", "btnOptions", "mnuEditOptions", "btnWriteRadio",
                           "mnuFileWriteRadio", "btnAlign", "mnuEditAlign", "btnAdvanced",
                           "mnuEditEngineering", "btnSelcall", "mnuEditSelcall", "btnChannelData",
                           "mnuEditChannelData", "mnuFileBatchWrite"})
    SetEnabled(item, usable);
  if (usable) {
    const bool selcall = TradioInfo::HasSelcall(build.productId);
    const bool channels = TradioInfo::HasRxOnlyChannels(build.productId);
    for (const char* item : {"btnSelcall", "mnuEditSelcall"}) {
      SetEnabled(item, selcall);
      SetVisible(item, selcall);
    }
    for (const char* item : {"btnChannelData", "mnuEditChannelData"}) {
      SetEnabled(item, channels);
      SetVisible(item, channels);
    }
  } else {
    // Aligning needs no loaded data: the alignment window reads the radio.
    SetEnabled("btnAlign", true);
  }
}

void TfrmMain::ShowMessage(const std::string& text, const std::string& caption, PromptIcon icon) {
  QMessageBox box(BoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, this);
  box.exec();
}

// Every question here has a person to answer it: the identifier is for
// hosts without one.
bool TfrmMain::AskOkCancel(QuestionId, const std::string& text, const std::string& caption,
                           PromptIcon icon) {
  QMessageBox box(BoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, this);
  return box.exec() == QMessageBox::Ok;
}

void TfrmMain::SetMessageHandler(unsigned message, std::function<void(intptr_t, intptr_t)> handler) {
  messageHandlers_[message] = std::move(handler);
}

bool TfrmMain::event(QEvent* e) {
  if (e->type() == VornMessageEvent::EventType()) {
    const auto* m = static_cast<VornMessageEvent*>(e);
    const auto it = messageHandlers_.find(m->message);
    if (it != messageHandlers_.end() && it->second) it->second(m->wParam, m->lParam);
    return true;
  }
  return QMainWindow::event(e);
}

void TfrmMain::showEvent(QShowEvent* e) {
  const BuildConfig& build = context_.build;
  // "[*]" is where the desktop shows that the configuration is modified.
  setWindowTitle(QString::fromStdString(TitleText(build)) + "[*]");
  central_->ShowTitles(QString::fromStdString(build.modelName + " Programmer"),
                       QString::fromStdString(ShortVersionText(build)));
  QMainWindow::showEvent(e);
}

void TfrmMain::closeEvent(QCloseEvent* e) {
  // Asked only of a window that is idle: closing during a transfer stops it.
  if (!flows_->Worker().IsRunning() && !ConfirmUnsavedChanges("quitting")) {
    e->ignore();
    return;
  }
  // Closing during a transfer stops it at the next block; the flows wait
  // for the worker when the window is destroyed.
  if (flows_->Worker().IsRunning()) context_.shared.cancel.Set();
  if (frmReadWrite_->isVisible()) frmReadWrite_->reject();
  SaveSettings();
  QMainWindow::closeEvent(e);
}

void TfrmMain::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}
