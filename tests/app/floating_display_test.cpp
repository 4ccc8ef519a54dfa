// The main window's floating display against the simulated radio: the
// "Floating Display" item opens and closes the model's panel, and the poll
// timer notices the radio going away and coming back.
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "floatingdisplay.h"
#include "frmreadwrite.h"
#include "transferflows.h"
#include "programwindows.h"
#include "radio.h"
#include "simradio.h"
#include "slow_write_all.h"

namespace {

class FloatingFixture : public AppFixture {
 protected:
  // A build of `family` with the menu item shown, talking to a simulated
  // radio of `product`, with the program's windows installed.
  bool StartWith(uint32_t product, const char* family = "Kestal") {
    radio = std::make_unique<SimulatedRadio>(product);
    if (!radio->Start()) return false;
    extraDevices = {radio->DevicePath()};
    sessionPort = 97;
    floatingDisplaySwitch = true;
    Start(BuildConfig::ForFamily(family, false));
    boxes.Take();  // the missing default file
    new ProgramWindows(Window());
    return true;
  }
  QAction* Item() { return Action("mnuFloatingDisplay"); }
  QTimer* PollTimer() { return Window().findChild<QTimer*>("tmrPollFloatingRadio"); }
  FloatingDisplay* Panel(const char* className) {
    return Window().findChild<FloatingDisplay*>(className);
  }
  QString Digits(FloatingDisplay* panel) {
    return panel->findChild<QLabel*>("LCDChDigit1")->text() +
           panel->findChild<QLabel*>("LCDChDigit2")->text();
  }

  std::unique_ptr<SimulatedRadio> radio;
};

struct SwitchCase {
  bool commandLine;
  bool engineering;
  bool shown;
};

class FloatingItem : public FloatingFixture, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(FloatingItem, ShownByTheSwitchOrTheEngineeringBuild) {
  floatingDisplaySwitch = GetParam().commandLine;
  Start(BuildConfig::ForFamily("Kestal", GetParam().engineering));
  EXPECT_EQ(Item()->isVisible(), GetParam().shown);
  EXPECT_TRUE(Item()->isCheckable());
  EXPECT_FALSE(Item()->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Builds, FloatingItem,
                         ::testing::Values(SwitchCase{false, false, false},
                                           SwitchCase{true, false, true},
                                           SwitchCase{false, true, true}));

struct ModelCase {
  uint32_t product;
  const char* family;
  const char* className;
  const char* caption;
};

class FloatingOpen : public FloatingFixture, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(FloatingOpen, ItemOpensTheRadiosPanelAndClosesIt) {
  const ModelCase& c = GetParam();
  ASSERT_TRUE(StartWith(c.product, c.family));
  Item()->trigger();
  EXPECT_TRUE(boxes.Take().empty());
  FloatingDisplay* panel = Panel(c.className);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->windowTitle(), c.caption);
  EXPECT_TRUE(Item()->isChecked());
  EXPECT_TRUE(PollTimer()->isActive());
  EXPECT_EQ(PollTimer()->interval(), 10000);
  EXPECT_EQ(Window().FloatingDisplayProductId(), static_cast<int>(c.product));
  // Only the radio's own panel opens.
  for (FloatingDisplay* other : Window().findChildren<FloatingDisplay*>()) {
    if (other == panel) continue;
    EXPECT_FALSE(other->isVisible()) << other->objectName().toStdString();
  }

  Item()->trigger();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(Item()->isChecked());
  EXPECT_FALSE(PollTimer()->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Models, FloatingOpen,
    ::testing::Values(
        ModelCase{0x5A02, "Kestal", "TfrmFloatingDisplayKestal", "Kestal Front Panel"},
        ModelCase{0x5A01, "Merlo", "TfrmFloatingDisplayMerlo", "Merlo Front Panel"},
        ModelCase{0x5A04, "Dravo", "TfrmFloatingDisplayDravo", "Dravo Front Panel"},
        ModelCase{0x5A03, "Pinto", "TfrmFloatingDisplayPinto", "Pinto Front Panel"}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(FloatingFixture, ClosingThePanelStopsThePollAndUnchecksTheItem) {
  ASSERT_TRUE(StartWith(0x5A02));
  Item()->trigger();
  FloatingDisplay* panel = Panel("TfrmFloatingDisplayKestal");
  ASSERT_TRUE(panel->isVisible());
  panel->close();
  EXPECT_FALSE(Item()->isChecked());
  EXPECT_FALSE(PollTimer()->isActive());
  // And it opens again.
  Item()->trigger();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(PollTimer()->isActive());
}

TEST_F(FloatingFixture, RefusedRadioOpensNothingAndKeepsTheModel) {
  ASSERT_TRUE(StartWith(0x5A01));  // a Merlo on a Kestal build
  WriteFile(Path("kestal.mem"), Image(0x5A02));
  chooser.answers = {Path("kestal.mem")};
  Action("mnuReadFile")->trigger();
  ASSERT_STREQ(Window().Shared().info.ModelName(), "Kestal");
  boxes.Take();
  Item()->trigger();
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Incorrect radio type (5A01)");
  EXPECT_EQ(seen[0].caption, "Checking Product ID");
  for (FloatingDisplay* panel : Window().findChildren<FloatingDisplay*>())
    EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(Item()->isChecked());
  EXPECT_FALSE(PollTimer()->isActive());
  // The loaded file's model stays for the editors.
  EXPECT_STREQ(Window().Shared().info.ModelName(), "Kestal");
}

TEST_F(FloatingFixture, PollBlanksThePanelWhenTheRadioGoesAndRestoresItWhenItAnswers) {
  ASSERT_TRUE(StartWith(0x5A02));
  Item()->trigger();
  FloatingDisplay* panel = Panel("TfrmFloatingDisplayKestal");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Digits(panel) == "11"; }, 10000));
  // A tick while the radio answers changes nothing.
  Window().tmrPollFloatingRadioTimer();
  EXPECT_FALSE(Window().RadioLost());
  EXPECT_EQ(Digits(panel), "11");

  SimFaults silent;
  silent.silentAfter = 0;
  radio->SetFaults(silent);
  PollTimer()->setInterval(50);  // the timer's own tick, sooner
  ASSERT_TRUE(QTest::qWaitFor([&] { return Window().RadioLost(); }, 10000));
  EXPECT_EQ(Digits(panel), "");
  EXPECT_EQ(panel->LcdPanelColour(), QColor(0x80, 0x80, 0x80));
  EXPECT_TRUE(boxes.Take().empty());  // losing the radio shows no message

  const int polls = radio->Counters().polls;
  radio->SetFaults(SimFaults{});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().RadioLost(); }, 10000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Digits(panel) == "11"; }, 10000));
  EXPECT_GT(radio->Counters().polls, polls);
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_TRUE(Item()->isChecked());
}

// The EEPROM editor's Write All against a slow radio holds the lane for
// many seconds: a poll tick meanwhile passes at once instead of freezing
// the program until the worker ends, and Cancel still stops the worker.
TEST_F(FloatingFixture, PollTickDuringAWholeMemoryWorkerPassesAndCancelStillWorks) {
  ASSERT_TRUE(StartWith(0x5A02));
  Item()->trigger();
  ASSERT_TRUE(Item()->isChecked());
  ASSERT_TRUE(Window().Shared().radio.EnterProgMode());
  WorkerLane& lane = Window().Flows().Lane();
  SlowWriteAll write(lane, *radio);
  ASSERT_TRUE(write.Start());

  Window().PollFloatingRadio();
  EXPECT_TRUE(lane.Busy()) << "the tick waited for the worker";
  EXPECT_FALSE(Window().RadioLost());

  write.CancelAndFinish(Window().Flows());
  EXPECT_FALSE(lane.Busy());
  EXPECT_EQ(write.results, std::vector<int>{kTransferCancelled});
}

// A transfer holds the radio: the panel's poll waits while the progress
// dialog is up and goes on once the transfer has ended.
TEST_F(FloatingFixture, ATransferPausesThePollAndItGoesOnAfterwards) {
  ASSERT_TRUE(StartWith(0x5A02));
  Item()->trigger();
  ASSERT_TRUE(PollTimer()->isActive());
  boxes.Take();
  SimFaults slow;
  slow.replyDelayMs = 20;  // the progress dialog stays up for seconds
  radio->SetFaults(slow);
  bool dialogSeen = false, polledDuringTransfer = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!Window().ReadWriteDialog().isVisible()) return;
    dialogSeen = true;
    polledDuringTransfer = polledDuringTransfer || PollTimer()->isActive();
  });
  watch.start(3);

  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  watch.stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().Flows().ClosePending(); }, 10000));

  EXPECT_TRUE(dialogSeen);
  EXPECT_FALSE(polledDuringTransfer);
  EXPECT_EQ(Window().Flows().LastOutcome().result, kTransferCompleted);
  EXPECT_TRUE(PollTimer()->isActive());
  EXPECT_EQ(PollTimer()->interval(), 10000);
  EXPECT_TRUE(Item()->isChecked());
}

// A read given up at the baud-rate question never started its worker; the
// poll it paused still goes on.
TEST_F(FloatingFixture, AReadGivenUpBeforeItsWorkerStillLetsThePollGoOn) {
  Store("MaxBdRate", 38400);
  ASSERT_TRUE(StartWith(0x5A03, "Pinto"));
  Item()->trigger();
  ASSERT_TRUE(PollTimer()->isActive());
  boxes.Take();
  SimFaults refusing;
  refusing.nackOpcode = OP_SET_BAUD_RATE;
  radio->SetFaults(refusing);
  boxes.Answer({QMessageBox::Ok, QMessageBox::Cancel});

  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);

  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].caption, "Set baudrate");
  EXPECT_FALSE(Window().ReadWriteDialog().isVisible());
  EXPECT_TRUE(PollTimer()->isActive());
}

TEST_F(FloatingFixture, WithoutThePanelATransferStartsNoPoll) {
  ASSERT_TRUE(StartWith(0x5A02));
  boxes.Take();
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().Flows().ClosePending(); }, 10000));
  EXPECT_EQ(Window().Flows().LastOutcome().result, kTransferCompleted);
  EXPECT_FALSE(PollTimer()->isActive());
}

}  // namespace
