// The trace file of the serial traffic: the byte monitor's line format,
// appending, and the serial port feeding it both ways.
#include "bytetrace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "file_size_limit.h"
#include "messages.h"
#include "monitorlines.h"
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
  EXPECT_TRUE(std::regex_match(MonitorClock(when), std::regex("\\d\\d:\\d\\d:\\d\\d\\.007")))
      << MonitorClock(when);
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
  // A FIFO with no reader would hold the program up in open() for ever.
  const std::string fifo = path + ".fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {path + "/not-a-folder/t.txt", "No such file or directory"},
      {fifo, "it is a FIFO (named pipe), not a regular file"},
      {"/dev/full", "it is a character device, not a regular file"},
  };
  for (const auto& c : cases) {
    ByteTrace trace;
    std::string error;
    EXPECT_FALSE(trace.Open(c.path, "x", error)) << c.path;
    EXPECT_EQ(error, c.reason);
    EXPECT_FALSE(trace.IsOpen());
  }
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

// A disk that is full from the start: every write to the trace fails.
TEST_F(TraceFile, TheFirstFailedWriteIsReportedOnceWithItsReason) {
  const FileSizeLimit full(0);
  ByteTrace trace;
  std::string error;
  ASSERT_TRUE(trace.Open(path, "full", error)) << error;
  RecordingReceiver receiver;
  // The date line of Open has already failed: setting the receiver says so.
  trace.SetFailureReceiver(&receiver);
  const uint8_t bytes[] = {0x7E, 0x01};
  trace.Block(false, bytes, 2);
  trace.Line("Baud-rate changed to 19200");
  const std::vector<PostedMessage> posted = receiver.Messages();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0], (PostedMessage{WM_TRACE_FAILED, 0, EFBIG}));
  EXPECT_EQ(TraceFailureText(trace.Path(), EFBIG),
            "Unable to write the trace file " + path + ": " + std::strerror(EFBIG) +
                ". The trace stops here; the radio work goes on.");
}

TEST_F(TraceFile, AFailureDuringTheTrafficIsPostedAtOnce) {
  const FileSizeLimit full(0);
  ByteTrace trace;
  RecordingReceiver receiver;
  trace.SetFailureReceiver(&receiver);
  std::string error;
  ASSERT_TRUE(trace.Open(path, "full", error)) << error;
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
