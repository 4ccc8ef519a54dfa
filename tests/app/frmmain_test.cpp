// The main window's controls: which are shown and enabled for each build
// and data state, the status bar, the edit dispatch and posted messages.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <thread>

#include "app_fixture.h"
#include "messages.h"
#include "radioinfo.h"

namespace {

// Records the addresses the desktop would have opened.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  explicit UrlRecorder(const QString& scheme) : scheme_(scheme) {
    QDesktopServices::setUrlHandler(scheme_, this, "Open");
  }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(scheme_); }
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }

 private:
  QString scheme_;
};

const char* const kDataItems[] = {"btnScan",    "mnuEditScan",       "btnCTCSS",
                                  "mnuEditCTCSS", "btnSquelch",      "mnuEditSquelch",
                                  "btnOptions", "mnuEditOptions",    "btnWriteRadio",
                                  "mnuFileWriteRadio", "mnuEditAlign"};

TEST_F(AppFixture, WindowIsFixedAndTitledAtShow) {
  Start();
  EXPECT_EQ(Window().size(), QSize(800, 594));
  EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
  EXPECT_FALSE(Window().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(Window().windowFlags() & Qt::WindowMinimizeButtonHint);
  // "[*]" is where the desktop shows the modified mark.
  EXPECT_EQ(Window().windowTitle(), "Vorn Kestal Programmer  QP0417.2.00 [*]");
  EXPECT_FALSE(Window().isWindowModified());
  EXPECT_EQ(Window().findChild<QLabel*>("lblProgramName")->text(), "Kestal Programmer");
  EXPECT_EQ(Window().findChild<QLabel*>("lblVersion")->text(), "v2.00 ");
  EXPECT_EQ(Window().findChild<QLabel*>("lblWebLink")->text(), " www.vornradio.example ");
}

TEST_F(AppFixture, MenuBarHoldsEveryCommandInOrder) {
  Start();
  const QStringList expected = {
      "mnuFile:mnuFileWriteRadio,mnuFileWriteChanges,mnuFileWriteFile,mnuFileBatchWrite,-,"
      "mnuReadRadio,mnuReadFile,mnuRecentlyUsedFiles,-,mnuExportText,mnuImportText,-,"
      "mnuFileRestoreRadio,-,mnuPrint,mnuFileExit",
      "mnuEdit:mnuEditScan,mnuEditChannelData,mnuEditSelcall,mnuEditCTCSS,mnuEditSquelch,"
      "mnuEditOptions,mnuEditAlign,mnuEditEngineering,mnuCBSetup,-,mnuEditEeprom,"
      "mnuEditDevelopment,mnuEditRemote,mnuFloatingDisplay",
      "mnuComms:mnCommPort,mnAutoDetect,mnuCheckLead,mnuSetDefaultFilename,mnuRemoveDefaultFilename,-,"
      "mnuByteMonitor,mnuVornIPacketMonitor,mnuVornIIPacketMonitor,-,mnuSetupEngArrayRdWr",
      "mnuHelp:mnuFirmware,About"};
  QStringList actual;
  for (QAction* top : Window().menuBar()->actions()) {
    QStringList items;
    for (QAction* a : top->menu()->actions()) items << (a->isSeparator() ? "-" : a->objectName());
    actual << top->objectName() + ":" + items.join(",");
  }
  EXPECT_EQ(actual, expected);
  const QStringList captions = {
      "File:Write To Radio|Write Changes To Radio|Write To File|Batch Write...|Read From Radio|"
      "Read From File|Recently used mem-files|Export As Text...|Import Text...|Restore Radio...|"
      "Print...|Exit",
      "Edit:Scan / Duplex|Channel Data|Selcall|CTCSS|Squelch|Options|Align|Advanced|CB Setup|"
      "EEPROM|Development|Remote Control|Floating Display",
      "Setup:Comm Port ...|Auto Detect...|Check Lead...|Set Default Filename...|Remove Default Filename|"
      "Byte Monitor|Vorn I Packet Monitor|Vorn II Packet Monitor|Read/Write using arrays",
      "Help:Firmware Version|About..."};
  QStringList shownCaptions;
  for (QAction* top : Window().menuBar()->actions()) {
    QStringList items;
    for (QAction* a : top->menu()->actions())
      if (!a->isSeparator()) items << QString(a->text()).remove('&');
    shownCaptions << QString(top->text()).remove('&') + ":" + items.join("|");
  }
  EXPECT_EQ(shownCaptions, captions);
  for (const char* hidden : {"mnuRecentlyUsedFiles", "mnuCBSetup", "mnuEditRemote",
                             "mnuFloatingDisplay", "mnuEditEeprom", "mnuEditDevelopment",
                             "mnuByteMonitor", "mnuSetupEngArrayRdWr", "mnuEditEngineering"})
    EXPECT_FALSE(Action(hidden)->isVisible()) << hidden;
  EXPECT_TRUE(Action("mnuFloatingDisplay")->isCheckable());
  EXPECT_TRUE(Action("mnuSetupEngArrayRdWr")->isCheckable());
}

TEST_F(AppFixture, ButtonsAreFlatWithHandCursorAndHints) {
  Start();
  QPushButton* write = Button("btnWriteFile");
  EXPECT_EQ(write->text(), "Write file");
  EXPECT_EQ(write->toolTip(), "Writes current configuration to a file of your choice");
  EXPECT_TRUE(write->isFlat());
  EXPECT_EQ(write->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(Button("btnCTCSS")->text(), "CTCSS/DCS");
  EXPECT_EQ(Button("btnChannelData")->toolTip(), "Configure receive-only channels");
}

TEST_F(AppFixture, KestalButtonsBeforeAndAfterALoad) {
  Start();
  for (const char* item : kDataItems) {
    QPushButton* b = Button(item);
    EXPECT_FALSE(b ? b->isEnabled() : Action(item)->isEnabled()) << item;
  }
  EXPECT_TRUE(Button("btnAlign")->isEnabled());
  EXPECT_FALSE(Button("btnSelcall")->isEnabled());
  EXPECT_FALSE(Button("btnSelcall")->isHidden());  // disabled, not yet hidden

  WriteFile(Path("van.mem"), Image(0x5A02));
  chooser.answers = {Path("van.mem")};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Take().empty());

  for (const char* item : kDataItems) {
    QPushButton* b = Button(item);
    EXPECT_TRUE(b ? b->isEnabled() : Action(item)->isEnabled()) << item;
  }
  EXPECT_TRUE(Button("btnSelcall")->isHidden());
  EXPECT_FALSE(Action("mnuEditSelcall")->isVisible());
  EXPECT_FALSE(Button("btnChannelData")->isHidden());
  EXPECT_TRUE(Button("btnChannelData")->isEnabled());
  EXPECT_TRUE(Action("mnuEditChannelData")->isVisible());
}

TEST_F(AppFixture, MerloBuildShowsSelcallAfterALoad) {
  Start(BuildConfig::ForFamily("Merlo", false));
  WriteFile(Path("merlo.mem"), Image(0x5A01));
  chooser.answers = {Path("merlo.mem")};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_FALSE(Button("btnSelcall")->isHidden());
  EXPECT_TRUE(Button("btnSelcall")->isEnabled());
  EXPECT_EQ(!Button("btnChannelData")->isHidden(), TradioInfo::HasRxOnlyChannels(0x5A01));
}

struct FamilyCase {
  const char* family;
  bool engineering;
  const char* picture;
  bool bluetooth;
};

class FamilyLook : public AppFixture, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyLook, PictureAndEngineeringControls) {
  const FamilyCase& c = GetParam();
  const BuildConfig build = BuildConfig::ForFamily(c.family, c.engineering);
  Start(build);
  QStringList shown;
  for (const char* name : {"imgBackgroundVanilla", "imgBackgroundKestal", "imgBackgroundMerloFamily",
                           "imgBackgroundDravo", "imgBackgroundPinto", "imgBackgroundTamso"}) {
    QWidget* picture = Window().findChild<QWidget*>(name);
    ASSERT_NE(picture, nullptr) << name;
    if (!picture->isHidden()) shown << name;
  }
  EXPECT_EQ(shown, QStringList{c.picture});
  EXPECT_EQ(!Window().findChild<QLabel*>("lblBlueTooth")->isHidden(), c.bluetooth);

  for (const char* name : {"btnEEPROM", "btnDevelopment", "btnAdvanced"})
    EXPECT_EQ(!Button(name)->isHidden(), c.engineering) << name;
  for (const char* name : {"mnuEditEeprom", "mnuByteMonitor", "mnuVornIPacketMonitor",
                           "mnuVornIIPacketMonitor", "mnuEditDevelopment", "mnuSetupEngArrayRdWr"})
    EXPECT_EQ(Action(name)->isVisible(), c.engineering) << name;
  EXPECT_EQ(Window().ArraysChecked(),
            c.engineering && TradioInfo::HasArrayTransfer(build.productId));
  EXPECT_EQ(Action("mnuFloatingDisplay")->isVisible(), c.engineering);
  // However many buttons the build shows, none is squeezed below its text.
  for (QPushButton* button : Window().findChildren<QPushButton*>()) {
    if (!button->isVisible()) continue;
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Builds, FamilyLook,
    ::testing::Values(FamilyCase{"Kestal", false, "imgBackgroundKestal", false},
                      FamilyCase{"Kestal", true, "imgBackgroundKestal", false},
                      FamilyCase{"Merlo", false, "imgBackgroundMerloFamily", false},
                      FamilyCase{"Dravo", true, "imgBackgroundDravo", false},
                      FamilyCase{"Sorel", false, "imgBackgroundVanilla", false},
                      FamilyCase{"KestalBT", false, "imgBackgroundKestal", true},
                      FamilyCase{"All", false, "imgBackgroundVanilla", false}));

TEST_F(AppFixture, AllModelsBuildLeavesTheButtonsAlone) {
  Start(BuildConfig::ForFamily("All", false));
  // Nothing is disabled by the data state in the all-models build.
  EXPECT_TRUE(Button("btnScan")->isEnabled());
  EXPECT_TRUE(Action("mnuEditAlign")->isEnabled());
  EXPECT_EQ(Window().DefaultFile(), "");
}

TEST_F(AppFixture, StatusBarShowsLongFileNamesByTheirEnd) {
  Start();
  const QString folder = Path("");
  for (int length : {85, 86, 120}) {
    const QString path = folder + QString(length - folder.size() - 4, 'n') + ".mem";
    ASSERT_EQ(path.size(), length);
    WriteFile(path, Image(0x5A02));
    chooser.answers = {path};
    Action("mnuReadFile")->trigger();
    const QString expected = length <= 85 ? "File: " + path : "File: ..." + path.right(85);
    EXPECT_EQ(Window().StatusText(3), expected) << length;
  }
}

TEST_F(AppFixture, StatusBarPanelsHaveTheirWidthsAndFitTheirTexts) {
  Store("ComPort", 256);
  Start();
  const int widths[] = {50, 60, 120};
  for (int i = 0; i < 3; ++i) {
    auto* panel = Window().findChild<QLabel*>(QString("StatusPanel%1").arg(i));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), widths[i]) << i;
  }
  EXPECT_GT(Window().findChild<QLabel*>("StatusPanel3")->width(), 400);
  for (const auto& [panel, text] : {std::pair{0, "COM256"}, std::pair{1, "Not open"}}) {
    auto* label = Window().findChild<QLabel*>(QString("StatusPanel%1").arg(panel));
    EXPECT_EQ(label->text(), text);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->contentsRect().width())
        << text << " font " << label->font().toString().toStdString();
  }
}

TEST_F(AppFixture, PostedMessagesReachTheirHandlerOnTheWindowThread) {
  Start();
  std::vector<std::pair<intptr_t, intptr_t>> got;
  std::thread::id handlerThread;
  Window().SetMessageHandler(WM_TRANSFER, [&](intptr_t w, intptr_t l) {
    got.emplace_back(w, l);
    handlerThread = std::this_thread::get_id();
  });
  std::thread poster([&] {
    Window().Receiver().PostMessage(WM_TRANSFER, 0, 16);
    Window().Receiver().PostMessage(WM_TRANSFER, 1, 2);
    Window().Receiver().PostMessage(WM_VORNII_RX, 5, 5);  // nobody listens: dropped
  });
  poster.join();
  QTRY_COMPARE(got.size(), size_t{2});
  EXPECT_EQ(got[0], (std::pair<intptr_t, intptr_t>{0, 16}));
  EXPECT_EQ(got[1], (std::pair<intptr_t, intptr_t>{1, 2}));
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

TEST_F(AppFixture, EditCommandsOpenTheirWindowWhenItExists) {
  Start();
  WriteFile(Path("van.mem"), Image(0x5A02));
  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();

  QTest::mouseClick(Button("btnScan"), Qt::LeftButton);  // no window yet: nothing happens
  EXPECT_TRUE(boxes.Take().empty());
  int scans = 0, squelches = 0;
  Window().Openers().scan = [&] { ++scans; };
  Window().Openers().squelch = [&] { ++squelches; };
  QTest::mouseClick(Button("btnScan"), Qt::LeftButton);
  Action("mnuEditScan")->trigger();
  Action("mnuEditSquelch")->trigger();
  EXPECT_EQ(scans, 2);
  EXPECT_EQ(squelches, 1);
}

TEST_F(AppFixture, AlignWithoutAPortAsksToGoOnOffline) {
  Start();
  std::vector<bool> opened;
  Window().Openers().align = [&](bool offline) { opened.push_back(offline); };

  boxes.Answer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Cancel});
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);
  std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[0].text.startsWith("Unable to open COM1."));
  EXPECT_EQ(seen[1].text, "Radio Response Timeout");
  EXPECT_EQ(seen[1].caption, "Reading Product ID");
  EXPECT_EQ(seen[2].text, "Unable to read radio calibration.\nContinue in offline mode?");
  EXPECT_EQ(seen[2].caption, "Comms Error");
  EXPECT_EQ(seen[2].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_TRUE(opened.empty());  // Cancel ends the command

  boxes.Answer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok});
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);
  EXPECT_EQ(boxes.Take().size(), 3u);
  EXPECT_EQ(opened, std::vector<bool>{true});
}

TEST_F(AppFixture, ARaiseRequestBringsAMinimisedWindowBack) {
  Start();
  Window().showMinimized();
  QTRY_VERIFY(Window().isMinimized());
  Window().BringToFront();
  QTRY_VERIFY(!Window().isMinimized());
  EXPECT_TRUE(Window().isVisible());
}

TEST_F(AppFixture, WebLinkOpensTheMakersSite) {
  Start();
  UrlRecorder http("http");
  QTest::mouseClick(Window().findChild<QLabel*>("lblWebLink"), Qt::LeftButton);
  ASSERT_EQ(http.urls.size(), 1);
  EXPECT_EQ(http.urls[0].toString(), "http://www.vornradio.example");
}

TEST_F(AppFixture, PromptsUseTheCaptionIconAndButtonsAsked) {
  Start();
  boxes.Answer({QMessageBox::Cancel, QMessageBox::Ok});
  EXPECT_FALSE(Window().AskOkCancel(QuestionId::kOverwriteFile, "Go on?", "Question caption",
                                    PromptIcon::Warning));
  EXPECT_TRUE(Window().AskOkCancel(QuestionId::kOverwriteFile, "Go on?", "Question caption",
                                   PromptIcon::Question));
  Window().ShowMessage("Done.", "Info caption", PromptIcon::Information);
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].caption, "Question caption");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[1].icon, QMessageBox::Question);
  EXPECT_EQ(seen[2].buttons, QMessageBox::Ok);
  EXPECT_EQ(seen[2].icon, QMessageBox::Information);
}

struct PortDialogCase {
  const char* name;
  bool ok;             // how the port dialog closed
  int chosenPort, chosenRate;
  int port, rate;      // what the window holds afterwards
};

class CommPortCommand : public AppFixture, public ::testing::WithParamInterface<PortDialogCase> {};

TEST_P(CommPortCommand, TakesThePortAndRateOnlyOnOk) {
  const PortDialogCase& c = GetParam();
  Store("ComPort", 3);
  Store("MaxBdRate", 19200);
  Start();
  std::vector<std::pair<int, int>> handed;
  Window().Openers().commPort = [&](int& port, int& rate) {
    handed.emplace_back(port, rate);
    port = c.chosenPort;
    rate = c.chosenRate;
    return c.ok;
  };
  Action("mnCommPort")->trigger();
  EXPECT_EQ(handed, (std::vector<std::pair<int, int>>{{3, 19200}}));
  EXPECT_EQ(Window().PortNumber(), c.port);
  EXPECT_EQ(Window().MaxBdRate(), c.rate);
  EXPECT_EQ(Window().StatusText(0), QString("COM%1").arg(c.port));
  EXPECT_EQ(Window().StatusText(1), "Not open");
  EXPECT_TRUE(boxes.Take().empty());
  CloseWindow();
  EXPECT_EQ(Stored("ComPort").toInt(), c.port);
  EXPECT_EQ(Stored("MaxBdRate").toInt(), c.rate);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CommPortCommand,
    ::testing::Values(PortDialogCase{"NewPortAndRate", true, 7, 38400, 7, 38400},
                      PortDialogCase{"SamePortNewRate", true, 3, 57600, 3, 57600},
                      PortDialogCase{"Cancelled", false, 7, 38400, 3, 19200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppFixture, AutoDetectTakesAFoundPortOnly) {
  Start();
  int found = 0;
  Window().Openers().autoDetect = [&] { return found; };
  Action("mnAutoDetect")->trigger();
  EXPECT_EQ(Window().PortNumber(), 1);
  found = 12;
  Action("mnAutoDetect")->trigger();
  EXPECT_EQ(Window().PortNumber(), 12);
  EXPECT_EQ(Window().StatusText(0), "COM12");
}

TEST_F(AppFixture, AboutFromTheHelpMenuNamesTheModelsSupported) {
  Start();
  QString models, title;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    models = box->findChild<QPlainTextEdit*>("mmoModelsInfo")->toPlainText();
    QTest::mouseClick(box->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
  });
  Action("About")->trigger();
  EXPECT_EQ(title, "About...");
  EXPECT_EQ(models, "This programmer supports Kestal only.");
}

TEST_F(AppFixture, ExitClosesTheWindowAndSavesTheSettings) {
  Start();
  ASSERT_FALSE(Stored("DefaultFile").isValid());
  Action("mnuFileExit")->trigger();
  EXPECT_FALSE(Window().isVisible());
  EXPECT_EQ(Stored("ComPort").toInt(), 1);
  EXPECT_EQ(Stored("DefaultFile").toString(), "defkestal.mem");
}

}  // namespace

#include "frmmain_test.moc"
