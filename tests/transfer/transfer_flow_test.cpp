// The read and write commands against the simulated radio over a real
// pseudo-terminal: what the radio saw, what the image holds, what the
// user was told.
#include <gtest/gtest.h>

#include <algorithm>

#include "memfile.h"
#include "params.h"
#include "portmap.h"
#include "progress.h"
#include "transfer_rig.h"

namespace {

BuildConfig Build(const char* family, bool engineering = false) {
  return BuildConfig::ForFamily(family, engineering);
}

int Count(const std::vector<Req>& log, int command) {
  return static_cast<int>(std::count_if(log.begin(), log.end(),
                                        [&](const Req& r) { return r.command == command; }));
}
int Count(const std::vector<std::string>& log, const std::string& entry) {
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}
int IndexOf(const std::vector<std::string>& log, const std::string& entry, int from = 0) {
  for (size_t i = static_cast<size_t>(from); i < log.size(); ++i)
    if (log[i] == entry) return static_cast<int>(i);
  return -1;
}
bool Contains(const std::vector<std::string>& log, const std::string& entry) {
  return IndexOf(log, entry) >= 0;
}

constexpr const char* kKestalNotice =
    "msg:Radio version check:Your Kestal radio does not support the latest features available "
    "on Kestal-S radios, e.g. NetScan";

// ---- Whole transfers, by build -------------------------------------------

struct FullCase {
  const char* family;
  bool engineering;
  bool arraysChecked;
  bool arrays;  // what the transfer must use
};

class FullTransfer : public testing::TestWithParam<FullCase> {};

TEST_P(FullTransfer, ReadCopiesTheWholeRadioThenResetsIt) {
  const FullCase c = GetParam();
  Rig rig(Build(c.family, c.engineering));
  rig.state.arraysChecked = c.arraysChecked;
  rig.FillRadio(1);
  rig.FillImage(2, rig.build.productId);

  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
  const int pid = rig.info.GetParamAddress(kParamProductId);
  std::vector<Req> expected{{OP_READ_WORD, pid}, {OP_ENTER_PROG_MODE}, {OP_READ_FIRMWARE_TEXT},
                            {OP_GET_VERSION}};
  const int step = c.arrays ? kArrayBlockSize : kBlockSize;
  AppendBlocks(expected, c.arrays ? OP_READ_ARRAY : OP_READ_BLOCK, kImageSize / step, step);
  expected.push_back({OP_RESET});
  EXPECT_EQ(Summarise(rig.sim.Requests()), expected);

  std::vector<int> progress;
  for (int a = step; a <= kImageSize; a += step) progress.push_back(a);
  EXPECT_EQ(rig.host.progress, progress);
  EXPECT_TRUE(rig.host.closedByTransfer) << "a completed transfer closes its dialog";
  EXPECT_EQ(rig.host.pumpedResult, kTransferCompleted);
  EXPECT_EQ(rig.host.setup.caption, "Reading from Radio");
  EXPECT_EQ(rig.host.setup.minimum, 0);
  EXPECT_EQ(rig.host.setup.maximum, 2047);
  EXPECT_EQ(rig.host.setup.cancelEvent, &rig.cancel);
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.radio.RadioReadCount(), 1);
  EXPECT_EQ(rig.host.dataSource, kRadioData);
  EXPECT_EQ(rig.host.Dialogs(), std::vector<std::string>{
                                    "ask:Read From Radio?:All current edit data will be lost."});
  EXPECT_EQ(rig.host.asked, std::vector<QuestionId>{QuestionId::kReadOverEditData});
  ASSERT_EQ(rig.host.ended.size(), 1u);
  EXPECT_EQ(rig.host.ended[0].number, rig.flows.LastOutcome().number);
  EXPECT_EQ(rig.host.ended[0].result, kTransferCompleted);
  EXPECT_FALSE(rig.host.otherThreadTouchedUi);
}

TEST_P(FullTransfer, WriteCopiesTheWholeImageThenStatusThenReset) {
  const FullCase c = GetParam();
  Rig rig(Build(c.family, c.engineering));
  rig.state.arraysChecked = c.arraysChecked;
  rig.FillRadio(3);
  rig.FillImage(4, rig.build.productId);
  rig.radio.CountRadioRead();
  const std::vector<uint8_t> image = rig.ImageBytes();

  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.sim.Memory(), image);
  EXPECT_EQ(rig.ImageBytes(), image);
  const int pid = rig.info.GetParamAddress(kParamProductId);
  std::vector<Req> expected{{OP_READ_WORD, pid},   {OP_READ_WORD, pid},
                            {OP_ENTER_PROG_MODE},  {OP_READ_FIRMWARE_TEXT},
                            {OP_GET_VERSION},      {OP_SET_TEST_MODE, 0}};
  const int step = c.arrays ? kArrayBlockSize : kBlockSize;
  AppendBlocks(expected, c.arrays ? OP_WRITE_ARRAY : OP_WRITE_BLOCK, kImageSize / step, step);
  expected.push_back({OP_WRITE_BYTE, rig.info.GetParamAddress(kParamStatus)});
  expected.push_back({OP_RESET});
  EXPECT_EQ(Summarise(rig.sim.Requests()), expected);
  EXPECT_EQ(rig.host.setup.caption, "Writing to Radio");
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.host.dataSource, kRadioData);
  EXPECT_TRUE(rig.host.Dialogs().empty()) << "no question once the radio was read";
  EXPECT_EQ(rig.radio.RadioReadCount(), 1) << "only reads count";
}

INSTANTIATE_TEST_SUITE_P(Builds, FullTransfer,
                         testing::Values(FullCase{"Kestal", false, false, false},
                                         FullCase{"Tamso", false, false, true},
                                         FullCase{"Pinto", false, false, true},
                                         FullCase{"Pinto", true, false, false},
                                         FullCase{"Tamso", true, true, true}),
                         [](const auto& info) {
                           return std::string(info.param.family) +
                                  (info.param.engineering ? "Engineering" : "") +
                                  (info.param.arraysChecked ? "Arrays" : "");
                         });

// ---- Cancel ---------------------------------------------------------------

struct CancelCase {
  int direction;
  const char* text;
};

class CancelTransfer : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelTransfer, StopsBeforeTheNextBlockAndStillResets) {
  const CancelCase c = GetParam();
  Rig rig(Build("Kestal"));
  rig.FillRadio(5);
  rig.FillImage(6, kProductKestal);
  rig.radio.CountRadioRead();
  const std::vector<uint8_t> radioBefore = rig.sim.Memory(), imageBefore = rig.ImageBytes();
  SimFaults slow;
  slow.replyDelayMs = 3;  // so the worker is still copying when Cancel is clicked
  rig.sim.SetFaults(slow);
  rig.host.cancelAtProgress = 160;

  ASSERT_TRUE(c.direction == kDirectionRead ? rig.flows.ReadRadio() : rig.flows.WriteRadio());
  EXPECT_EQ(rig.host.pumpedResult, -1) << "the click closes the dialog at once";
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCancelled);
  // A write stopped part way also says what the radio now holds.
  EXPECT_EQ(rig.host.actionText, c.direction == kDirectionRead
                                     ? std::string(c.text)
                                     : std::string(c.text) + "\n" + PartialWriteText(""));
  EXPECT_FALSE(rig.cancel.IsSet()) << "the worker resets the event it saw";
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  const int command = c.direction == kDirectionRead ? OP_READ_BLOCK : OP_WRITE_BLOCK;
  const int blocks = Count(log, command);
  EXPECT_GE(blocks, 10);
  EXPECT_LT(blocks, 128);
  const size_t done = static_cast<size_t>(blocks) * kBlockSize;
  const std::vector<uint8_t> radio = rig.sim.Memory(), image = rig.ImageBytes();
  if (c.direction == kDirectionRead) {
    // A cancelled read leaves the image and its source as they were.
    EXPECT_EQ(image, imageBefore);
  } else {
    EXPECT_TRUE(std::equal(radio.begin(), radio.begin() + done, imageBefore.begin()));
    EXPECT_TRUE(std::equal(radio.begin() + done, radio.end(), radioBefore.begin() + done))
        << "nothing after the last block copied changes";
  }
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), Req{OP_RESET});
  if (c.direction == kDirectionWrite) {
    EXPECT_EQ(log[log.size() - 2], (Req{OP_WRITE_BYTE, rig.info.GetParamAddress(kParamStatus)}));
  }
  EXPECT_EQ(Count(rig.host.log, "SetDataSource:2"), c.direction == kDirectionRead ? 0 : 1);
  EXPECT_EQ(rig.radio.RadioReadCount(), c.direction == kDirectionRead ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Directions, CancelTransfer,
                         testing::Values(CancelCase{kDirectionRead, "Reading from radio cancelled"},
                                         CancelCase{kDirectionWrite, "Writing to radio cancelled"}));

// ---- A radio that falls silent ------------------------------------------

struct SilentCase {
  const char* name;
  SimFaults faults;
  bool resetAnswered;
};

SimFaults SilentBlocksAfter(int blocks) {
  SimFaults f;
  f.silentOpcode = OP_READ_BLOCK;
  f.silentOpcodeAfter = blocks;
  return f;
}
SimFaults SilentAfter(int commands) {
  SimFaults f;
  f.silentAfter = commands;
  return f;
}

class SilentRadio : public testing::TestWithParam<SilentCase> {};

TEST_P(SilentRadio, AfterBlockFiveLeavesTheImageAsItWas) {
  const SilentCase c = GetParam();
  Rig rig(Build("Kestal"));
  rig.FillRadio(7);
  rig.FillImage(8, kProductKestal);
  rig.host.SetDataSource(kFileData);
  const std::vector<uint8_t> before = rig.ImageBytes(), radio = rig.sim.Memory();
  rig.sim.SetFaults(c.faults);

  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.ImageBytes(), before) << "no half-read image";
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
  EXPECT_EQ(rig.host.actionText, "Timeout reading from radio");
  EXPECT_TRUE(rig.host.closeMode);
  EXPECT_FALSE(rig.host.closedByTransfer) << "a failed transfer waits for Close";
  EXPECT_EQ(rig.host.progress, (std::vector<int>{16, 32, 48, 64, 80}));
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(Count(log, OP_READ_BLOCK), 6) << "no retries";
  EXPECT_EQ(log.back(), Req{OP_RESET}) << "the radio is still reset";
  EXPECT_EQ(rig.flows.LastOutcome().resetFailed, !c.resetAnswered);
  EXPECT_EQ(Contains(rig.host.log, "msg:Comms Error:Radio Response Timeout. (t)"),
            !c.resetAnswered);
  EXPECT_EQ(rig.host.dataSource, kFileData) << "still the file's data";
  EXPECT_EQ(rig.radio.RadioReadCount(), 1);

  // Once the radio answers again the next read goes through.
  rig.sim.SetFaults({});
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.ImageBytes(), radio);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SilentRadio,
    testing::Values(SilentCase{"BlockReadsOnly", SilentBlocksAfter(5), true},
                    SilentCase{"EverythingAfterwards", SilentAfter(4 + 5), false}),
    [](const auto& info) { return std::string(info.param.name); });

// The lead pulled out part way through a read or a write: the progress
// window and the closing message say the port went, not that the radio
// was slow to answer.
class PulledLead : public testing::TestWithParam<int> {};

TEST_P(PulledLead, SaysThePortWasLost) {
  const int direction = GetParam();
  Rig rig(Build("Kestal"));
  rig.FillRadio(7);
  rig.FillImage(8, kProductKestal);
  SimFaults faults;
  faults.hangUpAfter = 20;  // past the checks, inside the block loop
  rig.sim.SetFaults(faults);

  ASSERT_TRUE(direction == kDirectionRead ? rig.flows.ReadRadio() : rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();

  const std::string lost = PortLostText(PortMap::ComName(rig.state.portNumber));
  EXPECT_NE(lost.find("was lost"), std::string::npos);
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
  EXPECT_TRUE(rig.port.IsLost());
  EXPECT_EQ(rig.host.actionText.substr(0, lost.size()), lost);
  EXPECT_TRUE(Contains(rig.host.log, "msg:Comms Error:" + lost));
  EXPECT_FALSE(Contains(rig.host.log, "msg:Comms Error:Radio Response Timeout. (t)"));
}

INSTANTIATE_TEST_SUITE_P(Directions, PulledLead, testing::Values(kDirectionRead, kDirectionWrite),
                         [](const auto& info) {
                           return std::string(info.param == kDirectionRead ? "Read" : "Write");
                         });

// ---- Checks before a transfer -------------------------------------------

struct RefusalCase {
  const char* name;
  const char* family;       // build
  uint32_t radio;           // simulated radio's model
  uint32_t currentModel;    // model selected before the command
  uint32_t imageProduct;    // product ID in the image
  SimFaults faults;
  int direction;
  std::string dialog;       // the one message shown
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, StopsBeforeProgrammingMode) {
  const RefusalCase& c = GetParam();
  Rig rig(Build(c.family), c.radio);
  rig.info.SelectModel(c.currentModel);
  rig.FillRadio(9);
  rig.FillImage(10, c.imageProduct);
  rig.radio.CountRadioRead();
  rig.sim.SetFaults(c.faults);
  const std::vector<uint8_t> radio = rig.sim.Memory(), image = rig.ImageBytes();

  EXPECT_FALSE(c.direction == kDirectionRead ? rig.flows.ReadRadio() : rig.flows.WriteRadio());

  EXPECT_EQ(rig.host.Dialogs(), std::vector<std::string>{c.dialog});
  EXPECT_EQ(Count(Summarise(rig.sim.Requests()), OP_ENTER_PROG_MODE), 0);
  EXPECT_FALSE(Contains(rig.host.log, "RadioIdentityStale"));
  EXPECT_FALSE(Contains(rig.host.log, "TransferStarting:" + std::to_string(c.direction)));
  EXPECT_TRUE(rig.host.ended.empty()) << "no transfer began, none ends";
  EXPECT_EQ(rig.sim.Memory(), radio);
  EXPECT_EQ(rig.ImageBytes(), image);
  EXPECT_EQ(rig.radio.RadioReadCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    testing::Values(
        RefusalCase{"MerloMemFile", "Kestal", kProductKestal, kProductKestal, kProductMerlo, {},
                    kDirectionWrite, "msg:Current config:Incorrect radio type (5A01)"},
        RefusalCase{"OtherModelsImage", "All", kProductKestal, kProductKestal, kProductDravo, {},
                    kDirectionWrite,
                    "msg:Cross-checking Product ID:Wrong Radio Type (radio is Kestal, config is "
                    "for Dravo)"},
        RefusalCase{"SilentRadioWrite", "Kestal", kProductKestal, kProductKestal, kProductKestal,
                    SilentAfter(0), kDirectionWrite,
                    "msg:Reading Product ID:Radio Response Timeout"},
        RefusalCase{"SilentRadioRead", "Kestal", kProductKestal, kProductKestal, kProductKestal,
                    SilentAfter(0), kDirectionRead,
                    "msg:Reading Product ID:Radio Response Timeout"},
        RefusalCase{"DravoRadioInKestalBuild", "Kestal", kProductDravo, kProductKestal,
                    kProductKestal, {}, kDirectionRead,
                    "msg:Checking Product ID:Incorrect radio type (5A04)"},
        RefusalCase{"SecondProductReadFails", "Kestal", kProductKestal, kProductKestal,
                    kProductKestal, SilentAfter(1), kDirectionWrite,
                    "msg:Reading Product ID:Radio Response Timeout"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadCommand, DeclinedQuestionChangesNothing) {
  Rig rig(Build("Kestal"));
  rig.host.answers[QuestionId::kReadOverEditData] = false;
  EXPECT_FALSE(rig.flows.ReadRadio());
  EXPECT_EQ(Summarise(rig.sim.Requests()), (std::vector<Req>{
                                               {OP_READ_WORD, rig.info.GetParamAddress(kParamProductId)}}));
  EXPECT_EQ(rig.radio.RadioReadCount(), 0);
}

TEST(ReadCommand, FailuresAfterProgrammingModeLeaveTheRadioInIt) {
  struct Case {
    int nack;
    const char* dialog;
  };
  const Case cases[] = {
      {OP_ENTER_PROG_MODE, "msg:Entering Prog Mode:Radio Response Timeout"},
      {OP_READ_FIRMWARE_TEXT, "msg:Read radio error:Failed to read radio type."},
      {OP_GET_VERSION, "msg:Read radio error:Failed to read radio version."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    Rig rig(Build("Kestal"));
    SimFaults f;
    f.nackOpcode = c.nack;
    rig.sim.SetFaults(f);
    EXPECT_FALSE(rig.flows.ReadRadio());
    EXPECT_EQ(rig.host.Dialogs().back(), c.dialog);
    EXPECT_EQ(Count(Summarise(rig.sim.Requests()), OP_RESET), 0);
    EXPECT_FALSE(Contains(rig.host.log, "RunTransfer:Reading from Radio"));
    EXPECT_FALSE(Contains(rig.host.log, "TransferStarting:0"));
    EXPECT_TRUE(rig.host.ended.empty());
    EXPECT_EQ(rig.radio.RadioReadCount(), 0);
  }
}

TEST(WriteCommand, AsksWhenTheRadioWasNotReadThisSession) {
  const std::string question =
      "ask:Warning:Radio has not been read in this session. Continue?";
  {
    Rig rig(Build("Kestal"));
    rig.FillImage(11, kProductKestal);
    rig.host.answers[QuestionId::kWriteUnreadRadio] = false;
    EXPECT_FALSE(rig.flows.WriteRadio());
    EXPECT_EQ(rig.host.Dialogs(), std::vector<std::string>{question});
    EXPECT_EQ(Count(Summarise(rig.sim.Requests()), OP_ENTER_PROG_MODE), 0);
  }
  {
    Rig rig(Build("Kestal"));
    rig.FillImage(12, kProductKestal);
    const std::vector<uint8_t> image = rig.ImageBytes();
    EXPECT_TRUE(rig.flows.WriteRadio());
    rig.flows.FinishPreviousTransfer();
    EXPECT_EQ(rig.host.Dialogs(), std::vector<std::string>{question});
    EXPECT_EQ(rig.sim.Memory(), image);
  }
  {
    // Any read counts, even one cancelled at its first block.
    Rig rig(Build("Kestal"));
    rig.host.cancelAtProgress = 0;
    ASSERT_TRUE(rig.flows.ReadRadio());
    rig.host.cancelAtProgress = -1;
    // Cancel closes the dialog before the worker ends; the image is the
    // worker's until it has.
    rig.flows.FinishPreviousTransfer();
    rig.FillImage(13, kProductKestal);
    EXPECT_TRUE(rig.flows.WriteRadio());
    rig.flows.FinishPreviousTransfer();
    EXPECT_FALSE(Contains(rig.host.Dialogs(), question));
    EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  }
}

TEST(WriteCommand, ProgrammingModeOrVersionFailureIsACommsError) {
  for (int nack : {OP_ENTER_PROG_MODE, OP_GET_VERSION}) {
    SCOPED_TRACE(nack);
    Rig rig(Build("Kestal"));
    rig.FillImage(14, kProductKestal);
    rig.radio.CountRadioRead();
    SimFaults f;
    f.nackOpcode = nack;
    rig.sim.SetFaults(f);
    EXPECT_FALSE(rig.flows.WriteRadio());
    EXPECT_EQ(rig.host.Dialogs(),
              std::vector<std::string>{"msg:Comms Error:Radio Response Timeout."});
    EXPECT_EQ(Count(Summarise(rig.sim.Requests()), OP_WRITE_BLOCK), 0);
  }
}

// ---- Dravo contrast -------------------------------------------------------

TEST(WriteCommand, DravoRadioKeepsItsOwnContrast) {
  for (bool contrastReadable : {true, false}) {
    SCOPED_TRACE(contrastReadable);
    Rig rig(Build("Dravo"));
    rig.FillRadio(15);
    rig.FillImage(16, kProductDravo);
    rig.radio.CountRadioRead();
    const int contrast = rig.info.GetParamAddress(kParamLcdContrast);
    ASSERT_GE(contrast, 0);
    std::vector<uint8_t> radio = rig.sim.Memory();
    radio[static_cast<size_t>(contrast)] = 0x2A;
    rig.sim.SetMemory(radio);
    rig.image.SetByte(contrast, 0x11);
    if (!contrastReadable) {
      SimFaults f;
      f.nackOpcode = OP_READ_BYTE;
      rig.sim.SetFaults(f);
    }
    std::vector<uint8_t> expected = rig.ImageBytes();
    expected[static_cast<size_t>(contrast)] = contrastReadable ? 0x2A : 0x11;

    ASSERT_TRUE(rig.flows.WriteRadio());
    rig.flows.FinishPreviousTransfer();

    EXPECT_EQ(rig.sim.Memory(), expected);
    EXPECT_EQ(rig.ImageBytes(), expected);
    const std::vector<Req> log = Summarise(rig.sim.Requests());
    const auto readByte = std::find(log.begin(), log.end(), Req{OP_READ_BYTE, contrast});
    const auto firstBlock = std::find(log.begin(), log.end(), Req{OP_WRITE_BLOCK, 0});
    const auto testMode = std::find(log.begin(), log.end(), Req{OP_SET_TEST_MODE, 0});
    EXPECT_LT(testMode, readByte);
    EXPECT_LT(readByte, firstBlock);
  }
}

TEST(WriteCommand, KestalRadioContrastIsNotAsked) {
  Rig rig(Build("Kestal"));
  rig.FillImage(17, kProductKestal);
  rig.radio.CountRadioRead();
  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(Count(Summarise(rig.sim.Requests()), OP_READ_BYTE), 0);
}

// ---- Baud rate --------------------------------------------------------------

struct BaudCase {
  const char* name;
  const char* family;
  uint32_t maxBdRate;
  int nack;              // command the radio refuses, -1 none
  bool answer;           // to "Set baudrate"
  bool raised;           // SetRadioBaudRate sent
  bool transferred;
  uint32_t transferRate; // the line rate during the blocks
};

class BaudRate : public testing::TestWithParam<BaudCase> {};

TEST_P(BaudRate, RaisedForTheTransferOnlyWhereTheModelCan) {
  const BaudCase& c = GetParam();
  Rig rig(Build(c.family));
  rig.state.maxBdRate = c.maxBdRate;
  rig.host.answers[QuestionId::kContinueAtDefaultRate] = c.answer;
  rig.FillRadio(18);
  rig.sim.SetCheckLineRate(true);
  SimFaults f;
  f.nackOpcode = c.nack;
  rig.sim.SetFaults(f);
  std::vector<uint32_t> blockRates;
  rig.sim.SetRequestObserver([&](const SimRequest& r) {
    if (r.command == OP_READ_ARRAY || r.command == OP_READ_BLOCK)
      blockRates.push_back(rig.port.CurrentBaudRate());
  });

  EXPECT_EQ(rig.flows.ReadRadio(), c.transferred);
  rig.flows.FinishPreviousTransfer();
  rig.sim.SetRequestObserver(nullptr);

  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(Count(log, OP_SET_BAUD_RATE), c.raised ? 1 : 0);
  if (c.raised) {
    EXPECT_EQ(log[4], (Req{OP_SET_BAUD_RATE, static_cast<int>(c.maxBdRate)}));
  }
  EXPECT_EQ(rig.sim.Counters().rateMismatches, 0);
  EXPECT_EQ(rig.port.CurrentBaudRate(), 9600u);
  EXPECT_EQ(rig.state.currentBaudRate, 9600u);
  EXPECT_EQ(rig.sim.LineRate(), 9600u);
  EXPECT_EQ(Contains(rig.host.Dialogs(),
                     "ask:Set baudrate:Unable to increase radio baudrate. Continue at default "
                     "baud-rate?"),
            c.nack == OP_SET_BAUD_RATE);
  // The host hears the transfer start before the baud-rate question and
  // end once, also when the user gives up at that question.
  EXPECT_EQ(Count(rig.host.log, "TransferStarting:0"), 1);
  EXPECT_EQ(Count(rig.host.log, "TransferEnded:0"), 1);
  EXPECT_LT(IndexOf(rig.host.log, "TransferStarting:0"), IndexOf(rig.host.log, "TransferEnded:0"));
  if (c.nack == OP_SET_BAUD_RATE) {
    EXPECT_LT(IndexOf(rig.host.log, "TransferStarting:0"),
              IndexOf(rig.host.log,
                      "ask:Set baudrate:Unable to increase radio baudrate. Continue at default "
                      "baud-rate?"));
  }
  ASSERT_EQ(rig.host.ended.size(), 1u);
  EXPECT_EQ(rig.host.ended[0].number != 0, c.transferred) << "0: no worker ran";
  if (!c.transferred) return;
  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
  EXPECT_EQ(blockRates, std::vector<uint32_t>(blockRates.size(), c.transferRate));
  EXPECT_FALSE(blockRates.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BaudRate,
    testing::Values(BaudCase{"Pinto57600", "Pinto", 57600, -1, true, true, true, 57600},
                    BaudCase{"Pinto19200", "Pinto", 19200, -1, true, true, true, 19200},
                    BaudCase{"Pinto9600", "Pinto", 9600, -1, true, false, true, 9600},
                    BaudCase{"KestalCannotSwitch", "Kestal", 57600, -1, true, false, true, 9600},
                    BaudCase{"RefusedContinue", "Pinto", 57600, OP_SET_BAUD_RATE, true, true,
                             true, 9600},
                    BaudCase{"RefusedStop", "Pinto", 57600, OP_SET_BAUD_RATE, false, true, false,
                             9600}),
    [](const auto& info) { return std::string(info.param.name); });

// The radio took a rate the computer's port cannot run: going on would
// only end in a time-out blamed on the radio.
TEST(BaudRate, APortThatCannotFollowStopsTheReadAndSaysWhy) {
  Rig rig(Build("Pinto"));
  rig.state.maxBdRate = 31250;
  rig.FillRadio(23);
  rig.FillImage(24, kProductPinto);
  const std::vector<uint8_t> before = rig.ImageBytes();
  SimFaults f;
  f.anyLineRate = true;
  rig.sim.SetFaults(f);

  EXPECT_FALSE(rig.flows.ReadRadio());

  EXPECT_EQ(rig.sim.LineRate(), 31250u) << "the radio did switch";
  EXPECT_EQ(rig.port.CurrentBaudRate(), 9600u);
  EXPECT_EQ(rig.state.currentBaudRate, 9600u);
  const std::vector<std::string> told{
      "ask:Read From Radio?:All current edit data will be lost.",
      "msg:Set baudrate:The radio has switched to 31250 baud, but this computer's serial port "
      "cannot run at that rate. Switch the radio off and on, and choose a lower maximum baud "
      "rate under Comm Port."};
  EXPECT_EQ(rig.host.Dialogs(), told);
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(Count(log, OP_READ_ARRAY) + Count(log, OP_READ_BLOCK), 0);
  EXPECT_EQ(rig.ImageBytes(), before);
  EXPECT_EQ(Count(rig.host.log, "TransferEnded:0"), 1) << "the host resumes what it paused";
  ASSERT_EQ(rig.host.ended.size(), 1u);
  EXPECT_EQ(rig.host.ended[0].number, 0) << "no worker ran";
}

// ---- Damaged and stray replies ----------------------------------------------

struct DamageCase {
  const char* name;
  const char* family;
  SimFaults faults;
  bool completes;
};

SimFaults Damaged(SimOpcodeFault SimFaults::*kind, int opcode, int after) {
  SimFaults f;
  f.*kind = SimOpcodeFault{opcode, after};
  return f;
}
SimFaults StaleReplies(int opcode) {
  SimFaults f;
  f.staleReplyOpcode = opcode;
  return f;
}
SimFaults ShortArrays(int bytes) {
  SimFaults f;
  f.shortArrayBytes = bytes;
  return f;
}

class DamagedReply : public testing::TestWithParam<DamageCase> {};

// A damaged reply is no reply: the read fails by its time limit and the
// image keeps what it had. A late reply for another address is not taken
// for the one awaited.
TEST_P(DamagedReply, NeverReachesTheImage) {
  const DamageCase& c = GetParam();
  Rig rig(Build(c.family));
  rig.FillRadio(25);
  rig.FillImage(26, rig.build.productId);
  rig.host.SetDataSource(kFileData);
  const std::vector<uint8_t> before = rig.ImageBytes();
  rig.sim.SetFaults(c.faults);

  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  if (c.completes) {
    EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
    EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
    EXPECT_EQ(rig.host.dataSource, kRadioData);
  } else {
    EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
    EXPECT_EQ(rig.host.actionText, "Timeout reading from radio");
    EXPECT_EQ(rig.ImageBytes(), before);
    EXPECT_EQ(rig.host.dataSource, kFileData);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DamagedReply,
    testing::Values(
        DamageCase{"FlippedByte", "Kestal", Damaged(&SimFaults::flipByte, OP_READ_BLOCK, 5), false},
        DamageCase{"WrongChecksum", "Kestal", Damaged(&SimFaults::badChecksum, OP_READ_BLOCK, 5),
                   false},
        DamageCase{"FlippedArrayByte", "Tamso", Damaged(&SimFaults::flipByte, OP_READ_ARRAY, 3),
                   false},
        DamageCase{"ShortArray", "Tamso", ShortArrays(100), false},
        DamageCase{"LateBlockReplies", "Kestal", StaleReplies(OP_READ_BLOCK), true},
        DamageCase{"LateArrayReplies", "Tamso", StaleReplies(OP_READ_ARRAY), true}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamagedAckCase {
  const char* name;
  const char* family;
  SimFaults faults;
  int command;
  int blockSize;
};

class DamagedAck : public testing::TestWithParam<DamagedAckCase> {};

// A spoilt acknowledgement is no acknowledgement: the write stops at that
// block, sends nothing more of the image, and still rewrites the status
// byte and resets the radio.
TEST_P(DamagedAck, EndsTheWriteAtThatBlock) {
  const DamagedAckCase& c = GetParam();
  Rig rig(Build(c.family));
  rig.FillRadio(27);
  rig.FillImage(28, rig.build.productId);
  rig.radio.CountRadioRead();
  const std::vector<uint8_t> radioBefore = rig.sim.Memory(), image = rig.ImageBytes();
  rig.sim.SetFaults(c.faults);

  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
  EXPECT_EQ(rig.host.actionText, "Timeout writing to radio\n" + PartialWriteText(""));
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(Count(log, c.command), 6) << "nothing sent after the damaged acknowledgement";
  // The radio stored the sixth block before its acknowledgement was spoilt.
  const size_t done = static_cast<size_t>(6 * c.blockSize);
  const std::vector<uint8_t> radio = rig.sim.Memory();
  const int status = rig.info.GetParamAddress(kParamStatus);
  for (size_t a = 0; a < radio.size(); ++a) {
    if (static_cast<int>(a) == status) continue;
    ASSERT_EQ(radio[a], a < done ? image[a] : radioBefore[a]) << "address " << a;
  }
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], (Req{OP_WRITE_BYTE, status}));
  EXPECT_EQ(log.back(), Req{OP_RESET});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DamagedAck,
    testing::Values(
        DamagedAckCase{"FlippedBlockAck", "Kestal", Damaged(&SimFaults::flipByte, OP_WRITE_BLOCK, 5),
                       OP_WRITE_BLOCK, 16},
        DamagedAckCase{"WrongBlockAckChecksum", "Kestal",
                       Damaged(&SimFaults::badChecksum, OP_WRITE_BLOCK, 5), OP_WRITE_BLOCK, 16},
        DamagedAckCase{"FlippedArrayAck", "Tamso", Damaged(&SimFaults::flipByte, OP_WRITE_ARRAY, 5),
                       OP_WRITE_ARRAY, 128}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BaudRateKept, AWriteAfterARaisedReadRaisesAgain) {
  Rig rig(Build("Pinto"));
  rig.state.maxBdRate = 38400;
  rig.sim.SetCheckLineRate(true);
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  rig.FillImage(19, kProductPinto);
  const std::vector<uint8_t> image = rig.ImageBytes();
  rig.sim.ClearRequests();

  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();

  EXPECT_EQ(rig.sim.Memory(), image);
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(Count(log, OP_SET_BAUD_RATE), 1);
  EXPECT_EQ(Count(log, OP_WRITE_ARRAY), 16);
  EXPECT_EQ(rig.sim.Counters().rateMismatches, 0);
  EXPECT_EQ(rig.port.CurrentBaudRate(), 9600u);
}

// ---- Version notice and the order of the closing steps ----------------------

struct NoticeCase {
  const char* name;
  int major;
  SimFaults faults;
  bool notice;
};

class VersionCheck : public testing::TestWithParam<NoticeCase> {};

TEST_P(VersionCheck, KestalFirmwareBelowThreeGetsTheNotice) {
  const NoticeCase& c = GetParam();
  Rig rig(Build("Kestal"));
  rig.sim.SetVersion(SimVersion{c.major, 0, 0});
  rig.sim.SetFaults(c.faults);
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(Contains(rig.host.log, kKestalNotice), c.notice);
  if (c.notice) {
    EXPECT_EQ(rig.host.log.back(), kKestalNotice) << "the notice comes last";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionCheck,
    testing::Values(NoticeCase{"Version2", 2, {}, true}, NoticeCase{"Version3", 3, {}, false},
                    NoticeCase{"Version2FailedRead", 2, SilentBlocksAfter(3), true},
                    NoticeCase{"Version3FailedRead", 3, SilentBlocksAfter(3), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClosingSteps, RunOnTheUserInterfaceThreadInOrder) {
  Rig rig(Build("Kestal"));
  rig.sim.SetVersion(SimVersion{2, 0, 0});
  SimFaults f;
  f.silentOpcode = OP_RESET;
  rig.sim.SetFaults(f);
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  const std::vector<std::string>& log = rig.host.log;
  const int start = IndexOf(log, "RunTransfer:Reading from Radio");
  ASSERT_GE(start, 0);
  EXPECT_LT(IndexOf(log, "TransferStarting:0"), start);
  const std::vector<std::string> tail(log.begin() + start + 1, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"msg:Comms Error:Radio Response Timeout. (t)\n" +
                                                UnresetReadText(""),
                                            "SetDataSource:2", "StatusChanged",
                                            "TransferEnded:0", kKestalNotice}));
  EXPECT_FALSE(rig.host.otherThreadTouchedUi);
}

// ---- One radio command at a time ------------------------------------------

TEST(NextCommand, WaitsForTheWorkerAndItsClosingSteps) {
  Rig rig(Build("Kestal"));
  rig.FillRadio(20);
  SimFaults f;
  f.silentOpcode = OP_RESET;  // the worker spends a second on the reset
  rig.sim.SetFaults(f);
  rig.host.cancelAtProgress = 16;

  ASSERT_TRUE(rig.flows.ReadRadio());
  EXPECT_TRUE(rig.flows.Worker().IsRunning()) << "Cancel returned before the worker ended";
  EXPECT_TRUE(rig.flows.ClosePending());

  // The user clicks "Read radio" again at once.
  rig.host.cancelAtProgress = -1;
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  const std::vector<Req> log = Summarise(rig.sim.Requests());
  const int pid = rig.info.GetParamAddress(kParamProductId);
  const auto firstReset = std::find(log.begin(), log.end(), Req{OP_RESET});
  const auto secondStart = std::find(log.begin() + 1, log.end(), Req{OP_READ_WORD, pid});
  ASSERT_NE(firstReset, log.end());
  EXPECT_LT(firstReset, secondStart) << "the second command waited for the first worker";
  EXPECT_EQ(secondStart, firstReset + 1) << "nothing of the first transfer after its reset";
  // The first transfer's closing steps ran before the second command asked.
  // (A cancelled read keeps the data source; its closing steps still
  // bring the buttons up to date.)
  const int firstClose = IndexOf(rig.host.log, "TransferEnded:0");
  const int secondAsk = IndexOf(rig.host.log, "ask:Read From Radio?:All current edit data will be lost.",
                                IndexOf(rig.host.log, "RunTransfer:Reading from Radio") + 1);
  EXPECT_GE(firstClose, 0);
  EXPECT_LT(firstClose, secondAsk);
  EXPECT_EQ(Count(rig.host.log, "TransferEnded:0"), 2) << "each transfer closes exactly once";
  EXPECT_EQ(Count(rig.host.log, "SetDataSource:2"), 1) << "only the whole read counts";
  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
}

// ---- A pulled lead ----------------------------------------------------------

TEST(HangUp, EndsWithTheLostPortAndTheNextCommandReopensThePort) {
  Rig rig(Build("Kestal"));
  rig.FillRadio(21);
  SimFaults f;
  f.hangUpAfter = 4 + 10;
  rig.sim.SetFaults(f);

  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();

  // The reset after the failed block goes to a device that has gone: by the
  // closing steps the port knows it, and says so rather than a time-out.
  const std::string lost = PortLostText(PortMap::ComName(rig.state.portNumber));
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
  EXPECT_EQ(rig.host.actionText, lost);
  EXPECT_TRUE(rig.flows.LastOutcome().resetFailed);
  EXPECT_TRUE(Contains(rig.host.log, "msg:Comms Error:" + lost));
  // On a loaded machine the worker may give up on its time limit before
  // the simulator has dropped the line, or before the port's reader has
  // seen it drop: wait for both, as the next command relies on them.
  ASSERT_TRUE(WaitUntil([&] { return rig.sim.Counters().hungUp; }));
  ASSERT_TRUE(WaitUntil([&] { return !rig.port.IsOpen(); }));

  // The lead goes back in: the radio comes back on a fresh device.
  rig.sim.SetFaults({});
  ASSERT_TRUE(rig.sim.Start());
  rig.port.Ports().SetExtraDevices({rig.sim.DevicePath()});
  rig.host.log.clear();
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_TRUE(rig.port.IsOpen());
  EXPECT_EQ(rig.host.log.front(), "PortStateChanged") << "the port check reopened the port";
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
}

TEST(PortCheck, UnopenablePortIsReportedWithItsName) {
  Rig rig(Build("Kestal"));
  rig.state.portNumber = 250;  // maps to nothing
  EXPECT_FALSE(rig.flows.ReadRadio());
  EXPECT_EQ(rig.host.Dialogs(), std::vector<std::string>{"msg:Error:Unable to open COM250."});
  EXPECT_EQ(rig.host.log.back(), "PortStateChanged");
  EXPECT_TRUE(rig.sim.Requests().empty());
}

}  // namespace
