// vornprog read, write and info against a simulated radio.

#include <signal.h>

#include <cstdlib>

#include "cli_fixture.h"
#include "pty_peer.h"
#include "radio.h"

namespace {

std::string ImageFile(TempDir& dir, const std::string& name, const Bytes& bytes) {
  WriteFileBytes(dir.Path(name), bytes);
  return dir.Path(name);
}

// ---- read ----

struct ReadCase {
  const char* name;
  SimVersion version;
  bool notice;  // the Kestal-S notice after the read
};

class CliRead : public CliTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CliRead, WritesTheRadiosWholeMemoryIntoTheFile) {
  SimulatedRadio& radio = StartRadio();
  const Bytes memory = RandomImage(7, kProductKestal);
  radio.SetMemory(memory);
  radio.SetVersion(GetParam().version);

  const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "-o", dir.Path("radio.mem")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("radio.mem")), memory);
  EXPECT_TRUE(Contains(r.err, "read 2048 bytes into")) << r.err;
  EXPECT_EQ(Contains(r.err, "Radio version check: Your Kestal radio does not support"),
            GetParam().notice)
      << r.err;
  EXPECT_FALSE(Contains(r.err, "\r")) << "no progress bar when standard error is no terminal";
  const auto log = radio.Requests();
  EXPECT_EQ(CountOf(log, OP_READ_BLOCK), 128);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().command, OP_RESET);
}

INSTANTIATE_TEST_SUITE_P(Versions, CliRead,
                         ::testing::Values(ReadCase{"Current", {3, 0, 0}, false},
                                           ReadCase{"Kestal2", {2, 5, 0}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A radio that falls silent: the command fails with the program's text and
// the output file is neither made nor touched.
struct SilentCase {
  const char* name;
  int answers;  // commands answered before the radio falls silent
  const char* text;
  bool existingFile;
};

class CliSilentRadio : public CliTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(CliSilentRadio, FailsWithTheTimeOutTextAndLeavesTheFileAlone) {
  SimulatedRadio& radio = StartRadio();
  SimFaults faults;
  faults.silentAfter = GetParam().answers;
  radio.SetFaults(faults);
  const std::string output = dir.Path("radio.mem");
  const Bytes old = {'o', 'l', 'd'};
  if (GetParam().existingFile) WriteFileBytes(output, old);

  const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "--output", output});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, GetParam().text)) << r.err;
  EXPECT_TRUE(Contains(r.err, output + " not written")) << r.err;
  if (GetParam().existingFile) {
    EXPECT_EQ(ReadFileBytes(output), old);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"radio.mem"});
  } else {
    EXPECT_TRUE(dir.Names().empty());
  }
}

// Product ID read, programming mode, firmware text, version: 4 commands,
// then 5 blocks.
INSTANTIATE_TEST_SUITE_P(
    Faults, CliSilentRadio,
    ::testing::Values(SilentCase{"FromTheStart", 0, "Reading Product ID: Radio Response Timeout", true},
                      SilentCase{"AfterBlock5", 9, "Timeout reading from radio", true},
                      SilentCase{"AfterBlock5NoFile", 9, "Timeout reading from radio", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, CtrlCCancelsTheReadAndStillResetsTheRadio) {
  SimulatedRadio& radio = StartRadio();
  SimFaults faults;
  faults.pace = true;  // a read at 9600 baud takes seconds: time to interrupt it
  radio.SetFaults(faults);
  const std::string output = dir.Path("radio.mem");
  ToolProcess tool({"read", "--port", radio.DevicePath(), "-o", output});
  ASSERT_TRUE(radio.WaitForRequests(4 + 10, 10000));
  tool.Signal(SIGINT);
  const ToolResult r = tool.Wait();

  EXPECT_EQ(r.status, 128 + SIGINT) << "as shells expect of a program Ctrl-C stopped";
  EXPECT_TRUE(Contains(r.err, "Reading from radio cancelled")) << r.err;
  EXPECT_TRUE(dir.Names().empty());
  const auto log = radio.Requests();
  EXPECT_LT(CountOf(log, OP_READ_BLOCK), 128);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().command, OP_RESET);
}

TEST_F(CliTest, DrawsAProgressBarWhenStandardErrorIsATerminal) {
  SimulatedRadio& radio = StartRadio();
  PtyPeer terminal;
  ASSERT_TRUE(terminal.ok());
  ToolProcess tool({"read", "--port", radio.DevicePath(), "-o", dir.Path("radio.mem")},
                   terminal.SlavePath());
  std::string seen;
  // Read the terminal while the tool runs, so it never blocks on a full line.
  for (int i = 0; i < 200 && !Contains(seen, "read 2048 bytes"); ++i) {
    const auto bytes = terminal.ReadUntilQuiet(50, 100);
    seen.append(bytes.begin(), bytes.end());
  }
  const ToolResult r = tool.Wait();
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(seen, "\rReading from Radio [")) << seen;
  EXPECT_TRUE(Contains(seen, "] 100%")) << seen;
}

// ---- write ----

TEST_F(CliTest, WriteWithYesPutsTheFileIntoTheRadio) {
  SimulatedRadio& radio = StartRadio();
  const Bytes image = RandomImage(11, kProductKestal);
  const std::string file = ImageFile(dir, "config.mem", image);

  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", file});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(radio.Memory(), image);
  // The read before the write is this session's read: nothing is asked.
  EXPECT_FALSE(Contains(r.err, "Radio has not been read in this session")) << r.err;
  const auto log = radio.Requests();
  EXPECT_EQ(CountOf(log, OP_READ_BLOCK), 128);
  EXPECT_EQ(CountOf(log, OP_WRITE_BLOCK), 128);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().command, OP_RESET);

  // And back: a read of the radio gives the same file.
  const ToolResult back = RunTool({"read", "--port", radio.DevicePath(), "-o", dir.Path("back.mem")});
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("back.mem")), image);
}

TEST_F(CliTest, WriteWithoutYesOrBackupStopsAtTheNotReadQuestion) {
  SimulatedRadio& radio = StartRadio();
  const auto before = radio.Memory();
  const std::string file = ImageFile(dir, "config.mem", RandomImage(12, kProductKestal));

  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--no-backup", file});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "Radio has not been read in this session. Continue?")) << r.err;
  EXPECT_TRUE(Contains(r.err, "--yes")) << r.err;
  EXPECT_EQ(radio.Memory(), before);
  EXPECT_EQ(CountOf(radio.Requests(), OP_ENTER_PROG_MODE), 0);
}

// Refusals fail whatever --yes says, and nothing reaches the radio's memory.
struct RefusalCase {
  const char* name;
  uint32_t radioModel;
  Bytes file;
  const char* text;
};

class CliWriteRefusal : public CliTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CliWriteRefusal, FailsAndLeavesTheRadioAlone) {
  SimulatedRadio& radio = StartRadio(GetParam().radioModel);
  const auto before = radio.Memory();
  const std::string file = ImageFile(dir, "config.mem", GetParam().file);

  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", file});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, GetParam().text)) << r.err;
  EXPECT_EQ(radio.Memory(), before);
  EXPECT_EQ(CountOf(radio.Requests(), OP_ENTER_PROG_MODE), 0);
  EXPECT_EQ(CountOf(radio.Requests(), OP_WRITE_BLOCK), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, CliWriteRefusal,
    ::testing::Values(
        RefusalCase{"MerloFile", kProductKestal, RandomImage(1, kProductMerlo),
                    "Current config: Incorrect radio type (5A01)"},
        RefusalCase{"MerloRadio", kProductMerlo, RandomImage(2, kProductKestal),
                    "Checking Product ID: Incorrect radio type (5A01)"},
        RefusalCase{"ShortFile", kProductKestal, Bytes(100, 0x5A),
                    "is not a whole memory image (100 bytes, 2048 expected)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, WriteOfAMissingFileSaysSo) {
  SimulatedRadio& radio = StartRadio();
  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", dir.Path("none.mem")});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "File Open Error: Unable to open file " + dir.Path("none.mem"))) << r.err;
  EXPECT_TRUE(radio.Requests().empty());
}

// ---- info and ports ----

TEST_F(CliTest, InfoShowsTheFirmwareWindowsFacts) {
  SimulatedRadio& radio = StartRadio();
  radio.SetVersion({3, 5, 0});
  ASSERT_TRUE(radio.SetPcbRevision(0x12));
  const ToolResult r = RunTool({"info", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Radio Type: " + radio.FirmwareText() +
                       "\nProduct ID: 5A02\nPCB Rev.: 12\nFirmware: v3.05\n");
  EXPECT_EQ(CountOf(radio.Requests(), OP_ENTER_PROG_MODE), 0);
}

TEST_F(CliTest, InfoFromASilentRadioFails) {
  SimulatedRadio& radio = StartRadio();
  SimFaults faults;
  faults.silentAfter = 0;
  radio.SetFaults(faults);
  const ToolResult r = RunTool({"info", "--port", radio.DevicePath()});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "Read Error: Unable to read from radio")) << r.err;
  EXPECT_EQ(r.out, "");
}

// The port map as text: "COM" name, then the device. A device given with
// --device comes after the machine's own ports, as COM97 onwards.
TEST_F(CliTest, PortsListsAnAddedDeviceUnderItsComName) {
  SimulatedRadio& radio = StartRadio();
  const ToolResult r = RunTool({"ports", "--device", radio.DevicePath()});
  EXPECT_EQ(r.status, 0) << r.err;
  std::string line;
  for (size_t start = 0, end; start < r.out.size(); start = end + 1) {
    end = r.out.find('\n', start);
    if (end == std::string::npos) end = r.out.size();
    const std::string l = r.out.substr(start, end - start);
    if (l.size() > radio.DevicePath().size() &&
        l.compare(l.size() - radio.DevicePath().size() - 1, std::string::npos, " " + radio.DevicePath()) == 0)
      line = l;
  }
  ASSERT_FALSE(line.empty()) << r.out;
  ASSERT_EQ(line.rfind("COM", 0), 0u) << line;
  EXPECT_GE(std::atoi(line.c_str() + 3), 97) << line;
  EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, APortThatWillNotOpenIsNamedWithItsDevice) {
  const ToolResult r = RunTool({"read", "--port", "/dev/no-such-lead", "-o", dir.Path("x.mem")});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "Error: Unable to open COM97.")) << r.err;
  EXPECT_TRUE(Contains(r.err, "COM97 is /dev/no-such-lead")) << r.err;
  EXPECT_TRUE(dir.Names().empty());
}

// ---- detect ----

// Each radio is given with --device; the machine's own ports come first
// and hold no radio of this build.
struct DetectCase {
  const char* name;
  std::vector<int> radios;  // product IDs; 0 = a radio that never answers
  int found;                // index of the radio detect must name, -1 = none
};

class CliDetect : public CliTest, public ::testing::WithParamInterface<DetectCase> {};

TEST_P(CliDetect, NamesTheFirstRadioOfTheBuildsModel) {
  std::vector<std::string> args{"detect"};
  std::vector<std::string> paths;
  for (int product : GetParam().radios) {
    SimulatedRadio& radio = StartRadio(product ? static_cast<uint32_t>(product) : kProductKestal);
    if (product == 0) {
      SimFaults silent;
      silent.silentAfter = 0;
      radio.SetFaults(silent);
    }
    paths.push_back(radio.DevicePath());
    args.insert(args.end(), {"--device", radio.DevicePath()});
  }
  const ToolResult r = RunTool(args);
  if (GetParam().found < 0) {
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "Radio not found.\nvornprog: Ensure radio is switched on.")) << r.err;
  } else {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, paths[static_cast<size_t>(GetParam().found)] + "\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Radios, CliDetect,
    ::testing::Values(DetectCase{"MerloThenKestal", {kProductMerlo, kProductKestal}, 1},
                      DetectCase{"TwoKestalsLowestFirst", {kProductKestal, kProductKestal}, 0},
                      DetectCase{"KestalBTIsNotAKestal", {kProductKestalBT}, -1},
                      DetectCase{"SilentThenMerlo", {0, kProductMerlo}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- simulate ----

TEST_F(CliTest, SimulateServesARadioUntilTerminated) {
  ToolProcess sim({"simulate", "--pcb-rev", "0x21"});
  const std::string device = sim.FirstLine();
  ASSERT_FALSE(device.empty());
  const ToolResult info = RunTool({"info", "--port", device});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_TRUE(Contains(info.out, "Product ID: 5A02\nPCB Rev.: 21\n")) << info.out;
  sim.Signal(SIGTERM);
  EXPECT_EQ(sim.Wait().status, 0);
}

}  // namespace
