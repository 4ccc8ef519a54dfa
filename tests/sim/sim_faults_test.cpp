// The faults a simulated radio plays, its request log, and its line across
// the programmer closing and reopening the port.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "sim_fixture.h"
#include "simoptions.h"

namespace {

using Clock = std::chrono::steady_clock;

const Bytes kVersion = {0x00};
const Bytes kReadBlock = {0x03, 0x00, 0x10};
const Bytes kWriteByte = {0x21, 0x00, 0x40, 0x55};

struct SilenceCase {
  const char* name;
  SimFaults faults;
  std::vector<Bytes> requests;
  std::vector<bool> answered;
};

SimFaults Silent(int after) {
  SimFaults f;
  f.silentAfter = after;
  return f;
}

SimFaults SilentOpcode(int command, int after) {
  SimFaults f;
  f.silentOpcode = command;
  f.silentOpcodeAfter = after;
  return f;
}

const SilenceCase kSilences[] = {
    {"silent_after_2", Silent(2), {kVersion, kReadBlock, kVersion, kReadBlock}, {true, true, false, false}},
    {"silent_from_the_start", Silent(0), {kVersion}, {false}},
    {"block_reads_silent_after_1",
     SilentOpcode(3, 1),
     {kReadBlock, kVersion, kReadBlock, kVersion},
     {true, true, false, true}},
};

class SimSilence : public testing::TestWithParam<SilenceCase> {};

TEST_P(SimSilence, AnswersOnlyWhatTheFaultAllows) {
  const SilenceCase& c = GetParam();
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetFaults(c.faults);
  for (size_t i = 0; i < c.requests.size(); ++i) {
    const auto reply = sim.end->Transact(c.requests[i], c.answered[i] ? 1000 : 200);
    EXPECT_EQ(reply.has_value(), c.answered[i]) << "request " << i;
    if (reply) {
      EXPECT_EQ((*reply)[0], c.requests[i][0]) << "request " << i;
    }
  }
  // Unanswered requests are still in the log, marked so.
  const auto log = sim.radio.Requests();
  ASSERT_EQ(log.size(), c.requests.size());
  for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i].replied, c.answered[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Faults, SimSilence, testing::ValuesIn(kSilences),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimFaultsTest, NackedCommandIsRefusedAndNotCarriedOut) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.nackOpcode = 33;
  sim.radio.SetFaults(f);
  const int before = sim.radio.MemoryByte(0x40);
  EXPECT_EQ(*sim.end->Transact(kWriteByte), Bytes{0x61});
  EXPECT_EQ(sim.radio.MemoryByte(0x40), before);
  EXPECT_EQ(sim.end->Transact(kVersion)->size(), 4u);  // other commands unaffected
  EXPECT_EQ(sim.radio.Counters().nacks, 1);
}

// The second byte write is acknowledged like the others but never reaches
// the memory; the writes before and after it are stored.
TEST(SimFaultsTest, LostWriteIsAcknowledgedOnceWithoutBeingStored) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.lostWrite = {33, 1};
  sim.radio.SetFaults(f);
  const int address[3] = {0x40, 0x41, 0x42};
  const int before = sim.radio.MemoryByte(address[1]);
  for (int a : address) {
    const Bytes write = {0x21, 0x00, static_cast<unsigned char>(a), 0x5A};
    EXPECT_EQ(*sim.end->Transact(write), Bytes{0x21}) << a;
  }
  EXPECT_EQ(sim.radio.MemoryByte(address[0]), 0x5A);
  EXPECT_EQ(sim.radio.MemoryByte(address[1]), before);
  EXPECT_EQ(sim.radio.MemoryByte(address[2]), 0x5A);
  EXPECT_EQ(sim.radio.Counters().nacks, 0);
}

TEST(SimFaultsTest, NackOfStatusKeepsTheModelsBit7) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.nackOpcode = 5;
  sim.radio.SetFaults(f);
  EXPECT_EQ(*sim.end->Transact({0x05}), Bytes{0xC5});
}

struct HangUpCase {
  const char* name;
  int after;  // commands answered before the line drops
};

class SimHangUp : public testing::TestWithParam<HangUpCase> {};

TEST_P(SimHangUp, ClosesTheLineAfterNCommands) {
  const int after = GetParam().after;
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.hangUpAfter = after;
  sim.radio.SetFaults(f);
  for (int i = 0; i < after; ++i) ASSERT_TRUE(sim.end->Transact(kVersion)) << i;
  if (after == 0) {
    ASSERT_TRUE(sim.end->SendRequest(kVersion));
  }
  EXPECT_TRUE(sim.end->LineDropped(1000));
  EXPECT_FALSE(sim.end->NextReply(100));
  EXPECT_TRUE(sim.radio.Counters().hungUp);
  EXPECT_FALSE(sim.radio.IsServing());
  EXPECT_EQ(sim.radio.Requests().size(), static_cast<size_t>(after == 0 ? 1 : after));

  // Started again, it serves a new line.
  sim.radio.SetFaults({});
  ASSERT_TRUE(sim.radio.Start());
  ProgramEnd again(sim.radio.DevicePath());
  ASSERT_TRUE(again.ok());
  EXPECT_TRUE(again.Transact(kVersion));
}

INSTANTIATE_TEST_SUITE_P(Faults, SimHangUp, testing::Values(HangUpCase{"at_once", 0}, HangUpCase{"after_three", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimFaultsTest, DroppingEveryByteLeavesTheLineQuiet) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.dropProbability = 1.0;
  sim.radio.SetFaults(f);
  ASSERT_TRUE(sim.end->SendRequest(kVersion));
  ASSERT_TRUE(sim.radio.WaitForRequests(1, 10000));
  EXPECT_TRUE(sim.end->RawUntilQuiet(150).empty());
}

TEST(SimFaultsTest, CorruptingEveryByteSpoilsTheFrame) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.corruptProbability = 1.0;
  f.seed = 7;
  sim.radio.SetFaults(f);
  ASSERT_TRUE(sim.end->SendRequest(kVersion));
  const Bytes raw = sim.end->RawUntilQuiet(150);
  EXPECT_EQ(raw.size(), 9u);  // 7E 02 04 00 03 00 00 cs 7F, every byte changed
  EXPECT_NE(raw.front(), 0x7E);
  EXPECT_NE(raw.back(), 0x7F);
}

TEST(SimFaultsTest, NoiseBeforeRepliesIsSkippable) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.noiseBytes = 40;
  f.seed = 3;
  sim.radio.SetFaults(f);
  const auto reply = sim.end->Transact(kVersion);
  ASSERT_TRUE(reply);
  EXPECT_EQ(*reply, (Bytes{0x00, 0x03, 0x00, 0x00}));
  const Bytes raw = sim.end->RawUntilQuiet(50);
  ASSERT_EQ(raw.size(), 40u + 9u);
  for (size_t i = 0; i < 40; ++i) {
    EXPECT_TRUE(raw[i] != 0x7E && raw[i] != 0xAA && raw[i] != 0xCC) << i;
  }
}

// Lower bounds only: a deliberate wait can make a reply late, never early.
TEST(SimFaultsTest, DelayedReplyTakesAtLeastTheDelay) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.replyDelayMs = 120;
  sim.radio.SetFaults(f);
  const auto start = Clock::now();
  ASSERT_TRUE(sim.end->Transact(kVersion));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(120));
}

TEST(SimFaultsTest, PacedLineTakesItsWireTime) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.pace = true;
  sim.radio.SetFaults(f);
  const auto start = Clock::now();
  for (int block = 0; block < 8; ++block) {
    ASSERT_TRUE(sim.end->Transact({0x03, 0x00, static_cast<uint8_t>(16 * block)}));
  }
  // 8 x (8-byte request + 24-byte reply) at 9600 baud, 10 bits a byte.
  EXPECT_GE(Clock::now() - start, std::chrono::microseconds(8 * 32 * 10 * 1000000LL / 9600));
}

TEST(SimLog, RecordsEveryRequestInOrder) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  const std::vector<Bytes> sent = {kVersion, {0x39}, {0x02, 0x00, 0x00}, kWriteByte, {0x34, 0x08, 0x04}, {0x3F}};
  for (const Bytes& r : sent) ASSERT_TRUE(sim.end->Transact(r));
  const auto log = sim.radio.Requests();
  ASSERT_EQ(log.size(), sent.size());
  for (size_t i = 0; i < sent.size(); ++i) {
    Bytes expected = sent[i];
    expected[0] |= 0x80;  // as received, request flag and all
    EXPECT_EQ(log[i].payload, expected) << i;
    EXPECT_EQ(log[i].command, sent[i][0]) << i;
  }
  sim.radio.ClearRequests();
  EXPECT_TRUE(sim.radio.Requests().empty());
}

TEST(SimLog, DamagedOrUnflaggedFramesAreNotRequests) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->SendRaw({0x7E, 0x02, 0x01, 0x80, 0x00, 0x7F}));  // checksum should be 7F
  ASSERT_TRUE(sim.end->SendRaw({0x7E, 0x02, 0x01, 0x00, 0xFF, 0x7F}));  // a reply, not a request
  EXPECT_FALSE(sim.end->NextReply(200));
  ASSERT_TRUE(sim.end->Transact(kVersion));
  EXPECT_EQ(sim.radio.Counters().badFrames, 2);
  EXPECT_EQ(sim.radio.Requests().size(), 1u);
}

TEST(SimLine, ServesAcrossCloseAndReopen) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact(kVersion));
  sim.end->Close();
  for (int round = 0; round < 3; ++round) {
    ProgramEnd again(sim.radio.DevicePath());
    ASSERT_TRUE(again.ok());
    EXPECT_TRUE(again.Transact(kReadBlock)) << round;
  }
  EXPECT_TRUE(sim.radio.IsServing());
}

TEST(SimLine, RequestObserverSeesEachRequest) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  std::mutex m;
  std::vector<uint8_t> seen;
  sim.radio.SetRequestObserver([&](const SimRequest& r) {
    std::lock_guard<std::mutex> lock(m);
    seen.push_back(r.command);
  });
  ASSERT_TRUE(sim.end->Transact(kVersion));
  ASSERT_TRUE(sim.end->Transact(kReadBlock));
  sim.radio.Stop();
  EXPECT_EQ(seen, (std::vector<uint8_t>{0, 3}));
}

}  // namespace

namespace {

TEST(SimFaultsTest, EchoingLeadHandsEveryByteBackAheadOfTheReply) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  SimFaults f;
  f.echo = true;
  sim.radio.SetFaults(f);
  const Bytes stray = {'V', 'o', 'r', 'n'};
  ASSERT_TRUE(sim.end->SendRaw(stray));
  ASSERT_TRUE(sim.end->SendRequest(kVersion));
  ASSERT_TRUE(sim.radio.WaitForRequests(1, 10000));
  const Bytes raw = sim.end->RawUntilQuiet(150);
  // The stray bytes, the request frame as sent, then the radio's reply.
  ASSERT_GT(raw.size(), stray.size() + 9u);
  EXPECT_EQ(Bytes(raw.begin(), raw.begin() + 4), stray);
  EXPECT_EQ(raw[4], 0x7E);
  EXPECT_EQ(raw.back(), 0x7F);
  EXPECT_EQ(sim.radio.Counters().replies, 1);
}

TEST(SimFaultsTest, EchoOptionParses) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--echo"}, o, error)) << error;
  EXPECT_TRUE(o.faults.echo);
  EXPECT_FALSE(SimOptions{}.faults.echo);
}

}  // namespace
