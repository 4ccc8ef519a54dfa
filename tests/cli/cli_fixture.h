#pragma once
// A simulated radio in the test process and a scratch folder, for runs of
// the real vornprog against it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "radioinfo.h"
#include "simradio.h"
#include "tool_runner.h"

using Bytes = std::vector<unsigned char>;

// 2048 random bytes carrying productId in the "Product ID" word.
inline Bytes RandomImage(uint32_t seed, uint32_t productId) {
  std::mt19937 rng(seed);
  Bytes bytes(2048);
  for (auto& b : bytes) b = static_cast<unsigned char>(rng());
  bytes[0] = static_cast<unsigned char>(productId >> 8);
  bytes[1] = static_cast<unsigned char>(productId);
  return bytes;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

inline int CountOf(const std::vector<SimRequest>& log, int command) {
  int n = 0;
  for (const SimRequest& r : log) n += r.command == command;
  return n;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The expectations name the Kestal build's model and texts.
    if (CompiledBuildConfig().productId != kProductKestal) GTEST_SKIP() << "Kestal build only";
  }
  // A started simulated radio of this model.
  SimulatedRadio& StartRadio(uint32_t productId = kProductKestal) {
    radios_.push_back(std::make_unique<SimulatedRadio>(productId));
    EXPECT_TRUE(radios_.back()->Start());
    return *radios_.back();
  }

  TempDir dir;

 private:
  std::vector<std::unique_ptr<SimulatedRadio>> radios_;
};

// Each test has a read archive of its own; the program's sandbox comes back
// afterwards.
class CliArchiveTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome_ = old;
    setenv("XDG_DATA_HOME", dir.Path("data").c_str(), 1);
  }
  void TearDown() override { setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1); }

  std::string ArchiveFolder() const { return dir.Path("data") + "/Vorn/Kestal/reads"; }
  std::vector<std::string> Archived() const {
    const ToolResult r = RunTool({"archive"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> paths;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) paths.push_back(line);
    return paths;
  }

 private:
  std::string oldDataHome_;
};
