// The key timing rules, with timers the test fires by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panelkeys.h"

namespace {

struct FakeTimer : KeyTimer {
  void Start(int ms) override {
    running = true;
    interval = ms;
  }
  void Stop() override { running = false; }
  bool running = false;
  int interval = 0;
};

struct Keys {
  Keys() : keys([this](int code, int event) { sent.push_back(code | event); }, repeat, hold) {}
  FakeTimer repeat, hold;
  std::vector<int> sent;
  FrontPanelKeys keys;
};

TEST(PanelKeys, ShortClickOfALongPressKeySendsPressedThenReleased) {
  Keys k;
  k.keys.Down(9);
  EXPECT_TRUE(k.hold.running);
  EXPECT_EQ(k.hold.interval, kHoldMs);
  k.keys.Up(9);
  EXPECT_FALSE(k.hold.running);
  EXPECT_EQ(k.sent, (std::vector<int>{0x39, 0x19}));
  // A stray tick after letting go sends nothing.
  k.keys.HoldTick();
  EXPECT_EQ(k.sent.size(), 2u);
}

TEST(PanelKeys, HoldingALongPressKeySendsHeldOnceThenReleased) {
  Keys k;
  k.keys.Down(7);
  k.keys.HoldTick();
  EXPECT_FALSE(k.hold.running);
  EXPECT_EQ(k.keys.HeldKey(), -1);
  k.keys.HoldTick();
  k.keys.Up(7);
  EXPECT_EQ(k.sent, (std::vector<int>{0x37, 0x57, 0x17}));
}

TEST(PanelKeys, ChannelKeyRepeatsAfter500MsThenEvery100Ms) {
  Keys k;
  k.keys.Down(1);
  EXPECT_EQ(k.sent, (std::vector<int>{0x31}));
  EXPECT_TRUE(k.repeat.running);
  EXPECT_EQ(k.repeat.interval, kRepeatFirstMs);
  k.keys.RepeatTick();
  EXPECT_EQ(k.repeat.interval, kRepeatNextMs);
  k.keys.RepeatTick();
  k.keys.Up(1);
  EXPECT_FALSE(k.repeat.running);
  EXPECT_EQ(k.sent, (std::vector<int>{0x31, 0x31, 0x31}));
}

TEST(PanelKeys, ChannelKeysSendNothingWhenLetGo) {
  for (int code : {0, 1}) {
    Keys k;
    k.keys.Down(code);
    k.keys.Up(code);
    EXPECT_EQ(k.sent, (std::vector<int>{0x30 | code}));
    EXPECT_FALSE(k.hold.running);
  }
}

TEST(PanelKeys, ClosingLetsGoOfAKeyStillDown) {
  Keys k;
  k.keys.Down(6);  // PTT
  k.keys.HoldTick();
  k.keys.Stop();
  EXPECT_EQ(k.sent, (std::vector<int>{0x36, 0x56, 0x16}));
  k.keys.Stop();
  k.keys.Up(6);  // the button's own release, after the window closed
  EXPECT_EQ(k.sent.size(), 3u);
  Keys r;
  r.keys.Down(0);
  r.keys.Stop();
  EXPECT_FALSE(r.repeat.running);
  EXPECT_EQ(r.sent, (std::vector<int>{0x30}));
}

TEST(PanelKeys, TableGivesEachButtonItsCodeAndKind) {
  std::vector<std::string> repeats;
  for (const PanelKey& key : PanelKeys())
    if (KindOf(key.code) == KeyKind::Repeat) repeats.push_back(key.button);
  EXPECT_EQ(repeats, (std::vector<std::string>{"btnChanDown", "btnChanUp", "btnSqlUp",
                                               "btnSqlDown"}));
  int f5 = -1, ptt = -1;
  for (const PanelKey& key : PanelKeys()) {
    if (std::string(key.button) == "btnF5") f5 = key.code;
    if (std::string(key.button) == "btnPanelPTT") ptt = key.code;
  }
  EXPECT_EQ(f5, 10);
  EXPECT_EQ(ptt, 6);
}

}  // namespace
