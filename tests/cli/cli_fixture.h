#pragma once
// A simulated radio in the test process and a scratch folder, for runs of
// the real vornprog against it.

#include <gtest/gtest.h>

#include <cstdint>
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
