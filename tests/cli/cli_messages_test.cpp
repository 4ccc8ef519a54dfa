// What vornprog says: paths and values quoted short with control bytes
// escaped, the reason a file could not be opened, every line of a message
// marked as the tool's, and --quiet for scripts.

#include <filesystem>

#include "cli_fixture.h"
#include "radio.h"

namespace {

const std::string kEscapes = "x\x1B]0;title\x07\x1B[2Jy.mem";
const std::string kEscapesShown = "\"x\\x1B]0;title\\x07\\x1B[2Jy.mem\"";

std::string ImageFile(TempDir& dir, const std::string& name, const Bytes& bytes) {
  WriteFileBytes(dir.Path(name), bytes);
  return dir.Path(name);
}

bool HoldsControlBytes(const std::string& text) {
  for (const char c : text)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r') || c == 0x7F) return true;
  return false;
}

struct QuotingCase {
  const char* what;
  // Arguments; "DIR/" starts a path in the test's folder, "RADIO" is the
  // simulated radio's device.
  std::vector<std::string> args;
  int status;
  std::string said;  // a part of standard error
};

std::string LongName() { return std::string(100000, 'n') + ".mem"; }

std::vector<QuotingCase> QuotingCases() {
  // The folder's name comes first; the quote ends inside the long name.
  const std::string longShown = std::string(40, 'n') + "\"... (";
  return {
      {"dump of a missing file named with escapes", {"dump", "DIR/" + kEscapes}, 1,
       "Unable to open file \"DIR/x\\x1B]0;title\\x07\\x1B[2Jy.mem\": No such file or directory"},
      {"dump of a 100,000-character name", {"dump", "DIR/" + LongName()}, 1, longShown},
      {"the read's success line", {"read", "--port", "RADIO", "-o", "DIR/" + kEscapes}, 0,
       "read 2048 bytes into \"DIR/x\\x1B]0;title\\x07\\x1B[2Jy.mem\""},
      {"a read into a long name", {"read", "--port", "RADIO", "-o", "DIR/" + LongName()}, 1,
       longShown},
      {"a trace named with escapes", {"--trace", "DIR/none/" + kEscapes, "dump", "DIR/a.mem"}, 1,
       "cannot open the trace \"DIR/none/x\\x1B]0;title\\x07\\x1B[2Jy.mem\": "},
      {"a long trace name", {"--trace", "DIR/" + LongName(), "dump", "DIR/a.mem"}, 1, longShown},
      {"a port device with escapes", {"info", "--port", "/dev/" + kEscapes}, 1,
       "\"/dev/x\\x1B]0;title\\x07\\x1B[2Jy.mem\""},
      {"a long port device", {"info", "--port", "/dev/" + LongName()}, 1,
       "\"/dev/" + std::string(155, 'n') + "\"... ("},
  };
}

class CliQuoting : public CliTest, public ::testing::WithParamInterface<QuotingCase> {};

TEST_P(CliQuoting, PathsAreQuotedShortWithControlBytesEscaped) {
  const QuotingCase& c = GetParam();
  SimulatedRadio& radio = StartRadio();
  ImageFile(dir, "a.mem", RandomImage(31, kProductKestal));
  const std::string folder = dir.Path("");
  auto expand = [&](std::string text) {
    for (size_t at; (at = text.find("DIR/")) != std::string::npos;)
      text.replace(at, 4, folder);
    return text == "RADIO" ? radio.DevicePath() : text;
  };
  std::vector<std::string> args;
  for (const std::string& a : c.args) args.push_back(expand(a));
  const ToolResult r = RunTool(args);
  EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.err;
  EXPECT_TRUE(Contains(r.err, expand(c.said))) << c.what << "\n" << r.err;
  EXPECT_FALSE(HoldsControlBytes(r.err)) << c.what << "\n" << r.err;
  EXPECT_LT(r.err.size(), 1200u) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Messages, CliQuoting, ::testing::ValuesIn(QuotingCases()));

TEST_F(CliTest, AMissingFileIsNamedWithTheReason) {
  const ToolResult r = RunTool({"dump", dir.Path("nonexist.mem")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornprog: File Open Error: Unable to open file " + dir.Path("nonexist.mem") +
                       ": No such file or directory\n");
}

// A message of several lines marks each line as the tool's, so a script's
// log shows where every line came from.
TEST_F(CliTest, EveryLineOfAMessageStartsWithTheToolsName) {
  SimulatedRadio& radio = StartRadio();
  SimFaults faults;
  faults.silentOpcode = OP_WRITE_BLOCK;  // the radio stops answering mid-write
  faults.silentOpcodeAfter = 5;
  radio.SetFaults(faults);
  const std::string file = ImageFile(dir, "config.mem", RandomImage(32, kProductKestal));
  const ToolResult r = RunTool({"write", "--port", radio.DevicePath(), "--yes", file});
  EXPECT_EQ(r.status, 1);
  ASSERT_TRUE(Contains(r.err, "The radio now holds part of the new configuration")) << r.err;
  size_t start = 0;
  while (start < r.err.size()) {
    const size_t end = r.err.find('\n', start);
    const std::string line = r.err.substr(start, end - start);
    EXPECT_EQ(line.rfind("vornprog: ", 0), 0u) << line;
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

// --quiet: a read that goes well says nothing; one that fails still says why.
TEST_F(CliTest, QuietSaysErrorsOnly) {
  SimulatedRadio& radio = StartRadio();
  const std::string output = dir.Path("radio.mem");
  const ToolResult quiet = RunTool({"--quiet", "read", "--port", radio.DevicePath(), "-o", output});
  EXPECT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(ReadFileBytes(output), radio.Memory());

  const ToolResult loud = RunTool({"read", "--port", radio.DevicePath(), "-o", output});
  EXPECT_TRUE(Contains(loud.err, "read 2048 bytes into")) << loud.err;

  const ToolResult missing = RunTool({"-q", "dump", dir.Path("none.mem")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(Contains(missing.err, "Unable to open file")) << missing.err;
}

}  // namespace
