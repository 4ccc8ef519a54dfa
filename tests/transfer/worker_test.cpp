// The transfer worker on its own: what it posts, that it never waits for
// the window, and array replies the simulated radio would never give.
#include <gtest/gtest.h>

#include "messagequeue.h"
#include "messages.h"
#include "params.h"
#include "transfer_rig.h"
#include "transferworker.h"

namespace {

std::vector<QueuedMessage> Drain(MessageQueue& q) {
  std::vector<QueuedMessage> out;
  QueuedMessage m;
  while (q.Take(m, 0)) out.push_back(m);
  return out;
}

// The shared objects on a port to any device, without the command flows.
struct Link : SharedObjects {
  explicit Link(uint32_t product) : SharedObjects(product) { info.SelectModel(product); }
  // A read of the whole image reporting to this link's window.
  TransferFields Fields() {
    TransferFields f;
    f.window = &window;
    f.cancelEvent = &cancel;
    return f;
  }
  MessageQueue window;
};

TEST(TransferWorker, PostsProgressThenResultThenClosedWithoutAnyoneListening) {
  SimulatedRadio sim(kProductKestal);
  ASSERT_TRUE(sim.Start());
  sim.SetMemory(RandomBytes(30));
  Link link(kProductKestal);
  ASSERT_TRUE(link.port.Open(sim.DevicePath(), 9600));
  TransferWorker worker(link.radio, link.image, link.port);
  TransferFields f = link.Fields();

  const int number = worker.Start(f);
  EXPECT_EQ(number, 1);
  worker.WaitUntilEnded();  // nobody takes the messages meanwhile

  const std::vector<QueuedMessage> got = Drain(link.window);
  ASSERT_EQ(got.size(), 128u + 2u);
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(got[static_cast<size_t>(i)].message, WM_TRANSFER);
    EXPECT_EQ(got[static_cast<size_t>(i)].wParam, 0);
    EXPECT_EQ(got[static_cast<size_t>(i)].lParam, (i + 1) * 16);
  }
  EXPECT_EQ(got[128].message, WM_TRANSFER);
  EXPECT_EQ(got[128].wParam, 1);
  EXPECT_EQ(got[128].lParam, kTransferCompleted);
  EXPECT_EQ(got[129].message, WM_TRANSFER_CLOSED);
  EXPECT_EQ(got[129].wParam, 0);
  EXPECT_EQ(got[129].lParam, number);
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_EQ(std::vector<uint8_t>(link.image.Data(), link.image.Data() + kImageSize), sim.Memory());
  EXPECT_EQ(worker.LastOutcome().number, 1);
  EXPECT_EQ(worker.Start(f), 2) << "each transfer gets the next number";
}

TEST(TransferWorker, WithoutAnOpenPortFailsAtOnceAndReportsTheFailedReset) {
  Link link(kProductKestal);
  TransferWorker worker(link.radio, link.image, link.port);
  TransferFields f = link.Fields();
  f.direction = kDirectionWrite;
  f.statusAddress = link.info.GetParamAddress(kParamStatus);
  const int number = worker.Start(f);
  worker.WaitUntilEnded();
  const std::vector<QueuedMessage> got = Drain(link.window);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_TRANSFER);
  EXPECT_EQ(got[0].wParam, 1);
  EXPECT_EQ(got[0].lParam, kTransferFailed);
  EXPECT_EQ(got[1].message, WM_TRANSFER_CLOSED);
  EXPECT_EQ(got[1].wParam, kClosedResetFailed);
  EXPECT_EQ(got[1].lParam, number);
  EXPECT_TRUE(worker.LastOutcome().resetFailed);
  EXPECT_EQ(worker.LastOutcome().direction, kDirectionWrite);
}

TEST(TransferWorker, ACancelSetBeforeTheFirstBlockCopiesNothing) {
  SimulatedRadio sim(kProductKestal);
  ASSERT_TRUE(sim.Start());
  Link link(kProductKestal);
  ASSERT_TRUE(link.port.Open(sim.DevicePath(), 9600));
  TransferWorker worker(link.radio, link.image, link.port);
  TransferFields f = link.Fields();
  link.cancel.Set();
  worker.Start(f);
  worker.WaitUntilEnded();
  EXPECT_FALSE(link.cancel.IsSet());
  EXPECT_EQ(worker.LastOutcome().result, kTransferCancelled);
  EXPECT_EQ(Summarise(sim.Requests()), std::vector<Req>{Req{OP_RESET}});
}

// ---- Array replies of an odd length ----------------------------------------

struct ArrayCase {
  const char* name;
  int replyCount;  // data bytes the radio sends for each 128-byte request
};

class ArrayReply : public testing::TestWithParam<ArrayCase> {};

// A reply short of the 128 bytes asked for fails its block, like a failed
// command: the rest of the block would otherwise keep bytes that are not
// the radio's. A longer one gives the 128 asked for.
TEST_P(ArrayReply, FailsShortOfTheBlockAndCopiesNoMoreThanAsked) {
  const ArrayCase c = GetParam();
  CoreRadio device(kProductTamso, [&](const std::vector<uint8_t>& request,
                                      std::vector<uint8_t>& reply, SimRadioCore& core) {
    if ((request[0] & 0x3F) != OP_READ_ARRAY || reply.size() < 4) return;
    const int address = request[1] << 8 | request[2];
    const int n = std::min(c.replyCount, kImageSize - address);
    reply.resize(4);
    reply[3] = static_cast<uint8_t>(n);
    reply.insert(reply.end(), core.memory.Data() + address, core.memory.Data() + address + n);
  });
  const std::vector<uint8_t> radio = RandomBytes(31);
  device.SetMemory(radio);
  Link link(kProductTamso);
  const std::vector<uint8_t> before = RandomBytes(32);
  link.image.WriteBlock(0, before.data(), kImageSize);
  ASSERT_TRUE(link.port.Open(device.Path(), 9600));
  TransferWorker worker(link.radio, link.image, link.port);
  TransferFields f = link.Fields();
  f.arrayFlag = true;

  worker.Start(f);
  worker.WaitUntilEnded();

  const bool whole = c.replyCount >= kArrayBlockSize;
  EXPECT_EQ(worker.LastOutcome().result, whole ? kTransferCompleted : kTransferFailed);
  std::vector<Req> expected;
  AppendBlocks(expected, OP_READ_ARRAY, whole ? 16 : 1, 128);
  expected.push_back({OP_RESET});
  EXPECT_EQ(device.Log(), expected);
  const std::vector<uint8_t> image(link.image.Data(), link.image.Data() + kImageSize);
  EXPECT_EQ(image, whole ? radio : before) << "a failed block copies nothing";
}

INSTANTIATE_TEST_SUITE_P(Lengths, ArrayReply,
                         testing::Values(ArrayCase{"Short", 100}, ArrayCase{"OneByte", 1},
                                         ArrayCase{"OneShort", 127}, ArrayCase{"Exact", 128},
                                         ArrayCase{"MoreThanAsked", 200},
                                         ArrayCase{"MostAReplyCarries", 251}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArrayReply, AnEmptyArrayIsAFailure) {
  CoreRadio device(kProductTamso, [](const std::vector<uint8_t>& request,
                                     std::vector<uint8_t>& reply, SimRadioCore&) {
    if ((request[0] & 0x3F) != OP_READ_ARRAY || reply.size() < 4) return;
    const int address = request[1] << 8 | request[2];
    if (address < 256) return;
    reply.resize(4);
    reply[3] = 0;
  });
  Link link(kProductTamso);
  ASSERT_TRUE(link.port.Open(device.Path(), 9600));
  TransferWorker worker(link.radio, link.image, link.port);
  TransferFields f = link.Fields();
  f.arrayFlag = true;
  worker.Start(f);
  worker.WaitUntilEnded();
  EXPECT_EQ(worker.LastOutcome().result, kTransferFailed);
  const std::vector<Req> log = device.Log();
  EXPECT_EQ(log, (std::vector<Req>{{OP_READ_ARRAY, 0}, {OP_READ_ARRAY, 128}, {OP_READ_ARRAY, 256},
                                   {OP_RESET}}));
}

}  // namespace
