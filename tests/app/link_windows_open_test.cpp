// The Setup menu's port dialogs and traffic monitors, opened from the main
// window over simulated radios.
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app_fixture.h"
#include "programwindows.h"
#include "pty_peer.h"
#include "simradio.h"

namespace {

class LinkWindowsOpen : public AppFixture {
 protected:
  // Calls act(modal) on each event-loop turn until it returns true, while
  // the window's command runs.
  void WhileModal(const std::function<bool(QWidget*)>& act) {
    auto* timer = new QTimer(&Window());
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
      if (act(QApplication::activeModalWidget())) timer->stop();
    });
    timer->start(10);
  }
  static bool ClickWhen(QWidget* w, const char* title, const char* button, const std::function<bool()>& ready) {
    if (!w || w->windowTitle() != title || !ready()) return false;
    w->findChild<QPushButton*>(button)->click();
    return true;
  }
};

TEST_F(LinkWindowsOpen, CommPortChoosesTheSimulatedRadiosPort) {
  SimulatedRadio radio(kProductKestal);
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  Start();
  new ProgramWindows(Window());
  WhileModal([&](QWidget* w) {
    // COM1 is configured and gone: the warning comes first and is answered.
    return ClickWhen(w, "Configure serial port", "btnOK", [&] { return !boxes.Seen().empty(); });
  });
  Action("mnCommPort")->trigger();
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].caption, "Serial port");
  EXPECT_EQ(Window().PortNumber(), 97);
  EXPECT_TRUE(Window().Shared().port.IsOpen());
  EXPECT_EQ(Window().Shared().port.DevicePath(), radio.DevicePath());
}

TEST_F(LinkWindowsOpen, AutoDetectStoresTheFoundPort) {
  SimulatedRadio radio(kProductKestal);
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  Start();
  new ProgramWindows(Window());
  WhileModal([&](QWidget* w) {
    return ClickWhen(w, "AutoDetect", "btnClose",
                     [&] { return w->findChild<QPushButton*>("btnClose")->text() == "Close"; });
  });
  Action("mnAutoDetect")->trigger();
  EXPECT_EQ(Window().PortNumber(), 97);
  EXPECT_EQ(Window().Shared().port.DevicePath(), radio.DevicePath());
}

TEST_F(LinkWindowsOpen, AutoDetectFindingNothingGoesBackToTheConfiguredPort) {
  SimulatedRadio merlo(kProductMerlo);  // answers, but is passed over
  ASSERT_TRUE(merlo.Start());
  PtyPeer silent;
  extraDevices = {merlo.DevicePath(), silent.SlavePath()};
  sessionPort = 97;
  Start();
  new ProgramWindows(Window());
  QStringList memo;
  WhileModal([&](QWidget* w) {
    return ClickWhen(w, "AutoDetect", "btnClose", [&] {
      if (w->findChild<QPushButton*>("btnClose")->text() != "Close") return false;
      memo = w->findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
      return true;
    });
  });
  Action("mnAutoDetect")->trigger();
  // The passed-over radio is named with its port, not "not found".
  EXPECT_EQ(memo.value(0), "A Merlo answered on COM97.");
  EXPECT_EQ(Window().PortNumber(), 97);
  EXPECT_TRUE(Window().Shared().port.IsOpen());
  EXPECT_EQ(Window().Shared().port.DevicePath(), merlo.DevicePath());
}

TEST_F(LinkWindowsOpen, CheckLeadNamesTheRadioAndGivesThePortBack) {
  SimulatedRadio radio(kProductKestal);
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  sessionPort = 97;
  Start();
  new ProgramWindows(Window());
  QString memo;
  WhileModal([&](QWidget* w) {
    return ClickWhen(w, "Check Lead", "btnClose", [&] {
      if (!w->findChild<QPushButton*>("btnSave")->isEnabled()) return false;
      memo = w->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
      return true;
    });
  });
  Action("mnuCheckLead")->trigger();
  EXPECT_TRUE(memo.contains(QString::fromStdString("ok     " + radio.DevicePath() + ": a Kestal answers at 9600 baud")))
      << memo.toStdString();
  EXPECT_TRUE(memo.endsWith("A radio of this program's model answers.")) << memo.toStdString();
  EXPECT_TRUE(Window().Shared().port.IsOpen());
  EXPECT_EQ(Window().Shared().port.DevicePath(), radio.DevicePath());
}

TEST_F(LinkWindowsOpen, SetupMenuShowsEachMonitorOnce) {
  Start();
  new ProgramWindows(Window());
  const std::pair<const char*, const char*> monitors[] = {
      {"mnuByteMonitor", "Byte Monitor"},
      {"mnuVornIPacketMonitor", "Vorn I Packet Monitor"},
      {"mnuVornIIPacketMonitor", "Vorn II Packet Monitor"},
  };
  for (const auto& [item, title] : monitors) {
    for (int showing = 0; showing < 2; ++showing) Action(item)->trigger();
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowTitle() == title && w->isVisible()) ++shown;
    EXPECT_EQ(shown, 1) << title;
  }
}

}  // namespace
