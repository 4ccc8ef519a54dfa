// The main window's Development and Advanced commands open the service
// windows: the panel after the port check, on the session's radio.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "programwindows.h"
#include "radio.h"
#include "simradio.h"

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

}  // namespace
