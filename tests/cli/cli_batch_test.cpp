// vornprog batch against one simulated radio that the test's dealer
// switches off and replaces by the next radio from its boxes.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "batchlog.h"
#include "cli_fixture.h"
#include "file_size_limit.h"
#include "params.h"
#include "radio.h"

namespace {

// Whole transfers each end with a reset: the batch's read, write and
// read-back.
constexpr int kResetsPerRadio = 3;

class CliBatch : public CliTest {
 protected:
  // Plays the dealer on the radio's own thread: after a radio's last reset
  // it is switched off; once the batch has asked twice in vain, the next
  // radio is connected and switched on.
  void PlayDealer(SimulatedRadio& radio, std::vector<Bytes> boxes) {
    boxes_ = std::move(boxes);
    radio.SetMemory(boxes_[0]);
    radio.SetRequestObserver([this, &radio](const SimRequest& r) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (radio.IsSwitchedOn()) {
        if (r.command == OP_RESET && ++resets_ % kResetsPerRadio == 0) {
          ended_.push_back(radio.Memory());
          radio.SwitchOff();
          unanswered_ = 0;
        }
      } else if (++unanswered_ == 2 && ended_.size() < boxes_.size()) {
        radio.ReplaceRadio(kProductKestal);
        radio.SetMemory(boxes_[ended_.size()]);
        radio.SwitchOn();
      }
    });
  }
  std::vector<Bytes> Ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_;
  }

 private:
  std::mutex mutex_;
  std::vector<Bytes> boxes_;
  std::vector<Bytes> ended_;
  int resets_ = 0;
  int unanswered_ = 0;
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliBatch, TwoRadiosInTurnKeepTheirCalibrationAndAreLogged) {
  SimulatedRadio& radio = StartRadio();
  const Bytes config = RandomImage(50, kProductKestal);
  {
    std::ofstream out(dir.Path("config.mem"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(config.data()), static_cast<std::streamsize>(config.size()));
  }
  const std::vector<Bytes> boxes = {RandomImage(51, kProductKestal), RandomImage(52, kProductKestal)};
  PlayDealer(radio, boxes);

  // The dealer swaps radios as soon as the batch has found one silent.
  const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--count", "2", "--log",
                                dir.Path("log.csv"), "--gone-after", "0", dir.Path("config.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Radio 1 of 2: OK. Switch it off and connect the next radio.\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Radio 2 of 2: OK. Switch it off.\n")) << r.out;

  const std::vector<Bytes> ended = Ended();
  ASSERT_EQ(ended.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(std::equal(ended[i].begin(), ended[i].begin() + 32, boxes[i].begin())) << i;
    EXPECT_TRUE(std::equal(ended[i].begin() + 32, ended[i].end(), config.begin() + 32)) << i;
  }
  const std::vector<std::string> log = Lines(dir.Path("log.csv"));
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "Time,Port,Product ID,Firmware,Version,Ident before,Ident after,Result,Archive");
  for (size_t i = 1; i < 3; ++i) EXPECT_TRUE(Contains(log[i], ",,,OK,")) << log[i];
}

TEST_F(CliBatch, BadArgumentsAreUsageErrorsAndTouchNoRadio) {
  SimulatedRadio& radio = StartRadio();
  for (const char* count : {"0", "x", "100000"}) {
    const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--count", count,
                                  dir.Path("config.mem")});
    EXPECT_EQ(r.status, 2) << count << ": " << r.err;
  }
  for (const char* ms : {"-1", "x", "60001"}) {
    const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--gone-after", ms,
                                  dir.Path("config.mem")});
    EXPECT_EQ(r.status, 2) << ms << ": " << r.err;
  }
  EXPECT_TRUE(radio.Requests().empty());
}

void WriteConfig(const std::string& path, const Bytes& config) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(config.data()), static_cast<std::streamsize>(config.size()));
}

// `batch --log c3.mem c3.mem` would have made the mem-file a log that
// `write` then refuses: the configuration is never the log.
TEST_F(CliBatch, TheConfigurationIsNeverTheLog) {
  SimulatedRadio& radio = StartRadio();
  const Bytes config = RandomImage(53, kProductKestal);
  WriteConfig(dir.Path("c3.mem"), config);
  const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--log", dir.Path("c3.mem"),
                                dir.Path("c3.mem")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "is the configuration's file")) << r.err;
  EXPECT_TRUE(Contains(r.err, ": nothing written")) << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("c3.mem")), config);
  EXPECT_TRUE(radio.Requests().empty());
}

// The port is named as the user gave it, with the reason `info` gives.
TEST_F(CliBatch, APortThatWillNotOpenIsNamedWithItsDeviceAndReason) {
  WriteConfig(dir.Path("config.mem"), RandomImage(54, kProductKestal));
  ToolResult r = RunTool({"batch", "--port", "/dev/no-such-lead", dir.Path("config.mem")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "COM97 is /dev/no-such-lead: No such file or directory")) << r.err;
  EXPECT_FALSE(Contains(r.out, "connect")) << r.out;

  SimulatedRadio& radio = StartRadio();
  const int held = open(radio.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);  // another program has the lead
  r = RunTool({"batch", "--port", radio.DevicePath(), dir.Path("config.mem")});
  close(held);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, " is " + radio.DevicePath() + ": Device or resource busy")) << r.err;
  EXPECT_TRUE(radio.Requests().empty());
}

// A log that fills the disk: said once, and the batch does not ask for a
// radio it will not program.
TEST_F(CliBatch, ALogThatCannotBeWrittenIsSaidOnceAndNoNextRadioIsAskedFor) {
  SimulatedRadio& radio = StartRadio();
  radio.SetMemory(RandomImage(55, kProductKestal));
  WriteConfig(dir.Path("config.mem"), RandomImage(56, kProductKestal));
  std::string log = BatchLogHeader() + "\n";
  BatchRow row{"2026-12-10 10:00:00", "COM7", "5A02", "Kestal UHF CB", "v3.00", "", "", "OK", ""};
  while (log.size() < 2900) log += BatchLogLine(row) + "\n";
  std::ofstream(dir.Path("log.csv"), std::ios::binary) << log;
  ToolResult r;
  {
    FileSizeLimit full(log.size() + 20);
    r = RunTool({"batch", "--port", radio.DevicePath(), "--count", "2", "--log",
                 dir.Path("log.csv"), dir.Path("config.mem")});
  }
  EXPECT_EQ(r.status, 1);
  const std::string said = "cannot write the log";
  const size_t first = r.err.find(said);
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(said, first + 1), std::string::npos) << r.err;
  EXPECT_TRUE(Contains(r.err, "File too large: the batch stops")) << r.err;
  EXPECT_TRUE(Contains(r.out, "Radio 1 of 2: OK. Switch it off.\n")) << r.out;
  EXPECT_FALSE(Contains(r.out, "connect the next radio")) << r.out;
}

// ---- the same tool built for a model with selcall ----

Bytes MerloImage(uint32_t seed) {
  Bytes bytes = RandomImage(seed, kProductMerlo);
  TradioInfo info;
  info.SelectModel(kProductMerlo);
  const int a = info.GetParamAddress(kParamProductId);
  bytes[static_cast<size_t>(a)] = static_cast<unsigned char>(kProductMerlo >> 8);
  bytes[static_cast<size_t>(a) + 1] = static_cast<unsigned char>(kProductMerlo & 0xFF);
  return bytes;
}

std::string IdentHeld(const Bytes& memory) {
  TradioInfo info;
  info.SelectModel(kProductMerlo);
  return BatchIdentText(memory.data() + info.GetParamAddress("Selcall Ident"));
}

class CliMerloBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(radio.Start());
    WriteConfig(dir.Path("config.mem"), MerloImage(300));
  }
  std::vector<std::string> BatchArgs(const std::string& port, int count) const {
    return {"batch", "--port", port, "--first-ident", "10000", "--count", std::to_string(count),
            "--log", dir.Path("log.csv"), "--gone-after", "300", dir.Path("config.mem")};
  }

  SimulatedRadio radio{kProductMerlo};
  TempDir dir;
};

TEST_F(CliMerloBatch, ASecondBatchOnALogInUseIsRefused) {
  SimulatedRadio other(kProductMerlo);
  ASSERT_TRUE(other.Start());
  ToolProcess first(BatchArgs(radio.DevicePath(), 2), "", VORNPROG_MERLO_PATH);
  std::string line;
  ASSERT_TRUE(first.NextLine(line)) << "the first batch holds the log once it asks for a radio";
  EXPECT_EQ(line, "Radio 1 of 2: connect it and switch it on.");

  const ToolResult second = ToolProcess(BatchArgs(other.DevicePath(), 2), "", VORNPROG_MERLO_PATH).Wait();
  EXPECT_EQ(second.status, 1);
  EXPECT_TRUE(Contains(second.err, "is in use by another batch: nothing written")) << second.err;
  EXPECT_TRUE(other.Requests().empty());

  first.Signal(SIGINT);
  first.Wait();
}

// The dealer at the bench: switches a radio off when told, and connects
// the next from the boxes when the batch asks for one and none is on.
class MerloDealer {
 public:
  explicit MerloDealer(SimulatedRadio& radio) : radio_(radio) { Connect(); }
  void Hear(const std::string& line) {
    std::lock_guard<std::mutex> g(mutex_);
    if (line.find("Switch it off") != std::string::npos) radio_.SwitchOff();
    if (line.find("connect it and switch it on") != std::string::npos && !radio_.IsSwitchedOn()) {
      radios_.push_back({boxes_.back(), radio_.Memory()});
      Connect();
    }
  }
  // Each radio's memory as it came out of its box and as it is now.
  std::vector<std::pair<Bytes, Bytes>> Radios() {
    std::lock_guard<std::mutex> g(mutex_);
    std::vector<std::pair<Bytes, Bytes>> all = radios_;
    all.push_back({boxes_.back(), radio_.Memory()});
    return all;
  }

 private:
  void Connect() {
    boxes_.push_back(MerloImage(1000 + static_cast<uint32_t>(boxes_.size())));
    radio_.ReplaceRadio(kProductMerlo);
    radio_.SetMemory(boxes_.back());
    radio_.SwitchOn();
  }
  SimulatedRadio& radio_;
  std::mutex mutex_;
  std::vector<Bytes> boxes_;
  std::vector<std::pair<Bytes, Bytes>> radios_;
};

// SIGKILL at twenty moments drawn from a seeded generator (so a failure
// repeats), counted in requests the radio has received; each time the
// batch is started again on the same log, as a dealer would.
TEST_F(CliMerloBatch, KilledAtTwentyRandomMomentsAndResumedNoIdentIsGivenTwice) {
  MerloDealer dealer(radio);
  std::mt19937 moments(20261211);
  std::uniform_int_distribution<int> requestsUntilKill(1, 450);
  for (int kill = 0; kill < 20; ++kill) {
    const size_t before = radio.Requests().size();
    const int moment = requestsUntilKill(moments);
    ToolProcess batch(BatchArgs(radio.DevicePath(), 500), "", VORNPROG_MERLO_PATH);
    ASSERT_TRUE(batch.Started());
    std::thread listener([&] {
      std::string line;
      while (batch.NextLine(line, 120000)) dealer.Hear(line);
    });
    const bool reached = radio.WaitForRequests(before + static_cast<size_t>(moment), 120000);
    batch.Signal(SIGKILL);
    listener.join();
    const ToolResult r = batch.Wait();
    ASSERT_TRUE(reached) << "kill " << kill << " at " << moment << ":\n" << r.out << r.err;
    EXPECT_EQ(r.status, 128 + SIGKILL) << r.err;
  }

  // No ident is held by two radios.
  std::map<std::string, int> holders;
  int programmed = 0;
  for (const auto& [boxed, now] : dealer.Radios()) {
    if (now == boxed) continue;  // never written
    ++programmed;
    ++holders[IdentHeld(now)];
  }
  for (const auto& [ident, count] : holders) EXPECT_EQ(count, 1) << "ident " << ident;
  // No ident is logged OK twice, and the log reads whole.
  std::ifstream in(dir.Path("log.csv"), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  BatchLogContents contents;
  std::string error;
  ASSERT_TRUE(ParseBatchLog(text, contents, error)) << error;
  EXPECT_FALSE(contents.cutLine);
  std::multiset<std::string> logged;
  for (const BatchRow& row : contents.rows)
    if (row.result == kBatchOk) logged.insert(row.identAfter);
  for (const std::string& ident : logged) EXPECT_EQ(logged.count(ident), 1u) << "ident " << ident;
  // Each ident logged OK is held by at most the one radio it was given to.
  for (const std::string& ident : logged) EXPECT_LE(holders[ident], 1) << ident;
  EXPECT_GE(logged.size(), 3u) << "the kills left the batch room to program radios";
  EXPECT_GE(programmed, 3);
}

}  // namespace
