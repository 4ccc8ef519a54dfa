// A batch run on the session's worker lane, as the window starts it: its
// reports arrive as numbered messages, and the lane closes it like a
// transfer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batchlanejob.h"
#include "messages.h"
#include "params.h"
#include "selcall.h"
#include "transfer_rig.h"

namespace {

constexpr int kSafetyNetMs = 30000;

std::vector<uint8_t> MerloMemory(uint32_t seed) {
  std::vector<uint8_t> bytes = RandomBytes(seed);
  PutProductId(bytes, ParamAddressOf(kProductMerlo, kParamProductId), kProductMerlo);
  return bytes;
}

class BatchLaneJobTest : public ::testing::Test {
 protected:
  BatchLaneJobTest() : rig(BuildConfig::ForFamily("Merlo", false)) {
    config = MerloMemory(700);
    rig.SetImage(config);
    rig.sim.SetMemory(MerloMemory(701));
  }

  std::unique_ptr<BatchLaneJob> NewRun() {
    return std::make_unique<BatchLaneJob>(rig.port, rig.radio, rig.info, rig.build, rig.image,
                                          rig.state, nullptr, &window);
  }
  int StartRun(BatchLaneJob& run, const std::string& first, int count) {
    BatchSettings settings;
    settings.port = "COM7";
    settings.firstIdent = first;
    settings.count = count;
    std::string error;
    EXPECT_TRUE(run.Prepare(settings, error)) << error;
    WorkerLane::Ending ending;
    ending.closingSteps = [this](const TransferOutcome&) { closed = true; };
    return run.Start(rig.flows.Lane(), std::move(ending));
  }
  // Hands the window's messages on until onReport says stop or the run
  // has closed; false when neither came.
  bool Pump(BatchLaneJob& run, int number,
            const std::function<bool(const BatchReport&)>& onReport = {}) {
    QueuedMessage m;
    while (window.Take(m, kSafetyNetMs)) {
      if (m.message == WM_TRANSFER_CLOSED) {
        EXPECT_EQ(m.lParam, number);
        rig.flows.Lane().Closed(m.lParam);
        return closed;
      }
      if (m.message == WM_BATCH && m.wParam == kBatchStageReport) {
        stages.push_back(static_cast<BatchStage>(m.lParam));
        continue;
      }
      if (m.message != WM_BATCH || m.wParam == kBatchProgressReport) continue;
      for (const BatchReport& report : run.TakeReports()) {
        reports.push_back(report);
        if (onReport && onReport(report)) return true;
      }
    }
    return false;
  }

  Rig rig;
  std::vector<uint8_t> config;
  MessageQueue window;
  std::vector<BatchReport> reports;
  std::vector<BatchStage> stages;
  bool closed = false;
};

TEST_F(BatchLaneJobTest, RunsOnTheLaneAndReportsTheRadioByMessage) {
  auto run = NewRun();
  const int number = StartRun(*run, "00012", 1);
  ASSERT_NE(number, 0);
  ASSERT_TRUE(Pump(*run, number));
  ASSERT_FALSE(rig.flows.Lane().Busy());

  std::vector<BatchRow> rows;
  for (const BatchReport& report : reports)
    if (report.kind == kBatchRowReport) rows.push_back(report.row);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].result, "OK");
  EXPECT_EQ(rows[0].identAfter, "00012");
  EXPECT_EQ(reports.front().text, "Radio 1 of 1: connect it and switch it on.");
  EXPECT_EQ(reports.back().text, "Radio 1 of 1: OK, ident 00012. Switch it off.");
  EXPECT_EQ(run->Summary().ok, 1);
  // Each of the radio's three transfers is told before its progress starts.
  EXPECT_EQ(stages,
            (std::vector<BatchStage>{BatchStage::kRead, BatchStage::kWrite, BatchStage::kVerify}));

  EEPROM programmed(kImageSize);
  const std::vector<uint8_t> memory = rig.sim.Memory();
  programmed.WriteBlock(0, memory.data(), kImageSize);
  EXPECT_EQ(LoadRadioIdent(programmed, rig.info), "00012");
  const EEPROM& kept = run->Configuration();
  EXPECT_EQ(std::vector<uint8_t>(kept.Data(), kept.Data() + kImageSize), config);
}

TEST_F(BatchLaneJobTest, StopWhileWaitingForARadioEndsTheRunWithNoRow) {
  rig.sim.SwitchOff();
  auto run = NewRun();
  const int number = StartRun(*run, "00012", 2);
  ASSERT_NE(number, 0);
  // It asks for the first radio and keeps polling the silent port.
  ASSERT_TRUE(Pump(*run, number, [](const BatchReport& r) { return r.kind == kBatchPromptReport; }));
  run->RequestStop();
  ASSERT_TRUE(Pump(*run, number));
  const BatchSummary summary = run->Summary();
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(summary.ok + summary.failed, 0);
  for (const BatchReport& report : reports) EXPECT_NE(report.kind, kBatchRowReport);
}

}  // namespace
