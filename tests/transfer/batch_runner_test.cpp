// The batch runner against the simulated radio: radios switched off and
// replaced on the same pseudo-terminal, as on a dealer's bench.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "batchrunner.h"
#include "calibration.h"
#include "file_size_limit.h"
#include "params.h"
#include "radio.h"
#include "readarchive.h"
#include "selcall.h"
#include "transfer_rig.h"

namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    char name[] = "/tmp/vorn-batch-test-XXXXXX";
    path = mkdtemp(name);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  std::string path;
};

// One radio waiting in its box: its model and its own memory (its
// calibration is bytes 0 to 31 of it), and faults it plays.
struct BoxedRadio {
  uint32_t product = kProductMerlo;
  std::vector<uint8_t> memory;
  SimFaults faults;
};

std::vector<uint8_t> RadioMemory(uint32_t seed, uint32_t product) {
  std::vector<uint8_t> bytes = RandomBytes(seed);
  PutProductId(bytes, ParamAddressOf(product, kParamProductId), product);
  return bytes;
}

// The dealer: switches each ended radio off, and once the runner has seen
// it gone, connects the next one from the boxes and switches it on.
class Bench : public BatchHost {
 public:
  Bench(SimulatedRadio& sim, std::vector<BoxedRadio> boxes) : sim_(sim), boxes_(std::move(boxes)) {
    Connect();
  }
  bool StopRequested() override { return false; }
  void Prompt(const std::string& text) override { prompts.push_back(text); }
  void RadioEnded(const BatchRow& row, const std::string& prompt) override {
    rows.push_back(row);
    prompts.push_back(prompt);
    programmed.push_back(sim_.Memory());
    sim_.SwitchOff();
  }
  void LogFailed(const std::string& error) override { logErrors.push_back(error); }
  void RadioGone() override {
    sim_.SwitchOff();
    if (next_ < boxes_.size()) Connect();
  }
  // Each poll of an empty port already waits out the reply time-out.
  void PollPause() override {}

  std::vector<BatchRow> rows;
  std::vector<std::string> prompts;
  std::vector<std::vector<uint8_t>> programmed;  // each radio's memory as it ended
  std::vector<std::string> logErrors;

 private:
  void Connect() {
    const BoxedRadio& radio = boxes_[next_++];
    sim_.ReplaceRadio(radio.product);
    sim_.SetMemory(radio.memory);
    sim_.SetFaults(radio.faults);
    sim_.SwitchOn();
  }
  SimulatedRadio& sim_;
  std::vector<BoxedRadio> boxes_;
  size_t next_ = 0;
};

class BatchTest : public ::testing::Test {
 protected:
  BatchTest() : rig(BuildConfig::ForFamily("Merlo", false)), archive(folder.path + "/reads") {
    rig.flows.SetReadArchive(&archive);
    config = RadioMemory(1000, kProductMerlo);
    rig.SetImage(config);
  }

  BatchSummary Run(Bench& bench, const std::string& first, int count) {
    BatchRunner runner(rig.flows, RadioObjectsOf(rig, rig.build), bench);
    BatchSettings settings;
    settings.port = "COM7";
    settings.firstIdent = first;
    settings.count = count;
    settings.logPath = LogPath();
    std::string error;
    EXPECT_TRUE(runner.Prepare(settings, error)) << error;
    return runner.Run();
  }

  std::string LogPath() const { return folder.path + "/batch.csv"; }
  std::vector<BatchRow> LogRows() const {
    std::vector<BatchRow> rows;
    std::string error;
    EXPECT_TRUE(ReadBatchLog(LogPath(), rows, error)) << error;
    return rows;
  }
  std::string IdentOf(const std::vector<uint8_t>& memory) const {
    EEPROM image(static_cast<int>(memory.size()));
    image.WriteBlock(0, memory.data(), static_cast<int>(memory.size()));
    return LoadRadioIdent(image, rig.info);
  }
  // Every byte is the configuration's, but the calibration (the radio's own)
  // and the ident bytes.
  void ExpectProgrammed(const std::vector<uint8_t>& memory, const std::vector<uint8_t>& own) {
    const int ident = rig.info.GetParamAddress("Selcall Ident");
    for (int a = 0; a < kImageSize; ++a) {
      if (a >= ident && a < ident + 4) continue;
      const uint8_t want = a < kCalibrationBytes ? own[a] : config[a];
      ASSERT_EQ(memory[a], want) << "address " << a;
    }
  }

  ScratchFolder folder;
  Rig rig;
  ReadArchive archive;
  std::vector<uint8_t> config;
};

TEST_F(BatchTest, ThreeRadiosKeepTheirCalibrationAndTakeConsecutiveIdents) {
  std::vector<BoxedRadio> boxes;
  for (uint32_t seed : {1u, 2u, 3u}) boxes.push_back({kProductMerlo, RadioMemory(seed, kProductMerlo)});
  Bench bench(rig.sim, boxes);
  const BatchSummary summary = Run(bench, "12345", 3);

  EXPECT_EQ(summary.ok, 3);
  EXPECT_EQ(summary.failed, 0);
  ASSERT_EQ(bench.programmed.size(), 3u);
  const char* idents[] = {"12345", "12346", "12347"};
  for (size_t i = 0; i < 3; ++i) {
    ExpectProgrammed(bench.programmed[i], boxes[i].memory);
    EXPECT_EQ(IdentOf(bench.programmed[i]), idents[i]);
  }
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(logged[i].result, "OK");
    EXPECT_EQ(logged[i].port, "COM7");
    EXPECT_EQ(logged[i].productId, "5A01");
    EXPECT_FALSE(logged[i].firmware.empty());
    EXPECT_FALSE(logged[i].version.empty());
    EXPECT_EQ(logged[i].identBefore, IdentOf(boxes[i].memory));
    EXPECT_EQ(logged[i].identAfter, idents[i]);
    // The archived read is the radio as it came out of its box.
    std::ifstream in(logged[i].archive, std::ios::binary);
    std::vector<uint8_t> archived((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(archived, boxes[i].memory) << logged[i].archive;
  }
  EXPECT_EQ(bench.prompts[1], "Radio 1 of 3: OK, ident 12345. Switch it off and connect the next radio.");
  EXPECT_EQ(bench.prompts.back(), "Radio 3 of 3: OK, ident 12347. Switch it off.");
  // The configuration the user loaded is still the image.
  EXPECT_EQ(rig.ImageBytes(), config);
}

TEST_F(BatchTest, ARadioSilentDuringItsWriteFailsAndTheNextTakesItsIdent) {
  BoxedRadio silent{kProductMerlo, RadioMemory(4, kProductMerlo)};
  silent.faults.silentOpcode = OP_WRITE_BLOCK;
  silent.faults.silentOpcodeAfter = 10;
  BoxedRadio good{kProductMerlo, RadioMemory(5, kProductMerlo)};
  Bench bench(rig.sim, {silent, good});
  const BatchSummary summary = Run(bench, "00098", 1);

  EXPECT_EQ(summary.ok, 1);
  EXPECT_EQ(summary.failed, 1);
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0].result, "failed: the write");
  EXPECT_EQ(logged[1].result, "OK");
  EXPECT_EQ(logged[1].identAfter, "00098");
  EXPECT_EQ(IdentOf(bench.programmed[1]), "00098");
  ExpectProgrammed(bench.programmed[1], good.memory);
}

TEST_F(BatchTest, ARadioOfAnotherModelIsRefusedAndLogged) {
  BoxedRadio other{kProductKestal, RadioMemory(6, kProductKestal)};
  BoxedRadio good{kProductMerlo, RadioMemory(7, kProductMerlo)};
  Bench bench(rig.sim, {other, good});
  const BatchSummary summary = Run(bench, "500", 1);

  EXPECT_EQ(summary.failed, 1);
  EXPECT_EQ(summary.ok, 1);
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0].productId, "5A02");
  EXPECT_EQ(logged[0].result.rfind("refused: the radio is a Kestal", 0), 0u) << logged[0].result;
  EXPECT_TRUE(logged[0].archive.empty());
  EXPECT_EQ(bench.programmed[0], other.memory);  // not touched
  EXPECT_EQ(logged[1].identAfter, "500");
  // Fewer digits than the window shows: the window's own last positions.
  const std::string shown = IdentOf(bench.programmed[1]);
  ASSERT_EQ(shown.size(), static_cast<size_t>(kBatchIdentDigits));
  EXPECT_EQ(shown.substr(kBatchIdentDigits - 3), "500");
}

TEST_F(BatchTest, ResumingFromALogSkipsTheIdentsItLoggedOk) {
  std::string error;
  for (const auto& [ident, result] : std::vector<std::pair<std::string, std::string>>{
           {"12345", "OK"}, {"12346", "failed: the write"}, {"12347", "OK"}}) {
    BatchRow row;
    row.identAfter = ident;
    row.result = result;
    ASSERT_TRUE(AppendBatchLog(LogPath(), row, error)) << error;
  }
  Bench bench(rig.sim, {{kProductMerlo, RadioMemory(8, kProductMerlo)},
                        {kProductMerlo, RadioMemory(9, kProductMerlo)}});
  const BatchSummary summary = Run(bench, "12345", 2);

  EXPECT_EQ(summary.ok, 2);
  EXPECT_EQ(IdentOf(bench.programmed[0]), "12346");
  EXPECT_EQ(IdentOf(bench.programmed[1]), "12348");
  EXPECT_EQ(LogRows().size(), 5u);
}

TEST(BatchIdents, CountUpInTheirDigitsAndRefuseARunThatRunsOut) {
  struct Case {
    const char* first;
    int count;
    bool ok;
  } cases[] = {{"12345", 3, true}, {"99998", 2, true}, {"99998", 3, false}, {"9", 2, false},
               {"0", 10, true},    {"", 1, false},     {"12a", 1, false},   {"123456", 1, false}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(CheckFirstIdent(c.first, c.count, kBatchIdentDigits, error), c.ok)
        << c.first << " x" << c.count;
    EXPECT_EQ(error.empty(), c.ok);
  }
  // A wrong ident is quoted short, its control bytes escaped.
  std::string error;
  ASSERT_FALSE(CheckFirstIdent("1\x1B[2J" + std::string(100000, '7'), 1, kBatchIdentDigits, error));
  EXPECT_EQ(error.find('\x1B'), std::string::npos) << error;
  EXPECT_NE(error.find("not \"1\\x1B[2J777"), std::string::npos) << error;
  EXPECT_LT(error.size(), 200u);
  std::string ident = "00999";
  ASSERT_TRUE(NextIdent(ident));
  EXPECT_EQ(ident, "01000");
  ident = "99";
  EXPECT_FALSE(NextIdent(ident));
}

TEST(BatchLog, LinesRoundTripWithCommasAndQuotes) {
  BatchRow row{"2026-12-10 10:00:00", "COM3", "5A01", "Merlo, \"S\"", "v1.02", "", "00012",
               "refused: the radio is a Kestal, the configuration is for a Merlo", "/a/b.mem"};
  BatchRow back;
  ASSERT_TRUE(ParseBatchLogLine(BatchLogLine(row), back));
  EXPECT_EQ(BatchLogLine(back), BatchLogLine(row));
  EXPECT_EQ(back.firmware, row.firmware);
  EXPECT_EQ(back.result, row.result);
  EXPECT_FALSE(ParseBatchLogLine(BatchLogHeader(), back));
}

TEST(BatchLog, ALogThatIsNotARegularFileIsRefused) {
  ScratchFolder folder;
  std::vector<BatchRow> rows;
  std::string error;
  EXPECT_FALSE(ReadBatchLog(folder.path, rows, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos);
  EXPECT_TRUE(ReadBatchLog(folder.path + "/new.csv", rows, error));
  EXPECT_TRUE(rows.empty());
}

TEST(BatchLog, AFailedAppendSaysWhyAndARowWithCrLfReadsBack) {
  ScratchFolder folder;
  const std::string log = folder.path + "/log.csv";
  BatchRow row{"2026-12-10 10:00:00", "COM3", "5A01", "Merlo", "v1.02", "", "00012", kBatchOk, ""};
  std::string error;
  {
    FileSizeLimit full(40);
    EXPECT_FALSE(AppendBatchLog(log, row, error));
  }
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;

  std::ofstream(log, std::ios::binary) << BatchLogHeader() << "\r\n" << BatchLogLine(row) << "\r\n";
  std::vector<BatchRow> rows;
  ASSERT_TRUE(ReadBatchLog(log, rows, error)) << error;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].archive, "");
  EXPECT_EQ(rows[0].identAfter, "00012");
}

}  // namespace
