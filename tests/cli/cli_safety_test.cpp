// The dealer's safety nets in vornprog against a simulated radio: the read
// archive, write --backup, --keep-calibration and --verify, traces, and the
// receive-only channels as CSV.

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "bytetrace.h"
#include "cli_fixture.h"
#include "eeprom.h"
#include "file_size_limit.h"
#include "imagetext.h"
#include "progress.h"
#include "radio.h"
#include "simimage.h"
#include "vorniiframe.h"

namespace {

std::string ImageFile(TempDir& dir, const std::string& name, const Bytes& bytes) {
  WriteFileBytes(dir.Path(name), bytes);
  return dir.Path(name);
}

std::string TextOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

using CliSafety = CliArchiveTest;

// ---- read archive ----

TEST_F(CliSafety, EachCompleteReadAddsOneArchivedFileWithTheRadiosMemory) {
  SimulatedRadio& radio = StartRadio();
  const Bytes memory = RandomImage(3, kProductKestal);
  radio.SetMemory(memory);
  EXPECT_TRUE(Archived().empty());

  for (int n = 1; n <= 2; ++n) {
    const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "-o", dir.Path("r.mem")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Contains(r.err, "archived")) << "the archive works quietly: " << r.err;
    const std::vector<std::string> paths = Archived();
    ASSERT_EQ(paths.size(), static_cast<size_t>(n)) << "a read in the same second gets a new name";
    EXPECT_EQ(paths.back().rfind(ArchiveFolder() + "/", 0), 0u) << paths.back();
    EXPECT_TRUE(std::regex_search(paths.back(), std::regex("/\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_Kestal_0x[0-9A-F]{4}(_\\d+)?\\.mem$")))
        << paths.back();
    EXPECT_EQ(ReadFileBytes(paths.back()), memory);
  }
}

TEST_F(CliSafety, AFailedReadArchivesNothing) {
  SimulatedRadio& radio = StartRadio();
  SimFaults faults;
  faults.silentOpcode = OP_READ_BLOCK;
  faults.silentOpcodeAfter = 20;
  radio.SetFaults(faults);
  const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "-o", dir.Path("r.mem")});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Archived().empty());
}

TEST_F(CliSafety, AnArchiveThatCannotBeSavedIsSaidOnceAndTheReadStands) {
  SimulatedRadio& radio = StartRadio();
  WriteFileBytes(dir.Path("data"), {'x'});  // a file where the folder would be
  const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "-o", dir.Path("r.mem")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("r.mem")), radio.Memory());
  const std::string said = "vornprog: The read was not archived: cannot create " + ArchiveFolder();
  const size_t at = r.err.find(said);
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(said, at + 1), std::string::npos) << "said once: " << r.err;
}

// ---- write --backup ----

struct BackupCase {
  const char* name;
  bool unwritableFolder;
  int readBlocksAnswered;  // -1: the backup read completes
};

class CliBackup : public CliSafety, public ::testing::WithParamInterface<BackupCase> {};

TEST_P(CliBackup, WritesNothingWhenTheBackupCannotBeMade) {
  SimulatedRadio& radio = StartRadio();
  const Bytes before = radio.Memory();
  if (GetParam().readBlocksAnswered >= 0) {
    SimFaults faults;
    faults.silentOpcode = OP_READ_BLOCK;
    faults.silentOpcodeAfter = GetParam().readBlocksAnswered;
    radio.SetFaults(faults);
  }
  const std::string backup =
      GetParam().unwritableFolder ? dir.Path("no-such-folder/backup.mem") : dir.Path("backup.mem");
  const std::string file = ImageFile(dir, "config.mem", RandomImage(5, kProductKestal));

  const ToolResult r =
      RunTool({"write", "--port", radio.DevicePath(), "--yes", "--backup", backup, file});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "nothing written")) << r.err;
  EXPECT_EQ(CountOf(radio.Requests(), OP_WRITE_BLOCK), 0);
  EXPECT_EQ(CountOf(radio.Requests(), OP_WRITE_BYTE), 0);
  EXPECT_EQ(radio.Memory(), before);
}

INSTANTIATE_TEST_SUITE_P(Failures, CliBackup,
                         ::testing::Values(BackupCase{"UnwritableFolder", true, -1},
                                           BackupCase{"ReadFails", false, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliSafety, BackupKeepsTheRadiosOldMemoryThenWritesTheFile) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(8, kProductKestal);
  radio.SetMemory(old);
  const Bytes image = RandomImage(9, kProductKestal);
  const std::string file = ImageFile(dir, "config.mem", image);

  // No --yes: the backup read is this session's read, so nothing is asked.
  const ToolResult r =
      RunTool({"write", "--port", radio.DevicePath(), "--backup", dir.Path("old.mem"), file});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("old.mem")), old);
  EXPECT_EQ(radio.Memory(), image);
}

TEST_F(CliSafety, AWriteStoppedPartWayNamesTheBackupAsTheWayBack) {
  SimulatedRadio& radio = StartRadio();
  radio.SetMemory(RandomImage(10, kProductKestal));
  const std::string file = ImageFile(dir, "config.mem", RandomImage(11, kProductKestal));
  SimFaults faults;
  faults.badChecksum = {OP_WRITE_BLOCK, 5};  // the sixth block's acknowledgement is spoilt
  radio.SetFaults(faults);

  const std::string backup = dir.Path("old.mem");
  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--backup", backup, file});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Contains(r.err, "Timeout writing to radio")) << r.err;
  EXPECT_TRUE(Contains(r.err, PartialWriteText(backup))) << r.err;
  EXPECT_EQ(CountOf(radio.Requests(), OP_WRITE_BLOCK), 6);
}

// ---- write --keep-calibration ----

TEST_F(CliSafety, KeepCalibrationLeavesTheRadiosFirst32BytesAndTheFileAlone) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(21, kProductKestal);
  radio.SetMemory(old);
  const Bytes image = RandomImage(22, kProductKestal);
  const std::string file = ImageFile(dir, "clone.mem", image);

  const ToolResult r =
      RunTool({"write", "--port", radio.DevicePath(), "--yes", "--keep-calibration", file});
  EXPECT_EQ(r.status, 0) << r.err;
  const Bytes now = radio.Memory();
  EXPECT_EQ(Bytes(now.begin(), now.begin() + 32), Bytes(old.begin(), old.begin() + 32));
  EXPECT_EQ(Bytes(now.begin() + 32, now.end()), Bytes(image.begin() + 32, image.end()));
  EXPECT_EQ(ReadFileBytes(file), image);
}

// ---- write --verify ----

TEST_F(CliSafety, VerifyNamesWhatARadioThatDroppedABlockDidNotStore) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(31, kProductKestal);
  radio.SetMemory(old);
  SimFaults faults;
  faults.lostWrite = {OP_WRITE_BLOCK, 40};  // the block at 640..655
  radio.SetFaults(faults);
  const Bytes image = RandomImage(32, kProductKestal);
  const std::string file = ImageFile(dir, "config.mem", image);

  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", "--verify", file});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "verify failed")) << r.err;
  EEPROM written, stored;
  written.WriteBlock(0, image.data(), 2048);
  const Bytes now = radio.Memory();
  stored.WriteBlock(0, now.data(), 2048);
  const std::vector<std::string> lines = DiffLines(written, stored);
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) EXPECT_TRUE(Contains(r.err, "  " + line + "\n")) << line;
}

TEST_F(CliSafety, VerifyPassesWhenTheRadioStoredEverything) {
  SimulatedRadio& radio = StartRadio();
  const std::string file = ImageFile(dir, "config.mem", RandomImage(33, kProductKestal));
  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", "--verify", file});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "verify: the radio holds what was written")) << r.err;
}

// ---- traces ----

std::string HexFrame(const std::vector<uint8_t>& payload) {
  uint8_t frame[kVornIIMaxFrame];
  const int n = EncodeVornIIFrame(payload.data(), static_cast<int>(payload.size()), frame);
  std::string text = "Tx[" + std::to_string(n) + ":" + std::to_string(n) + "] ";
  char hex[4];
  for (int i = 0; i < n; ++i) {
    std::snprintf(hex, sizeof hex, "%02X ", frame[i]);
    text += hex;
  }
  return text;
}

TEST_F(CliSafety, TraceOfInfoHoldsEveryRequestSentAndTheReplies) {
  SimulatedRadio& radio = StartRadio();
  const std::string trace = dir.Path("trace.txt");
  WriteFileBytes(trace, {'o', 'l', 'd', '\n'});
  const ToolResult r = RunTool({"--trace", trace, "info", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string text = TextOf(trace);
  EXPECT_EQ(text.rfind("old\n------ vornprog info ", 0), 0u) << "appended: " << text;
  const auto log = radio.Requests();
  ASSERT_GE(log.size(), 3u);
  for (const SimRequest& request : log)
    EXPECT_TRUE(std::regex_search(
        text, std::regex("\\n\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] " +
                         std::regex_replace(HexFrame(request.payload), std::regex("[\\[\\]]"),
                                            "\\$&") +
                         "\\n")))
        << HexFrame(request.payload) << "\n" << text;
  EXPECT_TRUE(Contains(text, "] Rx[")) << text;
}

TEST_F(CliSafety, ATraceThatCannotBeOpenedStopsBeforeTheCommand) {
  SimulatedRadio& radio = StartRadio();
  const ToolResult r =
      RunTool({"--trace", dir.Path("none/trace.txt"), "info", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "cannot open the trace")) << r.err;
  EXPECT_TRUE(radio.Requests().empty());
}

TEST_F(CliSafety, ATraceThatCannotBeWrittenIsSaidOnceAndTheCommandGoesOn) {
  SimulatedRadio& radio = StartRadio();
  // The disk fills up after the trace's first line.
  const std::string trace = dir.Path("trace.txt");
  std::optional<ToolProcess> tool;
  {
    const FileSizeLimit full(64);
    tool.emplace(std::vector<std::string>{"--trace", trace, "info", "--port", radio.DevicePath()});
  }
  const ToolResult r = tool->Wait();
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string said = TraceFailureText(trace, EFBIG);
  const size_t first = r.err.find(said);
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(said, first + 1), std::string::npos) << "said once: " << r.err;
  EXPECT_TRUE(Contains(r.out, "Radio Type:")) << r.out;
  EXPECT_FALSE(radio.Requests().empty());
}

// A file-size limit (a shell's ulimit -f) reached by the trace in the
// middle of a write: the trace fails as a full disk would make it fail,
// said once, and the write goes on to the end and the radio's reset.
TEST_F(CliSafety, AFileSizeLimitFailsTheTraceAndTheWriteStillEndsWithTheReset) {
  SimulatedRadio& radio = StartRadio();
  const Bytes image = RandomImage(21, kProductKestal);
  const std::string file = ImageFile(dir, "config.mem", image);
  const std::string trace = dir.Path("trace.txt");
  ToolProcess tool({"--trace", trace, "write", "--port", radio.DevicePath(), "--yes", file}, "", "", 4);
  const ToolResult r = tool.Wait();

  EXPECT_EQ(r.status, 0) << "not killed by SIGXFSZ: " << r.err;
  const std::string said = TraceFailureText(trace, EFBIG);
  const size_t first = r.err.find(said);
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(said, first + 1), std::string::npos) << "said once: " << r.err;
  EXPECT_TRUE(Contains(r.err, "wrote " + file + " into the radio")) << r.err;
  EXPECT_EQ(radio.Memory(), image);
  const auto log = radio.Requests();
  EXPECT_EQ(CountOf(log, OP_WRITE_BLOCK), 128);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().command, OP_RESET);
  // The trace stopped at the limit, which a shell's 4 blocks put at 2 or 4 KiB.
  EXPECT_LE(std::filesystem::file_size(trace), 4096u);
}

// The trace is appended to, so it may be no file the command reads or
// writes, however the path is spelt; nothing is touched then.
TEST_F(CliSafety, ATraceThatIsAFileTheCommandUsesIsRefused) {
  SimulatedRadio& radio = StartRadio();
  const Bytes image = RandomImage(22, kProductKestal);
  const std::string file = ImageFile(dir, "config.mem", image);
  const std::string spelt = dir.Path("./config.mem");
  struct Case {
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {{"--trace", file, "dump", file}},
      {{"--trace", spelt, "dump", file}},
      {{"--trace", file, "write", "--port", radio.DevicePath(), "--yes", file}},
      {{"--trace", dir.Path("back.mem"), "write", "--port", radio.DevicePath(), "--yes",
        "--backup", dir.Path("back.mem"), file}},
      {{"--trace", dir.Path("radio.mem"), "read", "--port", radio.DevicePath(), "-o",
        dir.Path("radio.mem")}},
  };
  for (const Case& c : cases) {
    const ToolResult r = RunTool(c.args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(Contains(r.err, "a file the command uses; nothing done")) << r.err;
    EXPECT_EQ(ReadFileBytes(file), image);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("back.mem")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("radio.mem")));
  EXPECT_TRUE(radio.Requests().empty());
}

// ---- channels as CSV ----

TEST_F(CliSafety, ChannelsExportThenImportGivesBackTheSameBytes) {
  EEPROM image;
  MakeDefaultImage(kProductKestal, image);
  const Bytes bytes(image.Data(), image.Data() + image.GetLength());
  const std::string file = ImageFile(dir, "k.mem", bytes);
  const ToolResult out = RunTool({"channels", file});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out.rfind("Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\n", 0), 0u)
      << out.out;
  std::ofstream(dir.Path("list.csv")) << out.out;

  const ToolResult in =
      RunTool({"channels", file, "--import", dir.Path("list.csv"), "-o", dir.Path("back.mem")});
  EXPECT_EQ(in.status, 0) << in.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("back.mem")), bytes);
}

TEST_F(CliSafety, ChannelsImportNamesTheBadRowAndWritesNothing) {
  EEPROM image;
  MakeDefaultImage(kProductKestal, image);
  const Bytes bytes(image.Data(), image.Data() + image.GetLength());
  const std::string file = ImageFile(dir, "k.mem", bytes);
  std::ofstream(dir.Path("list.csv")) << "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent\n"
                                         "A,0,81,476.4250,\"FIRE\",1,0,0,0\n"
                                         "A,19,100,476.4500,\"X\",0,0,0,0\n";
  const ToolResult r = RunTool({"channels", file, "--import", dir.Path("list.csv")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "list.csv line 3: slot 19")) << r.err;
  EXPECT_EQ(ReadFileBytes(file), bytes);
}

}  // namespace
