// vornprog dump and diff of mem-files, and the command line itself.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "cli_fixture.h"
#include "eeprom.h"
#include "params.h"
#include "progressbar.h"
#include "simimage.h"
#include "param_by_name.h"

namespace {

Bytes DefaultImage(uint32_t productId) {
  EEPROM image;
  MakeDefaultImage(productId, image);
  return Bytes(image.Data(), image.Data() + image.GetLength());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines naming a parameter: its name padded in its column, so
// "Menu Enable" does not match "Menu Enable 1".
std::vector<std::string> LinesNaming(const std::vector<std::string>& lines, const std::string& name) {
  std::vector<std::string> out;
  for (const std::string& l : lines)
    if (l.size() > 5 && l.compare(5, name.size() + 2, name + "  ") == 0) out.push_back(l);
  return out;
}

std::string Hex(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// ---- dump ----

TEST_F(CliTest, DumpListsEveryKestalParameterWithAddressAndValue) {
  const Bytes image = DefaultImage(kProductKestal);
  WriteFileBytes(dir.Path("default.mem"), image);
  const ToolResult r = RunTool({"dump", dir.Path("default.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);

  const auto id = LinesNaming(lines, "Product ID");
  ASSERT_EQ(id.size(), 1u) << r.out;
  EXPECT_TRUE(Contains(id[0], "0x000   23042  0x5A02")) << id[0];
  EXPECT_TRUE(Contains(lines[0], "Kestal (product ID 5A02)")) << lines[0];

  int listed = 0;
  for (int i = 0; i < kParamCount; ++i) {
    const int address = kKestalParamAddresses[i];
    const auto named = LinesNaming(lines, ParamName(i));
    if (address < 0) {
      EXPECT_TRUE(named.empty()) << ParamName(i) << " is not a Kestal parameter";
      continue;
    }
    ++listed;
    ASSERT_EQ(named.size(), 1u) << ParamName(i);
    EXPECT_TRUE(Contains(named[0], Hex("0x%03X", address))) << named[0];
    // Single bytes show their value both ways.
    const bool multiByte = i == kParamProductId.Index() || i == kParamPcbRev.Index() ||
                           i == kParamRxOnlyChannels.Index();
    if (!multiByte && address < 2048 &&
        !Contains(named[0], " FF FF") && named[0].size() < 60) {
      EXPECT_TRUE(Contains(named[0], std::to_string(image[static_cast<size_t>(address)]) + "  " +
                                         Hex("0x%02X", image[static_cast<size_t>(address)])))
          << named[0];
    }
  }
  EXPECT_GT(listed, 90);
  const auto pcb = LinesNaming(lines, "PCB Rev");
  ASSERT_EQ(pcb.size(), 1u);
  EXPECT_TRUE(Contains(pcb[0], Hex("0x%04X", image[28] << 8 | image[29]))) << pcb[0];
  // The selcall ident is shown whole: its 8 bytes and no more.
  const auto ident = LinesNaming(lines, "Selcall Ident");
  ASSERT_EQ(ident.size(), 1u);
  const std::string identBytes = "0x388  FF FF FF FF FF FF FF FF";
  ASSERT_GE(ident[0].size(), identBytes.size());
  EXPECT_EQ(ident[0].substr(ident[0].size() - identBytes.size()), identBytes) << ident[0];
}

TEST_F(CliTest, DumpDecodesTheReceiveOnlyChannelsThatHaveAFrequency) {
  const Bytes image = DefaultImage(kProductKestal);
  WriteFileBytes(dir.Path("default.mem"), image);
  const ToolResult r = RunTool({"dump", dir.Path("default.mem")});
  ASSERT_EQ(r.status, 0) << r.err;

  // Kestal: records at 224, 6 bytes each; membership bit 80 + m of the
  // arrays at 128, 152, 176, 200.
  const int arrays[4] = {128, 152, 176, 200};
  const char* names[4] = {"Scan0", "Scan1", "Quiet", "Silent"};
  int withFrequency = 0;
  for (int m = 0; m < 100; ++m) {
    const int a = 224 + 6 * m;
    const int word = image[static_cast<size_t>(a)] << 8 | image[static_cast<size_t>(a + 1)];
    if (word == 0 || word == 0xFFFF) continue;
    ++withFrequency;
    char freq[32];
    std::snprintf(freq, sizeof freq, "%8.4f MHz", word * 12500 / 1e6);
    std::string members;
    for (int k = 0; k < 4; ++k) {
      const int bit = 80 + m;
      const bool set = (image[static_cast<size_t>(arrays[k] + bit / 8)] >> (bit % 8)) & 1;
      members += std::string(" ") + (set ? names[k] : "-");
    }
    std::string line;
    for (const std::string& l : Lines(r.out))
      if (l.compare(0, 5, Hex("%3d  ", m)) == 0 && Contains(l, " MHz")) line = l;
    ASSERT_FALSE(line.empty()) << "record " << m;
    EXPECT_TRUE(Contains(line, Hex("  %3d  ", 81 + m % 20))) << line;
    EXPECT_TRUE(Contains(line, freq)) << line;
    EXPECT_TRUE(Contains(line, "\"" + members)) << line << " wants" << members;
  }
  EXPECT_GT(withFrequency, 0) << "the default image has receive-only channels";
}

// Subtone codes are named as the programmer lists them, in the tone
// numbering the image and its model put in force.
TEST_F(CliTest, DumpNamesTheSubtoneCodes) {
  const struct {
    uint32_t product;
    int options5;
    int tx, rx, netScan;
    const char* txText;
    const char* rxText;
    const char* netScanText;
  } cases[] = {
      {kProductKestal, 0x00, 39, 154, 0, "CTC02 - 69.4Hz", "DT104 - 754", "OFF"},
      {kProductKestal, 0x80, 39, 51, 1, "CTC39 - 196.6Hz", "DT001 - 023", "CTC01 - 67.0Hz"},
      {kProductKestal, 0xC0, 2, 45, 200, "CTC03 - 71.9Hz", "???", "???"},
      {kProductPinto, 0xC0, 39, 2, 50, "CTC02 - 69.4Hz", "CTC03 - 71.9Hz", "CTC50 - 254.1Hz"},
      // The Dravo's own set needs firmware 2, which a file cannot tell.
      {kProductDravo, 0xC0, 2, 38, 60, "CTC03 - 71.9Hz", "CTC49 - 250.3Hz", "DT010 - 053"},
  };
  for (const auto& c : cases) {
    TradioInfo info;
    info.SelectModel(c.product);
    Bytes image = DefaultImage(c.product);
    image[static_cast<size_t>(info.GetParamAddress("Options-5"))] = static_cast<unsigned char>(c.options5);
    const std::pair<const char*, int> codes[] = {
        {"Tx CTCSS Tone", c.tx}, {"Rx CTCSS Tone", c.rx}, {"Netscan Ctcss Tone", c.netScan}};
    for (const auto& [name, code] : codes)
      image[static_cast<size_t>(info.GetParamAddress(ParamByName(name)))] = static_cast<unsigned char>(code);
    WriteFileBytes(dir.Path("tones.mem"), image);
    const ToolResult r = RunTool({"dump", dir.Path("tones.mem")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    const std::pair<const char*, const char*> texts[] = {
        {"Tx CTCSS Tone", c.txText}, {"Rx CTCSS Tone", c.rxText}, {"Netscan Ctcss Tone", c.netScanText}};
    for (const auto& [name, text] : texts) {
      const auto named = LinesNaming(lines, name);
      ASSERT_EQ(named.size(), 1u) << name;
      const std::string tail = std::string("  ") + text;
      ASSERT_GE(named[0].size(), tail.size());
      EXPECT_EQ(named[0].substr(named[0].size() - tail.size()), tail) << named[0];
    }
  }
}

// Listed all the same, but a script learns it was no mem-file of a model.
TEST_F(CliTest, DumpOfAnUnknownModelShowsOnlyTheProductIdAndFails) {
  Bytes image(2048, 0x00);
  image[0] = 0x12;
  image[1] = 0x34;
  WriteFileBytes(dir.Path("odd.mem"), image);
  const ToolResult r = RunTool({"dump", dir.Path("odd.mem")});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Contains(r.err, dir.Path("odd.mem") + ": product ID 1234 names no model")) << r.err;
  EXPECT_TRUE(Contains(r.out, "Model: unknown (product ID 1234)")) << r.out;
  EXPECT_EQ(LinesNaming(Lines(r.out), "Product ID").size(), 1u);
  EXPECT_TRUE(LinesNaming(Lines(r.out), "Status").empty());
  EXPECT_TRUE(Contains(r.out, "Receive-only channels: none on this model")) << r.out;
}

TEST_F(CliTest, DumpOfAMissingFileFails) {
  const ToolResult r = RunTool({"dump", dir.Path("none.mem")});
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(Contains(r.err, "Unable to open file " + dir.Path("none.mem"))) << r.err;
}

// ---- diff ----

struct DiffCase {
  const char* name;
  std::vector<std::pair<int, int>> changes;  // address, new byte
  std::vector<std::string> lines;            // what each output line starts with
};

class CliDiff : public CliTest, public ::testing::WithParamInterface<DiffCase> {};

TEST_P(CliDiff, NamesExactlyWhatDiffers) {
  Bytes a = DefaultImage(kProductKestal), b = a;
  for (const auto& [address, value] : GetParam().changes) b[static_cast<size_t>(address)] = static_cast<unsigned char>(value);
  WriteFileBytes(dir.Path("a.mem"), a);
  WriteFileBytes(dir.Path("b.mem"), b);
  const ToolResult r = RunTool({"diff", dir.Path("a.mem"), dir.Path("b.mem")});
  EXPECT_EQ(r.status, GetParam().lines.empty() ? 0 : 1) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), GetParam().lines.size()) << r.out;
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].rfind(GetParam().lines[i], 0), 0u) << lines[i];
}

INSTANTIATE_TEST_SUITE_P(
    Images, CliDiff,
    ::testing::Values(
        DiffCase{"Same", {}, {}},
        // "Sql Level" at 32 and "Beep Vol" at 65.
        DiffCase{"TwoParameters", {{32, 0x07}, {65, 0x01}}, {"Sql Level: ", "Beep Vol: "}},
        // Record 2's frequency word.
        DiffCase{"ChannelFrequency", {{224 + 12 + 1, 0x00}}, {"Rx-only channel 2 (- 83): "}},
        // Record 2's name is empty (the first code ends it), so a byte
        // after that code changes no name: it is still reported.
        DiffCase{"HiddenNameByte", {{224 + 12 + 3, 0x00}}, {"byte 0x0EF: "}},
        // Byte 62 has no name on the Kestal; the gap after "Scan Mem 2" neither.
        DiffCase{"UnnamedBytes", {{62, 0x11}, {1000, 0x01}, {1001, 0x02}},
                 {"byte 0x03E: ", "bytes 0x3E8..0x3E9: 2 bytes differ"}},
        // The selcall memories (10 x 8 bytes at 824) and the ident (8 bytes
        // at 904) are named whichever of their bytes changes.
        DiffCase{"SelcallMemoryAndIdent", {{824 + 8 * 9 + 7, 0x00}, {904 + 6, 0x00}},
                 {"Selcall Mem: ", "Selcall Ident: "}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, DiffGivesValuesOnBothSides) {
  Bytes a = DefaultImage(kProductKestal), b = a;
  a[32] = 3;
  b[32] = 12;
  WriteFileBytes(dir.Path("a.mem"), a);
  WriteFileBytes(dir.Path("b.mem"), b);
  const ToolResult r = RunTool({"diff", dir.Path("a.mem"), dir.Path("b.mem")});
  EXPECT_EQ(r.out, "Sql Level: 3 (0x03) -> 12 (0x0C)\n");
}

// ---- the command line ----

struct UsageCase {
  std::vector<std::string> args;
  int status;
  bool onStdout;
  const char* text;
};

class CliUsage : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsage, AnswersHelpAndRefusesBadArguments) {
  const ToolResult r = RunTool(GetParam().args);
  EXPECT_EQ(r.status, GetParam().status) << r.out << r.err;
  EXPECT_TRUE(Contains(GetParam().onStdout ? r.out : r.err, GetParam().text)) << r.out << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsage,
    ::testing::Values(
        UsageCase{{"--help"}, 0, true, "Usage: vornprog COMMAND"},
        UsageCase{{"--help"}, 0, true, "Vorn Kestal Programmer (v2.00).\n"},
        UsageCase{{"--version"}, 0, true, "vornprog 2.00\nBuild model: Kestal\nBuild: QP0417.2.00, "},
        UsageCase{{}, 2, false, "Usage: vornprog COMMAND"},
        UsageCase{{"ports", "--help"}, 0, true, "Usage: vornprog ports"},
        UsageCase{{"detect", "-h"}, 0, true, "Usage: vornprog detect"},
        UsageCase{{"info", "--help"}, 0, true, "Usage: vornprog info --port PORT"},
        UsageCase{{"read", "--help"}, 0, true, "Usage: vornprog read --port PORT --output FILE"},
        UsageCase{{"write", "--help"}, 0, true,
                  "Usage: vornprog write --port PORT [--yes] [--backup FILE] [--no-backup] "
                  "[--keep-calibration] [--verify] [--only GROUP[,GROUP...]] "
                  "[--except GROUP[,GROUP...]] [--changed-from BASE] FILE"},
        UsageCase{{"archive", "--help"}, 0, true, "Usage: vornprog archive\n"},
        UsageCase{{"channels", "--help"}, 0, true,
                  "Usage: vornprog channels [--import LIST] [--output FILE] FILE"},
        UsageCase{{"channels", "-o", "out.mem", "in.mem"}, 2, false, "--output goes with --import"},
        UsageCase{{"--trace", "t.txt"}, 2, false, "--trace needs FILE and a command"},
        UsageCase{{"dump", "--help"}, 0, true, "Usage: vornprog dump FILE"},
        UsageCase{{"diff", "--help"}, 0, true, "Usage: vornprog diff FILE1 FILE2"},
        UsageCase{{"simulate", "--help"}, 0, true, "--image FILE"},
        UsageCase{{"frobnicate"}, 2, false, "unknown command \"frobnicate\""},
        // A wrong word is quoted short, with a terminal's control bytes escaped.
        UsageCase{{"fro\x1b[2Jb"}, 2, false, "unknown command \"fro\\x1B[2Jb\""},
        UsageCase{{"read", "--port", std::string(5000, 'x'), "-o", "x.mem"}, 2, false,
                  "not \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (5000 bytes)"},
        UsageCase{{"read", "--port", "COM1"}, 2, false, "--output FILE is required"},
        UsageCase{{"read", "-o", "x.mem"}, 2, false, "--port PORT is required"},
        UsageCase{{"read", "--port", "COM0", "-o", "x.mem"}, 2, false, "PORT must be COM1 to COM256"},
        UsageCase{{"read", "--port"}, 2, false, "--port needs PORT"},
        UsageCase{{"write", "--port", "COM1"}, 2, false, "missing FILE"},
        UsageCase{{"write", "--port", "COM1", "--yes=1", "f"}, 2, false, "--yes takes no value"},
        UsageCase{{"dump", "a", "b"}, 2, false, "unexpected argument \"b\""},
        UsageCase{{"diff", "--colour", "a", "b"}, 2, false, "unknown option \"--colour\""},
        UsageCase{{"simulate", "--model", "zebra"}, 2, false, "bad value for --model"},
        UsageCase{{"simulate", "--image", "/no/such/radio.mem"}, 1, false,
                  "vornprog: cannot read /no/such/radio.mem as a mem-file of 2048 bytes"}));

// ---- the progress bar's line ----

TEST(ProgressBarLine, FillsWithTheTransferAndClampsAtTheEnds) {
  EXPECT_EQ(ProgressBarLine("Reading from Radio", 0, 0, 2047, 10), "Reading from Radio [          ]   0%");
  EXPECT_EQ(ProgressBarLine("R", 1024, 0, 2047, 10), "R [#####     ]  50%");
  EXPECT_EQ(ProgressBarLine("R", 2048, 0, 2047, 10), "R [##########] 100%");
  EXPECT_EQ(ProgressBarLine("R", -5, 0, 2047, 10), "R [          ]   0%");
  EXPECT_EQ(ProgressBarLine("R", 5, 5, 5, 4), "R [    ]   0%");
}

}  // namespace

namespace {

// A port the user may not open gets the same remedy as in the window.
TEST_F(CliTest, ARefusedPortComesWithTheDialoutRemedy) {
  std::string device = dir.Path("ttyLocked");
  if (geteuid() == 0) {
    // Root opens any mode; a read-only kernel attribute still refuses it.
    device = "/sys/kernel/uevent_seqnum";
    if (access(device.c_str(), F_OK) != 0) GTEST_SKIP() << "no refusing device here";
  } else {
    std::FILE* f = std::fopen(device.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    ASSERT_EQ(chmod(device.c_str(), 0), 0);
  }
  const ToolResult r = RunTool({"info", "--port", device});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, device + ": Permission denied\n")) << r.err;
  EXPECT_TRUE(Contains(r.err, "Serial ports belong to the \"dialout\" group. Add your user to it "
                              "(sudo usermod -aG dialout $USER)"))
      << r.err;
  // Any other failure gets no such advice.
  const ToolResult missing = RunTool({"info", "--port", dir.Path("ttyNone")});
  EXPECT_FALSE(Contains(missing.err, "dialout")) << missing.err;
}

}  // namespace
