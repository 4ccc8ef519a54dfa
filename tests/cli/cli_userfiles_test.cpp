// Nothing lost, nothing hung: the files vornprog is handed and the files it
// makes. A FIFO, a directory or a device is refused by every command with
// the same words and without waiting on it; a channel list that cannot be
// read never empties a mem-file; output targets are checked before the
// radio is touched; a failed save says why.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "cli_fixture.h"
#include "eeprom.h"
#include "file_size_limit.h"
#include "radioinfo.h"
#include "rxchannels.h"
#include "simimage.h"

namespace {

constexpr const char* kHeader = "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent";

Bytes FactoryImage() {
  EEPROM image;
  MakeDefaultImage(kProductKestal, image);
  return Bytes(image.Data(), image.Data() + image.GetLength());
}

int FactoryChannelCount() {
  EEPROM image;
  MakeDefaultImage(kProductKestal, image);
  TradioInfo info;
  info.SelectModel(kProductKestal);
  const RxChannelList list = LoadChannels(image, info);
  int count = 0;
  for (int bank = 0; bank < kRxBankCount; ++bank)
    count += static_cast<int>(ListedSlots(list, bank).size());
  return count;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool IsFifo(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Runs the tool with its files limited to `bytes`, so a save fails in the
// write itself, for root as well.
ToolResult RunWithFileSizeLimit(const std::vector<std::string>& args, rlim_t bytes) {
  std::optional<ToolProcess> tool;
  {
    const FileSizeLimit limit(bytes);  // inherited by the tool alone
    tool.emplace(args);
  }
  return tool->Wait();
}

class CliUserFiles : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    if (IsSkipped()) return;
    WriteFileBytes(dir.Path("k.mem"), FactoryImage());
    ASSERT_EQ(mkfifo(dir.Path("f.mem").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.Path("folder.mem"));
  }
};

// ---- special files never block ----

struct Special {
  const char* name;
  const char* reason;
};

const Special kSpecials[] = {
    {"f.mem", "it is a FIFO (named pipe), not a regular file"},
    {"folder.mem", "it is a directory, not a regular file"},
    {"/dev/zero", "it is a character device, not a regular file"},
};

// Each command that reads a user's file, {} standing for the special file.
const std::vector<std::vector<std::string>> kReaders = {
    {"dump", "{}"},
    {"report", "{}"},
    {"channels", "{}"},
    {"diff", "{}", "k.mem"},
    {"diff", "k.mem", "{}"},
    {"write", "--yes", "--port", "RADIO", "{}"},
    {"channels", "k.mem", "--import", "{}"},
    {"--trace", "{}", "info", "--port", "RADIO"},
};

TEST_F(CliUserFiles, EveryReaderRefusesWhatIsNotARegularFileWithTheSameWords) {
  SimulatedRadio& radio = StartRadio();
  const Bytes before = ReadFileBytes(dir.Path("k.mem"));
  for (const Special& s : kSpecials) {
    const std::string special = s.name[0] == '/' ? s.name : dir.Path(s.name);
    for (const std::vector<std::string>& command : kReaders) {
      std::vector<std::string> args;
      for (const std::string& a : command)
        args.push_back(a == "{}" ? special : a == "RADIO" ? radio.DevicePath()
                                 : a == "k.mem"           ? dir.Path("k.mem")
                                                          : a);
      SCOPED_TRACE(command[0] + " " + command[1] + " of " + s.name);
      const ToolResult r = RunTool(args);
      EXPECT_EQ(r.status, command[0] == "diff" ? 2 : 1) << r.err;
      const std::string said =
          command[0] == "--trace" ? "cannot open the trace " + special + ": " + s.reason
                                  : "Unable to open file " + special + ": " + s.reason;
      EXPECT_TRUE(Contains(r.err, said)) << r.err;
    }
  }
  EXPECT_TRUE(radio.Requests().empty()) << "no radio is touched for a file it cannot use";
  EXPECT_EQ(ReadFileBytes(dir.Path("k.mem")), before);
  EXPECT_TRUE(IsFifo(dir.Path("f.mem")));
}

// ---- an import never wipes data by accident ----

struct BadList {
  const char* name;
  std::string content;  // written to list.csv unless path is given
  const char* path;     // a path of its own: "/dev/null", "folder.mem"
  const char* said;
};

const BadList kBadLists[] = {
    {"Directory", "", "folder.mem", "it is a directory, not a regular file"},
    {"DevNull", "", "/dev/null", "it is a character device, not a regular file"},
    {"DevZero", "", "/dev/zero", "it is a character device, not a regular file"},
    {"Fifo", "", "f.mem", "it is a FIFO (named pipe), not a regular file"},
    {"EmptyFile", "", nullptr, "list.csv: the list is empty"},
    {"NoHeader", "A,0,81,476.4250,\"FIRE\",1,0,0,0\n", nullptr,
     "list.csv line 1: the first line is not the header"},
    {"ForeignFile", "#!/bin/sh\necho hello\n", nullptr, "list.csv line 1: the first line is not the header"},
    {"TooLarge", std::string(kHeader) + "\n" + std::string(kMaxChannelListBytes, ' '), nullptr,
     "more than a channel list ever needs (512 KiB)"},
    {"MissingFile", "", "none.csv", "Unable to open file"},
};

class CliBadList : public CliUserFiles, public ::testing::WithParamInterface<BadList> {};

TEST_P(CliBadList, IsRefusedWithTheReasonAndTheMemFileUntouched) {
  const BadList& c = GetParam();
  std::string list = dir.Path("list.csv");
  if (c.path == nullptr)
    WriteText(list, c.content);
  else
    list = c.path[0] == '/' ? c.path : dir.Path(c.path);
  const Bytes before = ReadFileBytes(dir.Path("k.mem"));
  const ToolResult r = RunTool({"channels", dir.Path("k.mem"), "--import", list});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, c.said)) << r.err;
  EXPECT_TRUE(Contains(r.err, dir.Path("k.mem") + " not written")) << r.err;
  EXPECT_FALSE(Contains(r.err, "wrote")) << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("k.mem")), before);
}

INSTANTIATE_TEST_SUITE_P(Lists, CliBadList, ::testing::ValuesIn(kBadLists),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliUserFiles, AListOfTheHeaderAloneClearsAllAndSaysHowMany) {
  const int count = FactoryChannelCount();
  ASSERT_GT(count, 0);
  WriteText(dir.Path("clear.csv"), std::string(kHeader) + "\r\n");
  const ToolResult r = RunTool({"channels", dir.Path("k.mem"), "--import", dir.Path("clear.csv")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "the list holds no channels: removed all " + std::to_string(count) +
                                  " receive-only channels from " + dir.Path("k.mem")))
      << r.err;
  const ToolResult after = RunTool({"channels", dir.Path("k.mem")});
  EXPECT_EQ(after.out, std::string(kHeader) + "\n");
}

// ---- CSV as spreadsheets write it ----

TEST_F(CliUserFiles, AListWithAByteOrderMarkAndCrLfLineEndsIsTaken) {
  const ToolResult exported = RunTool({"channels", dir.Path("k.mem")});
  ASSERT_EQ(exported.status, 0) << exported.err;
  std::string spreadsheet = "\xEF\xBB\xBF";
  for (char c : exported.out) spreadsheet += c == '\n' ? std::string("\r\n") : std::string(1, c);
  WriteText(dir.Path("sheet.csv"), spreadsheet);
  const ToolResult r = RunTool({"channels", dir.Path("k.mem"), "--import", dir.Path("sheet.csv"), "-o",
                                dir.Path("back.mem")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "wrote " + std::to_string(FactoryChannelCount()) + " receive-only channels"))
      << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("back.mem")), ReadFileBytes(dir.Path("k.mem")));
}

// ---- messages stay readable ----

TEST_F(CliUserFiles, AHugeOrBinaryValueIsQuotedShortOnOneLine) {
  struct Case {
    const char* name;
    std::string tag;
    std::string quoted;
  };
  const std::vector<Case> cases = {
      {"Huge", std::string(400 * 1024, 'W'), "\"WWWWWWWWWWWWWWWWWWWW\"... (409600 bytes)"},
      {"Nul", std::string("AB\0CD", 5), "\"AB\\x00CD\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(dir.Path("bad.csv"), std::string(kHeader) + "\nA,0,81,476.4250,\"" + c.tag + "\",1,0,0,0\n");
    const ToolResult r = RunTool({"channels", dir.Path("k.mem"), "--import", dir.Path("bad.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "bad.csv line 2: alpha tag " + c.quoted)) << r.err.substr(0, 300);
    EXPECT_LT(r.err.size(), 600u);
    EXPECT_EQ(r.err.find('\0'), std::string::npos);
  }
}

// ---- output targets are checked before the radio is touched ----

TEST_F(CliUserFiles, AReadIntoATargetThatCannotBeSavedNeverStarts) {
  SimulatedRadio& radio = StartRadio();
  struct Case {
    std::string target;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {dir.Path("f.mem"), "it is a FIFO (named pipe), not a regular file"},
      {"/dev/null", "it is a character device, not a regular file"},
      {dir.Path("folder.mem"), "it is a directory, not a regular file"},
      {dir.Path("none/r.mem"), "no folder " + dir.Path("none")},
      {dir.Path("k.mem/r.mem"), "Not a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const ToolResult r = RunTool({"read", "--port", radio.DevicePath(), "-o", c.target});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "Unable to write file " + c.target + ": " + c.reason)) << r.err;
    EXPECT_TRUE(Contains(r.err, "nothing read")) << r.err;
  }
  EXPECT_TRUE(radio.Requests().empty());
  EXPECT_TRUE(IsFifo(dir.Path("f.mem")));
}

// ---- a backup never replaces the file being written ----

TEST_F(CliUserFiles, ABackupThatNamesTheFileToBeWrittenIsRefused) {
  SimulatedRadio& radio = StartRadio();
  const Bytes radioMemory = radio.Memory();
  const Bytes image = RandomImage(41, kProductKestal);
  WriteFileBytes(dir.Path("config.mem"), image);
  ASSERT_EQ(link(dir.Path("config.mem").c_str(), dir.Path("hard.mem").c_str()), 0);
  for (const std::string& backup :
       {dir.Path("config.mem"), dir.Path("folder.mem/../config.mem"), dir.Path("hard.mem")}) {
    SCOPED_TRACE(backup);
    const ToolResult r = RunTool(
        {"write", "--port", radio.DevicePath(), "--yes", "--backup", backup, dir.Path("config.mem")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "the backup " + backup + " is the file to be written")) << r.err;
    EXPECT_FALSE(Contains(r.err, "wrote")) << r.err;
  }
  EXPECT_TRUE(radio.Requests().empty());
  EXPECT_EQ(radio.Memory(), radioMemory);
  EXPECT_EQ(ReadFileBytes(dir.Path("config.mem")), image);
}

// ---- reasons on every failed save ----

TEST_F(CliUserFiles, AFailedSaveSaysWhy) {
  SimulatedRadio& radio = StartRadio();
  WriteText(dir.Path("clear.csv"), std::string(kHeader) + "\n");
  const std::string out = dir.Path("out.mem");
  ToolResult r = RunWithFileSizeLimit(
      {"channels", dir.Path("k.mem"), "--import", dir.Path("clear.csv"), "-o", out}, 1000);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "Unable to write file " + out + ": File too large")) << r.err;

  r = RunWithFileSizeLimit({"read", "--port", radio.DevicePath(), "-o", out}, 1000);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "Unable to write file " + out + ": File too large")) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

// ---- report says what dump says of a file ----

TEST_F(CliUserFiles, ReportAndDumpGiveTheSameSizeNoteAndFailForAnUnknownModel) {
  struct Case {
    const char* name;
    Bytes bytes;
    int status;
    std::string note;
  };
  Bytes unknown(2048, 0x00);
  unknown[0] = 0x41;
  unknown[1] = 0x42;
  Bytes shortFile = FactoryImage();
  shortFile.resize(100);
  Bytes longFile = FactoryImage();
  longFile.resize(4096, 0xAA);
  const std::vector<Case> cases = {
      {"short.mem", shortFile, 0, "short.mem holds 100 bytes, not 2048: the rest reads as erased (0xFF)"},
      {"long.mem", longFile, 0, "long.mem holds 4096 bytes, not 2048: the rest is ignored"},
      {"unknown.mem", unknown, 1, "unknown.mem: product ID 4142 names no model; is it a mem-file?"},
  };
  for (const Case& c : cases) {
    WriteFileBytes(dir.Path(c.name), c.bytes);
    for (const char* command : {"dump", "report"}) {
      SCOPED_TRACE(std::string(command) + " " + c.name);
      const ToolResult r = RunTool({command, dir.Path(c.name)});
      EXPECT_EQ(r.status, c.status) << r.err;
      EXPECT_TRUE(Contains(r.err, dir.Path("") + c.note)) << r.err;
      EXPECT_FALSE(r.out.empty()) << "listed all the same";
    }
  }
}

}  // namespace
