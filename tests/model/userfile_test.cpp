// A user's files: what is not a regular file is refused without waiting on
// it, reads are bounded, saves say why they failed, and one file is one
// file however its paths are spelt.
#include "userfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "excerpt.h"

namespace fs = std::filesystem;

namespace {

class UserFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vorn_userfile_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    Write("file.txt", "contents");
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_directory(Path("folder"));
    socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    Path("socket").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  void TearDown() override {
    close(socket_);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  struct Special {
    std::string path;
    const char* reason;
  };
  // Everything a user may name that is not a regular file.
  std::vector<Special> Specials() const {
    return {{Path("folder"), "it is a directory, not a regular file"},
            {Path("fifo"), "it is a FIFO (named pipe), not a regular file"},
            {Path("socket"), "it is a socket, not a regular file"},
            {"/dev/null", "it is a character device, not a regular file"},
            {"/dev/zero", "it is a character device, not a regular file"}};
  }

 private:
  std::string dir_;
  int socket_ = -1;
};

// A FIFO with no writer would hold a blocking open for ever; here nothing
// waits, and nothing but a regular file gets through.
TEST_F(UserFiles, EveryOpenRefusesWhatIsNotARegularFileWithTheSameReason) {
  for (const Special& s : Specials()) {
    SCOPED_TRACE(s.path);
    UserFileError why;
    EXPECT_EQ(OpenUserFileForReading(s.path, why), -1);
    EXPECT_EQ(why.reason, s.reason);
    why = {};
    EXPECT_EQ(OpenUserFileForAppend(s.path, why), -1);
    EXPECT_EQ(why.reason, s.reason);
    std::string text;
    why = {};
    EXPECT_FALSE(ReadUserFile(s.path, 1000, "a list", text, why));
    EXPECT_EQ(why.reason, s.reason);
    std::vector<uint8_t> head;
    uint64_t size = 0;
    why = {};
    EXPECT_FALSE(ReadUserFileHead(s.path, 10, head, size, why));
    EXPECT_EQ(UnableToOpenText(s.path, why), "Unable to open file " + s.path + ": " + s.reason);
    std::string reason;
    EXPECT_FALSE(CheckSaveTarget(s.path, reason));
    EXPECT_EQ(reason, s.reason);
    EXPECT_FALSE(SaveUserFile(s.path, "x", 1, reason));
    EXPECT_EQ(reason, s.reason);
  }
  struct stat st;
  ASSERT_EQ(stat(Path("fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was not replaced by a file";
}

TEST_F(UserFiles, AMissingFileIsSaidAsBeforeAndOtherFailuresWithTheSystemsWords) {
  UserFileError why;
  EXPECT_EQ(OpenUserFileForReading(Path("none"), why), -1);
  EXPECT_TRUE(why.Missing());
  EXPECT_EQ(UnableToOpenText(Path("none"), why), "Unable to open file " + Path("none"));
  why = {};
  EXPECT_EQ(OpenUserFileForReading(Path("file.txt/below"), why), -1);
  EXPECT_EQ(UnableToOpenText(Path("file.txt/below"), why),
            "Unable to open file " + Path("file.txt/below") + ": Not a directory");
  EXPECT_EQ(ErrnoText(ENOSPC), "No space left on device");
  EXPECT_EQ(ErrnoText(EACCES), "Permission denied");
}

TEST_F(UserFiles, ReadsAreBoundedAndSayByHowMuch) {
  Write("big.txt", std::string(3000, 'x'));
  std::string text;
  UserFileError why;
  EXPECT_FALSE(ReadUserFile(Path("big.txt"), 2048, "a channel list", text, why));
  EXPECT_EQ(why.reason, "it holds 3000 bytes, more than a channel list ever needs (2 KiB)");
  EXPECT_TRUE(text.empty());
  ASSERT_TRUE(ReadUserFile(Path("big.txt"), 3000, "a channel list", text, why));
  EXPECT_EQ(text, std::string(3000, 'x'));

  std::vector<uint8_t> head;
  uint64_t size = 0;
  ASSERT_TRUE(ReadUserFileHead(Path("big.txt"), 10, head, size, why));
  EXPECT_EQ(head, std::vector<uint8_t>(10, 'x'));
  EXPECT_EQ(size, 3000u);
}

TEST_F(UserFiles, AppendingMakesAMissingFileAndKeepsWhatIsThere) {
  UserFileError why;
  for (const char* name : {"new.txt", "file.txt"}) {
    const int fd = OpenUserFileForAppend(Path(name), why);
    ASSERT_GE(fd, 0) << why.reason;
    EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "blocking again once it is known to be a file";
    EXPECT_EQ(write(fd, "+", 1), 1);
    close(fd);
  }
  EXPECT_EQ(Read("new.txt"), "+");
  EXPECT_EQ(Read("file.txt"), "contents+");
  EXPECT_EQ(OpenUserFileForAppend(Path("no/folder.txt"), why), -1);
  EXPECT_EQ(why.reason, "No such file or directory");
}

TEST_F(UserFiles, ASaveTargetIsCheckedBeforeAnyWork) {
  struct Case {
    std::string path;
    bool ok;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {Path("file.txt"), true, ""},
      {Path("new.txt"), true, ""},
      {"", false, "no file name"},
      {Path("none/x.mem"), false, "no folder " + Path("none") + " (No such file or directory)"},
      {Path("file.txt/x.mem"), false, "Not a directory"},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_EQ(CheckSaveTarget(c.path, reason), c.ok) << c.path;
    EXPECT_EQ(reason, c.reason) << c.path;
  }
  EXPECT_FALSE(fs::exists(Path("new.txt"))) << "a check writes nothing";
}

// The write itself fails (the size limit stops root too) and says why;
// the old file stays whole.
TEST_F(UserFiles, AFailedSaveSaysWhyAndKeepsTheOldFile) {
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 4;
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string reason;
  const bool ok = SaveUserFile(Path("file.txt"), "a longer text", 13, reason);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(Read("file.txt"), "contents");
  EXPECT_TRUE(SaveUserFile(Path("file.txt"), "new", 3, reason));
  EXPECT_EQ(Read("file.txt"), "new");
}

TEST_F(UserFiles, OneFileIsOneFileHoweverItsPathIsSpelt) {
  ASSERT_EQ(link(Path("file.txt").c_str(), Path("hard.txt").c_str()), 0);
  ASSERT_EQ(symlink(Path("file.txt").c_str(), Path("soft.txt").c_str()), 0);
  Write("other.txt", "contents");
  EXPECT_TRUE(SameFile(Path("file.txt"), Path("folder/../file.txt")));
  EXPECT_TRUE(SameFile(Path("file.txt"), Path("hard.txt")));
  EXPECT_TRUE(SameFile(Path("soft.txt"), Path("file.txt")));
  EXPECT_FALSE(SameFile(Path("file.txt"), Path("other.txt")));
  EXPECT_FALSE(SameFile(Path("none.txt"), Path("none.txt")));
}

TEST(QuotedExcerpt, QuotesAShortPrefixWithControlBytesEscaped) {
  struct Case {
    std::string text;
    std::string quoted;
  };
  const std::vector<Case> cases = {
      {"", "\"\""},
      {"FIRE", "\"FIRE\""},
      {std::string("A\0B", 3), "\"A\\x00B\""},
      {"tab\there\r\n\x7F", "\"tab\\x09here\\x0D\\x0A\\x7F\""},
      {std::string(25, 'Z'), "\"ZZZZZZZZZZZZZZZZZZZZ\"... (25 bytes)"},
      // Characters, not bytes, are counted, and none is cut in two.
      {std::string(19, 'e') + "\xC3\xA9\xC3\xA9", "\"eeeeeeeeeeeeeeeeeee\xC3\xA9\"... (23 bytes)"},
      // Bytes that start no character still end the quote in time.
      {std::string(1000, '\x80'), "\"" + std::string(80, '\x80') + "\"... (1000 bytes)"},
  };
  for (const Case& c : cases) EXPECT_EQ(QuotedExcerpt(c.text), c.quoted);
  EXPECT_EQ(QuotedExcerpt("ABCDEF", 3), "\"ABC\"... (6 bytes)");
}

// Paths in messages: ordinary ones as they are, odd ones quoted short with
// their control bytes escaped, so neither a terminal nor a message box
// takes what a file name holds for anything but text.
TEST(ShownPath, KeepsOrdinaryPathsAndQuotesOddOnesShort) {
  struct Case {
    std::string path;
    std::string shown;
  };
  const std::string longName(100000, 'x');
  const std::vector<Case> cases = {
      {"radio.mem", "radio.mem"},
      {"/home/tech/fleet one/b\xC3\xA9nch.mem", "/home/tech/fleet one/b\xC3\xA9nch.mem"},
      {"x\x1B]0;title\x07\x1B[2Jy.mem", "\"x\\x1B]0;title\\x07\\x1B[2Jy.mem\""},
      {"a\nb.mem", "\"a\\x0Ab.mem\""},
      {std::string(160, 'p'), std::string(160, 'p')},
      {std::string(161, 'p'), "\"" + std::string(160, 'p') + "\"... (161 bytes)"},
      {longName, "\"" + std::string(160, 'x') + "\"... (100000 bytes)"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownPath(c.path), c.shown);
  // The message that names a file stays a line of sensible length.
  UserFileError missing;
  missing.error = ENOENT;
  EXPECT_LE(UnableToOpenText(longName, missing).size(), 200u);
  EXPECT_EQ(UnableToOpenText("x\x1B[2J", missing), "Unable to open file \"x\\x1B[2J\"");
}

TEST_F(UserFiles, NamesSameFileAlsoForAFileNotThereYet) {
  Write("a.mem", "image");
  ASSERT_EQ(symlink(Path("a.mem").c_str(), Path("link.mem").c_str()), 0);
  EXPECT_TRUE(NamesSameFile(Path("a.mem"), Path("link.mem")));
  EXPECT_TRUE(NamesSameFile(Path("new.txt"), Path("./new.txt")));
  EXPECT_TRUE(NamesSameFile(Path("sub/../new.txt"), Path("new.txt")));
  EXPECT_FALSE(NamesSameFile(Path("a.mem"), Path("new.txt")));
  EXPECT_FALSE(NamesSameFile(Path("b.txt"), Path("new.txt")));
}

}  // namespace
