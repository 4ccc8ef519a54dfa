// Writes that carry only the chosen groups, the read taken before every
// write, and restore, in vornprog against a simulated radio.

#include <algorithm>
#include <set>

#include "cli_fixture.h"
#include "groups.h"
#include "radioprotocol.h"
#include "simfaults.h"

namespace {

const ImageGroupMap& KestalMap() {
  TradioInfo info;
  info.SelectModel(kProductKestal);
  return ImageGroupMap::ForModel(info.modelIndex);
}

Bytes Merged(const Bytes& radio, const Bytes& file, GroupSet groups) {
  Bytes merged = radio;
  MergeGroups(KestalMap(), groups, file.data(), merged.data());
  return merged;
}

// The addresses of the blocks the radio was sent.
std::set<int> WrittenBlocks(const std::vector<SimRequest>& log) {
  std::set<int> blocks;
  for (const SimRequest& r : log)
    if (r.command == OP_WRITE_BLOCK) blocks.insert(r.payload[1] << 8 | r.payload[2]);
  return blocks;
}

std::set<int> DifferingBlocks(const Bytes& a, const Bytes& b) {
  std::set<int> blocks;
  for (int i = 0; i < 2048; ++i)
    if (a[i] != b[i]) blocks.insert(i / 16 * 16);
  return blocks;
}

using CliGroupWrite = CliArchiveTest;

const GroupSet kOptions = GroupSet().With(ImageGroup::kOptions);
const GroupSet kSquelchScan = GroupSet().With(ImageGroup::kSquelch).With(ImageGroup::kScanDuplex);
const GroupSet kAllButFactory = GroupSet::All()
                                    .Without(ImageGroup::kCalibration)
                                    .Without(ImageGroup::kIdentity)
                                    .Without(ImageGroup::kOther);

struct GroupCase {
  const char* name;
  std::vector<std::string> options;  // "BASE" stands for the base file
  GroupSet groups;                   // what reaches the radio from the file
};

class CliGroupWriteCases : public CliGroupWrite, public ::testing::WithParamInterface<GroupCase> {};

// The chosen groups come from the file, every other bit stays the radio's,
// and only the blocks that then differ are sent.
TEST_P(CliGroupWriteCases, WritesOnlyTheChosenGroupsBlocks) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(41, kProductKestal);
  radio.SetMemory(old);
  const Bytes file = RandomImage(42, kProductKestal);
  // The base differs from the file in options and squelch alone.
  const Bytes base = Merged(file, old, kOptions.With(ImageGroup::kSquelch));
  WriteFileBytes(dir.Path("config.mem"), file);
  WriteFileBytes(dir.Path("base.mem"), base);

  std::vector<std::string> args = {"write", "--port", radio.DevicePath()};
  for (const std::string& o : GetParam().options) args.push_back(o == "BASE" ? dir.Path("base.mem") : o);
  args.push_back(dir.Path("config.mem"));
  const ToolResult r = RunTool(args);
  ASSERT_EQ(r.status, 0) << r.err;

  const Bytes expected = Merged(old, file, GetParam().groups);
  EXPECT_EQ(radio.Memory(), expected);
  EXPECT_EQ(WrittenBlocks(radio.Requests()), DifferingBlocks(old, expected));
  EXPECT_TRUE(Contains(r.err, "blocks, verified.")) << r.err;
  // The radio as it was is in the archive.
  const std::vector<std::string> reads = Archived();
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(ReadFileBytes(reads.front()), old);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, CliGroupWriteCases,
    ::testing::Values(
        GroupCase{"OnlyOptions", {"--only", "options"}, kOptions},
        GroupCase{"OnlySquelchAndScan", {"--only", "squelch,scan"}, kSquelchScan},
        GroupCase{"ExceptFactoryBytes", {"--except", "calibration,identity,other"}, kAllButFactory},
        GroupCase{"ChangedFromBase",
                  {"--changed-from", "BASE"},
                  kOptions.With(ImageGroup::kSquelch)},
        GroupCase{"KeepCalibrationLeavesItOut",
                  {"--except", "other", "--keep-calibration"},
                  kAllButFactory}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliGroupWrite, NamesTheGroupsWrittenAndTheirBlocks) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(43, kProductKestal);
  radio.SetMemory(old);
  Bytes file = old;
  file[0x20] ^= 0x01;  // "Sql Level"
  file[0x21] ^= 0x01;  // "Tx Timeout"
  WriteFileBytes(dir.Path("config.mem"), file);
  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--only", "options,squelch",
                                dir.Path("config.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Squelch and Options written: 1 block, verified.")) << r.err;
  EXPECT_EQ(radio.Memory(), file);

  // Again: the radio holds them now.
  radio.ClearRequests();
  const ToolResult again = RunTool({"write", "--port", radio.DevicePath(), "--only",
                                    "options,squelch", dir.Path("config.mem")});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(Contains(again.err, "already holds")) << again.err;
  EXPECT_EQ(CountOf(radio.Requests(), OP_WRITE_BLOCK), 0);
}

TEST_F(CliGroupWrite, UnknownOrClashingChoicesAreRefusedBeforeTheRadio) {
  SimulatedRadio& radio = StartRadio();
  WriteFileBytes(dir.Path("config.mem"), RandomImage(44, kProductKestal));
  struct Case {
    std::vector<std::string> options;
    const char* said;
  } cases[] = {
      {{"--only", "options,colours"},
       "unknown group \"colours\"; the groups are channels, scan, selcall, selcall-memories, "
       "subtones, squelch, options, calibration, identity, other"},
      {{"--except", "options,"}, "unknown group \"\""},
      {{"--only", "options", "--except", "squelch"}, "exclude each other"},
      {{"--no-backup", "--backup", dir.Path("b.mem")}, "exclude each other"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"write", "--port", radio.DevicePath()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(dir.Path("config.mem"));
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.status, 2) << c.said;
    EXPECT_TRUE(Contains(r.err, c.said)) << r.err;
  }
  EXPECT_TRUE(radio.Requests().empty());
}

// Cut after some blocks: the groups are sorted by what reached the radio,
// and the way back is named.
TEST_F(CliGroupWrite, AWriteCutShortSaysWhichGroupsWereWritten) {
  struct Case {
    int blocksAcknowledged;
    const char* said;
  } cases[] = {
      {0, "Not written: Squelch and Options."},
      {1, "Written whole: Squelch. Not written: Options."},
      {2, "Written whole: Squelch. Written in part: Options."},
  };
  for (const Case& c : cases) {
    SimulatedRadio& radio = StartRadio();
    const Bytes old = RandomImage(45, kProductKestal);
    radio.SetMemory(old);
    Bytes file = old;
    file[0x20] ^= 0x01;  // "Sql Level", block 0x20
    file[0x3C] ^= 0x01;  // "Menu Enable", block 0x30
    file[0x6E] ^= 0x01;  // "Mic Gain", block 0x60
    WriteFileBytes(dir.Path("config.mem"), file);
    SimFaults faults;
    faults.badChecksum = {OP_WRITE_BLOCK, c.blocksAcknowledged};
    radio.SetFaults(faults);
    const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--only",
                                  "options,squelch", dir.Path("config.mem")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(Contains(r.err, std::string("The write stopped part way. ") + c.said)) << r.err;
    EXPECT_TRUE(Contains(r.err, "put the radio back as it was with: vornprog restore --port ")) << r.err;
  }
}

// Any write can be taken back: the read before it is a restore away.
TEST_F(CliGroupWrite, RestoreOfTheLastReadUndoesAWholeWrite) {
  SimulatedRadio& radio = StartRadio();
  const Bytes old = RandomImage(46, kProductKestal);
  radio.SetMemory(old);
  WriteFileBytes(dir.Path("config.mem"), RandomImage(47, kProductKestal));

  const ToolResult w = RunTool({"write", "--port", radio.DevicePath(), dir.Path("config.mem")});
  ASSERT_EQ(w.status, 0) << w.err;
  EXPECT_FALSE(Contains(w.err, "has not been read")) << w.err;
  ASSERT_NE(radio.Memory(), old);

  const ToolResult r = RunTool({"restore", "--port", radio.DevicePath(), "--last"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(radio.Memory(), old);
  // The restore read the radio first too: it can be taken back in turn.
  const std::vector<std::string> reads = Archived();
  ASSERT_EQ(reads.size(), 2u);  // before the write, before the restore
  EXPECT_EQ(ReadFileBytes(reads[0]), old);
  EXPECT_EQ(ReadFileBytes(reads[1]), RandomImage(47, kProductKestal));
}

TEST_F(CliGroupWrite, ARestoreSaysWhenItChangesTheCalibration) {
  SimulatedRadio& radio = StartRadio();
  const Bytes own = RandomImage(48, kProductKestal);
  radio.SetMemory(own);
  Bytes read = own;
  read[0x21] ^= 0x01;  // "Tx Timeout"
  WriteFileBytes(dir.Path("settings.mem"), read);
  read[0x02] ^= 0x01;  // "T1-F1"
  WriteFileBytes(dir.Path("aligned.mem"), read);

  const ToolResult r = RunTool({"restore", "--port", radio.DevicePath(), dir.Path("settings.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Options written: 1 block, verified.\n")) << r.err;
  const ToolResult a = RunTool({"restore", "--port", radio.DevicePath(), dir.Path("aligned.mem")});
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(radio.Memory(), read);
  EXPECT_TRUE(Contains(a.err, "Calibration written: 1 block, verified. The radio's calibration or "
                              "identity changed with them."))
      << a.err;
}

TEST_F(CliGroupWrite, RestoreNeedsAFileOrLast) {
  SimulatedRadio& radio = StartRadio();
  EXPECT_EQ(RunTool({"restore", "--port", radio.DevicePath()}).status, 2);
  const ToolResult none = RunTool({"restore", "--port", radio.DevicePath(), "--last"});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(Contains(none.err, "no read of a Kestal in the read archive")) << none.err;
  EXPECT_TRUE(radio.Requests().empty());
}

TEST_F(CliGroupWrite, NoBackupSkipsTheReadAndAsksAsBefore) {
  SimulatedRadio& radio = StartRadio();
  const Bytes image = RandomImage(50, kProductKestal);
  WriteFileBytes(dir.Path("config.mem"), image);
  const ToolResult r =
      RunTool({"write", "--port", radio.DevicePath(), "--no-backup", "--yes", dir.Path("config.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Radio has not been read in this session. Continue? OK")) << r.err;
  EXPECT_EQ(CountOf(radio.Requests(), OP_READ_BLOCK), 0);
  EXPECT_EQ(radio.Memory(), image);
  EXPECT_TRUE(Archived().empty());
}

TEST_F(CliGroupWrite, GroupsListsEachGroupsAddresses) {
  const ToolResult r = RunTool({"groups"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Kestal\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "  squelch           Squelch                0x0020, 0x0030-0x0031\n"))
      << r.out;
  EXPECT_FALSE(Contains(r.out, "selcall-memories")) << "the Kestal has no selcall";
  const ToolResult merlo = RunTool({"groups", "--model", "merlo"});
  EXPECT_TRUE(Contains(merlo.out, "  selcall-memories  Selcall Memories       0x0338-0x0387\n"))
      << merlo.out;
}

}  // namespace
