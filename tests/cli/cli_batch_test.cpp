// vornprog batch against one simulated radio that the test's dealer
// switches off and replaces by the next radio from its boxes.

#include <atomic>
#include <fstream>
#include <mutex>
#include <sstream>

#include "cli_fixture.h"
#include "radio.h"

namespace {

// Whole transfers each end with a reset: the batch's read, write and
// read-back.
constexpr int kResetsPerRadio = 3;

class CliBatch : public CliTest {
 protected:
  // Plays the dealer on the radio's own thread: after a radio's last reset
  // it is switched off; once the batch has asked twice in vain, the next
  // radio is connected and switched on.
  void PlayDealer(SimulatedRadio& radio, std::vector<Bytes> boxes) {
    boxes_ = std::move(boxes);
    radio.SetMemory(boxes_[0]);
    radio.SetRequestObserver([this, &radio](const SimRequest& r) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (radio.IsSwitchedOn()) {
        if (r.command == OP_RESET && ++resets_ % kResetsPerRadio == 0) {
          ended_.push_back(radio.Memory());
          radio.SwitchOff();
          unanswered_ = 0;
        }
      } else if (++unanswered_ == 2 && ended_.size() < boxes_.size()) {
        radio.ReplaceRadio(kProductKestal);
        radio.SetMemory(boxes_[ended_.size()]);
        radio.SwitchOn();
      }
    });
  }
  std::vector<Bytes> Ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_;
  }

 private:
  std::mutex mutex_;
  std::vector<Bytes> boxes_;
  std::vector<Bytes> ended_;
  int resets_ = 0;
  int unanswered_ = 0;
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliBatch, TwoRadiosInTurnKeepTheirCalibrationAndAreLogged) {
  SimulatedRadio& radio = StartRadio();
  const Bytes config = RandomImage(50, kProductKestal);
  {
    std::ofstream out(dir.Path("config.mem"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(config.data()), static_cast<std::streamsize>(config.size()));
  }
  const std::vector<Bytes> boxes = {RandomImage(51, kProductKestal), RandomImage(52, kProductKestal)};
  PlayDealer(radio, boxes);

  const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--count", "2", "--log",
                                dir.Path("log.csv"), dir.Path("config.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Radio 1 of 2: OK. Switch it off and connect the next radio.\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Radio 2 of 2: OK. Switch it off.\n")) << r.out;

  const std::vector<Bytes> ended = Ended();
  ASSERT_EQ(ended.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(std::equal(ended[i].begin(), ended[i].begin() + 32, boxes[i].begin())) << i;
    EXPECT_TRUE(std::equal(ended[i].begin() + 32, ended[i].end(), config.begin() + 32)) << i;
  }
  const std::vector<std::string> log = Lines(dir.Path("log.csv"));
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "Time,Port,Product ID,Firmware,Version,Ident before,Ident after,Result,Archive");
  for (size_t i = 1; i < 3; ++i) EXPECT_TRUE(Contains(log[i], ",,,OK,")) << log[i];
}

TEST_F(CliBatch, BadArgumentsAreUsageErrorsAndTouchNoRadio) {
  SimulatedRadio& radio = StartRadio();
  for (const char* count : {"0", "x", "100000"}) {
    const ToolResult r = RunTool({"batch", "--port", radio.DevicePath(), "--count", count,
                                  dir.Path("config.mem")});
    EXPECT_EQ(r.status, 2) << count << ": " << r.err;
  }
  EXPECT_TRUE(radio.Requests().empty());
}

}  // namespace
