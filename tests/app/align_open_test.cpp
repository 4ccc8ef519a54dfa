// The main window's "Align" button opens the alignment window: offline
// when no radio answers, online over a simulated radio.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app_fixture.h"
#include "formalign.h"
#include "programwindows.h"
#include "simradio.h"

namespace {

struct SeenAlignment {
  bool opened = false;
  QString title;
  bool offlineShown = false;
  QString channel;
};

// Looks at the alignment window once it is the modal window, then closes it.
class AlignmentWatcher {
 public:
  AlignmentWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* w = qobject_cast<TformAlign*>(QApplication::activeModalWidget());
      if (!w || !w->isVisible() || seen.opened) return;
      seen = {true, w->windowTitle(), w->findChild<QLabel*>("lblOffline")->isVisible(),
              w->findChild<QLineEdit*>("editChannel")->text()};
      w->findChild<QPushButton*>("btnClose")->click();
    });
    timer_.start(5);
  }
  SeenAlignment seen;

 private:
  QTimer timer_;
};

TEST_F(AppFixture, AlignButtonOpensTheAlignmentWindowOfflineWithoutARadio) {
  Start();
  new ProgramWindows(Window());
  AlignmentWatcher watcher;
  boxes.Answer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok});
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);
  EXPECT_TRUE(watcher.seen.opened);
  EXPECT_EQ(watcher.seen.title, "Alignment");
  EXPECT_TRUE(watcher.seen.offlineShown);
  EXPECT_EQ(watcher.seen.channel, "01");
}

TEST_F(AppFixture, AlignButtonOpensTheAlignmentWindowOnTheRadiosChannel) {
  SimulatedRadio radio(kProductKestal);
  ASSERT_TRUE(radio.Start());
  radio.SetChannel(23);
  extraDevices = {radio.DevicePath()};
  sessionPort = 97;
  Start();
  new ProgramWindows(Window());
  AlignmentWatcher watcher;
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);
  EXPECT_TRUE(watcher.seen.opened);
  EXPECT_FALSE(watcher.seen.offlineShown);
  EXPECT_EQ(watcher.seen.channel, "23");
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_FALSE(radio.State().ptt);
  EXPECT_EQ(radio.State().txTone, 15);
}

}  // namespace
