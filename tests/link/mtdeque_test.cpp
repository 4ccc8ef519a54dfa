#include "mtdeque.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

namespace {
std::vector<uint8_t> Sequence(int n, int start = 0) {
  std::vector<uint8_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = static_cast<uint8_t>(start + i * 7);
  return v;
}
}  // namespace

TEST(MTdequeTest, FullRingPopsInOrderAcrossTheWrap) {
  MTdeque q;
  // Move the positions off zero first so the full ring wraps.
  const auto lead = Sequence(300, 3);
  uint8_t scratch[300];
  ASSERT_EQ(q.Push(lead.data(), 300), 300);
  ASSERT_EQ(q.Pop(scratch, 300), 300);

  const auto bytes = Sequence(MTdeque::kCapacity);
  EXPECT_EQ(q.Push(bytes.data(), MTdeque::kCapacity), MTdeque::kCapacity);
  EXPECT_EQ(q.Count(), MTdeque::kCapacity);
  const uint8_t one = 0x55;
  EXPECT_EQ(q.Push(&one, 1), 0) << "a full ring takes nothing";

  std::vector<uint8_t> out(2000);
  EXPECT_EQ(q.Pop(out.data(), 2000), MTdeque::kCapacity);
  out.resize(MTdeque::kCapacity);
  EXPECT_EQ(out, bytes);
  EXPECT_TRUE(q.IsEmpty());
  EXPECT_EQ(q.Pop(out.data(), 10), 0);
}

TEST(MTdequeTest, CapacityIgnoresTheRequestedSize) {
  for (int requested : {16, 1024, 2048}) {
    MTdeque q(requested);
    const auto bytes = Sequence(3000);
    EXPECT_EQ(q.Push(bytes.data(), 3000), 1024) << "requested " << requested;
  }
}

TEST(MTdequeTest, NonPositiveCountsDoNothing) {
  MTdeque q;
  const auto bytes = Sequence(8);
  for (int count : {0, -1, -100}) EXPECT_EQ(q.Push(bytes.data(), count), 0);
  EXPECT_TRUE(q.IsEmpty());
  ASSERT_EQ(q.Push(bytes.data(), 8), 8);
  uint8_t out[8] = {};
  for (int maximum : {0, -1}) EXPECT_EQ(q.Pop(out, maximum), 0);
  EXPECT_EQ(q.Count(), 8);
}

TEST(MTdequeTest, PartialPushAndPopKeepOrder) {
  MTdeque q;
  const auto bytes = Sequence(1000);
  ASSERT_EQ(q.Push(bytes.data(), 1000), 1000);
  EXPECT_EQ(q.Push(bytes.data(), 100), 24) << "only the free space is taken";
  uint8_t out[10];
  ASSERT_EQ(q.Pop(out, 10), 10);
  EXPECT_TRUE(std::equal(out, out + 10, bytes.begin()));
  EXPECT_EQ(q.Count(), 1014);
}

TEST(MTdequeTest, ClearEmptiesAndRestarts) {
  MTdeque q;
  const auto bytes = Sequence(500);
  q.Push(bytes.data(), 500);
  q.Clear();
  EXPECT_TRUE(q.IsEmpty());
  uint8_t out[4];
  EXPECT_EQ(q.Pop(out, 4), 0);
  EXPECT_EQ(q.Push(bytes.data(), 500), 500);
  EXPECT_EQ(q.Count(), 500);
  EXPECT_EQ(q.Pop(out, 4), 4);
  EXPECT_TRUE(std::equal(out, out + 4, bytes.begin()));
}

// One producer and one consumer: every byte arrives once and in order.
TEST(MTdequeTest, ProducerAndConsumerThreadsKeepEveryByte) {
  MTdeque q;
  constexpr int kTotal = 200000;
  std::thread producer([&] {
    int sent = 0;
    while (sent < kTotal) {
      uint8_t chunk[97];
      const int n = std::min(97, kTotal - sent);
      for (int i = 0; i < n; ++i) chunk[i] = static_cast<uint8_t>(sent + i);
      int done = 0;
      while (done < n) done += q.Push(chunk + done, n - done);
      sent += n;
    }
  });
  int received = 0;
  bool inOrder = true;
  uint8_t buf[64];
  while (received < kTotal) {
    const int n = q.Pop(buf, 64);
    for (int i = 0; i < n; ++i) inOrder &= buf[i] == static_cast<uint8_t>(received + i);
    received += n;
  }
  producer.join();
  EXPECT_TRUE(inOrder);
  EXPECT_TRUE(q.IsEmpty());
}
