// A transfer host that gives only what a transfer cannot do without
// (telling the user, answering questions, running the progress display)
// runs the real read and write commands against the simulated radio over a
// pseudo-terminal, and answers the questions by identifier alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "messagequeue.h"
#include "params.h"
#include "transfer_rig.h"

namespace {

using Asked = std::pair<QuestionId, std::string>;  // the identifier, "caption:text"

// OK to the questions listed in okTo, Cancel to any other; no window, no
// status, nothing paused while a transfer runs.
class LeanHost : public TransferHost, private ProgressView {
 public:
  void Attach(TransferFlows& flows) { flows_ = &flows; }

  std::set<QuestionId> okTo;
  std::vector<Asked> asked;
  std::vector<std::string> told;  // "caption:text"
  MessageQueue queue;             // the window the worker posts to

  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon) override {
    told.push_back(caption + ":" + text);
  }
  bool AskOkCancel(QuestionId question, const std::string& text, const std::string& caption,
                   PromptIcon) override {
    asked.emplace_back(question, caption + ":" + text);
    return okTo.count(question) != 0;
  }
  void RunTransfer(const ProgressSetup&, const std::function<bool()>& startWorker) override {
    if (startWorker()) PumpTransferProgress(queue, *flows_, *this);
  }
  void DeliverPendingMessages() override { DeliverQueued(queue, *flows_, *this); }

 private:
  void SetProgress(int) override {}
  void SetCloseMode() override {}
  void SetActionText(const std::string&) override {}
  void CloseProgress() override {}

  TransferFlows* flows_ = nullptr;
};

struct LeanRig : SharedObjects {
  explicit LeanRig(const BuildConfig& b)
      : SharedObjects(b.productId),
        build(b),
        sim(b.productId),
        flows(RadioObjectsOf(*this, build), state, host, &host.queue) {
    info.SelectModel(build.productId);
    host.Attach(flows);
    if (sim.Start()) state.portNumber = port.Ports().AddExtraDevice(sim.DevicePath());
    std::vector<uint8_t> bytes = RandomBytes(60);
    PutProductId(bytes, info.GetParamAddress(kParamProductId), build.productId);
    sim.SetMemory(bytes);
  }
  ~LeanRig() { flows.FinishPreviousTransfer(); }

  std::vector<uint8_t> ImageBytes() const { return {image.Data(), image.Data() + kImageSize}; }
  void FillImage(uint32_t seed) {
    std::vector<uint8_t> bytes = RandomBytes(seed);
    PutProductId(bytes, info.GetParamAddress(kParamProductId), build.productId);
    image.WriteBlock(0, bytes.data(), kImageSize);
  }
  int BlockCommands() {
    const std::vector<Req> log = Summarise(sim.Requests());
    return static_cast<int>(std::count_if(log.begin(), log.end(), [](const Req& r) {
      return r.command == OP_READ_BLOCK || r.command == OP_READ_ARRAY ||
             r.command == OP_WRITE_BLOCK || r.command == OP_WRITE_ARRAY;
    }));
  }

  BuildConfig build;
  SimulatedRadio sim;
  TransferState state;
  LeanHost host;
  TransferFlows flows;
};

const Asked kReadQuestion{QuestionId::kReadOverEditData,
                          "Read From Radio?:All current edit data will be lost."};
const Asked kUnreadQuestion{QuestionId::kWriteUnreadRadio,
                            "Warning:Radio has not been read in this session. Continue?"};
const Asked kRateQuestion{
    QuestionId::kContinueAtDefaultRate,
    "Set baudrate:Unable to increase radio baudrate. Continue at default baud-rate?"};

TEST(LeanHost, ReadsThenWritesTheWholeRadio) {
  LeanRig rig(BuildConfig::ForFamily("Kestal", false));
  rig.host.okTo = {QuestionId::kReadOverEditData};

  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());

  rig.FillImage(61);
  const std::vector<uint8_t> image = rig.ImageBytes();
  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.sim.Memory(), image);

  EXPECT_EQ(rig.host.asked, std::vector<Asked>{kReadQuestion}) << "the write asks nothing";
  EXPECT_TRUE(rig.host.told.empty());
}

// The engineering build's arrays mark reaches the transfer as its state,
// with nothing asked of the host.
TEST(LeanHost, TheArraysMarkIsTheTransfersState) {
  for (bool checked : {false, true}) {
    SCOPED_TRACE(checked);
    LeanRig rig(BuildConfig::ForFamily("Tamso", true));
    rig.host.okTo = {QuestionId::kReadOverEditData};
    rig.state.arraysChecked = checked;
    ASSERT_TRUE(rig.flows.ReadRadio());
    rig.flows.FinishPreviousTransfer();
    EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
    const std::vector<Req> log = Summarise(rig.sim.Requests());
    const int arrays = static_cast<int>(std::count(log.begin(), log.end(), Req{OP_READ_ARRAY, 0}));
    const int blocks = static_cast<int>(std::count(log.begin(), log.end(), Req{OP_READ_BLOCK, 0}));
    EXPECT_EQ(arrays, checked ? 1 : 0);
    EXPECT_EQ(blocks, checked ? 0 : 1);
  }
}

struct AnswerCase {
  const char* name;
  const char* family;
  int direction;
  bool radioRead;  // the radio was read earlier in the session
  uint32_t maxBdRate;
  int nack;        // the radio refuses this command, -1 none
  std::set<QuestionId> okTo;
  std::vector<Asked> asked;
  bool transferred;
};

class AnsweredByIdentifier : public testing::TestWithParam<AnswerCase> {};

TEST_P(AnsweredByIdentifier, TheCommandGoesOnOnlyPastQuestionsAnsweredOk) {
  const AnswerCase& c = GetParam();
  LeanRig rig(BuildConfig::ForFamily(c.family, false));
  rig.state.maxBdRate = c.maxBdRate;
  rig.FillImage(62);
  if (c.radioRead) rig.radio.CountRadioRead();
  SimFaults faults;
  faults.nackOpcode = c.nack;
  rig.sim.SetFaults(faults);
  rig.host.okTo = c.okTo;
  const std::vector<uint8_t> radio = rig.sim.Memory(), image = rig.ImageBytes();

  const bool started =
      c.direction == kDirectionRead ? rig.flows.ReadRadio() : rig.flows.WriteRadio();
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(started, c.transferred);
  EXPECT_EQ(rig.host.asked, c.asked);
  EXPECT_TRUE(rig.host.told.empty());
  if (!c.transferred) {
    EXPECT_EQ(rig.BlockCommands(), 0);
    EXPECT_EQ(rig.sim.Memory(), radio);
    EXPECT_EQ(rig.ImageBytes(), image);
    return;
  }
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  if (c.direction == kDirectionRead) {
    EXPECT_EQ(rig.ImageBytes(), radio);
  } else {
    EXPECT_EQ(rig.sim.Memory(), image);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Questions, AnsweredByIdentifier,
    testing::Values(
        AnswerCase{"ReadDeclined", "Kestal", kDirectionRead, false, 9600, -1, {},
                   {kReadQuestion}, false},
        AnswerCase{"UnreadRadioWriteDeclined", "Kestal", kDirectionWrite, false, 9600, -1,
                   {QuestionId::kReadOverEditData}, {kUnreadQuestion}, false},
        AnswerCase{"UnreadRadioWriteAccepted", "Kestal", kDirectionWrite, false, 9600, -1,
                   {QuestionId::kWriteUnreadRadio}, {kUnreadQuestion}, true},
        AnswerCase{"DefaultRateDeclined", "Pinto", kDirectionRead, false, 57600,
                   OP_SET_BAUD_RATE, {QuestionId::kReadOverEditData},
                   {kReadQuestion, kRateQuestion}, false},
        AnswerCase{"DefaultRateAccepted", "Pinto", kDirectionRead, false, 57600,
                   OP_SET_BAUD_RATE,
                   {QuestionId::kReadOverEditData, QuestionId::kContinueAtDefaultRate},
                   {kReadQuestion, kRateQuestion}, true},
        AnswerCase{"ReadRadioWriteAsksNothing", "Kestal", kDirectionWrite, true, 9600, -1, {}, {},
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
