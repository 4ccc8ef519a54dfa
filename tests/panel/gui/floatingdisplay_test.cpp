// The floating panels against the simulated radio over a real
// pseudo-terminal: what the LCD shows, and the key events the radio gets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "buildconfig.h"
#include "windowcontext.h"
#include "floatingdisplays.h"
#include "messages.h"
#include "recording_receiver.h"
#include "sharedobjects.h"
#include "simradio.h"

namespace {

struct PanelRig {
  explicit PanelRig(uint32_t product)
      : radio(product), shared(product), context{build, shared, false, [] { return true; }} {
    started = radio.Start() && shared.port.Open(radio.DevicePath(), 9600);
    panel.reset(NewFloatingDisplay(product, context, nullptr));
    panel->SetClosedHandler([this] { ++closedCalls; });
  }
  ~PanelRig() {
    panel.reset();
    shared.port.Close();
    radio.Stop();
  }
  QLabel* Label(const char* name) { return panel->findChild<QLabel*>(name); }
  QPushButton* Key(const char* name) { return panel->findChild<QPushButton*>(name); }
  QString Digits() { return Label("LCDChDigit1")->text() + Label("LCDChDigit2")->text(); }
  QString Alpha() {
    QString text;
    for (int i = 1; i <= 5; ++i)
      text += panel->findChild<QLabel*>(QString("LCDAlphaChar%1").arg(i))->text();
    return text;
  }
  bool Shown(const char* name) { return !Label(name)->isHidden(); }
  // What a screen reader says for the part.
  QString Spoken(const char* name) { return panel->findChild<QWidget*>(name)->accessibleName(); }
  // Key bytes the radio has received, once `count` have.
  std::vector<uint8_t> Keys(size_t count, int timeoutMs = 10000) {
    (void)QTest::qWaitFor([&] { return radio.KeyEvents().size() >= count; }, timeoutMs);
    return radio.KeyEvents();
  }
  bool ShowAndWaitForDisplay(const QString& digits) {
    panel->ShowPanel();
    return QTest::qWaitFor([&] { return Digits() == digits; }, 10000);
  }

  BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  SimulatedRadio radio;
  SharedObjects shared;
  WindowContext context;
  std::unique_ptr<FloatingDisplay> panel;
  bool started = false;
  int closedCalls = 0;
};

using Bytes = std::vector<uint8_t>;

struct ShowCase {
  uint32_t product;
  const char* className;
  const char* caption;
  const char* picture;
  QSize size;
  int pollArgument;  // -1: none
};

class PanelShow : public testing::TestWithParam<ShowCase> {};

TEST_P(PanelShow, ShowsItsPictureAndPollsTheRadioWithItsArgument) {
  const ShowCase& c = GetParam();
  PanelRig rig(c.product);
  ASSERT_TRUE(rig.started);
  RecordingReceiver monitor;
  rig.shared.radio.ProtocolI().AttachMonitor(&monitor);
  rig.panel->ShowPanel();
  EXPECT_EQ(rig.panel->objectName(), c.className);
  EXPECT_EQ(rig.panel->windowTitle(), c.caption);
  EXPECT_EQ(rig.panel->size(), c.size);
  EXPECT_TRUE(rig.panel->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(rig.panel->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(rig.panel->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(rig.panel->minimumSize(), rig.panel->maximumSize());
  EXPECT_NE(rig.panel->findChild<QWidget*>(c.picture), nullptr);
  if (c.pollArgument < 0) {
    EXPECT_EQ(rig.panel->findChild<QWidget*>("LCDPanel"), nullptr);
    EXPECT_TRUE(rig.panel->findChildren<QPushButton*>().isEmpty());
    QTest::qWait(200);
    EXPECT_EQ(rig.radio.Counters().polls, 0);
    EXPECT_TRUE(monitor.Messages(WM_VORNI_TX).empty());
    return;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == "11"; }, 10000));
  const auto sent = monitor.Messages(WM_VORNI_TX);
  ASSERT_EQ(sent.size(), 1u);
  uint8_t frame[7] = {};
  rig.shared.radio.ProtocolI().ReadTxSlot(frame, 7, static_cast<int>(sent[0].wParam));
  EXPECT_EQ(Bytes(frame, frame + 7),
            (Bytes{0x03, 0x03, 0x01, static_cast<uint8_t>(c.pollArgument),
                   static_cast<uint8_t>(0xFF - 7 - c.pollArgument), 0x0A, 0xAA}));
  rig.shared.radio.ProtocolI().DetachMonitor();
}

INSTANTIATE_TEST_SUITE_P(
    Models, PanelShow,
    testing::Values(ShowCase{0x5A02, "TfrmFloatingDisplayKestal", "Kestal Front Panel",
                             "imgKestalFrontPanel", QSize(568, 131), 0},
                    ShowCase{0x5A01, "TfrmFloatingDisplayMerlo", "Merlo Front Panel",
                             "RadioFrontPanel", QSize(568, 131), 128},
                    ShowCase{0x5A04, "TfrmFloatingDisplayDravo", "Dravo Front Panel",
                             "RadioFrontPanelDravo", QSize(670, 202), 0},
                    ShowCase{0x5A03, "TfrmFloatingDisplayPinto", "Pinto Front Panel", "imgPinto",
                             QSize(241, 647), -1}),
    [](const auto& info) { return std::string(info.param.className).substr(19); });

TEST(FloatingDisplay, BothFlashingDigitsBlinkTogetherUntilTheBitsClear) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  ASSERT_TRUE(rig.shared.radio.WriteLcd("19", "     ", 0, 0x03));
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == "19"; }, 10000));
  EXPECT_EQ(rig.panel->findChild<QTimer*>("FlashingTimer")->interval(), 250);
  QTest::qWait(260);  // the redraw showed both; from the next tick on they follow the phase
  bool sawShown = false, sawHidden = false;
  for (int i = 0; i < 16; ++i) {
    QTest::qWait(50);
    const bool one = rig.Shown("LCDChDigit1");
    EXPECT_EQ(one, rig.Shown("LCDChDigit2"));
    EXPECT_EQ(one, rig.panel->FlashPhase());
    (one ? sawShown : sawHidden) = true;
  }
  EXPECT_TRUE(sawShown && sawHidden);
  ASSERT_TRUE(rig.shared.radio.WriteLcd("19", "     ", 0, 0x00));
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Shown("LCDChDigit1"); }, 10000));
  for (int i = 0; i < 8; ++i) {
    QTest::qWait(70);
    EXPECT_TRUE(rig.Shown("LCDChDigit1") && rig.Shown("LCDChDigit2"));
  }
}

TEST(FloatingDisplay, AlphaCharactersFlashOnTheirOwnBits) {
  PanelRig rig(0x5A04);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  EXPECT_EQ(rig.Alpha(), "CB-11");
  ASSERT_TRUE(rig.shared.radio.WriteLcd("07", "HELLO", 0, 0x04 | 0x40));
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Alpha() == "HELLO"; }, 10000));
  bool sawHidden = false;
  for (int i = 0; i < 12; ++i) {
    QTest::qWait(50);
    EXPECT_EQ(rig.Shown("LCDAlphaChar1"), rig.Shown("LCDAlphaChar5"));
    EXPECT_TRUE(rig.Shown("LCDAlphaChar2") && rig.Shown("LCDAlphaChar4"));
    EXPECT_TRUE(rig.Shown("LCDChDigit1"));
    sawHidden |= !rig.Shown("LCDAlphaChar1");
  }
  EXPECT_TRUE(sawHidden);
}

TEST(FloatingDisplay, IconsFollowTheirBitsAndTheDarkSegmentsStayDark) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  // D7 = SCAN, M; D8 = Tx, DCS.
  ASSERT_TRUE(rig.shared.radio.WriteLcd("40", "     ", 0x21 | (0x12 << 8), 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == "40"; }, 10000));
  for (const char* lit : {"LCDScan", "LCDM", "LCDTx", "LCDDCS"}) EXPECT_TRUE(rig.Shown(lit)) << lit;
  for (const char* dark : {"LCDBusy", "LCDDup", "LCDSilent", "LCDBluetooth", "LCDPri",
                           "LCDSigStrength1", "LCDSigStrength08"})
    EXPECT_FALSE(rig.Shown(dark)) << dark;
  EXPECT_EQ(rig.Label("LCDCallTo"), nullptr);  // the Kestal has no alpha-model icons
}

TEST(FloatingDisplay, BacklightColourAndOnOffSetTheLcdColour) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  EXPECT_EQ(rig.panel->LcdPanelColour(), QColor(0x80, 0x80, 0x80));  // no backlight news yet
  rig.radio.SendBacklightColour(1023, 512, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.panel->LcdPanelColour() == QColor(255, 128, 0); },
                              10000));
  // B switches the backlight off; the radio says so and the LCD goes grey.
  QTest::mouseClick(rig.Key("btnB"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return rig.panel->LcdPanelColour() == QColor(0x80, 0x80, 0x80); }, 10000));
  QTest::mouseClick(rig.Key("btnB"), Qt::LeftButton);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return rig.panel->LcdPanelColour() == QColor(0, 255, 0); }, 10000));
}

TEST(FloatingDisplay, ShortClickOfF2SendsPressedThenReleased) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  QPushButton* f2 = rig.Key("btnF2");
  QTest::mousePress(f2, Qt::LeftButton);
  EXPECT_EQ(rig.Keys(1), (Bytes{0x39}));
  QTest::qWait(300);
  QTest::mouseRelease(f2, Qt::LeftButton);
  EXPECT_EQ(rig.Keys(2), (Bytes{0x39, 0x19}));
  QTest::qWait(1600);  // the hold time passes: no "held" after letting go
  EXPECT_EQ(rig.radio.KeyEvents(), (Bytes{0x39, 0x19}));
}

TEST(FloatingDisplay, HoldingF2SendsHeldAfterOneAndAHalfSeconds) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  QPushButton* f2 = rig.Key("btnF2");
  QTest::mousePress(f2, Qt::LeftButton);
  QTest::qWait(1300);
  EXPECT_EQ(rig.radio.KeyEvents(), (Bytes{0x39}));
  EXPECT_EQ(rig.Keys(2), (Bytes{0x39, 0x59}));
  QTest::qWait(300);
  QTest::mouseRelease(f2, Qt::LeftButton);
  EXPECT_EQ(rig.Keys(3), (Bytes{0x39, 0x59, 0x19}));
}

TEST(FloatingDisplay, HoldingPlusRepeatsAndThePanelFollowsTheChannel) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  QPushButton* up = rig.Key("btnChanUp");
  auto* repeat = rig.panel->findChild<QTimer*>("ChAutoRepTimer");
  QTest::mousePress(up, Qt::LeftButton);
  EXPECT_EQ(rig.Keys(1), (Bytes{0x31}));
  EXPECT_EQ(repeat->interval(), 500);
  QTest::qWait(350);
  EXPECT_EQ(rig.radio.KeyEvents().size(), 1u);  // nothing more before 500 ms
  ASSERT_EQ(rig.Keys(2, 600).size(), 2u);
  EXPECT_EQ(repeat->interval(), 100);
  QTest::qWait(450);  // about four more at 100 ms
  QTest::mouseRelease(up, Qt::LeftButton);
  const Bytes sent = rig.radio.KeyEvents();
  EXPECT_GE(sent.size(), 4u);
  EXPECT_LE(sent.size(), 8u);
  EXPECT_EQ(sent, Bytes(sent.size(), 0x31));  // no release
  EXPECT_FALSE(repeat->isActive());
  const int channel = rig.radio.State().channel;
  EXPECT_EQ(channel, 11 + static_cast<int>(sent.size()));
  const QString expected = QString("%1").arg(channel, 2, 10, QChar('0'));
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == expected; }, 10000)) << rig.Digits().toStdString();
}

TEST(FloatingDisplay, MinusSendsPressedAtOnceAndNothingWhenLetGo) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  QPushButton* down = rig.Key("btnChanDown");
  EXPECT_EQ(down->text(), "-");
  QTest::mousePress(down, Qt::LeftButton);
  EXPECT_EQ(rig.Keys(1), (Bytes{0x30}));
  QTest::mouseRelease(down, Qt::LeftButton);
  QTest::qWait(600);
  EXPECT_EQ(rig.radio.KeyEvents(), (Bytes{0x30}));
}

TEST(FloatingDisplay, DravoSquelchKeysSendWhatTheChannelKeysSend) {
  PanelRig rig(0x5A04);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  for (const char* name : {"btnChanUp", "btnSqlUp", "btnChanDown", "btnSqlDown", "btnF5"})
    QTest::mouseClick(rig.Key(name), Qt::LeftButton);
  EXPECT_EQ(rig.Keys(6), (Bytes{0x31, 0x31, 0x30, 0x30, 0x3A, 0x1A}));
  EXPECT_EQ(rig.Key("btnSqlUp")->text(), "+");
  EXPECT_EQ(rig.Key("btnSqlDown")->text(), "-");
}

TEST(FloatingDisplay, OnlyTheDravoHasTheExtraKeys) {
  PanelRig rig(0x5A01);
  for (const char* name : {"btnF5", "btnSqlUp", "btnSqlDown"}) EXPECT_EQ(rig.Key(name), nullptr);
  EXPECT_EQ(rig.panel->findChildren<QPushButton*>().size(), 10);
  EXPECT_EQ(rig.Key("btnPanelPTT")->text(), "PTT");
  EXPECT_EQ(rig.Key("btnCall")->text(), "call");
}

TEST(FloatingDisplay, RadioLostBlanksTheLcdAndTheNextDisplayRestoresIt) {
  PanelRig rig(0x5A01);
  ASSERT_TRUE(rig.started);
  rig.radio.SetChannel(3);  // Dup
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("03"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Shown("LCDDup"); }, 10000));
  rig.panel->RadioLost();
  EXPECT_EQ(rig.panel->LcdPanelColour(), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(rig.Digits(), "");
  EXPECT_EQ(rig.Alpha(), "");
  EXPECT_FALSE(rig.Shown("LCDDup"));
  EXPECT_TRUE(rig.panel->findChild<QTimer*>("FlashingTimer")->isActive());
  // A screen reader hears the blank display, not what it showed before.
  EXPECT_EQ(rig.Spoken("LCDPanel"), "Display");
  EXPECT_EQ(rig.Spoken("LCDChDigit1"), "Channel digit 1");
  EXPECT_EQ(rig.Spoken("LCDAlphaChar3"), "Alpha character 3");
  // A channel change on the radio: its display frame restores everything.
  rig.radio.SetChannel(42);
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == "42"; }, 10000));
  EXPECT_EQ(rig.Alpha(), "CB-42");
  EXPECT_TRUE(rig.Spoken("LCDPanel").startsWith("Display: 42 CB-42"))
      << rig.Spoken("LCDPanel").toStdString();
  EXPECT_EQ(rig.Spoken("LCDChDigit1"), "Channel digit 1: 4");
  EXPECT_TRUE(rig.Shown("LCDDup"));
  EXPECT_TRUE(rig.Shown("LCDChDigit1") && rig.Shown("LCDAlphaChar3"));
}

TEST(FloatingDisplay, DisplayRequestAsksTheRadioAgain) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  ASSERT_TRUE(rig.ShowAndWaitForDisplay("11"));
  rig.panel->RadioLost();
  rig.panel->DisplayRequest();
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Digits() == "11"; }, 10000));
  EXPECT_EQ(rig.radio.Counters().polls, 2);
}

TEST(FloatingDisplay, PintoIgnoresRadioLostAndDisplayRequest) {
  PanelRig rig(0x5A03);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  rig.panel->RadioLost();
  rig.panel->DisplayRequest();
  QTest::qWait(200);
  EXPECT_EQ(rig.radio.Counters().polls, 0);
  rig.panel->close();
  EXPECT_EQ(rig.closedCalls, 1);
}

TEST(FloatingDisplay, ClosingStopsTimersAndLetsGoOfAHeldKey) {
  PanelRig rig(0x5A02);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  QTest::mousePress(rig.Key("btnPanelPTT"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.radio.State().ptt; }, 10000));
  rig.panel->close();
  EXPECT_EQ(rig.closedCalls, 1);
  EXPECT_TRUE(rig.panel->isHidden());
  for (const char* timer : {"FlashingTimer", "ChAutoRepTimer", "FrontPanelButtonDownTimer"})
    EXPECT_FALSE(rig.panel->findChild<QTimer*>(timer)->isActive()) << timer;
  EXPECT_EQ(rig.Keys(2), (Bytes{0x36, 0x16}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.radio.State().ptt; }, 10000));
}

TEST(FloatingDisplay, KeysWorkFromTheKeyboardAndAreNamedForScreenReaders) {
  PanelRig rig(0x5A04);
  ASSERT_TRUE(rig.started);
  rig.panel->ShowPanel();
  for (QPushButton* key : rig.panel->findChildren<QPushButton*>()) {
    EXPECT_FALSE(key->accessibleName().isEmpty()) << key->objectName().toStdString();
    EXPECT_EQ(key->focusPolicy(), Qt::StrongFocus);
  }
  for (const char* name : {"LCDChDigit1", "LCDAlphaChar5", "LCDScan"})
    EXPECT_FALSE(rig.Label(name)->accessibleName().isEmpty()) << name;
  QPushButton* f1 = rig.Key("btnF1");
  f1->setFocus();
  QTest::keyPress(f1, Qt::Key_Space);
  QTest::keyRelease(f1, Qt::Key_Space);
  EXPECT_EQ(rig.Keys(2), (Bytes{0x33, 0x13}));
}

// Shown, it is where the keys go: the focus is on one of its keys (or on
// the window, for the picture alone); Escape closes it as a frame click does.
TEST(FloatingDisplay, TakesTheFocusWhenShownAndEscapeClosesIt) {
  for (uint32_t product : {0x5A02u, 0x5A03u}) {
    SCOPED_TRACE(product);
    PanelRig rig(product);
    ASSERT_TRUE(rig.started);
    rig.panel->ShowPanel();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.panel.get()));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == rig.panel.get() || rig.panel->isAncestorOf(focus));
    if (product == 0x5A02u) EXPECT_NE(qobject_cast<QPushButton*>(focus), nullptr);
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_TRUE(rig.panel->isHidden());
    EXPECT_EQ(rig.closedCalls, 1);
  }
}

}  // namespace
