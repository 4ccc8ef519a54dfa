#include "memfile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "eeprom.h"
#include "image_file.h"
#include "radioinfo.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + i / 256);
  return bytes;
}

std::vector<uint8_t> Bytes(const EEbuffer& b) {
  return std::vector<uint8_t>(b.Data(), b.Data() + b.GetLength());
}

class MemFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vorn_memfile_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  std::string PathOf(const std::string& name) const { return (dir / name).string(); }

  void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  static std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  // Names in the folder, to catch temporary files left behind.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    return names;
  }

  static std::vector<uint8_t> Image(uint32_t productId) {
    std::vector<uint8_t> bytes = Pattern(kImageSize);
    bytes[0] = static_cast<uint8_t>(productId >> 8);
    bytes[1] = static_cast<uint8_t>(productId);
    return bytes;
  }

  fs::path dir;
};

TEST_F(MemFileTest, LoadFillsErasedThenReadsAtMostTheImage) {
  struct Case {
    size_t fileSize;
    int read;
  };
  const std::vector<Case> cases = {{0, 0}, {100, 100}, {2048, 2048}, {4096, 2048}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileSize);
    const std::vector<uint8_t> content = Pattern(c.fileSize);
    WriteFile(PathOf("in.mem"), content);
    EEPROM image;
    image.Fill(0x00);
    ASSERT_EQ(LoadImageFile(image, PathOf("in.mem").c_str()), c.read);
    for (int a = 0; a < kImageSize; ++a) {
      ASSERT_EQ(image.GetByte(a), a < c.read ? content[a] : 0xFF) << a;
    }
  }
}

TEST_F(MemFileTest, LoadOfMissingFileOrFolderChangesNothing) {
  const std::vector<std::string> paths = {PathOf("missing.mem"), dir.string()};
  for (const std::string& path : paths) {
    EEPROM image;
    image.Fill(0x42);
    EXPECT_EQ(LoadImageFile(image, path.c_str()), -1) << path;
    EXPECT_EQ(Bytes(image), std::vector<uint8_t>(kImageSize, 0x42)) << path;
  }
}

TEST_F(MemFileTest, SaveThenLoadGivesTheSameImage) {
  EEPROM image;
  image.WriteBlock(0, Pattern(kImageSize).data(), kImageSize);
  const std::string path = PathOf("round.mem");
  ASSERT_EQ(SaveImageFile(image, path.c_str()), kImageSize);
  EXPECT_EQ(ReadFile(path), Bytes(image));

  EEPROM loaded;
  ASSERT_EQ(LoadImageFile(loaded, path.c_str()), kImageSize);
  EXPECT_EQ(Bytes(loaded), Bytes(image));
  EXPECT_EQ(Listing(), std::vector<std::string>{"round.mem"});
}

TEST_F(MemFileTest, SaveReplacesKeepingPermissionsAndNewFileFollowsUmask) {
  const std::string existing = PathOf("old.mem");
  WriteFile(existing, std::vector<uint8_t>(5000, 0x11));
  chmod(existing.c_str(), 0640);
  EEPROM image;
  ASSERT_EQ(SaveImageFile(image, existing.c_str()), kImageSize);
  EXPECT_EQ(ReadFile(existing), std::vector<uint8_t>(kImageSize, 0xFF));  // no stale tail
  struct stat st;
  ASSERT_EQ(stat(existing.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  const mode_t oldMask = umask(027);
  const int saved = SaveImageFile(image, PathOf("new.mem").c_str());
  umask(oldMask);
  ASSERT_EQ(saved, kImageSize);
  ASSERT_EQ(stat(PathOf("new.mem").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(MemFileTest, SaveThroughLinkUpdatesTheLinkedFile) {
  const std::string real = PathOf("real.mem");
  const std::string link = PathOf("link.mem");
  WriteFile(real, {1, 2, 3});
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  EEPROM image;
  ASSERT_EQ(SaveImageFile(image, link.c_str()), kImageSize);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real).size(), static_cast<size_t>(kImageSize));
}

TEST_F(MemFileTest, FailedSaveLeavesNoLeftovers) {
  EEPROM image;

  // A folder where the file should be.
  fs::create_directory(dir / "folder.mem");
  EXPECT_EQ(SaveImageFile(image, PathOf("folder.mem").c_str()), -1);
  EXPECT_TRUE(fs::is_directory(dir / "folder.mem"));

  // A folder that does not exist.
  EXPECT_EQ(SaveImageFile(image, PathOf("nowhere/x.mem").c_str()), -1);
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
  EXPECT_EQ(Listing(), std::vector<std::string>{"folder.mem"});
  EXPECT_EQ(SaveImageFile(image, nullptr), -1);
}

// The file size limit makes the write itself fail, for root as well.
TEST_F(MemFileTest, WriteFailureKeepsOldFile) {
  const std::vector<uint8_t> old = {9, 8, 7, 6};
  const std::string path = PathOf("kept.mem");
  WriteFile(path, old);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EEPROM image;
  const int result = SaveImageFile(image, path.c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(Listing(), std::vector<std::string>{"kept.mem"});
}

// Permission bits do not stop root, so as root the check runs in a child
// that has given up its rights; otherwise it runs here.
template <class Check>
bool AsUnprivileged(Check check) {
  if (geteuid() != 0) return check();
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const bool dropped = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
    _exit(dropped && check() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whatever refuses the write, the user's file and its folder stay as they were.
TEST(MemFileProtected, SaveIntoReadOnlyFolderOrOverReadOnlyFileKeepsOldFile) {
  struct Case {
    const char* name;
    mode_t folderMode;
    mode_t fileMode;
  };
  const std::vector<Case> cases = {
      {"read-only folder", 0555, 0644},
      {"read-only file", 0755, 0444},
  };
  for (const Case& c : cases) {
    const bool kept = AsUnprivileged([&c] {
      char name[] = "/tmp/vorn_memfile_ro_XXXXXX";
      if (mkdtemp(name) == nullptr) return false;
      const std::string dir = name;
      const std::string path = dir + "/kept.mem";
      const std::vector<uint8_t> old = {9, 8, 7, 6};
      {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(old.data()), static_cast<std::streamsize>(old.size()));
      }
      chmod(path.c_str(), c.fileMode);
      chmod(dir.c_str(), c.folderMode);
      EEPROM image;
      const int saved = SaveImageFile(image, path.c_str());
      chmod(dir.c_str(), 0755);

      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> after{std::istreambuf_iterator<char>(in), {}};
      size_t entries = 0;
      std::error_code ec;
      for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        ++entries;
      fs::remove_all(dir, ec);
      return saved == -1 && after == old && entries == 1;
    });
    EXPECT_TRUE(kept) << c.name;
  }
}

TEST_F(MemFileTest, CheckedLoadReportsOpenFailureAndWrongType) {
  struct Case {
    const char* name;
    std::vector<uint8_t> content;
    uint32_t buildFlag;
    MemFileStatus status;
    uint32_t productId;
    const char* message;
    const char* caption;
  };
  const std::vector<Case> cases = {
      {"kestal.mem", Image(kProductKestal), 1, MemFileStatus::Loaded, 0x5A02, "", ""},
      {"merlo.mem", Image(kProductMerlo), 1, MemFileStatus::WrongRadioType, 0x5A01,
       "Incorrect radio type (5A01)", "Reading Mem-file"},
      {"merlo_all.mem", Image(kProductMerlo), kAllModelsFlag, MemFileStatus::Loaded, 0x5A01, "",
       ""},
      {"empty.mem", {}, 1, MemFileStatus::WrongRadioType, 0xFFFF, "Incorrect radio type (FFFF)",
       "Reading Mem-file"},
      {"odd.mem", Image(0x0005), kAllModelsFlag, MemFileStatus::WrongRadioType, 0x0005,
       "Incorrect radio type (05)", "Reading Mem-file"},
  };
  TradioInfo info;
  info.SelectModel(kProductKestal);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(PathOf(c.name), c.content);
    EEPROM image;
    image.Fill(0x00);
    const MemFileResult r = CheckedLoadMemFile(image, info, c.buildFlag, PathOf(c.name));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.productId, c.productId);
    EXPECT_EQ(r.bytesRead, static_cast<int>(c.content.size()));
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.caption, c.caption);
    std::vector<uint8_t> expected = c.content;
    expected.resize(kImageSize, 0xFF);
    EXPECT_EQ(Bytes(image), expected) << "loaded bytes stay whatever the check says";
  }

  EEPROM image;
  image.Fill(0x33);
  const std::string missing = PathOf("missing.mem");
  const MemFileResult r = CheckedLoadMemFile(image, info, 1, missing);
  EXPECT_EQ(r.status, MemFileStatus::OpenFailed);
  EXPECT_EQ(r.bytesRead, -1);
  EXPECT_EQ(r.message, "Unable to open file " + missing);
  EXPECT_EQ(r.caption, "File Open Error");
  EXPECT_EQ(Bytes(image), std::vector<uint8_t>(kImageSize, 0x33));
}

// What a mem-file may be: its size decides what is loaded, and a file
// past the bound or anything but a regular file changes nothing.
TEST_F(MemFileTest, CheckedLoadHoldsTheFileToTheSizeRulesAndRefusesSpecialFiles) {
  ASSERT_EQ(mkfifo(PathOf("fifo.mem").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.mem");
  struct Case {
    std::string path;
    size_t size;  // written when the path is a new file
    MemFileStatus status;
    int bytesRead;
    std::string message;
  };
  const std::string big = PathOf("big.mem");
  const std::vector<Case> cases = {
      {PathOf("whole.mem"), kImageSize, MemFileStatus::Loaded, kImageSize, ""},
      {PathOf("long.mem"), kMaxMemFileBytes, MemFileStatus::Loaded, kImageSize, ""},
      {big, kMaxMemFileBytes + 1, MemFileStatus::OpenFailed, -1,
       "Unable to open file " + big + ": it holds 65537 bytes, more than a mem-file ever needs (64 KiB)"},
      {PathOf("fifo.mem"), 0, MemFileStatus::OpenFailed, -1,
       "Unable to open file " + PathOf("fifo.mem") + ": it is a FIFO (named pipe), not a regular file"},
      {PathOf("folder.mem"), 0, MemFileStatus::OpenFailed, -1,
       "Unable to open file " + PathOf("folder.mem") + ": it is a directory, not a regular file"},
      {"/dev/zero", 0, MemFileStatus::OpenFailed, -1,
       "Unable to open file /dev/zero: it is a character device, not a regular file"},
  };
  TradioInfo info;
  info.SelectModel(kProductKestal);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::vector<uint8_t> content;
    if (c.size > 0) {
      content = Pattern(c.size);
      content[0] = 0x5A;
      content[1] = 0x02;
      WriteFile(c.path, content);
    }
    EEPROM image;
    image.Fill(0x33);
    const MemFileResult r = CheckedLoadMemFile(image, info, 1, c.path);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.bytesRead, c.bytesRead);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.fileSize, c.size);
    content.resize(kImageSize);
    EXPECT_EQ(Bytes(image), c.bytesRead < 0 ? std::vector<uint8_t>(kImageSize, 0x33) : content);
  }
  struct stat st;
  ASSERT_EQ(stat(PathOf("fifo.mem").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(MemFileSizeNote, SaysWhatAFileNotOfTheImagesLengthMeans) {
  EXPECT_EQ(MemFileSizeNote("a.mem", 2048, 2048), "");
  EXPECT_EQ(MemFileSizeNote("a.mem", 100, 2048),
            "a.mem holds 100 bytes, not 2048: the rest reads as erased (0xFF)");
  EXPECT_EQ(MemFileSizeNote("a.mem", 0, 2048),
            "a.mem holds 0 bytes, not 2048: the rest reads as erased (0xFF)");
  EXPECT_EQ(MemFileSizeNote("a.mem", 4096, 2048), "a.mem holds 4096 bytes, not 2048: the rest is ignored");
}

TEST(HexIdText, UpperCaseAtLeastTwoDigits) {
  struct Case {
    uint32_t value;
    const char* text;
  };
  const std::vector<Case> cases = {
      {0x5A01, "5A01"}, {0xFFFF, "FFFF"}, {0x5, "05"}, {0, "00"}, {0xab, "AB"}, {0x123, "123"}};
  for (const Case& c : cases) EXPECT_EQ(HexId(c.value), c.text);
}

}  // namespace
