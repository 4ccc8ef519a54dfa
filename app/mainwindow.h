#pragma once
// The programmer's main window: the model's picture with the main
// commands, the menu bar, the status bar, and the program-wide state that
// is not in the memory image (what is loaded, the port, the rates, the
// default file).

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <map>

#include "appcontext.h"
#include "prompts.h"
#include "qtmessagereceiver.h"
#include "settings.h"
#include "windowopeners.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class ClickLabel;

// What the image holds.
enum DataSourceState { kNothingLoaded = 0, kFileData = 1, kRadioData = 2 };

class TfrmMain : public QMainWindow, public UserPrompts {
  Q_OBJECT
 public:
  explicit TfrmMain(AppContext& context, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The start-up steps that may show messages: opens the port and loads
  // the default mem-file, then refreshes the status bar and the buttons.
  void StartUp();

  // UserPrompts: message boxes over this window.
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon icon) override;
  bool AskOkCancel(const std::string& text, const std::string& caption, PromptIcon icon) override;

  // Helpers shared with the transfer and service windows.
  bool OpenPort();
  // Opens the port when it is closed; true when it is open afterwards.
  bool PortCheck();
  struct ProductIdCheck {
    bool ok = false;
    int productId = 0;
    int rowIndex = 0;
  };
  ProductIdCheck CheckProductId();
  void UpdateStatusBar();
  void UpdatePortPanels();   // panels 0 and 1
  void ClearRadioPanel();    // panel 2, before each transfer
  void UpdateEditButtons();
  bool LoadMemFile(const QString& path);

  // Program-wide state.
  int DataSource() const { return dataSource_; }
  void SetDataSource(int state) { dataSource_ = state; }
  const QString& CurrentFileName() const { return currentFileName_; }
  int PortNumber() const { return portNumber_; }
  int MaxBdRate() const { return maxBdRate_; }
  int CurrentBaudRate() const { return currentBaudRate_; }
  void SetCurrentBaudRate(int rate) { currentBaudRate_ = rate; }
  bool BaudRaised() const { return baudRaised_; }
  void SetBaudRaised(bool raised) { baudRaised_ = raised; }
  const QString& DefaultFile() const { return defaultFile_; }
  bool AdvancedMode() const { return advanced_; }
  bool ArraysChecked() const;  // "Read/Write using arrays"
  const RecentFiles& RecentMemFiles() const { return recentFiles_; }
  QString StatusText(int panel) const;
  const BuildConfig& Build() const { return context_.build; }
  SharedObjects& Shared() { return context_.shared; }

  // Where the link and the workers post their messages for this window.
  MessageReceiver& Receiver() { return receiver_; }
  void SetMessageHandler(unsigned message, std::function<void(intptr_t, intptr_t)> handler);
  WindowOpeners& Openers() { return openers_; }

 public slots:
  void BringToFront();

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Construction.
  void BuildCentralArea();
  void BuildMenus();
  void BuildStatusBar();
  void ApplyVisibility();
  void ChooseBackground();
  void FillRecentFilesMenu();
  void LoadSettings();
  void SaveSettings();
  void SelectModelOfImage();

  // Item lookup by control name, buttons and menu items alike.
  void SetEnabled(const char* name, bool enabled);
  void SetVisible(const char* name, bool visible);

  // Commands.
  void btnReadRadioClick();
  void btnWriteRadioClick();
  void btnReadFileClick();
  void btnWriteFileClick();
  void mnuSetDefaultFilenameClick();
  void mnuRemoveDefaultFilenameClick();
  void EditClick();
  void OpenAlignment();
  void mnCommPortClick();
  void mnAutoDetectClick();
  void mnuFirmwareClick();
  void mnuPrintClick();
  void mnuFileExitClick();
  void mnuByteMonitorClick();
  void mnuVornIPacketMonitorClick();
  void mnuVornIIPacketMonitorClick();
  void AboutClick();
  void lblWebLinkClick();
  void RunOpener(const std::function<void()>& opener);

  AppContext& context_;
  QtMessageReceiver receiver_{this};
  WindowOpeners openers_;
  std::map<unsigned, std::function<void(intptr_t, intptr_t)>> messageHandlers_;

  bool advanced_ = false;
  int dataSource_ = kNothingLoaded;
  QString currentFileName_;
  int portNumber_ = kDefaultComPort;
  int storedPortNumber_ = kDefaultComPort;
  int maxBdRate_ = kBaudRates.front();
  int currentBaudRate_ = kBaudRates.front();
  bool baudRaised_ = false;
  QString defaultFile_;
  RecentFiles recentFiles_;

  QHash<QString, QPushButton*> buttons_;
  QHash<QString, QAction*> actions_;
  QLabel* panels_[4] = {};
  QMenu* recentMenu_ = nullptr;
  QLabel* lblProgramName_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblBlueTooth_ = nullptr;
  ClickLabel* lblWebLink_ = nullptr;
  QHash<QString, QWidget*> backgrounds_;
};
