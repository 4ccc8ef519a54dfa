// The trace file of the serial traffic: the byte monitor's line format,
// appending, and the serial port feeding it both ways.
#include "bytetrace.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "pty_peer.h"
#include "recording_receiver.h"
#include "serialport.h"

namespace {

struct LineCase {
  const char* name;
  bool received;
  std::vector<uint8_t> bytes;
  bool ascii;
  const char* line;
};

class MonitorLine : public testing::TestWithParam<LineCase> {};

TEST_P(MonitorLine, IsTheByteMonitorsDataLine) {
  const LineCase& c = GetParam();
  const int n = static_cast<int>(c.bytes.size());
  EXPECT_EQ(ByteMonitorDataLine("12:00:01.250", c.received, n, n, c.bytes.data(), c.ascii), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MonitorLine,
    testing::Values(LineCase{"Sent", false, {0x7E, 0x02, 0x01, 0x80, 0x7F, 0x7F}, false,
                             "[12:00:01.250] Tx[6:6] 7E 02 01 80 7F 7F "},
                    LineCase{"ReceivedAsAscii", true, {0x41, 0x0D, 0xFF}, true,
                             "[12:00:01.250] Rx[3:3] 41 0D FF [A..]"},
                    LineCase{"Empty", true, {}, false, "[12:00:01.250] Rx[0:0] "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonitorTime, IsHoursMinutesSecondsAndMilliseconds) {
  const auto when = std::chrono::system_clock::from_time_t(0) + std::chrono::milliseconds(7);
  EXPECT_TRUE(std::regex_match(MonitorTimeText(when), std::regex("\\d\\d:\\d\\d:\\d\\d\\.007")))
      << MonitorTimeText(when);
}

class TraceFile : public testing::Test {
 protected:
  TraceFile() {
    char name[] = "/tmp/vorn-trace-test-XXXXXX";
    folder_ = mkdtemp(name);
    path = folder_ + "/trace.txt";
  }
  ~TraceFile() override { std::filesystem::remove_all(folder_); }
  std::vector<std::string> Lines() const {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string path;

 private:
  std::string folder_;
};

TEST_F(TraceFile, AppendsAfterWhatTheFileHeld) {
  std::ofstream(path) << "earlier\n";
  ByteTrace trace;
  std::string error;
  ASSERT_TRUE(trace.Open(path, "test run", error)) << error;
  const uint8_t bytes[] = {0x01, 0xAB};
  trace.Block(false, bytes, 2);
  trace.Block(true, bytes, 0);  // nothing for an empty block
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "earlier");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("------ test run \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d ------")))
      << lines[1];
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] Tx\\[2:2\\] 01 AB ")))
      << lines[2];
}

TEST_F(TraceFile, AFileThatCannotBeOpenedSaysWhy) {
  ByteTrace trace;
  std::string error;
  EXPECT_FALSE(trace.Open(path + "/not-a-folder/t.txt", "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(trace.IsOpen());
}

TEST_F(TraceFile, TheSerialPortTracesBothWaysAndRateChanges) {
  PtyPeer peer;
  ASSERT_TRUE(peer.ok());
  SerialPort port;
  ByteTrace trace;
  std::string error;
  ASSERT_TRUE(trace.Open(path, "port", error)) << error;
  port.SetTrace(&trace);
  ASSERT_TRUE(port.Open(peer.SlavePath(), 9600));
  const std::vector<uint8_t> sent = {0x7E, 0x02, 0x01, 0x80, 0x7F, 0x7F};
  ASSERT_TRUE(port.Send(sent.data(), 6));
  EXPECT_EQ(peer.Read(6), sent);
  ASSERT_TRUE(peer.Write({0x41, 0x42}));
  // The reader thread traces what it took; wait for that line, however
  // slow the machine.
  for (int i = 0; i < 1000 && Lines().size() < 3; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(Lines().size(), 3u);
  ASSERT_TRUE(port.SetBaudRate(19200));
  port.SetTrace(nullptr);
  ASSERT_TRUE(port.Send(sent.data(), 6));  // not traced any more
  EXPECT_EQ(peer.Read(6), sent);
  port.Close();

  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[1].find("] Tx[6:6] 7E 02 01 80 7F 7F "), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("] Rx[2:2] 41 42 "), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3], "Baud-rate changed to 19200");
}

}  // namespace

namespace {

// A file every write to fails, as on a full disk.
constexpr const char* kFullDevice = "/dev/full";

}  // namespace

TEST(TraceFailure, TheFirstFailedWriteIsReportedOnceWithItsReason) {
  if (!std::filesystem::exists(kFullDevice)) GTEST_SKIP() << "no " << kFullDevice;
  ByteTrace trace;
  std::string error;
  ASSERT_TRUE(trace.Open(kFullDevice, "full", error)) << error;
  RecordingReceiver receiver;
  // The date line of Open has already failed: setting the receiver says so.
  trace.SetFailureReceiver(&receiver);
  const uint8_t bytes[] = {0x7E, 0x01};
  trace.Block(false, bytes, 2);
  trace.Line("Baud-rate changed to 19200");
  const std::vector<PostedMessage> posted = receiver.Messages();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0], (PostedMessage{WM_TRACE_FAILED, 0, ENOSPC}));
  EXPECT_EQ(TraceFailureText(trace.Path(), ENOSPC),
            std::string("Unable to write the trace file /dev/full: ") + std::strerror(ENOSPC) +
                ". The trace stops here; the radio work goes on.");
}

TEST(TraceFailure, AFailureDuringTheTrafficIsPostedAtOnce) {
  if (!std::filesystem::exists(kFullDevice)) GTEST_SKIP() << "no " << kFullDevice;
  ByteTrace trace;
  RecordingReceiver receiver;
  trace.SetFailureReceiver(&receiver);
  std::string error;
  ASSERT_TRUE(trace.Open(kFullDevice, "full", error)) << error;
  EXPECT_EQ(receiver.Messages().size(), 1u);
  trace.Line("more");
  EXPECT_EQ(receiver.Messages().size(), 1u) << "reported once";
}

TEST_F(TraceFile, AWritableTraceReportsNothing) {
  ByteTrace trace;
  RecordingReceiver receiver;
  trace.SetFailureReceiver(&receiver);
  std::string error;
  ASSERT_TRUE(trace.Open(path, "fine", error)) << error;
  trace.Line("a line");
  EXPECT_TRUE(receiver.Messages().empty());
  EXPECT_EQ(Lines().size(), 2u);
}
