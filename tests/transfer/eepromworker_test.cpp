// The EEPROM editor's Read All and Write All against the simulated radio
// over a pseudo-terminal: what reaches the radio, what the working copy
// and the application image hold afterwards, a radio falling silent, and
// that the main window's finishing step waits for this worker too.
#include <gtest/gtest.h>

#include "eeprom_text.h"
#include "eepromworker.h"
#include "messagequeue.h"
#include "messages.h"
#include "transfer_rig.h"

namespace {

SimFaults Silent() {
  SimFaults f;
  f.silentAfter = 0;
  return f;
}

// The editor window without widgets: its message queue, its cancel event
// and its closing steps, recorded.
struct EditorSide {
  explicit EditorSide(WorkerLane& lane) : lane(lane), worker(lane) {}
  bool Start(int direction, EEbuffer& copy) {
    WorkerLane::Ending ending;
    ending.deliverPending = [this] {
      QueuedMessage m;
      while (window.Take(m, 0))
        if (m.message == WM_TRANSFER_CLOSED) lane.Closed(m.lParam);
    };
    ending.closingSteps = [this](const TransferOutcome& o) {
      outcomes.push_back(o);
      log = EepromLogEnd(worker.Direction(), o);
    };
    log = EepromLogStart(direction);
    return worker.Start(direction, copy, &window, cancel, std::move(ending));
  }
  WorkerLane& lane;
  EepromWorker worker;
  MessageQueue window;
  Event cancel;
  std::vector<TransferOutcome> outcomes;
  std::string log;
};

struct EepromRig : Rig {
  EepromRig() : Rig(BuildConfig::ForFamily("Kestal", false)), side(flows.Lane()) {
    FillRadio(21);
    FillImage(22, kProductKestal);
    EXPECT_TRUE(flows.PortCheck());
    sim.ClearRequests();
  }
  EditorSide side;
};

std::vector<uint8_t> Bytes(const EEbuffer& b) { return {b.Data(), b.Data() + b.GetLength()}; }

TEST(EepromWorker, WriteAllPutsTheWorkingCopyIntoTheRadioBlockByBlockInTestMode) {
  EepromRig rig;
  const std::vector<uint8_t> image = rig.ImageBytes();
  EEPROM copy;
  const std::vector<uint8_t> bytes = RandomBytes(23);
  copy.WriteBlock(0, bytes.data(), kImageSize);

  ASSERT_TRUE(rig.side.Start(kDirectionWrite, copy));
  rig.flows.FinishPreviousTransfer();  // the main window's finishing step

  EXPECT_EQ(rig.sim.Memory(), bytes);
  EXPECT_EQ(rig.ImageBytes(), image) << "the application image is not the worker's";
  std::vector<Req> expected;
  for (int a = 0; a < kImageSize; a += 16) {
    expected.push_back({OP_SET_TEST_MODE, 1});
    expected.push_back({OP_WRITE_BLOCK, a});
  }
  expected.push_back({OP_RESET});
  EXPECT_EQ(Summarise(rig.sim.Requests()), expected);
  ASSERT_EQ(rig.side.outcomes.size(), 1u);
  EXPECT_EQ(rig.side.outcomes[0].result, kTransferCompleted);
  EXPECT_EQ(rig.side.log, "Writing radio EEPROM...OK");
}

TEST(EepromWorker, ReadAllFillsTheWorkingCopyAndLeavesTheApplicationImage) {
  EepromRig rig;
  const std::vector<uint8_t> image = rig.ImageBytes();
  EEPROM copy;
  ASSERT_TRUE(rig.side.Start(kDirectionRead, copy));
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(Bytes(copy), rig.sim.Memory());
  EXPECT_EQ(rig.ImageBytes(), image);
  std::vector<Req> expected;
  AppendBlocks(expected, OP_READ_BLOCK, 128, 16);
  expected.push_back({OP_RESET});
  EXPECT_EQ(Summarise(rig.sim.Requests()), expected);
  EXPECT_EQ(rig.side.log, "Reading radio EEPROM...OK");
}

TEST(EepromWorker, ARadioFallingSilentDuringWriteAllFailsTheRunAndItsReset) {
  EepromRig rig;
  const std::vector<uint8_t> before = rig.sim.Memory();
  SimFaults silent;
  silent.silentAfter = 10;  // five blocks, each after its test-mode command
  rig.sim.SetFaults(silent);
  EEPROM copy;
  const std::vector<uint8_t> bytes = RandomBytes(24);
  copy.WriteBlock(0, bytes.data(), kImageSize);

  ASSERT_TRUE(rig.side.Start(kDirectionWrite, copy));
  rig.flows.FinishPreviousTransfer();

  ASSERT_EQ(rig.side.outcomes.size(), 1u);
  EXPECT_EQ(rig.side.outcomes[0].result, kTransferFailed);
  EXPECT_TRUE(rig.side.outcomes[0].resetFailed);
  EXPECT_EQ(rig.side.log, "Writing radio EEPROM...Fail");
  const std::vector<uint8_t> memory = rig.sim.Memory();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 80, memory.begin()));
  EXPECT_TRUE(std::equal(before.begin() + 80, before.end(), memory.begin() + 80));
}

TEST(EepromWorker, TheMainPortCheckWaitsForItAndRunsItsClosingStepsFirst) {
  EepromRig rig;
  SimFaults slow;
  slow.replyDelayMs = 2;
  rig.sim.SetFaults(slow);
  EEPROM copy;
  ASSERT_TRUE(rig.side.Start(kDirectionRead, copy));
  rig.side.cancel.Set();  // the progress dialog's Cancel: the user goes on at once
  ASSERT_TRUE(rig.flows.PortCheck());
  EXPECT_FALSE(rig.flows.Worker().IsRunning());
  ASSERT_EQ(rig.side.outcomes.size(), 1u) << "its closing steps ran before the next command";
  EXPECT_EQ(rig.side.outcomes[0].result, kTransferCancelled);
  EXPECT_EQ(rig.side.log, "Reading radio EEPROM...Fail");
  int id = 0;
  ASSERT_TRUE(rig.radio.ReadProductId(id));
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], Req{OP_RESET}) << "the reset came before the next command";
  EXPECT_FALSE(rig.flows.ClosePending());
}

TEST(EepromWorker, OneAddressAsAByteOrAWord) {
  EepromRig rig;
  const std::vector<uint8_t> radio = rig.sim.Memory();
  EEPROM copy;
  ASSERT_TRUE(EeReadAddress(rig.radio, copy, 101, kEeData8Bit));
  EXPECT_EQ(copy.GetByte(101), radio[101]);
  ASSERT_TRUE(EeReadAddress(rig.radio, copy, 200, kEeData16Bit));
  EXPECT_EQ(copy.GetWord(200), radio[200] << 8 | radio[201]);

  copy.SetWord(300, 0x1234);
  ASSERT_TRUE(EeWriteAddress(rig.radio, copy, rig.image, 300, kEeData16Bit));
  EXPECT_EQ(rig.sim.MemoryByte(300), 0x12);
  EXPECT_EQ(rig.sim.MemoryByte(301), 0x34);
  EXPECT_EQ(rig.image.GetWord(300), 0x1234) << "a written address reaches the image too";
  copy.SetByte(5, 0x77);
  ASSERT_TRUE(EeWriteAddress(rig.radio, copy, rig.image, 5, kEeData8Bit));
  EXPECT_EQ(rig.sim.MemoryByte(5), 0x77);

  rig.sim.SetFaults(Silent());
  EXPECT_FALSE(EeReadAddress(rig.radio, copy, 0, kEeData8Bit));
  EXPECT_FALSE(EeWriteAddress(rig.radio, copy, rig.image, 0, kEeData16Bit));
}

}  // namespace
