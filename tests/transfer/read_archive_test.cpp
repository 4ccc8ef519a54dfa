// The read archive: its folder, its file names, and the closing steps of
// a read keeping exactly one copy of each complete read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "readarchive.h"
#include "transfer_rig.h"

namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    char name[] = "/tmp/vorn-archive-test-XXXXXX";
    path = mkdtemp(name);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  std::string path;
};

// Sets an environment variable for one test and puts it back afterwards.
class EnvSetting {
 public:
  EnvSetting(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvSetting() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

struct FolderCase {
  const char* name;
  const char* xdg;   // nullptr: unset
  const char* home;  // nullptr: unset
  const char* folder;
};

class ArchiveFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(ArchiveFolder, FollowsXdgDataHomeThenHome) {
  EnvSetting xdg("XDG_DATA_HOME", GetParam().xdg);
  EnvSetting home("HOME", GetParam().home);
  EXPECT_EQ(DefaultReadArchiveFolder("Kestal"), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, ArchiveFolder,
    testing::Values(FolderCase{"Xdg", "/d/x", "/h", "/d/x/Vorn/Kestal/reads"},
                    FolderCase{"RelativeXdgIsIgnored", "rel", "/h", "/h/.local/share/Vorn/Kestal/reads"},
                    FolderCase{"HomeOnly", nullptr, "/h", "/h/.local/share/Vorn/Kestal/reads"},
                    FolderCase{"Neither", nullptr, nullptr, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveFileName, NamesTheTimeModelAndProductId) {
  std::tm t{};
  t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 10, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7;
  EXPECT_EQ(ArchiveFileName(t, "Kestal", kProductKestal), "2026-12-10_09-05-07_Kestal_0x5A02.mem");
  EXPECT_EQ(ArchiveFileName(t, "Kestal BT/2", 0x12, 3), "2026-12-10_09-05-07_Kestal-BT-2_0x0012_3.mem");
}

TEST(ReadArchive, NeverReplacesAFileOfTheSameSecond) {
  ScratchFolder scratch;
  const ReadArchive archive(scratch.path + "/a/reads");
  EEPROM first, second;
  first.Fill(0x11);
  second.Fill(0x22);
  std::string p1, p2, error;
  const std::time_t now = std::time(nullptr);
  ASSERT_TRUE(archive.Save(first, kProductKestal, "Kestal", now, p1, error)) << error;
  ASSERT_TRUE(archive.Save(second, kProductKestal, "Kestal", now, p2, error)) << error;
  EXPECT_NE(p1, p2);
  const std::vector<ArchivedRead> reads = archive.List();
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].path, p1) << "oldest first";
  EXPECT_EQ(reads[1].path, p2);
  EXPECT_EQ(reads[0].size, static_cast<uintmax_t>(kImageSize));
  EXPECT_EQ(fs::file_size(p2), static_cast<uintmax_t>(kImageSize));
}

// Twelve reads in one second are numbered 1 to 12; _10 comes after _9,
// not after the first, and a read of the next second after them all.
TEST(ReadArchive, ListsTheReadsOfOneSecondByTheirNumber) {
  ScratchFolder scratch;
  const ReadArchive archive(scratch.path + "/reads");
  const std::time_t now = std::time(nullptr);
  std::vector<std::string> saved;
  EEPROM image;
  for (int n = 0; n < 12; ++n) {
    std::string path, error;
    ASSERT_TRUE(archive.Save(image, kProductKestal, "Kestal", now, path, error)) << error;
    saved.push_back(path);
  }
  std::string later, error;
  ASSERT_TRUE(archive.Save(image, kProductKestal, "Kestal", now + 1, later, error)) << error;
  saved.push_back(later);
  std::vector<std::string> listed;
  for (const ArchivedRead& read : archive.List()) listed.push_back(read.path);
  EXPECT_EQ(listed, saved);
}

TEST(ReadArchive, AFolderThatCannotBeMadeIsSaidAndLeavesNothing) {
  ScratchFolder scratch;
  std::ofstream(scratch.path + "/file") << "x";
  const ReadArchive archive(scratch.path + "/file/reads");
  EEPROM image;
  std::string path, error;
  EXPECT_FALSE(archive.Save(image, kProductKestal, "Kestal", std::time(nullptr), path, error));
  EXPECT_NE(error.find("cannot create " + scratch.path + "/file/reads"), std::string::npos) << error;
  EXPECT_TRUE(archive.List().empty());
}

// ---- the closing steps of a read ----

struct ReadCase {
  const char* name;
  bool completes;
  bool cancel;
};

class ArchivedByTheRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ArchivedByTheRead, ExactlyOneNewFileForACompleteReadAndNoneOtherwise) {
  ScratchFolder scratch;
  const ReadArchive archive(scratch.path + "/reads");
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  rig.flows.SetReadArchive(&archive);
  rig.FillRadio(41);
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  ASSERT_EQ(archive.List().size(), 1u);

  SimFaults f;
  if (!GetParam().completes) {
    f.silentOpcode = OP_READ_BLOCK;
    f.silentOpcodeAfter = 20;  // counted from SetFaults
  }
  if (GetParam().cancel) {
    f.replyDelayMs = 3;
    rig.host.cancelAtProgress = 160;
  }
  rig.sim.SetFaults(f);
  rig.FillRadio(42);
  rig.flows.ReadRadio();
  rig.flows.FinishPreviousTransfer();

  const std::vector<ArchivedRead> reads = archive.List();
  const bool whole = GetParam().completes && !GetParam().cancel;
  ASSERT_EQ(reads.size(), whole ? 2u : 1u);
  EXPECT_EQ(rig.flows.LastArchivedPath(), whole ? reads.back().path : "");
  std::ifstream in(reads.back().path, std::ios::binary);
  const std::vector<uint8_t> kept((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(kept, rig.ImageBytes());
  for (const std::string& entry : rig.host.log) EXPECT_NE(entry.rfind("archive:", 0), 0u) << entry;
}

INSTANTIATE_TEST_SUITE_P(Reads, ArchivedByTheRead,
                         testing::Values(ReadCase{"Complete", true, false},
                                         ReadCase{"Failed", false, false},
                                         ReadCase{"Cancelled", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArchivedByTheRead, AFailedSaveIsReportedOnceAndTheReadStands) {
  ScratchFolder scratch;
  std::ofstream(scratch.path + "/file") << "x";
  const ReadArchive archive(scratch.path + "/file/reads");
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  rig.flows.SetReadArchive(&archive);
  rig.FillRadio(43);
  ASSERT_TRUE(rig.flows.ReadRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.ImageBytes(), rig.sim.Memory());
  int reports = 0;
  for (const std::string& entry : rig.host.log) reports += entry.rfind("archive:", 0) == 0;
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(rig.flows.LastArchivedPath().empty());
}

}  // namespace
