// The alignment window driven like a technician would, against the
// simulated radio on a pseudo-terminal (online) or with the port open but
// the window offline.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "bench_rig.h"
#include "windowcontext.h"
#include "formalign.h"
#include "keyboard_check.h"
#include "modal_answerer.h"
#include "radio.h"
#include "updown.h"
#include "wait_for.h"

namespace {

class AlignWindow {
 public:
  explicit AlignWindow(const char* family = "Kestal", bool engineering = false)
      : rig(family, engineering),
        context{rig.build, *rig.shared, false, [] { return true; }},
        window(std::make_unique<TformAlign>(context)) {}
  ~AlignWindow() { window->hide(); }

  void Show(bool offline) {
    window->SetOffline(offline);
    window->show();
    QApplication::processEvents();
    rig.TakeCommands();
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString Text(const char* name) { return Find<QLineEdit>(name)->text(); }
  QString Label(const char* name) { return Find<QLabel>(name)->text(); }
  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  // An up-down's arrow; a trim's number field steps by its arrow keys.
  void Arrow(const char* upDown, bool up) {
    if (auto* field = window->findChild<QAbstractSpinBox*>(upDown)) {
      field->setFocus();
      QTest::keyClick(field, up ? Qt::Key_Up : Qt::Key_Down);
      return;
    }
    auto* arrow = Find<UpDown>(upDown)->findChild<QToolButton*>(up ? "up" : "down");
    QTest::mouseClick(arrow, Qt::LeftButton);
  }
  void Type(const char* edit, const QString& text) {
    auto* box = Find<QLineEdit>(edit);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  QString Memo() { return Find<QPlainTextEdit>("MemoAlignHelp")->toPlainText(); }
  bool TabShown(const char* page) {
    auto* tabs = Find<QTabWidget>("PageControl1");
    return tabs->isTabVisible(tabs->indexOf(Find<QWidget>(page)));
  }
  void ShowPage(const char* page) {
    auto* tabs = Find<QTabWidget>("PageControl1");
    tabs->setCurrentWidget(Find<QWidget>(page));
  }

  BenchRig rig;
  WindowContext context;
  std::unique_ptr<TformAlign> window;
  ModalAnswerer boxes;
};

// ---- Showing ---------------------------------------------------------------------

TEST(AlignWindowShowing, KeepsOneSizeOfflineOrNot) {
  AlignWindow online;
  online.Show(false);
  AlignWindow offline;
  offline.Show(true);
  EXPECT_TRUE(offline.Find<QLabel>("lblOffline")->isVisible());
  EXPECT_EQ(offline.window->size(), online.window->size());
}

TEST(AlignWindowShowing, StartsWithEmptyReadings) {
  AlignWindow w;
  w.Show(false);
  for (const char* edit : {"editFreqError", "editRSSI", "editNoisevolts"})
    w.Find<QLineEdit>(edit)->setText("123");
  w.window->hide();
  w.Show(false);
  for (const char* edit : {"editFreqError", "editRSSI", "editNoisevolts"})
    EXPECT_EQ(w.Text(edit), "") << edit;
}

// ---- Channel panel ---------------------------------------------------------------

TEST(AlignWindowChannel, OfflineStepsWrapWithinTheCbChannelsAndSendNothing) {
  AlignWindow w;
  w.Show(true);
  EXPECT_TRUE(w.Find<QLabel>("lblOffline")->isVisible());
  EXPECT_EQ(w.Text("editChannel"), "01");
  EXPECT_EQ(w.Label("lblBank"), "CB");
  EXPECT_EQ(w.Label("lblRxFreq"), "476.4250");
  EXPECT_EQ(w.Label("lblChannelAlpha"), "CB-01");
  w.Click("BitBtnDown");
  EXPECT_EQ(w.Text("editChannel"), "80");
  EXPECT_EQ(w.Label("lblRxFreq"), "477.4125");
  w.Click("BitBtnUp");
  EXPECT_EQ(w.Text("editChannel"), "01");
  w.Click("btnSquelch");
  EXPECT_TRUE(w.Find<QLabel>("lblSQL")->isVisible());
  EXPECT_TRUE(w.rig.TakeCommands().empty());
}

TEST(AlignWindowChannel, HoldingAnArrowStepsAtOnceThenAfterHalfASecondThenFaster) {
  AlignWindow w;
  w.Show(true);
  auto* up = w.Find<QPushButton>("BitBtnUp");
  auto* timer = w.Find<QTimer>("KeyTimer");
  QTest::mousePress(up, Qt::LeftButton);
  EXPECT_EQ(w.Text("editChannel"), "02");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 500);
  QTest::qWait(300);
  EXPECT_EQ(w.Text("editChannel"), "02");
  ASSERT_TRUE(WaitFor([&] { return w.Text("editChannel").toInt() >= 4; }));
  EXPECT_EQ(timer->interval(), 100);
  QTest::mouseRelease(up, Qt::LeftButton);
  EXPECT_FALSE(timer->isActive());
  const QString held = w.Text("editChannel");
  QTest::qWait(250);
  EXPECT_EQ(w.Text("editChannel"), held);
}

TEST(AlignWindowChannel, OnlineShowsTheRadiosChannelAndTunesTheAlignmentFrequencies) {
  AlignWindow w;
  w.rig.sim->SetChannel(41);
  w.Show(false);
  EXPECT_FALSE(w.Find<QLabel>("lblOffline")->isVisible());
  EXPECT_EQ(w.Text("editChannel"), "41");
  EXPECT_EQ(w.Label("lblRxFreq"), "476.4375");
  w.ShowPage("TabSheetReceiver");
  w.Click("rgAlignmentFreq_0");
  EXPECT_EQ(w.rig.sim->State().pllSteps, 36000);
  EXPECT_FALSE(w.Find<QLineEdit>("editChannel")->property("onChannel").toBool());
  QTest::mouseClick(w.Find<QLineEdit>("editChannel"), Qt::LeftButton);
  EXPECT_EQ(w.rig.sim->State().pllSteps, 0);  // back on the channel
  EXPECT_TRUE(w.Find<QLineEdit>("editChannel")->property("onChannel").toBool());
  w.Click("BitBtnUp");
  EXPECT_EQ(w.rig.sim->State().channel, 42);
  EXPECT_EQ(w.Text("editChannel"), "42");
}

TEST(AlignWindowChannel, PttKeysAndReleasesTheRadio) {
  AlignWindow w;
  w.Show(false);
  w.Click("btnPTT");
  EXPECT_EQ(w.Label("panelTxRx"), "TRANSMIT");
  EXPECT_TRUE(w.rig.sim->State().ptt);
  w.Click("btnPTT");
  EXPECT_EQ(w.Label("panelTxRx"), "RECEIVE");
  EXPECT_FALSE(w.rig.sim->State().ptt);
}

// PTT is a held state: a screen reader hears it checked while the radio
// transmits, and its toggle action keys and releases the radio as a click.
TEST(AlignWindowChannel, PttStateIsWhatAScreenReaderHears) {
  using keyboard_check::SpokenCheckOf;
  AlignWindow w;
  w.Show(false);
  auto* ptt = w.Find<QPushButton>("btnPTT");
  EXPECT_TRUE(SpokenCheckOf(ptt).checkable);
  EXPECT_FALSE(SpokenCheckOf(ptt).checked);
  const auto payloads = [&w] {
    std::vector<std::vector<uint8_t>> sent;
    for (const SimRequest& r : w.rig.sim->Requests()) sent.push_back(r.payload);
    w.rig.sim->ClearRequests();
    return sent;
  };
  w.Click("btnPTT");
  const auto clicked = payloads();
  ASSERT_FALSE(clicked.empty());
  EXPECT_TRUE(SpokenCheckOf(ptt).checked);
  w.Click("btnPTT");
  EXPECT_FALSE(SpokenCheckOf(ptt).checked);
  payloads();

  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(ptt));
  EXPECT_EQ(payloads(), clicked);
  EXPECT_TRUE(w.rig.sim->State().ptt);
  EXPECT_TRUE(SpokenCheckOf(ptt).checked);
  EXPECT_EQ(w.Label("panelTxRx"), "TRANSMIT");
  // Closing the window releases the radio and the button with it.
  w.Click("btnClose");
  EXPECT_FALSE(w.rig.sim->State().ptt);
  EXPECT_FALSE(SpokenCheckOf(ptt).checked);
}

// ---- Trims -------------------------------------------------------------------------

struct EnterCase {
  const char* typed;
  const char* shown;
  int written;
};

class AlignWindowEnter : public ::testing::TestWithParam<EnterCase> {};

TEST_P(AlignWindowEnter, WritesTheTrimToRadioAndImage) {
  const EnterCase& c = GetParam();
  AlignWindow w;
  w.Show(false);
  w.ShowPage("TabSheetSMeter");
  w.Type("editS1", c.typed);
  EXPECT_EQ(w.Text("editS1"), c.shown);
  EXPECT_EQ(w.rig.RadioByte("S1 Cal"), c.written);
  EXPECT_EQ(w.rig.ImageByte("S1 Cal"), c.written);
  EXPECT_EQ(w.Memo(), "Write... \nOK");
}

INSTANTIATE_TEST_SUITE_P(Cases, AlignWindowEnter,
                         ::testing::Values(EnterCase{"300", "255", 255}, EnterCase{"", "0", 0},
                                           EnterCase{"4a2", "42", 42}));

TEST(AlignWindowTrims, OfflineChangesNeitherRadioNorImage) {
  AlignWindow w;
  w.Show(true);
  const std::vector<uint8_t> image = w.rig.ImageBytes();
  const std::vector<uint8_t> radio = w.rig.sim->Memory();
  w.Arrow("udPLL_Freq", true);
  w.Type("editPLL_Freq", "9");
  w.ShowPage("TabSheetTransmit");
  w.Arrow("udMod_dB", true);
  w.Type("editRfPowerHi", "7");
  w.ShowPage("TabSheetReceiver");
  w.Arrow("udTuneFreq2T3", false);
  EXPECT_EQ(w.rig.ImageBytes(), image);
  EXPECT_EQ(w.rig.sim->Memory(), radio);
  EXPECT_FALSE(w.Memo().contains("Write"));
}

TEST(AlignWindowTrims, ArrowClickWritesTheBoundParameter) {
  AlignWindow w;
  w.rig.Put("T3-F2", 100);
  w.Show(false);
  w.ShowPage("TabSheetReceiver");
  EXPECT_EQ(w.Find<QWidget>("udTuneFreq2T3")->property("Tag").toInt(), w.rig.Address("T3-F2"));
  w.Arrow("udTuneFreq2T3", true);
  EXPECT_EQ(w.Text("txtTuneFreq2T3"), "101");
  EXPECT_EQ(w.rig.RadioByte("T3-F2"), 101);
  EXPECT_EQ(w.rig.ImageByte("T3-F2"), 101);
}

TEST(AlignWindowTrims, FailedWriteSaysSoAndLeavesTheImage) {
  AlignWindow w;
  w.Show(false);
  SimFaults faults;
  faults.nackOpcode = OP_WRITE_BYTE;
  w.rig.sim->SetFaults(faults);
  const std::vector<uint8_t> image = w.rig.ImageBytes();
  w.Arrow("udPLL_Freq", true);
  EXPECT_EQ(w.Memo(), "Write... \nfail");
  EXPECT_EQ(w.rig.ImageBytes(), image);
}

struct DecibelCase {
  const char* typed;
  const char* shown;
  int step;
};

class AlignWindowDecibels : public ::testing::TestWithParam<DecibelCase> {};

TEST_P(AlignWindowDecibels, TypedModulationIsStoredAsItsStep) {
  const DecibelCase& c = GetParam();
  AlignWindow w;
  w.rig.Put("Mod", 30);
  w.rig.Put("Bal", 10);
  w.Show(false);
  w.ShowPage("TabSheetTransmit");
  EXPECT_EQ(w.Text("editMod_dB"), "-6.0");
  w.Type("editMod_dB", c.typed);
  EXPECT_EQ(w.Text("editMod_dB"), c.shown);
  EXPECT_EQ(w.rig.RadioByte("Mod"), c.step);
  EXPECT_EQ(w.rig.ImageByte("Mod"), c.step);
  EXPECT_EQ(w.rig.RadioByte("Bal"), 10);  // typing moves Mod alone
}

INSTANTIATE_TEST_SUITE_P(Cases, AlignWindowDecibels,
                         ::testing::Values(DecibelCase{"7", "6.0", 0},
                                           DecibelCase{"0.25", "0.0", 12},
                                           DecibelCase{"0.3", "0.5", 11},
                                           DecibelCase{"-0.25", "-0.5", 13}));

TEST(AlignWindowDecibelsText, NoNumberIsAnsweredWithAMessage) {
  AlignWindow w;
  w.Show(false);
  w.ShowPage("TabSheetTransmit");
  const std::vector<uint8_t> image = w.rig.ImageBytes();
  w.Type("editMod_dB", "-");
  w.Click("chkTrackMod");  // balance editable
  w.Type("editBal_dB", "1.2.");
  const std::vector<SeenBox> seen = w.boxes.Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Invalid modulation value");
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[1].text, "Invalid balance value");
  EXPECT_EQ(w.rig.ImageBytes(), image);
}

TEST(AlignWindowDecibelsText, BalanceTracksTheModulationArrows) {
  AlignWindow w;
  w.rig.Put("Mod", 12);
  w.rig.Put("Bal", 10);
  w.Show(false);
  w.ShowPage("TabSheetTransmit");
  EXPECT_TRUE(w.Find<QCheckBox>("chkTrackMod")->isChecked());
  EXPECT_FALSE(w.Find<QLineEdit>("editBal_dB")->isEnabled());
  w.Arrow("udMod_dB", true);
  EXPECT_EQ(w.Text("editMod_dB"), "0.5");
  EXPECT_EQ(w.Text("editBal_dB"), "1.5");  // step 9
  EXPECT_EQ(w.rig.RadioByte("Mod"), 11);
  EXPECT_EQ(w.rig.RadioByte("Bal"), 9);
  // The Up key in the box moves the modulation alone.
  auto* mod = w.Find<QLineEdit>("editMod_dB");
  mod->setFocus();
  QTest::keyClick(mod, Qt::Key_Down);
  EXPECT_EQ(w.rig.RadioByte("Mod"), 12);
  EXPECT_EQ(w.rig.RadioByte("Bal"), 9);
}

TEST(AlignWindowDecibelsText, WithoutAModulationReferenceTheBalanceStays) {
  AlignWindow w;
  w.rig.Put("Mod", 0);
  w.rig.Put("Bal", 10);
  w.Show(false);
  w.ShowPage("TabSheetTransmit");
  w.Arrow("udMod_dB", false);
  EXPECT_EQ(w.rig.RadioByte("Mod"), 1);
  EXPECT_EQ(w.rig.RadioByte("Bal"), 10);
  EXPECT_EQ(w.Text("editBal_dB"), "1.0");
}

TEST(AlignWindowMicGain, ATypedGainAboveTheRangeReachesRadioAndImageAsThirty) {
  AlignWindow w("Kestal", true);
  w.Show(false);
  w.ShowPage("TabSheetTransmit");
  ASSERT_TRUE(w.Find<QGroupBox>("gbMicGains")->isVisible());
  w.Type("editMicGain1", "45");
  EXPECT_EQ(w.Text("editMicGain1"), "30");
  EXPECT_EQ(w.rig.ImageByte("Mic Gain"), 30);
  EXPECT_EQ(w.rig.RadioByte("Mic Gain"), 30);
}

TEST(AlignWindowMicGain, ArrowsStoreAndSendOfflineToo) {
  AlignWindow w("Kestal", true);
  w.rig.Put("Mic Gain Rear", 0xF5);  // -11
  w.Show(true);
  w.ShowPage("TabSheetTransmit");
  EXPECT_EQ(w.Text("editMicGain2"), "-11");
  w.Arrow("udMicGain2", false);
  w.Arrow("udMicGain2", false);  // stays at -12
  EXPECT_EQ(w.Text("editMicGain2"), "-12");
  EXPECT_EQ(w.rig.ImageByte("Mic Gain Rear"), 0xF4);
  EXPECT_EQ(w.rig.RadioByte("Mic Gain Rear"), 0xF4);
  EXPECT_EQ(w.Memo(), "OK\nOK");
}

// ---- Pages by feature ------------------------------------------------------------------

struct PageCase {
  const char* family;
  bool engineering;
  bool receiver, squelch, notch, lowPower, micGains, tempCo, micSelect;
};

// Not hidden by the window (a page that is not current hides its
// controls too); a number field's text field is shown with its field.
bool Shown(AlignWindow& w, const char* name) {
  QWidget* control = w.Find<QWidget>(name);
  if (qobject_cast<QAbstractSpinBox*>(control->parentWidget())) control = control->parentWidget();
  return !control->isHidden();
}

class AlignWindowPages : public ::testing::TestWithParam<PageCase> {};

TEST_P(AlignWindowPages, FollowTheBuildsFeatures) {
  const PageCase& c = GetParam();
  AlignWindow w(c.family, c.engineering);
  w.Show(true);
  EXPECT_EQ(w.TabShown("TabSheetReceiver"), c.receiver) << c.family;
  EXPECT_EQ(Shown(w, "rgAlignmentFreq"), c.receiver);
  EXPECT_EQ(w.TabShown("TabSheetSquelch"), c.squelch) << c.family;
  EXPECT_FALSE(w.TabShown("TabSheetBattery"));
  EXPECT_EQ(Shown(w, "lblNotch"), c.notch) << c.family;
  EXPECT_EQ(Shown(w, "txtTuneFreq3T4"), c.notch);
  EXPECT_EQ(Shown(w, "grpSelectPowerOutput"), c.lowPower);
  EXPECT_EQ(Shown(w, "editRfPowerLo"), c.lowPower);
  EXPECT_EQ(Shown(w, "gbMicGains"), c.micGains);
  EXPECT_EQ(Shown(w, "editTempCo"), c.tempCo);
  EXPECT_EQ(Shown(w, "rgPTTMic"), c.micSelect);
}

INSTANTIATE_TEST_SUITE_P(
    Builds, AlignWindowPages,
    ::testing::Values(PageCase{"Kestal", false, true, true, false, false, false, false, false},
                      PageCase{"Kestal", true, true, true, false, false, true, true, false},
                      PageCase{"Tamso", false, false, true, false, false, false, false, false},
                      PageCase{"Dravo", false, true, false, false, false, false, false, false},
                      PageCase{"Pinto", true, true, true, true, true, true, false, true}));

// ---- Readings, calibration and closing -----------------------------------------------

TEST(AlignWindowReadings, OfflineAdPollingShows128) {
  AlignWindow w;
  w.Show(true);
  w.Click("chk_rssipolling2");
  ASSERT_TRUE(WaitFor([&] { return w.Text("editRSSI") == "128"; }));
  EXPECT_EQ(w.Text("editNoisevolts"), "128");
  w.ShowPage("TabSheetSMeter");
  w.Click("btnSetS1");  // nothing offline
  EXPECT_TRUE(w.rig.TakeCommands().empty());
}

// A radio that stops answering, or a lead pulled out (the line hangs up).
class AlignWindowLostRadio : public ::testing::TestWithParam<bool> {};

TEST_P(AlignWindowLostRadio, IsReportedOnceWhilePollingGoesOn) {
  AlignWindow w;
  w.Show(false);
  w.Click("chk_rssipolling2");
  w.Click("chkRxFreqError");
  ASSERT_TRUE(WaitFor([&] { return w.Text("editNoisevolts") == "200"; }));
  EXPECT_EQ(w.Text("editRSSI"), "24");
  SimFaults faults;
  (GetParam() ? faults.hangUpAfter : faults.silentAfter) = 0;
  w.rig.sim->SetFaults(faults);
  ASSERT_TRUE(WaitFor([&] { return w.Text("editNoisevolts") == "-"; }));
  ASSERT_TRUE(WaitFor([&] { return w.Text("editFreqError") == "----"; }));
  EXPECT_EQ(w.Text("editRSSI"), "-");
  QTest::qWait(1500);  // several more ticks of both timers
  EXPECT_TRUE(w.Find<QTimer>("TimerRSSI")->isActive());
  EXPECT_TRUE(w.Find<QTimer>("TimerFreqError")->isActive());
  EXPECT_EQ(w.Memo().count("A/D polling... fail"), 1);
  EXPECT_EQ(w.Memo().count("Freq Err Polling... fail"), 1);
  EXPECT_TRUE(w.boxes.Take().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, AlignWindowLostRadio, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "HungUp" : "Silent"; });

TEST(AlignWindowReadings, FrequencyErrorPollingShowsTheErrorAndStopsOnPageChange) {
  AlignWindow w;
  w.rig.Put("Rx ADC Offset", 11);  // 400 Hz, an eighth with AFC on
  w.Show(false);
  w.Click("chkRxFreqError");
  EXPECT_TRUE(w.Find<QLineEdit>("editFreqError")->isEnabled());
  ASSERT_TRUE(WaitFor([&] { return w.Text("editFreqError") == "50"; }));
  w.Click("chkAfcDisable");
  EXPECT_FALSE(w.rig.sim->State().afc);
  ASSERT_TRUE(WaitFor([&] { return w.Text("editFreqError") == "400"; }));
  w.ShowPage("TabSheetTransmit");
  EXPECT_FALSE(w.Find<QTimer>("TimerFreqError")->isActive());
  EXPECT_FALSE(w.Find<QCheckBox>("chkRxFreqError")->isChecked());
}

TEST(AlignWindowReadings, AutoAdjustConvergesWithoutAPollInBetween) {
  AlignWindow w;
  w.rig.Put("Rx ADC Offset", 10);
  w.rig.sim->SetSignal(true);
  w.Show(false);
  w.Click("chk_rssipolling2");
  ASSERT_TRUE(WaitFor([&] { return w.Text("editRSSI") == "156"; }));
  w.rig.TakeCommands();
  w.Click("btnAutoRxOffset");
  const std::vector<int> commands = w.rig.TakeCommands();
  const auto first = std::find(commands.begin(), commands.end(), OP_GET_STATUS);
  const auto last = std::find(commands.rbegin(), commands.rend(), 0x100 + ENG_AFC);
  ASSERT_NE(first, commands.end());
  ASSERT_NE(last, commands.rend());
  const long polls = std::count(first, last.base(), 0x100 + ENG_READ_ADC);
  EXPECT_EQ(polls, 0);
  EXPECT_EQ(std::count(first, last.base(), 0x100 + ENG_FREQUENCY_ERROR), 8);
  EXPECT_EQ(w.Text("editFreqError"), "350");
  EXPECT_EQ(w.Text("editRxOffset"), "3");
  EXPECT_EQ(w.rig.RadioByte("Rx ADC Offset"), 3);
  EXPECT_EQ(w.rig.ImageByte("Rx ADC Offset"), 3);
  EXPECT_FALSE(w.Find<QCheckBox>("chkAfcDisable")->isChecked());
  EXPECT_TRUE(w.rig.sim->State().afc);
  EXPECT_TRUE(w.boxes.Take().empty());
}

TEST(AlignWindowReadings, AutoAdjustWithoutASignalSaysSo) {
  AlignWindow w;
  w.Show(false);
  w.Click("btnAutoRxOffset");
  const std::vector<SeenBox> seen = w.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "No received signal.\nCheck signal is on and BUSY displayed.");
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(w.rig.TakeCommands(), (std::vector<int>{OP_GET_STATUS}));
}

TEST(AlignWindowReadings, SMeterCalibrationSetsTheManualValueToo) {
  AlignWindow w;
  w.rig.sim->SetSignal(true);
  w.Show(false);
  w.ShowPage("TabSheetSMeter");
  w.Click("btnSetS10");
  EXPECT_EQ(w.Text("editS10"), "156");
  EXPECT_EQ(w.rig.ImageByte("S10 Cal"), 156);
  EXPECT_TRUE(w.Find<QPushButton>("btnSetS10")->isEnabled());
  w.rig.Silence();
  w.Click("btnSetS1");
  const std::vector<SeenBox> seen = w.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "S-Meter calibration not complete");
}

TEST(AlignWindowClose, StopsEveryTimerBeforeTheClosingCommands) {
  AlignWindow w;
  w.Show(false);
  w.Click("chk_rssipolling2");
  w.Click("chkRxFreqError");
  w.Click("btnPTT");
  w.ShowPage("TabSheetTransmit");
  w.Click("rgTestTone_0");
  EXPECT_EQ(w.rig.sim->State().txTone, kToneOneKilohertz);
  ASSERT_TRUE(WaitFor([&] { return w.Text("editRSSI") == "24"; }));
  w.Click("btnClose");
  EXPECT_FALSE(w.window->isVisible());
  for (const char* timer : {"TimerRSSI", "KeyTimer", "TimerFreqError", "ADCTimer"})
    EXPECT_FALSE(w.Find<QTimer>(timer)->isActive()) << timer;
  const std::vector<int> commands = w.rig.TakeCommands();
  const auto closing = std::find(commands.begin(), commands.end(), OP_SET_RF_POWER);
  ASSERT_NE(closing, commands.end());
  EXPECT_EQ(std::vector<int>(closing, commands.end()),
            (std::vector<int>{OP_SET_RF_POWER, OP_SET_PTT, 0x100 + ENG_TX_TONE}));
  EXPECT_FALSE(w.rig.sim->State().ptt);
  EXPECT_EQ(w.rig.sim->State().txTone, kToneOff);
  EXPECT_FALSE(w.Find<QCheckBox>("chk_rssipolling2")->isChecked());
  // The next showing starts afresh.
  w.Show(true);
  EXPECT_EQ(w.Label("panelTxRx"), "RECEIVE");
  EXPECT_TRUE(w.Find<QAbstractButton>("rgTestTone_2")->isChecked());
}

TEST(AlignWindowClose, EscapeClosesLikeTheCloseButton) {
  AlignWindow w("Tamso");
  w.Show(false);
  QTest::keyClick(w.window.get(), Qt::Key_Escape);
  EXPECT_FALSE(w.window->isVisible());
  const std::vector<int> commands = w.rig.TakeCommands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(), 0x100 + ENG_AFC);  // Tamso's high power
}

// ---- Help area ------------------------------------------------------------------------

TEST(AlignWindowHelp, GroupsShowTheirLines) {
  AlignWindow w("Pinto");
  w.Show(true);
  w.ShowPage("TabSheetTransmit");
  w.Find<QLineEdit>("editMod_dB")->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w.Memo().startsWith("To set deviation:\n- select 1kHz Test Tone"));
  w.Find<QLineEdit>("editRfPowerLo")->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w.Memo().startsWith("To set Low transmit power:"));
  w.ShowPage("TabSheetReceiver");
  w.Find<QLineEdit>("txtTuneFreq1T1")->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(w.Memo().endsWith("at the alignment frequency - 77.7MHz"));
}

}  // namespace

// ---- Every way of pressing a control ---------------------------------------------

namespace {

struct Outcome {
  std::vector<std::vector<uint8_t>> sent;
  bool checked = false;
  bool operator==(const Outcome&) const = default;
};

// A fresh online window with the control's page shown, used one way.
Outcome Use(const QString& name, const std::function<void(QAbstractButton*)>& use) {
  AlignWindow w;
  w.Show(false);
  auto* button = w.Find<QAbstractButton>(name.toLatin1().constData());
  auto* tabs = w.Find<QTabWidget>("PageControl1");
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->widget(i)->isAncestorOf(button)) tabs->setCurrentIndex(i);
  w.rig.TakeCommands();
  use(button);
  Outcome out{{}, button->isChecked()};
  for (const SimRequest& r : w.rig.sim->Requests()) out.sent.push_back(r.payload);
  return out;
}

TEST(AlignWindowEveryWay, EveryCheckableToggledThroughAccessibilityDoesWhatAClickDoes) {
  QStringList names;
  {
    AlignWindow w;
    w.Show(false);
    auto* tabs = w.Find<QTabWidget>("PageControl1");
    for (int i = 0; i < tabs->count(); ++i) {
      if (!tabs->isTabVisible(i)) continue;
      tabs->setCurrentIndex(i);
      for (QAbstractButton* b : keyboard_check::CheckableControls(w.window.get()))
        if (!names.contains(b->objectName()) && !b->isChecked()) names << b->objectName();
    }
  }
  for (const char* name : {"rgAlignmentFreq_0", "chkAfcDisable", "chkRxFreqError"})
    ASSERT_TRUE(names.contains(name)) << name;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const Outcome clicked = Use(name, [](QAbstractButton* b) {
      QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    });
    const Outcome toggled = Use(name, [](QAbstractButton* b) {
      ASSERT_TRUE(keyboard_check::ToggleByAccessibility(b));
    });
    EXPECT_TRUE(clicked.checked);
    EXPECT_EQ(toggled, clicked);
  }
}

TEST(AlignWindowEveryWay, AlignmentFrequencyAndAfcSetFromCodeReachTheRadio) {
  AlignWindow w;
  w.Show(false);
  w.ShowPage("TabSheetReceiver");
  w.Find<QAbstractButton>("rgAlignmentFreq_0")->setChecked(true);
  EXPECT_EQ(w.rig.sim->State().pllSteps, 36000);
  w.rig.TakeCommands();
  w.Find<QAbstractButton>("chkAfcDisable")->setChecked(true);
  EXPECT_FALSE(w.rig.TakeCommands().empty());
}

// Enter in a field or a reading never presses Close and its closing
// commands: the window stays, and nothing is sent but the field's own
// action (the channel box returns to the channel, as a click on it does).
TEST(AlignWindowEveryWay, EnterInAReadingNeitherClosesNorSends) {
  AlignWindow w;
  w.Show(false);
  w.ShowPage("TabSheetReceiver");
  auto* reading = w.Find<QLineEdit>("editFreqError");
  reading->setEnabled(true);
  for (QWidget* field : keyboard_check::TextFields(w.window.get())) {
    SCOPED_TRACE(field->objectName().toStdString());
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (!edit || !edit->isReadOnly()) continue;
    std::vector<int> own;
    if (field->objectName() == "editChannel") {
      QTest::mouseClick(field, Qt::LeftButton);
      own = w.rig.TakeCommands();
      ASSERT_FALSE(own.empty());
    }
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(w.rig.TakeCommands(), own);
  }
  EXPECT_FALSE(w.Find<QPushButton>("btnClose")->isDefault());
  EXPECT_FALSE(w.Find<QPushButton>("btnClose")->autoDefault());
}

// Every access key of the window, on every page and in the engineering
// build's too, is its own.
TEST(AlignWindowEveryWay, EachAccessKeyIsUsedOnce) {
  for (bool engineering : {false, true}) {
    AlignWindow w("Merlo", engineering);
    w.Show(false);
    EXPECT_EQ(keyboard_check::SharedAccessKeys(w.window.get()).join("\n").toStdString(), "")
        << engineering;
  }
}

TEST(AlignWindowEveryWay, ChannelReadingsAreReadOutWithTheirText) {
  AlignWindow w;
  w.rig.sim->SetChannel(41);
  w.Show(false);
  EXPECT_EQ(keyboard_check::LabelsHidingTheirText(w.window.get()).join("\n").toStdString(), "");
  EXPECT_EQ(keyboard_check::AccessibleName(w.Find<QLabel>("lblRxFreq")),
            "Channel frequency: 476.4375");
}

}  // namespace
