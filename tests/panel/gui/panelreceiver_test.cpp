// A burst of display messages from the link's thread wakes the window once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "messages.h"
#include "panelreceiver.h"

namespace {

class Counter : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != PanelMessageReceiver::EventType()) return QObject::event(e);
    ++wakeUps;
    return true;
  }
  int wakeUps = 0;
};

TEST(PanelReceiver, BurstOfFramesWakesTheWindowOnce) {
  Counter target;
  PanelMessageReceiver receiver(&target);
  std::thread link([&] {
    for (int i = 0; i < 1000; ++i) receiver.PostMessage(WM_DISPLAY_BYTES, 0, 0);
    receiver.PostMessage(WM_ANNOUNCEMENT, 0, 0);
  });
  link.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(target.wakeUps, 1);
  const PanelMessageReceiver::Pending news = receiver.Take();
  EXPECT_TRUE(news.display);
  EXPECT_FALSE(news.backlight);
  EXPECT_FALSE(news.colour);
  // Taken: the next message wakes the window again.
  receiver.PostMessage(WM_BACKLIGHT, 1, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(target.wakeUps, 2);
}

TEST(PanelReceiver, RemembersWhichBacklightKindCameLast) {
  Counter target;
  PanelMessageReceiver receiver(&target);
  receiver.PostMessage(WM_BACKLIGHT, 1, 0);
  receiver.PostMessage(WM_BACKLIGHT_COLOUR, 0, 0);
  EXPECT_TRUE(receiver.Take().colourLast);
  receiver.PostMessage(WM_BACKLIGHT_COLOUR, 0, 0);
  receiver.PostMessage(WM_BACKLIGHT, 0, 0);
  const PanelMessageReceiver::Pending news = receiver.Take();
  EXPECT_TRUE(news.backlight && news.colour);
  EXPECT_FALSE(news.colourLast);
}

TEST(PanelReceiver, AnnouncementsAndDetachedReceiversWakeNobody) {
  Counter target;
  PanelMessageReceiver receiver(&target);
  receiver.PostMessage(WM_ANNOUNCEMENT, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(target.wakeUps, 0);
  receiver.Detach();
  receiver.PostMessage(WM_DISPLAY_BYTES, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(target.wakeUps, 0);
}

}  // namespace
