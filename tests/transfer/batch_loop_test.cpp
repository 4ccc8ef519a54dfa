// The batch runner against the simulated radio: radios switched off and
// replaced on the same pseudo-terminal, as on a dealer's bench.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "batchloop.h"
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
    ++gone;
    sim_.SwitchOff();
    if (next_ < boxes_.size()) Connect();
  }
  // Each poll of an empty port already waits out the reply time-out.
  void PollPause() override {}

  std::vector<BatchRow> rows;
  std::vector<std::string> prompts;
  std::vector<std::vector<uint8_t>> programmed;  // each radio's memory as it ended
  std::vector<std::string> logErrors;
  int gone = 0;

 protected:
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

  BatchSettings Settings(const std::string& first, int count) const {
    BatchSettings settings;
    settings.port = "COM7";
    settings.firstIdent = first;
    settings.count = count;
    settings.logPath = LogPath();
    // The bench switches each radio off for good: its first silence is it.
    settings.goneAfterSilentMs = 0;
    return settings;
  }
  BatchSummary Run(BatchHost& bench, const std::string& first, int count) {
    return Run(bench, Settings(first, count));
  }
  BatchSummary Run(BatchHost& bench, const BatchSettings& settings) {
    BatchLoop runner(rig.flows, RadioObjectsOf(rig, rig.build), bench);
    std::string error;
    EXPECT_TRUE(runner.Prepare(settings, error)) << error;
    notes = runner.Notes();
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
  // The whole stored ident, as the log shows it.
  std::string StoredIdentOf(const std::vector<uint8_t>& memory) const {
    return BatchIdentText(memory.data() + rig.info.GetParamAddress("Selcall Ident"));
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
  std::vector<std::string> notes;
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
    EXPECT_EQ(logged[i].identBefore, StoredIdentOf(boxes[i].memory));
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
  // Logged as stored: the two positions left empty are digit F.
  EXPECT_EQ(logged[1].identAfter, "FF500");
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
  } cases[] = {{"12345", 3, true}, {"99998", 2, true}, {"99998", 3, false}, {"9", 2, true},
               {"0", 10, true},    {"", 1, false},     {"12a", 1, false},   {"123456", 1, false},
               {"9", 3, true},     {"9999", 2, true},  {"99999", 2, false}, {"1", 99999, true},
               {"1", 100000, false}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(CheckFirstIdent(c.first, c.count, kBatchIdentDigits, error), c.ok)
        << c.first << " x" << c.count;
    EXPECT_EQ(error.empty(), c.ok);
  }
  {
    // A wrong ident is quoted short, its control bytes escaped.
    std::string error;
    ASSERT_FALSE(
        CheckFirstIdent("1\x1B[2J" + std::string(100000, '7'), 1, kBatchIdentDigits, error));
    EXPECT_EQ(error.find('\x1B'), std::string::npos) << error;
    EXPECT_NE(error.find("not \"1\\x1B[2J777"), std::string::npos) << error;
    EXPECT_LT(error.size(), 200u);
  }
  // Counted up within the window's five positions.
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"00999", "01000"}, {"9", "10"}, {"99", "100"}, {"099", "100"}, {"9999", "10000"}}) {
    std::string ident = from;
    ASSERT_TRUE(NextIdent(ident, kBatchIdentDigits)) << from;
    EXPECT_EQ(ident, to);
  }
  std::string ident = "99999";
  EXPECT_FALSE(NextIdent(ident, kBatchIdentDigits));
  EXPECT_EQ(ident, "99999");
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


// ---- the log a dealer must be able to trust ----

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

BatchRow LoggedRow(const std::string& ident, const std::string& result) {
  return {"2026-12-10 10:00:00", "COM7", "5A01", "Merlo UHF CB", "v2.10", "", ident, result,
          "/reads/radio.mem"};
}

bool HasNote(const std::vector<std::string>& notes, const std::string& part) {
  for (const std::string& note : notes)
    if (note.find(part) != std::string::npos) return true;
  return false;
}

// A log whose last row lost its end (a full disk during the append, or
// `truncate -s -1`): what the cut row shows stays true, the next row gets
// a line of its own, and the user is told.
TEST_F(BatchTest, ALogCutMidLineKeepsWhatItProvesAndGoesOnOnANewLine) {
  struct Case {
    const char* name;
    std::string lastRow;  // the row that was being appended
    size_t keep;          // of its characters, npos: all but the line end
    const char* next;     // the ident the next radio must take
  };
  const std::string okRow = BatchLogLine(LoggedRow("12346", "OK"));
  const std::string failedRow = BatchLogLine(LoggedRow("12346", "failed: the write"));
  const Case cases[] = {
      {"only its line end lost", okRow, std::string::npos, "12347"},
      {"cut in its archive", okRow, okRow.size() - 5, "12347"},
      {"cut after the O of OK", okRow, okRow.find(",OK,") + 2, "12347"},
      {"a failed row cut in its archive", failedRow, failedRow.size() - 5, "12346"},
  };
  const std::string whole =
      BatchLogHeader() + "\n" + BatchLogLine(LoggedRow("12345", "OK")) + "\n";
  uint32_t seed = 40;
  for (const Case& c : cases) {
    const std::string cut = c.lastRow.substr(0, c.keep);
    WriteText(LogPath(), whole + cut);
    Bench bench(rig.sim, {{kProductMerlo, RadioMemory(++seed, kProductMerlo)}});
    const BatchSummary summary = Run(bench, "12345", 1);
    ASSERT_EQ(summary.ok, 1) << c.name;
    EXPECT_EQ(IdentOf(bench.programmed[0]), c.next) << c.name;
    EXPECT_TRUE(HasNote(notes, "last line has no line end")) << c.name;
    // The cut line stays as it was; the new row follows on its own line.
    const std::string text = FileText(LogPath());
    ASSERT_EQ(text.rfind(whole + cut + "\n", 0), 0u) << c.name << ":\n" << text;
    BatchRow added;
    ASSERT_TRUE(ParseBatchLogLine(text.substr(whole.size() + cut.size() + 1), added)) << text;
    EXPECT_EQ(added.identAfter, c.next) << c.name;
    EXPECT_EQ(text.back(), '\n');
  }
}

TEST_F(BatchTest, ALogCutBeforeItsIdentIsWholeIsRefusedUntouched) {
  const std::string row = BatchLogLine(LoggedRow("12346", "OK"));
  const std::string text = BatchLogHeader() + "\n" + BatchLogLine(LoggedRow("12345", "OK")) +
                           "\n" + row.substr(0, row.find("12346") + 3);
  WriteText(LogPath(), text);
  Bench bench(rig.sim, {{kProductMerlo, RadioMemory(50, kProductMerlo)}});
  BatchLoop runner(rig.flows, RadioObjectsOf(rig, rig.build), bench);
  std::string error;
  EXPECT_FALSE(runner.Prepare(Settings("12345", 1), error));
  EXPECT_NE(error.find("cannot be known"), std::string::npos) << error;
  EXPECT_EQ(FileText(LogPath()), text);
  EXPECT_TRUE(rig.sim.Requests().empty());
}

// Two batches, one log: the first holds it, the second is refused until
// the first has ended.
TEST_F(BatchTest, ASecondBatchOnALogInUseIsRefused) {
  Bench bench(rig.sim, {{kProductMerlo, RadioMemory(60, kProductMerlo)}});
  BatchLoop first(rig.flows, RadioObjectsOf(rig, rig.build), bench);
  BatchLoop second(rig.flows, RadioObjectsOf(rig, rig.build), bench);
  std::string error;
  ASSERT_TRUE(first.Prepare(Settings("12345", 1), error)) << error;
  EXPECT_FALSE(second.Prepare(Settings("12345", 1), error));
  EXPECT_NE(error.find("is in use by another batch"), std::string::npos) << error;
  EXPECT_EQ(first.Run().ok, 1);
  error.clear();
  EXPECT_TRUE(second.Prepare(Settings("12345", 1), error)) << error;
}

// Whatever else writes to the log meanwhile (a spreadsheet keeps no lock),
// it is read again before each ident is given.
class LogWritingBench : public Bench {
 public:
  LogWritingBench(SimulatedRadio& sim, std::vector<BoxedRadio> boxes, std::string log)
      : Bench(sim, std::move(boxes)), log_(std::move(log)) {}
  void RadioEnded(const BatchRow& row, const std::string& prompt) override {
    Bench::RadioEnded(row, prompt);
    if (rows.size() == 1)
      std::ofstream(log_, std::ios::app) << BatchLogLine(LoggedRow("12346", "OK")) << "\n";
  }

 private:
  std::string log_;
};

TEST_F(BatchTest, AnIdentLoggedMeanwhileIsNotGiven) {
  LogWritingBench bench(rig.sim,
                        {{kProductMerlo, RadioMemory(61, kProductMerlo)},
                         {kProductMerlo, RadioMemory(62, kProductMerlo)}},
                        LogPath());
  ASSERT_EQ(Run(bench, "12345", 2).ok, 2);
  EXPECT_EQ(IdentOf(bench.programmed[0]), "12345");
  EXPECT_EQ(IdentOf(bench.programmed[1]), "12347");
}

// A log must be a batch log: a mem-file, a channel list or any other file
// is refused with the reason and left as it was, and the configuration's
// own file never becomes the log.
TEST_F(BatchTest, AFileThatIsNoBatchLogIsRefusedAndLeftUntouched) {
  std::string memFile(config.begin(), config.end());
  std::string binary;
  for (uint8_t b : RandomBytes(63)) binary += static_cast<char>(b);
  const struct {
    const char* name;
    std::string text;
    bool isConfig;
    const char* reason;
  } cases[] = {
      {"a mem-file", memFile, false, "is not a batch log"},
      {"a channel list",
       "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\nA,0,81,"
       "476.4250,\"FIRE\",1,0,0,0\n",
       false, "is not a batch log"},
      {"a binary file", binary, false, "is not a batch log"},
      {"the configuration itself", memFile, true, "is the configuration's file"},
  };
  Bench bench(rig.sim, {{kProductMerlo, RadioMemory(64, kProductMerlo)}});
  for (const auto& c : cases) {
    const std::string path = folder.path + "/not-a-log";
    WriteText(path, c.text);
    BatchSettings settings = Settings("12345", 1);
    settings.logPath = path;
    if (c.isConfig) settings.configPaths = {"", path};
    BatchLoop runner(rig.flows, RadioObjectsOf(rig, rig.build), bench);
    std::string error;
    EXPECT_FALSE(runner.Prepare(settings, error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(FileText(path), c.text) << c.name;
  }
  EXPECT_TRUE(rig.sim.Requests().empty());
}

// The dealer switches the radio just programmed off and on again instead
// of connecting the next: it is known again and not written a second time.
class PowerCyclingBench : public Bench {
 public:
  using Bench::Bench;
  // Told it is the radio just programmed, the dealer switches it off.
  void Prompt(const std::string& text) override {
    Bench::Prompt(text);
    if (text.find("the radio just programmed") != std::string::npos) sim_.SwitchOff();
  }
  void RadioGone() override {
    if (cycled_) return Bench::RadioGone();
    cycled_ = true;
    ++gone;
    sim_.SwitchOn();  // the same radio, memory as it was programmed
  }

 private:
  bool cycled_ = false;
};

TEST_F(BatchTest, TheRadioJustProgrammedSwitchedOffAndOnIsNotWrittenAgain) {
  const std::vector<BoxedRadio> boxes = {{kProductMerlo, RadioMemory(70, kProductMerlo)},
                                         {kProductMerlo, RadioMemory(71, kProductMerlo)}};
  PowerCyclingBench bench(rig.sim, boxes);
  const BatchSummary summary = Run(bench, "12345", 2);

  EXPECT_EQ(summary.ok, 2);
  EXPECT_EQ(summary.failed, 0);
  ASSERT_EQ(bench.programmed.size(), 2u);
  EXPECT_EQ(IdentOf(bench.programmed[0]), "12345");
  EXPECT_EQ(IdentOf(bench.programmed[1]), "12346");
  ExpectProgrammed(bench.programmed[1], boxes[1].memory);
  bool told = false;
  for (const std::string& prompt : bench.prompts)
    told |= prompt == "Radio 2 of 2: this is the radio just programmed (ident 12345); it was not "
                      "written again. Switch it off and connect the next radio.";
  EXPECT_TRUE(told);
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[1].identBefore, StoredIdentOf(boxes[1].memory));
  // Two radios, two writes: 128 blocks each and the Status byte.
  int blockWrites = 0;
  for (const SimRequest& r : rig.sim.Requests()) blockWrites += r.command == OP_WRITE_BLOCK;
  EXPECT_EQ(blockWrites, 2 * 128);
}

// A noisy lead that loses a reply now and then: the radio on it is not
// taken for gone, so it is not programmed again with the next ident.
class NoisyLeadBench : public Bench {
 public:
  NoisyLeadBench(SimulatedRadio& sim, std::vector<BoxedRadio> boxes, int polls)
      : Bench(sim, std::move(boxes)), polls_(polls) {}
  bool StopRequested() override {
    return ended_ && sim_.Requests().size() >= requestsAtEnd_ + static_cast<size_t>(polls_);
  }
  void RadioEnded(const BatchRow& row, const std::string& prompt) override {
    rows.push_back(row);
    prompts.push_back(prompt);
    // The dealer has not touched it yet; the lead starts losing replies.
    SimFaults faults;
    faults.lostReplyProbability = 0.1;
    faults.seed = 5;
    sim_.SetFaults(faults);
    requestsAtEnd_ = sim_.Requests().size();
    ended_ = true;
  }

 private:
  int polls_;
  bool ended_ = false;
  size_t requestsAtEnd_ = 0;
};

TEST_F(BatchTest, ARadioOnALeadLosingRepliesIsNotTakenForGone) {
  NoisyLeadBench bench(rig.sim, {{kProductMerlo, RadioMemory(80, kProductMerlo)}}, 120);
  BatchSettings settings = Settings("12345", 2);
  settings.goneAfterSilentMs = 2000;
  const BatchSummary summary = Run(bench, settings);

  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(summary.ok, 1);
  EXPECT_EQ(bench.gone, 0);
  EXPECT_EQ(LogRows().size(), 1u);
  // Replies were lost, two in a row among them: once enough to call it gone.
  const std::vector<SimRequest> requests = rig.sim.Requests();
  int inARow = 0, most = 0;
  for (const SimRequest& r : requests) {
    inARow = r.replied ? 0 : inARow + 1;
    most = std::max(most, inARow);
  }
  EXPECT_GE(most, 2);
  EXPECT_GE(rig.sim.Counters().lostReplies, 3);
}

// ---- idents ----

TEST(BatchIdents, AreLoggedWholeInOneForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"12345", "12345"},    {"099", "FF099"},       {"  123", "FF123"},  {"FF099", "FF099"},
      {"9", "FFFF9"},        {"00012345", "12345"},  {"98765432", "98765432"},
      {"000FF099", "FF099"}, {"0000000a", "0000A"}, {"", ""}};
  for (const auto& [given, logged] : cases) EXPECT_EQ(BatchIdentText(given), logged) << given;
  const unsigned char stored[4] = {0x98, 0x76, 0x54, 0x32};
  EXPECT_EQ(BatchIdentText(stored), "98765432");
}

TEST_F(BatchTest, AShortFirstIdentIsToldBeforeTheFirstRadioAndLoggedAsStored) {
  std::vector<uint8_t> memory = RadioMemory(90, kProductMerlo);
  const int ident = rig.info.GetParamAddress("Selcall Ident");
  const uint8_t held[] = {0x98, 0x76, 0x54, 0x32};
  std::copy(std::begin(held), std::end(held), memory.begin() + ident);
  Bench bench(rig.sim, {{kProductMerlo, memory}});
  ASSERT_EQ(Run(bench, "099", 1).ok, 1);

  EXPECT_TRUE(HasNote(notes, "The Radio Ident has 2 empty positions of 5; each is stored as "
                             "digit F, so the radio's ident becomes FF099."));
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].identBefore, "98765432");
  EXPECT_EQ(logged[0].identAfter, "FF099");
  const std::vector<uint8_t> want = {0x00, 0x0F, 0xF0, 0x99};
  EXPECT_EQ(std::vector<uint8_t>(bench.programmed[0].begin() + ident,
                                 bench.programmed[0].begin() + ident + 4),
            want);
}

TEST_F(BatchTest, AOneDigitFirstIdentCountsUpWithinTheWindowsPositions) {
  std::vector<BoxedRadio> boxes;
  for (uint32_t seed : {91u, 92u, 93u}) boxes.push_back({kProductMerlo, RadioMemory(seed, kProductMerlo)});
  Bench bench(rig.sim, boxes);
  ASSERT_EQ(Run(bench, "9", 3).ok, 3);
  const char* shown[] = {"    9", "   10", "   11"};
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(IdentOf(bench.programmed[i]), shown[i]);
  const std::vector<BatchRow> logged = LogRows();
  ASSERT_EQ(logged.size(), 3u);
  EXPECT_EQ(logged[2].identAfter, "FFF11");
  EXPECT_EQ(bench.prompts.back(), "Radio 3 of 3: OK, ident FFF11. Switch it off.");
}

// ---- what the batch says when it cannot go on ----

TEST_F(BatchTest, ALogThatCannotBeWrittenStopsWithoutAskingForTheNextRadio) {
  rig.flows.SetReadArchive(nullptr);  // the full disk would refuse its copies too
  Bench bench(rig.sim, {{kProductMerlo, RadioMemory(95, kProductMerlo)},
                        {kProductMerlo, RadioMemory(96, kProductMerlo)}});
  BatchLoop runner(rig.flows, RadioObjectsOf(rig, rig.build), bench);
  std::string error;
  ASSERT_TRUE(runner.Prepare(Settings("12345", 2), error)) << error;
  BatchSummary summary;
  {
    FileSizeLimit full(FileText(LogPath()).size() + 10);
    summary = runner.Run();
  }
  EXPECT_EQ(summary.ok, 1);
  EXPECT_NE(summary.error.find("File too large"), std::string::npos) << summary.error;
  EXPECT_EQ(bench.logErrors.size(), 1u);
  EXPECT_EQ(bench.prompts.back(), "Radio 1 of 2: OK, ident 12345. Switch it off.");
  EXPECT_EQ(bench.rows.size(), 1u);
  // The cut row is known for what it is when the log is taken up again.
  BatchLogContents contents;
  ASSERT_TRUE(ParseBatchLog(FileText(LogPath()), contents, error)) << error;
  EXPECT_TRUE(contents.cutLine);
}

TEST_F(BatchTest, APulledLeadStopsWithoutAskingForTheNextRadio) {
  BoxedRadio pulled{kProductMerlo, RadioMemory(97, kProductMerlo)};
  pulled.faults.hangUpAfter = 60;  // in the middle of its write
  Bench bench(rig.sim, {pulled, {kProductMerlo, RadioMemory(98, kProductMerlo)}});
  const BatchSummary summary = Run(bench, "12345", 2);
  EXPECT_EQ(summary.ok, 0);
  EXPECT_EQ(summary.error, "the port was lost");
  ASSERT_EQ(bench.rows.size(), 1u);
  EXPECT_EQ(bench.rows[0].result.rfind("failed: ", 0), 0u) << bench.rows[0].result;
  EXPECT_EQ(bench.prompts.back().find("connect the next radio"), std::string::npos)
      << bench.prompts.back();
}

}  // namespace
