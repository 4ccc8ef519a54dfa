#include "messages.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <thread>

#include "recording_receiver.h"

TEST(EventTest, StaysSetUntilReset) {
  Event e;
  EXPECT_FALSE(e.IsSet());
  e.Set();
  e.Set();
  EXPECT_TRUE(e.Wait(0));
  EXPECT_TRUE(e.IsSet()) << "a wait must not consume a manual-reset event";
  e.Reset();
  EXPECT_FALSE(e.IsSet());
  EXPECT_FALSE(e.Wait(10));
}

TEST(EventTest, WaitAnyReportsTheLowestSignalledEvent) {
  Event a, b, c;
  EXPECT_EQ(WaitAny({&a, &b, &c}, 0), -1);
  c.Set();
  EXPECT_EQ(WaitAny({&a, &b, &c}, 0), 2);
  b.Set();
  EXPECT_EQ(WaitAny({&a, &b, &c}, 0), 1);
}

TEST(EventTest, WakesAWaiterOnAnotherThread) {
  Event ready, stop;
  int result = -3;
  std::thread waiter([&] { result = WaitAny({&stop, &ready}); });
  ready.Set();
  waiter.join();
  EXPECT_EQ(result, 1);
}

TEST(PostToTest, NullReceiverIsNoWindow) {
  PostTo(nullptr, WM_BYTE_MONITOR, 0, 5);  // must simply do nothing
  RecordingReceiver r;
  PostTo(&r, WM_BYTE_MONITOR, 1, 7);
  EXPECT_EQ(r.Messages(), (std::vector<PostedMessage>{{WM_BYTE_MONITOR, 1, 7}}));
}
