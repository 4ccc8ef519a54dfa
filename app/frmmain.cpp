#include "frmmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>

#include "background.h"
#include "buildconfig.h"
#include "clicklabel.h"
#include "controls.h"
#include "frmreadwrite.h"
#include "maker.h"
#include "params.h"
#include "radio_rw.h"

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 594;
constexpr int kPanelWidths[3] = {50, 60, 120};
constexpr int kFileNameShown = 85;  // longer names show their last 85 characters

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
  FillRecentFilesMenu();
  ChooseBackground();

  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWindowWidth, kWindowHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  // Start-up may show messages before anything is loaded; the window
  // behind them must already say that nothing is.
  UpdateStatusBar();
  UpdateEditButtons();
}

TfrmMain::~TfrmMain() {
  // A transfer still running is cancelled and waited for while the window
  // it reports to is whole.
  flows_.reset();
  // The port outlives the window.
  context_.shared.port.SetLostReceiver(nullptr, 0);
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
  auto* central = new QWidget(this);
  central->setObjectName("centralArea");
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(0, 0, 0, 0);

  int count = 0;
  const BackgroundStyle* styles = BackgroundStyles(count);
  for (int i = 0; i < count; ++i) {
    auto* picture = new BackgroundPicture(styles[i], central);
    picture->setAccessibleName(QString("Picture of the radio, labelled %1").arg(styles[i].label));
    backgrounds_.insert(styles[i].objectName, picture);
    grid->addWidget(picture, 0, 0);
  }

  auto* content = new QWidget(central);
  content->setObjectName("content");
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(26, 14, 26, 10);
  column->setSpacing(10);

  lblProgramName_ = new QLabel(content);
  lblProgramName_->setObjectName("lblProgramName");
  lblBlueTooth_ = new QLabel("BT", content);
  lblBlueTooth_->setObjectName("lblBlueTooth");
  lblBlueTooth_->hide();
  lblVersion_ = new QLabel(content);
  lblVersion_->setObjectName("lblVersion");
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(lblProgramName_);
  nameRow->addWidget(lblBlueTooth_);
  nameRow->addStretch();
  column->addLayout(nameRow);
  column->addWidget(lblVersion_);
  column->addStretch(1);

  struct ButtonDef {
    const char* name;
    const char* caption;
    const char* hint;
    void (TfrmMain::*handler)();
  };
  const ButtonDef mainRow[] = {
      {"btnReadRadio", "Read radio", "Reads radio configuration", &TfrmMain::btnReadRadioClick},
      {"btnWriteRadio", "Write radio", "Writes current configuration to radio",
       &TfrmMain::btnWriteRadioClick},
      {"btnReadFile", "Read file", "Reads a mem-file of your choice", &TfrmMain::btnReadFileClick},
      {"btnWriteFile", "Write file", "Writes current configuration to a file of your choice",
       &TfrmMain::btnWriteFileClick},
  };
  const ButtonDef editRow[] = {
      {"btnChannelData", "Channels", "Configure receive-only channels", &TfrmMain::EditClick},
      {"btnScan", "Scan/Duplex", "Setup scan and duplex memories", &TfrmMain::EditClick},
      {"btnSelcall", "Selcall", "Configure selcall memories and options", &TfrmMain::EditClick},
      {"btnCTCSS", "CTCSS/DCS", "Configure subtones (CTCSS/DCS)", &TfrmMain::EditClick},
      {"btnSquelch", "Squelch", "Configure squelch thresholds", &TfrmMain::EditClick},
      {"btnOptions", "Options", "Configure other radio options", &TfrmMain::EditClick},
  };
  // The bench tools: alignment, and what advanced mode and the engineering
  // build add.
  const ButtonDef serviceRow[] = {
      {"btnAlign", "Align", "Perform radio alignment", &TfrmMain::EditClick},
      {"btnAdvanced", "Advanced", "Configure advanced features", &TfrmMain::EditClick},
      {"btnDevelopment", "Development", "Access development tools", &TfrmMain::EditClick},
      {"btnEEPROM", "EEPROM", "View/edit EEPROM contents", &TfrmMain::EditClick},
  };
  const auto addRow = [&](const auto& defs, const char* rowName) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch();
    for (const ButtonDef& def : defs) {
      auto* button = new QPushButton(def.caption, content);
      button->setObjectName(def.name);
      button->setProperty("row", rowName);
      button->setToolTip(def.hint);
      button->setFlat(true);
      button->setCursor(Qt::PointingHandCursor);
      button->setFocusPolicy(Qt::TabFocus);
      connect(button, &QPushButton::clicked, this, [this, h = def.handler] { RunCommand(h); });
      buttons_.insert(def.name, button);
      row->addWidget(button);
    }
    row->addStretch();
    column->addLayout(row);
  };
  column->addSpacing(236);
  addRow(mainRow, "main");
  addRow(editRow, "edit");
  addRow(serviceRow, "edit");
  column->addStretch(1);

  lblWebLink_ = new ClickLabel(QString(" ") + kMakerWebAddress + " ", content);
  lblWebLink_->setObjectName("lblWebLink");
  lblWebLink_->setToolTip(QString("http://") + kMakerWebAddress);
  lblWebLink_->setAccessibleName(QString("Maker's web site: ") + kMakerWebAddress);
  lblWebLink_->setAccessibleDescription(QString("Opens http://") + kMakerWebAddress);
  connect(lblWebLink_, &ClickLabel::clicked, this, &TfrmMain::lblWebLinkClick);
  auto* linkRow = new QHBoxLayout;
  linkRow->addStretch();
  linkRow->addWidget(lblWebLink_);
  column->addLayout(linkRow);
  grid->addWidget(content, 0, 0);

  const QString accent = BackgroundStyleForModelFlag(context_.build.modelFlag).accent;
  central->setStyleSheet(QString(R"(
    #centralArea { background: black; }
    QLabel { color: #e6e6e6; background: transparent; }
    #lblProgramName { font-size: 26px; font-weight: bold; }
    #lblVersion { font-size: 13px; color: #9aa0a8; }
    #lblBlueTooth { font-size: 15px; font-weight: bold; color: white; background: #1f6fd1;
                    border-radius: 4px; padding: 1px 6px; }
    #lblWebLink { color: %1; font-size: 12px; }
    #lblWebLink:hover, #lblWebLink:focus { text-decoration: underline; }
    QPushButton { color: #f0f0f0; background: rgba(255, 255, 255, 18); border: 1px solid #3c4047;
                  border-radius: 6px; padding: 6px 10px; font-size: 12px; min-width: 82px; }
    QPushButton[row="main"] { font-size: 14px; font-weight: bold; min-width: 132px; padding: 9px 12px; }
    QPushButton:hover { border-color: %1; background: rgba(255, 255, 255, 34); }
    QPushButton:pressed { background: rgba(255, 255, 255, 60); }
    QPushButton:focus { border-color: %1; }
    QPushButton:disabled { color: #5c6067; border-color: #24262b; background: rgba(255, 255, 255, 6); }
  )").arg(accent));
  setCentralWidget(central);
}

namespace {
const char* const kPanelNames[4] = {"Port", "Port state", "Radio", "Data"};
}

void TfrmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar");
  bar->setAccessibleName("Status");
  bar->setSizeGripEnabled(false);
  bar->setStyleSheet(
      "QStatusBar { background: #202225; } QStatusBar::item { border: none; }"
      "QLabel { color: #d8d8d8; font-size: 8pt; border-right: 1px solid #3a3d42;"
      " padding: 0 1px; }");
  for (int i = 0; i < 4; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    // Read out as "Port: COM97", not a bare "COM97" nor a bare "Port".
    SetSpokenText(panels_[i], kPanelNames[i], QString());
    if (i < 3) {
      // The radio panel widens for a firmware text and version that do
      // not fit its 120 pixels rather than cut them off.
      if (i == 2)
        panels_[i]->setMinimumWidth(kPanelWidths[i]);
      else
        panels_[i]->setFixedWidth(kPanelWidths[i]);
      bar->addWidget(panels_[i]);
    } else {
      bar->addWidget(panels_[i], 1);
    }
  }
  // The lead pulled while idle shows as the next command would find it.
  SetMessageHandler(WM_PORT_LOST, [this](intptr_t, intptr_t) { RefreshPortPanels(); });
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
    actions_["mnuSetupEngArrayRdWr"]->setChecked(
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

void TfrmMain::ChooseBackground() {
  const QStringList shown = BackgroundsForModelFlag(context_.build.modelFlag);
  for (auto it = backgrounds_.begin(); it != backgrounds_.end(); ++it)
    it.value()->setVisible(shown.contains(it.key()));
  lblBlueTooth_->setVisible(context_.build.modelFlag == 64);
}

void TfrmMain::FillRecentFilesMenu() {
  // The list is shown as it was stored; the items have no action.
  for (const QString& file : recentFiles_) {
    // A "&" in a path would otherwise become an access letter and vanish
    // from the name a screen reader reads.
    QAction* entry = recentMenu_->addAction(QString(file).replace('&', "&&"));
    entry->setStatusTip("Recently used mem-file " + file);
    entry->setProperty("recentFile", true);
  }
}

void TfrmMain::SetEnabled(const char* name, bool enabled) {
  if (QPushButton* b = buttons_.value(name)) b->setEnabled(enabled);
  if (QAction* a = actions_.value(name)) a->setEnabled(enabled);
}

void TfrmMain::SetVisible(const char* name, bool visible) {
  if (QPushButton* b = buttons_.value(name)) b->setVisible(visible);
  if (QAction* a = actions_.value(name)) a->setVisible(visible);
}

bool TfrmMain::ArraysChecked() const {
  const QAction* a = actions_.value("mnuSetupEngArrayRdWr");
  return a && a->isChecked();
}

void TfrmMain::RefreshPortPanels() {
  SetSpokenText(panels_[0], kPanelNames[0], QString("COM%1").arg(transferState_.portNumber));
  SetSpokenText(panels_[1], kPanelNames[1], context_.shared.port.IsOpen() ? "Open" : "Not open");
}

void TfrmMain::UpdateStatusBar() {
  RefreshPortPanels();
  std::string version;
  TRadio& radio = context_.shared.radio;
  SetSpokenText(panels_[2], kPanelNames[2], radio.GetVersionText(version)
                          ? QString::fromStdString("Radio: " + radio.GetFirmwareText() + " " + version)
                          : QString());
  switch (dataSource_) {
    case kFileData:
      SetSpokenText(panels_[3], kPanelNames[3], "File: " + (currentFileName_.size() > kFileNameShown
                                          ? "..." + currentFileName_.right(kFileNameShown)
                                          : currentFileName_));
      break;
    case kRadioData: SetSpokenText(panels_[3], kPanelNames[3], "Current (or modified) radio data loaded."); break;
    default: SetSpokenText(panels_[3], kPanelNames[3], "No data loaded."); break;
  }
  // The transfer commands go on talking to the radio on this thread; the
  // user should see the radio's version before they do.
  statusBar()->repaint();
}

QString TfrmMain::StatusText(int panel) const {
  return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

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

bool TfrmMain::AskOkCancel(const std::string& text, const std::string& caption, PromptIcon icon) {
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
  setWindowTitle(QString::fromStdString(TitleText(build)));
  lblProgramName_->setText(QString::fromStdString(build.modelName + " Programmer"));
  lblVersion_->setText(QString::fromStdString(ShortVersionText(build)));
  QMainWindow::showEvent(e);
}

void TfrmMain::closeEvent(QCloseEvent* e) {
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

void TfrmMain::lblWebLinkClick() {
  QDesktopServices::openUrl(QUrl(QString("http://") + kMakerWebAddress));
}
