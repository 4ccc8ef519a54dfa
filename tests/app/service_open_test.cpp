// The main window's Development and Advanced commands open the service
// windows: the panel after the port check, on the session's radio.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "transferflows.h"
#include "programwindows.h"
#include "radio.h"
#include "simradio.h"
#include "slow_write_all.h"

namespace {

// Runs `step` on the first modal dialog that shows, then stops looking.
void OnModal(QTimer& poll, std::function<void(QDialog&)> step) {
  QObject::connect(&poll, &QTimer::timeout, [&poll, step] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->inherits("QMessageBox")) return;
    poll.stop();
    step(*dialog);
  });
  poll.start(5);
}

TEST_F(AppFixture, DevelopmentButtonOpensThePanelOnTheSessionRadio) {
  SimulatedRadio sim(0x5A02);
  ASSERT_TRUE(sim.Start());
  extraDevices = {sim.DevicePath()};
  sessionPort = 97;
  Start(BuildConfig::ForFamily("Kestal", true));
  new ProgramWindows(Window());
  ASSERT_FALSE(Button("btnDevelopment")->isHidden());
  sim.ClearRequests();

  QString title;
  bool volumeSent = false;
  QTimer poll;
  OnModal(poll, [&](QDialog& panel) {
    title = panel.windowTitle();
    for (const SimRequest& r : sim.Requests()) volumeSent |= r.command == OP_SET_VOLUME;
    panel.findChild<QPushButton*>("btnClose")->click();
  });
  QTest::mouseClick(Button("btnDevelopment"), Qt::LeftButton);
  EXPECT_EQ(title, "Development");
  EXPECT_TRUE(volumeSent);
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(AppFixture, AdvancedButtonOpensTheAdvancedOptionsInAdvancedMode) {
  Start(Kestal(), {"/a"});
  WriteFile(Path("van.mem"), Image(0x5A02));
  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();  // the editors open on loaded data only
  new ProgramWindows(Window());
  ASSERT_FALSE(Button("btnAdvanced")->isHidden());
  ASSERT_TRUE(Button("btnAdvanced")->isEnabled());
  QString title;
  QTimer poll;
  OnModal(poll, [&](QDialog& options) {
    title = options.windowTitle();
    options.findChild<QPushButton*>("btnCancel")->click();
  });
  QTest::mouseClick(Button("btnAdvanced"), Qt::LeftButton);
  EXPECT_EQ(title, "Advanced Options");
}

// The Advanced Options' noise-volts poll asks the port check first, which
// lets a whole-memory worker finish: a tick during an EEPROM Write All to
// a slow radio would hold every window until the worker ended. The tick
// passes at once, sends nothing over the worker, and Cancel still works.
TEST_F(AppFixture, AdvancedOptionsPollTickPassesWhileAWorkerHoldsTheRadio) {
  SimulatedRadio sim(0x5A02);
  ASSERT_TRUE(sim.Start());
  extraDevices = {sim.DevicePath()};
  sessionPort = 97;
  Start(Kestal(), {"/a"});
  WriteFile(Path("van.mem"), Image(0x5A02));
  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();
  new ProgramWindows(Window());
  ASSERT_TRUE(Window().PortCheck());
  ASSERT_TRUE(Window().Shared().radio.EnterProgMode());

  WorkerLane& lane = Window().Flows().Lane();
  SlowWriteAll write(lane, sim);
  bool busyAfterTick = false;
  size_t sentDuringWorker = 0, sentAfterWorker = 0;
  QTimer poll;
  OnModal(poll, [&](QDialog& options) {
    if (!write.Start()) return;

    auto* tick = options.findChild<QTimer*>("Timer1");
    const size_t started = sim.Requests().size();
    QMetaObject::invokeMethod(tick, "timeout", Qt::DirectConnection);
    busyAfterTick = lane.Busy();
    for (size_t i = started; i < sim.Requests().size(); ++i)
      sentDuringWorker += sim.Requests()[i].command == OP_ENGINEERING;
    write.CancelAndFinish(Window().Flows());
    // With the worker gone the same tick does poll the radio.
    const size_t after = sim.Requests().size();
    QMetaObject::invokeMethod(tick, "timeout", Qt::DirectConnection);
    for (size_t i = after; i < sim.Requests().size(); ++i)
      sentAfterWorker += sim.Requests()[i].command == OP_ENGINEERING;
    options.findChild<QPushButton*>("btnCancel")->click();
  });
  QTest::mouseClick(Button("btnAdvanced"), Qt::LeftButton);
  EXPECT_TRUE(busyAfterTick) << "the tick waited for the worker";
  EXPECT_EQ(sentDuringWorker, 0u) << "the tick sent its command over the worker's";
  EXPECT_GE(sentAfterWorker, 1u);
  EXPECT_EQ(write.results, std::vector<int>{kTransferCancelled});
  EXPECT_FALSE(lane.Busy());
}

}  // namespace
