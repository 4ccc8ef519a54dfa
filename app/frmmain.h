#pragma once
// The programmer's main window: it puts together its parts (the central
// area with the model's picture and the command buttons, the menu bar, the
// status bar), connects their buttons and items to its commands, and holds
// the program-wide state that is not in the memory image (what is loaded,
// the port, the rates, the default file).

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "appcontext.h"
#include "baseline.h"
#include "qtmessagereceiver.h"
#include "readarchive.h"
#include "settings.h"
#include "transferhost.h"
#include "windowopeners.h"

class QTimer;
class ByteTrace;
class FileChooser;
class MainCentralArea;
class MainMenuBar;
class MainStatusBar;
class TfrmReadWrite;
class TransferFlows;
struct GroupWriteReport;

// What the image holds.

// It is the transfers' host: the read and write commands run in its
// TransferFlows, show their questions here and report to its status bar,
// buttons and progress dialog.
class TfrmMain : public QMainWindow, public TransferHost {
  Q_OBJECT
 public:
  explicit TfrmMain(AppContext& context, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The start-up steps that may show messages: opens the port and loads
  // the default mem-file, then refreshes the status bar and the buttons.
  void StartUp();
  // Sizes and places the window on a screen whose free area is
  // `available`: centred when it fits, else cut to fit with its content
  // scrolling between the menu bar and the status bar.
  void FitInto(const QRect& available);

  // UserPrompts: message boxes over this window.
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon icon) override;
  bool AskOkCancel(QuestionId question, const std::string& text, const std::string& caption,
                   PromptIcon icon) override;

  // TransferHost.
  std::string OpenPortFailureText(const std::string& portName) override;
  void RadioIdentityStale() override { ClearRadioPanel(); }
  void PortStateChanged() override { RefreshPortPanels(); }
  void StatusChanged() override { UpdateStatusBar(); }
  void SetDataSource(DataSourceState source) override;
  // An editor changed the loaded image: it is no longer the file or the
  // radio's memory as loaded, and the status bar says so.
  void ImageEdited();
  // The floating display's poll waits while a transfer holds the radio;
  // the edit buttons follow the data the transfer brought.
  void TransferStarting(int direction) override;
  void TransferEnded(const TransferOutcome& outcome) override;
  void RunTransfer(const ProgressSetup& setup, const std::function<bool()>& startWorker) override;
  void DeliverPendingMessages() override;
  void ReportArchiveFailure(const std::string& text) override;  // status bar, for a while

  // Helpers shared with the service windows; the port and product checks
  // are the transfer commands' own.
  bool OpenPort();
  // Lets a transfer still finishing end first, then opens the port when it
  // is closed; true when it is open afterwards.
  bool PortCheck();
  struct ProductIdCheck {
    bool ok = false;
    int productId = 0;
    int rowIndex = 0;
  };
  ProductIdCheck CheckProductId();
  bool LoadMemFile(const QString& path);
  // "Read file" once the file is chosen: loads, checks and follows the model.
  void ReadFileFrom(const QString& path);
  // Bytes the last loaded mem-file held when it was short, else -1.
  int ShortFileBytes() const { return shortFileBytes_; }

  // Program-wide state. The port and the rates are the transfers' state.
  DataSourceState DataSource() const { return dataSource_; }
  const QString& CurrentFileName() const { return currentFileName_; }
  int PortNumber() const { return transferState_.portNumber; }
  int MaxBdRate() const { return static_cast<int>(transferState_.maxBdRate); }
  int CurrentBaudRate() const { return static_cast<int>(transferState_.currentBaudRate); }
  bool BaudRaised() const { return transferState_.baudRaised; }
  const QString& DefaultFile() const { return defaultFile_; }
  bool AdvancedMode() const { return advanced_; }
  bool ArraysChecked() const;  // "Read/Write using arrays"
  const RecentFiles& RecentMemFiles() const { return recentFiles_; }
  QString StatusText(int panel) const;
  // The status bar's own notices (a trace that cannot be written) go here,
  // beside the four panels.
  MainStatusBar& StatusBar() { return *statusBar_; }
  // A trace of the serial traffic that cannot be written is said in the
  // status bar's notice until the window goes.
  void ReportTraceFailures(ByteTrace& trace);
  // The status bar: the radio panel alone (before each transfer), the two
  // port panels, or all four panels and then a repaint.
  void ClearRadioPanel();
  void RefreshPortPanels();
  void UpdateStatusBar();
  // The editors' buttons and menu items, by what is loaded.
  void UpdateEditButtons();
  // The title's modified mark and "Write Changes To Radio", by how the
  // configuration differs from what was loaded, read, saved or written.
  void RefreshModified();
  // The groups "Write Changes To Radio" would write now.
  GroupSet ChangesToWrite() const;
  // Before the configuration is replaced or the program ends: false when
  // the user would rather keep unsaved changes where they are. `doing`
  // names what comes next ("reading the radio").
  bool ConfirmUnsavedChanges(const std::string& doing);
  const BuildConfig& Build() const { return context_.build; }
  SharedObjects& Shared() { return context_.shared; }
  TransferFlows& Flows() { return *flows_; }
  TfrmReadWrite& ReadWriteDialog() { return *frmReadWrite_; }

  // Where the link and the workers post their messages for this window.
  MessageReceiver& Receiver() { return receiver_; }
  void SetMessageHandler(unsigned message, std::function<void(intptr_t, intptr_t)> handler);
  WindowOpeners& Openers() { return openers_; }
  FileChooser& Chooser() { return context_.chooser; }
  const std::string& TracePath() const { return context_.tracePath; }

  // The floating display. Its window calls FloatingDisplayClosed whenever
  // it closes; the poll timer's tick is tmrPollFloatingRadioTimer.
  void FloatingDisplayClosed();
  // The timer's tick: polls unless a whole-memory worker holds the radio.
  void PollFloatingRadio();
  void tmrPollFloatingRadioTimer();
  int FloatingDisplayProductId() const { return floatingProductId_; }
  bool RadioLost() const { return radioLost_; }

 public slots:
  void BringToFront();
  // A mem-file handed over by a second start of the program (a double
  // click in the file manager): comes forward, asks before replacing data
  // already loaded, then loads it as "Read file" does.
  void OpenHandedFile(const QString& path);

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Construction.
  void BuildCentralArea();
  void BuildMenus();
  void BuildStatusBar();
  void BuildTransfers();
  void BuildFloatingDisplay();
  void ApplyVisibility();
  QMargins ExpectedFrame() const;
  void LoadSettings();
  void SaveSettings();
  void SelectModelOfImage();
  std::string ShortFileText(const QString& path) const;
  // Before writing an image padded from a short file: false when the
  // user would rather not.
  bool ConfirmWriteOfShortFile();
  // The "Floating Display" item's check mark: the panel is open and polled.
  bool FloatingDisplayOn() const;

  // Item lookup by control name, buttons and menu items alike.
  void SetEnabled(const char* name, bool enabled);
  void SetVisible(const char* name, bool visible);

  // Commands.
  void btnReadRadioClick();
  void btnWriteRadioClick();
  void btnReadFileClick();
  void btnWriteFileClick();
  // Saves into the file the configuration came from, else asks for one;
  // false when nothing was saved.
  bool SaveConfiguration();
  bool SaveConfigurationAs();
  bool SaveConfigurationTo(const QString& path);
  void mnuWriteChangesClick();
  void mnuRestoreRadioClick();
  void ReportGroupWrite(const GroupWriteReport& report, const std::string& caption);
  // The loaded configuration as YAML text, and a text applied onto it.
  void mnuExportTextClick();
  void mnuImportTextClick();
  void mnuSetDefaultFilenameClick();
  void mnuRemoveDefaultFilenameClick();
  void EditClick();
  void OpenAlignment();
  void mnCommPortClick();
  void mnAutoDetectClick();
  void mnuCheckLeadClick();
  void mnuFirmwareClick();
  void mnuPrintClick();
  void mnuBatchWriteClick();
  void mnuFileExitClick();
  void mnuByteMonitorClick();
  void mnuVornIPacketMonitorClick();
  void mnuVornIIPacketMonitorClick();
  void mnuFloatingDisplayClick();
  void AboutClick();
  void RunOpener(const std::function<void()>& opener);
  // Every command of the buttons and menus goes through here: none starts
  // while a transfer's worker is still finishing.
  void RunCommand(void (TfrmMain::*handler)());

  AppContext& context_;
  QtMessageReceiver receiver_{this};
  WindowOpeners openers_;
  std::map<unsigned, std::function<void(intptr_t, intptr_t)>> messageHandlers_;

  bool advanced_ = false;
  DataSourceState dataSource_ = kNothingLoaded;
  ConfigBaseline baseline_;
  QString currentFileName_;
  int shortFileBytes_ = -1;
  TransferState transferState_;
  int storedPortNumber_ = kDefaultComPort;
  QString defaultFile_;
  RecentFiles recentFiles_;

  MainCentralArea* central_ = nullptr;
  MainStatusBar* statusBar_ = nullptr;
  MainMenuBar* menus_ = nullptr;
  QTimer* tmrPollFloatingRadio_ = nullptr;
  int floatingProductId_ = 0;  // the radio the floating display was opened for
  bool radioLost_ = false;     // the last poll found no radio
  TfrmReadWrite* frmReadWrite_ = nullptr;
  ByteTrace* trace_ = nullptr;  // the trace whose failures are reported here
  // Where every complete read is also kept; it outlives the flows.
  ReadArchive archive_;
  // Last: it ends (cancelling and waiting for a running worker) before the
  // rest of the window goes.
  std::unique_ptr<TransferFlows> flows_;
};
